#include "gui/LineLayout.h"

#include <gtest/gtest.h>

#include <ostream>

namespace s::gui {

// Printed in failures as left,top-right,bottom.
std::ostream& operator<<(std::ostream& out, const Box& box)
{
    return out << box.left << ',' << box.top << '-' << box.right << ',' << box.bottom;
}

}  // namespace s::gui

using namespace s::gui;

namespace {

TEST(LineLayout, PlacesItemsFromTheirPreferredSizes)
{
    const Box area{10, 100, 410, 140};  // 400 × 40
    const struct Row {
        const char* what;
        Axis axis;
        LineAlign along;
        LineAlign across;
        std::vector<Box> expected;
    } rows[] = {
        // Two buttons 100 × 24 and 80 × 20, gap 10: 190 long, 24 high.
        {"row at the start, top",
         Axis::row,
         LineAlign::start,
         LineAlign::start,
         {{10, 100, 110, 124}, {120, 100, 200, 120}}},
        {"row centred both ways",
         Axis::row,
         LineAlign::centre,
         LineAlign::centre,
         {{115, 108, 215, 132}, {225, 110, 305, 130}}},
        {"row at the end, bottom",
         Axis::row,
         LineAlign::end,
         LineAlign::end,
         {{220, 116, 320, 140}, {330, 120, 410, 140}}},
        {"row stretched across",
         Axis::row,
         LineAlign::start,
         LineAlign::stretch,
         {{10, 100, 110, 140}, {120, 100, 200, 140}}},
        {"column at the start",
         Axis::column,
         LineAlign::start,
         LineAlign::start,
         {{10, 100, 110, 124}, {10, 134, 90, 154}}},
        {"column stretched across",
         Axis::column,
         LineAlign::start,
         LineAlign::stretch,
         {{10, 100, 410, 124}, {10, 134, 410, 154}}},
        {"column centred across",
         Axis::column,
         LineAlign::start,
         LineAlign::centre,
         {{160, 100, 260, 124}, {170, 134, 250, 154}}},
    };
    for (const Row& row : rows) {
        LineLayout line(row.axis, 10);
        line.add({100, 24});
        line.add({80, 20});
        EXPECT_EQ(line.place(area, row.along, row.across), row.expected) << row.what;
    }
}

TEST(LineLayout, ALongerItemMovesTheOnesAfterIt)
{
    // The same line with a longer first text (another language) or at scale
    // 2: the second item follows the first, the gap stays.
    const struct Row {
        int firstWidth;
        int gap;
        int secondLeft;
    } rows[] = {{100, 10, 110}, {160, 10, 170}, {200, 20, 220}};
    for (const Row& row : rows) {
        LineLayout line(Axis::row, row.gap);
        line.add({row.firstWidth, 24});
        line.add({80, 24});
        const auto boxes = line.place(Box{0, 0, 1000, 24}, LineAlign::start, LineAlign::start);
        EXPECT_EQ(boxes[1].left, row.secondLeft) << "first item " << row.firstWidth << " wide, gap " << row.gap;
        EXPECT_EQ(line.preferred(), (ItemSize{row.firstWidth + row.gap + 80, 24}));
    }
}

TEST(LineLayout, AnEmptyLineHasNoSizeAndNoBoxes)
{
    LineLayout line(Axis::column, 8);
    EXPECT_EQ(line.preferred(), (ItemSize{0, 0}));
    EXPECT_TRUE(line.place(Box{0, 0, 100, 100}, LineAlign::centre, LineAlign::centre).empty());
}

}  // namespace
