// A machine whose MetaBase.xml or registry.reg is not what it claims to be:
// the program ends at load naming the file, the line and the reason, in the
// window's message and on standard error in unattended mode.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/unattended/UnattendedFrontEnd.h"
#include "main/ProgramBackend.h"
#include "support/SamplePaths.h"
#include "support/app/AppMachine.h"

namespace tessaron::app::testing {

using window::LoadResult;
using window::Message;
using window::SettingsWindow;

namespace {
using tessaron::testing::kMetabase;

using tessaron::testing::TestMachine;

TEST(RejectedFiles, DamagedMetabaseIsNamedWithItsLineInsteadOfAGenericMessage) {
    struct Case {
        std::string what;
        std::string text;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"cut short", "<?xml version=\"1.0\"?>\n<configuration>\n<MBProperty>\n<IIsWebService",
         "not well-formed XML (Error parsing start element tag) at line 4, column 14 (offset 64)."},
        {"another root element", "<?xml version=\"1.0\"?>\n\n<settings/>\n",
         "the root element is <settings>, not <configuration> at line 3, column 1 (offset 23)."},
        {"a key without location",
         "<configuration>\n<MBProperty>\n\n<IIsWebService/>\n</MBProperty>\n</configuration>\n",
         "the key <IIsWebService> has no Location at line 4, column 1 (offset 30)."},
    };
    for (const auto& c : cases) {
        auto machine = TestMachine::sample("windows2003");
        machine.writeFile(kMetabase, c.text);
        const std::string path = machine.host(kMetabase).string();

        // The window's load step.
        MachineImage image(machine.root());
        SettingsRecord settings;
        RecordingMessages messages;
        SettingsWindow window(image, settings, messages);
        EXPECT_EQ(window.Load(), LoadResult::Ended) << c.what;
        ASSERT_EQ(messages.ids(), std::vector<int>{9}) << c.what;
        const Message& shown = messages.shown.front();
        EXPECT_EQ(shown.title, "Cannot Read IIS Configuration");
        const std::string prefix =
            "Sorry, I could not read this server's IIS configuration - "
            "The metabase file " +
            path + " cannot be read: ";
        EXPECT_EQ(shown.text, prefix + c.reason) << c.what;

        // Unattended: the same text on standard error, status 3.
        const auto answers = (machine.root() / "answers.txt").string();
        std::ofstream(answers) << "txtControlPanelTitle = x\n";
        std::ostringstream out, err;
        EXPECT_EQ(
            unattended::runUnattended({"--machine", machine.root().string(), "--answers", answers},
                                      startup::programBackend(), out, err),
            3);
        EXPECT_EQ(err.str(), shown.title + ": " + shown.text + "\n");
    }
}

TEST(RejectedFiles, DamagedRegistryIsNamedWithItsLine) {
    auto machine = TestMachine::sample("windows2003");
    machine.writeRegistry(
        "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
        "\"Name\"=\"unterminated\n");
    const auto answers = (machine.root() / "answers.txt").string();
    std::ofstream(answers) << "txtControlPanelTitle = x\n";
    std::ostringstream out, err;
    EXPECT_EQ(
        unattended::runUnattended({"--machine", machine.root().string(), "--answers", answers},
                                  startup::programBackend(), out, err),
        3);
    const std::string file = (machine.root() / "registry.reg").string();
    EXPECT_NE(err.str().find("The registry file " + file + " is not valid at line 4: "),
              std::string::npos)
        << err.str();
}

}  // namespace
}  // namespace tessaron::app::testing
