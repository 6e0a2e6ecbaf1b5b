// The toolkit's windows under Wine on a virtual display: frames made on the
// test thread and driven with real messages, pixels read back from the
// windows' own device contexts (PrintWindow leaves child windows out under
// Wine).
#include "gui/Button_win.h"
#include "gui/PaintBox_win.h"
#include "gui/PictureButton_win.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"
#include "platform/win32/ComScope.h"
#include "tests/support/MessagePump_win.h"

#include <gtest/gtest.h>

#include <oleacc.h>
#include <windowsx.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace s::gui;
using namespace s::gui::drawer;

namespace {

// Every colour different, so a pixel names the colour that painted it.
const std::array<uint32_t, kSkinColourCount> kKnownColours = {0x204060, 0x2080C0, 0x101010, 0x808080, 0x00FF00,
                                                              0xFFFFFF, 0x000000, 0x40A040, 0xC04000, 0xFFF0A0,
                                                              0x30E0E0, 0x202020, 0xE030E0, 0x111111, 0x222222};
const std::array<uint32_t, kSkinColourCount> kOtherColours = {0xF0E0D0, 0x102030, 0x303030, 0x909090, 0x0000FF,
                                                              0x000000, 0xEEEEEE, 0x00A0A0, 0x3050C0, 0xFFFFFF,
                                                              0xF8F8F8, 0x000000, 0xE8E8E8, 0x111111, 0x222222};

COLORREF ref(SkinColour colour, const std::array<uint32_t, kSkinColourCount>& colours = kKnownColours)
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

LPARAM at(int x, int y)
{
    return MAKELPARAM(x, y);
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_skins.addSkin(skin::ThinWindow::make(u"Known", kKnownColours));
        m_skins.addSkin(skin::ThinWindow::make(u"Other", kOtherColours));
        m_skins.selectSkin(m_skins.skin(m_skins.findSkin(u"Known")));
        using s::gui::menu::MenuItem;
        MenuItem view = MenuItem::submenu(0);
        view.text = u"View";
        view.add(MenuItem::literal(u"Keep on Top", 100))
            .add(MenuItem::separator())
            .add(MenuItem::literal(u"Exit", 999));
        MenuItem about = MenuItem::submenu(0);
        about.text = u"About";
        about.add(MenuItem::literal(u"Version", 10000));
        m_menus.add(std::move(view));
        m_menus.add(std::move(about));
    }

    std::unique_ptr<SkinnedFrame> makeFrame(int scale = 1, FrameArgs args = {})
    {
        auto frame = std::make_unique<SkinnedFrame>();
        args.caption = L"Oxle Purgo";
        args.scale = scale;
        args.x = 10;
        args.y = 10;
        args.width = 420 * scale;
        args.height = 300 * scale;
        args.skins = &m_skins;
        if (!args.menus)
            args.menus = &m_menus;
        EXPECT_TRUE(frame->create(args));
        frame->show();
        pumpPending();
        return frame;
    }

    // A click as the mouse makes it: down and up at one client point.
    static void click(HWND hwnd, const Box& box)
    {
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(box.centreX(), box.centreY()));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, at(box.centreX(), box.centreY()));
        pumpPending();
    }

    Skinner m_skins;
    s::gui::menu::MenuModel m_menus{nullptr};
};

// -- the closure queue ------------------------------------------------------

struct Counted {
    explicit Counted(std::atomic<int>& counter) : m_counter(&counter) {}
    Counted(const Counted&) = delete;
    ~Counted() { ++*m_counter; }
    std::atomic<int>* m_counter;
};

TEST_F(FrameTest, ClosuresFromAWorkerRunOnTheWindowThreadInOrder)
{
    auto frame = makeFrame();
    const DWORD windowThread = GetCurrentThreadId();
    std::vector<int> seen;
    std::vector<DWORD> threads;
    constexpr int kPosts = 200;
    std::thread worker([queue = frame->closures(), &seen, &threads] {
        for (int i = 0; i < kPosts; ++i)
            EXPECT_TRUE(queue->post([i, &seen, &threads] {
                seen.push_back(i);
                threads.push_back(GetCurrentThreadId());
            }));
    });
    worker.join();
    pumpPending();
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i) << "post " << i;
        EXPECT_EQ(threads[static_cast<std::size_t>(i)], windowThread) << "post " << i;
    }
}

TEST_F(FrameTest, PostsToADestroyedWindowAreFreedAndNeverRun)
{
    auto frame = makeFrame();
    std::atomic<int> destroyed{0};
    int ran = 0;
    auto queue = frame->closures();
    // Posted while the window lives: the wake-up message is in the queue when
    // the window dies, and is never pumped for it.
    std::thread worker([&] {
        auto token = std::make_shared<Counted>(destroyed);
        EXPECT_TRUE(queue->post([token, &ran] { ++ran; }));
    });
    worker.join();
    EXPECT_EQ(destroyed, 0);
    frame->destroy();
    EXPECT_EQ(destroyed, 1) << "the pending closure is freed with its window";
    // Posted after the window is gone: refused and freed on the poster.
    std::thread late([&] {
        auto token = std::make_shared<Counted>(destroyed);
        EXPECT_FALSE(queue->post([token, &ran] { ++ran; }));
    });
    late.join();
    pumpPending();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(ran, 0);
}

TEST_F(FrameTest, AClosureThatDestroysItsWindowDropsTheRestOfItsBatch)
{
    auto frame = makeFrame();
    std::atomic<int> destroyed{0};
    int ran = 0;
    auto queue = frame->closures();
    HWND hwnd = frame->hwnd();
    queue->post([hwnd] { DestroyWindow(hwnd); });
    auto token = std::make_shared<Counted>(destroyed);
    queue->post([token, &ran] { ++ran; });
    token.reset();
    pumpPending();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(ran, 0);
    EXPECT_EQ(destroyed, 1);
}

// -- the title bar ------------------------------------------------------------

TEST_F(FrameTest, TitleBarButtonsMinimiseMaximiseRestoreAndClose)
{
    for (int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        auto frame = makeFrame(scale);
        HWND hwnd = frame->hwnd();
        click(hwnd, frame->layout().maximise());
        EXPECT_TRUE(IsZoomed(hwnd));
        click(hwnd, frame->layout().maximise());
        EXPECT_FALSE(IsZoomed(hwnd)) << "the same button restores";
        click(hwnd, frame->layout().minimise());
        EXPECT_TRUE(IsIconic(hwnd));
        ShowWindow(hwnd, SW_RESTORE);
        pumpPending();
        bool asked = false;
        frame->onClose = [&asked] {
            asked = true;
            return true;
        };
        click(hwnd, frame->layout().close());
        EXPECT_TRUE(asked);
        EXPECT_FALSE(IsWindow(hwnd));
    }
}

TEST_F(FrameTest, AButtonReleasedElsewhereDoesNothingAndCloseCanBeRefused)
{
    auto frame = makeFrame();
    HWND hwnd = frame->hwnd();
    const Box close = frame->layout().close();
    const Box caption = frame->layout().caption();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(close.centreX(), close.centreY()));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at(caption.centreX(), caption.centreY()));
    EXPECT_TRUE(IsWindow(hwnd));
    frame->onClose = [] {
        return false;
    };
    click(hwnd, close);
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(FrameTest, DoubleClickOnTheTitleMaximisesAndRestores)
{
    auto frame = makeFrame();
    HWND hwnd = frame->hwnd();
    const Box caption = frame->layout().caption();
    POINT screen{caption.centreX(), caption.centreY()};
    ClientToScreen(hwnd, &screen);
    ASSERT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTCAPTION);
    SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    EXPECT_TRUE(IsZoomed(hwnd));
    SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    EXPECT_FALSE(IsZoomed(hwnd));
}

TEST_F(FrameTest, HitTestDragsByTheTitleOrAnywhereAndResizesFromTheEdges)
{
    struct Row {
        const char* where;
        int x, y;  // client point at scale 1; negative from the right/bottom
        bool easyDrag;
        LRESULT expected;
    };
    const Row rows[] = {
        {"title bar", 200, 13, false, HTCAPTION},
        {"content", 200, 150, false, HTCLIENT},
        {"content, EasyDrag", 200, 150, true, HTCAPTION},
        {"left edge", 1, 150, false, HTLEFT},
        {"right edge", -2, 150, true, HTRIGHT},
        {"bottom edge", 200, -2, false, HTBOTTOM},
        {"bottom-right corner", -2, -2, false, HTBOTTOMRIGHT},
        {"menu item", 10, 13, true, HTCLIENT},
    };
    for (int scale : {1, 2}) {
        auto frame = makeFrame(scale);
        RECT client{};
        GetClientRect(frame->hwnd(), &client);
        for (const Row& row : rows) {
            frame->setEasyDrag(row.easyDrag);
            POINT point{row.x < 0 ? client.right + row.x * scale : row.x * scale,
                        row.y < 0 ? client.bottom + row.y * scale : row.y * scale};
            ClientToScreen(frame->hwnd(), &point);
            EXPECT_EQ(SendMessageW(frame->hwnd(), WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)), row.expected)
                << row.where << " at scale " << scale;
        }
    }
}

TEST_F(FrameTest, MiddleClickClosesIconizesOrDoesNothing)
{
    struct Row {
        MiddleClickAction action;
        const char* name;
        bool alive;
        bool iconic;
    };
    const Row rows[] = {
        {MiddleClickAction::close, "Close", false, false},
        {MiddleClickAction::iconize, "Iconize", true, true},
        {MiddleClickAction::doNothing, "DoNothing", true, false},
    };
    for (const Row& row : rows) {
        for (UINT message : {UINT(WM_MBUTTONUP), UINT(WM_NCMBUTTONUP)}) {
            FrameArgs args;
            args.middleClick = row.action;
            auto frame = makeFrame(1, args);
            HWND hwnd = frame->hwnd();
            SendMessageW(hwnd, message, message == WM_NCMBUTTONUP ? HTCAPTION : 0, at(100, 100));
            pumpPending();
            EXPECT_EQ(IsWindow(hwnd) != FALSE, row.alive) << row.name << ", message " << message;
            if (row.alive) {
                EXPECT_EQ(IsIconic(hwnd) != FALSE, row.iconic) << row.name << ", message " << message;
            }
        }
    }
}

TEST_F(FrameTest, KeepOnTopMakesTheWindowTopmost)
{
    FrameArgs args;
    args.keepOnTop = true;
    auto frame = makeFrame(1, args);
    const auto exStyle = [&] {
        return GetWindowLongPtrW(frame->hwnd(), GWL_EXSTYLE);
    };
    EXPECT_TRUE(exStyle() & WS_EX_TOPMOST) << "from the creation arguments";
    frame->setKeepOnTop(false);
    EXPECT_FALSE(exStyle() & WS_EX_TOPMOST);
    EXPECT_FALSE(frame->keepOnTop());
    frame->setKeepOnTop(true);
    EXPECT_TRUE(exStyle() & WS_EX_TOPMOST);
}

TEST_F(FrameTest, TransparencySetsTheLayeredAlpha)
{
    struct Row {
        int opacity;
        bool onlyOnTop;
        bool topmost;
        int alpha;  // -1: not layered
    };
    const Row rows[] = {
        {100, false, false, -1}, {90, false, false, 229}, {50, false, false, 127}, {10, false, false, 25},
        {55, false, false, 140}, {90, true, false, -1},   {90, true, true, 229},   {100, false, true, -1},
    };
    auto frame = makeFrame();
    for (const Row& row : rows) {
        frame->setKeepOnTop(row.topmost);
        frame->setOpacity(row.opacity, row.onlyOnTop);
        const bool layered = (GetWindowLongPtrW(frame->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        const std::string name = "opacity " + std::to_string(row.opacity) + (row.onlyOnTop ? " only on top" : "") +
                                 (row.topmost ? ", topmost" : "");
        EXPECT_EQ(layered, row.alpha >= 0) << name;
        if (row.alpha >= 0 && layered) {
            BYTE alpha = 0;
            DWORD flags = 0;
            ASSERT_TRUE(GetLayeredWindowAttributes(frame->hwnd(), nullptr, &alpha, &flags)) << name;
            EXPECT_EQ(alpha, row.alpha) << name;
            EXPECT_TRUE(flags & LWA_ALPHA) << name;
        }
    }
    // Only on top: leaving the top drops the transparency, coming back
    // restores it.
    frame->setOpacity(70, true);
    frame->setKeepOnTop(true);
    EXPECT_TRUE(GetWindowLongPtrW(frame->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    frame->setKeepOnTop(false);
    EXPECT_FALSE(GetWindowLongPtrW(frame->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(FrameTest, Message1027RestoresAMinimisedFrame)
{
    auto frame = makeFrame();
    int requests = 0;
    frame->onActivateRequest = [&requests] {
        ++requests;
    };
    ShowWindow(frame->hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(frame->hwnd()));
    SendMessageW(frame->hwnd(), 1027, 0, 0);
    pumpPending();
    EXPECT_FALSE(IsIconic(frame->hwnd()));
    EXPECT_TRUE(IsWindowVisible(frame->hwnd()));
    EXPECT_EQ(requests, 1);
    frame->hide();
    SendMessageW(frame->hwnd(), 1027, 0, 0);
    EXPECT_TRUE(IsWindowVisible(frame->hwnd())) << "a hidden frame is shown";
}

TEST_F(FrameTest, MenuItemsOpenTheirPopupAndReportTheChosenCommand)
{
    auto frame = makeFrame();
    std::vector<int> commands;
    frame->onCommand = [&commands](int command) {
        commands.push_back(command);
    };
    const Box about = frame->layout().menus()[1];
    // The popup's modal loop reads the thread's keyboard messages: these are
    // waiting when it starts and pick the first item.
    PostMessageW(frame->hwnd(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(frame->hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(frame->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(about.centreX(), about.centreY()));
    pumpPending();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], 10000);
}

// -- what a screen reader finds ------------------------------------------------

// One child of the frame's client object as a screen reader reads it: a
// child window through its own object, a painted element through the frame's.
struct AccessibleChild {
    long id = 0;  // the child id for a painted element; 0 for a window
    std::wstring name;
    long role = 0;
    long state = 0;
    RECT place{};
    std::wstring action;
};

template <class Interface> struct Held {
    Interface* p = nullptr;
    Held() = default;
    Held(const Held&) = delete;
    ~Held()
    {
        if (p)
            p->Release();
    }
};

VARIANT childId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

AccessibleChild describe(IAccessible* object, long id)
{
    AccessibleChild child;
    const VARIANT which = childId(id);
    BSTR text = nullptr;
    if (object->get_accName(which, &text) == S_OK && text)
        child.name = text;
    SysFreeString(text);
    text = nullptr;
    if (object->get_accDefaultAction(which, &text) == S_OK && text)
        child.action = text;
    SysFreeString(text);
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(object->get_accRole(which, &value)) && value.vt == VT_I4)
        child.role = value.lVal;
    VariantInit(&value);
    if (SUCCEEDED(object->get_accState(which, &value)) && value.vt == VT_I4)
        child.state = value.lVal;
    long x = 0, y = 0, w = 0, h = 0;
    if (SUCCEEDED(object->accLocation(&x, &y, &w, &h, which)))
        child.place = RECT{x, y, x + w, y + h};
    return child;
}

// Every child, as AccessibleChildren gives them.
std::vector<AccessibleChild> accessibleChildren(IAccessible* client)
{
    std::vector<AccessibleChild> children;
    long count = 0;
    if (FAILED(client->get_accChildCount(&count)) || count <= 0)
        return children;
    std::vector<VARIANT> found(static_cast<std::size_t>(count));
    LONG got = 0;
    EXPECT_EQ(AccessibleChildren(client, 0, count, found.data(), &got), S_OK);
    for (LONG i = 0; i < got; ++i) {
        VARIANT& v = found[static_cast<std::size_t>(i)];
        if (v.vt == VT_DISPATCH && v.pdispVal) {
            Held<IAccessible> window;
            v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&window.p));
            // A child window comes as its window object (OBJID_WINDOW).
            // Wine 8's window objects answer neither name nor role, so the
            // name is read from the window's client object, as Windows'
            // window object reads it too.
            HWND childWindow = nullptr;
            if (window.p && SUCCEEDED(WindowFromAccessibleObject(window.p, &childWindow)) && childWindow) {
                Held<IAccessible> area;
                if (SUCCEEDED(AccessibleObjectFromWindow(childWindow, static_cast<DWORD>(OBJID_CLIENT),
                                                         __uuidof(IAccessible), reinterpret_cast<void**>(&area.p)))) {
                    AccessibleChild child = describe(area.p, CHILDID_SELF);
                    child.id = 0;
                    children.push_back(child);
                }
            }
        } else if (v.vt == VT_I4) {
            children.push_back(describe(client, v.lVal));
            children.back().id = v.lVal;
        }
        VariantClear(&v);
    }
    return children;
}

const AccessibleChild* byName(const std::vector<AccessibleChild>& children, const std::wstring& name)
{
    for (const AccessibleChild& child : children) {
        if (child.name == name)
            return &child;
    }
    return nullptr;
}

RECT onScreen(HWND hwnd, const Box& box)
{
    RECT rect{box.left, box.top, box.right, box.bottom};
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class AccessibleFrameTest : public FrameTest {
protected:
    std::unique_ptr<SkinnedFrame> makeNamedFrame()
    {
        auto frame = makeFrame();
        frame->setButtonNames({L"Minimise", L"Maximise", L"Restore", L"Close", L"Press", L"Open"});
        return frame;
    }

    // What a screen reader asks the window for (WM_GETOBJECT, OBJID_CLIENT).
    static void clientObject(HWND hwnd, Held<IAccessible>& object)
    {
        ASSERT_EQ(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object.p)),
                  S_OK);
        ASSERT_NE(object.p, nullptr);
    }

    s::platform::ComScope m_com;
};

TEST_F(AccessibleFrameTest, ThePaintedMenusAndButtonsHaveNamesRolesPlacesAndActions)
{
    auto frame = makeNamedFrame();
    HWND hwnd = frame->hwnd();
    // Real child windows stay what they were: a push button and the
    // picture button, named by their window texts.
    Button button(frame->painter());
    ASSERT_TRUE(button.create({hwnd, L"Clean", 20, 60, 100, 30, 42}));
    PictureButton plus(frame->painter());
    PictureButton::Args plusArgs;
    plusArgs.parent = hwnd;
    plusArgs.accessibleName = L"Add Custom Target";
    plusArgs.x = 130;
    plusArgs.y = 60;
    ASSERT_TRUE(plus.create(plusArgs));
    pumpPending();

    Held<IAccessible> client;
    clientObject(hwnd, client);
    ASSERT_FALSE(HasFatalFailure());
    const FrameLayout layout = frame->layout();
    struct Row {
        std::wstring name;
        long role;
        Box box;
        std::wstring action;
    };
    const Row painted[] = {
        {L"View", ROLE_SYSTEM_MENUITEM, layout.menus()[0], L"Open"},
        {L"About", ROLE_SYSTEM_MENUITEM, layout.menus()[1], L"Open"},
        {L"Minimise", ROLE_SYSTEM_PUSHBUTTON, layout.minimise(), L"Press"},
        {L"Maximise", ROLE_SYSTEM_PUSHBUTTON, layout.maximise(), L"Press"},
        {L"Close", ROLE_SYSTEM_PUSHBUTTON, layout.close(), L"Press"},
    };
    const std::vector<AccessibleChild> children = accessibleChildren(client.p);
    ASSERT_EQ(children.size(), 2u + std::size(painted)) << "two child windows and the painted elements";
    for (const std::wstring name : {L"Clean", L"Add Custom Target"}) {
        const AccessibleChild* window = byName(children, name);
        ASSERT_NE(window, nullptr) << "child window " << std::string(name.begin(), name.end()) << " among "
                                   << [&children] {
                                          std::string all;
                                          for (const AccessibleChild& child : children)
                                              all += "[" + std::string(child.name.begin(), child.name.end()) +
                                                     " role " + std::to_string(child.role) + "]";
                                          return all;
                                      }();
        EXPECT_EQ(window->id, 0) << "reached as an object of its own";
    }
    for (const Row& row : painted) {
        const std::string what(row.name.begin(), row.name.end());
        const AccessibleChild* child = byName(children, row.name);
        ASSERT_NE(child, nullptr) << what;
        EXPECT_GT(child->id, 0) << what;
        EXPECT_EQ(child->role, row.role) << what;
        const RECT expected = onScreen(hwnd, row.box);
        EXPECT_TRUE(EqualRect(&child->place, &expected)) << what;
        EXPECT_EQ(child->action, row.action) << what;
        EXPECT_EQ(child->state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE), 0) << what;
        EXPECT_EQ((child->state & STATE_SYSTEM_HASPOPUP) != 0, row.role == ROLE_SYSTEM_MENUITEM) << what;
        // The point a reader's mouse is at names the element under it.
        VARIANT hit;
        VariantInit(&hit);
        ASSERT_EQ(client.p->accHitTest(child->place.left + 2, child->place.top + 2, &hit), S_OK) << what;
        EXPECT_EQ(hit.vt, VT_I4) << what;
        EXPECT_EQ(hit.lVal, child->id) << what;
    }
    // Elsewhere the standard answer: a child window as its object, the
    // frame itself over its own surface.
    RECT buttonRect{};
    GetWindowRect(button.hwnd(), &buttonRect);
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(client.p->accHitTest(buttonRect.left + 3, buttonRect.top + 3, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_DISPATCH);
    VariantClear(&hit);
    const AccessibleChild self = describe(client.p, CHILDID_SELF);
    EXPECT_EQ(self.name, L"Oxle Purgo") << "the frame itself: its window text";
    EXPECT_EQ(self.role, ROLE_SYSTEM_CLIENT);
    // Navigation runs across both kinds, in the same order.
    VARIANT last;
    VariantInit(&last);
    ASSERT_EQ(client.p->accNavigate(NAVDIR_LASTCHILD, childId(CHILDID_SELF), &last), S_OK);
    ASSERT_EQ(last.vt, VT_I4);
    EXPECT_EQ(describe(client.p, last.lVal).name, L"Close");
    VARIANT previous;
    VariantInit(&previous);
    ASSERT_EQ(client.p->accNavigate(NAVDIR_PREVIOUS, last, &previous), S_OK);
    EXPECT_EQ(describe(client.p, previous.lVal).name, L"Maximise");
    VARIANT beyond;
    VariantInit(&beyond);
    EXPECT_EQ(client.p->accNavigate(NAVDIR_NEXT, last, &beyond), S_FALSE);
    EXPECT_EQ(client.p->get_accName(childId(static_cast<long>(children.size()) + 1), nullptr), E_POINTER);
    BSTR none = nullptr;
    EXPECT_EQ(client.p->get_accName(childId(static_cast<long>(children.size()) + 1), &none), E_INVALIDARG);
}

TEST_F(AccessibleFrameTest, NamesAndStatesFollowTheWindow)
{
    auto frame = makeNamedFrame();
    HWND hwnd = frame->hwnd();
    Held<IAccessible> client;
    clientObject(hwnd, client);
    ASSERT_FALSE(HasFatalFailure());
    ShowWindow(hwnd, SW_MAXIMIZE);
    pumpPending();
    std::vector<AccessibleChild> children = accessibleChildren(client.p);
    EXPECT_EQ(byName(children, L"Maximise"), nullptr);
    const AccessibleChild* restore = byName(children, L"Restore");
    ASSERT_NE(restore, nullptr) << "a maximised frame shows the restore button";
    const RECT expected = onScreen(hwnd, frame->layout().maximise());
    EXPECT_TRUE(EqualRect(&restore->place, &expected));
    const AccessibleChild* close = byName(children, L"Close");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->place.right, onScreen(hwnd, frame->layout().close()).right) << "moved with the window's edge";

    // A modal window above it disables the frame: its buttons are
    // unavailable and do nothing.
    EnableWindow(hwnd, FALSE);
    children = accessibleChildren(client.p);
    close = byName(children, L"Close");
    ASSERT_NE(close, nullptr);
    EXPECT_NE(close->state & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_TRUE(FAILED(client.p->accDoDefaultAction(childId(close->id))));
    pumpPending();
    EXPECT_TRUE(IsWindow(hwnd));
    EnableWindow(hwnd, TRUE);

    // The held object outlives its window and says so.
    frame->destroy();
    long count = 0;
    EXPECT_EQ(client.p->get_accChildCount(&count), RPC_E_DISCONNECTED);
    BSTR name = nullptr;
    EXPECT_EQ(client.p->get_accName(childId(CHILDID_SELF), &name), RPC_E_DISCONNECTED);
}

HWND g_menuFrame = nullptr;

TEST_F(AccessibleFrameTest, DefaultActionsPressTheButtonsAndOpenTheMenus)
{
    auto frame = makeNamedFrame();
    HWND hwnd = frame->hwnd();
    std::vector<int> commands;
    frame->onCommand = [&commands](int command) {
        commands.push_back(command);
    };
    Held<IAccessible> client;
    clientObject(hwnd, client);
    ASSERT_FALSE(HasFatalFailure());
    std::vector<AccessibleChild> children = accessibleChildren(client.p);
    const AccessibleChild* about = byName(children, L"About");
    ASSERT_NE(about, nullptr);
    // The menu opens with its first item selected, as from the keyboard;
    // a thread timer presses Enter inside the menu's loop.
    g_menuFrame = hwnd;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostMessageW(g_menuFrame, WM_KEYDOWN, VK_RETURN, 1);
    });
    ASSERT_NE(timer, 0u);
    ASSERT_EQ(client.p->accDoDefaultAction(childId(about->id)), S_OK);
    EXPECT_TRUE(commands.empty()) << "the action waits for the window's own queue";
    EXPECT_TRUE(testing_platform::pumpUntil([&commands] { return !commands.empty(); }, 5000));
    EXPECT_EQ(commands, std::vector<int>{10000});

    const AccessibleChild* minimise = byName(children, L"Minimise");
    ASSERT_NE(minimise, nullptr);
    ASSERT_EQ(client.p->accDoDefaultAction(childId(minimise->id)), S_OK);
    pumpPending();
    EXPECT_TRUE(IsIconic(hwnd));
    children = accessibleChildren(client.p);
    const AccessibleChild* close = byName(children, L"Close");
    ASSERT_NE(close, nullptr);
    EXPECT_NE(close->state & STATE_SYSTEM_INVISIBLE, 0) << "a minimised frame shows no title bar";
    ShowWindow(hwnd, SW_RESTORE);
    pumpPending();
    ASSERT_EQ(client.p->accDoDefaultAction(childId(close->id)), S_OK);
    pumpPending();
    EXPECT_FALSE(IsWindow(hwnd));
}

// -- reflection -----------------------------------------------------------------

TEST_F(FrameTest, AButtonHandlesItsOwnClickAndDrawing)
{
    auto frame = makeFrame();
    Button button(frame->painter());
    int clicks = 0;
    button.onClick = [&clicks] {
        ++clicks;
    };
    ASSERT_TRUE(button.create({frame->hwnd(), L"Clean", 20, 60, 100, 30, 42}));
    UpdateWindow(button.hwnd());
    pumpPending();
    SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    pumpPending();
    EXPECT_EQ(clicks, 1);
    // Drawn through the reflected WM_DRAWITEM: the face is the header colour.
    EXPECT_EQ(pixel(button.hwnd(), 4, 4), ref(SkinColour::listHeaderBg));
    EXPECT_EQ(pixel(button.hwnd(), 0, 0), ref(SkinColour::compFg)) << "border";
}

// -- pixels -------------------------------------------------------------------

TEST_F(FrameTest, ThePainterPaintsTheSkinsColoursAtEachScale)
{
    for (int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        auto frame = makeFrame(scale);
        const int s = scale;
        const int rowHeight = 20 * s;
        PaintBox box(frame->painter());
        box.onPaint = [&](SkinPainter& painter, HDC dc, const RECT&) {
            painter.drawHeaderCell(dc, RECT{0, 0, 150 * s, rowHeight}, L"Name");
            for (int row = 0; row < 3; ++row)
                painter.drawListRow(dc, RECT{0, rowHeight * (row + 1), 150 * s, rowHeight * (row + 2)}, L"Row", row,
                                    true);
            painter.drawButton(dc, RECT{0, 100 * s, 80 * s, 125 * s}, L"OK", ButtonState::normal);
            painter.drawButton(dc, RECT{90 * s, 100 * s, 170 * s, 125 * s}, L"OK", ButtonState::pressed);
        };
        const Box content = frame->layout().content();
        ASSERT_TRUE(box.create({frame->hwnd(), 20 * s, content.top + 10 * s, 200 * s, 140 * s, 1}));
        UpdateWindow(box.hwnd());
        pumpPending();

        struct Probe {
            const char* what;
            HWND hwnd;
            int x, y;
            SkinColour colour;
        };
        const Box gap{frame->layout().caption().right, 0, frame->layout().minimise().left, 26 * s};
        const Probe probes[] = {
            {"title bar", frame->hwnd(), gap.centreX(), gap.centreY(), SkinColour::windowBg},
            {"content background", frame->hwnd(), 300 * s, 250 * s, SkinColour::windowBg},
            {"frame edge", frame->hwnd(), 0, 150 * s, SkinColour::windowFg},
            {"header cell", box.hwnd(), 140 * s, 2 * s, SkinColour::listHeaderBg},
            {"row 0", box.hwnd(), 140 * s, rowHeight + 2 * s, SkinColour::listBg},
            {"row 1 (alternate)", box.hwnd(), 140 * s, 2 * rowHeight + 2 * s, SkinColour::listAlternate},
            {"row 2", box.hwnd(), 140 * s, 3 * rowHeight + 2 * s, SkinColour::listBg},
            {"button face", box.hwnd(), 4 * s, 104 * s, SkinColour::listHeaderBg},
            {"button border", box.hwnd(), 0, 100 * s, SkinColour::compFg},
            {"pressed button face", box.hwnd(), 94 * s, 104 * s, SkinColour::listHeaderFont},
            {"box background", box.hwnd(), 190 * s, 135 * s, SkinColour::windowBg},
        };
        for (const Probe& probe : probes)
            EXPECT_EQ(pixel(probe.hwnd, probe.x, probe.y), ref(probe.colour)) << probe.what;

        // A new current skin repaints the frame and its children.
        m_skins.selectSkin(m_skins.skin(m_skins.findSkin(u"Other")));
        UpdateWindow(frame->hwnd());
        UpdateWindow(box.hwnd());
        pumpPending();
        for (const Probe& probe : probes)
            EXPECT_EQ(pixel(probe.hwnd, probe.x, probe.y), ref(probe.colour, kOtherColours))
                << probe.what << " after the skin change";
        m_skins.selectSkin(m_skins.skin(m_skins.findSkin(u"Known")));
        using s::gui::menu::MenuItem;
        MenuItem view = MenuItem::submenu(0);
        view.text = u"View";
        view.add(MenuItem::literal(u"Keep on Top", 100))
            .add(MenuItem::separator())
            .add(MenuItem::literal(u"Exit", 999));
        MenuItem about = MenuItem::submenu(0);
        about.text = u"About";
        about.add(MenuItem::literal(u"Version", 10000));
        m_menus.add(std::move(view));
        m_menus.add(std::move(about));
    }
}

}  // namespace
