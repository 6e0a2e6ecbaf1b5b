#include "base/StrBuffer.h"

#include "base/Pool.h"
#include "tests/base/TextPrint.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using s::str::StrBuffer;
using testing_text::units;
using testing_text::utf8;

TEST(GrowthRule, StepsAtEachThreshold)
{
    struct Row {
        int from;
        int to;
    };
    const Row rows[] = {
        {0, 100},
        {99, 100},
        {100, 300},
        {300, 900},
        {9'999'999, 29'999'997},
        {10'000'000, 20'000'000},
        {49'999'999, 99'999'998},
        {50'000'000, 75'000'000},
        {99'999'999, 149'999'998},  // 149 999 998.5 truncated
        {100'000'000, 120'000'000},
    };
    for (const Row& row : rows)
        EXPECT_EQ(s::col::growCapacity(row.from), row.to) << "from " << row.from;
    EXPECT_EQ(s::col::capacityFor(0, 250), 300);
    EXPECT_EQ(s::col::capacityFor(100, 901), 2700);
    EXPECT_EQ(s::col::capacityFor(300, 300), 300);
}

TEST(StrBuffer, EmptyStringsShareOneTerminatedText)
{
    StrBuffer fresh;
    StrBuffer emptied(u"abc");
    emptied.clear();
    StrBuffer assignedEmpty;
    assignedEmpty.assign(u"");
    for (const StrBuffer* text : {&fresh, &emptied, &assignedEmpty}) {
        EXPECT_EQ(text->c_str(), StrBuffer::emptyText());
        EXPECT_EQ(text->c_str()[0], u'\0');
        EXPECT_EQ(text->length(), 0);
    }
}

TEST(StrBuffer, AppendingOneByOneGrowsTo100Then300)
{
    StrBuffer text;
    std::vector<std::pair<int, int>> steps;  // (length at which capacity changed, new capacity)
    int capacity = text.capacity();
    for (int i = 0; i < 150; ++i) {
        text.append(static_cast<char16_t>(u'a' + i % 26));
        if (text.capacity() != capacity) {
            capacity = text.capacity();
            steps.emplace_back(text.length(), capacity);
        }
        ASSERT_EQ(text.c_str()[text.length()], u'\0') << "not terminated at length " << text.length();
    }
    const std::vector<std::pair<int, int>> expected = {{1, 100}, {101, 300}};
    EXPECT_EQ(steps, expected);
}

TEST(StrBuffer, AssignReallocatesExactlyAppendGrowsByTheRule)
{
    struct Row {
        const char* name;
        int startLength;   // content before (its capacity comes from appending)
        int assignLength;  // -1: append instead
        int appendLength;
        int expectedCapacity;
    };
    const Row rows[] = {
        {"assign longer than the block", 10, 150, -1, 150},
        {"assign shorter keeps the block", 10, 50, -1, 100},
        {"append 250 to empty", 0, -1, 250, 300},
        {"append past 300", 290, -1, 20, 900},
        {"append that fits", 10, -1, 80, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StrBuffer text;
        for (int i = 0; i < row.startLength; ++i)
            text.append(u'x');
        const std::u16string more(static_cast<std::size_t>(row.assignLength >= 0 ? row.assignLength : row.appendLength),
                                  u'y');
        if (row.assignLength >= 0)
            text.assign(more);
        else
            text.append(more);
        EXPECT_EQ(text.capacity(), row.expectedCapacity);
        EXPECT_EQ(text.c_str()[text.length()], u'\0');
    }
}

TEST(StrBuffer, OperationsOnItsOwnTextSeeTheOriginal)
{
    StrBuffer text(u"abcdef");
    text.append(text.view());
    EXPECT_EQ(text, u"abcdefabcdef");

    StrBuffer grown(u"xy");
    grown.insert(1, grown.view());  // the insert must copy before moving units
    EXPECT_EQ(grown, u"xxyy");

    StrBuffer tail(u"hello world");
    tail.assign(tail.substr(6));
    EXPECT_EQ(tail, u"world");

    StrBuffer swapped(u"abab");
    EXPECT_EQ(swapped.replaceAll(swapped.substr(0, 2), u"cd"), 2);
    EXPECT_EQ(swapped, u"cdcd");

    StrBuffer doubled(u"aXa");
    EXPECT_EQ(doubled.replaceAll(u"a", doubled.substr(0, 2)), 2);
    EXPECT_EQ(doubled, u"aXXaX");
}

TEST(StrBuffer, FromThePoolEmptyWithItsBlockKept)
{
    StrBuffer* text = s::thread::Pool<StrBuffer>::take();
    text->assign(u"some text that needs a block");
    const int capacity = text->capacity();
    text->release();
    StrBuffer* again = s::thread::Pool<StrBuffer>::take();
    EXPECT_EQ(again, text) << "last given back is first taken";
    EXPECT_TRUE(again->isEmpty());
    EXPECT_EQ(again->c_str(), StrBuffer::emptyText());
    EXPECT_EQ(again->capacity(), capacity);

    // A huge block is not kept by a spare.
    again->append(std::u16string(StrBuffer::kKeptCapacity + 1, u'z'));
    again->release();
    StrBuffer* third = s::thread::Pool<StrBuffer>::take();
    EXPECT_EQ(third->capacity(), 0);
    third->release();
}

TEST(StrBuffer, EqualsAtWithAndWithoutLength)
{
    struct Row {
        const char16_t* text;
        int index;
        const char16_t* other;
        int otherStart;
        int length;
        bool exact;
        bool ignoringCase;
    };
    const Row rows[] = {
        {u"abc", 0, u"abc", 0, -1, true, true},
        {u"abcd", 0, u"abc", 0, -1, false, false},  // -1: the rest must have the same length
        {u"abcd", 0, u"abc", 0, 3, true, true},
        {u"abcd", 1, u"BCD", 0, -1, false, true},
        {u"abcd", 1, u"xBC", 1, 2, false, true},
        {u"abcd", 1, u"xbc", 1, 2, true, true},
        {u"ab", 0, u"abc", 0, 3, false, false},  // the string is not long enough
        {u"abc", 0, u"ab", 0, 3, false, false},  // nor is the other text
        {u"abc", 3, u"", 0, -1, true, true},     // the empty rest
        {u"abc", 4, u"", 0, -1, false, false},   // index past the end
        {u"abc", 0, u"abc", 4, -1, false, false},
        {u"\u00C9t\u00E9", 0, u"\u00E9T\u00E9", 0, -1, false, false},  // only A-Z fold
        {u"[a]", 0, u"{A}", 0, -1, false, false},                      // [ and { are not case pairs
    };
    for (const Row& row : rows) {
        const StrBuffer text(row.text);
        SCOPED_TRACE(utf8(row.text) + " at " + std::to_string(row.index) + " vs " + utf8(row.other) + " from " +
                     std::to_string(row.otherStart) + " length " + std::to_string(row.length));
        EXPECT_EQ(text.equalsAt(row.index, row.other, row.otherStart, row.length), row.exact);
        EXPECT_EQ(text.equalsAtIgnoreCase(row.index, row.other, row.otherStart, row.length), row.ignoringCase);
    }
}

TEST(StrBuffer, StartsAndEndsWith)
{
    const StrBuffer language(u"Chinese_simplified");
    EXPECT_TRUE(language.startsWithIgnoreCase(u"Chinese"));
    EXPECT_TRUE(language.startsWithIgnoreCase(u"CHINESE"));
    EXPECT_FALSE(language.startsWith(u"CHINESE"));
    EXPECT_TRUE(language.endsWith(u"simplified"));
    EXPECT_TRUE(language.endsWithIgnoreCase(u"_SIMPLIFIED"));
    EXPECT_FALSE(language.endsWith(u"_SIMPLIFIED"));
    const StrBuffer shorter(u"Chin");
    EXPECT_FALSE(shorter.startsWith(u"Chinese"));
    EXPECT_FALSE(shorter.endsWithIgnoreCase(u"xChin"));
    EXPECT_TRUE(shorter.startsWith(u""));
}

TEST(StrBuffer, CompareToOrdersByUtf16LittleEndianBytes)
{
    struct Row {
        const char16_t* a;
        const char16_t* b;
        int bytes;     // sign of compareTo
        int ignoring;  // sign of compareTo2
    };
    const Row rows[] = {
        {u"ab", u"abc", -1, -1}, {u"abc", u"abd", -1, -1},
        {u"abc", u"abc", 0, 0},  {u"\u0100", u"a", -1, 1},  // low byte 00 before 61, though U+0100 > U+0061
        {u"\u0161", u"a", 1, 1},                            // low bytes 61 and 61, then high 01 after 00
        {u"ABC", u"abc", -1, 0}, {u"a[", u"A{", 1, -1},     // [ and { do not fold
        {u"", u"", 0, 0},        {u"", u"a", -1, -1},
    };
    auto sign = [](int v) {
        return v < 0 ? -1 : (v > 0 ? 1 : 0);
    };
    for (const Row& row : rows) {
        const StrBuffer a(row.a);
        const StrBuffer b(row.b);
        SCOPED_TRACE(units(row.a) + " vs " + units(row.b));
        EXPECT_EQ(sign(a.compareTo(&b, nullptr)), row.bytes);
        EXPECT_EQ(sign(b.compareTo(&a, nullptr)), -row.bytes);
        EXPECT_EQ(sign(a.compareTo2(&b, nullptr)), row.ignoring);
        EXPECT_EQ(a.equals(&b, nullptr), row.bytes == 0);
        EXPECT_EQ(a.equals2(&b, nullptr), row.ignoring == 0);
    }
}

TEST(StrBuffer, HashKeepsEveryUnitAndFoldsCaseWhenAsked)
{
    // With a plain shift the first unit would fall out after 32 more units;
    // feeding bit 30 back in keeps it.
    const std::u16string tail(40, u'a');
    EXPECT_NE(StrBuffer::hashOf(u"x" + tail), StrBuffer::hashOf(u"y" + tail));
    EXPECT_EQ(StrBuffer(u"Hello World").hashIgnoreCase(), StrBuffer(u"hELLO wORLD").hashIgnoreCase());
    EXPECT_NE(StrBuffer(u"Hello").hash(), StrBuffer(u"hello").hash());
    EXPECT_EQ(StrBuffer(u"").hash(), 0u);
}

TEST(StrBuffer, SearchesForwardsAndBackwards)
{
    const StrBuffer text(u"Path\\To\\file.TXT.txt");
    struct Row {
        const char* what;
        int found;
        int expected;
    };
    const Row rows[] = {
        {"indexOf '\\'", text.indexOf(u'\\'), 4},
        {"indexOf '\\' from 5", text.indexOf(u'\\', 5), 7},
        {"indexOf 'x' past the end", text.indexOf(u'x', 100), -1},
        {"indexOfIgnoreCase 't'", text.indexOfIgnoreCase(u'T'), 2},
        {"indexOfAny ./", text.indexOfAny(u"./"), 12},
        {"indexOfAnyIgnoreCase XQ", text.indexOfAnyIgnoreCase(u"xq"), 14},
        {"indexOf txt", text.indexOf(u"txt"), 17},
        {"indexOfIgnoreCase txt", text.indexOfIgnoreCase(u"txt"), 13},
        {"indexOfIgnoreCase TXT from 14", text.indexOfIgnoreCase(u"TXT", 14), 17},
        {"indexOf empty from 3", text.indexOf(u"", 3), 3},
        {"indexOf longer than the rest", text.indexOf(u"txt.", 17), -1},
        {"lastIndexOf '\\'", text.lastIndexOf(u'\\'), 7},
        {"lastIndexOf '\\' from 6", text.lastIndexOf(u'\\', 6), 4},
        {"lastIndexOf 'P' from 0", text.lastIndexOf(u'P', 0), 0},
        {"lastIndexOfIgnoreCase 't'", text.lastIndexOfIgnoreCase(u'T'), 19},
        {"lastIndexOfAny \\.", text.lastIndexOfAny(u"\\."), 16},
        {"lastIndexOfAnyIgnoreCase FP", text.lastIndexOfAnyIgnoreCase(u"FP"), 8},
        {"lastIndexOf TXT", text.lastIndexOf(u"TXT"), 13},
        {"lastIndexOfIgnoreCase TXT", text.lastIndexOfIgnoreCase(u"TXT"), 17},
        {"lastIndexOfIgnoreCase TXT from 16", text.lastIndexOfIgnoreCase(u"TXT", 16), 13},
        {"lastIndexOf txt from 17", text.lastIndexOf(u"txt", 17), 17},
        {"lastIndexOf missing", text.lastIndexOf(u"zip"), -1},
        {"lastIndexOf on empty", StrBuffer().lastIndexOf(u'a'), -1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.found, row.expected) << row.what;
}

TEST(StrBuffer, TrimsTheWhiteSpaceSet)
{
    struct Row {
        const char* name;
        const char16_t* text;
        int minLength;  // -1: trimLeft, -2: trim both
        const char16_t* expected;
    };
    const Row rows[] = {
        {"right", u"ab \t\r\n\u3000", 0, u"ab"},
        {"right with minimum 3", u"ab   ", 3, u"ab "},
        {"minimum above the length", u"ab ", 5, u"ab "},
        {"all white", u" \t ", 0, u""},
        {"no-break space is not white", u"ab\u00A0", 0, u"ab\u00A0"},
        {"left", u"\r\n\t \u3000ab ", -1, u"ab "},
        {"both", u"  a b  ", -2, u"a b"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StrBuffer text(row.text);
        if (row.minLength == -1)
            text.trimLeft();
        else if (row.minLength == -2)
            text.trim();
        else
            text.trimRight(row.minLength);
        EXPECT_EQ(text, row.expected);
    }
}

TEST(StrBuffer, ReplaceAllLeftToRightWithoutOverlap)
{
    struct Row {
        const char16_t* text;
        const char16_t* find;
        const char16_t* with;
        const char16_t* expected;
        int count;
    };
    const Row rows[] = {
        {u"\u019Aa\u019Ab\u019A", u"\u019A", u"\u0142", u"\u0142a\u0142b\u0142", 3},
        {u"aaa", u"aa", u"b", u"ba", 1},
        {u"aaaa", u"aa", u"b", u"bb", 2},
        {u"a.b.c", u".", u"::", u"a::b::c", 2},
        {u"a::b::c", u"::", u"", u"abc", 2},
        {u"abc", u"a", u"aa", u"aabc", 1},  // the replacement is not searched again
        {u"abc", u"x", u"y", u"abc", 0},
        {u"abc", u"", u"y", u"abc", 0},
        {u"", u"a", u"b", u"", 0},
    };
    for (const Row& row : rows) {
        StrBuffer text(row.text);
        SCOPED_TRACE(utf8(row.text) + ": " + utf8(row.find) + " -> " + utf8(row.with));
        EXPECT_EQ(text.replaceAll(row.find, row.with), row.count);
        EXPECT_EQ(text, row.expected);
    }
}

TEST(StrBuffer, CaseMapsOnlyAToZ)
{
    StrBuffer lower(u"ABC xyz \u00C4\u00E4 [\\]");
    lower.toLowerCase();
    EXPECT_EQ(lower, u"abc xyz \u00C4\u00E4 [\\]");
    StrBuffer upper(u"abc XYZ \u00E4 {}");
    upper.toUpperCase();
    EXPECT_EQ(upper, u"ABC XYZ \u00E4 {}");
    const std::pair<const char16_t*, const char16_t*> capitalized[] = {
        {u"CHINESE_SIMPLIFIED", u"Chinese_simplified"},
        {u"jAPANESE", u"Japanese"},
        {u"\u00E9T\u00C9", u"\u00E9t\u00C9"},
        {u"", u""},
    };
    for (const auto& [in, expected] : capitalized) {
        StrBuffer text(in);
        EXPECT_EQ(text.capitalize(), expected) << utf8(in);
    }
}

TEST(StrBuffer, AppendsNumbers)
{
    StrBuffer text;
    text.appendS32(INT32_MIN).append(u' ').appendU32(UINT32_MAX).append(u' ').appendS64(INT64_MIN);
    text.append(u' ').appendU64(UINT64_MAX).append(u' ').appendDouble(1.5).append(u' ').appendDouble(-1e-7);
    text.append(u' ').appendHex(0xAB, 4).append(u' ').appendHex(0x123456789, 2);
    EXPECT_EQ(text, u"-2147483648 4294967295 -9223372036854775808 18446744073709551615 1.500000 -0.000000 "
                    u"00ab 123456789");
    StrBuffer huge;
    huge.appendDouble(1e308);
    EXPECT_EQ(huge.length(), 309 + 7);  // 309 digits, the point and six decimals
}

TEST(StrBuffer, HexAndDecimalHelpers)
{
    struct Row {
        const char16_t* text;
        bool hex;
        uint64_t value;
        bool decimal;
    };
    const Row rows[] = {
        {u"0", true, 0, true},
        {u"ff", true, 255, false},
        {u"DeadBeef", true, 0xDEADBEEF, false},
        {u"", false, 0, false},
        {u"12g", false, 0x120, false},  // a non-digit counts 0
        {u"-", false, 0, false},
        {u"-12", false, 0x12, true},  // "-" counts 0 as well
        {u"1-2", false, 0x102, false},
        {u"0123456789", true, 0x123456789, true},
        {u"ffffffffffffffff", true, UINT64_MAX, false},
    };
    for (const Row& row : rows) {
        const StrBuffer text(row.text);
        SCOPED_TRACE(utf8(row.text));
        EXPECT_EQ(text.isHex(), row.hex);
        EXPECT_EQ(text.hexToNumber(), row.value);
        EXPECT_EQ(text.isDecimalInteger(), row.decimal);
    }
    s::col::ArrayU08 bytes;
    bytes.add(7);
    StrBuffer(u"00fFa").hexToBytes(bytes);  // the odd last digit is ignored
    ASSERT_EQ(bytes.count(), 3);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(StrBuffer::hexDigitValue(u'g'), 0);
}

TEST(Utf8, DecodesEveryIllFormedSubpartToOneReplacement)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::u16string expected;
    };
    const Row rows[] = {
        {"ascii", "abc", u"abc"},
        {"two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"\u00E9\u20AC\U0001F600"},
        {"truncated three-byte", "a\xE2\x82", u"a\uFFFD"},
        {"lone continuation", "\x80z", u"\uFFFDz"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"never a lead", "\xF5\xFF\xFE", u"\uFFFD\uFFFD\uFFFD"},
        {"bad second byte", "\xE2\x28\xA1", u"\uFFFD(\uFFFD"},
        {"cut four-byte then ascii", "\xF0\x9F\x98!", u"\uFFFD!"},
        {"lone high surrogate form", "\xED\xA0\x80", std::u16string(1, char16_t(0xD800))},
        {"NUL passes", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"byte-order mark", "\xEF\xBB\xBF<", u"\uFEFF<"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(StrBuffer::fromUtf8(row.bytes).toU16String(), row.expected)
            << units(StrBuffer::fromUtf8(row.bytes).view());
    }
}

TEST(Utf8, EveryUtf16StringSurvivesARoundTrip)
{
    std::mt19937 random(12345);
    // Weighted towards the interesting ranges: ASCII, the surrogates, the top.
    const char16_t pool[] = {u'a',   u'<',   0,      0x7F,   0x80,   0x7FF,  0x800,  0xD7FF,
                             0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFD, 0xFFFF, 0xFEFF};
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            text += random() % 2 ? pool[random() % std::size(pool)] : static_cast<char16_t>(random() % 0x10000);
        const StrBuffer original(text);
        const std::string encoded = original.toUtf8();
        ASSERT_EQ(StrBuffer::fromUtf8(encoded).toU16String(), text) << units(text);
    }
}

TEST(Utf8, ByteArrayFormsWithTerminator)
{
    const StrBuffer text(u"\u00E9t\u00E9");
    s::col::ArrayU08 out;
    out.add(0x55);  // replaced, not appended to
    text.toUtf8(out);
    ASSERT_EQ(out.count(), 5);
    EXPECT_EQ(out.data()[5], 0) << "a terminating 0 follows the bytes";
    text.toUtf8(out, StrBuffer::Terminator::Counted);
    ASSERT_EQ(out.count(), 6);
    EXPECT_EQ(out.last(), 0);
}

TEST(StrBuffer, ConvertsAtTheEdges)
{
    const std::u16string standard = u"caf\u00E9 \U0001F600";
    const StrBuffer fromStandard(standard);
    EXPECT_EQ(fromStandard.toU16String(), standard);
    EXPECT_EQ(fromStandard.toUtf8(), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(StrBuffer::fromUtf8("caf\xC3\xA9"), u"caf\u00E9");
    StrBuffer fromPointer(u"abc");
    const std::u16string_view view = fromPointer;
    EXPECT_EQ(view, u"abc");
    StrBuffer moved(std::move(fromPointer));
    EXPECT_EQ(moved, u"abc");
    StrBuffer copied;
    copied = moved;
    copied.append(u'!');
    EXPECT_EQ(moved, u"abc") << "a copy has its own block";
}

}  // namespace
