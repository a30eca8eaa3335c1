#include "gui/ReportWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/tools/RunToolsCatalogue.h"
#include "app/window/ControlCatalogue.h"
#include "gui/LogHighlighter.h"

namespace tessaron::gui {
namespace {

QString caption(const app::tools::PreviewWindowButton& button) {
    return QString::fromStdString(
        button.mnemonic ? app::window::mnemonicCaption(button.caption, button.mnemonic)
                        : std::string(button.caption));
}

}  // namespace

ReportWindow::ReportWindow(const QString& title, const QString& saveName, QWidget* parent)
    : QDialog(parent), saveName_(saveName) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    view_ = new QPlainTextEdit(this);
    view_->setObjectName(QStringLiteral("txtReport"));
    view_->setAccessibleName(title);
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    new LogHighlighter(view_->document());
    layout->addWidget(view_, 1);

    buttons_ = new QHBoxLayout;
    auto* save = new QPushButton(caption(app::tools::kPreviewSave), this);
    save->setObjectName(QString::fromLatin1(app::tools::kPreviewSave.name));
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &ReportWindow::chooseFile);
    buttons_->addWidget(save);
    buttons_->addStretch();
    close_ = new QPushButton(caption(app::tools::kPreviewClose), this);
    close_->setObjectName(QString::fromLatin1(app::tools::kPreviewClose.name));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    buttons_->addWidget(close_);
    layout->addLayout(buttons_);
    resize(760, 520);
}

void ReportWindow::setText(const QString& text) {
    view_->setPlainText(text);
}

QString ReportWindow::text() const {
    return view_->toPlainText();
}

QPushButton* ReportWindow::addButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    buttons_->insertWidget(buttons_->indexOf(close_), button);
    return button;
}

void ReportWindow::chooseFile() {
    QFileDialog dialog(this, QStringLiteral("Save"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(saveName_);
    const int answer = saveRunner_ ? saveRunner_(dialog) : dialog.exec();
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    save(dialog.selectedFiles().front());
}

bool ReportWindow::save(const QString& path) {
    QFile file(path);
    const QByteArray bytes = text().toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        QMessageBox::critical(
            this, QString::fromStdString(std::string(app::window::kApplicationTitle)),
            QStringLiteral("Sorry, %1 could not be saved - %2.").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace tessaron::gui
