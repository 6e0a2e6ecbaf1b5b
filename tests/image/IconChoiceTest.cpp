// The choice of an icon's picture and the icon byte layouts, on any host.
#include "image/IconChoice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace s::image {
namespace {

std::vector<FrameSize> squares(std::initializer_list<int> sides)
{
    std::vector<FrameSize> frames;
    for (int side : sides)
        frames.push_back(FrameSize{side, side, 32});
    return frames;
}

TEST(ChooseFrame, ExactElseSmallestLargerElseLargest)
{
    struct Case {
        std::vector<FrameSize> frames;
        int wanted;
        int expected;
    };
    const Case cases[] = {
        {squares({16, 24, 32, 48, 64, 128, 256}), 16, 0},
        {squares({16, 24, 32, 48, 64, 128, 256}), 64, 4},
        {squares({16, 24, 32, 48, 64, 128, 256}), 256, 6},
        {squares({16, 24, 32, 48, 64, 128, 256}), 20, 1},   // 24 shrinks to 20
        {squares({16, 24, 32, 48, 64, 128, 256}), 96, 5},   // 128, not 64
        {squares({16, 24, 32, 48, 64, 128, 256}), 300, 6},  // none larger: the largest
        {squares({256, 48, 16, 32}), 32, 3},                // order does not matter
        {squares({256, 48, 16, 32}), 17, 3},
        {squares({256, 48, 16, 32}), 1, 2},
        {squares({256, 48, 16, 32}), 0, 0},  // 0: the largest
        {squares({48, 256, 16}), -5, 1},
        {squares({32}), 256, 0},
        {squares({}), 32, -1},
        {squares({0, 0}), 32, -1},  // frames without a size never win
        {squares({0, 16}), 32, 1},
        {{{64, 32, 32}, {48, 48, 32}}, 60, 0},               // the larger side counts
        {{{32, 32, 8}, {32, 32, 32}, {32, 32, 24}}, 32, 1},  // same size: deepest colour
        {{{32, 32, 32}, {32, 32, 32}}, 32, 0},               // a full tie: the first
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(chooseFrame(cases[i].frames, cases[i].wanted), cases[i].expected)
            << "row " << i << ", wanted " << cases[i].wanted;
}

void put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A group directory as the resource compiler writes it.
std::vector<std::uint8_t> group(std::initializer_list<IconGroupEntry> entries)
{
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(entries.size()));
    for (const IconGroupEntry& e : entries) {
        out.push_back(static_cast<std::uint8_t>(e.size.width & 0xFF));
        out.push_back(static_cast<std::uint8_t>(e.size.height & 0xFF));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, static_cast<unsigned>(e.size.bitCount));
        put32(out, e.byteCount);
        put16(out, static_cast<unsigned>(e.iconId));
    }
    return out;
}

TEST(IconGroup, ParsesEveryEntryAndReadsAWidthOfZeroAs256)
{
    const std::vector<std::uint8_t> bytes =
        group({{{16, 16, 32}, 1, 1128}, {{48, 48, 8}, 7, 3752}, {{256, 256, 32}, 300, 70000}});
    const std::vector<IconGroupEntry> entries = parseIconGroup(bytes);
    ASSERT_EQ(entries.size(), 3u);
    struct Expected {
        int side, bits, id;
        std::uint32_t bytes;
    };
    const Expected expected[] = {{16, 32, 1, 1128}, {48, 8, 7, 3752}, {256, 32, 300, 70000}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].size.width, expected[i].side) << "entry " << i;
        EXPECT_EQ(entries[i].size.height, expected[i].side) << "entry " << i;
        EXPECT_EQ(entries[i].size.bitCount, expected[i].bits) << "entry " << i;
        EXPECT_EQ(entries[i].iconId, expected[i].id) << "entry " << i;
        EXPECT_EQ(entries[i].byteCount, expected[i].bytes) << "entry " << i;
    }
}

TEST(IconGroup, RejectsWhatIsNoIconGroup)
{
    const std::vector<std::uint8_t> good = group({{{16, 16, 32}, 1, 100}, {{32, 32, 32}, 2, 200}});
    ASSERT_EQ(parseIconGroup(good).size(), 2u);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"nothing", {}},
        {"header cut short", {0, 0, 1}},
        {"last entry cut short", {good.begin(), good.end() - 1}},
        {"cursor type", good},
        {"reserved field set", good},
        {"more entries claimed than present", good},
    };
    cases[3].bytes[2] = 2;
    cases[4].bytes[0] = 1;
    cases[5].bytes[4] = 3;
    for (const Case& c : cases)
        EXPECT_TRUE(parseIconGroup(c.bytes).empty()) << c.what;
}

TEST(IconFile, WrapsOnePictureWithAHeaderThatPointsAtIt)
{
    const std::vector<std::uint8_t> picture = {0x89, 'P', 'N', 'G', 1, 2, 3};
    struct Case {
        int side;
        std::uint8_t sizeByte;
    };
    for (const Case& c : {Case{48, 48}, Case{256, 0}}) {
        const IconGroupEntry entry{{c.side, c.side, 32}, 9, static_cast<std::uint32_t>(picture.size())};
        const std::vector<std::uint8_t> file = iconFileOf(entry, picture);
        const std::vector<std::uint8_t> expectedHead = {0,          0,          1,  0, 1,  0,  // icon, one picture
                                                        c.sizeByte, c.sizeByte, 0,  0,         // size, colours
                                                        1,          0,          32, 0,         // planes, bits
                                                        7,          0,          0,  0, 22, 0, 0, 0};  // length, offset
        ASSERT_EQ(file.size(), 22u + picture.size()) << "side " << c.side;
        EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 22), expectedHead) << "side " << c.side;
        EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 22, file.end()), picture) << "side " << c.side;
    }
}

}  // namespace
}  // namespace s::image
