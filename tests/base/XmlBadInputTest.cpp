// The settings file lives on the user's disk, where it gets cut short, edited
// by hand or replaced by junk. The parser keeps what it could read and stops;
// it never reads past its input, hangs or recurses without bound.
#include "base/XmlNode.h"

#include "tests/base/TextPrint.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using s::xml::Node;

TEST(XmlBadInput, KeepsWhatItCouldReadAndStops)
{
    struct Row {
        const char* name;
        std::u16string input;
        const char* expected;  // the parsed tree written back; "" for an empty node
    };
    const Row rows[] = {
        {"empty", u"", ""},
        {"no element", u"just text", ""},
        {"lone '<'", u"<", ""},
        {"'<' and white space", u"< \r\n", ""},
        {"cut in the name", u"<sav", ""},
        {"cut in a value", u"<a x=\"1", ""},
        {"cut before '>'", u"<a x=\"1\"", ""},
        {"cut in '/>'", u"<a/", ""},
        {"no end tag", u"<a>", "<a></a>"},
        {"text cut short", u"<a>C:\\Program Fi", "<a></a>"},
        {"text ended by '<'", u"<a>text<", "<a>text</a>"},
        {"cut in a child's start tag", u"<a><b x=\"1", "<a></a>"},
        {"child without end tag", u"<a><b x=\"1\">", "<a><b x=\"1\"></b></a>"},
        {"cut in the end tag", u"<a><b/></a", "<a><b></b></a>"},
        {"unterminated comment", u"<a><b/><!-- note <c/>", "<a><b></b></a>"},
        {"unterminated comment before the root", u"<!-- <a/>", ""},
        {"only a comment", u"<!-- c -->", ""},
        {"attribute without value", u"<a x y=\"2\"/>", "<a y=\"2\"></a>"},
        {"unquoted value", u"<a x=1 y=\"2\"></a>", "<a y=\"2\"></a>"},
        {"stray '=' and quote", u"<a = \" y=\"2\"/>", "<a y=\"2\"></a>"},
        {"no space between attributes", u"<a x=\"1\"y=\"2\"/>", "<a x=\"1\" y=\"2\"></a>"},
        {"white space after '<'", u"< a ><\tb/></ a >", "<a><b></b></a>"},
        {"end tag with another name", u"<a><b></c></a>", "<a><b></b></a>"},
        {"junk after the root", u"<a/><b/>more", "<a></a>"},
        {"'>' in text", u"<a>x>y</a>", "<a>x>y</a>"},
        {"NUL ends the text", std::u16string(u"<r><a/>\0<b/></r>", 16), "<r><a></a></r>"},
        {"NUL in a value", std::u16string(u"<a x=\"1\0\"/>", 11), ""},
        {"single quotes are not quotes", u"<a x='1' y=\"2\"/>", "<a y=\"2\"></a>"},
        {"'<' inside a name", u"<a<b>x</a<b>", "<a<b>x</a<b>"},
        {"end tag first", u"</a><b/>", "<b></b>"},
        {"CDATA is a stray '<!'", u"<a><![CDATA[x]]><b/></a>", "<a><b></b></a>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Node node;
        const int end = node.parse(row.input);
        EXPECT_GE(end, 0);
        EXPECT_LE(end, static_cast<int>(row.input.size()));
        const std::string got = node.name().isEmpty() && node.childCount() == 0 ? "" : node.toUtf8();
        EXPECT_EQ(got, row.expected);
    }
}

TEST(XmlBadInput, InvalidUtf8BecomesReplacementCharacters)
{
    Node node;
    node.parseUtf8(std::string_view("<a x=\"\xFF\xC3\"><\xE2\x82/>\xED\xBF\xBF text\x80</a>"));
    EXPECT_EQ(node.getString(u"x"), u"\uFFFD\uFFFD");
    ASSERT_EQ(node.childCount(), 1);
    EXPECT_EQ(node.child(0).name(), u"\uFFFD");
    EXPECT_EQ(node.getString(u"").toU16String(), std::u16string(1, char16_t(0xDFFF)) + u" text\uFFFD");
}

TEST(XmlBadInput, NestingIsCappedAtMaxDepth)
{
    for (bool closed : {false, true}) {
        std::u16string deep;
        const int levels = 100000;
        for (int i = 0; i < levels; ++i)
            deep += u"<a>";
        if (closed) {
            for (int i = 0; i < levels; ++i)
                deep += u"</a>";
        }
        Node root;
        root.parse(deep);
        int depth = 1;
        const Node* node = &root;
        while (node->childCount() == 1) {
            node = &node->child(0);
            ++depth;
        }
        EXPECT_EQ(node->childCount(), 0);
        EXPECT_EQ(depth, Node::kMaxDepth) << (closed ? "closed" : "open");
    }

    // Exactly at the limit everything is read, and what follows too; a
    // comment in the deepest element is no nesting.
    std::u16string limit;
    for (int i = 0; i < Node::kMaxDepth; ++i)
        limit += u"<a>";
    limit += u"<!-- deepest -->text";
    for (int i = 0; i < Node::kMaxDepth; ++i)
        limit += i == 0 ? u"</a><b/>" : u"</a>";
    Node root;
    EXPECT_EQ(root.parse(limit), static_cast<int>(limit.size()));
    const Node* node = &root;
    for (int i = 1; i < Node::kMaxDepth - 1; ++i)
        node = &node->child(0);
    ASSERT_EQ(node->childCount(), 2);
    EXPECT_EQ(node->child(1).name(), u"b");
    EXPECT_EQ(node->child(0).getString(u""), u"text");
}

TEST(XmlBadInput, ATruncatedFileKeepsItsCompleteValues)
{
    const std::u16string full = u"<savedata><Language>English</Language><MainWindow><View X=\"312\" Y=\"190\" "
                                u"Width=\"630\"></View></MainWindow><Skin>Classic&#160;LG</Skin></savedata>";
    // Every cut must parse without harm, and nothing read may be a cut value:
    // each value the parser keeps is one of the full document's.
    Node complete;
    complete.parse(full);
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        Node node;
        node.parse(full.substr(0, cut));
        if (const Node* window = node.childNamed(u"MainWindow")) {
            if (const Node* view = window->childNamed(u"View")) {
                for (const char16_t* name : {u"X", u"Y", u"Width"}) {
                    if (view->hasAttribute(name)) {
                        EXPECT_EQ(view->getRaw(name), complete.child(1).child(0).getRaw(name)) << "cut " << cut;
                    }
                }
            }
        }
        if (const Node* language = node.childNamed(u"Language"); language && language->hasAttribute(u"")) {
            EXPECT_EQ(language->getString(u""), u"English") << "cut " << cut;
        }
        if (const Node* skin = node.childNamed(u"Skin"); skin && skin->hasAttribute(u"")) {
            EXPECT_EQ(skin->getString(u""), u"Classic LG") << "cut " << cut;
        }
    }
}

// What the reader says about a document: well-formed, or the line of the
// first fault. The settings store keeps a copy of a file that is not.
TEST(XmlBadInput, SaysWhetherADocumentIsWellFormedAndWhereNot)
{
    struct Row {
        const char* name;
        std::u16string input;
        int line;  // 0: well-formed
    };
    const Row rows[] = {
        {"what the writer writes", u"<savedata><a x=\"1\">t&#160;<b></b></a></savedata>", 0},
        {"hand-edited: declaration, mark, lines, comments",
         u"\uFEFF<?xml version=\"1.0\"?>\r\n<!-- mine -->\n<s>\n"
         u"  <a x = \"1\"/>\n  <!-- c -->\n</s>\n<!-- end -->\n",
         0},
        {"white space inside tags", u"< a ><\tb/></ a >", 0},
        {"empty", u"", 1},
        {"white space only", u"\n\n  ", 3},
        {"no element", u"just text", 1},
        {"text before the root", u"\nx<a/>", 2},
        {"a stray end tag first", u"</a><b/>", 1},
        {"DOCTYPE", u"<!DOCTYPE a><a/>", 1},
        {"cut in the name", u"<sav", 1},
        {"cut in a value", u"<a>\n<b x=\"1", 2},
        {"cut before '>'", u"<a x=\"1\"", 1},
        {"no end tag", u"<a>\n<b/>\n", 1},
        {"a child without end tag", u"<a>\n<b x=\"1\">\n</a>", 3},
        {"text cut short", u"<a>\n<b>C:\\Program Fi", 2},
        {"cut in the end tag", u"<a><b/></a", 1},
        {"unterminated comment", u"<a>\n<b/>\n<!-- note <c/>", 3},
        {"attribute without value", u"<a\nx y=\"2\"/>", 2},
        {"unquoted value", u"<a x=1/>", 1},
        {"stray quote", u"<a \" y=\"2\"/>", 1},
        {"junk in an empty tag", u"<a/ x>", 1},
        {"end tag with another name", u"<a>\n<b>\n</c>\n</a>", 3},
        {"a second root", u"<a/>\n<b/>", 2},
        {"junk after the root", u"<a/>more", 1},
        {"CDATA", u"<a><![CDATA[x]]></a>", 1},
        {"NUL padding after the document", std::u16string(u"<a></a>\n\0\0\0", 11), 2},
        {"NUL inside", std::u16string(u"<r><a/>\0<b/></r>", 16), 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Node node;
        s::xml::ParseReport report;
        node.parse(row.input, 0, &report);
        EXPECT_EQ(report.wellFormed, row.line == 0);
        EXPECT_EQ(report.line, row.line);
    }

    std::u16string tooDeep;
    for (int i = 0; i <= Node::kMaxDepth; ++i)
        tooDeep += u"<a>\n";
    for (int i = 0; i <= Node::kMaxDepth; ++i)
        tooDeep += u"</a>";
    Node node;
    s::xml::ParseReport report;
    node.parse(tooDeep, 0, &report);
    EXPECT_FALSE(report.wellFormed) << "nesting beyond the limit";
    EXPECT_EQ(report.line, Node::kMaxDepth + 1);
}

TEST(XmlBadInput, BytesThatAreNoUtf8AreAFault)
{
    struct Row {
        const char* name;
        std::string_view bytes;
        int line;
    };
    const Row rows[] = {
        {"UTF-8 with a mark", "\xEF\xBB\xBF<a x=\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"/>", 0},
        {"a lone surrogate as the writer writes it", "<a x=\"\xED\xA0\x80\"/>", 0},
        {"a genuine U+FFFD", "<a x=\"\xEF\xBF\xBD\"/>", 0},
        {"Latin-1 on line 2", "<a>\n<b x=\"caf\xE9\"/>\n</a>", 2},
        {"a cut sequence", "<a>\n\n<b>\xE2\x82</b></a>", 3},
        {"a stray byte before a later parse fault", "<a x=\"\x80\">\n<b>", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Node node;
        s::xml::ParseReport report;
        node.parseUtf8(row.bytes, &report);
        EXPECT_EQ(report.wellFormed, row.line == 0);
        EXPECT_EQ(report.line, row.line);
    }
}

}  // namespace
