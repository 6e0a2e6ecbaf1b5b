// The user's keep list in the settings file: its section as written, read
// back, and what a damaged section still gives without costing the other
// settings.
#include "catalogue/KeepListStore.h"

#include "platform/FileIo.h"
#include "settings/MappedData.h"
#include "tests/base/TextPrint.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::KeepEntry;
using purgo::KeepEntryType;
using s::xml::MappedDataHandle;
using testing_text::utf8;

namespace {

class KeepListStore : public ::testing::Test {
protected:
    MappedDataHandle open(std::string_view content)
    {
        scratch.putFile(u"SaveData.xml", content);
        return reopen();
    }
    MappedDataHandle reopen() { return s::xml::openFileStore(scratch.join(u"SaveData.xml"), s::platform::fileIo()); }
    std::string onDisk() const
    {
        std::string bytes;
        scratch.readBack(u"SaveData.xml", bytes);
        return bytes;
    }

    testing_platform::ScratchFolder scratch;
};

std::string shown(const purgo::UserKeepList& list)
{
    std::string out;
    for (const KeepEntry& entry : list.entries())
        out += utf8(purgo::keepEntryTypeName(entry.type)) + " " + utf8(purgo::keepEntryText(entry)) + " @" +
               std::to_string(entry.added) + "\n";
    return out;
}

TEST_F(KeepListStore, WritesItsOwnSectionBesideTheOthersAndReadsItBack)
{
    MappedDataHandle store = open(R"(<savedata><Skin>Classic LG</Skin><items><G t="1">1</G></items>)"
                                  R"(<KeepList Count="9"><_0 Type="file" Path="C:\old"/></KeepList></savedata>)");
    purgo::UserKeepList list;
    ASSERT_EQ(list.add({KeepEntryType::File, u"C:\\Logs\\app & co.log", {}, 1765427400}),
              purgo::UserKeepList::Added::Added);
    ASSERT_EQ(list.add({KeepEntryType::Pattern, u"C:\\Cache", u"*.bin", 0}), purgo::UserKeepList::Added::Added);
    ASSERT_EQ(list.add({KeepEntryType::Value, u"HKCU\\Software\\App", u"Last Path", 86399}),
              purgo::UserKeepList::Added::Added);
    store->setAutoSave(true);
    purgo::writeKeepList(list, *store);

    // Saved as it was changed; the old section replaced whole, the others
    // untouched.
    EXPECT_EQ(onDisk(), R"(<savedata><Skin>Classic LG</Skin><items><G t="1">1</G></items>)"
                        R"(<KeepList Count="3">)"
                        R"(<_0 Type="file" Path="C:\Logs\app &amp; co.log" Added="2025-12-11T04:30:00Z"></_0>)"
                        R"(<_1 Type="pattern" Path="C:\Cache" Name="*.bin" Added="1970-01-01T00:00:00Z"></_1>)"
                        R"(<_2 Type="value" Path="HKEY_CURRENT_USER\Software\App" Name="Last Path" )"
                        R"(Added="1970-01-01T23:59:59Z"></_2>)"
                        R"(</KeepList></savedata>)");
    EXPECT_EQ(shown(purgo::readKeepList(*reopen())), shown(list));

    // An empty list leaves an empty section, so that a later start does not
    // read an older one.
    purgo::writeKeepList(purgo::UserKeepList(), *store);
    EXPECT_EQ(onDisk(), R"(<savedata><Skin>Classic LG</Skin><items><G t="1">1</G></items>)"
                        R"(<KeepList Count="0"></KeepList></savedata>)");
}

TEST_F(KeepListStore, ADamagedSectionLosesOnlyTheEntriesItCannotRead)
{
    struct Row {
        const char* name;
        const char* section;
        const char* expected;
    };
    const Row rows[] = {
        {"a count above the entries there",
         R"(<KeepList Count="2000000000"><_0 Type="folder" Path="C:\A" Added="2026-12-11T04:40:00Z"/>)"
         R"(<_2 Type="folder" Path="C:\C"/></KeepList>)",
         "folder C:\\A @1796964000\n"},
        {"an unknown type, a relative path, a pattern with a backslash, a key of no root",
         R"(<KeepList Count="5"><_0 Type="disk" Path="C:\A"/><_1 Type="file" Path="A\b.txt"/>)"
         R"(<_2 Type="pattern" Path="C:\A" Name="x\*.log"/><_3 Type="key" Path="HKEY_NOWHERE\X"/>)"
         R"(<_4 Type="key" Path="HKEY_USERS\S-1\X"/></KeepList>)",
         "key HKEY_USERS\\S-1\\X @0\n"},
        {"dates that cannot be read read as unknown",
         R"(<KeepList Count="3"><_0 Type="file" Path="C:\a" Added="2026-02-30T00:00:00Z"/>)"
         R"(<_1 Type="file" Path="C:\b" Added="yesterday"/><_2 Type="file" Path="C:\c" Added="2026-12-11T24:00:00Z"/>)"
         R"(</KeepList>)",
         "file C:\\a @0\nfile C:\\b @0\nfile C:\\c @0\n"},
        {"the same entry twice is read once",
         R"(<KeepList Count="2"><_0 Type="file" Path="C:\a"/><_1 Type="file" Path="c:\A"/></KeepList>)",
         "file C:\\a @0\n"},
        {"no count", R"(<KeepList><_0 Type="file" Path="C:\a"/></KeepList>)", ""},
    };
    for (const Row& row : rows) {
        MappedDataHandle store = open(std::string("<savedata><Skin>Classic LG</Skin>") + row.section +
                                      "<Language>German</Language></savedata>");
        EXPECT_EQ(shown(purgo::readKeepList(*store)), row.expected) << row.name;
        EXPECT_EQ(utf8(store->getString(u"Skin", u"").view()), "Classic LG") << row.name;
        EXPECT_EQ(utf8(store->getString(u"Language", u"").view()), "German") << row.name;
    }
}

TEST(KeepListDates, ReadBackWhatTheyWrite)
{
    for (int64_t seconds : {int64_t{0}, int64_t{951782400} /* 2000-02-29 */, int64_t{1796964000},
                            int64_t{4102444799} /* 2099-12-31 23:59:59 */}) {
        int64_t back = -1;
        EXPECT_TRUE(purgo::parseUtcText(purgo::utcText(seconds), back)) << seconds;
        EXPECT_EQ(back, seconds) << utf8(purgo::utcText(seconds));
    }
    EXPECT_EQ(utf8(purgo::utcText(951782400)), "2000-02-29T00:00:00Z");
    int64_t ignored = 0;
    for (const char16_t* bad : {u"2001-02-29T00:00:00Z", u"2026-13-01T00:00:00Z", u"2026-12-11 04:40:00Z",
                                u"2026-12-11T04:40:00", u"2026-12-11T04:60:00Z"})
        EXPECT_FALSE(purgo::parseUtcText(bad, ignored)) << utf8(bad);
}

}  // namespace
