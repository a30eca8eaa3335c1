#include "app/window/SettingsWindow.h"

namespace tessaron::app::window {

SettingsWindow::SettingsWindow(Platform& platform, SettingsRecord& settings,
                               MessageService& messages)
    : platform_(platform), settings_(settings), messages_(messages), controls_(mainFormDesign()) {
    attachRules();
}

SettingsWindow::~SettingsWindow() = default;

}  // namespace tessaron::app::window
