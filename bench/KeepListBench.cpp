// A scan of 100 folder targets of 100 files each (10,000 files, in the
// in-memory file system) with the user's keep list of 1,000 entries, against
// the same scan without a keep list. The list is as a user's would be: most
// entries elsewhere on the machine (other folders, registry keys, patterns),
// ten of them files inside ten of the scanned folders, so those ten targets
// are walked and the other ninety keep their quick measure. Read the kept
// scan's time as a multiple of the baseline's: the list should add under a
// tenth. A keep list answers each question by a few hash look-ups, never by
// a pass over its entries.
//
// BM_KeepListQuestions asks the 1,000-entry list about 10,000 file paths, as
// a walk of a kept folder does, to show that the cost per question does not
// grow with the list.
#include "engine/KeepList.h"
#include "engine/Scan.h"
#include "engine/UserKeepList.h"
#include "platform/fake/FakeFileSystem.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
namespace p = s::platform;

constexpr int kTargets = 100;
constexpr int kFiles = 100;
constexpr int kEntries = 1000;

std::u16string number(int n)
{
    std::u16string text;
    for (char c : std::to_string(n))
        text += static_cast<char16_t>(c);
    return text;
}

std::u16string folderOf(int t)
{
    return u"C:\\bench\\keep\\t" + number(t);
}

void makeTree()
{
    static const bool made = [] {
        p::FakeFileSystem& fs = p::fakeFileSystem();
        for (int t = 0; t < kTargets; ++t) {
            fs.addFolder(folderOf(t));
            for (int f = 0; f < kFiles; ++f)
                fs.addFile(folderOf(t) + u"\\f" + number(f) + u".tmp", static_cast<std::uint64_t>(10 + f));
        }
        return true;
    }();
    (void)made;
}

purgo::UserKeepList userList(int inside)
{
    purgo::UserKeepList list;
    for (int i = 0; list.entries().size() < static_cast<std::size_t>(kEntries); ++i) {
        purgo::KeepEntry entry;
        if (i < inside) {
            entry.type = purgo::KeepEntryType::File;
            entry.path = folderOf(i * (kTargets / inside)) + u"\\f7.tmp";
        } else {
            switch (i % 4) {
            case 0:
                entry = {purgo::KeepEntryType::File, u"C:\\Users\\me\\Documents\\keep" + number(i) + u".txt", {}, 0};
                break;
            case 1:
                entry = {purgo::KeepEntryType::Folder, u"C:\\Tools\\app" + number(i), {}, 0};
                break;
            case 2:
                entry = {purgo::KeepEntryType::Pattern, u"D:\\Work\\p" + number(i), u"*.cfg", 0};
                break;
            default:
                entry = {purgo::KeepEntryType::Key, u"HKEY_CURRENT_USER\\Software\\Vendor" + number(i), {}, 0};
                break;
            }
        }
        list.add(entry);
    }
    return list;
}

struct Tree {
    Tree()
    {
        makeTree();
        group = purgo::TimeRecord::makeGroup(u"g", u"G", u"");
        for (int t = 0; t < kTargets; ++t) {
            // Appended, not u"t" + number(t): GCC 12 warns falsely (-Wrestrict)
            // about the operator.
            std::u16string name(u"t");
            name += number(t);
            group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_Folder_1_Level, name, folderOf(t)));
        }
    }
    ~Tree() { group->release(); }
    purgo::TimeRecord* group;
};

void BM_ScanBaselineNoKeepList(benchmark::State& state)
{
    Tree tree;
    for (auto _ : state) {
        purgo::scan(*tree.group, nullptr, purgo::Captions::Without);
        benchmark::DoNotOptimize(tree.group->found);
    }
    state.counters["found"] = static_cast<double>(tree.group->found);
}
BENCHMARK(BM_ScanBaselineNoKeepList)->Unit(benchmark::kMillisecond);

void BM_ScanWithKeepListOf1000(benchmark::State& state)
{
    Tree tree;
    purgo::applyUserKeepList({tree.group}, userList(10).keepList());
    for (auto _ : state) {
        purgo::scan(*tree.group, nullptr, purgo::Captions::Without);
        benchmark::DoNotOptimize(tree.group->found);
    }
    // 10 files fewer than the baseline: the kept ones.
    state.counters["found"] = static_cast<double>(tree.group->found);
}
BENCHMARK(BM_ScanWithKeepListOf1000)->Unit(benchmark::kMillisecond);

void BM_KeepListQuestions(benchmark::State& state)
{
    purgo::UserKeepList list = userList(10);
    const auto keep = list.keepList();
    std::vector<std::u16string> paths;
    for (int t = 0; t < kTargets; ++t)
        for (int f = 0; f < kFiles; ++f)
            paths.push_back(folderOf(t) + u"\\f" + number(f) + u".tmp");
    for (auto _ : state) {
        int kept = 0;
        for (const std::u16string& path : paths)
            kept += keep->keepsFile(path) ? 1 : 0;
        benchmark::DoNotOptimize(kept);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
}
BENCHMARK(BM_KeepListQuestions)->Unit(benchmark::kMillisecond);

}  // namespace
