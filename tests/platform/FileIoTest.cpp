// The platform's whole-file access and the XML documents' load and save on
// it: natively on the in-memory file system, under Wine on real files in a
// scratch folder.
#include "platform/FileIo.h"

#include "base/XmlNode.h"
#include "tests/base/TextPrint.h"
#include "tests/support/HeldFile.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using s::str::StrBuffer;
using testing_platform::HeldFile;
using testing_platform::ScratchFolder;

std::string bytesOf(const s::col::ArrayU08& array)
{
    return std::string(reinterpret_cast<const char*>(array.data()), static_cast<std::size_t>(array.count()));
}

class FileIoTest : public ::testing::Test {
protected:
    s::io::IFileIo& files = s::platform::fileIo();
    ScratchFolder scratch;
};

TEST_F(FileIoTest, WritesReplaceTheWholeContent)
{
    const StrBuffer path = scratch.join(u"data.bin");
    const std::string contents[] = {
        std::string("first, the longer content\r\n", 27),
        std::string("\0\xFF\x01short", 8),
        std::string(),
        std::string(70000, 'x'),
    };
    for (const std::string& content : contents) {
        SCOPED_TRACE(content.size());
        ASSERT_TRUE(
            files.writeFile(path, reinterpret_cast<const uint8_t*>(content.data()), static_cast<int>(content.size())));
        std::string onDisk;
        ASSERT_TRUE(scratch.readBack(u"data.bin", onDisk));
        EXPECT_EQ(onDisk, content);
        s::col::ArrayU08 read;
        ASSERT_TRUE(files.readFile(path, read, s::io::IFileIo::kMaxReadBytes));
        EXPECT_EQ(bytesOf(read), content);
    }
    std::string leftover;
    EXPECT_FALSE(scratch.readBack(u"data.bin.new", leftover)) << "no temporary file stays behind";
}

TEST_F(FileIoTest, ReadFailsForMissingAndOversizedFiles)
{
    s::col::ArrayU08 read;
    read.add(1);
    EXPECT_FALSE(files.readFile(scratch.join(u"missing.xml"), read, 1000));
    EXPECT_EQ(read.count(), 0);
    scratch.putFile(u"big.bin", std::string(101, 'b'));
    EXPECT_FALSE(files.readFile(scratch.join(u"big.bin"), read, 100));
    EXPECT_EQ(read.count(), 0);
    EXPECT_TRUE(files.readFile(scratch.join(u"big.bin"), read, 101));
    EXPECT_EQ(read.count(), 101);
    EXPECT_FALSE(files.readFile(scratch.path(), read, 100)) << "a folder is not a file";
}

TEST_F(FileIoTest, FoldersOneLevelAtATime)
{
    const StrBuffer folder = scratch.join(u"savedata");
    const StrBuffer nested = scratch.join(u"a\\b");
    EXPECT_FALSE(files.folderExists(folder));
    const uint8_t byte = 'x';
    EXPECT_FALSE(files.writeFile(scratch.join(u"savedata\\SaveData.xml"), &byte, 1)) << "no parent folder";
    EXPECT_FALSE(files.createFolder(nested)) << "its parent is missing";
    EXPECT_TRUE(files.createFolder(folder));
    EXPECT_TRUE(files.folderExists(folder));
    EXPECT_TRUE(files.createFolder(folder)) << "an existing folder is fine";
    EXPECT_TRUE(files.writeFile(scratch.join(u"savedata\\SaveData.xml"), &byte, 1));
    EXPECT_FALSE(files.folderExists(scratch.join(u"savedata\\SaveData.xml"))) << "a file is not a folder";
    EXPECT_FALSE(files.createFolder(scratch.join(u"savedata\\SaveData.xml")));
    EXPECT_TRUE(files.folderExists(scratch.join(u"SAVEDATA"))) << "Windows paths ignore case";
}

TEST_F(FileIoTest, DocumentsSaveAsOneLineAndLoadBack)
{
    s::xml::Node root;
    root.setName(u"savedata");
    root.addChild(u"Language").addString(u"", u"Portugu\u00EAs");
    s::xml::Node& view = root.addChild(u"MainWindow").addChild(u"View");
    view.addS32(u"X", 312);
    view.addString(u"Path", u"C:\\Program Files\\\u65E5\u672C\r\nline two");

    const StrBuffer path = scratch.join(u"savedata\\Sa\u00EFve\u65E5.xml");
    ASSERT_TRUE(root.saveFile(path, files)) << "the missing folder is created";
    std::string onDisk;
    ASSERT_TRUE(scratch.readBack(u"savedata\\Sa\u00EFve\u65E5.xml", onDisk));
    EXPECT_EQ(onDisk, "<savedata><Language>Portugu\xC3\xAAs</Language><MainWindow><View X=\"312\" "
                      "Path=\"C:\\Program Files\\\xE6\x97\xA5\xE6\x9C\xAC&#13;&#10;line two\"></View></MainWindow>"
                      "</savedata>");

    s::xml::Node loaded;
    ASSERT_TRUE(loaded.loadFile(path, files));
    EXPECT_EQ(loaded.toUtf8(), root.toUtf8());
    EXPECT_EQ(loaded.childNamed(u"mainwindow")->childNamed(u"view")->getString(u"path"),
              u"C:\\Program Files\\\u65E5\u672C\r\nline two");

    loaded.setName(u"stale");
    EXPECT_FALSE(loaded.loadFile(scratch.join(u"missing.xml"), files));
    EXPECT_TRUE(loaded.name().isEmpty()) << "a missing file leaves the node empty";

    scratch.putFile(u"junk.xml", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<savedata><Skin>Classic</Skin><Langu");
    ASSERT_TRUE(loaded.loadFile(scratch.join(u"junk.xml"), files));
    EXPECT_EQ(loaded.toUtf8(), "<savedata><Skin>Classic</Skin></savedata>");
}

bool replace(s::io::IFileIo& files, const StrBuffer& path, std::string_view content)
{
    return files.replaceFile(path, reinterpret_cast<const uint8_t*>(content.data()), static_cast<int>(content.size()));
}

TEST_F(FileIoTest, ReplaceSwapsInTheWholeNewContent)
{
    const StrBuffer path = scratch.join(u"SaveData.xml");
    const std::string contents[] = {
        "<savedata><Skin>Classic</Skin></savedata>",  // creates the file
        std::string("\0\xFF\x01short", 8),
        std::string(),
        std::string(70000, 'x'),
    };
    for (const std::string& content : contents) {
        SCOPED_TRACE(content.size());
        ASSERT_TRUE(replace(files, path, content));
        std::string onDisk;
        ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
        EXPECT_EQ(onDisk, content);
        EXPECT_TRUE(files.fileExists(path));
        EXPECT_FALSE(files.fileExists(scratch.join(u"SaveData.xml.new"))) << "the temporary file is gone";
    }
    EXPECT_FALSE(replace(files, scratch.join(u"savedata\\SaveData.xml"), "x")) << "no parent folder";
    EXPECT_FALSE(replace(files, scratch.path(), "x")) << "a folder is not a file";
    EXPECT_FALSE(files.fileExists(scratch.path())) << "a folder is not a file";
    EXPECT_FALSE(files.fileExists(scratch.join(u"missing.xml")));
    EXPECT_FALSE(files.fileExists(scratch.join(u"missing\\missing.xml")));
}

// Another program holds the file without sharing: nothing can read, write or
// replace it, and a failed replacement leaves neither a changed file nor its
// temporary file behind.
TEST_F(FileIoTest, AFileHeldByAnotherProgramStaysAsItWas)
{
    const StrBuffer path = scratch.join(u"SaveData.xml");
    const std::string old = "<savedata><Skin>Classic</Skin></savedata>";
    scratch.putFile(u"SaveData.xml", old);
    {
        HeldFile held(path);
        ASSERT_TRUE(held.held());
        EXPECT_TRUE(files.fileExists(path)) << "held, but there";
        s::col::ArrayU08 read;
        EXPECT_FALSE(files.readFile(path, read, s::io::IFileIo::kMaxReadBytes));
        EXPECT_FALSE(replace(files, path, "<savedata></savedata>"));
        const uint8_t byte = 'x';
        EXPECT_FALSE(files.writeFile(path, &byte, 1));
        EXPECT_FALSE(files.fileExists(scratch.join(u"SaveData.xml.new"))) << "the temporary file is gone";
    }
    std::string onDisk;
    ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
    EXPECT_EQ(onDisk, old);
    EXPECT_TRUE(replace(files, path, "<savedata></savedata>")) << "free again";
}

}  // namespace
