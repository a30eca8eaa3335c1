#pragma once

#include <windows.h>

#include "app/MessageService.h"

namespace tessaron::winui {

// The message box of a message (MessageBoxW): its own title (the
// application's when it has none), its text, the stop icon for errors, and
// OK or Yes and No; modal over the owner.
app::MessageAnswer showMessageBox(HWND owner, const app::Message& message);

// Message boxes of the window: over the owner (none while the settings
// window is still loading).
class MessageBoxes : public app::MessageService {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    app::MessageAnswer show(const app::Message& message) override;

private:
    HWND owner_ = nullptr;
};

// A question answered Yes (true) or No, and a message for information, as
// the install-options dialog's tools ask and tell.
bool askYesNo(HWND owner, const std::string& title, const std::string& text);
void tellInformation(HWND owner, const std::string& title, const std::string& text);

}  // namespace tessaron::winui
