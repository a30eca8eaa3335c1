#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "app/window/ProgressWindow.h"
#include "gui/ControlBinding.h"
#include "gui/ImageChoosers.h"
#include "ui_frmProgress.h"

class QCloseEvent;
class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;

namespace tessaron::gui {

// The progress window frmProgress, a view of app::window::ProgressWindow. Once it is on screen it
// starts the run on a worker thread and shows each log entry in txtProgress as it is logged, with
// the step count and the current step's name on a progress bar; the window stays responsive
// throughout. Cancel asks the run to end at its next safe point. When the run has ended, the title
// and a result line state how, ERROR and WARNING lines stand out in the log and are counted, "Save
// Log..." writes the log's text, and Close (Enter, Escape, the close box) reports closed(). The
// close box does nothing while the run goes on. The window may grow beyond its designed size; the
// log area takes the space.
class ProgressView : public QDialog {
    Q_OBJECT
public:
    // Builds the run with the events the window hands on to its own thread.
    using StartRun = app::window::ProgressWindow::StartRun;
    using State = app::window::ProgressWindow::State;

    ProgressView(StartRun start, QWidget* parent);
    ~ProgressView() override;

    State state() const { return model_.state(); }
    const app::wiring::RunOutcome& outcome() const { return model_.outcome(); }
    app::window::ControlModel& controls() { return model_.controls(); }
    // A control of the form (txtProgress) or of the window's own row:
    // lblStep, barProgress, lblResult, btnSaveLog, btnCancel, btnClose.
    QWidget* control(std::string_view name) const;

    // The save dialog of "Save Log..." (tests answer it themselves).
    void setSaveDialogRunner(DialogRunner runner) { saveRunner_ = std::move(runner); }
    // Writes the log's text to a file; false (with a message box) when it
    // cannot be written.
    bool saveLog(const QString& path);

signals:
    // One log entry, right after the window shows it.
    void entryLogged(const QString& entry);
    void finished();
    void closed();

public slots:
    void cancelRun();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRow();
    void perform();
    void showProgress();
    void showResult();
    void chooseLogFile();

    QWidget* form_ = nullptr;
    QSize designedForm_;  // the log area takes what the window grows by
    Ui::frmProgress ui_;
    app::window::ProgressWindow model_;
    std::unique_ptr<ControlBinding> binding_;  // before the model goes
    QLabel* step_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QLabel* result_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* close_ = nullptr;
    DialogRunner saveRunner_;
};

}  // namespace tessaron::gui
