#pragma once

#include <windows.h>

namespace tessaron::winui {

// The per-user settings store of the application: HKEY_CURRENT_USER
// "Software\VB and VBA Program Settings\TessaronConfig\Settings", where
// Windows programs of this kind keep their settings.
const wchar_t* placementKey();

// Stores the window's outer frame as app::window::placementValues() gives it (text
// values; nothing for a minimised window). False when the store could not be
// written.
bool savePlacement(HWND window);

}  // namespace tessaron::winui
