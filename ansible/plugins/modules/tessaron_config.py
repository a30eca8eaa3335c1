#!/usr/bin/python
# Runs tessaron-config unattended on the host the task runs on (a POSIX host
# working on a machine image, or any host with the program): check mode is the
# program's preview, changed is the preview's verdict.

from __future__ import annotations

DOCUMENTATION = r"""
module: tessaron_config
short_description: Configure the Tessaron control panel with tessaron-config
description:
  - Writes the answers to an answers file, previews the run with
    C(--preview --format json) and, unless in check mode or when the
    preview's verdict says nothing would change, performs the run.
  - C(changed) is the preview's verdict; a run that fails fails the task
    with the ERROR lines of its log.
  - For Windows targets the action plugin of the same name runs the program
    through ansible.windows.win_command instead.
options:
  answers:
    description: Control names of the settings window and their values
      (text, 0/1/2 or true/false for check boxes, a list entry's text, or
      C(@panel-site) for a site list).
    type: dict
    required: true
  secret_answers:
    description: Answers never logged (passwords), applied after I(answers).
    type: dict
    default: {}
  options:
    description: Install options besides config.inc.
    type: list
    elements: str
    choices: [tasks, database, sites]
    default: []
  machine:
    description: The machine image folder; none configures the machine itself.
    type: path
  program:
    description: The tessaron-config program.
    type: path
    default: tessaron-config
  reconfigure:
    description: Read and replace an existing configuration (C(--yes)).
    type: bool
    default: true
"""

EXAMPLES = r"""
- tessaron.panel.tessaron_config:
    machine: /srv/images/web01
    options: [tasks, database, sites]
    answers:
      txtControlPanelTitle: Example Hosting Control Panel
      cmbControlPanelSite: "@panel-site"
    secret_answers:
      txtAdminPassword: "{{ vault_admin_password }}"
"""

RETURN = r"""
changed:
  description: The preview's verdict.
  type: bool
preview:
  description: The preview's JSON document (docs/preview.schema.json).
  type: dict
rc:
  description: 0, or the exit status of the program run that failed.
  type: int
exit_status:
  description: The exit status of the last program run (10 - changes, with --detailed-exitcode).
  type: int
errors:
  description: The ERROR lines of the run's log, when it failed.
  type: list
"""

import os
import tempfile

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.tessaron.panel.plugins.module_utils.tessaron_invocation import (
    answers_text,
    parse_preview,
    preview_arguments,
    result_from,
    run_arguments,
    status_failed,
)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            answers=dict(type="dict", required=True),
            secret_answers=dict(type="dict", default={}, no_log=True),
            options=dict(
                type="list", elements="str", default=[], choices=["tasks", "database", "sites"]
            ),
            machine=dict(type="path"),
            program=dict(type="path", default="tessaron-config"),
            reconfigure=dict(type="bool", default=True),
        ),
        supports_check_mode=True,
    )
    p = module.params
    try:
        text = answers_text(p["answers"], p["secret_answers"])
    except ValueError as error:
        module.fail_json(msg=str(error))

    handle, answers_file = tempfile.mkstemp(prefix="tessaron-", suffix=".answers")
    try:
        with os.fdopen(handle, "w", encoding="utf-8") as out:
            out.write(text)
        call = (p["program"], answers_file, p["options"], p["machine"], p["reconfigure"])

        rc, stdout, stderr = module.run_command(preview_arguments(*call))
        try:
            preview = parse_preview(stdout)
        except ValueError:
            preview = None
        if status_failed(rc) and not (preview and preview.get("alreadyConfigured")):
            module.fail_json(**result_from(preview, rc, stdout, stderr, module.check_mode))
        if preview is None:
            module.fail_json(msg="tessaron-config printed no preview", rc=rc, stderr=stderr)
        if module.check_mode or not preview.get("changed"):
            # Only a configured machine without reconfigure gets here with a
            # failure status (3), and such a run changes nothing.
            result = result_from(preview, 0 if status_failed(rc) else rc, stdout, stderr, True)
            result["exit_status"] = rc
            module.exit_json(**result)

        rc, stdout, stderr = module.run_command(run_arguments(*call))
        result = result_from(preview, rc, stdout, stderr, False)
        if result.get("failed"):
            module.fail_json(**result)
        module.exit_json(**result)
    finally:
        os.unlink(answers_file)


if __name__ == "__main__":
    main()
