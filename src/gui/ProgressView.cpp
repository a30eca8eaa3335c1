#include "gui/ProgressView.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

#include "gui/DialogMessages.h"
#include "gui/FormGeometry.h"

namespace tessaron::gui {

ProgressView::ProgressView(Run run, QWidget* parent)
    : QWidget(parent, Qt::Dialog), model_(app::progressFormSpec()), run_(std::move(run)) {
    ui_.setupUi(this);
    useFormFont(*this);
    new FormPlacer(*this, app::progressFormSpec(), screenScale(*this));
    binding_ = std::make_unique<ControlBinding>(model_, *this);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void ProgressView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (state_ != State::Waiting) return;
    // The run starts once the window is on screen, not before it is shown.
    QTimer::singleShot(0, this, [this] {
        if (state_ == State::Waiting) perform();
    });
}

void ProgressView::perform() {
    state_ = State::Running;
    ProgressLog log;
    log.setListener([this](const std::string& entry, const std::string& text) {
        QCoreApplication::processEvents();
        model_.setText("txtProgress", text);
        emit entryLogged(QString::fromStdString(entry));
        QCoreApplication::processEvents();
    });
    try {
        outcome_ = run_(log);
    } catch (const std::exception& unexpected) {
        // Stages report their failures as log lines; anything else must not
        // pass for a finished run.
        outcome_.runError = true;
        app::Message message;
        message.title = std::string(app::kApplicationTitle);
        message.text = std::string("Sorry, the configuration run stopped unexpectedly - ") +
                       unexpected.what() + ".";
        message.icon = app::MessageIcon::Error;
        messageBox(message, this)->exec();
    }
    if (!outcome_.metabaseSaveError.empty()) {
        app::Message message;
        message.title = std::string(app::kApplicationTitle);
        message.text =
            "Sorry, the changes to this server's IIS configuration could not be saved - " +
            outcome_.metabaseSaveError + ".";
        message.icon = app::MessageIcon::Error;
        messageBox(message, this)->exec();
    }
    state_ = State::Finished;
    emit finished();
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
