#include "launcher/DialogLayout.h"

#include <algorithm>
#include <cstdint>

namespace kolvek::layout {

namespace {

using K = ControlKind;
using C = Control;

const std::array<ControlLayout, 10> kControls = {{
    {C::Armadapath, K::TextBox, C::Armadapath, {270, 45, 6975, 255}, 8},
    {C::bznList, K::FileListBox, C::bznList, {240, 360, 3135, 2625}, 7},
    {C::newWorld, K::TextBox, C::newWorld, {240, 1440, 3135, 285}, 5},
    {C::Frame1, K::Frame, C::Frame1, {270, 3105, 1815, 1215}, 2},
    {C::optNew, K::OptionButton, C::Frame1, {240, 720, 1335, 255}, 4},
    {C::optEdit, K::OptionButton, C::Frame1, {240, 360, 1335, 195}, 3},
    {C::CancelButton, K::CommandButton, C::CancelButton, {5265, 3915, 1215, 375}, 1},
    {C::OKButton, K::CommandButton, C::OKButton, {6615, 3915, 1215, 375}, 0},
    {C::Image1, K::Picture, C::Image1, {3735, 360, 4095, 3255}, NoTabPosition},
    {C::LabelnewWorld, K::Label, C::LabelnewWorld, {240, 360, 3135, 975}, 6},
}};

int Scale(int twips, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(twips) * dpi;
    const std::int64_t half = TwipsPerInch / 2;
    if (product >= 0) {
        return static_cast<int>((product + half) / TwipsPerInch);
    }
    return -static_cast<int>((-product + half) / TwipsPerInch);
}

} // namespace

const std::array<ControlLayout, 10>& Controls() {
    return kControls;
}

const ControlLayout& Of(Control control) {
    // The table holds every Control exactly once.
    return *std::find_if(kControls.begin(), kControls.end(),
                         [control](const ControlLayout& row) { return row.control == control; });
}

bool InDialog(const ControlLayout& row) {
    return row.container == row.control;
}

Rect DialogTwips(Control control) {
    const ControlLayout& row = Of(control);
    Rect rect = row.twips;
    if (!InDialog(row)) {
        const Rect& frame = Of(row.container).twips;
        rect.left += frame.left;
        rect.top += frame.top;
    }
    return rect;
}

std::vector<Control> CreationOrder() {
    std::vector<ControlLayout> rows(kControls.begin(), kControls.end());
    std::stable_sort(rows.begin(), rows.end(), [](const ControlLayout& a, const ControlLayout& b) {
        const bool aTabs = a.tabPosition != NoTabPosition;
        const bool bTabs = b.tabPosition != NoTabPosition;
        if (aTabs != bTabs) {
            return aTabs;
        }
        return a.tabPosition < b.tabPosition;
    });
    std::vector<Control> order;
    order.reserve(rows.size());
    for (const ControlLayout& row : rows) {
        order.push_back(row.control);
    }
    return order;
}

int TwipsToPixels(int twips, int dpi) {
    return Scale(twips, dpi < 1 ? 96 : dpi);
}

Rect DialogPixels(Control control, int dpiX, int dpiY) {
    const Rect twips = DialogTwips(control);
    const int left = TwipsToPixels(twips.left, dpiX);
    const int top = TwipsToPixels(twips.top, dpiY);
    const int right = TwipsToPixels(twips.Right(), dpiX);
    const int bottom = TwipsToPixels(twips.Bottom(), dpiY);
    return {left, top, right - left, bottom - top};
}

Rect ClientPixels(int dpiX, int dpiY) {
    return {0, 0, TwipsToPixels(ClientWidth, dpiX), TwipsToPixels(ClientHeight, dpiY)};
}

} // namespace kolvek::layout
