#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/ControlModel.h"
#include "app/ProgressRun.h"
#include "gui/ControlBinding.h"
#include "run/ProgressLog.h"
#include "ui_frmProgress.h"

class QCloseEvent;
class QShowEvent;

namespace tessaron::gui {

// The progress window frmProgress. It is shown first; as soon as it is
// visible it performs the run, showing each log entry in txtProgress as it
// is logged (window messages are processed before and after each entry, so
// the program keeps repainting). Its close box does nothing until the run
// has finished; then closing it reports closed().
class ProgressView : public QWidget {
    Q_OBJECT
public:
    using Run = std::function<app::RunOutcome(ProgressLog& log)>;
    enum class State { Waiting, Running, Finished };

    ProgressView(Run run, QWidget* parent);

    State state() const { return state_; }
    const app::RunOutcome& outcome() const { return outcome_; }
    app::ControlModel& controls() { return model_; }
    QWidget* control(std::string_view name) const { return binding_->widget(name); }

signals:
    // One log entry, right after the window shows it.
    void entryLogged(const QString& entry);
    void finished();
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void perform();

    Ui::frmProgress ui_;
    app::ControlModel model_;
    std::unique_ptr<ControlBinding> binding_;  // before the model goes
    Run run_;
    State state_ = State::Waiting;
    app::RunOutcome outcome_;
};

}  // namespace tessaron::gui
