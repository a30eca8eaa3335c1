// The install button's flow through the Windows window: the options dialog,
// a run in the progress window with the log the unattended run prints,
// closing that ends the program or returns to the dialog; and the load
// step's message boxes, answered by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "MariaDbSupport.h"
#include "WindowDriver.h"
#include "WindowsTestSupport.h"
#include "app/unattended/UnattendedFrontEnd.h"
#include "app/wiring/ExitStatus.h"
#include "main/ProgramBackend.h"
#include "support/SamplePaths.h"
#include "support/SilentServer.h"
#include "support/TestMachine.h"
#include "winui/OptionsDialog.h"
#include "winui/ProgressDialog.h"

namespace tessaron::winui::testing {
namespace {

using tessaron::testing::FreshDatabase;
using tessaron::testing::kNoTestServer;
using tessaron::testing::MachineSetup;
using tessaron::testing::TestMachine;
using tessaron::testing::TestServer;

const app::window::FormDesign& kMain = app::window::mainFormDesign();
const app::window::FormDesign& kInstall = app::window::installFormDesign();
const app::window::FormDesign& kProgress = app::window::progressFormDesign();

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        result.push_back(line);
    }
    return result;
}

// The log the unattended run prints for a fresh copy of the sample, with
// the window's defaults and the given answers.
std::vector<std::string> unattendedLog(const std::string& options,
                                       const std::string& answers = {}) {
    TestMachine machine = TestMachine::sample("windows2003");
    machine.writeFile("C:\\answers.txt", "# the window's defaults\n" + answers);
    std::ostringstream out, err;
    app::unattended::runUnattended({"--machine", machine.root().string(), "--answers",
                                    machine.host("C:\\answers.txt").string(), "--options", options},
                                   startup::programBackend(), out, err);
    return lines(out.str());
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The answers that name a database on the test server (reached through
// odbc32).
std::string databaseAnswers(const TestServer& server, const FreshDatabase& database) {
    return "cmbMainSQLServerType = MySQL\ntxtMainDatabaseIP = " + server.serverAddress() +
           "\ntxtMainDatabaseName = " + database.name() +
           "\ntxtMainDatabaseUsername = " + server.user +
           "\ntxtMainDatabasePassword = " + server.password + "\n";
}

struct Flow {
    explicit Flow(TestMachine copy) : machine(std::move(copy)), program(machine.root()) {}
    // The window on this machine.
    explicit Flow(std::nullopt_t) : program(std::nullopt) {}
    TestMachine machine;
    RunningProgram program;
    HWND main = nullptr;
    HWND dialog = nullptr;
    HWND progress = nullptr;

    // The Database tab typed in, as the user would: MySQL on the test server.
    void typeDatabase(const TestServer& server, const FreshDatabase& database) const {
        const auto type = [&](const char* box, const std::string& text) {
            typeText(controlWindow(main, kMain, box), text);
        };
        selectEntry(controlWindow(main, kMain, "cmbMainSQLServerType"), 1);
        type("txtMainDatabaseIP", server.serverAddress());
        type("txtMainDatabaseName", database.name());
        type("txtMainDatabaseUsername", server.user);
        type("txtMainDatabasePassword", server.password);
    }
    HWND openDialog() {
        main = program.mainWindow();
        if (!main) return nullptr;
        clickLater(controlWindow(main, kMain, "btnInstall"));
        waitUntil([&] { return (dialog = findWindow(program.threadId(), L"TessaronInstall")); });
        return dialog;
    }
    // Ticks the boxes, presses OK and waits for the run to end.
    HWND run(std::initializer_list<const char*> boxes) {
        for (const char* box : boxes) click(controlWindow(dialog, kInstall, box));
        clickLater(controlWindow(dialog, kInstall, "OKButton"));
        waitUntil([&] { return (progress = findWindow(program.threadId(), L"TessaronProgress")); });
        if (!progress) return nullptr;
        HWND close = childById(progress, kCloseId);
        waitUntil([&] { return IsWindowVisible(close) != 0; }, 120000);
        return progress;
    }
};

TEST(WinInstallFlow, ARunShowsTheUnattendedLogAndClosingEndsTheProgram) {
    const auto server = TestServer::fromEnvironment();
    if (!server) GTEST_SKIP() << kNoTestServer;
    std::optional<FreshDatabase> windowDatabase, unattendedDatabase;
    ASSERT_NO_THROW(windowDatabase.emplace(*server, "winui_window"));
    ASSERT_NO_THROW(unattendedDatabase.emplace(*server, "winui_unattended"));

    Flow flow(TestMachine::sample("windows2003"));
    flow.main = flow.program.mainWindow();
    ASSERT_NE(flow.main, nullptr);
    flow.typeDatabase(*server, *windowDatabase);
    ASSERT_NE(flow.openDialog(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(flow.main));  // modal over the settings window
    ASSERT_NE(flow.run({"chkCreateTasks", "chkInitDB", "chkSetupIIS"}), nullptr);

    const std::vector<std::string> shown =
        lines(textOf(controlWindow(flow.progress, kProgress, "txtProgress")));
    EXPECT_EQ(shown,
              unattendedLog("tasks,database,sites", databaseAnswers(*server, *unattendedDatabase)));
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Tessaron database created."), shown.end());
    EXPECT_EQ(windowDatabase->tables(), 18);
    EXPECT_EQ(textOf(flow.progress), "Tessaron Configuration Completed");
    EXPECT_FALSE(IsWindowEnabled(flow.dialog));
    EXPECT_TRUE(IsWindowEnabled(childById(flow.progress, kSaveLogId)));  // Save Log...

    clickLater(childById(flow.progress, kCloseId));
    EXPECT_EQ(flow.program.exitStatus(), 0);
}

TEST(WinWholeRun, TheWindowConfiguresThisMachineThroughTheSystemsInterfaces) {
    if (variable("TESSARON_WHOLE_RUN") != "1") {
        GTEST_SKIP() << "runs in a process of its own (ctest's winui_whole_run)";
    }
    const auto server = TestServer::fromEnvironment();
    if (!server) GTEST_SKIP() << "the test database server is not running";
    std::optional<FreshDatabase> database;
    ASSERT_NO_THROW(database.emplace(*server, "winui_local"));
    const tessaron::testing::LocalSample local;

    Flow flow(std::nullopt);
    flow.main = flow.program.mainWindow();
    ASSERT_NE(flow.main, nullptr);
    flow.typeDatabase(*server, *database);
    ASSERT_NE(flow.openDialog(), nullptr);
    ASSERT_NE(flow.run({"chkCreateTasks", "chkInitDB", "chkSetupIIS"}), nullptr);

    const std::vector<std::string> shown =
        lines(textOf(controlWindow(flow.progress, kProgress, "txtProgress")));
    const std::string log = textOf(controlWindow(flow.progress, kProgress, "txtProgress"));
    for (const char* line :
         {"DNS WMI provider OK.", "Tessaron database created.",
          "Creating task for bandwidth update...", "Tessaron control panel website configured.",
          "Tessaron configuration completed."}) {
        EXPECT_NE(std::find(shown.begin(), shown.end(), line), shown.end()) << line << "\n" << log;
    }
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
    EXPECT_EQ(textOf(flow.progress), "Tessaron Configuration Completed");
    EXPECT_EQ(database->tables(), 18);
    // The sites are in the metabase file, the tasks went through the component.
    EXPECT_NE(tessaron::testing::readBytes(local.metabase())
                  .find("ServerComment=\"Tessaron - Control Panel\""),
              std::string::npos);
    EXPECT_NE(tessaron::testing::readBytes(local.commands()).find("jt.exe"), std::string::npos);

    clickLater(childById(flow.progress, kCloseId));
    EXPECT_EQ(flow.program.exitStatus(), 0);
}

TEST(WinInstallFlow, AFailedRunReturnsToTheDialogWithItsReason) {
    // A read-only config.inc: the load step asks whether to read it, the run
    // cannot replace it and sets RunError.
    TestMachine machine = TestMachine::sample("windows2003");
    machine.writeFile(tessaron::testing::kConfigInc, "<?php\r\n?>\r\n");
    machine.setReadOnly(tessaron::testing::kConfigInc, true);
    Flow flow(std::move(machine));
    const auto question = answerMessageBox(flow.program.threadId(), IDYES);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->text, app::window::messages::alreadyConfigured().text);
    ASSERT_NE(flow.openDialog(), nullptr);
    ASSERT_NE(flow.run({}), nullptr);
    EXPECT_NE(textOf(flow.progress), "Tessaron Configuration Completed");

    clickLater(childById(flow.progress, kCloseId));
    HWND reason = childById(flow.dialog, kReasonId);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(reason) != 0; }));
    EXPECT_FALSE(textOf(reason).empty());
    EXPECT_TRUE(IsWindowEnabled(flow.dialog));
    EXPECT_FALSE(flow.program.exitStatus(200).has_value());  // the program goes on
    // The boxes stay as they were ticked; Cancel leaves the settings window.
    clickLater(controlWindow(flow.dialog, kInstall, "CancelButton"));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(flow.main) != 0; }));
}

TEST(WinInstallFlow, CancelEndsTheRunAtASafePointAndReturnsToTheDialog) {
    // A database server that never answers holds the run in its database
    // step until Cancel.
    tessaron::testing::SilentServer server;
    Flow flow(TestMachine::sample("windows2003"));
    flow.main = flow.program.mainWindow();
    ASSERT_NE(flow.main, nullptr);
    selectEntry(controlWindow(flow.main, kMain, "cmbMainSQLServerType"), 1);  // MySQL
    typeText(controlWindow(flow.main, kMain, "txtMainDatabaseIP"), server.address());
    const std::string metabaseBefore = flow.machine.readFile(tessaron::testing::kMetabase);
    ASSERT_NE(flow.openDialog(), nullptr);
    click(controlWindow(flow.dialog, kInstall, "chkInitDB"));
    click(controlWindow(flow.dialog, kInstall, "chkSetupIIS"));
    clickLater(controlWindow(flow.dialog, kInstall, "OKButton"));
    ASSERT_TRUE(waitUntil([&] {
        return (flow.progress = findWindow(flow.program.threadId(), L"TessaronProgress"));
    }));
    ASSERT_TRUE(waitUntil([&] { return server.accepted() > 0; }));
    HWND step = childById(flow.progress, kStepId);
    EXPECT_TRUE(
        waitUntil([&] { return textOf(step) == "Step 3 of 5: Initialising the database"; }, 5000))
        << textOf(step);
    HWND cancel = childById(flow.progress, kCancelId);
    clickLater(cancel);
    ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(cancel) == 0; }));
    HWND close = childById(flow.progress, kCloseId);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(close) != 0; }, 120000));
    EXPECT_EQ(textOf(flow.progress), "Tessaron Configuration Cancelled");
    const auto log = lines(textOf(controlWindow(flow.progress, kProgress, "txtProgress")));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.back(), "Tessaron configuration cancelled.");
    EXPECT_EQ(log[log.size() - 2].rfind("ERROR: Could not establish a connection to main MySQL "
                                        "database: ",
                                        0),
              0u);
    // The sites are never set up.
    EXPECT_EQ(flow.machine.readFile(tessaron::testing::kMetabase), metabaseBefore);
    clickLater(close);
    HWND reason = childById(flow.dialog, kReasonId);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(reason) != 0; }));
    EXPECT_EQ(textOf(reason),
              "The last run was cancelled before it completed. Press OK to run again, or Cancel "
              "to return to the settings.");
    EXPECT_FALSE(flow.program.exitStatus(200).has_value());
}

TEST(WinMessageBoxes, TheLoadStepsBoxesAreAnsweredByTheUser) {
    struct Case {
        const char* name;
        MachineSetup machine;
        app::window::Message expected;
        int answer;
        bool windowShown;
    };
    MachineSetup noInstallDir;
    noInstallDir.installDirValue = std::nullopt;
    MachineSetup configured;
    configured.configInc = "<?php\r\n?>\r\n";
    const Case cases[] = {
        {"missing installation directory", noInstallDir,
         app::window::messages::installDirectoryNotFound(), IDOK, false},
        {"already configured, No", configured, app::window::messages::alreadyConfigured(), IDNO,
         false},
        {"already configured, Yes", configured, app::window::messages::alreadyConfigured(), IDYES,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine machine = TestMachine::described(c.machine);
        RunningProgram program(machine.root());
        const auto seen = answerMessageBox(program.threadId(), c.answer);
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(seen->title, c.expected.title);
        EXPECT_EQ(seen->text, c.expected.text);
        if (c.windowShown) {
            EXPECT_NE(program.mainWindow(), nullptr);
        } else {
            EXPECT_EQ(program.exitStatus(), app::wiring::exit_status::kEndedAtLoad);
        }
    }
}

}  // namespace
}  // namespace tessaron::winui::testing
