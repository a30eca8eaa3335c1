// Answers recorded from the window, replayed on another copy, and the
// references of the answers reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "RunSupport.h"
#include "app/answers/AnswersFile.h"
#include "app/answers/AnswersRecorder.h"
#include "app/wiring/ProgressRun.h"
#include "support/ImageDigest.h"
#include "support/SamplePaths.h"

#ifdef _WIN32
// Windows' runtime sets and removes variables through _putenv_s.
namespace {
int setenv(const char* name, const char* value, int) {
    return _putenv_s(name, value);
}
int unsetenv(const char* name) {
    return _putenv_s(name, "");
}
}  // namespace
#endif

namespace tessaron::app::testing {

using window::ControlModel;

using window::kGreyed;

using answers::AnswersHeader;
using answers::parseAnswers;
using answers::recordAnswers;
using answers::UsageError;

namespace {

namespace fs = std::filesystem;
using tessaron::testing::imageDigest;
using tessaron::testing::kConfigInc;
using tessaron::testing::kMetabase;
using tessaron::testing::TestMachine;

// Edits as a user makes them in the window, in an order the rules do not
// follow: the internal address box first, its check box afterwards.
void editLikeAUser(ControlModel& controls) {
    controls.setText("txtControlPanelTitle", "Recorded Hosting");
    controls.setChecked("chkInternalIP", kGreyed);
    controls.setText("txtInternalIP", "192.168.7.7");
    controls.setText("txtMainIP", "10.0.0.9");
    controls.setText("txtAdminPassword", "S3cret \"pw\"");
    controls.setText("txtMainCompanyName", "  Spaced Ltd  ");
    controls.setSelectedIndex("cmbMainSQLServerType", 1);
    controls.setChecked("chkStatistics", 1 - controls.checked("chkStatistics"));
    controls.setText("txtMainContactEmail", "@ops");
    controls.setChecked("chkMailServerEnabled", 1 - controls.checked("chkMailServerEnabled"));
    controls.setText("txtMaximumMailboxSize", "250");
}

TEST(RecordedAnswers, ListOnlyChangedControlsInReplayOrderWithPasswordReferences) {
    TestMachine machine = TestMachine::sample("windows2003");
    AnsweredWindow window(machine, "");
    const int statistics = 1 - window.controls().checked("chkStatistics");
    const int mail = 1 - window.controls().checked("chkMailServerEnabled");
    editLikeAUser(window.controls());

    const std::string text = recordAnswers(window.controls(), window.window->discoveredValues(),
                                           AnswersHeader{"WEBHOST01", "2026-12-08 13:15"}, false);
    EXPECT_EQ(text,
              "# Tessaron Configuration Utility answers, recorded from the settings window\n"
              "# on WEBHOST01 at 2026-12-08 13:15.\n"
              "# Only the values that differ from what was found on that machine are listed,\n"
              "# in the order in which they are to be applied.\n"
              "# Passwords are read from the environment: TESSARON_ADMIN_PASSWORD\n"
              "\n"
              "chkStatistics = " +
                  std::to_string(statistics) +
                  "\n"
                  "chkInternalIP = 2\n"
                  "chkMailServerEnabled = " +
                  std::to_string(mail) +
                  "\n"
                  "cmbMainSQLServerType = MySQL\n"
                  "txtControlPanelTitle = Recorded Hosting\n"
                  "txtMainCompanyName = \"  Spaced Ltd  \"\n"
                  "txtMainContactEmail = \"@ops\"\n"
                  "txtMainIP = 10.0.0.9\n"
                  "txtInternalIP = 192.168.7.7\n"
                  "txtAdminPassword = @env:TESSARON_ADMIN_PASSWORD\n"
                  "txtMaximumMailboxSize = 250\n");

    const std::string clear = recordAnswers(window.controls(), window.window->discoveredValues(),
                                            AnswersHeader{"WEBHOST01", "2026-12-08 13:15"}, true);
    EXPECT_NE(clear.find("# Passwords are written in clear text: keep this file private.\n"),
              std::string::npos);
    EXPECT_NE(clear.find("\ntxtAdminPassword = S3cret \"pw\"\n"), std::string::npos);
}

// The window's values recorded on one copy and replayed on another give the
// same config.inc and metabase.
TEST(RecordedAnswers, ReplayOnAFreshCopyGivesTheSameFiles) {
    TestMachine first = TestMachine::sample("windows2003");
    TestMachine second = TestMachine::sample("windows2003");
    const InstallOptions options{true, false, true};
    const std::string answersPath = writeBeside(second, "recorded.answers", "");
    {
        // The settings record keeps values of sections switched off from an
        // earlier press of the install button, which no answers file carries:
        // the install button is pressed once, after the edits.
        AnsweredWindow window(first, sampleAnswers(), nullptr, false, false);
        editLikeAUser(window.controls());
        window.controls().press("btnInstall");
        ProgressLog log;
        wiring::performRun(window.settings, options, window.image, log);
        std::ofstream(answersPath, std::ios::binary)
            << recordAnswers(window.controls(), window.window->discoveredValues(),
                             AnswersHeader{"WEBHOST01", "now"}, false);
    }
    setenv("TESSARON_ADMIN_PASSWORD", "S3cret \"pw\"", 1);
    setenv("TESSARON_MAIN_DATABASE_PASSWORD", "tessaron-test-pw", 1);
    setenv("TESSARON_MYSQL_ADMIN_PASSWORD", "root pass", 1);
    const auto replay = runFrontEnd({"--machine", second.root().string(), "--answers", answersPath,
                                     "--options", "tasks,sites"});
    for (const char* name : {"TESSARON_ADMIN_PASSWORD", "TESSARON_MAIN_DATABASE_PASSWORD",
                             "TESSARON_MYSQL_ADMIN_PASSWORD"}) {
        unsetenv(name);
    }
    EXPECT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(second.readFile(kConfigInc), first.readFile(kConfigInc));
    EXPECT_EQ(second.readFile(kMetabase), first.readFile(kMetabase));
}

TEST(RecordedAnswers, SaveAnswersFromTheCommandLineRecordsTheAnsweredWindow) {
    TestMachine machine = TestMachine::sample("windows2003");
    const auto in =
        writeBeside(machine, "in.answers",
                    "txtControlPanelTitle = From File\ntxtMySQLAdminPassword = rootpw\n");
    const auto out = (machine.root() / "out.answers").string();
    const std::string before = imageDigest(machine.root());
    const auto saved =
        runFrontEnd({"--machine", machine.root().string(), "--answers", in, "--save-answers", out});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "");  // no run
    const std::string text = tessaron::testing::readBytes(out);
    EXPECT_NE(text.find("\ntxtControlPanelTitle = From File\ntxtMySQLAdminPassword = "
                        "@env:TESSARON_MYSQL_ADMIN_PASSWORD\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("rootpw"), std::string::npos);
    fs::remove(out);
    EXPECT_EQ(imageDigest(machine.root()), before);

    // With the passwords in clear text the file is its owner's alone, also
    // when it was readable by others before.
    std::ofstream(out) << "old";
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                             fs::perms::others_read);
    const auto clear = runFrontEnd({"--machine", machine.root().string(), "--answers", in,
                                    "--save-answers", out, "--save-answers-clear"});
    EXPECT_EQ(clear.status, 0) << clear.err;
    EXPECT_NE(tessaron::testing::readBytes(out).find("txtMySQLAdminPassword = rootpw\n"),
              std::string::npos);
#ifndef _WIN32  // Windows keeps no such bits
    EXPECT_EQ(fs::status(out).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
#endif

    const auto usage = runFrontEnd(
        {"--machine", machine.root().string(), "--answers", in, "--save-answers-clear"});
    EXPECT_EQ(usage.status, 64);
    EXPECT_NE(usage.err.find("--save-answers-clear needs --save-answers FILE"), std::string::npos);
}

TEST(AnswerReferences, UnquotedReferencesResolveQuotedOnesStayLiteral) {
    TestMachine machine = TestMachine::sample("windows2003");
    const auto answersPath = writeBeside(machine, "refs.answers", "");
    writeBeside(machine, "admin.pw", "from file\r\n");
    setenv("TESSARON_TEST_REF", "from env", 1);

    struct Case {
        std::string line;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"txtAdminPassword = @env:TESSARON_TEST_REF", "from env"},
        {"txtAdminPassword = @file:admin.pw", "from file"},
        {"txtAdminPassword = @file:" + (machine.root() / "admin.pw").string(), "from file"},
        {"txtAdminPassword = \"@env:TESSARON_TEST_REF\"", "@env:TESSARON_TEST_REF"},
        {"txtAdminPassword = env:TESSARON_TEST_REF", "env:TESSARON_TEST_REF"},
    };
    for (const auto& c : cases) {
        const auto answers = parseAnswers("# header\n" + c.line + "\n", answersPath);
        ASSERT_EQ(answers.size(), 1u) << c.line;
        EXPECT_EQ(answers[0].value, c.value) << c.line;
    }

    const std::vector<Case> missing = {
        {"txtAdminPassword = @env:TESSARON_TEST_UNSET",
         answersPath + ":2: the environment variable TESSARON_TEST_UNSET named by "
                       "@env:TESSARON_TEST_UNSET is not set"},
        {"txtAdminPassword = @file:none.pw", answersPath + ":2: cannot read " +
                                                 (machine.root() / "none.pw").string() +
                                                 " named by @file:none.pw: no such file"},
    };
    unsetenv("TESSARON_TEST_UNSET");
    for (const auto& c : missing) {
        try {
            parseAnswers("# header\n" + c.line + "\n", answersPath);
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()), c.value);
        }
    }
    unsetenv("TESSARON_TEST_REF");
}

}  // namespace
}  // namespace tessaron::app::testing

namespace tessaron::app::testing {
namespace {

// No password given to the window reaches what the program prints: the run's
// log, the preview as text and JSON; config.inc and the task lines keep them.
TEST(Secrets, NoPasswordInRunOrPreviewOutput) {
    const std::vector<std::string> passwords = {"Adm1n pass", "tessaron-test-pw", "root pass",
                                                "sql'pw\\x"};
    const std::string answers =
        sampleAnswers() + "chkMSSQLActive = 1\ntxtSQLServerAdminPassword = sql'pw\\x\n";
    const std::vector<std::vector<std::string>> modes = {
        {"--preview"}, {"--preview", "--format", "json"}, {}};
    for (const auto& mode : modes) {
        TestMachine machine = TestMachine::sample("windows2003");
        const auto path = writeBeside(machine, "answers.txt", answers);
        std::vector<std::string> args = {"--machine", machine.root().string(), "--answers", path,
                                         "--options", "tasks,database,sites"};
        args.insert(args.end(), mode.begin(), mode.end());
        const auto outcome = runFrontEnd(args);
        if (!mode.empty()) {
            EXPECT_NE(outcome.out.find("********"), std::string::npos);
        }
        for (const auto& password : passwords) {
            EXPECT_EQ(outcome.out.find(password), std::string::npos) << password;
            EXPECT_EQ(outcome.err.find(password), std::string::npos) << password;
        }
        if (mode.empty()) {
            EXPECT_NE(machine.readFile("C:\\Tessaron\\panel\\config.inc").find("Adm1n pass"),
                      std::string::npos);
            EXPECT_NE(tessaron::testing::readBytes(machine.root() / "commands.log")
                          .find("\"Adm1n pass\""),
                      std::string::npos);
        }
    }
}

}  // namespace
}  // namespace tessaron::app::testing
