# Shared by the module (POSIX hosts) and the action plugin (Windows hosts):
# how the answers become an answers file, which command lines run the
# program, and how its output becomes a task result. No Ansible imports, so
# that the tests exercise it directly.

from __future__ import annotations

import json

OPTION_WORDS = ("tasks", "database", "sites")

# tessaron-config's exit statuses (see its --help).
COMPLETED = 0
CHANGES = 10
STATUS_TEXTS = {
    1: "the run completed with RunError set",
    2: "a prerequisite check stopped the run",
    3: "the program ended while loading the machine",
    4: "the run completed, but its log holds ERROR lines",
    5: "another configuration run holds the machine",
    6: "the run was cancelled",
    64: "usage error or a refused value",
    70: "internal error",
}


def answer_value(value) -> str:
    """An answers-file value: booleans as check-box states, everything in
    double quotes so that it is taken exactly (no @env:, @file: or release
    folder forms), unless it is one of the program's own forms."""
    if isinstance(value, bool):
        return "1" if value else "0"
    text = str(value)
    if "\n" in text or "\r" in text:
        raise ValueError("an answer cannot hold a line break")
    if text.startswith("@panel-site") or text.startswith("%SystemRoot%") or text.startswith(
        "%ProgramFiles%"
    ):
        return text
    return '"' + text + '"'


def answers_text(answers: dict, secret_answers: dict | None = None) -> str:
    """The answers file: the answers in the order given, then the secrets."""
    lines = ["# written by the tessaron.panel.tessaron_config module"]
    for source in (answers or {}, secret_answers or {}):
        for control, value in source.items():
            if not isinstance(control, str) or "=" in control or not control.strip():
                raise ValueError("not a control name: %r" % (control,))
            lines.append("%s = %s" % (control, answer_value(value)))
    return "\n".join(lines) + "\n"


def option_list(options) -> str:
    words = list(options or [])
    for word in words:
        if word not in OPTION_WORDS:
            raise ValueError("unknown install option %r (use tasks, database, sites)" % (word,))
    return ",".join(words)


def base_arguments(program, answers_file, options, machine=None, reconfigure=True):
    args = [program]
    if machine:
        args += ["--machine", machine]
    args += ["--answers", answers_file]
    words = option_list(options)
    if words:
        args += ["--options", words]
    if reconfigure:
        args.append("--yes")
    return args


def preview_arguments(program, answers_file, options, machine=None, reconfigure=True):
    return base_arguments(program, answers_file, options, machine, reconfigure) + [
        "--preview",
        "--format",
        "json",
        "--detailed-exitcode",
    ]


def run_arguments(program, answers_file, options, machine=None, reconfigure=True):
    # The verdict is the preview's, made just before; the run itself is told
    # nothing more.
    return base_arguments(program, answers_file, options, machine, reconfigure)


def parse_preview(stdout: str) -> dict:
    """The preview's JSON document; ValueError when there is none."""
    document = json.loads(stdout)
    if not isinstance(document, dict) or document.get("schemaVersion") != 1:
        raise ValueError("not a preview document of schema version 1")
    return document


def error_lines(text: str) -> list:
    return [line for line in text.splitlines() if line.startswith("ERROR: ")]


def status_failed(rc: int) -> bool:
    return rc not in (COMPLETED, CHANGES)


def failure_message(rc: int, errors: list, stderr: str) -> str:
    reason = STATUS_TEXTS.get(rc, "exit status %d" % rc)
    detail = "; ".join(errors) if errors else stderr.strip()
    return "tessaron-config failed (%d: %s)%s" % (rc, reason, ": " + detail if detail else "")


def diff_text(preview: dict) -> str:
    """config.inc's line diff and the metabase changes, for diff mode."""
    lines = []
    config = preview.get("configFile") or {}
    for change in config.get("changes", []):
        if change["text"].startswith("' Creation Date:"):
            continue
        lines.append("%s%s" % (change["change"], change["text"]))
    if lines:
        lines.insert(0, "--- %s" % config.get("path", "config.inc"))
        lines.insert(1, "+++ %s" % config.get("path", "config.inc"))
    for key in (preview.get("metabase") or {}).get("keys", []):
        lines.append("metabase %s %s (%s)" % (key["change"], key["location"], key["class"]))
        for prop in key.get("properties", []):
            lines.append(
                "    %s: %s -> %s"
                % (prop["name"], json.dumps(prop["before"]), json.dumps(prop["after"]))
            )
    return "\n".join(lines) + ("\n" if lines else "")


def result_from(preview: dict | None, rc: int, stdout: str, stderr: str, check_mode: bool) -> dict:
    """The task result: changed from the verdict, failed with the ERROR lines."""
    # Ansible takes a nonzero rc for a failure, so rc is 0 on success and the
    # program's own status (10: changes) is exit_status.
    result = {
        "rc": rc if status_failed(rc) else 0,
        "exit_status": rc,
        "stdout": stdout,
        "stderr": stderr,
        "stdout_lines": stdout.splitlines(),
    }
    if preview is not None:
        result["preview"] = preview
        result["diff"] = {"prepared": diff_text(preview)}
    if status_failed(rc):
        # The run's log, or the log the preview says the run would write.
        errors = error_lines(stdout)
        if not errors and preview is not None:
            errors = error_lines("\n".join(preview.get("log", [])))
        result["failed"] = True
        result["changed"] = False
        result["msg"] = failure_message(rc, errors, stderr)
        result["errors"] = errors
        return result
    result["changed"] = rc == CHANGES if preview is None else bool(preview.get("changed"))
    return result
