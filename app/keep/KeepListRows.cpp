#include "app/keep/KeepListRows.h"

#include "catalogue/KeepListStore.h"
#include "lang/TextIds.h"

namespace s::file::gui::dialogs::purgo {

using s::gui::list::Alignment;
using s::gui::list::CheckState;
using s::gui::list::ListColumn;
using s::gui::list::SortDirection;
namespace ids = s::lang::ids;

void KeepListRows::modelChanged(int select)
{
    m_selected = valid(select) ? select : -1;
    m_hot = -1;
    if (m_listener) {
        m_listener->rowsReset();
        m_listener->selectionChanged(m_selected);
    }
}

ListColumn KeepListRows::column(int index) const
{
    switch (static_cast<Column>(index)) {
    case Column::Type:
        // Room for the check box beside the longest English type name.
        return ListColumn{ids::kKeepTypeColumn, 95, Alignment::Left, u"Pattern WW"};
    case Column::What:
        return ListColumn{ids::kKeepWhatColumn, 250, Alignment::Left};
    case Column::Added:
        return ListColumn{ids::kKeepAddedColumn, 110, Alignment::Left, u"12/31/2026 12:59 PM"};
    }
    return ListColumn{0, 0, Alignment::Left};
}

CheckState KeepListRows::checkState(int row) const
{
    return valid(row) && m_model.isChecked(static_cast<std::size_t>(row)) ? CheckState::Checked : CheckState::Unchecked;
}

void KeepListRows::cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const
{
    out.clear();
    if (!valid(row))
        return;
    const KeepEntry& entry = m_model.row(static_cast<std::size_t>(row));
    switch (static_cast<Column>(column)) {
    case Column::Type:
        out.assign(m_model.typeName(entry.type));
        break;
    case Column::What:
        out.assign(m_model.whatText(entry));
        break;
    case Column::Added:
        if (entry.added != 0)
            out.assign(dateText ? dateText(entry.added) : utcText(entry.added));
        break;
    }
}

bool KeepListRows::toggleCheck(int row)
{
    if (!valid(row))
        return false;
    const auto index = static_cast<std::size_t>(row);
    if (!m_model.setChecked(index, !m_model.isChecked(index)))
        return false;
    if (m_listener)
        m_listener->rowChanged(row);
    return true;
}

void KeepListRows::sortByColumn(int column, SortDirection direction)
{
    if (column < 0 || column >= columnCount())
        return;
    // The selected entry stays selected in its new place.
    const bool had = valid(m_selected);
    const KeepEntry selected = had ? m_model.row(static_cast<std::size_t>(m_selected)) : KeepEntry{};
    m_sorted = column;
    m_direction = direction;
    m_model.sortBy(static_cast<KeepListModel::Column>(column), direction == SortDirection::Ascending);
    modelChanged(had ? m_model.rowOf(selected) : -1);
}

void KeepListRows::select(int row)
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

void KeepListRows::setHot(int row)
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
