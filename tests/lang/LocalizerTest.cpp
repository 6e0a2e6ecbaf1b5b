#include "lang/Localizer.h"

#include "base/XmlNode.h"
#include "platform/Resources.h"
#include "tests/support/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

using s::lang::LangPack;
using s::lang::Localizer;
using s::str::strbuffer::StrBuffer;

namespace {

using testing_platform::utf8;

// A small table: English, German, and a language that the entries never name.
const char kSmallTable[] = R"(<lang>
  <languages>
    <entry tagName="eng" engName="English" trueName="English"/>
    <entry tagName="deu" engName="German" trueName="Deutsch"/>
    <entry tagName="vec" engName="Venetian" trueName="V&#232;neto"/>
    <entry tagName="zhs" engName="Chinese_Simplified" trueName="zh"/>
    <entry tagName="bra" engName="Portuguese_Brazilian" trueName="pt"/>
  </languages>
  <entries>
    <entry id="5">a translator's note, never used<eng>A</eng><deu>B</deu></entry>
    <entry id="6"><eng>C</eng><xxx>ignored</xxx></entry>
    <entry id="7"><eng>&#160;      Yes      &#160;</eng></entry>
    <entry id="8"><eng>   plain   </eng></entry>
    <entry id="9"><eng>line&#10;</eng></entry>
    <entry id="10"><eng>a &amp; b &amp;c; &copy;</eng></entry>
    <entry id="11"><eng>x</eng><deu></deu><vec>ƚuse</vec></entry>
  </entries>
</lang>)";

class SmallTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = s::thread::Pool<s::xml::Node>::take();
        root->parseUtf8(std::string_view(kSmallTable, sizeof(kSmallTable) - 1));
        localizer.load(*root, 10);
    }
    void TearDown() override { root->release(); }

    s::xml::Node* root = nullptr;
    Localizer localizer;
};

struct Recorder : s::gui::events::IEventListener {
    explicit Recorder(std::vector<int>& log, int tag) : events(log), id(tag) {}
    void onEvent(s::base::IObject*, int code) override { events.push_back(id * 10 + code); }
    std::vector<int>& events;
    int id;
};

TEST_F(SmallTable, MissingTranslationsFallBackToTheFirstChild)
{
    ASSERT_EQ(localizer.count(), 5);
    localizer.select(u"German");
    struct Case {
        int32_t id;
        const char* german;
    };
    const Case cases[] = {
        {5, "B"},    // translated
        {6, "C"},    // no deu child: the first child's text
        {11, ""},    // an empty element is the language's (empty) text, no fallback
        {12345, ""}  // unknown id
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8(localizer.text(c.id)), c.german) << "id " << c.id;
    EXPECT_FALSE(localizer.hasText(11));
    EXPECT_TRUE(localizer.hasText(5));
    EXPECT_EQ(utf8(localizer.englishText(5)), "A") << "English while German is current";
    EXPECT_EQ(utf8(localizer.englishText(12345)), "");
}

TEST_F(SmallTable, EscapesAndTrimmingOfTexts)
{
    localizer.select(u"English");
    struct Case {
        int32_t id;
        const char* text;
    };
    const Case cases[] = {
        {7, "       Yes       "},
        {8, "plain"},
        {9, "line\n"},
        {10, "a & b &c; &copy;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8(localizer.text(c.id)), c.text) << "id " << c.id;
}

TEST_F(SmallTable, VenetianGetsTheOldLetterOnlyBeforeVista)
{
    localizer.select(u"Venetian");
    EXPECT_EQ(utf8(localizer.text(11)), "\xC6\x9Ause") << "version 10 keeps U+019A";

    Localizer old;
    old.load(*root, 5);
    old.select(u"Venetian");
    EXPECT_EQ(utf8(old.text(11)), "\xC5\x82use") << "version 5 stores U+0142";
}

TEST_F(SmallTable, SelectByNameAndNotifications)
{
    std::vector<int> events;
    Recorder first(events, 1), second(events, 2);
    localizer.select(u"English");
    localizer.addListener(&first);
    localizer.addListener(&second);

    localizer.select(u"english");
    EXPECT_TRUE(events.empty()) << "selecting the current language tells nobody";

    localizer.select(u"german");
    EXPECT_EQ(utf8(localizer.current()->engName()), "German");
    EXPECT_EQ(events, (std::vector<int>{10, 20})) << "each listener once, in registration order";

    events.clear();
    localizer.selectIndex(1);
    EXPECT_TRUE(events.empty());
    localizer.selectIndex(0);
    EXPECT_EQ(events, (std::vector<int>{10, 20}));

    localizer.removeListener(&first);
    localizer.removeListener(&first);  // not registered any more: nothing happens
    events.clear();
    localizer.select(u"Klingon");
    EXPECT_TRUE(events.empty()) << "unknown name falls back to English, already current";
    localizer.select(u"German");
    localizer.select(u"Klingon");
    EXPECT_EQ(utf8(localizer.current()->engName()), "English");
    EXPECT_EQ(events, (std::vector<int>{20, 20}));
}

TEST(LanguageNames, FromLangIdsToPacks)
{
    struct Case {
        uint16_t langId;
        const char* name;
    };
    const Case cases[] = {
        {0x0409, "English"},
        {0x0804, "Chinese_simplified"},
        {0x0404, "Chinese_traditional"},
        {0x0816, "Portuguese_portugal"},
        {0x0416, "Portuguese_brazilian"},
        {0x0C1A, "Serbian_cyrillic"},
        {0x0411, "Japanese"},
        {0x0436, "Afrikaans"},
        {0x0007, "German"},
        {0x00FF, "Unknown"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8(s::lang::languageNameOf(c.langId)), c.name) << std::hex << c.langId;
}

// The table the program carries, read from the executable's own resources.
class ShippedTable : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const auto data = s::platform::findResource(u"IDR_XML", 130);
        ASSERT_TRUE(data) << "the language table is embedded";
        root = s::thread::Pool<s::xml::Node>::take();
        root->parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
        localizer = new Localizer();
        localizer->load(*root);
    }
    static void TearDownTestSuite()
    {
        delete localizer;
        root->release();
    }
    static s::xml::Node* root;
    static Localizer* localizer;
};
s::xml::Node* ShippedTable::root = nullptr;
Localizer* ShippedTable::localizer = nullptr;

TEST_F(ShippedTable, FortyLanguagesInOrder)
{
    const char* expected[] = {"English",
                              "Arabic",
                              "Indonesian",
                              "Belarusian",
                              "Bulgarian",
                              "Croatian",
                              "Czech",
                              "Chinese_Simplified",
                              "Chinese_Traditional",
                              "Danish",
                              "Dutch",
                              "Estonian",
                              "Finnish",
                              "German",
                              "Greek",
                              "Spanish",
                              "French",
                              "Hebrew",
                              "Hindi",
                              "Italian",
                              "Japanese",
                              "Korean",
                              "Hungarian",
                              "Norwegian",
                              "Persian",
                              "Polish",
                              "Portuguese",
                              "Portuguese_Brazilian",
                              "Romanian",
                              "Russian",
                              "Serbian_Cyrillic",
                              "Slovak",
                              "Slovenian",
                              "Swedish",
                              "Thai",
                              "Turkish",
                              "Ukrainian",
                              "Vietnamese",
                              "Serbian_Latin",
                              "Venetian"};
    ASSERT_EQ(localizer->count(), 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(utf8(localizer->pack(i)->engName()), expected[i]) << "index " << i;
}

TEST_F(ShippedTable, SystemLanguagesPickTheirPacks)
{
    struct Case {
        uint16_t langId;
        const char* pack;
    };
    const Case cases[] = {
        {0x0816, "Portuguese_Brazilian"},
        {0x0804, "Chinese_Simplified"},
        {0x0436, "English"},
        {0x7C1A, "Serbian_Cyrillic"},
        {0x0407, "German"},
        {0x0404, "Chinese_Traditional"},
    };
    for (const auto& c : cases) {
        LangPack* found = localizer->findByEnglishName(s::lang::languageNameOf(c.langId).view());
        const std::string name = found ? utf8(found->engName()) : "English";  // none: select falls back
        EXPECT_EQ(name, c.pack) << std::hex << c.langId;
    }
}

TEST_F(ShippedTable, EveryLanguageHasEveryTextWithTheEnglishSpacing)
{
    LangPack* english = localizer->pack(0);
    ASSERT_GT(english->count(), 200);
    auto edges = [](const StrBuffer& text) {
        int lead = 0;
        while (lead < text.length() && (text[lead] == u' ' || text[lead] == u'\n'))
            ++lead;
        int trail = 0;
        while (trail < text.length() - lead &&
               (text[text.length() - 1 - trail] == u' ' || text[text.length() - 1 - trail] == u'\n'))
            ++trail;
        return std::make_pair(lead > 0, trail > 0);
    };
    for (int p = 1; p < localizer->count(); ++p) {
        LangPack* pack = localizer->pack(p);
        // Every id was given by the table itself, not filled in from English.
        ASSERT_EQ(pack->count(), english->count()) << utf8(pack->engName());
        for (int i = 0; i < english->count(); ++i) {
            const int32_t id = english->idAt(i);
            const StrBuffer* en = english->find(id);
            const StrBuffer* text = pack->find(id);
            ASSERT_NE(text, nullptr) << utf8(pack->engName()) << " lacks " << id;
            EXPECT_EQ(en->isEmpty(), text->isEmpty()) << utf8(pack->engName()) << " " << id;
            EXPECT_EQ(edges(*en), edges(*text))
                << utf8(pack->engName()) << " " << id << ": \"" << utf8(*text) << "\" vs \"" << utf8(*en) << "\"";
        }
    }
}

TEST_F(ShippedTable, TranslationsDifferFromEnglishUnlessTheWordIsTheSame)
{
    // The same in every language: addresses, the product, version and date,
    // punctuation, application names and pieces of them, percentages, "OK".
    const int32_t sameEverywhere[] = {101000,    108000,    108200, 108500, 300000,     500000, 500003,     500004,
                                      500006,    500007,    500010, 500020, 500100,     801000, 1000550000, 1000001000,
                                      980001000, 980002000, 715100, 715200, 715300,     715400, 715500,     715600,
                                      715700,    715800,    715900, 716000, 1000220000, 3004040};
    // Words that really are the same in one language.
    struct Same {
        const char16_t* tag;
        int32_t id;
    };
    const Same sameInLanguage[] = {
        {u"deu", 400010},
        {u"swe", 400010},
        {u"vec", 400010},
        {u"jpn", 400080},
        {u"spa", 400340},
        {u"ita", 400340},
        {u"vec", 400340},
        {u"cze", 500050},
        {u"dan", 500050},
        {u"nld", 500050},
        {u"deu", 500050},
        {u"fra", 1001003},
        {u"ita", 2015000},
        {u"nor", 3004000},
        {u"ita", 3004010},
        {u"vec", 3004010},
        {u"pol", 3004011},
        {u"rom", 3004011},
        {u"deu", 990301002},
        {u"por", 990301002},
        {u"bra", 990301002},
        {u"nld", 2100402000},
        // "Filter:" above the items list.
        {u"ind", 2100404000},
        {u"dan", 2100404000},
        {u"nld", 2100404000},
        {u"est", 2100404000},
        {u"deu", 2100404000},
        {u"nor", 2100404000},
        {u"slk", 2100404000},
        {u"slv", 2100404000},
        {u"swe", 2100404000},
        // The keep list window's "Type" column and its "File" and "Folder"
        // entry types.
        {u"dan", 2100408000},
        {u"fra", 2100408000},
        {u"nor", 2100408000},
        {u"ita", 2100416000},
        {u"vec", 2100416000},
        {u"ind", 2100417000},
        {u"pol", 2100417000},
    };
    LangPack* english = localizer->pack(0);
    for (int p = 1; p < localizer->count(); ++p) {
        LangPack* pack = localizer->pack(p);
        for (int i = 0; i < english->count(); ++i) {
            const int32_t id = english->idAt(i);
            if (std::find(std::begin(sameEverywhere), std::end(sameEverywhere), id) != std::end(sameEverywhere))
                continue;
            const bool allowed = std::any_of(std::begin(sameInLanguage), std::end(sameInLanguage), [&](const Same& s) {
                return s.id == id && pack->tagName().equals(s.tag);
            });
            const StrBuffer* text = pack->find(id);
            ASSERT_NE(text, nullptr);
            if (!allowed) {
                EXPECT_FALSE(text->equals(english->find(id)->view()))
                    << utf8(pack->engName()) << " " << id << " is the English text \"" << utf8(*text) << "\"";
            }
        }
    }
}

// A text with a field keeps it in every language, or the name never shows.
TEST_F(ShippedTable, FieldsSurviveTranslation)
{
    for (int p = 0; p < localizer->count(); ++p) {
        LangPack* pack = localizer->pack(p);
        const StrBuffer* note = pack->find(2100001000);
        ASSERT_NE(note, nullptr) << utf8(pack->engName());
        EXPECT_EQ(note->indexOf(u"*AppName*"), note->lastIndexOf(u"*AppName*")) << utf8(pack->engName());
        EXPECT_GE(note->indexOf(u"*AppName*"), 0) << utf8(pack->engName()) << ": " << utf8(*note);
    }
}

TEST_F(ShippedTable, AddressesStartWithTheBuildsWebBase)
{
    localizer->select(u"English");
    for (int32_t address : {101000, 108000, 108200, 108500, 500003, 500004, 500006, 500007, 500100}) {
        const std::string text = utf8(localizer->text(address));
        EXPECT_EQ(text.rfind(PURGO_WEB_BASE, 0), 0u) << address << ": " << text;
    }
}

TEST_F(ShippedTable, YesButtonAndCaptionsKeepTheirSpaces)
{
    localizer->select(u"English");
    EXPECT_EQ(utf8(localizer->text(400330)), "       Yes       ");
    for (int32_t caption : {2001000, 2002000, 2003000, 2004000, 2005000, 2006100}) {
        const StrBuffer& text = localizer->text(caption);
        ASSERT_FALSE(text.isEmpty()) << caption;
        EXPECT_EQ(text[text.length() - 1], u' ') << caption << ": \"" << utf8(text) << "\"";
    }
}

}  // namespace

namespace {

// Every text of every pack, by id and key, as a Localizer holds them.
std::vector<std::string> allTexts(Localizer& localizer)
{
    std::vector<std::string> texts;
    for (int i = 0; i < localizer.count(); ++i) {
        LangPack& pack = *localizer.pack(i);
        texts.push_back(utf8(pack.engName()) + " has " + std::to_string(pack.count()));
        for (int k = 0; k < pack.count(); ++k)
            texts.push_back(utf8(pack.engName()) + " " + std::to_string(pack.idAt(k)) + ": " +
                            utf8(*pack.find(pack.idAt(k))));
    }
    return texts;
}

}  // namespace

// The program's way: the texts of the language it shows (and English) read at
// once, another language's when it is chosen, each the same as a table read
// whole would give.
TEST_F(ShippedTable, ATableReadLanguageByLanguageReadsTheSame)
{
    const auto data = s::platform::findResource(u"IDR_XML", 130);
    Localizer lazy;
    lazy.loadTable(std::string_view(reinterpret_cast<const char*>(data.data), data.size), 10);
    ASSERT_EQ(lazy.count(), localizer->count());
    int filled = 0;
    for (int i = 0; i < lazy.count(); ++i)
        filled += lazy.pack(i)->isFilled() ? 1 : 0;
    EXPECT_LE(filled, 2) << "the current language and English only";
    EXPECT_TRUE(lazy.findByEnglishName(u"English")->isFilled());
    EXPECT_EQ(utf8(lazy.englishText(400330)), "       Yes       ");

    lazy.select(u"Japanese");
    EXPECT_EQ(utf8(lazy.text(400330)), utf8(localizer->findByEnglishName(u"Japanese")->find(400330)
                                                ? *localizer->findByEnglishName(u"Japanese")->find(400330)
                                                : StrBuffer()));
    const std::vector<std::string> whole = allTexts(*localizer);
    const std::vector<std::string> byLanguage = allTexts(lazy);
    ASSERT_EQ(byLanguage.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i)
        ASSERT_EQ(byLanguage[i], whole[i]) << "row " << i;
}

// The table read language by language (its bytes scanned for the wanted
// texts, or parsed whole when it has another shape) against the same table
// read whole, for every language, in the program's shape and in shapes the
// scan must leave to the parser.
TEST(LazyTable, EveryShapeReadsAsTheWholeTableReads)
{
    const std::string small(kSmallTable, sizeof(kSmallTable) - 1);
    const auto with = [&small](const std::string& from, const std::string& to) {
        std::string table = small;
        const std::size_t at = table.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return table.replace(at, from.size(), to);
    };
    struct Case {
        const char* name;
        std::string table;
    };
    const Case cases[] = {
        {"the program's shape", small},
        {"a keyed entry and an escaped id",
         with(R"(<entry id="6">)", R"(<entry id="k.&amp;"><eng>K</eng><deu>L</deu></entry>
    <entry id="6">)")},
        {"a self-closed text", with("<deu></deu>", "<deu/>")},
        {"a self-closed entry", with(R"(<entry id="8">)", R"(<entry id="77"/><entry id="8">)")},
        {"a first text in no known language",
         with(R"(<entry id="6"><eng>C</eng>)", R"(<entry id="6"><xxx>n</xxx><eng>C</eng>)")},
        {"the languages in another order", with("<eng>A</eng><deu>B</deu>", "<deu>B</deu><eng>A</eng>")},
        {"a comment among the texts", with("<eng>A</eng>", "<!-- c --><eng>A</eng>")},
        {"an attribute on a text", with("<deu>B</deu>", R"(<deu x="1">B</deu>)")},
        {"a text element holding an element", with("<deu>B</deu>", "<deu>B<b>x</b></deu>")},
        {"something else among the entries", with(R"(<entry id="8">)", R"(<note>n</note><entry id="8">)")},
        {"an entries element left open", small.substr(0, small.find("</entries>"))},
        {"a NUL in an entry", with("<eng>A</eng>", std::string("<eng>A\0</eng>", 14))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = s::thread::Pooled<s::xml::Node>::take();
        root->parseUtf8(c.table);
        Localizer whole;
        whole.load(*root, 10);
        Localizer lazy;
        lazy.loadTable(c.table, 10);
        ASSERT_EQ(lazy.count(), whole.count());
        const std::vector<std::string> expected = allTexts(whole);
        const std::vector<std::string> read = allTexts(lazy);
        ASSERT_EQ(read.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(read[i], expected[i]) << "row " << i;
        for (int i = 0; i < whole.count(); ++i) {
            const StrBuffer* mine = lazy.pack(i)->findKeyed(u"k.&");
            const StrBuffer* theirs = whole.pack(i)->findKeyed(u"k.&");
            ASSERT_EQ(mine != nullptr, theirs != nullptr) << utf8(whole.pack(i)->engName());
            if (mine) {
                EXPECT_EQ(utf8(*mine), utf8(*theirs)) << utf8(whole.pack(i)->engName());
            }
        }
    }
}

TEST(LazyTable, VenetianFilledLaterGetsTheOldLetterBeforeVista)
{
    const std::string_view table(kSmallTable, sizeof(kSmallTable) - 1);
    for (const auto& [major, expected] :
         {std::pair<unsigned, const char*>{5, "\xC5\x82use"}, std::pair<unsigned, const char*>{10, "\xC6\x9Ause"}}) {
        Localizer lazy;
        lazy.loadTable(table, major);
        ASSERT_FALSE(lazy.findByEnglishName(u"Venetian")->isFilled()) << major;
        lazy.select(u"Venetian");
        EXPECT_EQ(utf8(lazy.text(11)), expected) << "Windows " << major;
        EXPECT_EQ(utf8(lazy.text(5)), "A") << "the first text stands in for a missing one";
    }
}
