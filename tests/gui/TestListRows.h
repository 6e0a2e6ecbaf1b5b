// A small row source for the target list's view in tests and the demo:
// groups of targets with check flags, a custom flag and absent targets.
#pragma once

#include "gui/ListRows.h"

#include <algorithm>
#include <string>
#include <vector>

namespace s::gui::list::test {

// Groups of targets, as the main window shows them: a group row, and its
// targets' rows under it while it is open. Sorting orders the groups only.
class TestRows : public IListRows {
public:
    struct Target {
        std::u16string title;
        bool checked = true;
        bool present = true;
    };
    struct Group {
        std::u16string title;
        int64_t size = 0;
        bool checked = false;
        bool custom = false;
        bool expanded = false;
        std::vector<Target> targets;
    };

    std::vector<Group> groups;
    int selectedRow = -1;
    int hotRow = -1;
    int sortColumn = -1;
    SortDirection direction = SortDirection::Ascending;

    void changed() { rebuild(true); }

    void removeGroup(std::size_t index)
    {
        const int first = rowOfGroup(index);
        const int count = 1 + (groups[index].expanded ? static_cast<int>(groups[index].targets.size()) : 0);
        groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(index));
        rebuild(false);
        if (hotRow >= first) {
            hotRow = -1;
            if (m_listener)
                m_listener->hotChanged(-1);
        }
        if (selectedRow >= first) {
            selectedRow = -1;
            if (m_listener)
                m_listener->selectionChanged(-1);
        }
        if (m_listener)
            m_listener->rowsRemoved(first, count);
    }

    void setListener(IListModelListener* listener) override { m_listener = listener; }
    int columnCount() const override { return 3; }
    ListColumn column(int index) const override
    {
        static const ListColumn columns[] = {
            {1, 200, Alignment::Left}, {2, 70, Alignment::Right}, {3, 150, Alignment::Left}};
        return index >= 0 && index < 3 ? columns[index] : ListColumn{0, 0, Alignment::Left};
    }
    int rowCount() const override { return static_cast<int>(m_rows.size()); }
    int depth(int row) const override { return valid(row) && rowRef(row).target >= 0 ? 1 : 0; }
    CheckState checkState(int row) const override
    {
        if (!valid(row))
            return CheckState::Unchecked;
        const Group& g = group(row);
        if (rowRef(row).target >= 0)
            return target(row).checked ? CheckState::Checked : CheckState::Unchecked;
        if (!g.checked)
            return CheckState::Unchecked;
        for (const Target& t : g.targets)
            if (!t.checked)
                return CheckState::Partial;
        return CheckState::Checked;
    }
    bool isExpandable(int row) const override { return valid(row) && rowRef(row).target < 0; }
    bool isExpanded(int row) const override { return isExpandable(row) && group(row).expanded; }
    bool isLink(int row) const override { return valid(row) && (rowRef(row).target < 0 || target(row).present); }
    bool hasCustomMark(int row) const override { return isExpandable(row) && group(row).custom; }
    bool looksAbsent(int row) const override { return valid(row) && rowRef(row).target >= 0 && !target(row).present; }
    void cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const override
    {
        out.clear();
        if (!valid(row))
            return;
        const bool isTarget = rowRef(row).target >= 0;
        if (column == 0)
            out.assign(isTarget ? target(row).title : group(row).title);
        else if (column == 1 && !isTarget)
            out.appendS64(group(row).size);
        else if (column == 2)
            out.assign(u"about ").append(isTarget ? target(row).title : group(row).title);
    }
    std::u16string_view iconKey(int) const override { return {}; }

    bool toggleCheck(int row) override
    {
        if (!valid(row))
            return false;
        const bool on = checkState(row) == CheckState::Unchecked;
        if (rowRef(row).target >= 0)
            groups[rowRef(row).group].targets[static_cast<std::size_t>(rowRef(row).target)].checked = on;
        else
            groups[rowRef(row).group].checked = on;
        if (m_listener)
            m_listener->rowChanged(row);
        return true;
    }
    bool expand(int row) override { return setExpanded(row, true); }
    bool collapse(int row) override { return setExpanded(row, false); }
    bool toggleExpanded(int row) override { return setExpanded(row, !isExpanded(row)); }
    void sortByColumn(int column, SortDirection dir) override
    {
        sortColumn = column;
        direction = dir;
        std::stable_sort(groups.begin(), groups.end(), [column, dir](const Group& a, const Group& b) {
            const bool less = column == 1 ? a.size < b.size : a.title < b.title;
            const bool greater = column == 1 ? b.size < a.size : b.title < a.title;
            return dir == SortDirection::Ascending ? less : greater;
        });
        selectedRow = -1;
        rebuild(true);
    }
    int sortedColumn() const override { return sortColumn; }
    SortDirection sortedDirection() const override { return direction; }
    void select(int row) override
    {
        if (row < -1 || row >= rowCount() || row == selectedRow)
            return;
        const int old = selectedRow;
        selectedRow = row;
        if (m_listener) {
            m_listener->rowChanged(old);
            m_listener->rowChanged(row);
            m_listener->selectionChanged(row);
        }
    }
    int selected() const override { return selectedRow; }
    void setHot(int row) override
    {
        if (row < -1 || row >= rowCount())
            return;
        hotRow = row;
        if (m_listener)
            m_listener->hotChanged(row);
    }
    int hot() const override { return hotRow; }

private:
    struct RowRef {
        std::size_t group;
        int target;  // -1: the group's row
    };
    bool valid(int row) const { return row >= 0 && row < rowCount(); }
    const RowRef& rowRef(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    const Group& group(int row) const { return groups[rowRef(row).group]; }
    const Target& target(int row) const
    {
        return groups[rowRef(row).group].targets[static_cast<std::size_t>(rowRef(row).target)];
    }
    int rowOfGroup(std::size_t index) const
    {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].group == index && m_rows[i].target < 0)
                return static_cast<int>(i);
        return -1;
    }
    bool setExpanded(int row, bool on)
    {
        if (!isExpandable(row) || group(row).expanded == on)
            return false;
        groups[rowRef(row).group].expanded = on;
        const int count = static_cast<int>(group(row).targets.size());
        rebuild(false);
        if (m_listener) {
            m_listener->rowChanged(row);
            if (on)
                m_listener->rowsInserted(row + 1, count);
            else
                m_listener->rowsRemoved(row + 1, count);
        }
        return true;
    }
    void rebuild(bool reset)
    {
        m_rows.clear();
        for (std::size_t g = 0; g < groups.size(); ++g) {
            m_rows.push_back({g, -1});
            if (groups[g].expanded)
                for (std::size_t t = 0; t < groups[g].targets.size(); ++t)
                    m_rows.push_back({g, static_cast<int>(t)});
        }
        if (reset && m_listener)
            m_listener->rowsReset();
    }

    IListModelListener* m_listener = nullptr;
    std::vector<RowRef> m_rows;
};

}  // namespace s::gui::list::test
