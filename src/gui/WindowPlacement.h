#pragma once

#include <QSettings>
#include <memory>

class QWidget;

namespace tessaron::gui {

// Where the settings window's placement is stored: the per-user settings of
// the application "TessaronConfig".
std::unique_ptr<QSettings> placementStore();

// Stores the window's left, top, width and height (its outer frame) in twips
// as "MainLeft", "MainTop", "MainWidth" and "MainHeight" of the section
// "Settings". A minimised window stores nothing, so the previous placement
// stays. The placement is never read back: the window always opens with its
// designed size.
void savePlacement(const QWidget& window, QSettings& store);

}  // namespace tessaron::gui
