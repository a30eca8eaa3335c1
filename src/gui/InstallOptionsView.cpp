#include "gui/InstallOptionsView.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

#include "app/window/DialogControls.h"
#include "gui/FormGeometry.h"

namespace tessaron::gui {

namespace frmInstall = app::window::frmInstall;

InstallOptionsView::InstallOptionsView(InstallOptions& options, QWidget* parent)
    : QDialog(parent), model_(options) {
    ui_.setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    useFormFont(*this);
    new FormPlacer(*this, app::window::installFormDesign(), screenScale(*this));
    designed_ = size();
    model_.Load();
    binding_ = std::make_unique<ControlBinding>(model_.controls(), *this);
    model_.controls().setRule(frmInstall::OKButton, [this] {
        model_.Confirm();
        emit confirmed();
    });
    model_.controls().setRule(frmInstall::CancelButton, [this] { reject(); });
    // Enter confirms; Escape, Cancel and the close box reject.
    if (auto* ok = qobject_cast<QPushButton*>(control(frmInstall::OKButton))) ok->setDefault(true);

    buildToolRow();

    reason_ = new QLabel(this);
    reason_->setObjectName(QStringLiteral("lblReason"));
    reason_->setTextFormat(Qt::PlainText);
    reason_->setWordWrap(true);
    reason_->setStyleSheet(QStringLiteral("color: #b00020"));
    reason_->hide();

    // Wide enough for the whole title beside the title bar's buttons.
    const QFontMetrics title(QApplication::font());
    designed_.setWidth(std::max(
        designed_.width(), title.horizontalAdvance(windowTitle()) * 5 / 4 + 6 * title.height()));
    setFixedSize(designed_);
}

void InstallOptionsView::setReason(const std::string& reason) {
    reason_->setText(QString::fromStdString(reason));
    reason_->setVisible(!reason.empty());
    if (reason.empty()) {
        setFixedSize(designed_);
        return;
    }
    // Below the designed controls, as wide as the dialog less its margins.
    const int margin = twipsToPixels(120, screenScale(*this));
    const int width = designed_.width() - 2 * margin;
    const int height = reason_->heightForWidth(width);
    reason_->setGeometry(margin, designed_.height(), width, height);
    setFixedSize(designed_.width(), designed_.height() + height + margin);
}

QAction* InstallOptionsView::toolAction(app::tools::RunTool tool) const {
    const auto found = tools_.find(tool);
    return found == tools_.end() ? nullptr : found->second;
}

// Under OK the tools that are buttons, under Cancel the "More" menu with the
// others; the designed controls keep their places.
void InstallOptionsView::buildToolRow() {
    const double scale = screenScale(*this);
    const auto caption = [](const char* text, char mnemonic) {
        return QString::fromStdString(mnemonic ? app::window::mnemonicCaption(text, mnemonic)
                                               : text);
    };
    const int top = 1995;
    const int height = 375;
    more_ = new QMenu(this);
    more_->setObjectName(QStringLiteral("mnuMore"));
    QPushButton* first = nullptr;
    for (const auto& tool : app::tools::runToolActions()) {
        auto* action = new QAction(caption(tool.caption, tool.mnemonic), this);
        action->setObjectName(QString::fromLatin1(tool.name));
        if (*tool.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(tool.shortcut)));
        addAction(action);  // shortcuts and the context menu
        tools_[tool.tool] = action;
        if (!tool.button) {
            more_->addAction(action);
            continue;
        }
        auto* button = new QPushButton(action->text(), this);
        button->setObjectName(QString::fromLatin1(tool.name));
        button->setAutoDefault(false);
        button->setToolTip(action->shortcut().toString(QKeySequence::NativeText));
        button->setGeometry(twipsToPixels(app::window::Twips{360, top, 1335, height}, scale));
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        if (!first) first = button;
    }
    auto* more = new QPushButton(
        caption(app::tools::kMoreButtonCaption, app::tools::kMoreButtonMnemonic), this);
    more->setObjectName(QString::fromLatin1(app::tools::kMoreButtonName));
    more->setAutoDefault(false);
    more->setMenu(more_);
    more->setGeometry(twipsToPixels(app::window::Twips{2160, top, 1215, height}, scale));
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // The keyboard's context-menu keys open the "More" menu at its button.
    for (const QKeySequence& keys :
         {QKeySequence(QStringLiteral("Shift+F10")), QKeySequence(Qt::Key_Menu)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, more, &QPushButton::showMenu);
    }
    if (first) setTabOrder(control(frmInstall::CancelButton), first);
    if (first) setTabOrder(first, more);
    designed_.setHeight(twipsToPixels(top + height + 165, scale));
}

QString InstallOptionsView::reason() const {
    return reason_->isVisible() ? reason_->text() : QString();
}

}  // namespace tessaron::gui
