// The settings store's rules: addressing, conversions, text forms, the
// section cache, auto-save and batches, damaged files. Each case runs on a
// fresh disk of the in-memory machine, where a test can make the faults of a
// real disk.
#include "settings/MappedData.h"

#include "platform/fake/FakeFileSystem.h"

#include "tests/base/TextPrint.h"
#include "tests/support/FakeDisk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace {

using s::str::StrBuffer;
using s::xml::MappedDataHandle;
using testing_text::utf8;

constexpr std::u16string_view kPath = u"C:\\Program Files\\Oxle Purgo\\savedata\\SaveData.xml";

class Store : public ::testing::Test {
protected:
    Store() { files.addFolder(u"C:\\Program Files\\Oxle Purgo"); }

    MappedDataHandle open(std::string_view content)
    {
        files.seedFile(kPath, content);
        return s::xml::openFileStore(kPath, files);
    }
    MappedDataHandle openMissing() { return s::xml::openFileStore(kPath, files); }
    std::string onDisk() const { return files.fileContents(kPath); }

    testing_platform::FakeDisk files;
};

TEST_F(Store, AnEmptyStoreGivesDefaultsAndCreatesNothing)
{
    MappedDataHandle store = openMissing();
    EXPECT_EQ(store->getS32(u"MainWindow\\View", u"Transparency", 90), 90);
    EXPECT_TRUE(store->getBool(u"MainWindow\\View", u"EasyDrag", true));
    EXPECT_EQ(store->getString(u"Skin", u"", u"Classic LG"), u"Classic LG");
    EXPECT_EQ(store->getS64(u"MainWindow\\View", u"RandomSkinLastChange", -7), -7);
    EXPECT_EQ(store->getBytes(u"MainWindow", u"Blob")->count(), 0);
    EXPECT_FALSE(store->exists(u"MainWindow\\View", u"Transparency"));
    EXPECT_FALSE(store->findSection(u"MainWindow"));
    EXPECT_FALSE(store->remove(u"MainWindow\\View", u"Transparency"));
    store->removeSection(u"MainWindow\\View");
    EXPECT_EQ(store->toString(), u"<savedata></savedata>") << "reading creates no element";
    EXPECT_FALSE(store->autoSave());
    EXPECT_EQ(files.writeCount(), 0);
    EXPECT_FALSE(files.folderExists(u"C:\\Program Files\\Oxle Purgo\\savedata"));

    MappedDataHandle fresh = openMissing();
    fresh->setS32(u"MainWindow\\View", u"Transparency", 100);
    EXPECT_FALSE(files.hasFile(kPath)) << "auto-save is off until the program turns it on";
    fresh->setAutoSave(true);
    fresh->setS32(u"MainWindow\\View", u"Transparency", 100);
    EXPECT_EQ(onDisk(), "<savedata><MainWindow><View Transparency=\"100\"></View></MainWindow></savedata>")
        << "the folder savedata is made on the way";
}

TEST_F(Store, SpellingsOfOneSectionAndNameAddressTheSameValue)
{
    MappedDataHandle store = openMissing();
    store->setBool(u"MainWindow\\View", u"KeepOnTop", true);
    struct Spelling {
        const char16_t* section;
        const char16_t* name;
    };
    const Spelling spellings[] = {
        {u"MainWindow\\View", u"KeepOnTop"},     {u"mainwindow\\view", u"keepontop"},
        {u"MAINWINDOW/VIEW", u"KEEPONTOP"},      {u"MainWindow/View/", u"KeepOnTop"},
        {u"\\MainWindow\\\\View", u"keepOnTop"}, {u"/mainWindow//VIEW\\", u"KeepOntop"},
    };
    for (const Spelling& s : spellings) {
        SCOPED_TRACE(utf8(s.section) + " " + utf8(s.name));
        // Another section in between, so that the cache does not answer.
        EXPECT_EQ(store->getS32(u"Other", u"x", 3), 3);
        EXPECT_TRUE(store->exists(s.section, s.name));
        EXPECT_TRUE(store->getBool(s.section, s.name, false));
        store->setBool(s.section, s.name, true);
    }
    EXPECT_EQ(store->toString(), u"<savedata><MainWindow><View KeepOntop=\"1\"></View></MainWindow></savedata>")
        << "one element per section, one value per name (written with the last spelling)";

    // "items\" is the section "items"; its text is the value with the empty name.
    store->setBool(u"items\\", u"", true);
    EXPECT_TRUE(store->exists(u"ITEMS", u""));
    EXPECT_EQ(store->getString(u"items", u""), u"1");
    store->setString(u"", u"Loose", u"at the root");
    EXPECT_EQ(store->getString(u"\\", u"loose"), u"at the root");
}

TEST_F(Store, ARewrittenValueMovesBehindTheOthers)
{
    MappedDataHandle store = open(R"(<savedata><View X="1" Y="2" Width="3"></View></savedata>)");
    store->setS32(u"View", u"x", 5);
    EXPECT_EQ(store->toString(), uR"(<savedata><View Y="2" Width="3" x="5"></View></savedata>)");
    EXPECT_EQ(store->getS32(u"View", u"X", 0), 5);

    // A hand-edited file may repeat a name or hold a second run of text; the
    // new value must be the one read back.
    MappedDataHandle edited =
        open(R"(<savedata><View X="1" X="2"></View><Language>English<b></b>Deutsch</Language></savedata>)");
    edited->setS32(u"View", u"X", 7);
    EXPECT_EQ(edited->getS32(u"View", u"X", 0), 7);
    edited->setString(u"Language", u"", u"Italiano");
    EXPECT_EQ(edited->getString(u"Language", u""), u"Italiano");
    EXPECT_TRUE(edited->remove(u"View", u"x"));
    EXPECT_FALSE(edited->exists(u"View", u"X")) << "every copy of the name goes";
}

// Stored text, read by every kind of getter. The defaults differ from every
// converted value: a present value is always converted, the default only
// stands in for a missing one.
TEST_F(Store, PresentValuesAlwaysConvertTheirText)
{
    struct Row {
        const char* stored;
        bool asBool;
        int32_t asS32;
        uint32_t asU32;
        int64_t asS64;
        int8_t asS8;
        uint16_t asU16;
        double asDouble;
    };
    const Row rows[] = {
        {"1", true, 1, 1, 1, 1, 1, 1},
        {"0", false, 0, 0, 0, 0, 0, 0},
        {"true", true, 0, 0, 0, 0, 0, 0},
        {"True", false, 0, 0, 0, 0, 0, 0},
        {"TRUE", false, 0, 0, 0, 0, 0, 0},
        {"truest", true, 0, 0, 0, 0, 0, 0},
        {"yes", false, 0, 0, 0, 0, 0, 0},
        {"10", true, 10, 10, 10, 10, 10, 10},
        {"1abc", true, 1, 1, 1, 1, 1, 1},
        {"abc", false, 0, 0, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0, 0, 0},
        {" -12x", false, -12, 4294967284u, -12, -12, 65524, -12},
        {"300", false, 300, 300, 300, 44, 300, 300},
        {"4294967296", false, INT32_MAX, UINT32_MAX, 4294967296LL, -1, 65535, 4294967296.0},
        {"-9223372036854775809", false, INT32_MIN, UINT32_MAX, INT64_MIN, 0, 65535, -9223372036854775809.0},
        {"2.75", false, 2, 2, 2, 2, 2, 2.75},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        MappedDataHandle store =
            open(std::string("<savedata><S V=\"") + row.stored + "\">" + row.stored + "</S></savedata>");
        for (const char16_t* name : {u"V", u"v", u""}) {
            SCOPED_TRACE(utf8(name));
            if (*row.stored == 0 && *name == 0)
                continue;  // an element without text has no value ""
            EXPECT_EQ(store->getBool(u"S", name, !row.asBool), row.asBool);
            EXPECT_EQ(store->getS32(u"S", name, 77), row.asS32);
            EXPECT_EQ(store->getU32(u"S", name, 77), row.asU32);
            EXPECT_EQ(store->getS64(u"S", name, 77), row.asS64);
            EXPECT_EQ(store->getS8(u"S", name, 77), row.asS8);
            EXPECT_EQ(store->getU16(u"S", name, 77), row.asU16);
            EXPECT_DOUBLE_EQ(store->getDouble(u"S", name, 77), row.asDouble);
            EXPECT_FLOAT_EQ(store->getFloat(u"S", name, 77), static_cast<float>(row.asDouble));
        }
    }
}

TEST_F(Store, SettersWriteTheTextForms)
{
    struct Row {
        const char* what;
        void (*set)(s::map::IMappedData&);
        const char16_t* text;
    };
    const Row rows[] = {
        {"bool true", [](s::map::IMappedData& d) { d.setBool(u"S", u"V", true); }, u"1"},
        {"bool false", [](s::map::IMappedData& d) { d.setBool(u"S", u"V", false); }, u"0"},
        {"s8", [](s::map::IMappedData& d) { d.setS8(u"S", u"V", -128); }, u"-128"},
        {"s16", [](s::map::IMappedData& d) { d.setS16(u"S", u"V", -32768); }, u"-32768"},
        {"s32", [](s::map::IMappedData& d) { d.setS32(u"S", u"V", INT32_MIN); }, u"-2147483648"},
        {"s64", [](s::map::IMappedData& d) { d.setS64(u"S", u"V", INT64_MIN); }, u"-9223372036854775808"},
        {"u8", [](s::map::IMappedData& d) { d.setU8(u"S", u"V", 255); }, u"255"},
        {"u16", [](s::map::IMappedData& d) { d.setU16(u"S", u"V", 65535); }, u"65535"},
        {"u32", [](s::map::IMappedData& d) { d.setU32(u"S", u"V", UINT32_MAX); }, u"4294967295"},
        {"u64", [](s::map::IMappedData& d) { d.setU64(u"S", u"V", UINT64_MAX); }, u"18446744073709551615"},
        {"double", [](s::map::IMappedData& d) { d.setDouble(u"S", u"V", 1.5); }, u"1.500000"},
        {"float", [](s::map::IMappedData& d) { d.setFloat(u"S", u"V", -0.25f); }, u"-0.250000"},
        {"bytes",
         [](s::map::IMappedData& d) {
             const uint8_t bytes[] = {0x00, 0xAB, 0x10, 0xFF};
             d.setBytes(u"S", u"V", bytes, 4);
         },
         u"00ab10ff"},
        {"string", [](s::map::IMappedData& d) { d.setString(u"S", u"V", u"a \"b\" <c> & d"); },
         u"a &quot;b&quot; &lt;c> &amp; d"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MappedDataHandle store = openMissing();
        row.set(*store);
        EXPECT_EQ(store->toString(), u"<savedata><S V=\"" + std::u16string(row.text) + u"\"></S></savedata>");
    }

    MappedDataHandle store = openMissing();
    const uint8_t bytes[] = {0x00, 0xAB, 0x10, 0xFF};
    store->setBytes(u"S", u"B", bytes, 4);
    auto read = store->getBytes(u"s", u"b");
    ASSERT_EQ(read->count(), 4);
    EXPECT_EQ(read->get(1), 0xAB);
    EXPECT_EQ(read->get(3), 0xFF);
    store->setU64(u"S", u"U", UINT64_MAX);
    EXPECT_EQ(store->getU64(u"S", u"U", 0), UINT64_MAX);

    // Binary values belong to the registry store; the file store keeps none.
    char buffer[4] = {1, 2, 3, 4};
    store->setBinary(u"S", u"Bin", buffer, 4);
    EXPECT_EQ(store->getBinary(u"S", u"Bin", buffer, 4), 0);
    EXPECT_FALSE(store->exists(u"S", u"Bin"));
    bool flag = true;
    EXPECT_EQ(store->getString(u"S", u"missing", u"dflt", &flag, 1), u"dflt");
    EXPECT_FALSE(flag) << "the out flag is cleared";
}

TEST_F(Store, TextWithLineBreaksAndMarkupSurvivesTheFile)
{
    const std::u16string texts[] = {
        u"line one\r\nline two\n",
        u"<savedata> & </savedata>",
        u"  \"quoted\"\t and spaced  ",
        u"Nul \u0000 inside, \u00E9\u65E5\u672C and \U0001F600",
    };
    MappedDataHandle store = openMissing();
    store->setAutoSave(true);
    for (int i = 0; i < 4; ++i) {
        StrBuffer section(u"Texts\\_");
        section.appendS32(i);
        store->setString(section, u"", texts[i]);
        store->setString(section, u"Value", texts[i]);
    }
    EXPECT_EQ(onDisk().find('\n'), std::string::npos) << "one line";
    EXPECT_EQ(onDisk().find('\0'), std::string::npos);

    MappedDataHandle reopened = openMissing();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing_text::units(texts[i]));
        StrBuffer section(u"texts/_");
        section.appendS32(i);
        EXPECT_EQ(reopened->getString(section, u""), texts[i]);
        EXPECT_EQ(reopened->getString(section, u"value"), texts[i]);
    }
    EXPECT_EQ(reopened->toString(), store->toString());
}

TEST_F(Store, TheFileKeepsItsOwnRootName)
{
    MappedDataHandle store = open("<config><Skin>Blue&#160;Sky</Skin></config>");
    EXPECT_EQ(store->getString(u"Skin", u""), u"Blue Sky");
    store->setAutoSave(true);
    store->setString(u"Language", u"", u"Deutsch");
    EXPECT_EQ(onDisk(), "<config><Skin>Blue&#160;Sky</Skin><Language>Deutsch</Language></config>");

    // Nothing that makes an element: a new document.
    for (const char* junk : {"", "\xEF\xBB\xBF", "no markup at all", "<", "<savedata", "\x89PNG\r\n\x1A\n\0\0<<"}) {
        SCOPED_TRACE(junk);
        MappedDataHandle fresh = open(junk);
        fresh->setAutoSave(true);
        fresh->setString(u"Skin", u"", u"Classic LG");
        EXPECT_EQ(onDisk(), "<savedata><Skin>Classic&#160;LG</Skin></savedata>");
    }
}

TEST_F(Store, RemovingASectionTakesItsSubtreeAndTheCachedSelection)
{
    MappedDataHandle store = openMissing();
    store->setBool(u"items\\Firefox", u"", true);
    store->setBool(u"items\\Firefox", u"Cache", false);
    store->setBool(u"items\\Opera", u"", true);
    EXPECT_TRUE(store->findSection(u"items\\firefox"));  // now the cached selection

    store->removeSection(u"ITEMS\\FIREFOX\\");
    EXPECT_FALSE(store->exists(u"items\\Firefox", u""));
    EXPECT_FALSE(store->findSection(u"items\\Firefox"));
    EXPECT_TRUE(store->getBool(u"items\\Firefox", u"Cache", true)) << "gone with its section";
    EXPECT_TRUE(store->getBool(u"items\\Opera", u"", false));
    store->setBool(u"items\\Firefox", u"Cache", true);
    EXPECT_EQ(store->toString(),
              uR"(<savedata><items><Opera>1</Opera><Firefox Cache="1"></Firefox></items></savedata>)");

    store->removeSection(u"");
    store->removeSection(u"\\/");
    store->removeSection(u"missing\\items");
    EXPECT_TRUE(store->findSection(u"items")) << "no component, or a missing parent: nothing goes";
    store->removeSection(u"items");
    EXPECT_EQ(store->toString(), u"<savedata></savedata>");
}

TEST_F(Store, AutoSaveWritesEveryChangeAndABatchWritesOnce)
{
    MappedDataHandle store = openMissing();
    store->setS32(u"A", u"x", 1);
    EXPECT_EQ(files.writeCount(), 0);
    store->setAutoSave(true);
    EXPECT_TRUE(store->autoSave());
    store->setS32(u"A", u"y", 2);
    EXPECT_EQ(files.writeCount(), 1);
    EXPECT_EQ(onDisk(), R"(<savedata><A x="1" y="2"></A></savedata>)") << "earlier changes go with the first later one";
    EXPECT_FALSE(store->remove(u"A", u"z"));
    EXPECT_EQ(files.writeCount(), 1) << "nothing removed, nothing written";
    EXPECT_TRUE(store->remove(u"A", u"x"));
    EXPECT_EQ(files.writeCount(), 2);
    store->removeSection(u"A");
    EXPECT_EQ(files.writeCount(), 3);

    {
        s::map::SaveBatch batch(*store);
        for (int i = 0; i < 50; ++i)
            store->setS32(u"B", u"v", i);
        {
            s::map::SaveBatch inner(*store);
            store->setBool(u"B", u"w", true);
        }
        EXPECT_EQ(files.writeCount(), 3) << "nothing until the outer batch ends";
    }
    EXPECT_EQ(files.writeCount(), 4);
    EXPECT_EQ(onDisk(), R"(<savedata><B v="49" w="1"></B></savedata>)");
    {
        s::map::SaveBatch batch(*store);
        EXPECT_EQ(store->getS32(u"B", u"v", 0), 49);
    }
    EXPECT_EQ(files.writeCount(), 4) << "a batch without changes writes nothing";
}

// A save that fails half-way (the disk is full) leaves the file as it was;
// the store keeps the new values, and the next save writes them all.
TEST_F(Store, AFailedSaveLeavesTheFileAndKeepsTheValues)
{
    MappedDataHandle store =
        open(R"(<savedata><Skin>Classic</Skin><CustomItems NumOfCustom="2"></CustomItems></savedata>)");
    const std::string old = onDisk();
    store->setAutoSave(true);
    files.setDiskSpace(static_cast<int>(old.size()) / 2);
    store->setString(u"Skin", u"", u"Blue");
    EXPECT_EQ(onDisk(), old);
    EXPECT_FALSE(files.hasFile(std::u16string(kPath) + u".new"));
    EXPECT_EQ(store->getString(u"Skin", u""), u"Blue");
    EXPECT_FALSE(store->save());

    files.setDiskSpace(-1);
    store->setS32(u"CustomItems", u"NumOfCustom", 3);
    EXPECT_EQ(onDisk(), R"(<savedata><Skin>Blue</Skin><CustomItems NumOfCustom="3"></CustomItems></savedata>)");
}

// Names that the file cannot carry (from a hand-edited custom group id) are
// not written: the file read back holds every other value unchanged.
TEST_F(Store, NamesTheFileCannotCarryAreNotWritten)
{
    MappedDataHandle store = openMissing();
    store->setAutoSave(true);
    store->setBool(u"items\\Firefox", u"Cache", true);
    const std::u16string badSections[] = {u"items\\a b", u"items\\a>b", u"items\\!--x",
                                          std::u16string(u"items\\a\0b", 9), u"items\\tab\there"};
    const std::u16string badNames[] = {u"a b", u"a=b", u"a\"b", u"a/b", u"a>b", std::u16string(u"a\0b", 3), u"a\r\nb"};
    for (const std::u16string& section : badSections) {
        SCOPED_TRACE(testing_text::units(section));
        store->setBool(section, u"", true);
        store->setBool(section, u"x", true);
        EXPECT_FALSE(store->exists(section, u"x"));
    }
    for (const std::u16string& name : badNames) {
        SCOPED_TRACE(testing_text::units(name));
        store->setBool(u"items\\Firefox", name, false);
        store->setString(u"items\\Firefox", name, u"x");
    }
    store->setBool(u"items\\Opera", u"Cache", false);
    const std::u16string expected =
        uR"(<savedata><items><Firefox Cache="1"></Firefox><Opera Cache="0"></Opera></items></savedata>)";
    EXPECT_EQ(store->toString(), expected);
    EXPECT_EQ(openMissing()->toString(), expected);
    // Odd but harmless names are fine.
    store->setBool(u"items\\C++&\"Co\"", u"<id!&", true);
    EXPECT_TRUE(openMissing()->getBool(u"items\\c++&\"co\"", u"<ID!&", false));
}

// Damaged files load what can be read; writing afterwards gives a file that
// reads back with the new value.
TEST_F(Store, DamagedFilesLoadWhatCanBeRead)
{
    struct Row {
        const char* what;
        std::string content;
        const char16_t* language;  // the readable value, or nullptr
    };
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<a>";
    std::string huge = "<savedata><Language>Dansk</Language>";
    for (int i = 0; i < 20000; ++i)
        huge += "<items><G" + std::to_string(i) + " x=\"1\">1</G" + std::to_string(i) + "></items>";
    huge += "</savedata>";
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) & 0xFF);
    const Row rows[] = {
        {"truncated in a value", R"(<savedata><Language>Deutsch</Language><MainWindow><View X="5" Y=")", u"Deutsch"},
        {"truncated in a name", "<savedata><Language>Suomi</Language><Main", u"Suomi"},
        {"truncated in text", "<savedata><Language>Eesti</Language><Skin>Blu", u"Eesti"},
        {"no end tags", "<savedata><Language>Norsk<Skin>Blue", u"Norsk"},
        {"declaration and comments",
         "<?xml version=\"1.0\"?><!-- mine --><savedata><!-- x --><Language>Polski</Language></savedata>", u"Polski"},
        {"stray quotes and equals", R"(<savedata><View x=1 y z = "2"></View><Language>Magyar</Language></savedata>)",
         u"Magyar"},
        {"deep nesting", "<savedata><Language>Cymraeg</Language>" + deep, u"Cymraeg"},
        {"binary", binary, nullptr},
        {"huge", huge, u"Dansk"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MappedDataHandle store = open(row.content);
        const bool wellFormed = std::string_view(row.what) == "declaration and comments" || row.content == huge;
        EXPECT_EQ(store->damagedLine() == 0, wellFormed);
        if (row.language) {
            EXPECT_EQ(store->getString(u"Language", u""), row.language);
        }
        (void)store->getS32(u"MainWindow\\View", u"X", 0);
        (void)store->getS32(u"CustomItems", u"NumOfCustom", 0);
        store->setAutoSave(true);
        store->setString(u"Skin", u"", u"Classic LG");
        if (!wellFormed) {
            EXPECT_EQ(files.fileContents(store->damagedCopy().view()), row.content);
        }
        MappedDataHandle reopened = openMissing();
        EXPECT_EQ(reopened->getString(u"Skin", u""), u"Classic LG");
        if (row.language) {
            EXPECT_EQ(reopened->getString(u"Language", u""), row.language);
        }
    }
}

// The file is not well-formed: what could be read is used, and before the
// first save replaces the file, its bytes are kept beside it unchanged.
TEST_F(Store, ADamagedFileIsKeptByteForByteBeforeTheFirstSave)
{
    const std::string damaged = "<savedata><Language>Deutsch</Language>\n<CustomItems NumOfCustom=\"2\">"
                                "<_0 ID=\"Custom1\" Title=\"Mine\"></_0>\n<_1 ID=\"Custom2\" Tit";
    MappedDataHandle store = open(damaged);
    EXPECT_EQ(store->damagedLine(), 3);
    EXPECT_EQ(store->getString(u"Language", u""), u"Deutsch") << "what could be read is used";
    EXPECT_EQ(store->getS32(u"CustomItems", u"NumOfCustom", 0), 2);
    EXPECT_TRUE(store->damagedCopy().isEmpty()) << "nothing written yet";
    EXPECT_EQ(files.writeCount(), 0);

    store->setAutoSave(true);
    store->setString(u"Skin", u"", u"Blue");
    const StrBuffer copy = store->damagedCopy();
    const std::u16string prefix = u"C:\\Program Files\\Oxle Purgo\\savedata\\SaveData.damaged-";
    ASSERT_EQ(copy.view().substr(0, prefix.size()), prefix) << utf8(copy.view());
    // "yyyymmdd-hhmmss" (and "-n" when that second's name was taken).
    const std::u16string_view stamp = copy.view().substr(prefix.size());
    ASSERT_GE(stamp.size(), 19u) << utf8(copy.view());
    for (std::size_t k = 0; k < 15; ++k)
        EXPECT_TRUE(k == 8 ? stamp[k] == u'-' : stamp[k] >= u'0' && stamp[k] <= u'9') << utf8(copy.view());
    EXPECT_EQ(stamp.substr(stamp.size() - 4), u".xml");
    EXPECT_EQ(files.fileContents(copy.view()), damaged) << "the copy is the file as it was";
    EXPECT_EQ(onDisk(), "<savedata><Language>Deutsch</Language><CustomItems NumOfCustom=\"2\"><_0 ID=\"Custom1\" "
                        "Title=\"Mine\"></_0></CustomItems><Skin>Blue</Skin></savedata>");

    const int writes = files.writeCount();
    store->setString(u"Skin", u"", u"Green");
    EXPECT_EQ(store->damagedCopy(), copy) << "one copy per damaged file";
    EXPECT_EQ(files.writeCount(), writes + 1);
    EXPECT_EQ(openMissing()->damagedLine(), 0) << "the file written is well-formed";
}

TEST_F(Store, EachDamagedFileGetsACopyOfItsOwn)
{
    // Two damaged files in a row, likely in the same second: the second copy
    // never replaces the first.
    const std::string first = "<savedata><a>";
    const std::string second = "";  // an empty file holds no document either
    MappedDataHandle one = open(first);
    one->setAutoSave(true);
    one->setBool(u"x", u"y", true);
    MappedDataHandle two = open(second);
    EXPECT_EQ(two->damagedLine(), 1);
    two->setAutoSave(true);
    two->setBool(u"x", u"y", true);
    ASSERT_FALSE(one->damagedCopy().isEmpty());
    ASSERT_FALSE(two->damagedCopy().isEmpty());
    EXPECT_NE(one->damagedCopy(), two->damagedCopy());
    EXPECT_EQ(files.fileContents(one->damagedCopy().view()), first);
    EXPECT_TRUE(files.hasFile(two->damagedCopy().view()));
    EXPECT_EQ(files.fileContents(two->damagedCopy().view()), second);

    const s::xml::CopyStamp stamp{2024, 1, 31, 23, 5, 9};
    EXPECT_EQ(s::xml::damagedCopyPath(u"C:\\P\\savedata\\SaveData.xml", stamp),
              u"C:\\P\\savedata\\SaveData.damaged-20240131-230509.xml");
    EXPECT_EQ(s::xml::damagedCopyPath(u"C:\\P.d\\settings", stamp, 3),
              u"C:\\P.d\\settings.damaged-20240131-230509-3.xml");
}

TEST_F(Store, ADamagedFileWhoseCopyCannotBeWrittenIsNeverOverwritten)
{
    const std::string damaged = "<savedata><Skin>Blue</Skin><CustomItems NumOfCustom=\"1\"><_0 ID=";
    MappedDataHandle store = open(damaged);
    files.setWritesFail(true);
    store->setAutoSave(true);
    store->setString(u"Skin", u"", u"Green");
    EXPECT_FALSE(store->save());
    files.setWritesFail(false);
    store->setString(u"Skin", u"", u"Red");
    EXPECT_FALSE(store->save()) << "still not: the run's values stay in memory";
    EXPECT_EQ(onDisk(), damaged);
    EXPECT_TRUE(store->damagedCopy().isEmpty());
    EXPECT_EQ(store->getString(u"Skin", u""), u"Red");
}

// A save goes to "SaveData.xml.new" first and then takes the file's place in
// one rename. A power cut between the two leaves that temporary file beside
// the real one: it is never read, and the next save removes it (also when it
// is read-only, which CREATE_ALWAYS would refuse).
TEST_F(Store, ATemporaryFileLeftByAnInterruptedSaveIsIgnoredAndRemoved)
{
    const std::u16string temporary = std::u16string(kPath) + u".new";
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "plain");
        files.seedFile(temporary, "<savedata><Skin>Half");
        if (readOnly)
            s::platform::fakeFileSystem().setAttributes(temporary.c_str(), s::platform::kFileAttributeReadOnly);
        MappedDataHandle store = open("<savedata><Skin>Blue</Skin></savedata>");
        EXPECT_EQ(store->getString(u"Skin", u""), u"Blue");
        EXPECT_EQ(store->damagedLine(), 0);
        store->setAutoSave(true);
        store->setString(u"Language", u"", u"Dansk");
        EXPECT_TRUE(store->save());
        EXPECT_FALSE(files.hasFile(temporary));
        EXPECT_EQ(onDisk(), "<savedata><Skin>Blue</Skin><Language>Dansk</Language></savedata>");
    }
}

// A file that exists but cannot be read (held by another program, locked by
// a scanner at logon) must not be replaced by an empty store's defaults.
TEST_F(Store, AFileThatCannotBeReadIsNeverOverwritten)
{
    files.seedFile(kPath, R"(<savedata><CustomItems NumOfCustom="4"></CustomItems></savedata>)");
    const std::string old = onDisk();
    for (bool inUse : {true, false}) {
        SCOPED_TRACE(inUse ? "in use" : "unreadable");
        if (inUse)
            files.setInUse(kPath, true);
        else
            files.setUnreadable(kPath, true);
        MappedDataHandle store = openMissing();
        EXPECT_EQ(store->getS32(u"CustomItems", u"NumOfCustom", 0), 0);
        if (inUse)
            files.setInUse(kPath, false);  // free again, but the store knows nothing of its content
        store->setAutoSave(true);
        store->setS32(u"CustomItems", u"NumOfCustom", 0);
        EXPECT_FALSE(store->save());
        EXPECT_EQ(onDisk(), old);
        EXPECT_EQ(store->getS32(u"CustomItems", u"NumOfCustom", 9), 0) << "this run's values stay in memory";
        files.setUnreadable(kPath, false);
    }
}

// The window thread writes while the worker reads: each call is atomic, the
// section cache never hands one thread the other's selection.
TEST_F(Store, CallsFromTwoThreadsDoNotMixUp)
{
    MappedDataHandle store = openMissing();
    constexpr int kRounds = 2000;
    std::atomic<int> wrong{0};
    std::thread writer([&] {
        for (int i = 0; i < kRounds; ++i) {
            StrBuffer section(u"items\\W");
            section.appendS32(i % 17);
            store->setS32(section, u"v", i % 17);
            if (i % 97 == 0)
                store->removeSection(section);
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        StrBuffer section(u"items\\W");
        section.appendS32(i % 17);
        const int32_t v = store->getS32(section, u"v", i % 17);
        if (v != i % 17)
            ++wrong;
        store->setBool(u"Reader", u"r", (i & 1) != 0);
    }
    writer.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_TRUE(store->getBool(u"reader", u"R", false));
}

}  // namespace
