// The program's settings file, "savedata\\SaveData.xml" in the program's
// folder: natively in the in-memory file system's program folder, under Wine
// beside this test executable (which runs from a copy in drive C:, see
// tests/CMakeLists.txt).
#include "settings/MappedData.h"

#include "platform/FileIo.h"
#include "platform/ProgramFolder.h"
#include "tests/base/TextPrint.h"
#include "tests/support/ProgramFolderFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using s::str::StrBuffer;
using s::xml::MappedDataHandle;
using testing_settings::ProgramFolderFixture;

TEST(SettingsFile, LandsInSavedataBesideTheProgramAndReadsBackIdentically)
{
    ProgramFolderFixture fixture;
    s::io::IFileIo& files = s::platform::fileIo();
    const StrBuffer folder = s::platform::programFolder();
    ASSERT_FALSE(folder.isEmpty());
    StrBuffer executable(folder);
    executable.append(u'\\').append(ProgramFolderFixture::executableName());
    EXPECT_TRUE(files.fileExists(executable)) << "the folder of " << executable.toUtf8();

    const StrBuffer path = s::xml::settingsFilePath();
    StrBuffer expectedPath(folder);
    EXPECT_EQ(path, expectedPath.append(u"\\savedata\\SaveData.xml"));

    {
        MappedDataHandle store = s::xml::openFileStore(path);
        EXPECT_EQ(store->getString(u"Version", u"", u"0.00"), u"0.00");
        store->setString(u"SoftwareType", u"", u"Freeware");
        store->setString(u"SoftwareID", u"", u"Oxle Purgo");
        store->setString(u"Version", u"", u"1.25");
        store->setString(u"Language", u"", u"Portugu\u00EAs");
        store->setAutoSave(true);
        store->setS32(u"MainWindow\\View", u"Transparency", 90);
        store->setBool(u"MainWindow\\View", u"KeepOnTop", true);
        store->setS64(u"MainWindow\\View", u"RandomSkinLastChange", 1700000000);
        store->setString(u"CustomItems\\_0", u"Desctiption", u"C:\\Temp\r\n<all>");
    }
    std::string onDisk;
    ASSERT_TRUE(ProgramFolderFixture::readBack(path, onDisk));
    EXPECT_EQ(onDisk, "<savedata><SoftwareType>Freeware</SoftwareType><SoftwareID>Oxle&#160;Purgo</SoftwareID>"
                      "<Version>1.25</Version><Language>Portugu\xC3\xAAs</Language><MainWindow><View "
                      "Transparency=\"90\" KeepOnTop=\"1\" RandomSkinLastChange=\"1700000000\"></View></MainWindow>"
                      "<CustomItems><_0 Desctiption=\"C:\\Temp&#13;&#10;&lt;all>\"></_0></CustomItems></savedata>");
    StrBuffer temporary(path);
    EXPECT_FALSE(files.fileExists(temporary.append(u".new")));

    MappedDataHandle reopened = s::xml::openFileStore(path);
    EXPECT_EQ(reopened->getString(u"Language", u""), u"Portugu\u00EAs");
    EXPECT_EQ(reopened->getS64(u"MainWindow\\View", u"RandomSkinLastChange", 0), 1700000000);
    EXPECT_EQ(reopened->getString(u"CustomItems\\_0", u"Desctiption"), u"C:\\Temp\r\n<all>");
    reopened->setAutoSave(true);
    reopened->setS32(u"MainWindow\\View", u"Transparency", 90);  // rewrites, moves behind the others
    std::string again;
    ASSERT_TRUE(ProgramFolderFixture::readBack(path, again));
    EXPECT_NE(again, onDisk);
    MappedDataHandle third = s::xml::openFileStore(path);
    EXPECT_EQ(third->toString(), reopened->toString());
}

}  // namespace
