#include "app/window/WindowPlacement.h"

#include <cmath>

namespace tessaron::app::window {
namespace {

std::string twips(int pixels, int dpi) {
    return std::to_string(std::lround(pixels * 1440.0 / (dpi > 0 ? dpi : 96)));
}

}  // namespace

std::vector<PlacementValue> placementValues(const FramePixels& frame, int dpiX, int dpiY,
                                            bool minimised) {
    if (minimised) return {};
    return {{"MainLeft", twips(frame.left, dpiX)},
            {"MainTop", twips(frame.top, dpiY)},
            {"MainWidth", twips(frame.width, dpiX)},
            {"MainHeight", twips(frame.height, dpiY)}};
}

}  // namespace tessaron::app::window
