// Runs against the in-memory platform natively and against Windows' own
// conversions under Wine.
#include "base/CodePage.h"

#include "tests/base/TextPrint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

namespace codepage = s::system::codepage;
using s::str::StrBuffer;

std::vector<uint8_t> bytesOf(const s::col::ArrayU08& array)
{
    return {array.begin(), array.end()};
}

TEST(CodePage, ListHoldsOnlyNamedPagesWithBothUtf16)
{
    const auto pages = codepage::codePages();
    ASSERT_FALSE(pages.empty());
    std::vector<unsigned> numbers;
    for (const auto& page : pages) {
        ASSERT_NE(page.name, nullptr) << page.number;
        EXPECT_EQ(codepage::displayName(page.number), page.name);
        numbers.push_back(page.number);
    }
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end()) << "no page twice";
    for (unsigned required : {1200u, 1201u, 65001u, 28591u})
        EXPECT_NE(std::find(numbers.begin(), numbers.end(), required), numbers.end()) << required;

    EXPECT_EQ(StrBuffer(codepage::displayName(932)), u"Japanese (Shift_JIS)");
    EXPECT_EQ(StrBuffer(codepage::displayName(1252)), u"Western (Windows-1252)");
    EXPECT_EQ(StrBuffer(codepage::displayName(65001)), u"UTF-8");
    EXPECT_EQ(codepage::displayName(437), nullptr);
}

TEST(CodePage, ConvertsBothWays)
{
    struct Row {
        unsigned page;
        std::u16string text;
        std::vector<uint8_t> bytes;
    };
    const Row rows[] = {
        {1200, u"A\u00E9\u20AC", {0x41, 0x00, 0xE9, 0x00, 0xAC, 0x20}},
        {1201, u"A\u00E9\u20AC", {0x00, 0x41, 0x00, 0xE9, 0x20, 0xAC}},
        {1200, std::u16string(1, char16_t(0xD800)), {0x00, 0xD8}},  // kept as it is
        {65001, u"A\u00E9\u20AC", {0x41, 0xC3, 0xA9, 0xE2, 0x82, 0xAC}},
        {28591, u"caf\u00E9", {'c', 'a', 'f', 0xE9}},
        {20127, u"plain", {'p', 'l', 'a', 'i', 'n'}},
        {1200, u"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("page " + std::to_string(row.page) + ": " + testing_text::units(row.text));
        s::col::ArrayU08 bytes;
        bytes.add(0x99);  // replaced
        ASSERT_TRUE(codepage::encode(row.text, row.page, bytes));
        EXPECT_EQ(bytesOf(bytes), row.bytes);
        StrBuffer text(u"replaced");
        ASSERT_TRUE(codepage::decode(row.bytes.data(), static_cast<int>(row.bytes.size()), row.page, text));
        EXPECT_EQ(text.toU16String(), row.text);
    }

    // An odd trailing byte of UTF-16 does not make a unit.
    const uint8_t odd[] = {0x41, 0x00, 0x42};
    StrBuffer text;
    ASSERT_TRUE(codepage::decode(odd, 3, 1200, text));
    EXPECT_EQ(text, u"A");
}

TEST(CodePage, UnknownPagesFail)
{
    s::col::ArrayU08 bytes;
    StrBuffer text(u"x");
    EXPECT_FALSE(codepage::encode(u"abc", 12345, bytes));
    EXPECT_EQ(bytes.count(), 0);
    const uint8_t some[] = {'a'};
    EXPECT_FALSE(codepage::decode(some, 1, 12345, text));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_NE(codepage::oemCodePage(), 0u);
    ASSERT_TRUE(codepage::encodeOem(u"dir", bytes));
    EXPECT_EQ(bytesOf(bytes), (std::vector<uint8_t>{'d', 'i', 'r'}));
}

}  // namespace
