// The items model as the rows of the toolkit's owner-data list view
// (gui/ListRows.h): one flat row per visible item with its check box, the
// columns Path, Size, Found and Modified, a click on a header sorting by it. The view
// asks for text on demand, so a hundred thousand items cost only the rows
// on screen.
#pragma once

#include "app/items/ItemsModel.h"
#include "gui/ListRows.h"

#include <functional>

namespace s::file::gui::dialogs::purgo {

class ItemRows final : public s::gui::list::IListRows {
public:
    enum class Column : int { Path, Size, Found, Modified };

    // The Modified column's text of a time (a FILETIME number); a time of 0
    // shows empty. Until set: the UTC form "2024-03-15T09:30:00Z".
    std::function<std::u16string(int64_t)> timeText;

    ItemsModel& model() { return m_model; }
    const ItemsModel& model() const { return m_model; }
    // New items (checked, the order kept), or a filter: the view reads
    // everything again.
    void setItems(std::vector<ListedItem> items);
    void setFilter(std::u16string_view filter);
    // The header's check box: every visible row.
    void setAllChecked(bool checked);

    void setListener(s::gui::list::IListModelListener* listener) override { m_listener = listener; }
    int columnCount() const override { return 4; }
    s::gui::list::ListColumn column(int index) const override;
    int rowCount() const override { return static_cast<int>(m_model.rowCount()); }
    int depth(int) const override { return 0; }
    s::gui::list::CheckState checkState(int row) const override;
    bool isExpandable(int) const override { return false; }
    bool isExpanded(int) const override { return false; }
    bool isLink(int) const override { return false; }
    bool hasCustomMark(int) const override { return false; }
    bool looksAbsent(int) const override { return false; }
    void cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const override;
    std::u16string_view iconKey(int) const override { return {}; }
    bool toggleCheck(int row) override;
    bool expand(int) override { return false; }
    bool collapse(int) override { return false; }
    bool toggleExpanded(int) override { return false; }
    void sortByColumn(int column, s::gui::list::SortDirection direction) override;
    int sortedColumn() const override { return m_sorted; }
    s::gui::list::SortDirection sortedDirection() const override { return m_direction; }
    void select(int row) override;
    int selected() const override { return m_selected; }
    void setHot(int row) override;
    int hot() const override { return m_hot; }

private:
    bool valid(int row) const { return row >= 0 && row < rowCount(); }
    void reset();

    ItemsModel m_model;
    s::gui::list::IListModelListener* m_listener = nullptr;
    int m_sorted = -1;
    s::gui::list::SortDirection m_direction = s::gui::list::SortDirection::Ascending;
    int m_selected = -1;
    int m_hot = -1;
};

}  // namespace s::file::gui::dialogs::purgo
