// The toolkit's controls and dialogs under Wine on a virtual display: made in
// a frame on the test thread and driven with real messages (BM_CLICK, keys,
// mouse buttons, CBN_SELCHANGE from the combo box's own keyboard handling);
// pixels read back from the controls' own device contexts. Modal windows are
// driven from a thread timer, whose callback runs inside their message loop.
#include "base/XmlNode.h"
#include "gui/CheckBox_win.h"
#include "gui/DropDownList_win.h"
#include "gui/Label_win.h"
#include "gui/OverlayPanel_win.h"
#include "gui/PictureButton_win.h"
#include "gui/ProgressBar_win.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"
#include "gui/TextBox_win.h"
#include "gui/dialogs/FileDialogs_win.h"
#include "gui/dialogs/FlexAsker_win.h"
#include "gui/dialogs/MessageBox_win.h"
#include "lang/Localizer.h"
#include "tests/support/MessagePump_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace s::gui;
using namespace s::gui::drawer;
using s::gui::dialogs::FileDialogApi;
using s::gui::dialogs::FileDialogArgs;
using s::gui::dialogs::FlexAsker;

namespace {

// Every colour different, so a pixel names the colour that painted it.
const std::array<uint32_t, kSkinColourCount> kKnownColours = {0x204060, 0x2080C0, 0x101010, 0x808080, 0x00FF00,
                                                              0xFFFFFF, 0x000000, 0x40A040, 0xC04000, 0xFFF0A0,
                                                              0x30E0E0, 0x202020, 0xE030E0, 0x111111, 0x222222};
const std::array<uint32_t, kSkinColourCount> kOtherColours = {0xF0E0D0, 0x102030, 0x303030, 0x909090, 0x0000FF,
                                                              0x000000, 0xEEEEEE, 0x00A0A0, 0x3050C0, 0xFFFFFF,
                                                              0xF8F8F8, 0x000000, 0xE8E8E8, 0x111111, 0x222222};

COLORREF ref(SkinColour colour, const std::array<uint32_t, kSkinColourCount>& colours)
{
    const uint32_t rgb = colours[static_cast<std::size_t>(colour)];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

using testing_platform::pumpPending;

COLORREF pixel(HWND hwnd, int x, int y)
{
    WindowDc dc(hwnd);
    return GetPixel(dc.get(), x, y) & 0xFFFFFF;
}

std::wstring windowText(HWND hwnd)
{
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

int windowWidth(HWND hwnd)
{
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect.right - rect.left;
}

// The question window's and the toolkit's texts in two languages.
const char kTable[] = R"(<lang>
  <languages>
    <entry tagName="eng" engName="English" trueName="English"/>
    <entry tagName="deu" engName="German" trueName="Deutsch"/>
  </languages>
  <entries>
    <entry id="400300"><eng>Confirmation Dialog</eng><deu>Bestätigung</deu></entry>
    <entry id="400320"><eng>Are you sure you want to proceed this operation?</eng><deu>Sind Sie sicher?</deu></entry>
    <entry id="400330"><eng>&#160;      Yes      &#160;</eng><deu>&#160;      Ja      &#160;</deu></entry>
    <entry id="400340"><eng>&#160;      No      &#160;</eng><deu>&#160;      Nein      &#160;</deu></entry>
    <entry id="400380"><eng>Don't ask me again</eng><deu>Nicht mehr fragen</deu></entry>
    <entry id="800000"><eng>Collecting Information...</eng><deu>Informationen werden gesammelt...</deu></entry>
  </entries>
</lang>)";

// Runs steps one per timer tick inside whatever message loop is running
// (a modal window's own). A thread timer: its WM_TIMER has no window and any
// loop's DispatchMessage calls the procedure.
class TimerScript {
public:
    // A step returns false to be tried again at the next tick (the window it
    // needs is not there yet).
    using Step = std::function<bool()>;

    explicit TimerScript(std::vector<Step> steps) : m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 30, &TimerScript::tick);
    }
    ~TimerScript()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;
    bool finished() const { return m_next == m_steps.size(); }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TimerScript* self = s_current;
        if (!self || self->finished() || self->m_running)
            return;
        // A step may start a modal loop of its own (a message box); ticks
        // arriving inside it wait.
        self->m_running = true;
        if (self->m_steps[self->m_next]())
            ++self->m_next;
        self->m_running = false;
    }

    static inline TimerScript* s_current = nullptr;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    bool m_running = false;
    UINT_PTR m_timer = 0;
};

// The toolkit's own top-level window with this title, shown, or null.
HWND findToolkitWindow(const wchar_t* title)
{
    HWND hwnd = FindWindowW(L"OxlePurgo.Wnd", title);
    return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

// A key as the keyboard posts it, to the window with the focus, so that it
// passes through the running message loop.
void postKey(UINT key)
{
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_skins.addSkin(skin::ThinWindow::make(u"Known", kKnownColours));
        m_skins.addSkin(skin::ThinWindow::make(u"Other", kOtherColours));
        m_skins.selectSkin(m_skins.skin(m_skins.findSkin(u"Known")));
        m_table = s::thread::Pool<s::xml::Node>::take();
        m_table->parseUtf8(std::string_view(kTable, sizeof(kTable) - 1));
        m_localizer.load(*m_table, 10);
        m_localizer.select(u"English");
    }
    void TearDown() override { m_table->release(); }

    std::unique_ptr<SkinnedFrame> makeFrame(int scale = 1)
    {
        auto frame = std::make_unique<SkinnedFrame>();
        FrameArgs args;
        args.caption = L"Controls";
        args.scale = scale;
        args.x = 20;
        args.y = 20;
        args.width = 460 * scale;
        args.height = 340 * scale;
        args.skins = &m_skins;
        EXPECT_TRUE(frame->create(args));
        frame->show();
        pumpPending();
        return frame;
    }

    Skinner m_skins;
    s::lang::Localizer m_localizer;
    s::xml::Node* m_table = nullptr;
};

// -- check box ---------------------------------------------------------------

TEST_F(ControlsTest, ClicksAndSpaceCycleTheCheckBoxStates)
{
    using CS = CheckBox::CheckState;
    enum class Input { bmClick, space };
    const struct Row {
        const char* what;
        CheckStates states;
        Input input;
        std::vector<CS> seen;  // after each press
        std::vector<LRESULT> bmGetCheck;
    } rows[] = {
        {"two states, BM_CLICK",
         CheckStates::two,
         Input::bmClick,
         {CS::Checked, CS::Unchecked, CS::Checked},
         {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {"two states, Space",
         CheckStates::two,
         Input::space,
         {CS::Checked, CS::Unchecked, CS::Checked},
         {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {"three states, BM_CLICK",
         CheckStates::three,
         Input::bmClick,
         {CS::Checked, CS::Partial, CS::Unchecked, CS::Checked},
         {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}},
        {"three states, Space",
         CheckStates::three,
         Input::space,
         {CS::Checked, CS::Partial, CS::Unchecked, CS::Checked},
         {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}},
    };
    auto frame = makeFrame();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CheckBox box(frame->painter());
        CheckBox::Args args;
        args.parent = frame->hwnd();
        args.caption = Caption::text(L"Show only Related");
        args.x = 10;
        args.y = 40;
        args.width = 200;
        args.height = 20;
        args.states = row.states;
        ASSERT_TRUE(box.create(args));
        std::vector<CS> fired;
        box.onStateChanged = [&fired](CS state) {
            fired.push_back(state);
        };
        SetFocus(box.hwnd());
        for (std::size_t i = 0; i < row.seen.size(); ++i) {
            if (row.input == Input::bmClick) {
                SendMessageW(box.hwnd(), BM_CLICK, 0, 0);
            } else {
                SendMessageW(box.hwnd(), WM_KEYDOWN, VK_SPACE, 0x00390001);
                SendMessageW(box.hwnd(), WM_KEYUP, VK_SPACE, 0xC0390001);
            }
            pumpPending();
            EXPECT_EQ(box.state(), row.seen[i]) << "press " << i;
            EXPECT_EQ(SendMessageW(box.hwnd(), BM_GETCHECK, 0, 0), row.bmGetCheck[i]) << "press " << i;
        }
        EXPECT_EQ(fired, row.seen);
        // Set from the program: no event, as with a system check box.
        SendMessageW(box.hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
        EXPECT_EQ(box.state(), CS::Unchecked);
        EXPECT_EQ(fired.size(), row.seen.size());
    }
}

// -- link label --------------------------------------------------------------

TEST_F(ControlsTest, ALinkLabelFiresOnClickOnlyWhenReleasedOverIt)
{
    auto frame = makeFrame();
    LinkLabel link(frame->painter());
    LabelArgs args;
    args.parent = frame->hwnd();
    args.caption = Caption::text(L"Is this freeware useful?");
    args.x = 10;
    args.y = 40;
    args.width = 200;
    args.height = 20;
    ASSERT_TRUE(link.create(args));
    int clicks = 0;
    link.onClick = [&clicks] {
        ++clicks;
    };
    SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    EXPECT_EQ(clicks, 1);
    SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(400, 10));
    EXPECT_EQ(clicks, 1) << "released outside the link";
    // The hand cursor over the link.
    SendMessageW(link.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
}

// -- text box ----------------------------------------------------------------

TEST_F(ControlsTest, TypingIntoTheTextBoxFiresOnChangedAndReadsBack)
{
    auto frame = makeFrame();
    TextBox box(frame->painter());
    ASSERT_TRUE(box.create({frame->hwnd(), L"", 10, 40, 200, 0, 1}));
    std::vector<std::wstring> seen;
    box.onChanged = [&] {
        seen.push_back(box.text());
    };
    SetFocus(box.hwnd());
    for (wchar_t c : std::wstring(L"C:\\Temp"))
        SendMessageW(box.hwnd(), WM_CHAR, c, 1);
    EXPECT_EQ(box.text(), L"C:\\Temp");
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen.front(), L"C");
    SendMessageW(box.hwnd(), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(box.text(), L"C:\\Tem");
    EXPECT_EQ(seen.size(), 8u);
    box.setText(L"*.log");
    EXPECT_EQ(box.text(), L"*.log");
    EXPECT_EQ(seen.back(), L"*.log") << "setText tells onChanged too";
}

// -- drop-down list ----------------------------------------------------------

TEST_F(ControlsTest, TheDropDownListReportsWhatTheKeyboardSelects)
{
    auto frame = makeFrame();
    DropDownList list(frame->painter());
    DropDownList::Args args;
    args.parent = frame->hwnd();
    args.items = {L"File", L"Folder", L"Registry key", L"Registry value"};
    args.selected = 0;
    args.x = 10;
    args.y = 40;
    args.width = 200;
    ASSERT_TRUE(list.create(args));
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(2), L"Registry key");
    std::vector<int> fired;
    list.onSelected = [&fired](int index) {
        fired.push_back(index);
    };
    list.select(1);
    EXPECT_EQ(list.selected(), 1);
    EXPECT_TRUE(fired.empty()) << "a selection by the program is not the user's";
    SetFocus(list.hwnd());
    // The closed combo box moves its selection with the arrow keys and says
    // so with CBN_SELCHANGE.
    SendMessageW(list.hwnd(), WM_KEYDOWN, VK_DOWN, 0x01500001);
    SendMessageW(list.hwnd(), WM_KEYDOWN, VK_DOWN, 0x01500001);
    SendMessageW(list.hwnd(), WM_KEYDOWN, VK_UP, 0x01480001);
    pumpPending();
    EXPECT_EQ(fired, (std::vector<int>{2, 3, 2}));
    EXPECT_EQ(list.selected(), 2);
}

// -- progress bar and overlay panel -------------------------------------------

TEST_F(ControlsTest, TheProgressBarClampsItsPositionAndDrawsIt)
{
    auto frame = makeFrame();
    ProgressBar bar(frame->painter());
    ASSERT_TRUE(bar.create({frame->hwnd(), 10, 40, 204, 16, 1}));
    const struct {
        int minimum, maximum, position, expected, percent;
    } rows[] = {
        {0, 10, 5, 5, 50}, {0, 10, 12, 10, 100}, {0, 10, -3, 0, 0}, {5, 5, 5, 5, 0}, {0, 134, 67, 67, 50},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.minimum << " … " << row.maximum << " at " << row.position);
        bar.setRange(row.minimum, row.maximum);
        bar.setPosition(row.position);
        EXPECT_EQ(bar.position(), row.expected);
        EXPECT_EQ(bar.percent(), row.percent);
    }
    bar.setRange(0, 4);
    bar.setPosition(1);
    UpdateWindow(bar.hwnd());
    // The bar inside a two-pixel inset of the 200 wide track: a quarter done.
    EXPECT_EQ(pixel(bar.hwnd(), 20, 8), ref(SkinColour::sliderBg, kKnownColours));
    EXPECT_EQ(pixel(bar.hwnd(), 150, 8), ref(SkinColour::listBg, kKnownColours));
}

TEST_F(ControlsTest, TheOverlayPanelCoversItsSiblingWhileShown)
{
    auto frame = makeFrame();
    // The covered window first, as the list is made before its panel.
    Label covered(frame->painter());
    ASSERT_TRUE(covered.create({frame->hwnd(), Caption::text(L"list"), 10, 40, 400, 200}));
    OverlayPanel panel(frame->painter(), &m_localizer);
    ASSERT_TRUE(panel.create({frame->hwnd(), Caption::language(800000), 0, 0, 200, 40}));
    EXPECT_FALSE(panel.isShown());
    EXPECT_EQ(panel.text(), L"Collecting Information...");
    const RECT area{10, 40, 410, 240};
    panel.centreOn(area);
    panel.show();
    pumpPending();
    EXPECT_TRUE(panel.isShown());
    EXPECT_EQ(GetWindow(frame->hwnd(), GW_CHILD), panel.hwnd()) << "above its siblings";
    POINT middle{210, 140};
    EXPECT_EQ(ChildWindowFromPointEx(frame->hwnd(), middle, CWP_SKIPINVISIBLE), panel.hwnd());
    // The covered window repaints after the panel (it comes later in the
    // z-order): the panel must still show.
    RedrawWindow(panel.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(covered.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(pixel(frame->hwnd(), 110, 140), ref(SkinColour::groupBorder, kKnownColours)) << "the panel's border";
    panel.hide();
    pumpPending();
    EXPECT_FALSE(panel.isShown());
    EXPECT_EQ(ChildWindowFromPointEx(frame->hwnd(), middle, CWP_SKIPINVISIBLE), covered.hwnd());
}

// -- a screen of another density --------------------------------------------------

// WM_DPICHANGED: the frame takes the scale, every control that keeps a font or
// a size of its own takes the new one (the old font stays valid until then),
// the owner hears of it with the scale before, and the frame takes the
// rectangle Windows suggests.
TEST_F(ControlsTest, ADensityChangeReachesEveryControlThatKeepsAFontOrASize)
{
    auto frame = makeFrame();
    std::vector<int> heard;
    frame->onScaleChanged = [&](Scale before) {
        heard.push_back(before.dpi());
    };
    TextBox box(frame->painter());
    ASSERT_TRUE(box.create({frame->hwnd(), L"text", 10, 40, 200, 0, 1}));
    DropDownList list(frame->painter());
    DropDownList::Args listArgs;
    listArgs.parent = frame->hwnd();
    listArgs.items = {L"File", L"Folder"};
    listArgs.y = 80;
    listArgs.width = 200;
    ASSERT_TRUE(list.create(listArgs));
    PictureButton plus(frame->painter());
    PictureButton::Args plusArgs;
    plusArgs.parent = frame->hwnd();
    plusArgs.width = 14;
    plusArgs.height = 14;
    ASSERT_TRUE(plus.create(plusArgs));
    OverlayPanel panel(frame->painter(), &m_localizer);
    ASSERT_TRUE(panel.create({frame->hwnd(), Caption::language(800000), 0, 0, 200, 40}));

    const auto fontHeight = [](HWND control) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
        return static_cast<int>(font.lfHeight);
    };
    const auto size = [](HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    };
    ASSERT_EQ(fontHeight(box.hwnd()), -13);

    struct Step {
        WPARAM dpi;
        RECT suggested;
        int font;     // -13 at 96 dpi
        int item;     // 19 at 96 dpi
        int picture;  // 14 at 96 dpi
        SIZE panel;   // 200 × 40 at 96 dpi
    };
    const Step steps[] = {
        {144, RECT{20, 20, 20 + 690, 20 + 510}, -20, 29, 21, SIZE{300, 60}},
        {120, RECT{20, 20, 20 + 575, 20 + 425}, -16, 24, 18, SIZE{250, 50}},
        {96, RECT{20, 20, 20 + 460, 20 + 340}, -13, 19, 14, SIZE{200, 40}},
    };
    std::vector<int> expectedHeard;
    int before = 96;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.dpi);
        RECT suggested = step.suggested;
        SendMessageW(frame->hwnd(), WM_DPICHANGED, step.dpi * 0x10001u, reinterpret_cast<LPARAM>(&suggested));
        pumpPending();
        expectedHeard.push_back(before);
        before = static_cast<int>(step.dpi);
        EXPECT_EQ(frame->painter().scale().dpi(), static_cast<int>(step.dpi));
        EXPECT_EQ(fontHeight(box.hwnd()), step.font);
        EXPECT_EQ(SendMessageW(box.hwnd(), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(frame->painter().font()));
        EXPECT_EQ(fontHeight(list.hwnd()), step.font);
        EXPECT_EQ(SendMessageW(list.hwnd(), CB_GETITEMHEIGHT, 0, 0), step.item);
        EXPECT_EQ(plus.preferredSize().cx, step.picture);
        EXPECT_EQ(size(panel.hwnd()).cx, step.panel.cx);
        EXPECT_EQ(size(panel.hwnd()).cy, step.panel.cy);
        EXPECT_EQ(size(frame->hwnd()).cx, step.suggested.right - step.suggested.left);
        EXPECT_EQ(size(frame->hwnd()).cy, step.suggested.bottom - step.suggested.top);
    }
    EXPECT_EQ(heard, expectedHeard);
    // The same density again changes nothing.
    RECT same = steps[2].suggested;
    SendMessageW(frame->hwnd(), WM_DPICHANGED, 96 * 0x10001u, reinterpret_cast<LPARAM>(&same));
    EXPECT_EQ(heard.size(), expectedHeard.size());
}

// -- skins and languages --------------------------------------------------------

TEST_F(ControlsTest, ASkinChangeRepaintsEveryControlInTheNewColours)
{
    for (int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        auto frame = makeFrame(scale);
        const int s = scale;
        SkinPainter& painter = frame->painter();
        const int top = frame->layout().content().top;
        Label label(painter);
        ASSERT_TRUE(label.create({frame->hwnd(), Caption::text(L"Total"), 10 * s, top + 10 * s, 120 * s, 20 * s}));
        TextBox box(painter);
        ASSERT_TRUE(box.create({frame->hwnd(), L"ab", 10 * s, top + 40 * s, 160 * s, 0, 2}));
        CheckBox check(painter);
        CheckBox::Args checkArgs;
        checkArgs.parent = frame->hwnd();
        checkArgs.caption = Caption::text(L"Show only Related");
        checkArgs.x = 10 * s;
        checkArgs.y = top + 70 * s;
        checkArgs.width = 160 * s;
        checkArgs.height = 20 * s;
        ASSERT_TRUE(check.create(checkArgs));
        GroupBox group(painter);
        ASSERT_TRUE(group.create({frame->hwnd(), Caption::text(L"Target"), 200 * s, top + 10 * s, 200 * s, 120 * s}));
        DropDownList list(painter);
        DropDownList::Args listArgs;
        listArgs.parent = group.hwnd();
        listArgs.items = {L"File", L"Folder"};
        listArgs.selected = 0;
        const RECT inner = group.inner();
        listArgs.x = inner.left;
        listArgs.y = inner.top;
        listArgs.width = 150 * s;
        ASSERT_TRUE(list.create(listArgs));
        PictureButton plus(painter);
        ASSERT_TRUE(plus.create({frame->hwnd(), Picture::plus, L"Add", 10 * s, top + 100 * s, 14 * s, 14 * s}));

        const struct Probe {
            const char* what;
            HWND hwnd;
            int x, y;
            SkinColour colour;
        } probes[] = {
            {"label background", label.hwnd(), 110 * s, 10 * s, SkinColour::windowBg},
            {"text box background", box.hwnd(), 140 * s, 8 * s, SkinColour::listBg},
            {"check box frame", check.hwnd(), 0, 10 * s, SkinColour::compFg},
            {"check box face", check.hwnd(), 2 * s, 10 * s, SkinColour::windowBg},
            {"group border", group.hwnd(), 0, 60 * s, SkinColour::groupBorder},
            {"group background", group.hwnd(), 100 * s, 110 * s, SkinColour::windowBg},
            {"drop-down field", list.hwnd(), 100 * s, 4 * s, SkinColour::listBg},
            {"picture background", plus.hwnd(), 0, 0, SkinColour::windowBg},
            {"plus picture", plus.hwnd(), 7 * s, 7 * s, SkinColour::text},
        };
        for (const auto* colours : {&kKnownColours, &kOtherColours}) {
            m_skins.selectSkin(m_skins.skin(m_skins.findSkin(colours == &kKnownColours ? u"Known" : u"Other")));
            RedrawWindow(frame->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            pumpPending();
            for (const Probe& probe : probes)
                EXPECT_EQ(pixel(probe.hwnd, probe.x, probe.y), ref(probe.colour, *colours))
                    << probe.what << (colours == &kKnownColours ? " (first skin)" : " (after the change)");
        }
        m_skins.selectSkin(m_skins.skin(m_skins.findSkin(u"Known")));
    }
}

TEST_F(ControlsTest, ALanguageChangeRetextsTheControls)
{
    auto frame = makeFrame();
    Label label(frame->painter(), &m_localizer);
    ASSERT_TRUE(label.create({frame->hwnd(), Caption::language(800000), 10, 40, 300, 20}));
    CheckBox box(frame->painter(), &m_localizer);
    CheckBox::Args args;
    args.parent = frame->hwnd();
    args.caption = Caption::language(400380);
    args.x = 10;
    args.y = 70;
    args.width = 200;
    args.height = 20;
    ASSERT_TRUE(box.create(args));
    Label literal(frame->painter(), &m_localizer);
    ASSERT_TRUE(literal.create({frame->hwnd(), Caption::text(L"12 (3.40 MB)"), 10, 100, 300, 20}));
    EXPECT_EQ(windowText(label.hwnd()), L"Collecting Information...");
    EXPECT_EQ(windowText(box.hwnd()), L"Don't ask me again");
    // Labels are STATIC windows: accessibility tools read them as labels and
    // name the control after one by it.
    wchar_t kind[32] = {};
    GetClassNameW(label.hwnd(), kind, 32);
    EXPECT_EQ(lstrcmpiW(kind, L"Static"), 0) << std::wstring(kind).size();
    m_localizer.select(u"German");
    EXPECT_EQ(windowText(label.hwnd()), L"Informationen werden gesammelt...");
    EXPECT_EQ(label.text(), L"Informationen werden gesammelt...");
    EXPECT_EQ(windowText(box.hwnd()), L"Nicht mehr fragen");
    EXPECT_EQ(windowText(literal.hwnd()), L"12 (3.40 MB)") << "a literal stays";
    m_localizer.select(u"English");
    EXPECT_EQ(windowText(label.hwnd()), L"Collecting Information...");
}

// -- the question window ------------------------------------------------------------

TEST_F(ControlsTest, FlexAskerAnswersWithTheFocusedButtonOrNo)
{
    const struct Row {
        const char* what;
        std::vector<UINT> keys;  // posted to the focused window, in order
        bool closeWindow;        // WM_CLOSE after the keys
        bool answer;
    } rows[] = {
        {"Enter on the first focus (Yes)", {VK_RETURN}, false, true},
        {"Tab, Enter (No)", {VK_TAB, VK_RETURN}, false, false},
        {"Tab, Tab, Enter (Yes again)", {VK_TAB, VK_TAB, VK_RETURN}, false, true},
        {"Tab three times, Enter (No)", {VK_TAB, VK_TAB, VK_TAB, VK_RETURN}, false, false},
        {"Escape", {VK_ESCAPE}, false, false},
        {"closed", {}, true, false},
    };
    auto parent = makeFrame();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FlexAsker asker(m_localizer, &m_skins);
        asker.setShowDontAsk(false);
        bool parentDisabled = false;
        std::vector<TimerScript::Step> steps;
        steps.push_back([&] {
            if (!findToolkitWindow(L"Confirmation Dialog"))
                return false;
            parentDisabled = !IsWindowEnabled(parent->hwnd());
            return true;
        });
        for (UINT key : row.keys)
            steps.push_back([key] {
                postKey(key);
                return true;
            });
        if (row.closeWindow)
            steps.push_back([] {
                PostMessageW(findToolkitWindow(L"Confirmation Dialog"), WM_CLOSE, 0, 0);
                return true;
            });
        TimerScript script(std::move(steps));
        const bool answer = asker.ask(parent->hwnd());
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(answer, row.answer);
        EXPECT_EQ(asker.answer(), row.answer);
        EXPECT_TRUE(parentDisabled) << "the parent is disabled while the question shows";
        EXPECT_TRUE(IsWindowEnabled(parent->hwnd())) << "and enabled after";
        EXPECT_EQ(findToolkitWindow(L"Confirmation Dialog"), nullptr) << "the window is gone";
        EXPECT_FALSE(asker.dontAskAgain());
    }
}

TEST_F(ControlsTest, FlexAskerShowsItsTextsAndTheDontAskBoxOnlyWhenAsked)
{
    auto parent = makeFrame();
    const struct Row {
        const char* what;
        bool showDontAsk;
        bool tickTheBox;
    } rows[] = {{"without the box", false, false}, {"box left alone", true, false}, {"box ticked", true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FlexAsker asker(m_localizer, &m_skins);
        asker.setShowDontAsk(row.showDontAsk);
        HWND boxSeen = nullptr;
        std::vector<std::wstring> buttons;
        bool messageShown = false;
        TimerScript script({[&] {
                                HWND window = findToolkitWindow(L"Confirmation Dialog");
                                if (!window)
                                    return false;
                                boxSeen = FindWindowExW(window, nullptr, L"BUTTON", L"Don't ask me again");
                                for (const wchar_t* text : {L"       Yes       ", L"       No       "})
                                    if (FindWindowExW(window, nullptr, L"BUTTON", text))
                                        buttons.push_back(text);
                                messageShown = FindWindowExW(window, nullptr, L"Static",
                                                             L"Are you sure you want to proceed this operation?");
                                if (boxSeen && row.tickTheBox)
                                    SendMessageW(boxSeen, BM_CLICK, 0, 0);
                                return true;
                            },
                            [] {
                                PostMessageW(findToolkitWindow(L"Confirmation Dialog"), WM_CLOSE, 0, 0);
                                return true;
                            }});
        asker.ask(parent->hwnd());
        EXPECT_EQ(boxSeen != nullptr, row.showDontAsk);
        // The table's no-break spaces arrive as plain spaces: seven on each side.
        EXPECT_EQ(buttons.size(), 2u) << "Yes and No, with their spaces";
        EXPECT_TRUE(messageShown) << "the default message";
        EXPECT_EQ(asker.dontAskAgain(), row.tickTheBox);
        EXPECT_FALSE(asker.answer());
    }
}

TEST_F(ControlsTest, FlexAskerGrowsWithALongMessageAndCentresOnItsParent)
{
    auto parent = makeFrame();
    // Wider than 400 pixels, narrower than the virtual screen (a top-level
    // window is never made wider than the screen).
    const std::wstring longMessage(60, L'W');
    const struct Row {
        const char* what;
        std::wstring message;
        bool wider;
    } rows[] = {{"short", L"Proceed?", false},
                {"long", longMessage, true},
                {"two lines", L"There is improved version available. \r\nWould you like to check it out?", false}};
    RECT parentRect{};
    GetWindowRect(parent->hwnd(), &parentRect);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FlexAsker asker(m_localizer, &m_skins);
        asker.setShowDontAsk(false);
        int width = 0;
        int messageWidth = 0;
        POINT centre{};
        TimerScript script({[&] {
                                HWND window = findToolkitWindow(L"Title");
                                if (!window)
                                    return false;
                                width = windowWidth(window);
                                HWND message = FindWindowExW(window, nullptr, L"Static", row.message.c_str());
                                messageWidth = message ? windowWidth(message) : -1;
                                RECT rect{};
                                GetWindowRect(window, &rect);
                                centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
                                return true;
                            },
                            [] {
                                postKey(VK_RETURN);
                                return true;
                            }});
        EXPECT_TRUE(asker.ask(parent->hwnd(), L"Title", row.message));
        ASSERT_GT(messageWidth, 0) << "the message is shown";
        if (row.wider) {
            EXPECT_GT(width, FlexAsker::kWidth);
            EXPECT_GE(width, messageWidth + 50);
        } else {
            EXPECT_EQ(width, FlexAsker::kWidth);
        }
        EXPECT_NEAR(centre.x, (parentRect.left + parentRect.right) / 2, 1);
        EXPECT_NEAR(centre.y, (parentRect.top + parentRect.bottom) / 2, 1);
    }
}

TEST_F(ControlsTest, TheMessageBoxClosesOnEnterAndIsModal)
{
    auto parent = makeFrame();
    s::gui::dialogs::MessageBox box(&m_skins, 1);
    bool parentDisabled = false;
    bool shown = false;
    TimerScript script({[&] {
                            HWND window = findToolkitWindow(L"Oxle Purgo");
                            if (!window)
                                return false;
                            shown = FindWindowExW(window, nullptr, L"BUTTON", L"OK") != nullptr;
                            parentDisabled = !IsWindowEnabled(parent->hwnd());
                            return true;
                        },
                        [] {
                            postKey(VK_RETURN);
                            return true;
                        }});
    EXPECT_TRUE(box.show(parent->hwnd(), L"Oxle Purgo",
                         L"12 (3.40 MB) items have been deleted successfully.\r\n2 (1.20 KB) items will be deleted on "
                         L"the next system boot."));
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(shown);
    EXPECT_TRUE(parentDisabled);
    EXPECT_TRUE(IsWindowEnabled(parent->hwnd()));
    EXPECT_EQ(findToolkitWindow(L"Oxle Purgo"), nullptr);
}

// -- the system's file and folder dialogs -----------------------------------------

// The first visible dialog box (#32770) of this thread.
HWND findSystemDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM data) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(hwnd, name, 16);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(data) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(FileDialogs, WineHasTheItemDialog)
{
    // CLSID_FileOpenDialog can be created under Wine 8, so the run-time
    // choice takes the item dialog there.
    EXPECT_EQ(s::gui::dialogs::availableFileDialogApi(), FileDialogApi::itemDialog);
}

TEST(FileDialogs, EachDialogOpensAndCancelsWithoutAChoice)
{
    const struct Row {
        const char* what;
        FileDialogApi api;
        bool folder;
    } rows[] = {
        {"file, automatic", FileDialogApi::automatic, false},
        {"folder, automatic", FileDialogApi::automatic, true},
        {"file, GetOpenFileNameW", FileDialogApi::legacy, false},
        {"folder, SHBrowseForFolderW", FileDialogApi::legacy, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        bool opened = false;
        TimerScript script({[&] {
            HWND dialog = findSystemDialog();
            if (!dialog)
                return false;
            opened = true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        }});
        FileDialogArgs args;
        args.title = L"Choose";
        args.filters = {{L"Log files", L"*.log"}, {L"All files", L"*.*"}};
        args.startFolder = L"C:\\windows";
        args.api = row.api;
        const auto chosen = row.folder ? s::gui::dialogs::chooseFolder(args) : s::gui::dialogs::chooseFile(args);
        EXPECT_TRUE(opened);
        EXPECT_FALSE(chosen.has_value());
    }
}

}  // namespace
