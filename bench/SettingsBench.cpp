// The main window's save when it closes: the checked states of a full tree
// (134 groups of 4 targets, every state already stored, so every one is
// rewritten) and 10 custom groups, with auto-save on. Each change would
// rewrite the whole settings file; saveTargetState batches them into one
// write, so closing the window costs about one serialisation of the file
// rather than hundreds.
//
// Baseline: serialising the saved document to UTF-8 once, the least any save
// must do. Read the batched save as a small multiple of it, the unbatched one
// (every value written on its own) as what the batch saves.
#include "catalogue/CustomGroups.h"
#include "catalogue/TargetState.h"
#include "engine/CheckedStates.h"
#include "platform/FileIo.h"
#include "platform/fake/FakeFileSystem.h"
#include "settings/MappedData.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using s::str::StrBuffer;

constexpr std::u16string_view kPath = u"C:\\Purgo\\savedata\\SaveData.xml";
constexpr int kGroups = 134;
constexpr int kTargets = 4;
constexpr int kCustomGroups = 10;

struct Tree {
    Tree()
    {
        for (int g = 0; g < kGroups + kCustomGroups; ++g) {
            const bool custom = g < kCustomGroups;
            StrBuffer id(custom ? u"Custom" : u"Group");
            id.appendS32(g + 1);
            TimeRecord* group = TimeRecord::makeGroup(id, id, u"Erase it", purgo::customGroupIcon());
            group->custom = custom;
            group->customRecordId = g + 1;
            group->checked = g % 3 != 0;
            for (int t = 0; t < kTargets; ++t) {
                StrBuffer targetId(u"Target");
                targetId.appendS32(t);
                StrBuffer path(u"C:\\Users\\someone\\AppData\\Local\\Application ");
                path.appendS32(g).append(u"\\Cache").appendS32(t);
                TimeRecord* target = TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, targetId, path);
                target->checked = (g + t) % 2 == 0;
                group->addChild(target);
            }
            nodes.push_back(group);
        }
    }
    ~Tree()
    {
        for (TimeRecord* node : nodes)
            node->release();
    }
    std::vector<TimeRecord*> nodes;
};

// A store whose file already holds every state of the tree.
// The in-memory machine's disk, emptied first.
s::xml::MappedDataHandle savedStore(Tree& tree)
{
    s::platform::fakeFileSystem().clear();
    s::platform::fakeFileSystem().addFolder(u"C:\\Purgo\\savedata");
    s::xml::MappedDataHandle store = s::xml::openFileStore(kPath, s::platform::fileIo());
    s::thread::ObjLocker lock;
    purgo::saveTargetState(tree.nodes, *store, lock);
    store->save();
    store->setAutoSave(true);
    return store;
}

void BM_SerialiseBaseline(benchmark::State& state)
{
    Tree tree;
    s::xml::MappedDataHandle store = savedStore(tree);
    for (auto _ : state)
        benchmark::DoNotOptimize(store->toString());
    state.counters["bytes"] = static_cast<double>(s::platform::fakeFileSystem().fileContent(kPath).size());
}
BENCHMARK(BM_SerialiseBaseline)->Unit(benchmark::kMillisecond);

void BM_SaveTargetStateBatched(benchmark::State& state)
{
    Tree tree;
    s::xml::MappedDataHandle store = savedStore(tree);
    s::thread::ObjLocker lock;
    for (auto _ : state)
        purgo::saveTargetState(tree.nodes, *store, lock);
}
BENCHMARK(BM_SaveTargetStateBatched)->Unit(benchmark::kMillisecond);

void BM_SaveEveryValueOnItsOwn(benchmark::State& state)
{
    Tree tree;
    s::xml::MappedDataHandle store = savedStore(tree);
    for (auto _ : state) {
        for (const TimeRecord* node : tree.nodes)
            purgo::saveChecks(*node, purgo::kItemsPrefix, *store);
    }
    state.counters["file writes"] = benchmark::Counter(static_cast<double>(s::platform::fakeFileSystem().writeCount()),
                                                       benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SaveEveryValueOnItsOwn)->Unit(benchmark::kMillisecond);

}  // namespace
