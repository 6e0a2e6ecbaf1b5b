// What the target list's view needs of its rows, in plain C++: the rows'
// look (depth, check state, expander, link, custom mark, absent look, cell
// texts, icon key), the columns, the commands the view sends when the user
// acts (toggle a check, open or close a group, sort, select, hover), and the
// listener through which the rows say what changed, so that an owner-data
// list view asks for text on demand and repaints only what changed.
//
// Failure rules: a row or column outside the range is ignored; queries on it
// answer 0, false, Unchecked, an empty text or -1, commands change nothing
// and return false.
#pragma once

#include "base/StrBuffer.h"

#include "gui/CheckState.h"
#include <cstdint>
#include <string_view>

namespace s::gui::list {

using CheckState = s::gui::CheckState;
enum class Alignment { Left, Right };
enum class SortDirection { Ascending, Descending };

struct ListColumn {
    int32_t titleId;  // language id of the header text
    int32_t defaultWidth;
    Alignment alignment;
    // The widest text the column shows in common use ("999.9 MB"): the
    // column starts wide enough for it, and for its header, in any font
    // size; empty: the default width decides.
    std::u16string_view widest = {};
    // Above 0: the column takes the width the others leave of the list's
    // (gui/ColumnFit.h), never less than this (pixels at scale 1), until a
    // width is set from outside or dragged by the user.
    int32_t fillMinimum = 0;
};

// What a view must redraw. Row indexes are those after the change.
class IListModelListener {
public:
    virtual ~IListModelListener() = default;
    virtual void rowsInserted(int first, int count) = 0;
    virtual void rowsRemoved(int first, int count) = 0;
    // One row reads differently (check state, measures, expander, link).
    virtual void rowChanged(int row) = 0;
    // Order or membership changed throughout (groups set, sort, filter,
    // expand all): read everything again, the selection and hot row included.
    virtual void rowsReset() = 0;
    // The selected or hot row is now `row` (-1: none) after a change of the
    // rows around it, or a select() / setHot() (which also report the old
    // and new row as changed).
    virtual void selectionChanged(int row) = 0;
    virtual void hotChanged(int row) = 0;
};

class IListRows {
public:
    virtual ~IListRows() = default;

    // One listener (the view); null detaches it.
    virtual void setListener(IListModelListener* listener) = 0;

    // --- Columns -----------------------------------------------------------
    virtual int columnCount() const = 0;
    // A column outside the range reads {0, 0, Left}.
    virtual ListColumn column(int index) const = 0;

    // --- Rows --------------------------------------------------------------
    virtual int rowCount() const = 0;
    // 0 for a top-level row, 1 for a row under it.
    virtual int depth(int row) const = 0;
    virtual CheckState checkState(int row) const = 0;
    // A row that can show rows under it, and whether it does now.
    virtual bool isExpandable(int row) const = 0;
    virtual bool isExpanded(int row) const = 0;
    // The first column's text is a link.
    virtual bool isLink(int row) const = 0;
    virtual bool hasCustomMark(int row) const = 0;
    // The row stands for something that is not there.
    virtual bool looksAbsent(int row) const = 0;
    // Writes the cell's text into out (cleared first), so that a view that
    // draws every visible cell on every paint reuses one buffer.
    virtual void cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const = 0;
    // Names the row's icon for the view's icon source; empty for none. Valid
    // until the rows change.
    virtual std::u16string_view iconKey(int row) const = 0;

    // --- Commands ------------------------------------------------------------
    // The box was clicked: Unchecked becomes checked, Checked or Partial
    // unchecked.
    virtual bool toggleCheck(int row) = 0;
    virtual bool expand(int row) = 0;
    virtual bool collapse(int row) = 0;
    virtual bool toggleExpanded(int row) = 0;
    virtual void sortByColumn(int column, SortDirection direction) = 0;
    // The column of the last sort, -1 before any.
    virtual int sortedColumn() const = 0;
    virtual SortDirection sortedDirection() const = 0;
    // -1 clears.
    virtual void select(int row) = 0;
    virtual int selected() const = 0;
    virtual void setHot(int row) = 0;
    virtual int hot() const = 0;
};

}  // namespace s::gui::list
