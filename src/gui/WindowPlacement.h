#pragma once

#include <QSettings>
#include <memory>

class QWidget;

namespace tessaron::gui {

// Where the settings window's placement is stored: the per-user settings of
// the application "TessaronConfig".
std::unique_ptr<QSettings> placementStore();

// Stores the placement app::window::placementValues() gives for the window's outer
// frame in the section "Settings" (nothing for a minimised window).
void savePlacement(const QWidget& window, QSettings& store);

}  // namespace tessaron::gui
