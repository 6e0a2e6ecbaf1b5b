#include "app/main/MainWindowState.h"

#include <algorithm>
#include <string>

namespace s::file::gui::dialogs::purgo {

namespace {

constexpr char16_t kOrderSection[] = u"MainWindow\\ColumnOrder2";
constexpr char16_t kWidthSection[] = u"MainWindow\\ColumnWidth2";

std::u16string valueName(int index)
{
    std::u16string name = u"_";
    for (char c : std::to_string(index))
        name += static_cast<char16_t>(c);
    return name;
}

bool isArrangement(std::vector<int> order, int columnCount)
{
    if (static_cast<int>(order.size()) != columnCount)
        return false;
    std::sort(order.begin(), order.end());
    for (int i = 0; i < columnCount; ++i)
        if (order[static_cast<std::size_t>(i)] != i)
            return false;
    return true;
}

bool sameId(const TimeRecord& a, const TimeRecord& b)
{
    return a.id.equalsIgnoreCase(b.id.view());
}

}  // namespace

ColumnLayout readColumnLayout(s::map::IMappedData& store, int columnCount)
{
    ColumnLayout layout;
    const int length = store.getS32(kOrderSection, u"length", 0);
    if (length < 1 || length > 64)
        return layout;
    for (int i = 0; i < length; ++i)
        layout.order.push_back(store.getS32(kOrderSection, valueName(i), i));
    if (length >= 4)
        for (int i = 0; i < length; ++i)
            layout.widths.push_back(store.getS32(kWidthSection, valueName(i), 0));
    if (!isArrangement(layout.order, columnCount))
        layout.order.clear();
    if (static_cast<int>(layout.widths.size()) != columnCount)
        layout.widths.clear();
    return layout;
}

void storeColumnLayout(s::map::IMappedData& store, const std::vector<int>& order, const std::vector<int>& widths)
{
    store.beginBatch();
    store.setS32(kOrderSection, u"length", static_cast<int32_t>(order.size()));
    for (std::size_t i = 0; i < order.size(); ++i)
        store.setS32(kOrderSection, valueName(static_cast<int>(i)), order[i]);
    for (std::size_t i = 0; i < widths.size(); ++i)
        store.setS32(kWidthSection, valueName(static_cast<int>(i)), widths[i]);
    store.endBatch();
}

int addCustomGroup(std::vector<TimeRecord*>& groups, s::gui::list::TargetListModel& list, TimeRecord* copy)
{
    groups.push_back(copy);
    return list.insertGroup(copy, 0);
}

bool replaceCustomGroup(std::vector<TimeRecord*>& groups, s::gui::list::TargetListModel& list, TimeRecord* copy)
{
    const auto old = std::find_if(groups.begin(), groups.end(), [&](const TimeRecord* g) { return sameId(*g, *copy); });
    if (old == groups.end()) {
        copy->release();
        return false;
    }
    TimeRecord* replaced = *old;
    const int row = list.rowOf(*replaced);
    list.removeGroup(replaced);
    groups.erase(old);
    replaced->release();
    groups.push_back(copy);
    list.insertGroup(copy, row >= 0 ? row : list.rowCount());
    return true;
}

bool removeCustomGroup(std::vector<TimeRecord*>& groups, s::gui::list::TargetListModel& list, TimeRecord* group)
{
    const auto found = std::find(groups.begin(), groups.end(), group);
    if (found == groups.end())
        return false;
    list.removeGroup(group);
    groups.erase(found);
    group->release();
    return true;
}

}  // namespace s::file::gui::dialogs::purgo
