// Today's browsers and Windows places on a machine laid out as today's
// (tests/catalogue/TodaysMachine.h), on the fakes natively and in the Wine
// prefix: every junk file is counted once and deleted, every keeper stays,
// and a running browser's groups are measured but not cleaned.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolders.h"
#include "engine/Clean.h"
#include "engine/RunController.h"
#include "engine/RunningPrograms.h"
#include "engine/Scan.h"
#include "platform/PathWin.h"
#include "settings/MappedData.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/catalogue/TodaysMachine.h"
#include "tests/support/CatalogueMachine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using namespace catalogue_test;
using purgo::PlatformFolder;

namespace {

// The groups this machine fills: the browsers', and Windows' old and new
// places that it uses. Nothing else in the prefix lies in them.
const char16_t* const kMachineGroups[] = {u"ChromeCacheFile",
                                          u"ChromeCookie",
                                          u"ChromeHistory",
                                          u"FirefoxCacheFile",
                                          u"OperaCacheFile",
                                          u"OperaCookies",
                                          u"OperaHistory",
                                          u"EdgeCacheFile",
                                          u"EdgeCookie",
                                          u"EdgeHistory",
                                          u"BraveCacheFile",
                                          u"BraveCookie",
                                          u"BraveHistory",
                                          u"VivaldiCacheFile",
                                          u"VivaldiCookie",
                                          u"VivaldiHistory",
                                          u"ChromiumCacheFile",
                                          u"ChromiumCookie",
                                          u"ChromiumHistory",
                                          u"OperaGXCacheFile",
                                          u"OperaGXCookie",
                                          u"OperaGXHistory",
                                          u"WindowsErrorReporting",
                                          u"WindowsCrashDumps",
                                          u"ExplorerThumbnailCache",
                                          u"DirectXShaderCache",
                                          u"DeliveryOptimization",
                                          u"WindowsUpdateLogFiles",
                                          u"WindowsMemoryDump",
                                          u"WindowsUpdateTemporaryFolder"};

bool isMachineGroup(const TimeRecord& group)
{
    for (const char16_t* id : kMachineGroups)
        if (group.id.equals(id))
            return true;
    return false;
}

class ModernMachine : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUpMachine();
        ASSERT_TRUE(m_machine.layOut());
    }

    static bool present(const std::u16string& path) { return s::file::win::PathWin::make(path)->exists(); }
    static std::u16string folder(PlatformFolder which) { return purgo::platformFolder(which).toU16String(); }

    TodaysMachine m_machine;
};

TEST_F(ModernMachine, EveryJunkFileCountedOnceAndDeletedEveryKeeperStays)
{
    BuiltTree tree(englishLocalizer());
    int64_t measured = 0;
    // What the first catalogue's own targets find of it, for the record: the
    // places of today's versions are the ones added with a default state.
    int64_t firstCatalogue = 0;
    for (std::size_t g = 0; g < tree.groups.size(); ++g) {
        TimeRecord* group = tree.groups[g];
        purgo::scan(*group, nullptr, purgo::Captions::Without);
        if (!isMachineGroup(*group))
            continue;
        measured += group->size;
        for (std::size_t c = 0; c < group->childCount() && g < purgo::kBuiltinGroupCount; ++c)
            firstCatalogue += group->child(c)->defaultChecked ? 0 : group->child(c)->size;
    }
    std::printf("the first catalogue's targets find %lld bytes of it (%.1f %%)\n",
                static_cast<long long>(firstCatalogue),
                100.0 * static_cast<double>(firstCatalogue) / static_cast<double>(m_machine.junkBytes()));
    // Exactly the junk: a place counted by two targets, or a keeper counted,
    // would show here.
    EXPECT_EQ(measured, static_cast<int64_t>(m_machine.junkBytes()));

    purgo::CleanContext context;
    for (TimeRecord* group : tree.groups) {
        if (!isMachineGroup(*group))
            continue;
        group->checked = true;
        for (std::size_t c = 0; c < group->childCount(); ++c)
            group->child(c)->checked = true;
        purgo::clean(*group, context);
    }
    std::size_t gone = 0;
    for (const MachineItem& item : m_machine.items()) {
        SCOPED_TRACE(utf8(item.path));
        if (item.junk) {
            EXPECT_FALSE(present(item.path)) << "junk left";
            gone += present(item.path) ? 0 : item.bytes;
        } else {
            EXPECT_TRUE(present(item.path)) << "a keeper was deleted";
        }
    }
    std::printf("junk bytes on the machine %zu, deleted by the catalogue %zu (%.1f %%)\n", m_machine.junkBytes(), gone,
                100.0 * static_cast<double>(gone) / static_cast<double>(m_machine.junkBytes()));
    EXPECT_EQ(context.pendingFound, 0);
}

// A target's id names its profile and channel, so that each keeps its own
// checked state; ids stay unique in their group.
TEST_F(ModernMachine, ProfileTargetsHaveStableUniqueIds)
{
    BuiltTree tree(englishLocalizer());
    const TimeRecord* cache = tree.group(u"ChromeCacheFile");
    ASSERT_NE(cache, nullptr);
    std::set<std::string> ids;
    std::vector<std::string> order;
    for (std::size_t c = 0; c < cache->childCount(); ++c) {
        order.push_back(utf8(cache->child(c)->id));
        EXPECT_TRUE(ids.insert(order.back()).second) << order.back();
        // A profile found after the group's states were stored follows the
        // group; the first catalogue's row keeps its default.
        EXPECT_EQ(cache->child(c)->defaultChecked, c > 0) << utf8(cache->child(c)->id);
    }
    // The first catalogue's row leads; today's places follow it.
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.front(), "Cache");
    for (const char* id : {"Default_Cache_Data", "Profile_1_Cache_Data", "Profile_1_Cache", "Beta_Default_GPUCache",
                           "Beta_Guest_Profile_Code_Cache", "ShaderCache", "Beta_Crashpad_Reports"})
        EXPECT_TRUE(ids.count(id)) << id;
    // The stable Default profile's old-layout cache is the first row's only.
    EXPECT_FALSE(ids.count("Default_Cache"));

    const TimeRecord* firefox = tree.group(u"FirefoxCacheFile");
    ASSERT_NE(firefox, nullptr);
    std::set<std::string> firefoxIds;
    for (std::size_t c = 0; c < firefox->childCount(); ++c)
        firefoxIds.insert(utf8(firefox->child(c)->id));
    for (const char* id :
         {"abcd1234_default_release_cache2", "efgh5678_work_startupCache", "efgh5678_work_shader_cache"})
        EXPECT_TRUE(firefoxIds.count(id)) << id;
}

class RecordingView : public purgo::IRunView {
public:
    void addRow(TimeRecord&) override {}
    void collectFinished(const purgo::Totals&) override {}
    void cleanStarted(const Text&, const Text&, int) override {}
    void cleanProgress(int) override {}
    void showResult(const Text& message) override { messages.push_back(utf8(message.view())); }
    void cleanFinished(const purgo::Totals&) override {}
    std::vector<std::string> messages;
};

s::xml::MappedDataHandle emptyStore()
{
    auto store = s::thread::Pooled<s::xml::MappedData>::take();
    store->openDocument("<savedata></savedata>");
    return store;
}

void checkAll(TimeRecord& group)
{
    group.checked = true;
    for (std::size_t c = 0; c < group.childCount(); ++c)
        group.child(c)->checked = true;
}

TimeRecord* findGroup(std::vector<TimeRecord*>& groups, std::u16string_view id)
{
    for (TimeRecord* group : groups)
        if (group->id.equals(id))
            return group;
    return nullptr;
}

// Chrome runs, Edge does not: Chrome's groups are measured and marked, the
// clean leaves them and says so; Edge's are cleaned. At logon the same
// groups wait, and nothing is said.
TEST_F(ModernMachine, ARunningBrowsersGroupsAreMeasuredNotCleaned)
{
    for (const auto mode : {purgo::CleanMode::Interactive, purgo::CleanMode::Startup}) {
        SCOPED_TRACE(mode == purgo::CleanMode::Startup ? "at logon" : "in the window");
        RunningProgram chrome(u"chrome.exe");
        ASSERT_TRUE(chrome.started());
        RecordingView view;
        auto store = emptyStore();
        englishLocalizer().select(u"English");
        purgo::RunController runs(view, englishLocalizer(), *store, [](std::vector<TimeRecord*>& list) {
            purgo::buildBuiltinGroups(list, englishLocalizer());
        });
        runs.setStartupMode(mode == purgo::CleanMode::Startup);
        runs.collectInformation();
        TimeRecord* chromeCache = findGroup(runs.groups(), u"ChromeCacheFile");
        TimeRecord* chromeHistory = findGroup(runs.groups(), u"ChromeHistory");
        TimeRecord* edgeCache = findGroup(runs.groups(), u"EdgeCacheFile");
        ASSERT_TRUE(chromeCache && chromeHistory && edgeCache);
        EXPECT_TRUE(chromeCache->guardRunning);
        EXPECT_TRUE(chromeHistory->guardRunning);
        EXPECT_FALSE(edgeCache->guardRunning);
        EXPECT_GT(chromeCache->found, 0) << "measured all the same";
        EXPECT_EQ(utf8(purgo::runningNote(*chromeCache, englishLocalizer())), "Close Chrome to clean it");

        const int64_t chromeFound = chromeCache->found;
        checkAll(*chromeCache);
        checkAll(*chromeHistory);
        checkAll(*edgeCache);
        runs.cleanSelected();
        EXPECT_EQ(runs.skipped(), (std::vector<const TimeRecord*>{chromeCache, chromeHistory}));
        EXPECT_TRUE(present(folder(PlatformFolder::LocalAppData) +
                            u"\\Google\\Chrome\\User Data\\Profile 1\\Cache\\Cache_Data\\data_0"));
        EXPECT_FALSE(present(folder(PlatformFolder::LocalAppData) +
                             u"\\Microsoft\\Edge\\User Data\\Profile 2\\Cache\\Cache_Data\\data_0"));
        EXPECT_EQ(chromeCache->found, chromeFound);
        if (mode == purgo::CleanMode::Interactive) {
            ASSERT_EQ(view.messages.size(), 1u);
            EXPECT_NE(view.messages[0].find("\r\nNot cleaned while running: Chrome"), std::string::npos)
                << view.messages[0];
            EXPECT_EQ(view.messages[0].find("Chrome, Chrome"), std::string::npos) << "each browser once";
        } else {
            EXPECT_TRUE(view.messages.empty());
        }
    }
}

// Once the browser has ended, the next clean takes its groups.
TEST_F(ModernMachine, AClosedBrowsersGroupsAreCleanedAgain)
{
    RecordingView view;
    auto store = emptyStore();
    purgo::RunController runs(view, englishLocalizer(), *store, [](std::vector<TimeRecord*>& list) {
        purgo::buildBuiltinGroups(list, englishLocalizer());
    });
    {
        RunningProgram chrome(u"chrome.exe");
        ASSERT_TRUE(chrome.started());
        runs.collectInformation();
        EXPECT_TRUE(findGroup(runs.groups(), u"ChromeCacheFile")->guardRunning);
    }
    TimeRecord* chromeCache = findGroup(runs.groups(), u"ChromeCacheFile");
    checkAll(*chromeCache);
    runs.cleanSelected();
    EXPECT_TRUE(runs.skipped().empty());
    EXPECT_FALSE(chromeCache->guardRunning);
    EXPECT_FALSE(present(folder(PlatformFolder::LocalAppData) +
                         u"\\Google\\Chrome\\User Data\\Profile 1\\Cache\\Cache_Data\\data_0"));
}

}  // namespace
