#include "app/main/TargetListModel.h"

#include "base/Array.h"
#include "base/TextFormat.h"
#include "engine/TargetLocation.h"

#include <algorithm>
#include <utility>

namespace s::gui::list {

using s::str::strbuffer::StrBuffer;

namespace {

int compareGroups(const Record& a, const Record& b, Column column)
{
    switch (column) {
    case Column::Title:
        return StrBuffer::compareFolded(a.title.view(), b.title.view());
    case Column::Description:
        return StrBuffer::compareFolded(a.description.view(), b.description.view());
    case Column::Size:
        return a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
    case Column::Found:
        return a.found < b.found ? -1 : (a.found > b.found ? 1 : 0);
    }
    return 0;
}

}  // namespace

TargetListModel::TargetListModel(LocationTest locationTest) : m_locationTest(std::move(locationTest))
{
    if (!m_locationTest)
        m_locationTest = [](const Record& target) {
            return s::file::gui::dialogs::purgo::locationExists(target);
        };
}

void TargetListModel::setGroups(std::span<Record* const> groups)
{
    m_groups.clear();
    m_groups.reserve(groups.size());
    for (Record* group : groups)
        m_groups.push_back(GroupEntry{group, passes(*group), false, {}});
    m_sorted = false;
    m_selected = -1;
    m_hot = -1;
    rebuildRows();
    if (m_listener)
        m_listener->rowsReset();
}

void TargetListModel::setFilter(GroupFilter filter)
{
    m_filter = std::move(filter);
    applyFilter();
}

void TargetListModel::applyFilter()
{
    for (GroupEntry& entry : m_groups)
        entry.shown = passes(*entry.group);
    rebuildKeepingSelection();
}

Record* TargetListModel::record(int row) const
{
    return valid(row) ? m_rows[static_cast<std::size_t>(row)].record : nullptr;
}

RowKind TargetListModel::kind(int row) const
{
    return valid(row) ? m_rows[static_cast<std::size_t>(row)].kind : RowKind::Group;
}

int TargetListModel::depth(int row) const
{
    return kind(row) == RowKind::Target && valid(row) ? 1 : 0;
}

CheckState TargetListModel::checkState(int row) const
{
    const Record* node = record(row);
    if (!node || !node->checked)
        return CheckState::Unchecked;
    if (kind(row) == RowKind::Group) {
        for (std::size_t i = 0; i < node->childCount(); ++i) {
            if (!node->child(i)->checked)
                return CheckState::Partial;
        }
    }
    return CheckState::Checked;
}

bool TargetListModel::isLink(int row) const
{
    if (!valid(row))
        return false;
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    return r.kind == RowKind::Group || r.present;
}

bool TargetListModel::looksAbsent(int row) const
{
    if (!valid(row))
        return false;
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    return r.kind == RowKind::Target && !r.present;
}

bool TargetListModel::hasCustomMark(int row) const
{
    const Record* node = valid(row) && kind(row) == RowKind::Group ? record(row) : nullptr;
    return node && node->custom;
}

bool TargetListModel::isExpanded(int row) const
{
    if (!valid(row) || kind(row) != RowKind::Group)
        return false;
    // A group's targets follow its row exactly when it is expanded, but a
    // group without targets can be expanded too: ask its entry.
    for (const GroupEntry& entry : m_groups) {
        if (entry.group == record(row))
            return entry.expanded;
    }
    return false;
}

StrBuffer TargetListModel::cellText(int row, Column column) const
{
    StrBuffer text;
    cellText(row, static_cast<int>(column), text);
    return text;
}

void TargetListModel::cellText(int row, int column, StrBuffer& out) const
{
    out.clear();
    const Record* node = record(row);
    if (!node)
        return;
    switch (static_cast<Column>(column)) {
    case Column::Title:
        out.assign(node->title.view());
        break;
    case Column::Size:
        s::str::formatSize(node->size, out);
        break;
    case Column::Found:
        // The list shows the bare number; only the totals group its digits.
        out.appendS64(node->found);
        break;
    case Column::Description:
        if (node->isGroup() && node->guardRunning && m_runningNote)
            out = m_runningNote(*node);
        else
            out.assign(node->description.view());
        break;
    }
}

ListColumn TargetListModel::column(int index) const
{
    if (index < 0 || index >= kColumnCount)
        return ListColumn{0, 0, Alignment::Left};
    const ColumnDef& def = kColumns[index];
    return ListColumn{def.titleId, def.defaultWidth, def.alignment, def.widest, def.fillMinimum};
}

std::u16string_view TargetListModel::iconKey(int row) const
{
    const Record* node = record(row);
    return node ? node->iconSpec.view() : std::u16string_view();
}

void TargetListModel::sortByColumn(int column, SortDirection direction)
{
    if (column >= 0 && column < kColumnCount)
        sort(static_cast<Column>(column), direction);
}

int TargetListModel::rowOf(const Record& node) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].record == &node)
            return static_cast<int>(i);
    }
    return -1;
}

int TargetListModel::groupRowOf(int row) const
{
    if (!valid(row))
        return -1;
    while (row > 0 && m_rows[static_cast<std::size_t>(row)].kind == RowKind::Target)
        --row;
    return row;
}

TargetListModel::GroupEntry* TargetListModel::entryOf(const Record* group)
{
    for (GroupEntry& entry : m_groups) {
        if (entry.group == group)
            return &entry;
    }
    return nullptr;
}

int TargetListModel::targetRowCount(int groupRow) const
{
    int count = 0;
    for (std::size_t i = static_cast<std::size_t>(groupRow) + 1; i < m_rows.size() && m_rows[i].kind == RowKind::Target;
         ++i)
        ++count;
    return count;
}

void TargetListModel::appendTargetRows(std::vector<Row>& rows, GroupEntry& entry) const
{
    const Record& group = *entry.group;
    if (entry.present.size() != group.childCount()) {
        entry.present.assign(group.childCount(), 0);
        for (std::size_t i = 0; i < group.childCount(); ++i)
            entry.present[i] = m_locationTest(*group.child(i)) ? 1 : 0;
    }
    for (std::size_t i = 0; i < group.childCount(); ++i)
        rows.push_back(Row{RowKind::Target, group.child(i), entry.present[i] != 0});
}

void TargetListModel::rebuildRows()
{
    m_rows.clear();
    for (GroupEntry& entry : m_groups) {
        if (!entry.shown)
            continue;
        m_rows.push_back(Row{RowKind::Group, entry.group, true});
        if (entry.expanded)
            appendTargetRows(m_rows, entry);
    }
}

void TargetListModel::rebuildKeepingSelection()
{
    rebuildSelecting(record(m_selected));
}

void TargetListModel::rebuildSelecting(const Record* selectedRecord)
{
    // The selection follows its record; a hot row is wherever the mouse is,
    // which the view tells again on its next move.
    rebuildRows();
    m_selected = selectedRecord ? rowOf(*selectedRecord) : -1;
    m_hot = -1;
    if (m_listener)
        m_listener->rowsReset();
}

void TargetListModel::rowsInsertedAt(int first, int count)
{
    if (m_listener)
        m_listener->rowsInserted(first, count);
    if (m_selected >= first) {
        m_selected += count;
        if (m_listener)
            m_listener->selectionChanged(m_selected);
    }
    if (m_hot >= first) {
        m_hot += count;
        if (m_listener)
            m_listener->hotChanged(m_hot);
    }
}

void TargetListModel::rowsRemovedAt(int first, int count, int survivor)
{
    if (m_listener)
        m_listener->rowsRemoved(first, count);
    const auto moved = [&](int index) {
        if (index < first)
            return index;
        return index < first + count ? survivor : index - count;
    };
    const int selected = moved(m_selected);
    if (selected != m_selected) {
        m_selected = selected;
        if (m_listener)
            m_listener->selectionChanged(m_selected);
    }
    // The hot row is the one under the mouse: when it goes, whatever slides
    // under the mouse becomes hot on the view's next mouse move.
    const int hot = m_hot >= first && m_hot < first + count ? -1 : moved(m_hot);
    if (hot != m_hot) {
        m_hot = hot;
        if (m_listener)
            m_listener->hotChanged(m_hot);
    }
}

void TargetListModel::notifyChanged(int row)
{
    if (m_listener && valid(row))
        m_listener->rowChanged(row);
}

bool TargetListModel::expand(int row)
{
    if (!valid(row) || kind(row) != RowKind::Group)
        return false;
    GroupEntry* entry = entryOf(record(row));
    if (!entry || entry->expanded)
        return false;
    entry->expanded = true;
    // Opening a group is when the user looks: ask the locations afresh.
    entry->present.clear();
    std::vector<Row> targets;
    appendTargetRows(targets, *entry);
    m_rows.insert(m_rows.begin() + row + 1, targets.begin(), targets.end());
    if (!targets.empty())
        rowsInsertedAt(row + 1, static_cast<int>(targets.size()));
    notifyChanged(row);
    return true;
}

bool TargetListModel::collapse(int row)
{
    if (!valid(row) || kind(row) != RowKind::Group)
        return false;
    GroupEntry* entry = entryOf(record(row));
    if (!entry || !entry->expanded)
        return false;
    entry->expanded = false;
    entry->present.clear();
    const int count = targetRowCount(row);
    m_rows.erase(m_rows.begin() + row + 1, m_rows.begin() + row + 1 + count);
    // A selected target hands the selection to its group, as a tree does.
    if (count > 0)
        rowsRemovedAt(row + 1, count, row);
    notifyChanged(row);
    return true;
}

bool TargetListModel::toggleExpanded(int row)
{
    return isExpanded(row) ? collapse(row) : expand(row);
}

void TargetListModel::expandAll()
{
    for (GroupEntry& entry : m_groups) {
        if (!entry.expanded)
            entry.present.clear();
        entry.expanded = true;
    }
    rebuildKeepingSelection();
}

void TargetListModel::collapseAll()
{
    // A selected target hands the selection to its group.
    const Record* group = record(groupRowOf(m_selected));
    for (GroupEntry& entry : m_groups) {
        entry.expanded = false;
        entry.present.clear();
    }
    rebuildSelecting(group);
}

bool TargetListModel::setChecked(int row, bool checked)
{
    Record* node = record(row);
    if (!node || node->checked == checked)
        return false;
    node->checked = checked;
    notifyChanged(row);
    // A target's flag decides whether a checked group reads checked or
    // partial; an unchecked group reads unchecked either way.
    if (kind(row) == RowKind::Target && node->parent && node->parent->checked)
        notifyChanged(groupRowOf(row));
    return true;
}

bool TargetListModel::toggleCheck(int row)
{
    if (!valid(row))
        return false;
    const bool checking = checkState(row) == CheckState::Unchecked;
    if (checking && kind(row) == RowKind::Group && m_checkQuestion && !m_checkQuestion(*record(row)))
        return false;
    return setChecked(row, checking);
}

int TargetListModel::setAllGroupsChecked(bool checked)
{
    int changed = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if (kind(row) != RowKind::Group)
            continue;
        // The question may run a message loop: the rows are looked up again.
        const Record* group = record(row);
        if (checked && group && !group->checked && m_checkQuestion && !m_checkQuestion(*group))
            continue;
        if (valid(row) && setChecked(row, checked))
            ++changed;
    }
    return changed;
}

void TargetListModel::sort(Column column, SortDirection direction)
{
    // The library's merge sort is stable in both directions: groups that
    // compare equal keep the order they had, so sorts by two columns nest.
    // It moves elements as bytes, so it sorts positions, not the entries.
    struct Order {
        const std::vector<GroupEntry>* groups;
        Column column;
    } order{&m_groups, column};
    std::vector<int32_t> positions(m_groups.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = static_cast<int32_t>(i);
    s::col::_array::mergeSort(
        positions.data(), static_cast<int>(positions.size()), static_cast<int>(sizeof(int32_t)),
        [](const void* a, const void* b, void* user) {
            const Order& o = *static_cast<const Order*>(user);
            const auto& groups = *o.groups;
            return compareGroups(*groups[static_cast<std::size_t>(*static_cast<const int32_t*>(a))].group,
                                 *groups[static_cast<std::size_t>(*static_cast<const int32_t*>(b))].group, o.column);
        },
        &order,
        direction == SortDirection::Ascending ? s::col::_array::SortOrder::Ascending
                                              : s::col::_array::SortOrder::Descending);
    std::vector<GroupEntry> sorted;
    sorted.reserve(m_groups.size());
    for (int32_t position : positions)
        sorted.push_back(std::move(m_groups[static_cast<std::size_t>(position)]));
    m_groups = std::move(sorted);
    m_sorted = true;
    m_sortColumn = column;
    m_sortDirection = direction;
    rebuildKeepingSelection();
}

int TargetListModel::insertGroup(Record* group, int row)
{
    if (!group || entryOf(group))
        return -1;
    row = std::clamp(row, 0, rowCount());
    while (row < rowCount() && kind(row) != RowKind::Group)
        ++row;
    auto position = m_groups.end();
    if (row < rowCount()) {
        const Record* before = record(row);
        position = std::find_if(m_groups.begin(), m_groups.end(),
                                [&](const GroupEntry& entry) { return entry.group == before; });
    }
    const bool shown = passes(*group);
    m_groups.insert(position, GroupEntry{group, shown, false, {}});
    if (!shown)
        return -1;
    m_rows.insert(m_rows.begin() + row, Row{RowKind::Group, group, true});
    rowsInsertedAt(row, 1);
    return row;
}

int TargetListModel::appendGroups(std::span<Record* const> groups)
{
    const int first = rowCount();
    for (Record* group : groups) {
        if (!group || entryOf(group))
            continue;
        const bool shown = passes(*group);
        m_groups.push_back(GroupEntry{group, shown, false, {}});
        if (shown)
            m_rows.push_back(Row{RowKind::Group, group, true});
    }
    const int added = rowCount() - first;
    if (added > 0)
        rowsInsertedAt(first, added);
    return added;
}

bool TargetListModel::removeGroup(const Record* group)
{
    auto entry = std::find_if(m_groups.begin(), m_groups.end(),
                              [&](const GroupEntry& candidate) { return candidate.group == group; });
    if (entry == m_groups.end())
        return false;
    const bool shown = entry->shown;
    m_groups.erase(entry);
    if (!shown)
        return true;
    const int row = rowOf(*group);
    const int count = 1 + targetRowCount(row);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    rowsRemovedAt(row, count, -1);
    return true;
}

int TargetListModel::refresh(const Record& node)
{
    const int row = rowOf(node);
    if (row < 0)
        return -1;
    const int groupRow = groupRowOf(row);
    GroupEntry* entry = entryOf(record(groupRow));
    const int first = row == groupRow ? row + 1 : row;
    const int last = row == groupRow ? row + targetRowCount(row) : row;
    for (int i = first; i <= last; ++i) {
        Row& target = m_rows[static_cast<std::size_t>(i)];
        target.present = m_locationTest(*target.record);
        const std::size_t index = static_cast<std::size_t>(i - groupRow - 1);
        if (entry && index < entry->present.size())
            entry->present[index] = target.present ? 1 : 0;
    }
    // A target's measures are part of its group's sums: repaint both.
    notifyChanged(groupRow);
    for (int i = first; i <= last; ++i)
        notifyChanged(i);
    return row;
}

void TargetListModel::select(int row)
{
    if (row != -1 && !valid(row))
        return;
    if (row == m_selected)
        return;
    const int old = m_selected;
    m_selected = row;
    notifyChanged(old);
    notifyChanged(row);
    if (m_listener)
        m_listener->selectionChanged(row);
}

void TargetListModel::setHot(int row)
{
    if (row != -1 && !valid(row))
        return;
    if (row == m_hot)
        return;
    const int old = m_hot;
    m_hot = row;
    notifyChanged(old);
    notifyChanged(row);
    if (m_listener)
        m_listener->hotChanged(row);
}

s::file::gui::dialogs::purgo::Totals TargetListModel::totals() const
{
    std::vector<Record*> groups;
    groups.reserve(m_groups.size());
    for (const GroupEntry& entry : m_groups)
        groups.push_back(entry.group);
    return s::file::gui::dialogs::purgo::computeTotals(groups);
}

}  // namespace s::gui::list
