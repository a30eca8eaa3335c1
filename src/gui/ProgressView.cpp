#include "gui/ProgressView.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "app/window/DialogControls.h"
#include "gui/DialogMessages.h"
#include "gui/FormGeometry.h"
#include "gui/LogHighlighter.h"

namespace tessaron::gui {

namespace frmProgress = app::window::frmProgress;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

void showBox(QWidget* owner, const app::window::Message& message) {
    messageBox(message, owner)->exec();
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

}  // namespace

ProgressView::ProgressView(StartRun start, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      model_(std::move(start)) {
    form_ = new QWidget(this);
    ui_.setupUi(form_);
    useFormFont(*this);
    new FormPlacer(*form_, app::window::progressFormDesign(), screenScale(*this));
    designedForm_ = form_->size();
    form_->setMinimumSize(designedForm_);
    form_->installEventFilter(this);
    binding_ = std::make_unique<ControlBinding>(model_.controls(), *form_);
    new LogHighlighter(
        qobject_cast<QPlainTextEdit*>(control(frmProgress::txtProgress))->document());
    setWindowTitle(q(model_.title()));
    model_.setListener({[this] { showProgress(); },
                        [this](const std::string& entry) { emit entryLogged(q(entry)); },
                        [this] { cancel_->setEnabled(false); }, [this] { showResult(); }});
    buildRow();
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

ProgressView::~ProgressView() {
    model_.setListener({});
}

void ProgressView::buildRow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(4);
    layout->addWidget(form_, 1);

    const int margin = twipsToPixels(120, screenScale(*this));
    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(margin, 0, margin, 0);
    step_ = new QLabel(this);
    step_->setObjectName(QStringLiteral("lblStep"));
    step_->setTextFormat(Qt::PlainText);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("barProgress"));
    bar_->setRange(0, 1);
    bar_->setValue(0);
    bar_->setFormat(QStringLiteral("%v of %m"));
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("lblResult"));
    result_->setTextFormat(Qt::PlainText);
    result_->setWordWrap(true);
    result_->hide();
    rows->addWidget(step_);
    rows->addWidget(bar_);
    rows->addWidget(result_);

    auto* buttons = new QHBoxLayout;
    save_ = button(QStringLiteral("btnSaveLog"), q(app::window::kSaveLogCaption), this);
    cancel_ = button(QStringLiteral("btnCancel"), q(app::window::kCancelCaption), this);
    close_ = button(QStringLiteral("btnClose"), q(app::window::kCloseCaption), this);
    close_->setDefault(true);
    save_->setEnabled(false);
    close_->hide();
    buttons->addWidget(save_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(close_);
    rows->addLayout(buttons);
    layout->addLayout(rows);

    connect(cancel_, &QPushButton::clicked, this, &ProgressView::cancelRun);
    connect(close_, &QPushButton::clicked, this, &ProgressView::close);
    connect(save_, &QPushButton::clicked, this, &ProgressView::chooseLogFile);
}

QWidget* ProgressView::control(std::string_view name) const {
    if (QWidget* formControl = binding_->widget(name)) return formControl;
    return findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
}

void ProgressView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (state() != State::Waiting) return;
    // The run starts once the window is on screen, not before it is shown.
    QTimer::singleShot(0, this, [this] {
        if (state() == State::Waiting) perform();
    });
}

void ProgressView::perform() {
    cancel_->setFocus();
    model_.start([this](std::function<void()> call) {
        QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
    });
}

// The log keeps its designed margins; it grows with the form.
bool ProgressView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && event->type() == QEvent::Resize) {
        if (QWidget* log = binding_ ? binding_->widget(frmProgress::txtProgress) : nullptr) {
            const QRect designed =
                twipsToPixels(app::window::findControlDesign(app::window::progressFormDesign(),
                                                             frmProgress::txtProgress)
                                  ->place,
                              screenScale(*this));
            log->setGeometry(designed.adjusted(0, 0, form_->width() - designedForm_.width(),
                                               form_->height() - designedForm_.height()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ProgressView::showProgress() {
    bar_->setRange(0, model_.barMaximum());
    bar_->setValue(model_.barValue());
    step_->setText(q(model_.stepLine()));
}

void ProgressView::cancelRun() {
    model_.cancel();
}

void ProgressView::showResult() {
    setWindowTitle(q(model_.title()));
    result_->setText(q(model_.resultLine()));
    step_->setText(q(model_.stepLine()));
    result_->setStyleSheet(model_.resultIsBad()
                               ? QStringLiteral("color: #b00020; font-weight: bold")
                               : QStringLiteral("font-weight: bold"));
    result_->show();
    cancel_->hide();
    close_->show();
    save_->setEnabled(true);
    close_->setFocus();
    for (const app::window::Message& message : model_.endMessages()) showBox(this, message);
    emit finished();
}

void ProgressView::chooseLogFile() {
    QFileDialog dialog(this, q(app::window::kSaveLogTitle));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(q(app::window::kDefaultLogFile));
    const int answer = saveRunner_ ? saveRunner_(dialog) : dialog.exec();
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveLog(dialog.selectedFiles().front());
}

bool ProgressView::saveLog(const QString& path) {
    QFile file(path);
    const QByteArray bytes = QByteArray::fromStdString(model_.log());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        showBox(this,
                app::window::logNotSaved(path.toStdString(), file.errorString().toStdString()));
        return false;
    }
    return true;
}

void ProgressView::reject() {
    // Escape closes the finished window only.
    if (model_.closable()) close();
}

void ProgressView::closeEvent(QCloseEvent* event) {
    if (!model_.closable()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

}  // namespace tessaron::gui
