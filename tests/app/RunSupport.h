#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"
#include "support/app/AppMachine.h"

namespace tessaron::app::testing {

// A settings window loaded on a test machine, answered as the unattended
// front end answers it, with the install button pressed.
struct AnsweredWindow {
    AnsweredWindow(const tessaron::testing::TestMachine& machine, const std::string& answers,
                   Database* database = nullptr, bool yes = false, bool pressInstall = true);

    MachineImage image;
    SettingsRecord settings;
    RecordingMessages messages;
    std::unique_ptr<app::window::SettingsWindow> window;

    app::window::ControlModel& controls() { return window->controls(); }
};

// The sample's answers (examples/answers/windows2003.answers) with the
// database login of the test server's database, when given.
std::string sampleAnswers(const std::string& databaseAddress = "",
                          const std::string& databaseName = "", const std::string& user = "",
                          const std::string& password = "");

// The unattended front end's outcome.
struct Outcome {
    int status;
    std::string out;
    std::string err;
};
Outcome runFrontEnd(const std::vector<std::string>& args);

// Writes text to a file of its own in the machine's root (outside the drives).
std::string writeBeside(const tessaron::testing::TestMachine& machine, const std::string& name,
                        const std::string& text);

}  // namespace tessaron::app::testing
