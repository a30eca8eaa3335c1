#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "app/window/ControlCatalogue.h"
#include "app/window/MessageService.h"

namespace tessaron::gui {

// The message box of a message: its own title (the application's title when
// it has none), its text, the stop icon for errors or none, and OK or Yes
// and No.
std::unique_ptr<QMessageBox> messageBox(const app::window::Message& message, QWidget* parent);

// Message boxes of the window: modal dialogs over the owner (none while the
// settings window is still loading).
class DialogMessages : public app::window::MessageService {
public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    app::window::MessageAnswer show(const app::window::Message& message) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace tessaron::gui
