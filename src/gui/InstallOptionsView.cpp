#include "gui/InstallOptionsView.h"

#include "gui/FormGeometry.h"

namespace tessaron::gui {

InstallOptionsView::InstallOptionsView(InstallOptions& options, QWidget* parent)
    : QDialog(parent), model_(options) {
    ui_.setupUi(this);
    useFormFont(*this);
    new FormPlacer(*this, app::installFormSpec(), screenScale(*this));
    model_.Load();
    binding_ = std::make_unique<ControlBinding>(model_.controls(), *this);
    model_.controls().setRule("OKButton", [this] {
        model_.Confirm();
        emit confirmed();
    });
    model_.controls().setRule("CancelButton", [this] { reject(); });
}

}  // namespace tessaron::gui
