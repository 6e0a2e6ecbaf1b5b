// Fuzzes the rule file (winapp2.ini) as the program reads it: any bytes
// through the reader, then the groups its entries become on a small
// in-memory machine (wildcard folders, a folder link, protected places, keys),
// each group measured as a collect run measures it. Besides the sanitizers'
// checks (and the time limit, which catches expansions that run away) it
// asserts that every entry is accounted for once and that no target the
// engine would refuse reaches a group.
#include "catalogue/RuleGroups.h"
#include "engine/Scan.h"
#include "engine/TargetSafety.h"
#include "platform/ProtectedPlaces.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;

// The machine the entries look at, made once: measuring never changes it.
void makeMachine()
{
    auto& disk = s::platform::fakeFileSystem();
    const char16_t* local = u"C:\\Users\\tester\\AppData\\Local";
    for (const char16_t* file : {u"\\App\\Cache\\a.tmp", u"\\App\\Cache\\sub\\b.log", u"\\App\\Profiles\\p1\\c.db",
                                 u"\\App\\Profiles\\p2\\cache2\\d.bin", u"\\Other\\keep.txt"})
        disk.addFile(std::u16string(local) + file, 7);
    disk.addFolderLink(std::u16string(local) + u"\\App\\Profiles\\link", u"C:\\Windows",
                       s::platform::LinkRemoval::Fails);
    disk.addFolder(u"C:\\Windows\\system32");
    disk.addFile(u"C:\\Windows\\setup.log", 3);
    auto& registry = s::platform::fakeRegistry();
    const std::u16string user = registry.rootPath(s::platform::RootKey::CurrentUser);
    registry.addKey(user + u"\\Software\\App\\Recent\\Sub");
    const std::byte data[3] = {};
    registry.setValue(user + u"\\Software\\App\\Recent", u"Last", 3, data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        makeMachine();
        return true;
    }();
    (void)ready;

    const purgo::RuleFile file = purgo::readRuleFile(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<TimeRecord*> groups;
    purgo::RuleGroupBuilder builder;
    builder.add(file, groups);
    const purgo::RulesReport& report = builder.report();
    const std::size_t accounted =
        static_cast<std::size_t>(report.detected + report.notDetected + report.ignored) + report.dropped.size();
    if (report.entries != static_cast<int>(file.entries.size()) || accounted != file.entries.size() ||
        groups.size() != static_cast<std::size_t>(report.detected))
        std::abort();
    for (TimeRecord* group : groups) {
        if (group->childCount() == 0)
            std::abort();
        for (std::size_t i = 0; i < group->childCount(); ++i) {
            if (!purgo::mayReach(*group->child(i)))
                std::abort();
        }
        purgo::scan(*group, nullptr, purgo::Captions::With);
        if (group->found < 0 || group->size < 0)
            std::abort();
        group->release();
    }
    return 0;
}
