#include "gui/DialogMessages.h"

#include <QMessageBox>

namespace tessaron::gui {

std::unique_ptr<QMessageBox> messageBox(const app::Message& message, QWidget* parent) {
    const QString title = QString::fromStdString(
        message.title.empty() ? std::string(app::kApplicationTitle) : message.title);
    const auto icon =
        message.icon == app::MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon;
    const auto buttons = message.buttons == app::MessageButtons::YesNo
                             ? QMessageBox::Yes | QMessageBox::No
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    auto box = std::make_unique<QMessageBox>(icon, title, QString::fromStdString(message.text),
                                             buttons, parent);
    box->setTextFormat(Qt::PlainText);
    if (message.buttons == app::MessageButtons::YesNo) {
        box->setDefaultButton(message.defaultAnswer == app::MessageAnswer::No ? QMessageBox::No
                                                                              : QMessageBox::Yes);
    }
    return box;
}

app::MessageAnswer DialogMessages::show(const app::Message& message) {
    auto box = messageBox(message, owner_);
    const int answer = box->exec();
    if (message.buttons == app::MessageButtons::YesNo) {
        return answer == QMessageBox::Yes ? app::MessageAnswer::Yes : app::MessageAnswer::No;
    }
    return app::MessageAnswer::Ok;
}

}  // namespace tessaron::gui
