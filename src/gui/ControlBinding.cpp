#include "gui/ControlBinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextCursor>
#include <stdexcept>

#include "gui/AccessibleForm.h"
#include "gui/FormGeometry.h"

namespace tessaron::gui {

using app::window::Control;
using app::window::ControlKind;

using app::window::ControlProperty;

namespace {

Qt::CheckState checkState(int value) {
    if (value == app::window::kChecked) return Qt::Checked;
    if (value == app::window::kGreyed) return Qt::PartiallyChecked;
    return Qt::Unchecked;
}

}  // namespace

QString ControlBinding::displayText(const std::string& modelText) {
    QString text = QString::fromStdString(modelText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

ControlBinding::ControlBinding(app::window::ControlModel& model, QWidget& form) : model_(model) {
    describeForm(form, model_.form());  // buddies first: a label's mnemonic needs its buddy
    for (const auto& control : model_.controls()) {
        if (control->kind() == ControlKind::FileDialog) continue;  // no widget of its own
        auto* widget = form.findChild<QWidget*>(QString::fromStdString(control->name()));
        if (!widget) {
            throw std::logic_error("form " + model_.form().name + " has no widget for control " +
                                   control->name());
        }
        widgets_.emplace(control->name(), widget);
        copyAll(*control);
        forwardEdits(*control, widget);
    }
    observer_ = model_.addObserver(
        [this](const Control& control, ControlProperty property) { copy(control, property); });
}

ControlBinding::~ControlBinding() {
    model_.removeObserver(observer_);
}

QWidget* ControlBinding::widget(std::string_view control) const {
    const auto found = widgets_.find(control);
    return found == widgets_.end() ? nullptr : found->second;
}

void ControlBinding::copyAll(const Control& control) {
    for (auto property :
         {ControlProperty::Entries, ControlProperty::Selection, ControlProperty::Text,
          ControlProperty::Checked, ControlProperty::Enabled, ControlProperty::Visible}) {
        copy(control, property);
    }
}

void ControlBinding::copy(const Control& control, ControlProperty property) {
    QWidget* target = widget(control.name());
    if (!target) return;
    switch (property) {
        case ControlProperty::Text:
            copyText(control, target);
            break;
        case ControlProperty::Checked:
            copyChecked(control, target);
            break;
        case ControlProperty::Entries:
            copyEntries(control, target);
            break;
        case ControlProperty::Selection:
            copySelection(control, target);
            break;
        case ControlProperty::Enabled:
            target->setEnabled(control.enabled());
            break;
        case ControlProperty::Visible:
            // A control on a tab that is not shown is hidden by its page, not by
            // itself; only the model's own state is copied.
            target->setVisible(control.visible());
            break;
    }
}

void ControlBinding::copyText(const Control& control, QWidget* target) {
    const QString text = displayText(control.text());
    const app::window::ControlDesign* design =
        app::window::findControlDesign(model_.form(), control.name());
    const QString caption = design ? shownCaption(*design, text.toStdString()) : text;
    if (auto* label = qobject_cast<QLabel*>(target)) {
        label->setText(caption);
        growLabelToFit(*label);
    } else if (auto* edit = qobject_cast<QLineEdit*>(target)) {
        // Equal text is left alone so that typing keeps its cursor.
        if (edit->text() != text) {
            edit->setText(text);
            edit->setCursorPosition(0);  // show the start of a long path
        }
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(target)) {
        // A log only grows: append the new part, then show its last line.
        const QString shown = box->toPlainText();
        if (text.startsWith(shown) && !shown.isEmpty()) {
            QTextCursor end(box->document());
            end.movePosition(QTextCursor::End);
            end.insertText(text.mid(shown.size()));
        } else if (text != shown) {
            box->setPlainText(text);
        }
        QScrollBar* bar = box->verticalScrollBar();
        bar->setValue(bar->maximum());
        box->moveCursor(QTextCursor::End);
    } else if (auto* check = qobject_cast<QCheckBox*>(target)) {
        check->setText(caption);
    } else if (auto* button = qobject_cast<QPushButton*>(target)) {
        button->setText(caption);
    }
}

void ControlBinding::copyChecked(const Control& control, QWidget* target) {
    auto* check = qobject_cast<QCheckBox*>(target);
    if (!check) return;
    // Only the model greys a box; a click never leads to the greyed state.
    check->setTristate(control.checked() == app::window::kGreyed);
    check->setCheckState(checkState(control.checked()));
}

void ControlBinding::copyEntries(const Control& control, QWidget* target) {
    auto* combo = qobject_cast<QComboBox*>(target);
    if (!combo) return;
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const auto& entry : control.entries()) combo->addItem(QString::fromStdString(entry));
    combo->setCurrentIndex(control.selectedIndex());
}

void ControlBinding::copySelection(const Control& control, QWidget* target) {
    auto* combo = qobject_cast<QComboBox*>(target);
    if (!combo) return;
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(control.selectedIndex());
}

void ControlBinding::forwardEdits(const Control& control, QWidget* target) {
    const std::string name = control.name();
    if (auto* edit = qobject_cast<QLineEdit*>(target)) {
        connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
            model_.setText(name, text.toStdString());
            copy(model_[name], ControlProperty::Text);  // the model may cut the text
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(target)) {
        connect(check, &QCheckBox::clicked, this, [this, name] {
            // A click on a checked box clears it; on a cleared or greyed box it ticks it.
            const int value = model_.checked(name) == app::window::kChecked
                                  ? app::window::kUnchecked
                                  : app::window::kChecked;
            model_.setChecked(name, value);
            copy(model_[name], ControlProperty::Checked);
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(target)) {
        connect(combo, &QComboBox::activated, this, [this, name](int index) {
            model_.setSelectedIndex(name, index);
            copy(model_[name], ControlProperty::Selection);
        });
    } else if (auto* button = qobject_cast<QPushButton*>(target)) {
        connect(button, &QPushButton::clicked, this, [this, name] { model_.press(name); });
    }
}

}  // namespace tessaron::gui
