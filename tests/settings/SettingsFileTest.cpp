// The settings store on the platform's files: natively the in-memory file
// system, under Wine real files in a scratch folder.
#include "settings/MappedData.h"

#include "tests/base/TextPrint.h"
#include "tests/support/HeldFile.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using s::str::StrBuffer;
using s::xml::MappedDataHandle;
using testing_platform::HeldFile;
using testing_platform::ScratchFolder;
using testing_text::utf8;

// While another program holds the file, a save cannot replace it: the save
// fails after the new content was written to the side, and the old file
// stays whole. Once the file is free, the next change writes everything.
TEST(SettingsFile, ASaveThatFailsHalfWayLeavesTheOldFile)
{
    ScratchFolder scratch;
    const StrBuffer path = scratch.join(u"SaveData.xml");
    const std::string old = R"(<savedata><CustomItems NumOfCustom="1"><_0 ID="Custom1"></_0></CustomItems></savedata>)";
    scratch.putFile(u"SaveData.xml", old);
    MappedDataHandle store = s::xml::openFileStore(path);
    EXPECT_EQ(store->getS32(u"CustomItems", u"NumOfCustom", 0), 1);
    store->setAutoSave(true);
    {
        HeldFile held(path);
        ASSERT_TRUE(held.held());
        store->setS32(u"CustomItems", u"NumOfCustom", 0);
        store->removeSection(u"CustomItems\\_0");
        EXPECT_FALSE(store->save());
    }
    std::string onDisk;
    ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
    EXPECT_EQ(onDisk, old);
    EXPECT_FALSE(scratch.readBack(u"SaveData.xml.new", onDisk)) << "no temporary file stays";
    EXPECT_EQ(store->getS32(u"CustomItems", u"NumOfCustom", 5), 0) << "the value stays in memory";

    store->setString(u"Skin", u"", u"Blue");
    ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
    EXPECT_EQ(onDisk, R"(<savedata><CustomItems NumOfCustom="0"></CustomItems><Skin>Blue</Skin></savedata>)");
}

// A file that another program holds while the store opens it cannot be read;
// the store then never replaces it with its defaults.
TEST(SettingsFile, AFileHeldAtStartIsNeverOverwritten)
{
    ScratchFolder scratch;
    const StrBuffer path = scratch.join(u"SaveData.xml");
    const std::string old = R"(<savedata><Skin>Blue</Skin></savedata>)";
    scratch.putFile(u"SaveData.xml", old);
    MappedDataHandle store;
    {
        HeldFile held(path);
        ASSERT_TRUE(held.held());
        store = s::xml::openFileStore(path);
    }
    EXPECT_EQ(store->getString(u"Skin", u"", u"Classic LG"), u"Classic LG");
    store->setAutoSave(true);
    store->setString(u"Skin", u"", u"Green");
    EXPECT_EQ(store->getString(u"Skin", u""), u"Green");
    std::string onDisk;
    ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
    EXPECT_EQ(onDisk, old);
}

// A damaged file on the platform's disk: its bytes, those that are no UTF-8
// too, come back unchanged in the copy that the first save makes beside it.
TEST(SettingsFile, ADamagedFileIsCopiedByteForByteBeforeItIsReplaced)
{
    ScratchFolder scratch;
    const StrBuffer path = scratch.join(u"SaveData.xml");
    // A mark, a Latin-1 byte, and the zeros a crash pads a file with.
    const char raw[] = "\xEF\xBB\xBF<savedata><Language>Fran\xE7"
                       "ais</Language>\r\n<CustomItems NumOfCustom=\"3\"><_0 ID=\"Custom1\"\0\0\0\0";
    const std::string damaged(raw, sizeof raw - 1);
    scratch.putFile(u"SaveData.xml", damaged);
    MappedDataHandle store = s::xml::openFileStore(path);
    EXPECT_EQ(store->damagedLine(), 1) << "the Latin-1 byte on the first line";
    EXPECT_EQ(store->getS32(u"CustomItems", u"NumOfCustom", 0), 3);
    store->setAutoSave(true);
    store->setString(u"Skin", u"", u"Blue");
    const StrBuffer copy = store->damagedCopy();
    ASSERT_FALSE(copy.isEmpty());
    std::string kept;
    ASSERT_TRUE(scratch.readBack(copy.view().substr(static_cast<std::size_t>(scratch.path().length()) + 1), kept))
        << utf8(copy.view());
    EXPECT_EQ(kept, damaged);
    std::string onDisk;
    ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
    EXPECT_NE(onDisk, damaged);
    EXPECT_EQ(s::xml::openFileStore(path)->getString(u"Skin", u""), u"Blue");
}

// What a power cut between the two steps of a save leaves: the temporary file
// beside the real one. It is not read, and the next save removes it.
TEST(SettingsFile, ATemporaryFileOfAnInterruptedSaveIsIgnoredAndRemoved)
{
    ScratchFolder scratch;
    const StrBuffer path = scratch.join(u"SaveData.xml");
    scratch.putFile(u"SaveData.xml", "<savedata><Skin>Blue</Skin></savedata>");
    scratch.putFile(u"SaveData.xml.new", "<savedata><Skin>Gr");
    MappedDataHandle store = s::xml::openFileStore(path);
    EXPECT_EQ(store->getString(u"Skin", u""), u"Blue");
    EXPECT_EQ(store->damagedLine(), 0);
    store->setAutoSave(true);
    store->setString(u"Language", u"", u"Dansk");
    std::string bytes;
    EXPECT_FALSE(scratch.readBack(u"SaveData.xml.new", bytes));
    ASSERT_TRUE(scratch.readBack(u"SaveData.xml", bytes));
    EXPECT_EQ(bytes, "<savedata><Skin>Blue</Skin><Language>Dansk</Language></savedata>");
}

}  // namespace
