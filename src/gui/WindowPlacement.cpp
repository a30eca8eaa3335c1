#include "gui/WindowPlacement.h"

#include <QWidget>
#include <cmath>

namespace tessaron::gui {
namespace {

int twips(int pixels, int dpi) {
    return static_cast<int>(std::lround(pixels * 1440.0 / (dpi > 0 ? dpi : 96)));
}

}  // namespace

std::unique_ptr<QSettings> placementStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tessaron"),
                                       QStringLiteral("TessaronConfig"));
}

void savePlacement(const QWidget& window, QSettings& store) {
    if (window.isMinimized()) return;
    const QRect frame = window.frameGeometry();
    const int dpiX = window.logicalDpiX();
    const int dpiY = window.logicalDpiY();
    store.beginGroup(QStringLiteral("Settings"));
    store.setValue(QStringLiteral("MainLeft"), QString::number(twips(frame.x(), dpiX)));
    store.setValue(QStringLiteral("MainTop"), QString::number(twips(frame.y(), dpiY)));
    store.setValue(QStringLiteral("MainWidth"), QString::number(twips(frame.width(), dpiX)));
    store.setValue(QStringLiteral("MainHeight"), QString::number(twips(frame.height(), dpiY)));
    store.endGroup();
    store.sync();
}

}  // namespace tessaron::gui
