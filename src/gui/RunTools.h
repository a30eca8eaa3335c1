#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>

#include "app/window/MessageService.h"
#include "app/window/SettingsWindow.h"
#include "gui/ReportWindow.h"

namespace tessaron::gui {

class InstallOptionsView;

// What the install-options dialog offers before and after a run, on the
// dialog's tool row, its "More" menu and shortcuts (app::runToolActions()):
//   Preview... (Ctrl+P)            the run with the ticked options as a
//                                  dry run, in a window of its own
//                                  with Save, Run Now (the same options)
//                                  and Close
//   Save Answers... (Ctrl+S)       the window's values as an answers file
//   Restore Last Run... (Ctrl+R)   config.inc and the metabase put back as
//                                  they were before the latest run
//   Open Last Log... (Ctrl+L)      the log of this session's last run
// The preview names the machine as machineName.
// Files are chosen and messages shown through hooks, which tests replace.
class RunTools : public QObject {
    Q_OBJECT
public:
    RunTools(app::window::SettingsWindow& window, InstallOptionsView& dialog,
             std::string machineName);

    void preview();
    void saveAnswers();
    void restoreLastRun();
    void openLastLog();

    // The log of the last run (empty: none yet; Open Last Log is disabled).
    void setLastLog(const std::string& log);

    // The window showing the latest preview, and the last log's window
    // (null before the first).
    ReportWindow* previewWindow() const { return previewWindow_; }
    ReportWindow* lastLogWindow() const { return logWindow_; }

    // Hooks: the answers file to write (empty: cancelled), a question
    // answered Yes (true) or No, a message.
    std::function<QString()> chooseAnswersFile;
    std::function<bool(const app::window::Message& question)> ask;
    std::function<void(const QString& title, const QString& text)> tell;

signals:
    // The files were put back; the window's view of the machine is stale.
    void restored();

private:
    InstallOptions tickedOptions() const;
    void runPreviewed();

    app::window::SettingsWindow& window_;
    InstallOptionsView& dialog_;
    std::string machineName_;
    InstallOptions previewed_;
    std::string lastLog_;
    QPointer<ReportWindow> previewWindow_;
    QPointer<ReportWindow> logWindow_;
};

}  // namespace tessaron::gui
