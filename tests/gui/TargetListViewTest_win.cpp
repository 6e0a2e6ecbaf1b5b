// The target list's ListView under Wine on a virtual display: a skinned
// frame and the list made on the test thread over a small in-test row
// source, driven with real messages (mouse at the places the view reports,
// keys, header clicks, context menus) and read back through the rows, the
// ListView's own messages and the pixels of its device context.
#include "TestListRows.h"
#include "gui/ListRows.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"
#include "gui/TargetListView_win.h"
#include "tests/support/MessagePump_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace s::gui;
using s::gui::drawer::kSkinColourCount;
using s::gui::drawer::SkinColour;
using s::gui::drawer::Skinner;
using s::gui::drawer::SkinPalette;
namespace skin = s::gui::drawer::skin;
using namespace s::gui::list;
using s::gui::list::test::TestRows;

namespace {

const std::array<uint32_t, kSkinColourCount> kKnownColours = {0x204060, 0x2080C0, 0x101010, 0x808080, 0x00FF00,
                                                              0xFFFFFF, 0x000000, 0x40A040, 0xC04000, 0xFFF0A0,
                                                              0x30E0E0, 0x202020, 0xE030E0, 0x111111, 0x222222};

COLORREF ref(SkinColour colour)
{
    const uint32_t rgb = kKnownColours[static_cast<std::size_t>(colour)];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

using testing_platform::pumpPending;

COLORREF pixel(HWND hwnd, int x, int y)
{
    WindowDc dc(hwnd);
    return GetPixel(dc.get(), x, y) & 0xFFFFFF;
}

std::wstring titleOf(int32_t id)
{
    switch (id) {
    case 1:
        return L"Title";
    case 2:
        return L"Size";
    default:
        return L"Description";
    }
}

std::wstring itemText(HWND list, int row, int column)
{
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

POINT centre(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

LPARAM at(POINT point)
{
    return MAKELPARAM(point.x, point.y);
}

class ListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_skins.addSkin(skin::ThinWindow::make(u"Known", kKnownColours));
        m_skins.selectSkin(m_skins.skin(m_skins.findSkin(u"Known")));
        m_rows.groups = {
            {u"Browser", 300, true, false, false, {{u"Cache", true, true}, {u"Cookies", false, true}}},
            {u"Mine", 100, false, true, false, {{u"Logs", true, true}}},
            {u"Apps", 200, true, false, false, {{u"Temp", true, true}, {u"Gone", true, false}}},
        };
        m_rows.changed();
    }

    void make(int scale = 1, ListViewStep cellHeight = ListViewStep::fromStored(0))
    {
        m_frame = std::make_unique<SkinnedFrame>();
        FrameArgs frameArgs;
        frameArgs.caption = L"Oxle Purgo";
        frameArgs.scale = scale;
        frameArgs.x = 0;
        frameArgs.y = 0;
        frameArgs.width = 600 * scale;
        frameArgs.height = 360 * scale;
        frameArgs.skins = &m_skins;
        ASSERT_TRUE(m_frame->create(frameArgs));
        m_frame->show();
        m_view = std::make_unique<TargetListView>();
        TargetListArgs args;
        args.parent = m_frame->hwnd();
        args.x = 4 * scale;
        args.y = 30 * scale;
        args.width = 560 * scale;
        args.height = 300 * scale;
        args.rows = &m_rows;
        args.painter = &m_frame->painter();
        args.columnTitle = titleOf;
        args.cellHeight = cellHeight;
        ASSERT_TRUE(m_view->create(args));
        m_view->onCheckClicked = [this](int row) {
            m_events.push_back("check " + std::to_string(row));
        };
        m_view->onLinkPressed = [this](int row) {
            m_events.push_back("link " + std::to_string(row));
        };
        m_view->onDoubleClick = [this](int row) {
            m_events.push_back("double " + std::to_string(row));
        };
        m_view->onContextMenu = [this](int row, POINT) {
            m_events.push_back("menu " + std::to_string(row));
        };
        pumpPending();
        UpdateWindow(list());
    }

    HWND list() const { return m_view->hwnd(); }

    void click(POINT point)
    {
        // The ListView's own button-down waits in a modal loop for the
        // button to come up: the release is queued first.
        PostMessageW(list(), WM_LBUTTONUP, 0, at(point));
        SendMessageW(list(), WM_LBUTTONDOWN, MK_LBUTTON, at(point));
        pumpPending();
    }

    void key(WPARAM vk)
    {
        SendMessageW(list(), WM_KEYDOWN, vk, 1);
        SendMessageW(list(), WM_KEYUP, vk, 0xC0000001);
        pumpPending();
    }

    POINT cellPoint(int row, int column)
    {
        RECT rect{};
        EXPECT_TRUE(m_view->rowRect(row, rect));
        RECT item{};
        HWND header = reinterpret_cast<HWND>(SendMessageW(list(), LVM_GETHEADER, 0, 0));
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        return POINT{(item.left + item.right) / 2, (rect.top + rect.bottom) / 2};
    }

    std::string events()
    {
        std::string all;
        for (const std::string& e : m_events)
            all += (all.empty() ? "" : ", ") + e;
        m_events.clear();
        return all;
    }

    Skinner m_skins;
    TestRows m_rows;
    std::unique_ptr<SkinnedFrame> m_frame;
    std::unique_ptr<TargetListView> m_view;
    std::vector<std::string> m_events;
};

TEST_F(ListTest, ClickOnTheBoxAndSpaceToggleTheCheckState)
{
    make();
    m_rows.expand(0);  // Browser, Cache, Cookies, Mine, Apps
    pumpPending();
    struct Row {
        const char* what;
        int row;
        bool bySpace;
        CheckState row0After;
        CheckState rowAfter;
    };
    const Row rows[] = {
        {"checking the unchecked target completes its group", 2, false, CheckState::Checked, CheckState::Checked},
        {"Space clears it again: the group is partial", 2, true, CheckState::Partial, CheckState::Unchecked},
        {"a click on a partial group clears it", 0, false, CheckState::Unchecked, CheckState::Unchecked},
        {"Space checks it: partial again", 0, true, CheckState::Partial, CheckState::Partial},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.bySpace) {
            m_rows.select(r.row);
            key(VK_SPACE);
        } else {
            RECT box{};
            ASSERT_TRUE(m_view->checkBoxRect(r.row, box));
            click(centre(box));
        }
        EXPECT_EQ(m_rows.checkState(0), r.row0After);
        EXPECT_EQ(m_rows.checkState(r.row), r.rowAfter);
        EXPECT_EQ(events(), "check " + std::to_string(r.row));
        EXPECT_EQ(m_rows.selected(), r.row) << "the clicked row is selected";
    }
}

TEST_F(ListTest, LinksFireOnClickAndEnterButNotOnAbsentTargets)
{
    make();
    m_rows.expand(2);  // Browser, Mine, Apps, Temp, Gone
    pumpPending();
    struct Row {
        const char* what;
        int row;
        bool byEnter;
        const char* expected;
    };
    const Row rows[] = {
        {"a group's title", 1, false, "link 1"}, {"a present target's title", 3, false, "link 3"},
        {"Enter on a group", 0, true, "link 0"}, {"an absent target's title is no link", 4, false, ""},
        {"nor is Enter on it", 4, true, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.byEnter) {
            m_rows.select(r.row);
            key(VK_RETURN);
        } else {
            RECT title{};
            ASSERT_TRUE(m_view->titleRect(r.row, title));
            RECT box{};
            m_view->checkBoxRect(r.row, box);
            click(POINT{box.right + 30, centre(title).y});
        }
        EXPECT_EQ(events(), r.expected);
    }
    EXPECT_EQ(m_rows.rowCount(), 5) << "a link does not open or close a group by itself";
}

TEST_F(ListTest, RightAndLeftOpenAndCloseGroupsAndTheExpanderClickToo)
{
    make();
    const auto count = [this] {
        return static_cast<int>(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0));
    };
    ASSERT_EQ(count(), 3);
    m_rows.select(0);
    key(VK_RIGHT);
    EXPECT_EQ(count(), 5);
    EXPECT_EQ(itemText(list(), 1, 0), L"Cache");
    key(VK_RIGHT);
    EXPECT_EQ(count(), 5) << "an open group stays open";
    m_rows.select(2);
    key(VK_LEFT);
    EXPECT_EQ(m_rows.selected(), 0) << "Left on a target goes to its group";
    key(VK_LEFT);
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(itemText(list(), 1, 0), L"Mine");
    RECT box{};
    ASSERT_TRUE(m_view->checkBoxRect(2, box));
    RECT cell{};
    m_view->titleRect(2, cell);
    click(POINT{cell.left + 8, centre(cell).y});
    EXPECT_EQ(count(), 5) << "the expander opens Apps";
    EXPECT_EQ(itemText(list(), 4, 0), L"Gone");
    EXPECT_EQ(events(), "");
}

TEST_F(ListTest, AHeaderClickSortsTheGroupsAndASecondOneReverses)
{
    make();
    m_rows.expand(0);
    pumpPending();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list(), LVM_GETHEADER, 0, 0));
    const auto titles = [this] {
        std::wstring all;
        for (int i = 0; i < m_rows.rowCount(); ++i)
            all += (i ? L" " : L"") + itemText(list(), i, 0);
        return all;
    };
    struct Row {
        int column;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {0, L"Apps Browser Cache Cookies Mine"},
        {0, L"Mine Browser Cache Cookies Apps"},
        {1, L"Mine Apps Browser Cache Cookies"},
        {1, L"Browser Cache Cookies Apps Mine"},
    };
    for (const Row& r : rows) {
        RECT item{};
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(r.column), reinterpret_cast<LPARAM>(&item));
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at(centre(item)));
        SendMessageW(header, WM_LBUTTONUP, 0, at(centre(item)));
        pumpPending();
        EXPECT_EQ(titles(), r.expected) << "column " << r.column;
    }
}

TEST_F(ListTest, ContextMenuNamesTheRowUnderTheCursorOrNone)
{
    make();
    RECT rect{};
    ASSERT_TRUE(m_view->rowRect(1, rect));
    POINT onRow = centre(rect);
    ClientToScreen(list(), &onRow);
    SendMessageW(list(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()), MAKELPARAM(onRow.x, onRow.y));
    EXPECT_EQ(events(), "menu 1");
    RECT client{};
    GetClientRect(list(), &client);
    POINT empty{client.right / 2, client.bottom - 5};
    ClientToScreen(list(), &empty);
    SendMessageW(list(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()), MAKELPARAM(empty.x, empty.y));
    EXPECT_EQ(events(), "menu -1");
    // From the keyboard (Shift+F10, the menu key): the selected row.
    m_rows.select(2);
    SendMessageW(list(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()), static_cast<LPARAM>(-1));
    EXPECT_EQ(events(), "menu 2");
    m_rows.select(-1);
    SendMessageW(list(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()), static_cast<LPARAM>(-1));
    EXPECT_EQ(events(), "menu -1");
}

TEST_F(ListTest, DoubleClickAndPlainClickSelectAndReport)
{
    make();
    int reported = -2;
    m_view->onSelectionChanged = [&reported](int row) {
        reported = row;
    };
    click(cellPoint(1, 2));
    EXPECT_EQ(m_rows.selected(), 1);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(events(), "");
    const POINT point = cellPoint(2, 2);
    SendMessageW(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(point));
    SendMessageW(list(), WM_LBUTTONUP, 0, at(point));
    pumpPending();
    EXPECT_EQ(events(), "double 2");
}

// A cell its column cuts off gets a tooltip with its whole text when the
// mouse comes over it; a cell whose text fits, or no cell, gets none.
TEST_F(ListTest, ACutOffCellShowsItsWholeTextAsATooltip)
{
    make();
    ASSERT_NE(m_view->cellTips(), nullptr);
    m_view->setColumnWidth(0, 60);   // "Browser" after the box does not fit
    m_view->setColumnWidth(2, 300);  // "about Browser" does
    pumpPending();
    const auto tipOver = [&](POINT point) {
        SendMessageW(list(), WM_MOUSEMOVE, 0, at(point));
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = list();
        tool.uId = 1;
        tool.lpszText = text;
        SendMessageW(m_view->cellTips(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        const std::wstring wideText = text;
        return std::string(wideText.begin(), wideText.end());  // the rows' texts are ASCII
    };
    struct Row {
        const char* what;
        int row;
        int column;
        const char* tip;
    };
    const Row rows[] = {
        {"a cut-off title", 0, 0, "Browser"},
        {"a description that fits", 0, 2, ""},
        {"another cut-off title", 2, 0, "Apps"},
        {"a size that fits", 1, 1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(tipOver(cellPoint(row.row, row.column)), row.tip);
    }
    m_view->setColumnWidth(0, 400);
    pumpPending();
    tipOver(cellPoint(1, 2));
    EXPECT_EQ(tipOver(cellPoint(0, 0)), "") << "the same title with room for it";
    EXPECT_EQ(tipOver(POINT{5, 290}), "") << "below the rows";
}

TEST_F(ListTest, ARowRemovedWhileHoveredLeavesNoStaleRow)
{
    make();
    m_rows.expand(2);  // Browser, Mine, Apps, Temp, Gone
    pumpPending();
    RECT title{};
    ASSERT_TRUE(m_view->titleRect(4, title));
    SendMessageW(list(), WM_MOUSEMOVE, 0, at(POINT{title.right - 10, centre(title).y}));
    ASSERT_EQ(m_rows.hot(), 4);
    m_rows.select(3);
    m_rows.removeGroup(2);
    pumpPending();
    UpdateWindow(list());
    EXPECT_EQ(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(m_rows.hot(), -1);
    EXPECT_EQ(SendMessageW(list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
    // The place where the removed rows were is the list's background now.
    EXPECT_EQ(pixel(list(), title.right - 4, centre(title).y), ref(SkinColour::listBg));
    SendMessageW(list(), WM_MOUSEMOVE, 0, at(POINT{title.right - 10, centre(title).y}));
    EXPECT_EQ(m_rows.hot(), -1);
    EXPECT_EQ(events(), "");
}

TEST_F(ListTest, AnEmptyListIgnoresClicksKeysAndMenusOnNothing)
{
    m_rows.groups.clear();
    m_rows.changed();
    make();
    RECT client{};
    GetClientRect(list(), &client);
    const POINT middle = centre(client);
    click(middle);
    key(VK_SPACE);
    key(VK_RIGHT);
    key(VK_RETURN);
    SendMessageW(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(middle));
    SendMessageW(list(), WM_LBUTTONUP, 0, at(middle));
    pumpPending();
    EXPECT_EQ(events(), "");
    EXPECT_EQ(m_rows.selected(), -1);
    EXPECT_EQ(pixel(list(), middle.x, middle.y), ref(SkinColour::listBg));
}

TEST_F(ListTest, RowsHeaderAndBoxesHaveTheSkinsColoursAtScaleOneAndTwo)
{
    for (int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        make(scale);
        m_rows.select(-1);
        UpdateWindow(list());
        RECT client{};
        GetClientRect(list(), &client);
        const auto rowPixel = [&](int row) {
            RECT rect{};
            EXPECT_TRUE(m_view->rowRect(row, rect));
            // Right of the last column: the row's own fill, no text.
            return pixel(list(), client.right - 3, centre(rect).y);
        };
        const SkinPalette& palette = m_frame->painter().palette();
        EXPECT_EQ(rowPixel(0), ref(SkinColour::listBg));
        EXPECT_EQ(rowPixel(1), SkinPainter::colorRef(palette.row(1, true)));
        EXPECT_NE(rowPixel(1), ref(SkinColour::listBg)) << "the alternate colour differs in this skin";
        EXPECT_EQ(pixel(list(), client.right - 3, client.bottom - 3), ref(SkinColour::listBg));
        HWND header = reinterpret_cast<HWND>(SendMessageW(list(), LVM_GETHEADER, 0, 0));
        RECT headerClient{};
        GetClientRect(header, &headerClient);
        EXPECT_EQ(pixel(header, 2 * scale, 2 * scale), ref(SkinColour::listHeaderBg)) << "a header cell";
        EXPECT_EQ(pixel(header, headerClient.right - 3, 2 * scale), ref(SkinColour::listHeaderBg))
            << "right of the last header cell";

        // Check boxes: partial (Browser: Cookies is unchecked) shows a filled
        // square, unchecked (Mine) the box's background.
        RECT box{};
        ASSERT_TRUE(m_view->checkBoxRect(0, box));
        EXPECT_EQ(pixel(list(), centre(box).x, centre(box).y), ref(SkinColour::compFg));
        ASSERT_TRUE(m_view->checkBoxRect(1, box));
        EXPECT_EQ(pixel(list(), centre(box).x, centre(box).y), ref(SkinColour::windowBg));
        EXPECT_EQ(pixel(list(), box.left, centre(box).y), ref(SkinColour::compFg)) << "the box's frame";

        m_view->setAlternateRows(false);
        UpdateWindow(list());
        EXPECT_EQ(rowPixel(1), ref(SkinColour::listBg)) << "alternate rows off";
        m_view.reset();
        m_frame.reset();
    }
}

// The theme name the list window was given last, as Wine's uxtheme keeps it:
// a window property "ux_subapp" holding a local atom of the name (Windows
// keeps it elsewhere; this reads Wine's record of the call). Empty: none.
std::wstring themeNameOf(HWND window)
{
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, L"ux_subapp")));
    wchar_t name[64] = {};
    if (atom == 0 || GetAtomNameW(atom, name, 64) == 0)
        return {};
    return name;
}

// A dark skin gives the list the dark system theme (its scroll bars on
// Windows 10 1809 and later; Wine draws classic ones whatever the theme), at
// creation and at every skin change, and a light skin takes it back; the
// list's own background follows the skin either way.
TEST_F(ListTest, ADarkSkinAsksForTheDarkScrollBarsAndALightOneGivesThemBack)
{
    std::array<uint32_t, kSkinColourCount> dark = kKnownColours;
    dark[static_cast<std::size_t>(SkinColour::listBg)] = 0x181C20;
    dark[static_cast<std::size_t>(SkinColour::listFont)] = 0xF0F0F0;
    m_skins.addSkin(skin::ThinWindow::make(u"Dark", dark));
    m_skins.selectSkin(m_skins.skin(m_skins.findSkin(u"Dark")));
    make();
    RECT client{};
    GetClientRect(list(), &client);
    const auto emptyArea = [&] {
        UpdateWindow(list());
        return pixel(list(), client.right - 3, client.bottom - 3);
    };
    EXPECT_EQ(themeNameOf(list()), L"DarkMode_Explorer") << "at creation";
    EXPECT_EQ(emptyArea(), RGB(0x18, 0x1C, 0x20));

    struct Step {
        const char16_t* skin;
        const wchar_t* theme;
        COLORREF background;
    };
    const Step steps[] = {
        {u"Known", L"", ref(SkinColour::listBg)},
        {u"Dark", L"DarkMode_Explorer", RGB(0x18, 0x1C, 0x20)},
        {u"Known", L"", ref(SkinColour::listBg)},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.skin, step.skin + std::char_traits<char16_t>::length(step.skin)));
        m_skins.selectSkin(m_skins.skin(m_skins.findSkin(step.skin)));
        m_view->skinChanged();
        pumpPending();
        EXPECT_EQ(themeNameOf(list()), step.theme);
        EXPECT_EQ(emptyArea(), step.background);
        EXPECT_EQ(m_rows.rowCount(), static_cast<int>(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0))) << "the rows stay";
    }
}

TEST_F(ListTest, RowsAreAsHighAsTheCellHeightStep)
{
    const int heights[] = {25, 23, 21, 20, 19, 17, 16};
    for (int scale : {1, 2}) {
        make(scale);
        for (int step = 3; step >= -3; --step) {
            m_view->setCellHeight(ListViewStep::fromStored(step));
            RECT rect{};
            ASSERT_TRUE(m_view->rowRect(1, rect));
            EXPECT_EQ(rect.bottom - rect.top, heights[3 - step] * scale) << "step " << step << " scale " << scale;
        }
        for (int font = -3; font <= 3; ++font) {
            m_view->setFontSize(ListViewStep::fromStored(font));
            RECT rect{};
            ASSERT_TRUE(m_view->rowRect(1, rect));
            EXPECT_EQ(rect.bottom - rect.top, 16 * scale) << "font " << font << ": the row keeps its step";
        }
        m_view.reset();
        m_frame.reset();
    }
    // An empty list takes the height as well, ready for its first rows.
    m_rows.groups.clear();
    m_rows.changed();
    make(1, ListViewStep::fromStored(3));
    m_rows.groups = {{u"Late", 1, false, false, false, {}}};
    m_rows.changed();
    RECT rect{};
    ASSERT_TRUE(m_view->rowRect(0, rect));
    EXPECT_EQ(rect.bottom - rect.top, 25);
}

TEST_F(ListTest, ColumnOrderAndWidthsCanBeReadAndSet)
{
    make();
    EXPECT_EQ(m_view->columnOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(m_view->columnWidth(0), 200);
    EXPECT_EQ(m_view->columnWidth(1), 70);
    EXPECT_TRUE(m_view->setColumnOrder({2, 0, 1}));
    EXPECT_EQ(m_view->columnOrder(), (std::vector<int>{2, 0, 1}));
    for (const std::vector<int>& bad : {std::vector<int>{0, 1}, {0, 0, 1}, {0, 1, 3}})
        EXPECT_FALSE(m_view->setColumnOrder(bad)) << bad.size() << " columns";
    EXPECT_EQ(m_view->columnOrder(), (std::vector<int>{2, 0, 1}));
    m_view->setColumnWidth(2, 90);
    EXPECT_EQ(m_view->columnWidth(2), 90);
    // The title column moved right of Description: its box follows it.
    RECT box{};
    ASSERT_TRUE(m_view->checkBoxRect(1, box));
    EXPECT_GT(box.left, 90);
    click(centre(box));
    EXPECT_EQ(events(), "check 1");
}

TEST_F(ListTest, ThousandsOfRowsFillAndRepaint)
{
    m_rows.groups.clear();
    for (int g = 0; g < 134; ++g) {
        TestRows::Group group{
            u"Group " + std::u16string(1, static_cast<char16_t>(u'A' + g % 26)), g, g % 3 == 0, g % 7 == 0, true, {}};
        for (int t = 0; t < 15; ++t)
            group.targets.push_back({u"Target", t % 4 != 0, t % 5 != 0});
        m_rows.groups.push_back(std::move(group));
    }
    m_rows.changed();
    make();
    ASSERT_EQ(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0), 134 * 16);
    for (int row : {0, 1000, 134 * 16 - 1}) {
        SendMessageW(list(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RedrawWindow(list(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(itemText(list(), row, 0),
                  row % 16 == 0 ? L"Group " + std::wstring(1, static_cast<wchar_t>(L'A' + (row / 16) % 26))
                                : std::wstring(L"Target"))
            << "row " << row;
    }
}

}  // namespace
