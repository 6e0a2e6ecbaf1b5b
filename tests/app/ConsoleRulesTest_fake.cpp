// `purgoc list --rules` and the rule groups in the console's listing, on the
// in-memory machine with a rule file beside the program.
#include "app/console/ConsoleProgram.h"

#include "catalogue/CatalogueFolders.h"
#include "catalogue/RuleGroups.h"
#include "platform/ProtectedPlaces.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProgramFolder.h"
#include "platform/fake/FakeRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace p = s::platform;

class ConsoleRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        p::fakeFileSystem().clear();
        p::fakeRegistry().clear();
        p::setProgramFolder(u"C:\\Purgo");
        s::file::ProtectedPlaces::forget();
        s::file::gui::dialogs::purgo::forgetPlatformFolders();
        ASSERT_TRUE(p::fakeFileSystem().addFolder(u"C:\\Purgo\\savedata"));
        ASSERT_TRUE(p::fakeFileSystem().addFile(u"C:\\Data\\App\\Cache\\a.tmp", 40));
        ASSERT_TRUE(p::fakeFileSystem().addFileWithContent(
            u"C:\\Purgo\\winapp2.ini",
            "[Data App *]\r\nLangSecRef=3024\r\nDetectFile=C:\\Data\\App\r\nFileKey1=C:\\Data\\App\\Cache|*.*\r\n"
            "[Gone App *]\r\nDetectFile=C:\\Data\\Gone\r\nFileKey1=C:\\Data\\Gone|*.*\r\n"
            "[Chrome Thing *]\r\nSpecialDetect=DET_CHROME\r\nFileKey1=C:\\Data|*.*\r\n"
            "[Whole Profile *]\r\nFileKey1=%UserProfile%|*.*|RECURSE\r\n"
            "[Odd Keys *]\r\nFileKey1=C:\\Data\\App|*.log\r\nFileKey2=C:\\Data|*.*|SHRED\r\nColour=blue\r\n"));
    }

    void TearDown() override
    {
        p::fakeFileSystem().clear();
        p::setProgramFolder(u"C:\\Program Files\\Oxle Purgo");
        s::file::ProtectedPlaces::forget();
    }

    int run(std::vector<std::u16string> args)
    {
        output = s::app::CapturedOutput();
        return s::app::runConsole(args, output);
    }

    s::app::CapturedOutput output;
};

TEST_F(ConsoleRules, ListRulesTellsWhatBecameOfEachEntry)
{
    ASSERT_EQ(run({u"list", u"--rules"}), 0) << output.err;
    EXPECT_EQ(output.out, "Read C:\\Purgo\\winapp2.ini\n"
                          "Entries read: 5\n"
                          "Detected: 2\n"
                          "Not detected: 1\n"
                          "Ignored (SpecialDetect): 1\n"
                          "Dropped: 1\n"
                          "  Whole Profile *: every path is protected or invalid (FileKey1: a protected place, a link "
                          "or an invalid path: C:\\Users\\tester)\n"
                          "Keys left out of detected entries: 1\n"
                          "  Odd Keys *: FileKey2: unknown flag SHRED\n"
                          "Lines not understood: 0, unknown keys: 1\n");

    ASSERT_EQ(run({u"list", u"--rules", u"--json"}), 0) << output.err;
    EXPECT_NE(output.out.find("\"entries\":5,\"detected\":2,\"notDetected\":1,\"ignored\":1,\"dropped\":[{\"entry\":"
                              "\"Whole Profile *\""),
              std::string::npos)
        << output.out;

    // The detected entries are groups after the built-in ones, unchecked,
    // and can be checked by their id like any other.
    ASSERT_EQ(run({u"list"}), 0) << output.err;
    const std::string id = s::str::StrBuffer(s::file::gui::dialogs::purgo::ruleGroupId(u"Data App *")).toUtf8();
    const std::size_t at = output.out.find("[ ] Data App  <" + id + ">");
    ASSERT_NE(at, std::string::npos) << output.out;
    EXPECT_GT(at, output.out.find("<WindowsTemp>"));
    ASSERT_EQ(run({u"check", s::str::StrBuffer::fromUtf8(id).toU16String(), u"on"}), 0) << output.err;
    ASSERT_EQ(run({u"list"}), 0);
    EXPECT_NE(output.out.find("[x] Data App  <" + id + ">"), std::string::npos);

    // The option belongs to list alone.
    EXPECT_EQ(run({u"preview", u"--rules"}), 2);
}

TEST_F(ConsoleRules, WithoutARuleFileListRulesSaysWhereToPutOne)
{
    p::fakeFileSystem().removeTree(u"C:\\Purgo\\winapp2.ini");
    ASSERT_EQ(run({u"list", u"--rules"}), 0);
    EXPECT_EQ(output.out.find("No rule file: put winapp2.ini beside the program or in its savedata folder.\n"), 0u);
}

}  // namespace
