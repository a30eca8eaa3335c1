#include "gui/DialogMessages.h"

#include <QMessageBox>

namespace tessaron::gui {

std::unique_ptr<QMessageBox> messageBox(const app::window::Message& message, QWidget* parent) {
    const QString title = QString::fromStdString(
        message.title.empty() ? std::string(app::window::kApplicationTitle) : message.title);
    const auto icon = message.icon == app::window::MessageIcon::Error ? QMessageBox::Critical
                                                                      : QMessageBox::NoIcon;
    const auto buttons = message.buttons == app::window::MessageButtons::YesNo
                             ? QMessageBox::Yes | QMessageBox::No
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    auto box = std::make_unique<QMessageBox>(icon, title, QString::fromStdString(message.text),
                                             buttons, parent);
    box->setTextFormat(Qt::PlainText);
    if (message.buttons == app::window::MessageButtons::YesNo) {
        box->setDefaultButton(message.defaultAnswer == app::window::MessageAnswer::No
                                  ? QMessageBox::No
                                  : QMessageBox::Yes);
    }
    return box;
}

app::window::MessageAnswer DialogMessages::show(const app::window::Message& message) {
    auto box = messageBox(message, owner_);
    const int answer = box->exec();
    if (message.buttons == app::window::MessageButtons::YesNo) {
        return answer == QMessageBox::Yes ? app::window::MessageAnswer::Yes
                                          : app::window::MessageAnswer::No;
    }
    return app::window::MessageAnswer::Ok;
}

}  // namespace tessaron::gui
