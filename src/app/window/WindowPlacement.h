#pragma once

#include <string>
#include <vector>

namespace tessaron::app::window {

// Where the settings window's placement is stored: the per-user settings of
// the application "TessaronConfig", section "Settings".
inline constexpr const char* kPlacementApplication = "TessaronConfig";
inline constexpr const char* kPlacementSection = "Settings";

// The window's outer frame in pixels.
struct FramePixels {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct PlacementValue {
    std::string name;
    std::string value;
};

// What the unload step stores: "MainLeft", "MainTop", "MainWidth" and
// "MainHeight", in this order, each in twips as decimal text (at the given
// horizontal and vertical DPI; 96 when unknown). A minimised window stores
// nothing, so the previous placement stays. The placement is never read
// back: the window always opens with its designed size.
std::vector<PlacementValue> placementValues(const FramePixels& frame, int dpiX, int dpiY,
                                            bool minimised);

}  // namespace tessaron::app::window
