#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/window/SettingsWindow.h"
#include "gui/ControlBinding.h"
#include "gui/InstallFlow.h"
#include "ui_frmMain.h"

class QCloseEvent;
class QKeyEvent;

namespace tessaron::gui {

// The settings window frmMain: the catalogue's widgets from frmMain.ui at
// their places, bound to the window model, with the install button's flow.
// Its designed size is its minimum; Tab follows each tab's reading order and
// Enter presses the install button.
// Closing it is its unload step: the other windows close, the placement is
// saved (not when minimised) and the program ends.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    using EndProgram = std::function<void(int status)>;

    explicit SettingsView(app::window::SettingsWindow& window, QWidget* parent = nullptr);
    ~SettingsView() override;

    app::window::SettingsWindow& window() { return window_; }
    InstallFlow& flow() { return *flow_; }
    QWidget* control(std::string_view name) const { return binding_->widget(name); }

    // What ending the program does (QCoreApplication::exit by default; tests
    // record it). The run's clean end calls it without the unload step.
    void setEndProgram(EndProgram endProgram) { endProgram_ = std::move(endProgram); }

    // Shows the control's tab and puts the focus on it (the first refused
    // value after the install button).
    void focusControl(const std::string& name);

    // Form_Unload: closes the other windows, saves the placement, ends.
    void unload();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void useReadingTabOrder();

    app::window::SettingsWindow& window_;
    Ui::frmMain ui_;
    std::unique_ptr<ControlBinding> binding_;  // before the model goes
    InstallFlow* flow_ = nullptr;
    EndProgram endProgram_;
};

}  // namespace tessaron::gui
