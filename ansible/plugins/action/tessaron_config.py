# The controller side of tessaron_config. On a POSIX host the module runs
# there as any module does. On a Windows host (a PowerShell connection such
# as WinRM or PSRP) the program runs through ansible.windows.win_command: the
# answers file is copied to the host's temporary folder, the preview and the
# run are two commands, and the result is made here from their output.

from __future__ import annotations

from ansible.errors import AnsibleActionFail
from ansible.plugins.action import ActionBase
from ansible_collections.tessaron.panel.plugins.module_utils.tessaron_invocation import (
    answers_text,
    parse_preview,
    preview_arguments,
    result_from,
    run_arguments,
    status_failed,
)

# The console companion the installer puts beside the window program: it
# prints the log and returns the exit status to the command that ran it.
WINDOWS_PROGRAM = r"C:\Program Files\Tessaron Configuration Utility\tessaron-config.com"


def on_windows(connection) -> bool:
    shell = getattr(connection, "_shell", None)
    return getattr(shell, "SHELL_FAMILY", "") == "powershell"


def windows_command_line(argv) -> str:
    """argv as one Windows command line (the C runtime's quoting rules)."""
    quoted = []
    for arg in argv:
        if arg and not any(c in arg for c in ' \t"'):
            quoted.append(arg)
            continue
        text, backslashes = '"', 0
        for c in arg:
            if c == "\\":
                backslashes += 1
                continue
            if c == '"':
                text += "\\" * (backslashes * 2 + 1) + '"'
            else:
                text += "\\" * backslashes + c
            backslashes = 0
        quoted.append(text + "\\" * (backslashes * 2) + '"')
    return " ".join(quoted)


class ActionModule(ActionBase):
    TRANSFERS_FILES = True
    _VALID_ARGS = frozenset(
        ("answers", "secret_answers", "options", "machine", "program", "reconfigure")
    )

    def run(self, tmp=None, task_vars=None):
        result = super().run(tmp, task_vars)
        if not on_windows(self._connection):
            result.update(self._execute_module(task_vars=task_vars, wrap_async=self._task.async_val))
            return result
        return self._run_on_windows(result, task_vars)

    def _win(self, module, args, task_vars):
        # The preview changes nothing, so it runs in check mode too; the
        # Windows modules would otherwise skip it.
        check_mode = self._task.check_mode
        self._task.check_mode = False
        try:
            return self._execute_module(module_name=module, module_args=args, task_vars=task_vars)
        finally:
            self._task.check_mode = check_mode

    def _run_on_windows(self, result, task_vars):
        args = self._task.args
        try:
            text = answers_text(args.get("answers") or {}, args.get("secret_answers") or {})
        except ValueError as error:
            raise AnsibleActionFail(str(error))
        tmpdir = self._make_tmp_path()
        answers_file = self._connection._shell.join_path(tmpdir, "tessaron.answers")
        copied = self._win(
            "ansible.windows.win_copy",
            {"content": text, "dest": answers_file, "_original_basename": "tessaron.answers"},
            task_vars,
        )
        if copied.get("failed"):
            raise AnsibleActionFail("cannot copy the answers file: %s" % copied.get("msg"))
        call = (
            args.get("program") or WINDOWS_PROGRAM,
            answers_file,
            args.get("options") or [],
            args.get("machine"),
            args.get("reconfigure", True),
        )
        try:
            ran = self._win(
                "ansible.windows.win_command",
                {"_raw_params": windows_command_line(preview_arguments(*call))},
                task_vars,
            )
            rc, stdout, stderr = ran.get("rc", 70), ran.get("stdout", ""), ran.get("stderr", "")
            try:
                preview = parse_preview(stdout)
            except ValueError:
                preview = None
            if status_failed(rc) and not (preview and preview.get("alreadyConfigured")):
                result.update(result_from(preview, rc, stdout, stderr, self._task.check_mode))
                return result
            if preview is None:
                raise AnsibleActionFail("tessaron-config printed no preview")
            if self._task.check_mode or not preview.get("changed"):
                result.update(
                    result_from(preview, 0 if status_failed(rc) else rc, stdout, stderr, True)
                )
                result["exit_status"] = rc
                return result
            ran = self._win(
                "ansible.windows.win_command",
                {"_raw_params": windows_command_line(run_arguments(*call))},
                task_vars,
            )
            result.update(
                result_from(
                    preview, ran.get("rc", 70), ran.get("stdout", ""), ran.get("stderr", ""), False
                )
            )
            return result
        finally:
            self._remove_tmp_path(tmpdir)
