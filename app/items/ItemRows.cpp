#include "app/items/ItemRows.h"

#include "base/TextFormat.h"
#include "catalogue/KeepListStore.h"
#include "lang/TextIds.h"

namespace s::file::gui::dialogs::purgo {

using s::gui::list::Alignment;
using s::gui::list::CheckState;
using s::gui::list::ListColumn;
using s::gui::list::SortDirection;
namespace ids = s::lang::ids;

namespace {

// A FILETIME counts 100-ns steps from 1601-01-01, which is this many seconds
// before 1970-01-01.
constexpr int64_t kFileTimeStepsPerSecond = 10000000;
constexpr int64_t kFileTimeEpochSeconds = 11644473600LL;

}  // namespace

void ItemRows::setItems(std::vector<ListedItem> items)
{
    m_model.setItems(std::move(items));
    reset();
}

void ItemRows::setFilter(std::u16string_view filter)
{
    m_model.setFilter(filter);
    reset();
}

void ItemRows::setAllChecked(bool checked)
{
    m_model.setAllChecked(checked);
    if (m_listener)
        m_listener->rowsReset();
}

void ItemRows::reset()
{
    m_selected = -1;
    m_hot = -1;
    if (m_listener)
        m_listener->rowsReset();
}

ListColumn ItemRows::column(int index) const
{
    switch (static_cast<Column>(index)) {
    case Column::Path:
        return ListColumn{ids::kItemsPathColumn, 350, Alignment::Left};
    case Column::Size:
        return ListColumn{ids::kSizeColumn, 70, Alignment::Right, u"999.9 MB"};
    case Column::Found:
        return ListColumn{ids::kFoundColumn, 60, Alignment::Right, u"99999"};
    case Column::Modified:
        return ListColumn{ids::kItemsModifiedColumn, 110, Alignment::Left, u"99/99/9999 99:99 PM"};
    }
    return ListColumn{0, 0, Alignment::Left};
}

CheckState ItemRows::checkState(int row) const
{
    if (!valid(row))
        return CheckState::Unchecked;
    return m_model.row(static_cast<std::size_t>(row)).checked ? CheckState::Checked : CheckState::Unchecked;
}

void ItemRows::cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const
{
    out.clear();
    if (!valid(row))
        return;
    const ListedItem& item = m_model.row(static_cast<std::size_t>(row));
    switch (static_cast<Column>(column)) {
    case Column::Path:
        out.assign(item.text);
        break;
    case Column::Size:
        s::str::formatSize(item.size, out);
        break;
    case Column::Found:
        out.appendS64(item.found);
        break;
    case Column::Modified:
        if (item.modified <= 0)
            break;
        if (timeText)
            out.assign(timeText(item.modified));
        else
            out.assign(utcText(item.modified / kFileTimeStepsPerSecond - kFileTimeEpochSeconds));
        break;
    }
}

bool ItemRows::toggleCheck(int row)
{
    if (!valid(row))
        return false;
    const bool checked = m_model.row(static_cast<std::size_t>(row)).checked;
    if (!m_model.setChecked(static_cast<std::size_t>(row), !checked))
        return false;
    if (m_listener)
        m_listener->rowChanged(row);
    return true;
}

void ItemRows::sortByColumn(int column, SortDirection direction)
{
    if (column < 0 || column >= columnCount())
        return;
    m_sorted = column;
    m_direction = direction;
    ItemsModel::Column by = ItemsModel::Column::Path;
    switch (static_cast<Column>(column)) {
    case Column::Path:
        by = ItemsModel::Column::Path;
        break;
    case Column::Size:
        by = ItemsModel::Column::Size;
        break;
    case Column::Found:
        by = ItemsModel::Column::Found;
        break;
    case Column::Modified:
        by = ItemsModel::Column::Modified;
        break;
    }
    m_model.sortBy(by, direction == SortDirection::Ascending);
    reset();
}

void ItemRows::select(int row)
{
    const int now = valid(row) ? row : -1;
    if (now == m_selected)
        return;
    const int before = m_selected;
    m_selected = now;
    if (m_listener) {
        if (before >= 0)
            m_listener->rowChanged(before);
        if (now >= 0)
            m_listener->rowChanged(now);
        m_listener->selectionChanged(now);
    }
}

void ItemRows::setHot(int row)
{
    const int now = valid(row) ? row : -1;
    if (now == m_hot)
        return;
    const int before = m_hot;
    m_hot = now;
    if (m_listener) {
        if (before >= 0)
            m_listener->rowChanged(before);
        if (now >= 0)
            m_listener->rowChanged(now);
        m_listener->hotChanged(now);
    }
}

}  // namespace s::file::gui::dialogs::purgo
