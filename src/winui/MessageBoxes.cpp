#include "winui/MessageBoxes.h"

#include "app/window/ControlCatalogue.h"
#include "platform/WideText.h"

namespace tessaron::winui {

app::window::MessageAnswer showMessageBox(HWND owner, const app::window::Message& message) {
    const std::string title =
        message.title.empty() ? std::string(app::window::kApplicationTitle) : message.title;
    UINT style = MB_SETFOREGROUND;
    if (message.icon == app::window::MessageIcon::Error) style |= MB_ICONERROR;
    style |= message.buttons == app::window::MessageButtons::YesNo ? MB_YESNO : MB_OK;
    const int answer =
        MessageBoxW(owner, toWide(message.text).c_str(), toWide(title).c_str(), style);
    if (message.buttons == app::window::MessageButtons::YesNo) {
        return answer == IDYES ? app::window::MessageAnswer::Yes : app::window::MessageAnswer::No;
    }
    return app::window::MessageAnswer::Ok;
}

app::window::MessageAnswer MessageBoxes::show(const app::window::Message& message) {
    return showMessageBox(owner_, message);
}

bool askYesNo(HWND owner, const std::string& title, const std::string& text) {
    return MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void tellInformation(HWND owner, const std::string& title, const std::string& text) {
    MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace tessaron::winui
