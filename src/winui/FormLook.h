#pragma once

#include <windows.h>

#include "app/window/ControlCatalogue.h"

namespace tessaron::winui {

// Once per program: the common controls (tab, progress bar, tooltips) and
// the rich edit control of the progress log.
void initialiseControls();

// The window's DPI: the monitor's where the release tells it per window,
// otherwise the screen's.
int windowDpi(HWND window);

// Twips to pixels at a DPI (15 twips to a pixel at 96 DPI).
int pixels(int twips, int dpi);
RECT pixels(const app::window::Twips& place, int dpi);

// The forms' font: the narrow 8 point face they were laid out for (the
// dialog font where the release has none), at the DPI. The caller owns it.
HFONT createFormFont(int dpi);
// The same, bold (the progress window's result line).
HFONT createBoldFormFont(int dpi);

// Gives a tab page the background of the tab it is on where visual styles
// are available; nothing on releases without them.
void useTabPageBackground(HWND page);

// The outer size of a window whose client area has the given size.
SIZE outerSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, int dpi);

// Sets the font of a window and every child window of it.
void setFontOfTree(HWND window, HFONT font);

}  // namespace tessaron::winui
