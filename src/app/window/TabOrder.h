#pragma once

#include <string>
#include <vector>

#include "app/window/ControlCatalogue.h"

namespace tessaron::app::window {

// The reading order of the controls a user types into or presses on one tab
// of a form (text boxes, drop-down lists, check boxes, buttons), computed
// from their designed places: the tab is split into columns at the vertical
// line that the fewest of them cross (at most one, taken by the side that
// holds its centre; a "..." button right beside its box goes with it; each
// column needs three controls that are not buttons),
// again within each column; each column is read top to bottom, controls of
// one row left to right, and the columns left to right.
std::vector<std::string> readingOrder(const FormDesign& form, int tab);

}  // namespace tessaron::app::window
