#pragma once

#include <QDialog>
#include <map>
#include <memory>

#include "app/tools/RunToolsCatalogue.h"
#include "app/window/InstallOptionsDialog.h"
#include "gui/ControlBinding.h"
#include "ui_frmInstall.h"

class QAction;
class QLabel;
class QMenu;

namespace tessaron::gui {

// The install-options dialog frmInstall: every box unticked when it is
// loaded; OK (also Enter) stores the three choices and asks for a run
// (confirmed); Cancel, Escape or the close box unload it (rejected). A
// fixed-size dialog, wide enough for its whole title. Below OK and Cancel,
// a row offers what the run tools catalogue lists: "Preview..." and a
// "More" menu (Save Answers, Restore Last Run, Open Last Log), also on the
// context menu, Shift+F10 and the menu key; each has its shortcut.
class InstallOptionsView : public QDialog {
    Q_OBJECT
public:
    InstallOptionsView(InstallOptions& options, QWidget* parent);

    app::window::ControlModel& controls() { return model_.controls(); }
    QWidget* control(std::string_view name) const { return binding_->widget(name); }

    // Says why the dialog is shown again after a run (empty: nothing).
    void setReason(const std::string& reason);
    QString reason() const;

    // The action of a run tool (its handler is connected by RunTools).
    QAction* toolAction(app::tools::RunTool tool) const;
    QMenu* moreMenu() const { return more_; }

signals:
    void confirmed();

private:
    void buildToolRow();

    QLabel* reason_ = nullptr;
    QMenu* more_ = nullptr;
    std::map<app::tools::RunTool, QAction*> tools_;
    QSize designed_;
    Ui::frmInstall ui_;
    app::window::InstallOptionsDialog model_;
    std::unique_ptr<ControlBinding> binding_;  // before the model goes
};

}  // namespace tessaron::gui
