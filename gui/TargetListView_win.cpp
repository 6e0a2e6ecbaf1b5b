#include "gui/TargetListView_win.h"

#include "gui/ColumnFit.h"
#include "gui/ListTheme_win.h"

#include <commctrl.h>

#include <algorithm>

namespace s::gui {

using s::gui::drawer::SkinColour;
using s::gui::drawer::SkinPalette;
using s::gui::list::Alignment;
using s::gui::list::CheckState;
using s::gui::list::ListViewStep;
using s::gui::list::SortDirection;

namespace {

// Pixels at scale 1 of the first column's parts: a slot per level (the
// expander's slot, then one per depth), the box, the mark and the icon.
constexpr int kCellPadding = 2;
constexpr int kSlot = 16;
constexpr int kExpanderSize = 9;
constexpr int kMarkSize = 8;
constexpr int kIconSize = 16;
constexpr int kGap = 4;
// The ListView's own font only sizes rows; the view draws in its own font.
constexpr int kMeasureFontHeight = 6;

const wchar_t* wide(const s::str::strbuffer::StrBuffer& text)
{
    // UTF-16 in both: Windows' wchar_t is 16 bits.
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

HFONT makeFont(int pixelHeight, bool underline)
{
    return CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace

TargetListView::TargetListView() = default;

TargetListView::~TargetListView()
{
    if (m_rows)
        m_rows->setListener(nullptr);
    destroy();
    // LVS_SHAREIMAGELISTS: the list never frees it, so it goes after the list.
    if (m_heightImages)
        ImageList_Destroy(m_heightImages);
    if (m_stateImages)
        ImageList_Destroy(m_stateImages);
}

bool TargetListView::create(const TargetListArgs& args)
{
    if (!args.rows || !args.painter)
        return false;
    m_rows = args.rows;
    m_painter = args.painter;
    m_columnTitle = args.columnTitle;
    m_icon = args.icon;
    m_alternateRows = args.alternateRows;
    m_cellHeight = args.cellHeight;
    m_fontSize = args.fontSize;
    m_scale = m_painter->scale();

    WndArgs wnd;
    wnd.parent = args.parent;
    wnd.className = WC_LISTVIEWW;
    wnd.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                LVS_SINGLESEL | LVS_SHAREIMAGELISTS;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    wnd.id = args.id;
    if (!Wnd::create(wnd))
        return false;
    HWND list = hwnd();
    // LVS_EX_CHECKBOXES: the rows are check boxes to accessibility tools;
    // the clicks and Space on them stay ours (onMessage).
    const DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER | LVS_EX_CHECKBOXES;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
    // The check state travels as the state image through LVN_GETDISPINFO, so
    // that another process (an end-to-end test, a screen reader) can read it
    // with LVM_GETITEMSTATE; Wine asks for it only with this mask.
    SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    addColumns();
    applyFonts();
    applyColours();
    applyRowHeight();
    m_rows->setListener(this);
    syncItemCount();
    m_cellTips.create();
    return true;
}

// --- Columns ---------------------------------------------------------------

int TargetListView::startWidth(const s::gui::list::ListColumn& def, const std::wstring& title) const
{
    int width = m_painter->px(def.defaultWidth);
    if (def.widest.empty())
        return width;
    // Measured in the largest font the Font Size menu offers, with the
    // cell's padding, and never narrower than the header's text (a longer
    // language's "Found" would read "Gefu..." otherwise).
    WindowDc dc(hwnd());
    const Font largest(makeFont((SkinPainter::kFontHeight + 1 + 3) * m_painter->scale(), false));
    const std::wstring widest(def.widest.begin(), def.widest.end());
    SIZE text{};
    {
        Selection selected(dc.get(), largest.get());
        GetTextExtentPoint32W(dc.get(), widest.c_str(), static_cast<int>(widest.size()), &text);
    }
    const SIZE header = m_painter->measureText(dc.get(), title);
    const int padding = m_painter->px(2 * SkinPainter::kTextPadding);
    return std::max({width, static_cast<int>(text.cx) + padding, static_cast<int>(header.cx) + padding});
}

LRESULT TargetListView::findByTitle(const NMLVFINDITEMW& find) const
{
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz)
        return -1;
    const std::u16string_view typed(reinterpret_cast<const char16_t*>(find.lvfi.psz));
    const int count = m_rows->rowCount();
    if (typed.empty() || count == 0)
        return -1;
    const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
    const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    s::str::strbuffer::StrBuffer title;
    // From the start row to the end, then (LVFI_WRAP) from the top.
    const int rounds = (find.lvfi.flags & LVFI_WRAP) ? count : count - start;
    for (int step = 0; step < rounds; ++step) {
        const int row = (start + step) % count;
        title.clear();
        m_rows->cellText(row, 0, title);
        const std::u16string_view text = title.view();
        if (text.size() < typed.size() || (!partial && text.size() != typed.size()))
            continue;
        if (s::str::strbuffer::StrBuffer::compareFolded(text.substr(0, typed.size()), typed) == 0)
            return row;
    }
    return -1;
}

void TargetListView::addColumns()
{
    m_columns.clear();
    m_fillColumn = -1;
    const int count = m_rows->columnCount();
    for (int i = 0; i < count; ++i) {
        const s::gui::list::ListColumn def = m_rows->column(i);
        m_columns.push_back(def);
        std::wstring title = m_columnTitle ? m_columnTitle(def.titleId) : std::wstring();
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = def.alignment == Alignment::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = startWidth(def, title);
        column.pszText = title.data();
        column.iSubItem = i;
        SendMessageW(hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        if (def.fillMinimum > 0)
            m_fillColumn = i;
    }
    m_fitting = m_fillColumn >= 0;
    fitColumns();
}

void TargetListView::fitColumns()
{
    if (!m_fitting || m_fillColumn < 0 || m_fillColumn >= columnCount())
        return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (client.right <= 0)
        return;  // not laid out yet: the first WM_SIZE fits the columns
    // As if the vertical scroll bar were there: it comes and goes with the
    // rows (and its coming sends no WM_SIZE), and the columns must not
    // overflow when it appears.
    const bool vertical = (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VSCROLL) != 0;
    const int available = client.right - (vertical ? 0 : GetSystemMetrics(SM_CXVSCROLL));
    std::vector<int> widths;
    for (int i = 0; i < columnCount(); ++i)
        widths.push_back(columnWidth(i));
    const int minimum = m_painter->px(m_columns[static_cast<std::size_t>(m_fillColumn)].fillMinimum);
    const int width = fillingWidth(widths, m_fillColumn, available, minimum);
    if (width != widths[static_cast<std::size_t>(m_fillColumn)])
        SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(m_fillColumn), MAKELPARAM(width, 0));
}

void TargetListView::updateColumnTitles()
{
    for (int i = 0; i < columnCount(); ++i) {
        std::wstring title =
            m_columnTitle ? m_columnTitle(m_columns[static_cast<std::size_t>(i)].titleId) : std::wstring();
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = title.data();
        SendMessageW(hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    InvalidateRect(header(), nullptr, TRUE);
}

std::vector<int> TargetListView::columnOrder() const
{
    std::vector<int> order(m_columns.size());
    if (!order.empty())
        SendMessageW(hwnd(), LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

bool TargetListView::setColumnOrder(const std::vector<int>& order)
{
    if (order.size() != m_columns.size())
        return false;
    std::vector<char> seen(order.size(), 0);
    for (int column : order) {
        if (column < 0 || column >= columnCount() || seen[static_cast<std::size_t>(column)])
            return false;
        seen[static_cast<std::size_t>(column)] = 1;
    }
    std::vector<int> copy = order;
    SendMessageW(hwnd(), LVM_SETCOLUMNORDERARRAY, copy.size(), reinterpret_cast<LPARAM>(copy.data()));
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
}

int TargetListView::columnWidth(int column) const
{
    if (column < 0 || column >= columnCount())
        return 0;
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void TargetListView::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columnCount())
        return;
    m_fitting = false;  // widths from outside (the stored ones) stay as given
    SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(std::max(width, 0), 0));
}

HWND TargetListView::header() const
{
    return reinterpret_cast<HWND>(SendMessageW(hwnd(), LVM_GETHEADER, 0, 0));
}

// --- View options ----------------------------------------------------------

void TargetListView::setAlternateRows(bool on)
{
    m_alternateRows = on;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TargetListView::setCellHeight(ListViewStep step)
{
    m_cellHeight = step;
    applyRowHeight();
}

void TargetListView::setFontSize(ListViewStep step)
{
    m_fontSize = step;
    applyFonts();
    // Without a Cell Height step the row follows the font.
    applyRowHeight();
}

void TargetListView::skinChanged()
{
    applyFonts();
    applyColours();
    applyRowHeight();
}

void TargetListView::scaleChanged()
{
    // The fonts, the rows and the columns' widths follow the painter's new
    // scale; a width the user chose keeps its share.
    const Scale now = m_painter->scale();
    if (now == m_scale)
        return;
    for (int column = 0; column < columnCount(); ++column)
        setColumnWidth(column, now(m_scale.unscale(columnWidth(column))));
    m_scale = now;
    applyFonts();
    applyRowHeight();
}

void TargetListView::applyFonts()
{
    const s::gui::Scale scale = m_painter->scale();
    // -1 (the default step) is the painter's own text height.
    const int step = m_fontSize.isSet() ? m_fontSize.value() : -1;
    const int height = (SkinPainter::kFontHeight + 1 + step) * scale;
    m_font.reset(makeFont(height, false));
    m_linkFont.reset(makeFont(height, true));
    // The ListView sizes its rows by the larger of its font and its small
    // image list (plus one pixel); with a tiny font the image list alone
    // decides. WM_SETFONT also reaches the header, which gets the painter's
    // font back right after.
    m_measureFont.reset(makeFont(kMeasureFontHeight * scale, false));
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_measureFont.get()), FALSE);
    SendMessageW(header(), WM_SETFONT, reinterpret_cast<WPARAM>(m_painter->font()), TRUE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TargetListView::applyColours()
{
    // The area below the last row is the ListView's own background.
    const COLORREF bg = m_painter->colour(SkinColour::listBg);
    SendMessageW(hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(bg));
    SendMessageW(hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(bg));
    SendMessageW(hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(m_painter->colour(SkinColour::listFont)));
    // The scroll bars are the system's: a dark skin asks for the dark theme.
    applyListTheme(hwnd(), listThemeFor(m_painter->palette()[SkinColour::listBg]));
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TargetListView::applyRowHeight()
{
    const s::gui::Scale scale = m_painter->scale();
    int own = 0;
    {
        WindowDc dc(hwnd());
        Selection selected(dc.get(), m_font.get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.get(), &metrics);
        own = metrics.tmHeight + 4 * scale;
    }
    m_rowHeight = s::gui::list::rowHeight(m_cellHeight, scale, own);

    // The row height follows the small image list's height plus a padding
    // that comctl32 adds (one pixel in Wine's ListView); it is measured on a
    // row rather than assumed. An owner-data list with no rows gets one for
    // the measure, with drawing off.
    HWND list = hwnd();
    if (m_suspended == 0)
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (count == 0)
        SendMessageW(list, LVM_SETITEMCOUNT, 1, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    int imageHeight = m_rowHeight;
    for (int attempt = 0; attempt < 2; ++attempt) {
        HIMAGELIST images = ImageList_Create(1, std::max(imageHeight, 1), ILC_COLOR32, 1, 0);
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
        if (m_heightImages)
            ImageList_Destroy(m_heightImages);
        m_heightImages = images;
        // The check boxes' state images, as thin as the height images: the
        // list paints its boxes itself, but a screen reader reads a row's
        // check state from its state image (1 unchecked, 2 checked, 3
        // partial) only where there are check-box state images.
        HIMAGELIST states = ImageList_Create(1, std::max(imageHeight, 1), ILC_COLOR32, 3, 0);
        ImageList_SetImageCount(states, 3);
        const auto old = reinterpret_cast<HIMAGELIST>(
            SendMessageW(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(states)));
        // The first one is the list's own (made with LVS_EX_CHECKBOXES); with
        // shared image lists it is ours to destroy like ours.
        if (old)
            ImageList_Destroy(old);
        m_stateImages = states;
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
        const int actual = rect.bottom - rect.top;
        if (actual == m_rowHeight)
            break;
        imageHeight -= actual - m_rowHeight;
    }
    if (count == 0)
        SendMessageW(list, LVM_SETITEMCOUNT, 0, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (m_suspended == 0) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

int TargetListView::rowHeight() const
{
    return m_rowHeight;
}

// --- Bulk changes ----------------------------------------------------------

void TargetListView::suspendDrawing()
{
    if (m_suspended++ == 0)
        SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
}

void TargetListView::resumeDrawing()
{
    if (m_suspended == 0 || --m_suspended > 0)
        return;
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- The rows' listener ----------------------------------------------------

void TargetListView::syncItemCount()
{
    if (!hwnd())
        return;
    // A count the list has already is not set again: the list updates its
    // scroll bars on every setting, and drawing a themed scroll bar is slow.
    const auto count = static_cast<WPARAM>(m_rows->rowCount());
    if (static_cast<WPARAM>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0)) != count)
        SendMessageW(hwnd(), LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    // An owner-data ListView keeps its selection by index: it must follow
    // the rows' own selection after rows moved.
    showModelSelection();
}

void TargetListView::redrawFrom(int first)
{
    if (!hwnd() || m_suspended > 0)
        return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int top = static_cast<int>(SendMessageW(hwnd(), LVM_GETTOPINDEX, 0, 0));
    RECT headerRect{};
    GetWindowRect(header(), &headerRect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&headerRect), 2);
    // Rows below `first` moved: everything from its top down, the area the
    // removed rows leave empty included, is drawn again.
    const int y = std::max<int>(headerRect.bottom, headerRect.bottom + (first - top) * m_rowHeight);
    if (y >= client.bottom)
        return;
    const RECT dirty{client.left, y, client.right, client.bottom};
    InvalidateRect(hwnd(), &dirty, TRUE);
}

void TargetListView::redrawRow(int row)
{
    if (!hwnd() || m_suspended > 0 || row < 0 || row >= m_rows->rowCount())
        return;
    SendMessageW(hwnd(), LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

void TargetListView::rowsInserted(int first, int /*count*/)
{
    syncItemCount();
    redrawFrom(first);
}

void TargetListView::rowsRemoved(int first, int /*count*/)
{
    if (m_hotLink >= m_rows->rowCount() || m_hotLink >= first)
        m_hotLink = -1;
    syncItemCount();
    redrawFrom(first);
}

void TargetListView::rowChanged(int row)
{
    redrawRow(row);
}

void TargetListView::rowsReset()
{
    m_hotLink = -1;
    syncItemCount();
    if (hwnd() && m_suspended == 0)
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void TargetListView::selectionChanged(int /*row*/)
{
    showModelSelection();
}

void TargetListView::hotChanged(int row)
{
    if (row != m_hotLink && m_hotLink >= 0) {
        const int old = m_hotLink;
        m_hotLink = -1;
        redrawRow(old);
    }
}

// --- Selection ---------------------------------------------------------------

void TargetListView::showModelSelection()
{
    if (!hwnd() || m_syncingSelection)
        return;
    const int row = m_rows->selected();
    m_syncingSelection = true;
    LVITEMW clear{};
    clear.stateMask = LVIS_SELECTED;
    SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    if (row >= 0) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    m_syncingSelection = false;
    reportSelection();
}

void TargetListView::reportSelection()
{
    const int row = m_rows->selected();
    if (row == m_reportedSelection)
        return;
    m_reportedSelection = row;
    if (onSelectionChanged)
        onSelectionChanged(row);
}

void TargetListView::selectRow(int row)
{
    if (row < 0 || row >= m_rows->rowCount())
        return;
    // The rows take the selection first; their listener call puts it on the
    // ListView.
    if (m_rows->selected() != row)
        m_rows->select(row);
    else
        showModelSelection();
    SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TargetListView::toggleCheck(int row)
{
    if (row < 0 || row >= m_rows->rowCount())
        return;
    if (m_rows->toggleCheck(row) && onCheckClicked)
        onCheckClicked(row);
}

void TargetListView::setHotLink(int row, bool onLink)
{
    const int hotLink = onLink ? row : -1;
    if (hotLink == m_hotLink)
        return;
    const int old = m_hotLink;
    m_hotLink = hotLink;
    redrawRow(old);
    redrawRow(hotLink);
}

// --- Geometry ----------------------------------------------------------------

bool TargetListView::rowRect(int row, RECT& out) const
{
    if (!hwnd() || row < 0 || row >= m_rows->rowCount())
        return false;
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!SendMessageW(hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)))
        return false;
    out = rect;
    return true;
}

bool TargetListView::firstCellRect(int row, RECT& out) const
{
    RECT rect{};
    if (!rowRect(row, rect))
        return false;
    // The header's item rectangles follow the column order and widths; the
    // header window moves left as the list scrolls, so mapping its
    // coordinates gives the cell's place in the list.
    RECT item{};
    if (!SendMessageW(header(), HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    MapWindowPoints(header(), hwnd(), reinterpret_cast<POINT*>(&item), 2);
    out = RECT{item.left, rect.top, item.right, rect.bottom};
    return true;
}

int TargetListView::indentOf(int row) const
{
    return m_painter->px(kCellPadding + kSlot * (1 + m_rows->depth(row)));
}

bool TargetListView::titleRect(int row, RECT& out) const
{
    return firstCellRect(row, out);
}

bool TargetListView::checkBoxRect(int row, RECT& out) const
{
    RECT cell{};
    if (!firstCellRect(row, cell))
        return false;
    const int size = m_painter->px(SkinPainter::kCheckBoxSize);
    const int left = cell.left + indentOf(row) + m_painter->px(kSlot - SkinPainter::kCheckBoxSize) / 2;
    const int top = cell.top + (cell.bottom - cell.top - size) / 2;
    out = RECT{left, top, left + size, top + size};
    return true;
}

int TargetListView::rowAt(POINT client) const
{
    const int count = m_rows->rowCount();
    if (!hwnd() || count == 0 || m_rowHeight <= 0)
        return -1;
    RECT headerRect{};
    GetWindowRect(header(), &headerRect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&headerRect), 2);
    if (client.y < headerRect.bottom)
        return -1;
    const int top = static_cast<int>(SendMessageW(hwnd(), LVM_GETTOPINDEX, 0, 0));
    RECT topRect{};
    if (!rowRect(top, topRect) || client.y < topRect.top)
        return -1;
    const int height = topRect.bottom - topRect.top;
    if (height <= 0)
        return -1;
    const int row = top + (client.y - topRect.top) / height;
    return row < count ? row : -1;
}

TargetListView::Hit TargetListView::hitTest(POINT client) const
{
    Hit hit;
    hit.row = rowAt(client);
    if (hit.row < 0)
        return hit;
    hit.part = Part::other;
    RECT cell{};
    if (!firstCellRect(hit.row, cell) || client.x < cell.left || client.x >= cell.right)
        return hit;
    RECT box{};
    checkBoxRect(hit.row, box);
    const int slot = m_painter->px(kSlot);
    const int expanderLeft = cell.left + m_painter->px(kCellPadding);
    if (m_rows->isExpandable(hit.row) && client.x >= expanderLeft && client.x < expanderLeft + slot)
        hit.part = Part::expander;
    else if (client.x >= box.left - m_painter->px(1) && client.x < box.right + m_painter->px(1))
        hit.part = Part::checkBox;
    else if (client.x >= box.right && m_rows->isLink(hit.row))
        hit.part = Part::link;
    return hit;
}

// --- Drawing -------------------------------------------------------------------

LRESULT TargetListView::drawItem(NMLVCUSTOMDRAW& draw)
{
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    HDC dc = draw.nmcd.hdc;
    RECT rect{};
    if (!rowRect(row, rect))
        return CDRF_SKIPDEFAULT;
    RECT client{};
    GetClientRect(hwnd(), &client);
    // The row's colour runs to the window's right edge, past the last column.
    rect.right = std::max(rect.right, client.right);
    const SkinPalette& palette = m_painter->palette();
    const bool selected = m_rows->selected() == row;
    s::gui::drawer::Rgb back = palette.row(row, m_alternateRows);
    if (selected)
        back = SkinPalette::blend(back, palette[SkinColour::listFont], 25);
    m_painter->fillColour(dc, rect, SkinPainter::colorRef(back));
    COLORREF ink = m_painter->colour(SkinColour::listFont);
    if (m_rows->looksAbsent(row))
        ink = SkinPainter::colorRef(SkinPalette::blend(palette[SkinColour::listFont], back, 55));

    HWND head = header();
    POINT origin{0, 0};
    MapWindowPoints(head, hwnd(), &origin, 1);
    SetBkMode(dc, TRANSPARENT);
    for (int column = 0; column < columnCount(); ++column) {
        RECT item{};
        if (!SendMessageW(head, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
            continue;
        const RECT cell{item.left + origin.x, rect.top, item.right + origin.x, rect.bottom};
        if (cell.right <= client.left || cell.left >= client.right)
            continue;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
        if (column == 0)
            drawTitleCell(dc, row, cell, ink);
        else
            drawCell(dc, row, column, cell, ink);
        RestoreDC(dc, saved);
    }
    return CDRF_SKIPDEFAULT;
}

void TargetListView::drawCell(HDC dc, int row, int column, const RECT& cell, COLORREF ink)
{
    m_rows->cellText(row, column, m_text);
    const int pad = m_painter->px(SkinPainter::kTextPadding);
    RECT label{cell.left + pad, cell.top, cell.right - pad, cell.bottom};
    const bool right = m_columns[static_cast<std::size_t>(column)].alignment == Alignment::Right;
    Selection font(dc, m_font.get());
    SetTextColor(dc, ink);
    DrawTextW(dc, wide(m_text), m_text.length(), &label,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | (right ? DT_RIGHT : DT_LEFT));
}

TargetListView::TitleParts TargetListView::titleParts(int row, const RECT& cell) const
{
    const s::gui::Scale s = m_painter->scale();
    TitleParts parts;
    RECT box{};
    checkBoxRect(row, box);
    int x = box.right + kGap * s;
    if (m_rows->hasCustomMark(row)) {
        parts.markLeft = x;
        x += 2 * (kMarkSize * s / 2) + kGap * s;
    }
    if (m_icon) {
        const std::u16string_view key = m_rows->iconKey(row);
        parts.icon = key.empty() ? nullptr : m_icon(key);
        if (parts.icon) {
            parts.iconLeft = x;
            x += kIconSize * s + kGap * s;
        }
    }
    parts.text = RECT{x, cell.top, cell.right - m_painter->px(kCellPadding), cell.bottom};
    return parts;
}

RECT TargetListView::cellTextRect(int row, int column, const RECT& cell) const
{
    if (column == 0)
        return titleParts(row, cell).text;
    const int pad = m_painter->px(SkinPainter::kTextPadding);
    return RECT{cell.left + pad, cell.top, cell.right - pad, cell.bottom};
}

void TargetListView::drawTitleCell(HDC dc, int row, const RECT& cell, COLORREF ink)
{
    const s::gui::Scale s = m_painter->scale();
    const COLORREF fontInk = m_painter->colour(SkinColour::listFont);
    if (m_rows->isExpandable(row)) {
        // A square with a minus, and a plus while closed.
        const int size = kExpanderSize * s;
        const int left = cell.left + m_painter->px(kCellPadding) + (kSlot * s - size) / 2;
        const int top = cell.top + (cell.bottom - cell.top - size) / 2;
        const RECT square{left, top, left + size, top + size};
        m_painter->frame(dc, square, fontInk);
        const int mid = top + size / 2;
        const int line = 1 * s;
        const RECT bar{left + 2 * s, mid - line / 2, left + size - 2 * s, mid - line / 2 + line};
        m_painter->fillColour(dc, bar, fontInk);
        if (!m_rows->isExpanded(row)) {
            const int centre = left + size / 2;
            const RECT stem{centre - line / 2, top + 2 * s, centre - line / 2 + line, top + size - 2 * s};
            m_painter->fillColour(dc, stem, fontInk);
        }
    }
    RECT box{};
    checkBoxRect(row, box);
    const RECT boxArea{box.left, cell.top, box.right, cell.bottom};
    m_painter->drawCheckBox(dc, boxArea, std::wstring_view(), m_rows->checkState(row));
    const TitleParts parts = titleParts(row, cell);
    if (parts.markLeft >= 0) {
        // A diamond in the skin's first counter colour.
        const int x = parts.markLeft;
        const int half = kMarkSize * s / 2;
        const int cy = (cell.top + cell.bottom) / 2;
        const POINT points[] = {{x + half, cy - half}, {x + 2 * half, cy}, {x + half, cy + half}, {x, cy}};
        const COLORREF mark = m_painter->colour(SkinColour::counter01);
        Selection brush(dc, m_painter->brush(mark));
        Selection pen(dc, m_painter->pen(mark));
        Polygon(dc, points, 4);
    }
    if (parts.icon) {
        const int size = kIconSize * s;
        DrawIconEx(dc, parts.iconLeft, cell.top + (cell.bottom - cell.top - size) / 2, parts.icon, size, size, 0,
                   nullptr, DI_NORMAL);
    }
    m_rows->cellText(row, 0, m_text);
    RECT label = parts.text;
    Selection font(dc, (row == m_hotLink ? m_linkFont : m_font).get());
    SetTextColor(dc, ink);
    DrawTextW(dc, wide(m_text), m_text.length(), &label,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
}

bool TargetListView::cellAt(POINT client, int& row, int& column, RECT& cell) const
{
    row = rowAt(client);
    RECT rowBox{};
    if (row < 0 || !rowRect(row, rowBox))
        return false;
    HWND head = header();
    POINT origin{0, 0};
    MapWindowPoints(head, hwnd(), &origin, 1);
    for (column = 0; column < columnCount(); ++column) {
        RECT item{};
        if (!SendMessageW(head, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
            continue;
        cell = RECT{item.left + origin.x, rowBox.top, item.right + origin.x, rowBox.bottom};
        if (PtInRect(&cell, client))
            return true;
    }
    return false;
}

void TargetListView::updateCellTip(POINT client)
{
    if (!m_cellTips.hwnd())
        return;
    int row = -1;
    int column = -1;
    RECT cell{};
    if (!cellAt(client, row, column, cell)) {
        row = -1;
        column = -1;
    }
    if (row == m_tipRow && column == m_tipColumn)
        return;
    m_tipRow = row;
    m_tipColumn = column;
    // A new cell: the tip of the last one goes, and this one's shows (when
    // it has one) after the usual pause.
    SendMessageW(m_cellTips.hwnd(), TTM_POP, 0, 0);
    std::wstring tip;
    if (row >= 0) {
        m_rows->cellText(row, column, m_text);
        const RECT text = cellTextRect(row, column, cell);
        WindowDc dc(hwnd());
        Selection font(dc.get(), m_font.get());
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), wide(m_text), m_text.length(), &size);
        if (size.cx > text.right - text.left)
            tip.assign(wide(m_text), static_cast<std::size_t>(m_text.length()));
    }
    m_cellTips.setAreaTip(hwnd(), 1, row >= 0 ? cell : RECT{}, tip);
}

LRESULT TargetListView::drawHeader(NMCUSTOMDRAW& draw)
{
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT: {
        // A stack buffer: no allocation per header paint.
        wchar_t text[128] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(draw.hdr.hwndFrom, HDM_GETITEMW, draw.dwItemSpec, reinterpret_cast<LPARAM>(&item));
        m_painter->drawHeaderCell(draw.hdc, draw.rc, text);
        return CDRF_SKIPDEFAULT;
    }
    case CDDS_POSTPAINT: {
        // The header fills the room right of its last item in the system's
        // face colour after the items: paint it over in the skin's.
        const int count = static_cast<int>(SendMessageW(draw.hdr.hwndFrom, HDM_GETITEMCOUNT, 0, 0));
        RECT client{};
        GetClientRect(draw.hdr.hwndFrom, &client);
        int right = 0;
        for (int i = 0; i < count; ++i) {
            RECT item{};
            SendMessageW(draw.hdr.hwndFrom, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            right = std::max<int>(right, item.right);
        }
        if (right < client.right) {
            const RECT rest{right, client.top, client.right, client.bottom};
            m_painter->fill(draw.hdc, rest, SkinColour::listHeaderBg);
        }
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void TargetListView::fillDispInfo(NMLVDISPINFOW& info)
{
    LVITEMW& item = info.item;
    const int row = item.iItem;
    if (row < 0 || row >= m_rows->rowCount())
        return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        m_rows->cellText(row, item.iSubItem, m_text);
        const int length = std::min(m_text.length(), item.cchTextMax - 1);
        std::copy_n(wide(m_text), length, item.pszText);
        item.pszText[length] = L'\0';
    }
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~static_cast<UINT>(LVIS_STATEIMAGEMASK)) |
                     INDEXTOSTATEIMAGEMASK(static_cast<UINT>(m_rows->checkState(row)));
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
    if (item.mask & LVIF_INDENT)
        item.iIndent = m_rows->depth(row);
}

// --- Messages ------------------------------------------------------------------

bool TargetListView::onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg != WM_NOTIFY)
        return Wnd::onReflected(msg, wp, lp, result);
    auto* header = reinterpret_cast<NMHDR*>(lp);
    switch (header->code) {
    case NM_CUSTOMDRAW: {
        auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
            result = CDRF_NOTIFYITEMDRAW;
        else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            result = drawItem(draw);
        else
            result = CDRF_DODEFAULT;
        return true;
    }
    case LVN_GETDISPINFOW:
        fillDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lp));
        result = 0;
        return true;
    case LVN_ODFINDITEMW:
        // Type-ahead: the ListView collects the keys typed and asks for the
        // next row whose title begins with them.
        result = findByTitle(*reinterpret_cast<NMLVFINDITEMW*>(lp));
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = *reinterpret_cast<NMLISTVIEW*>(lp);
        // An owner-data ListView reports a whole range as item -1: ask for
        // the selection rather than read the item.
        if (!m_syncingSelection && (change.uChanged & LVIF_STATE) &&
            ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
            const int row = static_cast<int>(
                SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
            if (row != m_rows->selected()) {
                m_syncingSelection = true;
                m_rows->select(row);
                m_syncingSelection = false;
            }
            reportSelection();
        }
        result = 0;
        return true;
    }
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem;
        const SortDirection direction =
            m_rows->sortedColumn() == column && m_rows->sortedDirection() == SortDirection::Ascending
                ? SortDirection::Descending
                : SortDirection::Ascending;
        {
            DrawingSuspended quiet(*this);
            m_rows->sortByColumn(column, direction);
        }
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

void TargetListView::onKeyDown(WPARAM key, bool& handled)
{
    const int row = m_rows->selected();
    handled = false;
    switch (key) {
    case VK_SPACE:
        toggleCheck(row);
        handled = true;
        break;
    case VK_RETURN:
        if (row >= 0 && m_rows->isLink(row) && onLinkPressed)
            onLinkPressed(row);
        handled = true;
        break;
    case VK_RIGHT:
        if (row >= 0 && m_rows->isExpandable(row)) {
            m_rows->expand(row);
            handled = true;
        }
        break;
    case VK_LEFT:
        if (row >= 0 && m_rows->isExpandable(row)) {
            m_rows->collapse(row);
            handled = true;
        } else if (row >= 0 && m_rows->depth(row) > 0) {
            int group = row;
            while (group > 0 && m_rows->depth(group) > 0)
                --group;
            selectRow(group);
            handled = true;
        }
        break;
    default:
        break;
    }
}

LRESULT TargetListView::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case kScaleChangedMessage:
        scaleChanged();
        return 0;
    case WM_NOTIFY: {
        // The header is the ListView's child: its notifications come here.
        auto& notify = *reinterpret_cast<NMHDR*>(lp);
        if (notify.hwndFrom == header() && notify.code == NM_CUSTOMDRAW)
            return drawHeader(*reinterpret_cast<NMCUSTOMDRAW*>(lp));
        // The user sizes a column: the widths are the user's from now on.
        if (notify.hwndFrom == header() && (notify.code == HDN_BEGINTRACKW || notify.code == HDN_BEGINTRACKA ||
                                            notify.code == HDN_DIVIDERDBLCLICKW || notify.code == HDN_DIVIDERDBLCLICKA))
            m_fitting = false;
        break;
    }
    case WM_SIZE: {
        const LRESULT result = defaultProc(msg, wp, lp);
        fitColumns();
        return result;
    }
    case WM_KEYDOWN: {
        bool handled = false;
        onKeyDown(wp, handled);
        if (handled)
            return 0;
        break;
    }
    case WM_CHAR:
        // Space and Enter are ours; the ListView would start a type-ahead
        // search with them.
        if (wp == L' ' || wp == L'\r')
            return 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const Hit hit = hitTest(point);
        const bool twice = msg == WM_LBUTTONDBLCLK;
        // The box, the expander and a link act at once and skip the
        // ListView's own button-down, which would first wait in a modal
        // loop for the mouse to move or be released (a drag may start).
        if (hit.part == Part::checkBox || hit.part == Part::expander || (hit.part == Part::link && !twice)) {
            SetFocus(hwnd());
            selectRow(hit.row);
            if (hit.part == Part::checkBox)
                toggleCheck(hit.row);  // a second quick click is a click too
            else if (hit.part == Part::expander)
                m_rows->toggleExpanded(hit.row);
            else if (onLinkPressed)
                onLinkPressed(hit.row);
            return 0;
        }
        if (twice && hit.row >= 0 && onDoubleClick) {
            const LRESULT result = defaultProc(msg, wp, lp);
            onDoubleClick(hit.row);
            return result;
        }
        break;
    }
    case WM_MOUSEMOVE: {
        const POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const Hit hit = hitTest(point);
        if (m_rows->hot() != hit.row)
            m_rows->setHot(hit.row);
        setHotLink(hit.row, hit.part == Part::link);
        updateCellTip(point);
        if (!m_trackingLeave) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            m_trackingLeave = TrackMouseEvent(&track) != FALSE;
        }
        break;
    }
    case WM_MOUSELEAVE:
        m_trackingLeave = false;
        updateCellTip(POINT{-1, -1});
        if (m_rows->hot() != -1)
            m_rows->setHot(-1);
        setHotLink(-1, false);
        break;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            POINT point{};
            GetCursorPos(&point);
            ScreenToClient(hwnd(), &point);
            if (hitTest(point).part == Part::link) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        break;
    case WM_CONTEXTMENU: {
        POINT screen{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        int row = -1;
        if (lp == -1) {
            // From the keyboard: the selected row, the menu below its title.
            row = m_rows->selected();
            RECT cell{};
            if (row >= 0 && firstCellRect(row, cell))
                screen = POINT{cell.left + indentOf(row), cell.bottom};
            else
                screen = POINT{0, 0};
            ClientToScreen(hwnd(), &screen);
        } else {
            POINT client = screen;
            ScreenToClient(hwnd(), &client);
            row = rowAt(client);
        }
        if (onContextMenu)
            onContextMenu(row, screen);
        return 0;
    }
    default:
        break;
    }
    return Wnd::onMessage(msg, wp, lp);
}

}  // namespace s::gui
