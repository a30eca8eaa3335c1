#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "app/RunTools.h"
#include "app/ScratchMachine.h"
#include "app/SettingsWindow.h"

namespace tessaron::gui {

class InstallOptionsView;

// The install-options dialog's tools (app/RunTools.h) as actions of the
// dialog: its context menu and shortcuts, which leave the dialog's designed
// layout as it is. The preview is shown in a window of its own. Files are
// chosen and messages shown through hooks, which tests replace.
class RunTools : public QObject {
    Q_OBJECT
public:
    RunTools(app::SettingsWindow& window, InstallOptionsView& dialog,
             app::ScratchMachineOpener openScratch);

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
    app::ToolPrompts prompts() const;

    app::SettingsWindow& window_;
    InstallOptionsView& dialog_;
    app::ScratchMachineOpener openScratch_;
    QPointer<QDialog> previewWindow_;
};

}  // namespace tessaron::gui
