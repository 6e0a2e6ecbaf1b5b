// The information records the native key services write: the fake writes
// them, the Win32 side reads what ntdll wrote. Reading must never step
// outside the bytes written, whatever the lengths inside say.
#include "platform/NativeKeyInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace s::platform {
namespace {

namespace info = native_info;

class Area {
public:
    explicit Area(std::size_t bytes) : m_words((bytes + 7) / 8), m_bytes(bytes) {}
    std::span<std::byte> span() { return {reinterpret_cast<std::byte*>(m_words.data()), m_bytes}; }
    void put32(std::size_t at, std::uint32_t value) { std::memcpy(span().data() + at, &value, 4); }

private:
    std::vector<std::uint64_t> m_words;
    std::size_t m_bytes;
};

TEST(NativeKeyInfo, WritesAndReadsBackEachRecord)
{
    Area area(256);
    std::uint32_t length = 0;
    ASSERT_EQ(info::writeKeyBasic(u"Sub", area.span(), length), kStatusSuccess);
    EXPECT_EQ(length, 16u + 6);
    KeyBasicInfo key;
    ASSERT_TRUE(info::readKeyBasic(area.span().first(length), kStatusSuccess, key));
    EXPECT_EQ(key.name, u"Sub");

    ASSERT_EQ(info::writeValueBasic(kRegDword, u"", area.span(), length), kStatusSuccess);
    ValueBasicInfo value;
    ASSERT_TRUE(info::readValueBasic(area.span().first(length), kStatusSuccess, value));
    EXPECT_EQ(value.type, kRegDword);
    EXPECT_EQ(value.name, u"");

    const std::byte data[5] = {std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}, std::byte{5}};
    ASSERT_EQ(info::writeValueFull(kRegBinary, u"bin", data, area.span(), length), kStatusSuccess);
    ValueFullInfo full;
    ASSERT_TRUE(info::readValueFull(area.span().first(length), kStatusSuccess, full));
    EXPECT_EQ(full.type, kRegBinary);
    EXPECT_EQ(full.name, u"bin");
    ASSERT_EQ(full.data.size(), 5u);
    EXPECT_EQ(full.data[4], std::byte{5});
}

TEST(NativeKeyInfo, ShortAreasGiveOverflowOrTooSmall)
{
    struct Row {
        std::size_t areaBytes;
        NtStatus status;
    };
    const std::byte data[40] = {};
    // Full record of name "value" (10 bytes) and 40 bytes of data: 20 fixed,
    // name, padding to 32, data: 72.
    const Row rows[] = {{72, kStatusSuccess},
                        {71, kStatusBufferOverflow},
                        {20, kStatusBufferOverflow},
                        {19, kStatusBufferTooSmall},
                        {0, kStatusBufferTooSmall}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.areaBytes);
        Area area(row.areaBytes);
        std::uint32_t length = 0;
        EXPECT_EQ(info::writeValueFull(kRegBinary, u"value", data, area.span(), length), row.status);
        EXPECT_EQ(length, 72u) << "the needed length in every case";
        if (row.status == kStatusBufferOverflow) {
            ValueFullInfo full;
            ASSERT_TRUE(info::readValueFull(area.span(), row.status, full));
            EXPECT_EQ(full.dataLength, 40u);
            EXPECT_EQ(full.type, kRegBinary);
            EXPECT_TRUE(full.name.empty());
        }
    }
}

TEST(NativeKeyInfo, RejectsLengthsAndOffsetsOutsideTheWrittenBytes)
{
    struct Row {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    // Valid record first, then one field spoiled per row.
    const Row rows[] = {
        {"name longer than written", 16, 1000},        {"odd name length", 16, 5},
        {"data offset past the end", 8, 1000},         {"data offset inside the fixed part", 8, 4},
        {"data longer than written", 12, 0xFFFFFFF0u},
    };
    const std::byte data[8] = {};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Area area(64);
        std::uint32_t length = 0;
        ASSERT_EQ(info::writeValueFull(kRegBinary, u"ab", data, area.span(), length), kStatusSuccess);
        area.put32(row.at, row.value);
        ValueFullInfo full;
        full.type = 77;
        EXPECT_FALSE(info::readValueFull(area.span().first(length), kStatusSuccess, full));
        EXPECT_EQ(full.type, 77u) << "untouched";
    }
    Area area(64);
    std::uint32_t length = 0;
    ASSERT_EQ(info::writeKeyBasic(u"k", area.span(), length), kStatusSuccess);
    area.put32(12, 0xFFFFFFFEu);
    KeyBasicInfo key;
    EXPECT_FALSE(info::readKeyBasic(area.span().first(length), kStatusSuccess, key));
    EXPECT_FALSE(info::readKeyBasic(area.span().first(15), kStatusBufferOverflow, key)) << "shorter than fixed";
}

}  // namespace
}  // namespace s::platform
