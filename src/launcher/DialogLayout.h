#pragma once
// The launcher dialog's stored design: every control with its kind, container,
// rectangle in twips and tab position, and the conversion of twips to the
// display's pixels. Portable, so the native tests can check it.

#include "platform/DialogView.h"

#include <array>
#include <vector>

namespace kolvek::layout {

constexpr int TwipsPerInch = 1440;

// The dialog's client area in twips.
constexpr int ClientWidth = 8055;
constexpr int ClientHeight = 4545;

enum class ControlKind {
    TextBox,
    FileListBox,
    Frame,
    OptionButton,
    CommandButton,
    Picture,
    Label,
};

constexpr int NoTabPosition = -1;

// A rectangle in twips or pixels: left, top, width, height.
struct Rect {
    int left;
    int top;
    int width;
    int height;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

struct ControlLayout {
    Control control;
    ControlKind kind;
    // The dialog itself (container == control) or Frame1.
    Control container;
    // Relative to the client area of the container. A frame's client area
    // starts at its own top-left corner, caption included.
    Rect twips;
    // 0 = the first control Tab reaches; NoTabPosition for the picture.
    int tabPosition;
};

// The ten controls in the order they are stored.
const std::array<ControlLayout, 10>& Controls();

// The row of `control`.
const ControlLayout& Of(Control control);

// True when the control sits in the dialog itself, false inside Frame1.
bool InDialog(const ControlLayout& row);

// The control's rectangle in twips relative to the dialog's client area.
Rect DialogTwips(Control control);

// The order the windows are created in, which is the order Tab walks: every
// control by its tab position, then those without one.
std::vector<Control> CreationOrder();

// twips * dpi / 1440 rounded to the nearest pixel, halves away from zero
// (what the platform's MulDiv does). A dpi below 1 counts as 96.
int TwipsToPixels(int twips, int dpi);

// The control's rectangle in pixels relative to the dialog's client area.
// Edges are converted, not sizes, so controls whose edges line up in twips
// line up in pixels at every dpi.
Rect DialogPixels(Control control, int dpiX, int dpiY);

// The client area's size in pixels (left and top are 0).
Rect ClientPixels(int dpiX, int dpiY);

} // namespace kolvek::layout
