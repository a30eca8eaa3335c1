#pragma once

#include <QDialog>
#include <memory>

#include "app/InstallOptionsDialog.h"
#include "gui/ControlBinding.h"
#include "ui_frmInstall.h"

namespace tessaron::gui {

// The install-options dialog frmInstall: every box unticked when it is
// loaded; OK stores the three choices and asks for a run (confirmed); Cancel,
// Escape or the close box unload it (rejected).
class InstallOptionsView : public QDialog {
    Q_OBJECT
public:
    InstallOptionsView(InstallOptions& options, QWidget* parent);

    app::ControlModel& controls() { return model_.controls(); }
    QWidget* control(std::string_view name) const { return binding_->widget(name); }

signals:
    void confirmed();

private:
    Ui::frmInstall ui_;
    app::InstallOptionsDialog model_;
    std::unique_ptr<ControlBinding> binding_;  // before the model goes
};

}  // namespace tessaron::gui
