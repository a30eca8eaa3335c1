#pragma once

#include <QDialog>
#include <memory>

#include "app/InstallOptionsDialog.h"
#include "gui/ControlBinding.h"
#include "ui_frmInstall.h"

class QLabel;

namespace tessaron::gui {

// The install-options dialog frmInstall: every box unticked when it is
// loaded; OK (also Enter) stores the three choices and asks for a run
// (confirmed); Cancel, Escape or the close box unload it (rejected). A
// fixed-size dialog, wide enough for its whole title.
class InstallOptionsView : public QDialog {
    Q_OBJECT
public:
    InstallOptionsView(InstallOptions& options, QWidget* parent);

    app::ControlModel& controls() { return model_.controls(); }
    QWidget* control(std::string_view name) const { return binding_->widget(name); }

    // Says why the dialog is shown again after a run (empty: nothing).
    void setReason(const std::string& reason);
    QString reason() const;

signals:
    void confirmed();

private:
    QLabel* reason_ = nullptr;
    QSize designed_;
    Ui::frmInstall ui_;
    app::InstallOptionsDialog model_;
    std::unique_ptr<ControlBinding> binding_;  // before the model goes
};

}  // namespace tessaron::gui
