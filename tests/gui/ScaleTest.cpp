#include "gui/Scale.h"

#include <gtest/gtest.h>

#include <string>

namespace s::gui {
namespace {

// Lengths are exact at the whole steps and land on the nearest pixel between
// them, the same distance either side of zero; back from screen pixels a
// length comes out as it went in.
TEST(Scale, LengthsRoundToTheNearestPixelAtEveryDensity)
{
    struct Row {
        int dpi;
        int length;
        int scaled;
    };
    const Row rows[] = {
        {96, 13, 13},   {192, 13, 26}, {384, 13, 52}, {144, 13, 20},   {144, 1, 2},   {144, -1, -2},
        {144, -3, -5},  {120, 1, 1},   {120, 2, 3},   {120, 630, 788}, {168, 24, 42}, {144, 0, 0},
        {72, 630, 630}, {0, 630, 630}, {288, 15, 45}, {240, 7, 18},    {120, -2, -3}, {192, -7, -14},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.length) + " at " + std::to_string(row.dpi) + " dpi");
        const Scale scale = Scale::ofDpi(row.dpi);
        EXPECT_EQ(row.length * scale, row.scaled);
        EXPECT_EQ(scale * row.length, row.scaled);
        EXPECT_EQ(scale.unscale(row.scaled), row.length);
    }
}

TEST(Scale, TheWholeStepsComeFromTheStepOrTheDensity)
{
    struct Row {
        Scale scale;
        int dpi;
        int step;
    };
    const Row rows[] = {
        {Scale(), 96, 1},
        {Scale(2), 192, 2},
        {Scale(4), 384, 4},
        {Scale(0), 96, 1},
        {Scale::ofDpi(144), 144, 1},
        {Scale::ofDpi(191), 191, 1},
        {Scale::ofDpi(288), 288, 2},
        {Scale::ofDpi(383), 383, 2},
        {Scale::ofDpi(480), 480, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dpi);
        EXPECT_EQ(row.scale.dpi(), row.dpi);
        EXPECT_EQ(row.scale.step(), row.step);
    }
    EXPECT_EQ(Scale(2), Scale::ofDpi(192));
    EXPECT_NE(Scale(1), Scale::ofDpi(120));
}

}  // namespace
}  // namespace s::gui
