#include "gui/WindowPlacement.h"

#include <QWidget>

#include "app/window/WindowPlacement.h"

namespace tessaron::gui {

std::unique_ptr<QSettings> placementStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tessaron"),
                                       QString::fromLatin1(app::window::kPlacementApplication));
}

void savePlacement(const QWidget& window, QSettings& store) {
    const QRect frame = window.frameGeometry();
    const auto values = app::window::placementValues(
        {frame.x(), frame.y(), frame.width(), frame.height()}, window.logicalDpiX(),
        window.logicalDpiY(), window.isMinimized());
    if (values.empty()) return;
    store.beginGroup(QString::fromLatin1(app::window::kPlacementSection));
    for (const auto& value : values) {
        store.setValue(QString::fromStdString(value.name), QString::fromStdString(value.value));
    }
    store.endGroup();
    store.sync();
}

}  // namespace tessaron::gui
