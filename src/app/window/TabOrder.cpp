#include "app/window/TabOrder.h"

#include <algorithm>
#include <map>
#include <optional>

namespace tessaron::app::window {
namespace {

using Controls = std::vector<const ControlDesign*>;

bool focusable(const ControlDesign& control) {
    switch (control.kind) {
        case ControlKind::TextBox:
            return !control.multiLine;
        case ControlKind::DropDownList:
        case ControlKind::CheckBox:
        case ControlKind::Button:
            return true;
        default:
            return false;
    }
}

// A control's horizontal extent for the split: a button just right of a box
// in its row (a "..." chooser) spans with that box, so they never part.
struct Extent {
    int left;
    int right;
};
using Extents = std::map<const ControlDesign*, Extent>;

bool sameRow(const ControlDesign* a, const ControlDesign* b) {
    return a->place.top < b->place.top + b->place.height &&
           b->place.top < a->place.top + a->place.height;
}

Extents extentsOf(const Controls& controls) {
    constexpr int kGlued = 150;  // twips between a box and its button
    Extents extents;
    for (const ControlDesign* c : controls) {
        extents[c] = {c->place.left, c->place.left + c->place.width};
    }
    for (const ControlDesign* button : controls) {
        if (button->kind != ControlKind::Button) continue;
        for (const ControlDesign* box : controls) {
            const int gap = button->place.left - (box->place.left + box->place.width);
            if (box == button || box->kind == ControlKind::Button || gap < 0 || gap > kGlued ||
                !sameRow(box, button)) {
                continue;
            }
            extents[box].right = extents[button].right;
            extents[button].left = extents[box].left;
        }
    }
    return extents;
}

bool enoughForAColumn(const Controls& side) {
    return std::count_if(side.begin(), side.end(), [](const ControlDesign* c) {
               return c->kind != ControlKind::Button;
           }) >= 2;
}

// The split with the fewest crossing controls (at most one), and among
// those the one whose crosser reaches least across it; nothing when the
// controls form a single column.
std::optional<std::pair<Controls, Controls>> split(const Controls& controls) {
    const Extents extents = extentsOf(controls);
    std::optional<std::pair<Controls, Controls>> best;
    std::pair<int, int> bestScore{2, 0};  // crossing controls, their reach
    for (const ControlDesign* edge : controls) {
        // A line just right of a control's right edge.
        const int line = extents.at(edge).right + 1;
        Controls left, rightSide;
        std::pair<int, int> score{0, 0};
        for (const ControlDesign* c : controls) {
            const Extent extent = extents.at(c);
            if (extent.left < line && extent.right > line) {
                ++score.first;
                score.second += std::min(line - extent.left, extent.right - line);
            }
            (extent.left + extent.right < 2 * line ? left : rightSide).push_back(c);
        }
        if (score < bestScore && enoughForAColumn(left) && enoughForAColumn(rightSide)) {
            bestScore = score;
            best = std::make_pair(std::move(left), std::move(rightSide));
        }
    }
    return best;
}

// Top to bottom; a control that starts above the middle of a row's first
// control belongs to that row, read left to right.
void readColumn(Controls column, std::vector<std::string>& order) {
    std::stable_sort(
        column.begin(), column.end(),
        [](const ControlDesign* a, const ControlDesign* b) { return a->place.top < b->place.top; });
    for (std::size_t start = 0; start < column.size();) {
        const ControlDesign* first = column[start];
        const int middle = first->place.top + first->place.height / 2;
        std::size_t end = start + 1;
        while (end < column.size() && column[end]->place.top < middle) ++end;
        std::stable_sort(column.begin() + static_cast<long>(start),
                         column.begin() + static_cast<long>(end),
                         [](const ControlDesign* a, const ControlDesign* b) {
                             return a->place.left < b->place.left;
                         });
        for (std::size_t i = start; i < end; ++i) order.push_back(column[i]->name);
        start = end;
    }
}

void read(const Controls& controls, std::vector<std::string>& order) {
    if (auto columns = split(controls)) {
        read(columns->first, order);
        read(columns->second, order);
    } else {
        readColumn(controls, order);
    }
}

}  // namespace

std::vector<std::string> readingOrder(const FormDesign& form, int tab) {
    Controls controls;
    for (const auto& control : form.controls) {
        if (control.tab == tab && focusable(control)) controls.push_back(&control);
    }
    std::vector<std::string> order;
    read(controls, order);
    return order;
}

}  // namespace tessaron::app::window
