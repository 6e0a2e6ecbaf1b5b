// `purgoc list --rules` and the rule groups in the console's listing, on the
// in-memory machine with a rule file beside the program.
#include "app/console/ConsoleProgram.h"

#include "app/rules/RulesUpdate.h"
#include "catalogue/CatalogueFolders.h"
#include "catalogue/RuleGroups.h"
#include "platform/ProtectedPlaces.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeNetwork.h"
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

// `check <group> on` says what the window would ask first, on standard
// error: the group's warnings, the browser-data guard's before the file's.
TEST_F(ConsoleRules, CheckingAGroupWithAWarningPrintsIt)
{
    ASSERT_TRUE(p::fakeFileSystem().addFile(u"C:\\Data\\Browser\\User Data\\Default\\Preferences", 10));
    ASSERT_TRUE(p::fakeFileSystem().addFile(u"C:\\Data\\Browser\\User Data\\Default\\Login Data", 10));
    ASSERT_TRUE(p::fakeFileSystem().addFileWithContent(
        u"C:\\Purgo\\savedata\\winapp2.ini",
        "[Warned App *]\r\nWarning=Also removes the saved sessions.\r\nFileKey1=C:\\Data\\App|*.tmp\r\n"
        "[Browser Passwords *]\r\nFileKey1=C:\\Data\\Browser\\User Data\\*|Login Data\r\n"));
    const std::string warned = s::str::StrBuffer(s::file::gui::dialogs::purgo::ruleGroupId(u"Warned App *")).toUtf8();
    const std::string guarded =
        s::str::StrBuffer(s::file::gui::dialogs::purgo::ruleGroupId(u"Browser Passwords *")).toUtf8();
    const auto id = [](const std::string& text) {
        return s::str::StrBuffer::fromUtf8(text).toU16String();
    };

    ASSERT_EQ(run({u"check", id(warned), u"on"}), 0) << output.err;
    EXPECT_NE(output.err.find("purgoc: warning: " + warned + ": Also removes the saved sessions.\n"), std::string::npos)
        << output.err;
    ASSERT_EQ(run({u"check", id(guarded), u"on"}), 0) << output.err;
    EXPECT_NE(output.err.find("purgoc: warning: " + guarded +
                              ": This group reaches a web browser's saved passwords, bookmarks or settings.\n"),
              std::string::npos)
        << output.err;
    ASSERT_EQ(run({u"check", id(warned), u"off"}), 0) << output.err;
    EXPECT_EQ(output.err.find("warning"), std::string::npos) << "nothing to warn of when unchecking: " << output.err;

    // list --rules names the entries that reach a browser's data.
    ASSERT_EQ(run({u"list", u"--rules"}), 0) << output.err;
    EXPECT_NE(output.out.find("Reaching a browser's saved passwords, bookmarks or settings (asked before they are "
                              "checked): 1\n  Browser Passwords *\n"),
              std::string::npos)
        << output.out;
}

// `rules update`: the file from the stored address (the rules project's by
// default) into savedata\winapp2.ini, with its version line and entries;
// a failed or damaged answer leaves the file in place and exits with 1.
TEST_F(ConsoleRules, RulesUpdateDownloadsTheFileOrKeepsTheOneInPlace)
{
    auto& network = p::fakeNetwork();
    network.reset();
    const std::string file = "; Version: 250310\r\n; # of entries: 1\r\n[New App *]\r\nFileKey1=C:\\New|*.log\r\n";
    network.setAnswer(s::app::kDefaultRulesAddress, file);
    ASSERT_EQ(run({u"rules", u"update"}), 0) << output.err;
    EXPECT_EQ(output.out, "Downloaded https://raw.githubusercontent.com/MoscaDotTo/Winapp2/master/Winapp2.ini\n"
                          "Version: 250310\nEntries: 1\nSaved C:\\Purgo\\savedata\\winapp2.ini\n");
    EXPECT_EQ(p::fakeFileSystem().fileContent(u"C:\\Purgo\\savedata\\winapp2.ini"), file);

    // The address of the settings; an answer that is no rule file.
    ASSERT_TRUE(p::fakeFileSystem().addFileWithContent(
        u"C:\\Purgo\\savedata\\SaveData.xml",
        "<savedata><CommunityRules Address=\"http://mirror.test/rules.ini\"></CommunityRules></savedata>"));
    network.setAnswer(u"http://mirror.test/rules.ini", "<html><body>Moved</body></html>");
    EXPECT_EQ(run({u"rules", u"update", u"--json"}), 1);
    EXPECT_EQ(output.out, "{\"command\":\"rules\",\"action\":\"update\",\"address\":\"http://mirror.test/rules.ini\","
                          "\"file\":\"C:\\\\Purgo\\\\savedata\\\\winapp2.ini\",\"saved\":false,\"version\":\"\","
                          "\"entries\":0,\"reason\":\"the answer is no rule file: no entry\"}\n");
    // Progress first (a plain line when standard error is redirected).
    EXPECT_EQ(output.err, "downloading http://mirror.test/rules.ini\n"
                          "purgoc: rules from http://mirror.test/rules.ini not saved: the answer is no rule file: no "
                          "entry; the rule file in place is unchanged\n");
    EXPECT_EQ(p::fakeFileSystem().fileContent(u"C:\\Purgo\\savedata\\winapp2.ini"), file);

    // Offline.
    network.setConnected(false);
    EXPECT_EQ(run({u"rules", u"update"}), 1);
    EXPECT_NE(output.err.find("not saved: the download failed"), std::string::npos) << output.err;
    network.reset();

    EXPECT_EQ(run({u"rules"}), 2) << "rules takes update";
    EXPECT_EQ(run({u"rules", u"fetch"}), 2);
}

}  // namespace
