// The rows of the main window's target list over the target tree: one row
// per shown group and, under an expanded group, one indented row per target
// in the group's own order. The model says what each row shows (check state,
// link, custom mark, absent look, cell texts), owns the list's order (sort),
// expansion, filter, selection and hot row, and tells its listener which rows
// changed, so that an owner-data list view repaints only those.
//
// The records are not owned: they belong to the window's `targets` and must
// outlive their rows (remove a group before giving it back to its pool).
//
// Failure rules: a row index outside 0 … rowCount() - 1 is ignored; queries
// on it answer nullptr, -1, false, Unchecked or the empty text, and
// operations on it change nothing and return false (or -1).
#pragma once

#include "base/StrBuffer.h"
#include "engine/TimeRecord.h"
#include "engine/Totals.h"
#include "gui/ListRows.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace s::gui::list {

using Record = s::file::gui::dialogs::purgo::TimeRecord;

enum class RowKind { Group, Target };

enum class Column : int { Title = 0, Size = 1, Found = 2, Description = 3 };
inline constexpr int kColumnCount = 4;
enum class SortKey { Text, Number };

struct ColumnDef {
    Column id;
    int32_t titleId;  // language id of the header text
    int32_t defaultWidth;
    Alignment alignment;
    SortKey sortedAs;
    // The widest figure the column shows (ListColumn::widest).
    std::u16string_view widest = {};
    // The column that takes the rest of the list's width, and its least
    // width (ListColumn::fillMinimum).
    int32_t fillMinimum = 0;
};

inline constexpr ColumnDef kColumns[kColumnCount] = {
    {Column::Title, 1001000, 260, Alignment::Left, SortKey::Text},
    {Column::Size, 1001001, 60, Alignment::Right, SortKey::Number, u"999.9 MB"},
    {Column::Found, 1001002, 55, Alignment::Right, SortKey::Number, u"9999999"},
    {Column::Description, 1001003, 800, Alignment::Left, SortKey::Text, {}, 120},
};

inline constexpr const ColumnDef& columnDef(Column column)
{
    return kColumns[static_cast<int>(column)];
}

class TargetListModel : public IListRows {
public:
    // Whether a target's location exists (engine's locationExists by default).
    // It may touch the disk, so it is asked when a group opens and when a
    // record is refreshed; sorting and filtering reuse the answers.
    using LocationTest = std::function<bool(const Record&)>;
    // Which groups get a row; an empty filter shows every group. "Show only
    // Related" is the engine's isRelated.
    using GroupFilter = std::function<bool(const Record&)>;

    explicit TargetListModel(LocationTest locationTest = {});

    void setListener(IListModelListener* listener) override { m_listener = listener; }

    // The groups in list order. Every group starts collapsed; selection, hot
    // row and sort order are cleared; the filter stays.
    void setGroups(std::span<Record* const> groups);
    // Sets the filter and applies it at once; groups inserted later pass it
    // as they come. Rows do not come and go by themselves when a record
    // changes later: applyFilter() does that.
    void setFilter(GroupFilter filter);
    // What a group's Description cell says while the program that holds its
    // files runs (guardRunning), in place of its description: "Close Chrome
    // to clean it". Unset, the description stays.
    using RunningNote = std::function<s::str::strbuffer::StrBuffer(const Record&)>;
    void setRunningNote(RunningNote note) { m_runningNote = std::move(note); }
    void applyFilter();

    // --- Rows -------------------------------------------------------------
    int rowCount() const override { return static_cast<int>(m_rows.size()); }
    Record* record(int row) const;
    RowKind kind(int row) const;
    // 0 for a group, 1 for a target (one indent step).
    int depth(int row) const override;
    CheckState checkState(int row) const override;
    // The title cell is a link: always for a group, for a target when its
    // location exists.
    bool isLink(int row) const override;
    // A target whose location does not exist is drawn absent.
    bool looksAbsent(int row) const override;
    // A custom group's row carries the custom mark.
    bool hasCustomMark(int row) const override;
    bool isExpanded(int row) const override;
    // Size written by formatSize, Found as plain digits, Title and
    // Description as the record has them.
    s::str::strbuffer::StrBuffer cellText(int row, Column column) const;

    // --- The view's reading (IListRows) --------------------------------------
    // The columns of kColumns; a group row is expandable; a cell's text as
    // cellText(row, Column) writes it; the record's icon location (file and index).
    int columnCount() const override { return kColumnCount; }
    ListColumn column(int index) const override;
    bool isExpandable(int row) const override { return valid(row) && kind(row) == RowKind::Group; }
    void cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const override;
    std::u16string_view iconKey(int row) const override;

    // The row showing the record, -1 when it has none (hidden, collapsed).
    int rowOf(const Record& record) const;
    // A target row's group row; a group row itself.
    int groupRowOf(int row) const;

    // --- Expansion --------------------------------------------------------
    // Group rows only; false when the state is already so.
    bool expand(int row) override;
    bool collapse(int row) override;
    bool toggleExpanded(int row) override;
    void expandAll();
    void collapseAll();

    // --- Check states ------------------------------------------------------
    // The record's own flag changes; a group's targets keep theirs, so a
    // checked group over an unchecked target reads Partial.
    bool setChecked(int row, bool checked);
    // The box was clicked (or "Select"/"Deselect" chosen): an Unchecked row
    // becomes checked, a Checked or Partial one unchecked. A group the
    // check question turns down stays unchecked.
    bool toggleCheck(int row) override;
    // Select All / Deselect All over the group rows; returns how many changed.
    // Select All asks the check question of each group it would check.
    int setAllGroupsChecked(bool checked);
    // Asked before the user checks a group (the box, Select, Select All);
    // false leaves the group unchecked. None: every group may be checked.
    // Checks set by the program (setChecked, the stored states) are not
    // asked about.
    using CheckQuestion = std::function<bool(const Record& group)>;
    void setCheckQuestion(CheckQuestion question) { m_checkQuestion = std::move(question); }

    // --- Order -------------------------------------------------------------
    // Stable sort of the groups by the column (text ignoring case, the
    // shorter of two equal beginnings first; numbers as signed 64-bit);
    // targets keep their order under their group. Groups without a row are
    // sorted too, so that the filter shows them in place later.
    void sort(Column column, SortDirection direction);
    bool isSorted() const { return m_sorted; }
    Column sortColumn() const { return m_sortColumn; }
    SortDirection sortDirection() const { return m_sortDirection; }
    // The same by column index (kColumns), for the view's header.
    void sortByColumn(int column, SortDirection direction) override;
    int sortedColumn() const override { return m_sorted ? static_cast<int>(m_sortColumn) : -1; }
    SortDirection sortedDirection() const override { return m_sortDirection; }

    // --- Groups coming and going -------------------------------------------
    // Puts the group before the group whose row is at or after `row`
    // (rowCount() or more: at the end), collapsed. Returns its row, or -1
    // when the filter hides it or it is already in the list.
    int insertGroup(Record* group, int row);
    // Puts the groups after every row, in their order, collapsed, and tells
    // the listener once: the list's size changes once for the lot. Groups
    // the filter hides or the list already has get no row. Returns how many
    // rows came.
    int appendGroups(std::span<Record* const> groups);
    // Takes the group and its rows out; the selected or hot row goes with
    // them (none), rows below move up. False when the group is not here.
    bool removeGroup(const Record* group);

    // The record's measures or location changed: repaint its row (a target's
    // group row too, a group's target rows too) and ask the location again.
    // Returns the row, or -1 when the record has none.
    int refresh(const Record& record);

    // --- Selection and hot row -----------------------------------------------
    int selected() const override { return m_selected; }
    int hot() const override { return m_hot; }
    // -1 clears; an index outside the rows is ignored.
    void select(int row) override;
    void setHot(int row) override;

    // Sums of every group in the list, shown or not.
    s::file::gui::dialogs::purgo::Totals totals() const;

private:
    struct GroupEntry {
        Record* group;
        bool shown;
        bool expanded;
        // The location answers of the targets since the group last opened;
        // empty when they must be asked again.
        std::vector<char> present;
    };
    struct Row {
        RowKind kind;
        Record* record;
        bool present;  // targets: the location existed when last asked
    };

    bool valid(int row) const { return row >= 0 && row < rowCount(); }
    bool passes(const Record& group) const { return !m_filter || m_filter(group); }
    GroupEntry* entryOf(const Record* group);
    int targetRowCount(int groupRow) const;
    void appendTargetRows(std::vector<Row>& rows, GroupEntry& entry) const;
    void rebuildRows();
    void rebuildKeepingSelection();
    void rebuildSelecting(const Record* selectedRecord);
    void rowsInsertedAt(int first, int count);
    void rowsRemovedAt(int first, int count, int survivor);
    void notifyChanged(int row);

    LocationTest m_locationTest;
    CheckQuestion m_checkQuestion;
    GroupFilter m_filter;
    RunningNote m_runningNote;
    IListModelListener* m_listener = nullptr;
    std::vector<GroupEntry> m_groups;  // list order, shown or not
    std::vector<Row> m_rows;
    int m_selected = -1;
    int m_hot = -1;
    bool m_sorted = false;
    Column m_sortColumn = Column::Title;
    SortDirection m_sortDirection = SortDirection::Ascending;
};

}  // namespace s::gui::list
