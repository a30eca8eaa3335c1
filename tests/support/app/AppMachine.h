#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/window/MessageService.h"
#include "app/window/SettingsWindow.h"
#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"

namespace tessaron::app::testing {

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
    explicit WindowOnMachine(const tessaron::testing::MachineSetup& setup = {},
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
