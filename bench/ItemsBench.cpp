// The items window's model with the 100,000 items of one target (a folder of
// 100,000 files in the in-memory file system): listing them as the window
// does (the clean's own listing, each item measured), putting them into the
// model, then sorting by size and filtering by text. The baseline is the
// scan of the same target, which walks the same files once: read the
// listing's time as a multiple of it. The window asks for no text until a
// row is drawn, so the listing is what opening the window costs.
#include "app/items/ItemsModel.h"
#include "engine/Scan.h"
#include "platform/fake/FakeFileSystem.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;

constexpr int kItems = 100000;
constexpr char16_t kFolder[] = u"C:\\bench\\items";

std::u16string number(int n)
{
    std::u16string text;
    for (char c : std::to_string(n))
        text += static_cast<char16_t>(c);
    return text;
}

purgo::TimeRecord& target()
{
    static purgo::TimeRecordHandle group = [] {
        s::platform::FakeFileSystem& fs = s::platform::fakeFileSystem();
        fs.addFolder(kFolder);
        for (int f = 0; f < kItems; ++f)
            fs.addFile(std::u16string(kFolder) + u"\\cache" + number(f) + u".tmp",
                       static_cast<std::uint64_t>(100 + (f * 7919) % 100000));
        purgo::TimeRecordHandle made(purgo::TimeRecord::makeGroup(u"g", u"G", u""));
        made->addChild(purgo::TimeRecord::makeTarget(purgo::Type_Folder_1_Level, u"t", kFolder));
        return made;
    }();
    return *group->child(0);
}

void BM_ScanBaseline(benchmark::State& state)
{
    purgo::TimeRecord& t = target();
    for (auto _ : state) {
        purgo::scan(t, nullptr, purgo::Captions::Without);
        benchmark::DoNotOptimize(t.found);
    }
}
BENCHMARK(BM_ScanBaseline)->Unit(benchmark::kMillisecond);

void BM_ListItemsIntoModel(benchmark::State& state)
{
    purgo::TimeRecord& t = target();
    for (auto _ : state) {
        purgo::ItemsModel model;
        model.setItems(purgo::listRowItems(t));
        if (model.itemCount() != static_cast<std::size_t>(kItems))
            state.SkipWithError("the listing lost items");
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_ListItemsIntoModel)->Unit(benchmark::kMillisecond);

void BM_SortAndFilter(benchmark::State& state)
{
    purgo::ItemsModel model;
    model.setItems(purgo::listRowItems(target()));
    for (auto _ : state) {
        model.sortBy(purgo::ItemsModel::Column::Size, false);
        model.setFilter(u"CACHE99");
        model.setFilter(u"");
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_SortAndFilter)->Unit(benchmark::kMillisecond);

}  // namespace
