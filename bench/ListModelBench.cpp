// The target list's model over a catalogue-sized tree (134 groups, 2,000
// targets): set the groups, expand them all and sort by Size, against the
// same work written by hand (std::stable_sort of the group pointers and a
// flat vector of rows). The location test answers at once in both, so the
// figures are the model's own cost, not the disk's.
#include "app/main/TargetListModel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;

namespace {

constexpr int kGroups = 134;
constexpr int kTargets = 2000;

// A fixed tree: sizes from a small linear congruential generator, with many
// empty groups (ties) as on a clean machine.
class Tree {
public:
    Tree()
    {
        uint64_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            return seed >> 33;
        };
        int made = 0;
        for (int g = 0; g < kGroups; ++g) {
            m_handles.emplace_back(TimeRecord::makeGroup(u"g", u"Group", u""));
            TimeRecord& group = *m_handles.back();
            const int count = kTargets / kGroups + (g < kTargets % kGroups ? 1 : 0);
            for (int t = 0; t < count; ++t, ++made) {
                TimeRecord* target = TimeRecord::makeTarget(purgo::Type_File, u"t", u"C:\\x");
                target->size = next() % 3 == 0 ? 0 : static_cast<int64_t>(next() % 100000000);
                group.size += target->size;
                group.addChild(target);
            }
            groups.push_back(&group);
        }
        benchmark::DoNotOptimize(made);
    }

    std::vector<TimeRecord*> groups;

private:
    std::vector<TimeRecordHandle> m_handles;
};

Tree& tree()
{
    static Tree shared;
    return shared;
}

void BM_ListModelExpandAllSortBySize(benchmark::State& state)
{
    Tree& t = tree();
    s::gui::list::TargetListModel model([](const TimeRecord&) { return true; });
    for (auto _ : state) {
        model.setGroups(t.groups);
        model.expandAll();
        model.sort(s::gui::list::Column::Size, s::gui::list::SortDirection::Descending);
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_ListModelExpandAllSortBySize);

// A click on the Size header with every group open: the sort alone, which
// must not ask the locations again.
void BM_ListModelResortOpenList(benchmark::State& state)
{
    Tree& t = tree();
    s::gui::list::TargetListModel model([](const TimeRecord&) { return true; });
    model.setGroups(t.groups);
    model.expandAll();
    bool descending = false;
    for (auto _ : state) {
        descending = !descending;
        model.sort(s::gui::list::Column::Size,
                   descending ? s::gui::list::SortDirection::Descending : s::gui::list::SortDirection::Ascending);
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_ListModelResortOpenList);

// The baseline: the least a list needs for the same result.
void BM_ListModelBaselineStableSort(benchmark::State& state)
{
    struct Row {
        TimeRecord* record;
        bool target;
        bool present;
    };
    Tree& t = tree();
    const auto present = [](const TimeRecord&) {
        return true;
    };
    std::vector<TimeRecord*> order;
    std::vector<Row> rows;
    for (auto _ : state) {
        order = t.groups;
        std::stable_sort(order.begin(), order.end(),
                         [](const TimeRecord* a, const TimeRecord* b) { return a->size > b->size; });
        rows.clear();
        for (TimeRecord* group : order) {
            rows.push_back(Row{group, false, true});
            for (std::size_t i = 0; i < group->childCount(); ++i)
                rows.push_back(Row{group->child(i), true, present(*group->child(i))});
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_ListModelBaselineStableSort);

}  // namespace
