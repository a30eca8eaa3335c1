#pragma once

#include <QObject>
#include <QPointer>

#include "app/window/InstallFlow.h"
#include "app/window/SettingsWindow.h"
#include "app/wiring/Backend.h"
#include "gui/InstallOptionsView.h"
#include "gui/ProgressView.h"
#include "gui/RunTools.h"
#include "settings/SettingsRecord.h"

namespace tessaron::gui {

// The install button's dialogs as app::window::InstallFlow leads through them: the
// install-options dialog (application-modal), the progress window over it,
// and what closing the progress window does.
class InstallFlow : public QObject {
    Q_OBJECT
public:
    InstallFlow(app::window::SettingsWindow& window, QWidget& owner);

    InstallOptionsView* dialog() const { return dialog_; }
    ProgressView* progress() const { return progress_; }
    RunTools* tools() const { return tools_; }
    const InstallOptions& options() const { return flow_.options(); }

    // Shows the install-options dialog (the install button's last step).
    void showDialog();
    void setMachineOpener(app::wiring::MachineOpener open) {
        flow_.setMachineOpener(std::move(open));
    }
    // How the preview names the machine (the image folder, or this computer).
    void setMachineName(std::string name) { flow_.setMachineName(std::move(name)); }

signals:
    void endProgram();

private:
    void startRun();
    void progressClosed();

    app::window::InstallFlow flow_;
    QWidget& owner_;
    QPointer<InstallOptionsView> dialog_;
    QPointer<ProgressView> progress_;
    QPointer<RunTools> tools_;
};

}  // namespace tessaron::gui
