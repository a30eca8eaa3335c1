# Unit tests of what the module and the action plugin share, and of the
# Windows command line the action plugin hands to win_command.
import json
import os
import unittest

from ansible.utils.collection_loader._collection_finder import _AnsibleCollectionFinder

# The collection as Ansible loads it, from ANSIBLE_COLLECTIONS_PATH.
_AnsibleCollectionFinder(paths=os.environ["ANSIBLE_COLLECTIONS_PATH"].split(os.pathsep))._install()

from ansible_collections.tessaron.panel.plugins.action.tessaron_config import (
    windows_command_line,
)
from ansible_collections.tessaron.panel.plugins.module_utils import tessaron_invocation as inv


class AnswersFile(unittest.TestCase):
    def test_values_are_quoted_except_the_programs_own_forms(self):
        text = inv.answers_text(
            {"txtMainCompanyName": ' "Quoted" Ltd ', "chkPHP": True, "cmbPreviewSVC": "@panel-site",
             "txtDNSRoot": r"%SystemRoot%\system32\dns", "txtMailServerDir": "@env:HOME"},
            {"txtAdminPassword": 'p"w'},
        )
        self.assertEqual(
            text.splitlines()[1:],
            ['txtMainCompanyName = " "Quoted" Ltd "', "chkPHP = 1", "cmbPreviewSVC = @panel-site",
             r"txtDNSRoot = %SystemRoot%\system32\dns", 'txtMailServerDir = "@env:HOME"',
             'txtAdminPassword = "p"w"'],
        )

    def test_refuses_what_an_answers_file_cannot_hold(self):
        for answers in ({"txtA": "two\nlines"}, {"txt=A": "x"}, {" ": "x"}):
            with self.assertRaises(ValueError):
                inv.answers_text(answers)
        with self.assertRaises(ValueError):
            inv.option_list(["tasks", "everything"])


class CommandLines(unittest.TestCase):
    def test_preview_and_run(self):
        call = ("prog", "/tmp/a.answers", ["tasks", "sites"], "/srv/m", True)
        self.assertEqual(
            inv.preview_arguments(*call),
            ["prog", "--machine", "/srv/m", "--answers", "/tmp/a.answers", "--options",
             "tasks,sites", "--yes", "--preview", "--format", "json", "--detailed-exitcode"],
        )
        self.assertEqual(inv.run_arguments("prog", "a", [], None, False), ["prog", "--answers", "a"])

    def test_windows_quoting(self):
        self.assertEqual(
            windows_command_line([r"C:\Program Files\T\tessaron-config.exe", "--answers",
                                  "C:\\Temp\\dir with blank\\", 'say "hi"', ""]),
            r'"C:\Program Files\T\tessaron-config.exe" --answers "C:\Temp\dir with blank\\" '
            r'"say \"hi\"" ""',
        )


class Results(unittest.TestCase):
    preview = {"schemaVersion": 1, "changed": True,
               "configFile": {"path": r"C:\T\panel\config.inc", "changes": [
                   {"change": "-", "line": 2, "text": "' Creation Date: 1/1/2026"},
                   {"change": "+", "line": 5, "text": 'CustomerPort = 2100'}]},
               "metabase": {"keys": [{"change": "created", "location": "/LM/W3SVC/3",
                                      "class": "IIsWebServer", "properties": [
                                          {"name": "ServerBindings", "before": None,
                                           "after": [":2100:", ":2101:"]}]}]},
               "log": ["Beginning Tessaron configuration...",
                       "ERROR: Could not establish a connection to main MySQL database: denied"]}

    def test_changed_comes_from_the_verdict(self):
        self.assertTrue(inv.result_from(self.preview, 0, "", "", True)["changed"])
        unchanged = dict(self.preview, changed=False)
        self.assertFalse(inv.result_from(unchanged, 0, "", "", False)["changed"])
        self.assertTrue(inv.result_from(None, 10, "", "", False)["changed"])

    def test_diff_leaves_out_the_date_line(self):
        diff = inv.diff_text(self.preview)
        self.assertNotIn("Creation Date", diff)
        self.assertIn("+CustomerPort = 2100", diff)
        self.assertIn('ServerBindings: null -> [":2100:", ":2101:"]', diff)

    def test_a_failure_carries_the_error_lines_of_the_log(self):
        result = inv.result_from(self.preview, 1, json.dumps(self.preview), "", False)
        self.assertTrue(result["failed"])
        self.assertEqual(result["errors"], [self.preview["log"][1]])
        self.assertIn("RunError", result["msg"])
        run = inv.result_from(None, 4, "x\nERROR: Could not save\ny\n", "", False)
        self.assertEqual(run["errors"], ["ERROR: Could not save"])

    def test_parse_preview_refuses_other_documents(self):
        for text in ("", "{}", '{"schemaVersion": 2}', "[1]"):
            with self.assertRaises(ValueError):
                inv.parse_preview(text)


if __name__ == "__main__":
    unittest.main()
