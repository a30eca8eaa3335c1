#include "winui/MessageBoxes.h"

#include "app/ControlCatalogue.h"
#include "platform/WideText.h"

namespace tessaron::winui {

app::MessageAnswer showMessageBox(HWND owner, const app::Message& message) {
    const std::string title =
        message.title.empty() ? std::string(app::kApplicationTitle) : message.title;
    UINT style = MB_SETFOREGROUND;
    if (message.icon == app::MessageIcon::Error) style |= MB_ICONERROR;
    style |= message.buttons == app::MessageButtons::YesNo ? MB_YESNO : MB_OK;
    const int answer =
        MessageBoxW(owner, toWide(message.text).c_str(), toWide(title).c_str(), style);
    if (message.buttons == app::MessageButtons::YesNo) {
        return answer == IDYES ? app::MessageAnswer::Yes : app::MessageAnswer::No;
    }
    return app::MessageAnswer::Ok;
}

app::MessageAnswer MessageBoxes::show(const app::Message& message) {
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
