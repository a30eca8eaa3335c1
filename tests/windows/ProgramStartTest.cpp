// The Windows program started as a process, the way a command prompt starts
// it: its console companion, with arguments read from the wide command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "WindowsTestSupport.h"
#include "platform/WideText.h"
#include "support/TestMachine.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Paths with a character of the ANSI code page (an umlaut) and one outside it
// (Greek): both survive only as wide text.
TEST(ProgramStart, PathsOutsideTheAnsiCodePageReachTheProgram) {
    TempFolder folder;
    const std::string machine = folder / "Maschine \xC3\xBC \xCE\xA9";
    const std::string answers = folder / "Antworten \xC3\xBC \xCE\xA9.answers";
    const std::string saved = folder / "Gespeichert \xC3\xBC \xCE\xA9.answers";
    fs::copy(sourceDir() / "examples" / "machines" / "windows2003", fs::path(toWide(machine)),
             fs::copy_options::recursive);
    writeBytes(answers, "txtControlPanelTitle = Von \xC3\xBC\xCE\xA9\n");

    std::string output;
    const auto status =
        runProgram(quoted(builtProgram("tessaron-config.com")) + " --machine " + quoted(machine) +
                       " --answers " + quoted(answers) + " --yes --save-answers " + quoted(saved),
                   &output);
    EXPECT_EQ(status, 0u) << output;
    EXPECT_NE(readBytes(saved).find("\ntxtControlPanelTitle = Von \xC3\xBC\xCE\xA9\n"),
              std::string::npos)
        << output;
}

}  // namespace
}  // namespace tessaron::testing
