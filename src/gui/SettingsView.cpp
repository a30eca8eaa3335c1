#include "gui/SettingsView.h"

#include <QApplication>
#include <QCloseEvent>

#include "gui/FormGeometry.h"
#include "gui/WindowPlacement.h"

namespace tessaron::gui {

SettingsView::SettingsView(app::SettingsWindow& window, QWidget* parent)
    : QWidget(parent),
      window_(window),
      endProgram_([](int status) { QCoreApplication::exit(status); }) {
    ui_.setupUi(this);
    useFormFont(*this);
    new FormPlacer(*this, app::mainFormSpec(), screenScale(*this));
    binding_ = std::make_unique<ControlBinding>(window_.controls(), *this);
    flow_ = new InstallFlow(window_, *this);
    connect(flow_, &InstallFlow::endProgram, this, [this] { endProgram_(0); });
}

void SettingsView::unload() {
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != this && other->isVisible()) other->hide();
    }
    savePlacement(*this, *placementStore());
    endProgram_(0);
}

void SettingsView::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

}  // namespace tessaron::gui
