#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>

#include "app/SettingsWindow.h"

class QPlainTextEdit;

namespace tessaron::gui {

// What the install-options dialog offers before and after a run, as actions
// of the dialog (its context menu and shortcuts, which leave the dialog's
// designed layout as it is):
//   "Preview..." (Ctrl+P)          the run with the ticked options as a
//                                  dry run, shown in a window of its own
//   "Save Answers..." (Ctrl+S)     the window's values as an answers file
//   "Restore Last Run..." (Ctrl+R) config.inc and the metabase put back as
//                                  they were before the latest run
// The preview names the machine as machineName.
// Files are chosen and messages shown through hooks, which tests replace.
class RunTools : public QObject {
    Q_OBJECT
public:
    RunTools(app::SettingsWindow& window, QDialog& dialog, std::string machineName);

    void preview();
    void saveAnswers();
    void restoreLastRun();

    // The window showing the latest preview (null before the first).
    QDialog* previewWindow() const { return previewWindow_; }

    // Hooks: the answers file to write (empty: cancelled), a question
    // answered Yes (true) or No, a message.
    std::function<QString()> chooseAnswersFile;
    std::function<bool(const QString& title, const QString& text)> ask;
    std::function<void(const QString& title, const QString& text)> tell;

signals:
    // The files were put back; the window's view of the machine is stale.
    void restored();

private:
    InstallOptions tickedOptions() const;

    app::SettingsWindow& window_;
    QDialog& dialog_;
    std::string machineName_;
    QPointer<QDialog> previewWindow_;
};

}  // namespace tessaron::gui
