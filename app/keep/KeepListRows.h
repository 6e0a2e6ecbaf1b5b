// The Keep List model as the rows of the toolkit's owner-data list view
// (gui/ListRows.h): one row per entry with a check box that marks it for
// "Remove", the columns Type, What and Added, a click on a header sorting
// by it.
#pragma once

#include "app/keep/KeepListModel.h"
#include "gui/ListRows.h"

#include <functional>

namespace s::file::gui::dialogs::purgo {

class KeepListRows final : public s::gui::list::IListRows {
public:
    enum class Column : int { Type, What, Added };

    // Not owned; outlives the rows.
    explicit KeepListRows(KeepListModel& model) : m_model(model) {}

    KeepListModel& model() { return m_model; }
    // The Added column's text of a time (seconds since 1970 UTC); a time of
    // 0 (not known) shows empty. Until set: the stored UTC form.
    std::function<std::u16string(int64_t)> dateText;

    // After the model changed under the rows (reload, add, remove): the view
    // reads everything again; the selection goes to `select` (-1: none).
    void modelChanged(int select = -1);

    void setListener(s::gui::list::IListModelListener* listener) override { m_listener = listener; }
    int columnCount() const override { return 3; }
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

    KeepListModel& m_model;
    s::gui::list::IListModelListener* m_listener = nullptr;
    int m_sorted = -1;
    s::gui::list::SortDirection m_direction = s::gui::list::SortDirection::Ascending;
    int m_selected = -1;
    int m_hot = -1;
};

}  // namespace s::file::gui::dialogs::purgo
