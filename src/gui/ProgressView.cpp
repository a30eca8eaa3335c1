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

#include "gui/DialogMessages.h"
#include "gui/FormGeometry.h"
#include "gui/LogHighlighter.h"

namespace tessaron::gui {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

void showBox(QWidget* owner, const std::string& text) {
    app::window::Message message;
    message.title = std::string(app::window::kApplicationTitle);
    message.text = text;
    message.icon = app::window::MessageIcon::Error;
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
      model_(app::window::progressFormDesign()),
      start_(std::move(start)) {
    form_ = new QWidget(this);
    ui_.setupUi(form_);
    useFormFont(*this);
    new FormPlacer(*form_, app::window::progressFormDesign(), screenScale(*this));
    designedForm_ = form_->size();
    form_->setMinimumSize(designedForm_);
    form_->installEventFilter(this);
    binding_ = std::make_unique<ControlBinding>(model_, *form_);
    new LogHighlighter(qobject_cast<QPlainTextEdit*>(control("txtProgress"))->document());
    setWindowTitle(q(app::window::progressFormDesign().caption));
    buildRow();
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

// The worker is stopped and joined before the window's parts go.
ProgressView::~ProgressView() {
    run_.reset();
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
    save_ = button(QStringLiteral("btnSaveLog"), QStringLiteral("Save Log..."), this);
    cancel_ = button(QStringLiteral("btnCancel"), QStringLiteral("Cancel"), this);
    close_ = button(QStringLiteral("btnClose"), QStringLiteral("Close"), this);
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
    if (state_ != State::Waiting) return;
    // The run starts once the window is on screen, not before it is shown.
    QTimer::singleShot(0, this, [this] {
        if (state_ == State::Waiting) perform();
    });
}

void ProgressView::perform() {
    state_ = State::Running;
    cancel_->setFocus();
    // The worker's events are handed to this thread in their order.
    app::RunEvents events;
    events.logged = [this](const std::string& entry) {
        QMetaObject::invokeMethod(
            this, [this, text = q(entry)] { showEntry(text); }, Qt::QueuedConnection);
    };
    events.stepBegun = [this](int step, int steps, const std::string& name) {
        QMetaObject::invokeMethod(
            this, [this, step, steps, text = q(name)] { showStep(step, steps, text); },
            Qt::QueuedConnection);
    };
    events.finished = [this] {
        QMetaObject::invokeMethod(
            this, [this] { showResult(); }, Qt::QueuedConnection);
    };
    run_ = start_(std::move(events));
    run_->start();
}

void ProgressView::showEntry(const QString& entry) {
    if (entriesShown_++ > 0) text_ += "\r\n";
    text_ += entry.toStdString();
    model_.setText("txtProgress", text_);
    emit entryLogged(entry);
}

// The log keeps its designed margins; it grows with the form.
bool ProgressView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && event->type() == QEvent::Resize) {
        if (QWidget* log = binding_ ? binding_->widget("txtProgress") : nullptr) {
            const QRect designed = twipsToPixels(
                app::window::findControlDesign(app::window::progressFormDesign(), "txtProgress")
                    ->place,
                screenScale(*this));
            log->setGeometry(designed.adjusted(0, 0, form_->width() - designedForm_.width(),
                                               form_->height() - designedForm_.height()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ProgressView::showStep(int step, int steps, const QString& name) {
    stepNumber_ = step;
    steps_ = steps;
    stepName_ = name;
    bar_->setRange(0, steps);
    bar_->setValue(step - 1);
    step_->setText(QStringLiteral("Step %1 of %2: %3").arg(step).arg(steps).arg(name));
}

void ProgressView::cancelRun() {
    if (state_ != State::Running || !run_) return;
    run_->cancel();
    cancel_->setEnabled(false);
    step_->setText(QStringLiteral("Cancelling at the end of the current step..."));
}

void ProgressView::showResult() {
    outcome_ = run_->outcome();
    state_ = State::Finished;
    const app::RunResult result = app::resultOf(outcome_);
    setWindowTitle(q(app::resultTitle(result)));
    if (outcome_.ending == RunEnding::Completed) bar_->setValue(bar_->maximum());
    result_->setText(q(app::resultLine(outcome_)));
    step_->setText(q(app::finalStepLine(result, stepNumber_, steps_, stepName_.toStdString())));
    const bool bad = result != app::RunResult::Completed;
    result_->setStyleSheet(bad ? QStringLiteral("color: #b00020; font-weight: bold")
                               : QStringLiteral("font-weight: bold"));
    result_->show();
    cancel_->hide();
    close_->show();
    save_->setEnabled(true);
    close_->setFocus();

    if (!outcome_.unexpectedError.empty()) {
        showBox(this, "Sorry, the configuration run stopped unexpectedly - " +
                          outcome_.unexpectedError + ".");
    }
    if (!outcome_.metabaseSaveError.empty()) {
        showBox(this,
                "Sorry, the changes to this server's IIS configuration could not be saved - " +
                    outcome_.metabaseSaveError + ".");
    }
    emit finished();
}

void ProgressView::chooseLogFile() {
    QFileDialog dialog(this, QStringLiteral("Save Log"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(QStringLiteral("tessaron-configuration.txt"));
    const int answer = saveRunner_ ? saveRunner_(dialog) : dialog.exec();
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveLog(dialog.selectedFiles().front());
}

bool ProgressView::saveLog(const QString& path) {
    QFile file(path);
    const QByteArray bytes = QByteArray::fromStdString(outcome_.log);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        showBox(this, "Sorry, the log could not be saved to " + path.toStdString() + " - " +
                          file.errorString().toStdString() + ".");
        return false;
    }
    return true;
}

void ProgressView::reject() {
    // Escape closes the finished window only.
    if (state_ == State::Finished) close();
}

void ProgressView::closeEvent(QCloseEvent* event) {
    if (state_ != State::Finished) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

}  // namespace tessaron::gui
