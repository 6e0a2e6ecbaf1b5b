// The target list's window: an owner-data report ListView over an IListRows.
// The ListView keeps the scrolling, selection, focus, keyboard navigation,
// header (with drag and drop of columns) and accessibility; every row and
// header cell is drawn through the skin painter by custom draw, with the
// text asked of the rows on demand, so that a list of thousands of rows
// costs only the rows on screen.
//
// A row's first column shows, from the left: the indent of its depth, the
// check box (three states), the custom mark, the icon and the title, which
// is underlined under the mouse when it is a link (with the hand cursor).
// Absent rows are drawn in a faded ink.
//
// Mouse and keys: a click on the box or Space toggles the check (the rows
// decide; the view reports it through onCheckClicked); a click on a link's
// title, or Enter on a link row, fires onLinkPressed; Right opens a group and
// Left closes it (Left on a row under a group goes to the group); a click on
// a header sorts by that column, a second click on it the other way round.
// A group row also has an expander box left of its check box.
//
// The parent must be a toolkit window (a Wnd): the ListView's notifications
// reach this object by reflection.
//
// Failure rules: create() answers false when the window cannot be made;
// operations on a row or column outside the range do nothing.
#pragma once

#include "gui/GdiHandles_win.h"
#include "gui/ListRows.h"
#include "gui/ListViewStep.h"
#include "gui/SkinPainter_win.h"
#include "gui/ToolTips_win.h"
#include "gui/Wnd_win.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace s::gui {

struct TargetListArgs {
    HWND parent = nullptr;
    int id = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Not owned; must outlive the view (the rows) or stay with the frame (the
    // painter, whose skin and scale the view draws in).
    s::gui::list::IListRows* rows = nullptr;
    SkinPainter* painter = nullptr;
    // The header text of a column's language id.
    std::function<std::wstring(int32_t titleId)> columnTitle;
    // The icon of a row's icon key (not owned, drawn 16 × 16 × scale); null
    // or a null answer: no icon, and no room kept for one.
    std::function<HICON(std::u16string_view key)> icon;
    bool alternateRows = true;
    s::gui::list::ListViewStep cellHeight = s::gui::list::ListViewStep::fromStored(0);
    s::gui::list::ListViewStep fontSize = s::gui::list::kDefaultFontSize;
};

class TargetListView : public Wnd, private s::gui::list::IListModelListener {
public:
    TargetListView();
    ~TargetListView() override;

    bool create(const TargetListArgs& args);

    // --- Events (on the window thread) ---------------------------------------
    // The user asked to toggle the row's box; the rows have toggled it already.
    std::function<void(int row)> onCheckClicked;
    // A link's title was clicked, or Enter pressed on a link row.
    std::function<void(int row)> onLinkPressed;
    std::function<void(int row)> onDoubleClick;
    // Row under the cursor (keyboard: the selected row), -1 for none; the
    // point in screen coordinates where a menu should open.
    std::function<void(int row, POINT screen)> onContextMenu;
    std::function<void(int row)> onSelectionChanged;

    // --- View options ----------------------------------------------------------
    void setAlternateRows(bool on);
    bool alternateRows() const { return m_alternateRows; }
    void setCellHeight(s::gui::list::ListViewStep step);
    void setFontSize(s::gui::list::ListViewStep step);
    // The row height in pixels now.
    int rowHeight() const;
    // After the painter's skin changed.
    void skinChanged();

    // After the language changed: asks columnTitle again.
    void updateColumnTitles();

    // --- Columns -------------------------------------------------------------
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    // Column indexes in display order.
    std::vector<int> columnOrder() const;
    // False (and nothing changes) unless order is a permutation of the columns.
    bool setColumnOrder(const std::vector<int>& order);
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // --- Bulk changes --------------------------------------------------------
    // Nested pairs; the list is drawn again once, when the last one resumes.
    void suspendDrawing();
    void resumeDrawing();
    // Where a row is drawn, in client coordinates; false for a row outside
    // the range. checkBox: the box's square; title: the first column's cell.
    bool rowRect(int row, RECT& out) const;
    bool checkBoxRect(int row, RECT& out) const;
    bool titleRect(int row, RECT& out) const;
    // The row under a client point, -1 for none.
    int rowAt(POINT client) const;
    // The tooltip window that shows a cell's whole text when its column cuts
    // it off (null when the system gave none).
    HWND cellTips() const { return m_cellTips.hwnd(); }

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    enum class Part { none, expander, checkBox, link, other };
    struct Hit {
        int row = -1;
        Part part = Part::none;
    };

    // IListModelListener
    void rowsInserted(int first, int count) override;
    void rowsRemoved(int first, int count) override;
    void rowChanged(int row) override;
    void rowsReset() override;
    void selectionChanged(int row) override;
    void hotChanged(int row) override;

    HWND header() const;
    Hit hitTest(POINT client) const;
    // The first column's cell of a row in client coordinates.
    bool firstCellRect(int row, RECT& out) const;
    int indentOf(int row) const;
    void syncItemCount();
    void redrawFrom(int first);
    void redrawRow(int row);
    void selectRow(int row);
    void showModelSelection();
    void reportSelection();
    void toggleCheck(int row);
    void setHotLink(int row, bool onLink);
    void applyRowHeight();
    void applyFonts();
    void scaleChanged();
    void applyColours();
    void addColumns();
    // LVN_ODFINDITEM: the row whose title begins with (or is) the text typed.
    LRESULT findByTitle(const NMLVFINDITEMW& find) const;
    // A column's width before the user sizes it (stored widths win).
    int startWidth(const s::gui::list::ListColumn& def, const std::wstring& title) const;

    LRESULT drawItem(NMLVCUSTOMDRAW& draw);
    LRESULT drawHeader(NMCUSTOMDRAW& draw);
    void drawCell(HDC dc, int row, int column, const RECT& cell, COLORREF ink);
    // Where the first column's parts go in a row's cell: the mark (x < 0:
    // none), the icon (null: none) and the title's text.
    struct TitleParts {
        int markLeft = -1;
        HICON icon = nullptr;
        int iconLeft = 0;
        RECT text{};
    };
    TitleParts titleParts(int row, const RECT& cell) const;
    // Where a cell's text is drawn.
    RECT cellTextRect(int row, int column, const RECT& cell) const;
    // The cell under a client point: false over no cell.
    bool cellAt(POINT client, int& row, int& column, RECT& cell) const;
    // The tooltip follows the cell under the mouse: the whole text when the
    // column cuts it off, none when it fits.
    void updateCellTip(POINT client);
    void drawTitleCell(HDC dc, int row, const RECT& cell, COLORREF ink);
    void fillDispInfo(NMLVDISPINFOW& info);
    void onKeyDown(WPARAM key, bool& handled);

    s::gui::list::IListRows* m_rows = nullptr;
    SkinPainter* m_painter = nullptr;
    Scale m_scale;  // the painter's, when the fonts and widths were set
    std::function<std::wstring(int32_t)> m_columnTitle;
    std::function<HICON(std::u16string_view)> m_icon;
    // The column that takes the width the others leave (-1: none), and
    // whether it still does: until widths are set or dragged.
    int m_fillColumn = -1;
    bool m_fitting = false;
    void fitColumns();
    std::vector<s::gui::list::ListColumn> m_columns;
    bool m_alternateRows = true;
    s::gui::list::ListViewStep m_cellHeight;
    s::gui::list::ListViewStep m_fontSize;
    int m_suspended = 0;
    bool m_syncingSelection = false;
    int m_reportedSelection = -1;
    int m_rowHeight = 0;
    // The row whose link the mouse is over, -1 for none.
    int m_hotLink = -1;
    bool m_trackingLeave = false;
    // Reused on every paint: no allocation per drawn cell.
    s::str::strbuffer::StrBuffer m_text;
    Font m_font;
    Font m_linkFont;
    // The ListView's own font: small, so that the row height follows the
    // image list alone (the view draws its text in m_font).
    Font m_measureFont;
    HIMAGELIST m_heightImages = nullptr;
    HIMAGELIST m_stateImages = nullptr;
    ToolTips m_cellTips;
    // The cell the tooltip describes, -1 for none.
    int m_tipRow = -1;
    int m_tipColumn = -1;
};

// Suspends drawing for a scope.
class DrawingSuspended {
public:
    explicit DrawingSuspended(TargetListView& view) : m_view(view) { m_view.suspendDrawing(); }
    ~DrawingSuspended() { m_view.resumeDrawing(); }
    DrawingSuspended(const DrawingSuspended&) = delete;
    DrawingSuspended& operator=(const DrawingSuspended&) = delete;

private:
    TargetListView& m_view;
};

}  // namespace s::gui
