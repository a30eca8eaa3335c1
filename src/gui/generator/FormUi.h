#pragma once

#include <string>

#include "app/window/ControlCatalogue.h"

namespace tessaron::gui {

// The Qt Designer form (.ui) of a designed form: one widget per control,
// named as the control, at the control's place converted from twips to
// pixels at 96 DPI (15 twips to a pixel), with caption or initial text,
// tooltip and designed state. The window scales these places with the
// screen when it is built (FormGeometry.h).
std::string formUi(const app::window::FormDesign& form);

// The Qt widget class that shows a control of the given kind and shape
// ("" for the file dialog, which has no widget of its own).
std::string widgetClass(const app::window::ControlDesign& control);

// The object name of a page of the tab control SSTab1 ("SSTab1_0" ...).
std::string tabPageName(const std::string& tabControl, int index);

}  // namespace tessaron::gui
