#pragma once

#include <windows.h>

#include "app/window/MessageService.h"

namespace tessaron::winui {

// The message box of a message (MessageBoxW): its own title (the
// application's when it has none), its text, the stop icon for errors, and
// OK or Yes and No; modal over the owner.
app::window::MessageAnswer showMessageBox(HWND owner, const app::window::Message& message);

// Message boxes of the window: over the owner (none while the settings
// window is still loading).
class MessageBoxes : public app::window::MessageService {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    app::window::MessageAnswer show(const app::window::Message& message) override;

private:
    HWND owner_ = nullptr;
};

// A question answered Yes (true) or No, and a message for information, as
// the install-options dialog's tools ask and tell.
bool askYesNo(HWND owner, const std::string& title, const std::string& text);
void tellInformation(HWND owner, const std::string& title, const std::string& text);

}  // namespace tessaron::winui
