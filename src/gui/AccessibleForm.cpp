#include "gui/AccessibleForm.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>

namespace tessaron::gui {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// An eye: the icon of the action that shows a password.
QIcon eyeIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    painter.drawEllipse(QRectF(1.5, 4.5, 13, 7));
    painter.setBrush(QColor(0x40, 0x40, 0x40));
    painter.drawEllipse(QRectF(5.5, 5.5, 5, 5));
    return QIcon(pixmap);
}

void maskSecret(QLineEdit& edit) {
    edit.setEchoMode(QLineEdit::Password);
    auto* show = new QAction(eyeIcon(), QStringLiteral("Show Password"), &edit);
    show->setObjectName(QStringLiteral("actShowPassword"));
    show->setCheckable(true);
    show->setShortcut(QKeySequence(QStringLiteral("Alt+F8")));
    show->setShortcutContext(Qt::WidgetShortcut);
    show->setToolTip(QStringLiteral("Show or hide the password (Alt+F8)"));
    QObject::connect(show, &QAction::toggled, &edit, [&edit](bool shown) {
        edit.setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });
    edit.addAction(show, QLineEdit::TrailingPosition);
}

// Keeps a note to the right of its field, wherever the form places it.
class HintFollower : public QObject {
public:
    HintFollower(QWidget& field, QLabel& hint) : QObject(&hint), field_(field), hint_(hint) {
        field.installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &field_ &&
            (event->type() == QEvent::Move || event->type() == QEvent::Resize))
            follow();
        return false;
    }

private:
    void follow() {
        const QRect field = field_.geometry();
        const int left = field.right() + 1 + field.height() / 3;
        const int width = std::max(0, hint_.parentWidget()->width() - left - 4);
        hint_.setGeometry(left, field.top(), width, field.height());
    }

    QWidget& field_;
    QLabel& hint_;
};

void addHint(QWidget& field, const std::string& text) {
    auto* hint = new QLabel(q(text), field.parentWidget());
    hint->setObjectName(field.objectName() + QStringLiteral("Hint"));
    hint->setTextFormat(Qt::PlainText);
    hint->setForegroundRole(QPalette::PlaceholderText);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    new HintFollower(field, *hint);
    hint->show();
}

}  // namespace

QString shownCaption(const app::window::ControlDesign& design, const std::string& caption) {
    if (design.mnemonic == 0) return q(caption);
    return q(app::window::mnemonicCaption(caption, design.mnemonic));
}

void describeForm(QWidget& form, const app::window::FormDesign& design) {
    const auto widget = [&form](const std::string& name) {
        return form.findChild<QWidget*>(q(name));
    };
    for (const auto& control : design.controls) {
        QWidget* shown = widget(control.name);
        if (!shown) continue;
        if (!control.accessibleName.empty()) shown->setAccessibleName(q(control.accessibleName));
        if (auto* label = qobject_cast<QLabel*>(shown); label && !control.buddy.empty()) {
            label->setBuddy(widget(control.buddy));
        }
        if (auto* edit = qobject_cast<QLineEdit*>(shown)) {
            if (control.secret) maskSecret(*edit);
            if (!control.hint.empty()) addHint(*edit, control.hint);
        }
    }
    if (auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("SSTab1"))) {
        for (int tab = 0; tab < tabs->count() && tab < static_cast<int>(design.tabMnemonics.size());
             ++tab) {
            tabs->setTabText(tab, q(app::window::mnemonicCaption(
                                      design.tabCaptions.at(static_cast<std::size_t>(tab)),
                                      design.tabMnemonics[static_cast<std::size_t>(tab)])));
        }
    }
}

}  // namespace tessaron::gui
