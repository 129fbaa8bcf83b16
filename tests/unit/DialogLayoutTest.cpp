#include "launcher/DialogLayout.h"

#include <gtest/gtest.h>

#include <set>

namespace kolvek::layout {
namespace {

const int kDpis[] = {72, 96, 120, 144, 168, 192, 240};

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

TEST(DialogLayout, TwipsToPixelsRoundsLikeMulDiv) {
    struct Row {
        int twips;
        int dpi;
        int pixels;
    };
    const Row rows[] = {
        {15, 96, 1},
        {8055, 96, 537},
        {4545, 96, 303},
        {7, 96, 0},
        {8, 96, 1},
        {-8, 96, -1},
        {-7, 96, 0},
        {0, 144, 0},
        {8055, 120, 671},
        {8055, 144, 806},
        {4545, 144, 455},
        {1440, 192, 192},
        {3735, 144, 374},
        {10, 72, 1},
        {9, 72, 0},
        {15, 0, 1},
        {1000000, 960, 666667},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TwipsToPixels(row.twips, row.dpi), row.pixels)
            << row.twips << " twips at " << row.dpi << " dpi";
    }
}

TEST(DialogLayout, PixelRectanglesAt96DpiAreFifteenTwipsAPixel) {
    struct Row {
        Control control;
        Rect pixels;
    };
    const Row rows[] = {
        {Control::Armadapath, {18, 3, 465, 17}},     {Control::bznList, {16, 24, 209, 175}},
        {Control::newWorld, {16, 96, 209, 19}},      {Control::Frame1, {18, 207, 121, 81}},
        {Control::optEdit, {34, 231, 89, 13}},       {Control::optNew, {34, 255, 89, 17}},
        {Control::CancelButton, {351, 261, 81, 25}}, {Control::OKButton, {441, 261, 81, 25}},
        {Control::Image1, {249, 24, 273, 217}},      {Control::LabelnewWorld, {16, 24, 209, 65}},
    };
    for (const Row& row : rows) {
        const Rect got = DialogPixels(row.control, 96, 96);
        EXPECT_EQ(got.left, row.pixels.left) << static_cast<int>(row.control);
        EXPECT_EQ(got.top, row.pixels.top) << static_cast<int>(row.control);
        EXPECT_EQ(got.width, row.pixels.width) << static_cast<int>(row.control);
        EXPECT_EQ(got.height, row.pixels.height) << static_cast<int>(row.control);
    }
    const Rect client = ClientPixels(96, 96);
    EXPECT_EQ(client.width, 537);
    EXPECT_EQ(client.height, 303);
}

TEST(DialogLayout, OptionButtonsArePlacedRelativeToTheFrame) {
    const Rect frame = DialogTwips(Control::Frame1);
    const Rect edit = DialogTwips(Control::optEdit);
    const Rect created = DialogTwips(Control::optNew);
    EXPECT_EQ(edit.left, frame.left + 240);
    EXPECT_EQ(edit.top, frame.top + 360);
    EXPECT_EQ(created.top, frame.top + 720);
    EXPECT_TRUE(Inside(edit, frame));
    EXPECT_TRUE(Inside(created, frame));
    EXPECT_LT(edit.Bottom(), created.top) << "optEdit lies above optNew";
    for (const ControlLayout& row : Controls()) {
        const bool inFrame = row.control == Control::optEdit || row.control == Control::optNew;
        EXPECT_EQ(InDialog(row), !inFrame) << static_cast<int>(row.control);
    }
}

TEST(DialogLayout, EdgesThatMeetInTwipsMeetInPixelsAtEveryDpi) {
    for (int dpi : kDpis) {
        const Rect image = DialogPixels(Control::Image1, dpi, dpi);
        const Rect ok = DialogPixels(Control::OKButton, dpi, dpi);
        const Rect cancel = DialogPixels(Control::CancelButton, dpi, dpi);
        const Rect list = DialogPixels(Control::bznList, dpi, dpi);
        const Rect label = DialogPixels(Control::LabelnewWorld, dpi, dpi);
        const Rect name = DialogPixels(Control::newWorld, dpi, dpi);
        EXPECT_EQ(image.Right(), ok.Right()) << dpi;
        EXPECT_EQ(cancel.top, ok.top) << dpi;
        EXPECT_EQ(cancel.height, ok.height) << dpi;
        EXPECT_EQ(list.top, label.top) << dpi;
        EXPECT_EQ(list.top, image.top) << dpi;
        EXPECT_EQ(list.left, name.left) << dpi;
        EXPECT_EQ(list.width, name.width) << dpi;
    }
}

TEST(DialogLayout, EveryControlFitsTheClientAreaAtEveryDpi) {
    for (int dpi : kDpis) {
        const Rect client = ClientPixels(dpi, dpi);
        for (const ControlLayout& row : Controls()) {
            const Rect rect = DialogPixels(row.control, dpi, dpi);
            EXPECT_TRUE(Inside(rect, client)) << static_cast<int>(row.control) << " at " << dpi;
            EXPECT_GT(rect.width, 0);
            EXPECT_GT(rect.height, 0);
        }
    }
    // Different horizontal and vertical resolutions scale each axis on its own.
    const Rect wide = ClientPixels(192, 96);
    EXPECT_EQ(wide.width, 1074);
    EXPECT_EQ(wide.height, 303);
}

TEST(DialogLayout, NameBoxAndLabelShareTheListsColumnWithoutTouchingEachOther) {
    const Rect list = DialogTwips(Control::bznList);
    const Rect label = DialogTwips(Control::LabelnewWorld);
    const Rect name = DialogTwips(Control::newWorld);
    EXPECT_TRUE(Inside(label, list));
    EXPECT_TRUE(Inside(name, list));
    EXPECT_FALSE(Overlap(label, name));
}

TEST(DialogLayout, ControlsShownTogetherDoNotOverlap) {
    // The list stands for its column; the label and the name box replace it.
    const Control shown[] = {Control::bznList, Control::Frame1, Control::CancelButton,
                             Control::OKButton, Control::Image1};
    for (Control a : shown) {
        for (Control b : shown) {
            if (a != b) {
                EXPECT_FALSE(Overlap(DialogTwips(a), DialogTwips(b)))
                    << static_cast<int>(a) << " / " << static_cast<int>(b);
            }
        }
    }
}

TEST(DialogLayout, TabPositionsAreUniqueAndStartAtOk) {
    std::set<int> positions;
    for (const ControlLayout& row : Controls()) {
        if (row.tabPosition != NoTabPosition) {
            EXPECT_TRUE(positions.insert(row.tabPosition).second) << row.tabPosition;
        }
    }
    EXPECT_EQ(positions.size(), 9u);
    EXPECT_EQ(*positions.begin(), 0);
    EXPECT_EQ(*positions.rbegin(), 8);
    EXPECT_EQ(Of(Control::Image1).tabPosition, NoTabPosition);
}

TEST(DialogLayout, WindowsAreCreatedInTabOrderWithThePictureLast) {
    const std::vector<Control> expected = {
        Control::OKButton,   Control::CancelButton, Control::Frame1,        Control::optEdit,
        Control::optNew,     Control::newWorld,     Control::LabelnewWorld, Control::bznList,
        Control::Armadapath, Control::Image1,
    };
    EXPECT_EQ(CreationOrder(), expected);
}

TEST(DialogLayout, KindsMatchTheControlsRoles) {
    struct Row {
        Control control;
        ControlKind kind;
    };
    const Row rows[] = {
        {Control::Armadapath, ControlKind::TextBox},
        {Control::newWorld, ControlKind::TextBox},
        {Control::bznList, ControlKind::FileListBox},
        {Control::Frame1, ControlKind::Frame},
        {Control::optNew, ControlKind::OptionButton},
        {Control::optEdit, ControlKind::OptionButton},
        {Control::OKButton, ControlKind::CommandButton},
        {Control::CancelButton, ControlKind::CommandButton},
        {Control::Image1, ControlKind::Picture},
        {Control::LabelnewWorld, ControlKind::Label},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Of(row.control).kind, row.kind) << static_cast<int>(row.control);
    }
}

} // namespace
} // namespace kolvek::layout
