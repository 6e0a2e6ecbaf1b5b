#include "base/XmlNode.h"

#include "tests/base/TextPrint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using s::str::StrBuffer;
using s::xml::Node;
using testing_text::units;
using testing_text::utf8;

std::string written(const Node& node)
{
    return node.toUtf8();
}

TEST(XmlNode, AttributesWithSpacesShortChildAndTextAfterIt)
{
    Node a;
    const std::u16string source = u"<a x = \"1\" y =\"2\"><b/>t</a>";
    EXPECT_EQ(a.parse(source), static_cast<int>(source.size()));
    EXPECT_EQ(a.name(), u"a");
    ASSERT_EQ(a.attributes().count(), 3);  // x, y and the text record
    EXPECT_EQ(a.getS32(u"x", 0), 1);
    EXPECT_EQ(a.getS32(u"y", 0), 2);
    ASSERT_EQ(a.childCount(), 1);
    EXPECT_EQ(a.child(0).name(), u"b");
    EXPECT_EQ(a.getString(u""), u"t");
    EXPECT_EQ(written(a), "<a x=\"1\" y=\"2\">t<b></b></a>");
}

TEST(XmlNode, ElementTextTrimmingAndProtectedEscapes)
{
    struct Row {
        const char16_t* content;
        const char16_t* expected;
    };
    const Row rows[] = {
        {u"  word  ", u"word"},
        {u"&#160;word&#160;", u" word "},
        {u"word&#10;", u"word\n"},
        {u"word&#13;&#10;  \t", u"word\r\n"},
        {u"word &#160; \u3000", u"word  "},  // the plain space before the escape stays
        {u"&#160;      Yes      &#160;", u"       Yes       "},
        {u"(Values Under Registry Key, 1-Level)&#160;", u"(Values Under Registry Key, 1-Level) "},
        {u"a &amp; b &lt;c&gt;", u"a & b <c>"},
        {u"&quot;x&quot;", u"&quot;x&quot;"},  // not a text escape
        {u"R&D &amp &#161; &", u"R&D &amp &#161; &"},
        {u"\u3000word", u"\u3000word"},  // not skipped at the start
        {u"word\u3000\t", u"word"},
    };
    for (const Row& row : rows) {
        Node node;
        node.parse(u"<e>" + std::u16string(row.content) + u"</e>");
        EXPECT_EQ(node.getString(u"").toU16String(), row.expected) << utf8(row.content);
    }
}

TEST(XmlNode, TextEscapesWhenWrittenAndReadsBack)
{
    Node node;
    node.setName(u"e");
    node.addString(u"", u" a&b ");
    EXPECT_EQ(written(node), "<e>&#160;a&amp;b&#160;</e>");
    Node back;
    back.parse(node.toString());
    EXPECT_EQ(back.getString(u""), u" a&b ");
}

TEST(XmlNode, AttributeQuotesAndAngleBrackets)
{
    Node node;
    node.setName(u"e");
    node.addString(u"q", u"say \"hi\"");
    node.addString(u"g", u"a>b</c>");
    node.addString(u"lines", u"1\r\n2 &");
    EXPECT_EQ(written(node), "<e q=\"say &quot;hi&quot;\" g=\"a>b&lt;/c>\" lines=\"1&#13;&#10;2 &amp;\"></e>");
    Node back;
    back.parse(node.toString());
    EXPECT_EQ(back.getString(u"q"), u"say \"hi\"");
    EXPECT_EQ(back.getString(u"g"), u"a>b</c>");
    EXPECT_EQ(back.getString(u"lines"), u"1\r\n2 &");
    // Attribute values are not trimmed and know no text escapes.
    Node raw;
    raw.parse(u"<e v=\"  &#160;&gt; \"/>");
    EXPECT_EQ(raw.getString(u"v"), u"  &#160;&gt; ");
}

TEST(XmlNode, CommentsAreNotChildren)
{
    Node node;
    node.parse(u"<a><!-- note <b/> --><b></b><!----></a>");
    ASSERT_EQ(node.childCount(), 1);
    EXPECT_EQ(node.child(0).name(), u"b");
    EXPECT_FALSE(node.child(0).isComment());
}

TEST(XmlNode, ChildNamedIgnoresCaseNameEqualsWithLengthDoesNot)
{
    Node root;
    root.parse(u"<root><other/><section/><sectionTwo/></root>");
    Node* found = root.childNamed(u"SECTION");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name(), u"section");
    EXPECT_EQ(root.childNamed(u"missing"), nullptr);
    int index = -1;
    EXPECT_TRUE(root.findChild(u"SectionTwo", index));
    EXPECT_EQ(index, 2);

    const Node& section = root.child(1);
    EXPECT_TRUE(section.nameEquals(u"section", 7));
    EXPECT_FALSE(section.nameEquals(u"SECTION", 7));
    EXPECT_FALSE(section.nameEquals(u"sect", 4)) << "the node's name is longer";
    EXPECT_TRUE(section.nameEquals(u"sectionXYZ", 7)) << "only the first length units of the text count";
    EXPECT_FALSE(section.nameEquals(u"sec", 7)) << "a text shorter than length";
    EXPECT_EQ(root.childNamed(u"sectionTwo", 7), &root.child(1));
}

TEST(XmlNode, DuplicateAttributesFirstWinsBothWritten)
{
    Node node;
    node.setName(u"e");
    node.addS32(u"v", 1);
    node.addS32(u"V", 2);
    EXPECT_EQ(node.getS32(u"v", 0), 1);
    EXPECT_EQ(written(node), "<e v=\"1\" V=\"2\"></e>");
    EXPECT_TRUE(node.removeAttribute(u"V"));  // removes the first, "v"
    EXPECT_EQ(node.getS32(u"v", 0), 2);
    node.addS32(u"v", 3);  // the settings store's replace: remove, then add at the end
    EXPECT_EQ(written(node), "<e V=\"2\" v=\"3\"></e>");
}

TEST(XmlNode, GetBool)
{
    struct Row {
        const char16_t* value;
        bool expected;
    };
    const Row rows[] = {
        {u"1", true},     {u"10", true},   {u"true", true}, {u"trueish", true}, {u"True", false},
        {u"TRUE", false}, {u"yes", false}, {u"0", false},   {u"", false},       {u" 1", false},
    };
    for (const Row& row : rows) {
        Node node;
        node.parse(u"<e v=\"" + std::u16string(row.value) + u"\"/>");
        EXPECT_EQ(node.getBool(u"v", !row.expected), row.expected) << utf8(row.value);
    }
    Node node;
    EXPECT_TRUE(node.getBool(u"absent", true));
    EXPECT_FALSE(node.getBool(u"absent", false));
}

TEST(XmlNode, NumbersConvertLikeTheCRuntime)
{
    Node node;
    node.parse(u"<e a=\" -12abc\" b=\"abc\" c=\"+7\" d=\"99999999999\" e=\"-99999999999\" f=\"300\" g=\"-1\" "
               u"h=\"99999999999999999999\" i=\"-9223372036854775808\" j=\" 1.25e2x\" k=\"\">-5</e>");
    EXPECT_EQ(node.getS32(u"a", 99), -12);
    EXPECT_EQ(node.getS32(u"b", 99), 0) << "present but not a number: 0, not the default";
    EXPECT_EQ(node.getS32(u"c", 99), 7);
    EXPECT_EQ(node.getS32(u"d", 99), INT32_MAX);
    EXPECT_EQ(node.getS32(u"e", 99), INT32_MIN);
    EXPECT_EQ(node.getS64(u"d", 99), INT64_C(99999999999));
    EXPECT_EQ(node.getS8(u"f", 99), 44) << "300 narrowed to 8 bits";
    EXPECT_EQ(node.getS16(u"d", 99), -1) << "INT32_MAX narrowed to 16 bits";
    EXPECT_EQ(node.getU32(u"g", 99), UINT32_MAX);
    EXPECT_EQ(node.getU8(u"f", 99), 44);
    EXPECT_EQ(node.getU16(u"g", 99), 0xFFFF);
    EXPECT_EQ(node.getU64(u"h", 99), UINT64_MAX);
    EXPECT_EQ(node.getS64(u"h", 99), INT64_MAX);
    EXPECT_EQ(node.getS64(u"i", 99), INT64_MIN);
    EXPECT_DOUBLE_EQ(node.getDouble(u"j", 99), 125.0);
    EXPECT_EQ(node.getS32(u"k", 99), 0);
    EXPECT_EQ(node.getS32(u"", 99), -5) << "the element text";
    EXPECT_EQ(node.getS32(u"absent", 99), 99);
    EXPECT_EQ(node.getU64(u"absent", 98), 98u);
    EXPECT_FLOAT_EQ(node.getFloat(u"absent", 0.5f), 0.5f);
}

TEST(XmlNode, TypedAddersFormat)
{
    Node node;
    node.setName(u"e");
    const uint64_t wide[] = {0x1, 0xFEDCBA9876543210};
    const uint32_t words[] = {1, 0xDEADBEEF};
    const uint16_t halves[] = {0xA, 0xBEEF};
    const uint8_t bytes[] = {0x0A, 0xFF, 0x00};
    const int64_t split[] = {INT64_C(0x1122334455667788)};
    node.addS64(u"s64", INT64_MIN);
    node.addU32(u"u32", UINT32_MAX);
    node.addU16(u"u16", 65535);
    node.addU8(u"u8", 255);
    node.addS32(u"s32", -5);
    node.addS16(u"s16", -32768);
    node.addS8(u"s8", -128);
    node.addBool(u"b", true);
    node.addDouble(u"d", 1.5);
    node.addFloat(u"f", -0.25f);
    node.addHex64(u"h64", wide, 2);
    node.addHex32(u"h32", words, 2);
    node.addHex16(u"h16", halves, 2);
    node.addBytes(u"bytes", bytes, 3);
    node.addSplit64(u"split", split, 1);
    EXPECT_EQ(written(node), "<e s64=\"-9223372036854775808\" u32=\"4294967295\" u16=\"65535\" u8=\"255\" s32=\"-5\" "
                             "s16=\"-32768\" s8=\"-128\" b=\"1\" d=\"1.500000\" f=\"-0.250000\" "
                             "h64=\"0000000000000001fedcba9876543210\" h32=\"00000001deadbeef\" h16=\"000abeef\" "
                             "bytes=\"0aff00\" split=\"5566778811223344\"></e>");
    s::col::ArrayU08 back;
    ASSERT_TRUE(node.getBytes(u"bytes", back));
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), (std::vector<uint8_t>{0x0A, 0xFF, 0x00}));
    EXPECT_FALSE(node.getBytes(u"absent", back));
}

TEST(XmlNode, OnlyTheFirstTextIsTheElementsText)
{
    Node node;
    node.parse(u"<a>x<b/>y<c/>z</a>");
    EXPECT_EQ(node.getString(u""), u"x");
    EXPECT_EQ(node.childCount(), 2);
    EXPECT_EQ(written(node), "<a>x<b></b><c></c></a>");
}

TEST(XmlNode, ParsesFromAPositionAndReturnsTheEnd)
{
    const std::u16string text = u"junk<a><b/></a>tail<c/>";
    Node first;
    const int end = first.parse(text);
    EXPECT_EQ(end, 15);
    Node second;
    second.parse(text, end);
    EXPECT_EQ(second.name(), u"c");
    Node none;
    EXPECT_EQ(none.parse(text, 1000), static_cast<int>(text.size()));
    EXPECT_TRUE(none.name().isEmpty());
}

TEST(XmlNode, WhatStandsBeforeTheRootIsSkipped)
{
    const char* documents[] = {
        "\xEF\xBB\xBF<savedata><Language>English</Language></savedata>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<savedata><Language>English</Language></savedata>",
        "<!-- saved by hand -->\n<savedata><Language>English</Language></savedata>",
        "<!DOCTYPE savedata>\n</stray><savedata><Language>English</Language></savedata>",
    };
    for (const char* document : documents) {
        Node root;
        root.parseUtf8(std::string_view(document));
        EXPECT_EQ(written(root), "<savedata><Language>English</Language></savedata>") << document;
    }
}

TEST(XmlNode, ChildrenAreOwnedAndGoBackToThePool)
{
    auto& pool = s::thread::Pool<Node>::pooler();
    Node* root = s::thread::Pool<Node>::take();
    root->setName(u"root");
    Node& kept = root->addChild(u"kept");
    kept.addChild(u"grandchild").addString(u"v", u"x");
    root->addChild(u"removed");
    root->addChildNode(s::thread::Pool<Node>::take()).setName(u"added");
    EXPECT_EQ(written(*root), "<root><kept><grandchild v=\"x\"></grandchild></kept><removed></removed>"
                              "<added></added></root>");

    const std::size_t spares = pool.spareCount();
    root->removeChild(1);
    EXPECT_EQ(pool.spareCount(), spares + 1);
    s::xml::NodeHandle detached(root->detachChild(0));
    EXPECT_EQ(pool.spareCount(), spares + 1) << "a detached child belongs to the caller";
    EXPECT_EQ(root->childCount(), 1);
    detached.giveBack();
    EXPECT_EQ(pool.spareCount(), spares + 3) << "kept and its grandchild";

    root->release();
    Node* again = s::thread::Pool<Node>::take();
    EXPECT_EQ(again, root);
    EXPECT_TRUE(again->name().isEmpty());
    EXPECT_EQ(again->childCount(), 0);
    EXPECT_EQ(again->attributes().count(), 0);
    again->release();
}

TEST(XmlNode, MovesKeepOwnership)
{
    Node source;
    source.parse(u"<a><b/><c/></a>");
    Node target(std::move(source));
    EXPECT_EQ(written(target), "<a><b></b><c></c></a>");
    source.parse(u"<x><y/></x>");  // the moved-from node is usable and still owns its children
    EXPECT_EQ(written(source), "<x><y></y></x>");
}

// Any string set as element text or as an attribute value reads back the same
// after writing and parsing, in UTF-16 and through UTF-8.
TEST(XmlNode, EveryStringSurvivesARoundTrip)
{
    std::mt19937 random(2024);
    const char16_t interesting[] = {u' ',   u'\t',  u'\n', u'\r', u'&',    u'<',    u'>',      u'"',   u'\'',  u'/',
                                    u'=',   u'!',   u'-',  u'#',  u';',    0,       u'\x3000', 0x00A0, 0xD800, 0xDC00,
                                    0xFEFF, 0xFFFD, u'a',  u'1',  u'\x0B', u'\x0C', u'\x85',   0x2028};
    const std::u16string fixed[] = {
        u"",      u" ",       u"\t",   u"  two  ",    u"&#160;", u"&amp;", u"\u3000", u"a\u3000",
        u"\ttab", u"end\t",   u"\r\n", u"<!-- c -->", u"</e>",   u"\"\"",  u"&",      std::u16string(1, 0),
        u"&#10;", u"x&#0;y&", u"]]>",  u"<?xml?>",
    };
    std::vector<std::u16string> values(std::begin(fixed), std::end(fixed));
    for (int i = 0; i < 1500; ++i) {
        std::u16string value;
        const int length = static_cast<int>(random() % 10);
        for (int k = 0; k < length; ++k)
            value += random() % 3 ? interesting[random() % std::size(interesting)]
                                  : static_cast<char16_t>(random() % 0x10000);
        values.push_back(value);
    }
    for (const std::u16string& value : values) {
        Node node;
        node.setName(u"e");
        node.addString(u"", value);
        node.addString(u"v", value);
        node.addChild(u"child").addString(u"", value);

        Node viaText;
        viaText.parse(node.toString());
        Node viaUtf8;
        viaUtf8.parseUtf8(node.toUtf8());
        for (const Node* back : {&viaText, &viaUtf8}) {
            SCOPED_TRACE(back == &viaText ? "UTF-16" : "UTF-8");
            ASSERT_EQ(back->getString(u"", u"(absent)").toU16String(), value.empty() ? u"(absent)" : value)
                << "text " << units(value) << "\nwritten " << utf8(node.toString());
            ASSERT_EQ(back->getString(u"v").toU16String(), value) << "value " << units(value);
            ASSERT_EQ(back->childCount(), 1) << units(value);
            ASSERT_EQ(back->child(0).getString(u"").toU16String(), value) << "child text " << units(value);
        }
    }
}

}  // namespace
