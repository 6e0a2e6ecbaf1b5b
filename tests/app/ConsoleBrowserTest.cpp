// purgoc clean on a machine of today while Chrome runs (on the fakes
// natively, with a stand-in chrome.exe under Wine): Chrome's checked group is
// measured but left, named on stderr and in the JSON, and the exit status
// says that the clean left items; Edge's checked group is cleaned.
#include "app/console/ConsoleProgram.h"

#include "catalogue/CatalogueFolders.h"
#include "platform/FileIo.h"
#include "platform/PathWin.h"
#include "settings/MappedData.h"
#include "tests/catalogue/TodaysMachine.h"
#include "tests/support/CatalogueMachine.h"
#include "tests/support/Json.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using s::testing::JsonValue;

bool present(const std::u16string& path)
{
    return s::file::win::PathWin::make(path)->exists();
}

TEST(ConsoleBrowser, CleanLeavesARunningBrowsersGroupsAndNamesThem)
{
    catalogue_test::setUpMachine();
    catalogue_test::TodaysMachine machine;
    ASSERT_TRUE(machine.layOut());
    const std::u16string local = purgo::platformFolder(purgo::PlatformFolder::LocalAppData).toU16String();
    const std::u16string folder = local + u"\\purgo-console-browser";
    ASSERT_TRUE(catalogue_test::makeFolder(folder));
    // The settings store writes through the file layer, which natively is a
    // world of its own: it gets the folder too (under Wine it is there).
    for (std::size_t slash = folder.find(u'\\', 3);; slash = folder.find(u'\\', slash + 1)) {
        s::platform::fileIo().createFolder(folder.substr(0, slash));
        if (slash == std::u16string::npos)
            break;
    }
    const std::u16string settings = folder + u"\\SaveData.xml";
    {
        auto store = s::xml::openFileStore(settings);
        // Checked in an earlier version: the profiles' places follow the
        // groups.
        store->setBool(u"items\\ChromeCacheFile", u"", true);
        store->setBool(u"items\\EdgeCacheFile", u"", true);
        ASSERT_TRUE(store->save());
    }
    const std::u16string chromeCache = local + u"\\Google\\Chrome\\User Data\\Profile 1\\Cache\\Cache_Data\\data_0";
    const std::u16string edgeCache = local + u"\\Microsoft\\Edge\\User Data\\Profile 2\\Cache\\Cache_Data\\data_0";

    catalogue_test::RunningProgram chrome(u"chrome.exe");
    ASSERT_TRUE(chrome.started());
    s::app::CapturedOutput output;
    const int status =
        s::app::runConsole({u"clean", u"--json", u"--settings", settings, u"--lang", u"English"}, output);
    EXPECT_EQ(status, s::app::kExitPending) << output.err;
    EXPECT_NE(output.err.find("purgoc: not cleaned while chrome.exe runs: ChromeCacheFile (Chrome (Cache Files))\n"),
              std::string::npos)
        << output.err;
    std::string error;
    const std::optional<JsonValue> json = JsonValue::parse(output.out, &error);
    ASSERT_TRUE(json.has_value()) << error << "\n" << output.out;
    const JsonValue& skipped = (*json)["skipped"];
    ASSERT_EQ(skipped.items().size(), 1u) << output.out;
    EXPECT_EQ(skipped.items()[0]["group"].string(), "ChromeCacheFile");
    EXPECT_EQ(skipped.items()[0]["process"].string(), "chrome.exe");
    EXPECT_NE((*json)["message"].string().find("Not cleaned while running: Chrome"), std::string::npos);
    EXPECT_TRUE(present(chromeCache));
    EXPECT_FALSE(present(edgeCache));
    catalogue_test::removePath(folder);
}

}  // namespace
