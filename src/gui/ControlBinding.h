#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <string>
#include <string_view>

#include "app/window/ControlModel.h"

class QWidget;

namespace tessaron::gui {

// Binds the widgets of a form (object name = control name) to the form's
// ControlModel both ways, as ControlModel.h describes: the widgets start
// with the model's state and follow every change the model reports; the
// user's edits go to the model's setters, whose rules then show at once.
//
//   label, button          caption           <- model
//   line edit              text              <-> model (typed text)
//   multi-line text box    text              <- model (appended when it grows)
//   check box              0, 1, 2 (greyed)  <-> model (a click ticks or clears)
//   drop-down list         entries, index    <-> model (an entry chosen)
//   every widget           enabled, visible  <- model
class ControlBinding : public QObject {
public:
    ControlBinding(app::window::ControlModel& model, QWidget& form);
    ~ControlBinding() override;
    ControlBinding(const ControlBinding&) = delete;
    ControlBinding& operator=(const ControlBinding&) = delete;

    // The widget bound to a control, or nullptr.
    QWidget* widget(std::string_view control) const;

    // Model texts keep CR LF; widgets show line feeds.
    static QString displayText(const std::string& modelText);

private:
    void copyAll(const app::window::Control& control);
    void copy(const app::window::Control& control, app::window::ControlProperty property);
    void copyText(const app::window::Control& control, QWidget* widget);
    void copyChecked(const app::window::Control& control, QWidget* widget);
    void copyEntries(const app::window::Control& control, QWidget* widget);
    void copySelection(const app::window::Control& control, QWidget* widget);
    void forwardEdits(const app::window::Control& control, QWidget* widget);

    app::window::ControlModel& model_;
    int observer_ = 0;
    std::map<std::string, QWidget*, std::less<>> widgets_;
};

}  // namespace tessaron::gui
