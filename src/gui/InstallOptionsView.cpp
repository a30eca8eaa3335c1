#include "gui/InstallOptionsView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "gui/FormGeometry.h"

namespace tessaron::gui {

InstallOptionsView::InstallOptionsView(InstallOptions& options, QWidget* parent)
    : QDialog(parent), model_(options) {
    ui_.setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    useFormFont(*this);
    new FormPlacer(*this, app::installFormSpec(), screenScale(*this));
    designed_ = size();
    model_.Load();
    binding_ = std::make_unique<ControlBinding>(model_.controls(), *this);
    model_.controls().setRule("OKButton", [this] {
        model_.Confirm();
        emit confirmed();
    });
    model_.controls().setRule("CancelButton", [this] { reject(); });
    // Enter confirms; Escape, Cancel and the close box reject.
    if (auto* ok = qobject_cast<QPushButton*>(control("OKButton"))) ok->setDefault(true);

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

QString InstallOptionsView::reason() const {
    return reason_->isVisible() ? reason_->text() : QString();
}

}  // namespace tessaron::gui
