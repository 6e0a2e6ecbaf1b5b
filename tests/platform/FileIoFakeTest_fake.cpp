// The faults of a real disk, on the in-memory machine that the store and the
// engine share: a disk that fills up, a read-only medium, a locked file.
#include "platform/FileIo.h"

#include "base/XmlNode.h"
#include "tests/support/FakeDisk.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool replace(s::io::IFileIo& files, std::u16string_view path, std::string_view content)
{
    return files.replaceFile(path, reinterpret_cast<const uint8_t*>(content.data()), static_cast<int>(content.size()));
}

// A disk that fills up half-way: written in place, the file is cut short;
// replaced, it stays as it was. This is why documents are saved by
// replacement.
TEST(FakeDiskFileIo, AFullDiskCutsAFileWrittenInPlaceButNotAReplacedOne)
{
    testing_platform::FakeDisk files;
    const std::u16string path = u"C:\\app\\savedata\\SaveData.xml";
    const std::string old = "<savedata><Skin>Classic</Skin><CustomItems NumOfCustom=\"3\"></CustomItems></savedata>";
    const std::string next = "<savedata><Skin>Blue</Skin><CustomItems NumOfCustom=\"3\"></CustomItems></savedata>";
    files.seedFile(path, old);
    files.setDiskSpace(20);

    EXPECT_FALSE(replace(files, path, next));
    EXPECT_EQ(files.fileContents(path), old);
    EXPECT_FALSE(files.hasFile(path + u".new"));

    s::xml::Node root;
    root.parseUtf8(next);
    EXPECT_FALSE(root.saveFile(path, files));
    EXPECT_EQ(files.fileContents(path), old) << "documents are saved by replacement";

    s::io::IFileIo& io = files;
    EXPECT_FALSE(io.writeFile(path, reinterpret_cast<const uint8_t*>(next.data()), static_cast<int>(next.size())));
    EXPECT_EQ(files.fileContents(path), next.substr(0, 20)) << "in place, the file is cut";

    files.setDiskSpace(-1);
    EXPECT_TRUE(replace(files, path, next));
    EXPECT_EQ(files.fileContents(path), next);
}

TEST(FakeDiskFileIo, InjectedFailuresReachTheCaller)
{
    testing_platform::FakeDisk files;
    files.seedFile(u"C:\\app\\savedata\\SaveData.xml", "<savedata><Skin>Classic</Skin></savedata>");
    s::xml::Node root;
    ASSERT_TRUE(root.loadFile(u"c:/APP/savedata/savedata.xml", files));
    EXPECT_EQ(root.childNamed(u"skin")->getString(u""), u"Classic");

    files.setUnreadable(u"C:\\app\\savedata\\SaveData.xml", true);
    EXPECT_FALSE(root.loadFile(u"C:\\app\\savedata\\SaveData.xml", files));
    EXPECT_EQ(root.childCount(), 0);

    root.parse(u"<savedata><Skin>Blue</Skin></savedata>");
    files.setWritesFail(true);
    EXPECT_FALSE(root.saveFile(u"C:\\app\\savedata\\SaveData.xml", files));
    EXPECT_EQ(files.fileContents(u"C:\\app\\savedata\\SaveData.xml"), "<savedata><Skin>Classic</Skin></savedata>");
    files.setWritesFail(false);
    EXPECT_TRUE(root.saveFile(u"C:\\app\\savedata\\SaveData.xml", files));
    EXPECT_EQ(files.fileContents(u"C:\\app\\savedata\\SaveData.xml"), "<savedata><Skin>Blue</Skin></savedata>");
    EXPECT_EQ(files.writeCount(), 1);
}

}  // namespace
