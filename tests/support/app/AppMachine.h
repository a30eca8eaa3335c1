#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/window/MessageService.h"
#include "app/window/SettingsWindow.h"
#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"

namespace tessaron::app::testing {

struct Site {
    std::string number;
    std::optional<std::string> comment;  // nullopt: no ServerComment property
};

// A machine as the window's load step sees it; every part can be left out.
struct MachineSetup {
    std::optional<std::string> installDirValue = "C:\\Tessaron";  // as stored in the registry
    std::vector<std::string> addresses = {"10.0.0.5"};
    std::string organization = "Example Hosting Ltd";
    std::string owner = "Administrator";
    std::string version = "5.2";
    std::string build = "3790";
    bool component = true;
    std::string computerName = "WEBHOST01";
    bool metabase = true;
    std::string logFileDirectory = "%WinDir%\\System32\\LogFiles";
    std::vector<Site> webSites = {{"1", "Default Web Site"}, {"7", "Shop"}};
    bool ftpService = true;
    std::vector<Site> ftpSites = {{"1", "Default FTP Site"}};
    bool stylesFolder = true;
    std::vector<std::string> styles = {"Default"};
    std::optional<std::string> configInc;  // bytes of C:\Tessaron\panel\config.inc
};

// Writes the machine into a fresh temporary image (Windows folder C:\WINDOWS).
tessaron::testing::TestMachine buildMachine(const MachineSetup& setup);

// The metabase text for a machine setup.
std::string metabaseXml(const MachineSetup& setup);

// Records every message box; answers the question as told.
class RecordingMessages : public app::window::MessageService {
public:
    app::window::MessageAnswer show(const app::window::Message& message) override {
        shown.push_back(message);
        return message.buttons == app::window::MessageButtons::YesNo
                   ? answer
                   : app::window::MessageAnswer::Ok;
    }
    std::vector<int> ids() const {
        std::vector<int> result;
        for (const auto& message : shown) result.push_back(message.id);
        return result;
    }

    std::vector<app::window::Message> shown;
    app::window::MessageAnswer answer = app::window::MessageAnswer::No;
};

// A machine image with a settings window on it, loaded or not.
struct WindowOnMachine {
    explicit WindowOnMachine(const MachineSetup& setup = {},
                             app::window::MessageAnswer answer = app::window::MessageAnswer::No,
                             bool load = true);

    tessaron::testing::TestMachine machine;
    MachineImage image;
    SettingsRecord settings;
    RecordingMessages messages;
    std::unique_ptr<app::window::SettingsWindow> window;
    app::window::LoadResult result = app::window::LoadResult::Shown;

    app::window::ControlModel& controls() { return window->controls(); }
};

// Presses the install button, then writes config.inc from the record as a run
// would; the file's lines (without their CR LF).
std::vector<std::string> configIncAfterInstall(WindowOnMachine& w);

}  // namespace tessaron::app::testing
