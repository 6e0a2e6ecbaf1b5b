#include "gui/SkinnedFrame_win.h"

#include "gui/FrameAccessible_win.h"
#include "gui/Skinner.h"

#include <windowsx.h>

#include <algorithm>
#include <mutex>

namespace s::gui {

using s::gui::drawer::ButtonState;
using s::gui::drawer::SkinColour;

namespace {

// The frame draws everything itself; WS_THICKFRAME and the box styles stay
// because Windows (and Wine) only size a window from its edges, and only
// minimise and maximise it through the system commands, when it has them.
constexpr DWORD kFrameStyle = WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU | WS_CLIPCHILDREN;

void trimWorkingSet()
{
    static std::mutex lock;
    std::lock_guard guard(lock);
    // (-1, -1) empties the working set: pages return on demand.
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

LRESULT hitCode(FramePart part)
{
    switch (part) {
    case FramePart::caption:
        return HTCAPTION;
    case FramePart::left:
        return HTLEFT;
    case FramePart::right:
        return HTRIGHT;
    case FramePart::top:
        return HTTOP;
    case FramePart::bottom:
        return HTBOTTOM;
    case FramePart::topLeft:
        return HTTOPLEFT;
    case FramePart::topRight:
        return HTTOPRIGHT;
    case FramePart::bottomLeft:
        return HTBOTTOMLEFT;
    case FramePart::bottomRight:
        return HTBOTTOMRIGHT;
    case FramePart::client:
    case FramePart::menu:
    case FramePart::minimise:
    case FramePart::maximise:
    case FramePart::close:
        // The frame tracks its own buttons and menu items as client clicks:
        // HTMINBUTTON and the like would make DefWindowProc draw the system's
        // own caption buttons over ours.
        break;
    }
    return HTCLIENT;
}

bool isTitleButton(FramePart part)
{
    return part == FramePart::minimise || part == FramePart::maximise || part == FramePart::close;
}

std::wstring titleText(const s::gui::menu::MenuModel& model, const s::gui::menu::MenuItem& menu)
{
    const s::str::strbuffer::StrBuffer text = model.text(menu);
    return std::wstring(text.view().begin(), text.view().end());
}

RECT toRect(const Box& box)
{
    return RECT{box.left, box.top, box.right, box.bottom};
}

// The frame whose title-bar menu is open on this thread: the menu loop's
// message filter finds it here (one menu at a time per thread).
thread_local SkinnedFrame* t_menuFrame = nullptr;

FramePart partOf(const FrameElement& element)
{
    switch (element.kind) {
    case FrameElementKind::minimise:
        return FramePart::minimise;
    case FrameElementKind::maximise:
    case FrameElementKind::restore:
        return FramePart::maximise;
    case FrameElementKind::close:
        return FramePart::close;
    case FrameElementKind::menu:
        break;
    }
    return FramePart::menu;
}

bool keyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

SkinnedFrame::SkinnedFrame() = default;

SkinnedFrame::~SkinnedFrame()
{
    // Destroyed here, while the object is still a frame: the base class's
    // destructor would dispatch the last messages to Wnd's handler only.
    destroy();
    if (m_skins)
        m_skins->removeListener(this);
}

bool SkinnedFrame::create(const FrameArgs& args)
{
    m_caption = args.caption;
    m_icon = args.icon;
    setMenus(args.menus);
    m_middleClick = args.middleClick;
    m_easyDrag = args.easyDrag;
    m_sizeButtons = args.sizeButtons;
    m_opacity = args.opacity;
    m_opacityOnlyOnTop = args.opacityOnlyOnTop;
    m_painter.setScale(args.scale);
    m_skins = args.skins;
    m_painter.setSkin(m_skins ? m_skins->current() : nullptr);

    WndArgs wnd;
    wnd.text = args.caption;
    wnd.style = kFrameStyle;
    wnd.parent = args.owner;
    // Only a window of its own has a taskbar button.
    // WS_EX_CONTROLPARENT: the Tab order runs through the controls of
    // containers (group boxes, panels) too.
    wnd.exStyle = (args.owner ? 0 : WS_EX_APPWINDOW) | WS_EX_CONTROLPARENT;
    wnd.x = args.x;
    wnd.y = args.y;
    wnd.width = args.width;
    wnd.height = args.height;
    m_closeOnEscape = args.closeOnEscape;
    m_scaleForScreen = args.scaleForScreen;
    if (!Wnd::create(wnd))
        return false;
    // Alt+Tab and the taskbar take the window's icons from WM_SETICON; the
    // class has none.
    if (args.icon)
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(args.icon));
    if (HICON small = args.smallIcon ? args.smallIcon : args.icon)
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (args.smallIcon)
        m_icon = args.smallIcon;
    GetWindowRect(hwnd(), &m_normalRect);
    m_tips.create();
    if (m_skins)
        m_skins->addListener(this);
    if (args.keepOnTop)
        setKeepOnTop(true);
    else
        applyOpacity();
    return true;
}

void SkinnedFrame::show(Activation activation)
{
    ShowWindow(hwnd(), activation == Activation::activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (activation == Activation::activate)
        SetForegroundWindow(hwnd());
    UpdateWindow(hwnd());
    trimWorkingSet();
}

void SkinnedFrame::hide()
{
    ShowWindow(hwnd(), SW_HIDE);
    trimWorkingSet();
}

void SkinnedFrame::setKeepOnTop(bool on)
{
    SetWindowPos(hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Translucent only while on top: the change of place changes the alpha.
    applyOpacity();
}

bool SkinnedFrame::keepOnTop() const
{
    return (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void SkinnedFrame::setOpacity(int percent, bool onlyOnTop)
{
    m_opacity = percent;
    m_opacityOnlyOnTop = onlyOnTop;
    applyOpacity();
}

void SkinnedFrame::applyOpacity()
{
    if (!hwnd())
        return;
    const int effective = m_opacityOnlyOnTop && !keepOnTop() ? 100 : std::max(0, m_opacity);
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    if (effective >= 100) {
        // Opaque windows are not layered at all: a layered window at alpha
        // 255 still costs a composition pass on every paint.
        if (exStyle & WS_EX_LAYERED) {
            SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
        return;
    }
    if (!(exStyle & WS_EX_LAYERED))
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    const int alpha = std::min(255, effective * 255 / 100);
    SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void SkinnedFrame::setMenus(s::gui::menu::MenuModel* menus)
{
    m_binding.reset();
    m_menus = menus;
    if (m_menus) {
        m_binding = std::make_unique<s::gui::menu::MenuBinding>(*m_menus);
        m_binding->onCommand = [this](int command) {
            if (onCommand)
                onCommand(command);
        };
        // The title bar draws the menus' labels itself.
        m_binding->onTextsChanged = [this] {
            if (hwnd())
                InvalidateRect(hwnd(), nullptr, FALSE);
        };
    }
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, FALSE);
}

std::vector<s::gui::menu::MenuItem*> SkinnedFrame::titleMenus() const
{
    std::vector<s::gui::menu::MenuItem*> menus;
    if (!m_menus)
        return menus;
    for (s::gui::menu::MenuItem& item : m_menus->root().items) {
        if (item.kind == s::gui::menu::MenuItem::Kind::Submenu)
            menus.push_back(&item);
    }
    return menus;
}

void SkinnedFrame::setButtonNames(ButtonNames names)
{
    m_buttonNames = std::move(names);
    placeButtonTips();
}

void SkinnedFrame::placeButtonTips()
{
    if (!hwnd() || m_buttonNames.close.empty())
        return;
    const FrameLayout frame = layout();
    if (m_sizeButtons) {
        m_tips.setAreaTip(hwnd(), 1, toRect(frame.minimise()), m_buttonNames.minimise);
        m_tips.setAreaTip(hwnd(), 2, toRect(frame.maximise()),
                          IsZoomed(hwnd()) ? m_buttonNames.restore : m_buttonNames.maximise);
    }
    m_tips.setAreaTip(hwnd(), 3, toRect(frame.close()), m_buttonNames.close);
}

void SkinnedFrame::changeScale(int dpi, const RECT* at)
{
    Scale scale = Scale::ofDpi(dpi);
    if (m_scaleForScreen) {
        HMONITOR monitor =
            at ? MonitorFromRect(at, MONITOR_DEFAULTTONEAREST) : MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (monitor && GetMonitorInfoW(monitor, &info))
            scale = m_scaleForScreen(info.rcMonitor.right - info.rcMonitor.left,
                                     info.rcMonitor.bottom - info.rcMonitor.top, dpi);
    }
    const Scale before = m_painter.scale();
    if (scale == before)
        return;
    m_painter.setScale(scale);
    EnumChildWindows(
        hwnd(),
        [](HWND child, LPARAM) -> BOOL {
            SendMessageW(child, kScaleChangedMessage, 0, 0);
            return TRUE;
        },
        0);
    if (onScaleChanged)
        onScaleChanged(before);
    placeButtonTips();
    redrawAll();
}

std::wstring SkinnedFrame::elementName(const FrameElement& element) const
{
    switch (element.kind) {
    case FrameElementKind::minimise:
        return m_buttonNames.minimise;
    case FrameElementKind::maximise:
        return m_buttonNames.maximise;
    case FrameElementKind::restore:
        return m_buttonNames.restore;
    case FrameElementKind::close:
        return m_buttonNames.close;
    case FrameElementKind::menu:
        break;
    }
    const std::vector<s::gui::menu::MenuItem*> menus = titleMenus();
    const auto index = static_cast<std::size_t>(element.menuIndex);
    return index < menus.size() ? titleText(*m_menus, *menus[index]) : std::wstring();
}

bool SkinnedFrame::elementEnabled(const FrameElement& element) const
{
    if (element.isButton())
        return true;
    const std::vector<s::gui::menu::MenuItem*> menus = titleMenus();
    const auto index = static_cast<std::size_t>(element.menuIndex);
    return index < menus.size() && menus[index]->enabled;
}

bool SkinnedFrame::elementPressed(const FrameElement& element) const
{
    return element.isButton() && m_pressed == partOf(element) && m_hot == m_pressed;
}

bool SkinnedFrame::elementHot(const FrameElement& element) const
{
    return element.isButton() && m_hot == partOf(element);
}

void SkinnedFrame::doElementAction(const FrameElement& element)
{
    if (element.isButton())
        press(partOf(element));  // may destroy the window
    else if (elementEnabled(element))
        openMenuFromKeyboard(element.menuIndex);
}

void SkinnedFrame::setCaption(const std::wstring& caption)
{
    m_caption = caption;
    SetWindowTextW(hwnd(), caption.c_str());
    InvalidateRect(hwnd(), nullptr, FALSE);
}

FrameLayout SkinnedFrame::layout() const
{
    RECT client{};
    GetClientRect(hwnd(), &client);
    std::vector<int> widths;
    {
        WindowDc dc(hwnd());
        auto& painter = const_cast<SkinPainter&>(m_painter);
        for (const s::gui::menu::MenuItem* menu : titleMenus())
            widths.push_back(static_cast<int>(painter.measureText(dc.get(), titleText(*m_menus, *menu)).cx));
    }
    return FrameLayout(m_painter.scale(), client.right, client.bottom, widths, m_sizeButtons);
}

FramePart SkinnedFrame::partAt(POINT client) const
{
    return layout().hitTest(client.x, client.y, m_easyDrag ? Dragging::anywhere : Dragging::titleBarOnly,
                            IsZoomed(hwnd()) ? Placement::maximised : Placement::normal);
}

void SkinnedFrame::onEvent(s::base::IObject* source, int)
{
    if (!m_skins || source != static_cast<s::base::IObject*>(m_skins))
        return;
    m_painter.setSkin(m_skins->current());
    if (onSkinChanged)
        onSkinChanged();
    redrawAll();
}

void SkinnedFrame::trackShown(WPARAM sizeKind)
{
    Shown now = m_shown;
    if (sizeKind == SIZE_MAXIMIZED)
        now = Shown::maximised;
    else if (sizeKind == SIZE_MINIMIZED)
        now = Shown::minimised;
    else if (sizeKind == SIZE_RESTORED)
        now = Shown::normal;
    if (now == m_shown)
        return;
    const Shown before = m_shown;
    m_shown = now;
    if (onShownChanged)
        onShownChanged(now, before, m_normalRect);
}

bool SkinnedFrame::translate(MSG& message)
{
    if (!message.hwnd)
        return false;
    auto* frame = dynamic_cast<SkinnedFrame*>(Wnd::fromHwnd(GetAncestor(message.hwnd, GA_ROOT)));
    return frame && frame->preTranslate(message);
}

bool SkinnedFrame::preTranslate(MSG& message)
{
    if (!hwnd() || (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)))
        return false;
    switch (message.message) {
    case WM_MBUTTONUP:
        // Over a control as over the frame: the whole window answers.
        if (message.hwnd != hwnd()) {
            doMiddleClick();
            return true;
        }
        return false;
    case WM_SYSKEYDOWN:
        if (message.wParam == VK_MENU) {
            m_altAlone = (message.lParam & (1 << 30)) == 0 ? true : m_altAlone;
            return true;
        }
        m_altAlone = false;
        if (message.wParam == VK_F10 && !keyDown(VK_SHIFT)) {
            openMenuFromKeyboard(0);
            return true;
        }
        return false;
    case WM_SYSKEYUP:
        if (message.wParam == VK_MENU || message.wParam == VK_F10) {
            const bool open = message.wParam == VK_MENU && m_altAlone;
            m_altAlone = false;
            if (open)
                openMenuFromKeyboard(0);
            return true;
        }
        return false;
    case WM_KEYDOWN:
        m_altAlone = false;
        if (message.wParam == VK_TAB && !keyDown(VK_CONTROL)) {
            HWND from = GetFocus();
            if (from && !IsChild(hwnd(), from))
                from = nullptr;
            HWND next = GetNextDlgTabItem(hwnd(), from, keyDown(VK_SHIFT) ? TRUE : FALSE);
            if (next)
                SetFocus(next);
            return true;
        }
        if (message.wParam == VK_ESCAPE && m_closeOnEscape) {
            closeByUser();
            return true;
        }
        if (message.wParam == VK_RETURN) {
            // Enter presses the focused push button, as in a dialog.
            wchar_t name[16] = {};
            GetClassNameW(message.hwnd, name, 16);
            const LONG_PTR style = GetWindowLongPtrW(message.hwnd, GWL_STYLE);
            if (message.hwnd != hwnd() && lstrcmpiW(name, L"BUTTON") == 0 && (style & WS_TABSTOP)) {
                SendMessageW(message.hwnd, BM_CLICK, 0, 0);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

void SkinnedFrame::redrawAll()
{
    if (hwnd())
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SkinnedFrame::toggleMaximised()
{
    ShowWindow(hwnd(), IsZoomed(hwnd()) ? SW_RESTORE : SW_MAXIMIZE);
}

void SkinnedFrame::closeByUser()
{
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void SkinnedFrame::doMiddleClick()
{
    switch (m_middleClick) {
    case MiddleClickAction::close:
        closeByUser();
        break;
    case MiddleClickAction::iconize:
        ShowWindow(hwnd(), SW_MINIMIZE);
        break;
    case MiddleClickAction::doNothing:
        break;
    }
}

void SkinnedFrame::press(FramePart part)
{
    switch (part) {
    case FramePart::minimise:
        ShowWindow(hwnd(), SW_MINIMIZE);
        break;
    case FramePart::maximise:
        toggleMaximised();
        break;
    case FramePart::close:
        closeByUser();
        break;
    default:
        break;
    }
}

void SkinnedFrame::trackMenu(int index)
{
    trackMenusByKeyboard(index, false);
}

void SkinnedFrame::openMenuFromKeyboard(int index)
{
    trackMenusByKeyboard(index, true);
}

LRESULT CALLBACK SkinnedFrame::menuKeys(int code, WPARAM wp, LPARAM lp)
{
    // Left on the menu bar item's own popup and Right on an item without a
    // submenu leave this menu for its neighbour, as a menu bar does.
    auto* message = reinterpret_cast<MSG*>(lp);
    SkinnedFrame* frame = t_menuFrame;
    if (code == MSGF_MENU && frame && message->message == WM_KEYDOWN) {
        const auto count = static_cast<int>(frame->titleMenus().size());
        int next = -1;
        if (message->wParam == VK_LEFT && frame->m_menuSelected == frame->m_menuTop)
            next = (frame->m_menuIndex + count - 1) % count;
        else if (message->wParam == VK_RIGHT && !frame->m_selectedIsPopup)
            next = (frame->m_menuIndex + 1) % count;
        if (next >= 0 && next != frame->m_menuIndex) {
            frame->m_menuNext = next;
            EndMenu();
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void SkinnedFrame::trackMenusByKeyboard(int index, bool keyboard)
{
    while (index >= 0) {
        m_menuNext = -1;
        m_menuIndex = index;
        m_menuTop = nullptr;
        m_menuSelected = nullptr;
        m_selectedIsPopup = false;
        // From the keyboard the menu opens with its first item highlighted:
        // the menu loop reads the Down key from the queue.
        if (keyboard)
            PostMessageW(hwnd(), WM_KEYDOWN, VK_DOWN, 0);
        t_menuFrame = this;
        HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, &SkinnedFrame::menuKeys, nullptr, GetCurrentThreadId());
        trackOneMenu(index);
        if (hook)
            UnhookWindowsHookEx(hook);
        t_menuFrame = nullptr;
        if (!hwnd())
            return;
        index = m_menuNext;
        keyboard = true;
    }
}

void SkinnedFrame::trackOneMenu(int index)
{
    const std::vector<s::gui::menu::MenuItem*> menus = titleMenus();
    if (!m_binding || index < 0 || index >= static_cast<int>(menus.size()))
        return;
    const Box box = layout().menus()[static_cast<std::size_t>(index)];
    POINT corner{box.left, box.bottom};
    ClientToScreen(hwnd(), &corner);
    // The menu opens below its title item and never covers it.
    RECT exclude = toRect(box);
    MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&exclude), 2);
    m_binding->track(*menus[static_cast<std::size_t>(index)], hwnd(), corner,
                     TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, &exclude);
}

LRESULT SkinnedFrame::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_NCCALCSIZE:
        // The client area is the whole window: the frame draws its own
        // title bar and edges.
        if (wp)
            return 0;
        break;
    case WM_NCACTIVATE:
        // lParam -1 keeps DefWindowProc from painting a system caption over
        // the title bar when the activation changes.
        return defaultProc(msg, wp, -1);
    case WM_NCHITTEST: {
        if (IsIconic(hwnd()))
            break;
        POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(hwnd(), &point);
        return hitCode(partAt(point));
    }
    case WM_GETMINMAXINFO: {
        // A popup window maximises to the whole monitor plus its sizing
        // border; the frame maximises to the work area, taskbar left free.
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) {
            info->ptMaxPosition = {monitor.rcWork.left - monitor.rcMonitor.left,
                                   monitor.rcWork.top - monitor.rcMonitor.top};
            info->ptMaxSize = {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
        }
        info->ptMinTrackSize = {m_painter.px(200), m_painter.px(FrameLayout::kTitleHeight * 2)};
        return 0;
    }
    case WM_MENUSELECT:
        // The menu that holds the highlighted item, and whether that item
        // opens a submenu: the arrow keys' filter decides from these.
        if (t_menuFrame == this && lp) {
            const auto menu = reinterpret_cast<HMENU>(lp);
            if (!m_menuTop)
                m_menuTop = menu;
            m_menuSelected = menu;
            m_selectedIsPopup = (HIWORD(wp) & MF_POPUP) != 0;
        }
        break;
    case WM_SYSCOMMAND:
        // Alt or F10 on the frame itself (no control has the focus): the
        // frame has no system menu bar, so the keyboard opens its own.
        if ((wp & 0xFFF0) == SC_KEYMENU && lp == 0) {
            openMenuFromKeyboard(0);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // The focus goes back to the control that had it, or to the first
        // control, when the window is activated again.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd(), focus))
                m_lastFocus = focus;
        } else if (!HIWORD(wp)) {
            HWND target = m_lastFocus && IsWindow(m_lastFocus) && IsChild(hwnd(), m_lastFocus)
                              ? m_lastFocus
                              : GetNextDlgTabItem(hwnd(), nullptr, FALSE);
            if (target && IsWindowVisible(target) && IsWindowEnabled(target)) {
                SetFocus(target);
                return 0;
            }
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        // The normal rectangle follows every move and resize while the
        // window is neither maximised nor minimised; DefWindowProc still
        // sends WM_SIZE and WM_MOVE from it.
        if (!IsZoomed(hwnd()) && !IsIconic(hwnd()))
            GetWindowRect(hwnd(), &m_normalRect);
        break;
    }
    case WM_SIZE:
        trackShown(wp);
        placeButtonTips();
        InvalidateRect(hwnd(), nullptr, FALSE);
        if (onLayout) {
            const Box content = layout().content();
            onLayout(toRect(content));
        }
        return 0;
    case WM_DPICHANGED: {
        // The window is per-monitor aware: Windows scales nothing itself and
        // suggests the rectangle the window should take at the new density
        // (wParam holds it twice, for x and y).
        const auto* suggested = reinterpret_cast<const RECT*>(lp);
        changeScale(LOWORD(wp), suggested);
        if (suggested)
            SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        // The size may be the same one; the content still needs its new
        // sizes.
        if (onLayout)
            onLayout(toRect(layout().content()));
        return 0;
    }
    case WM_GETOBJECT:
        // The painted title-bar elements have no window of their own: the
        // client object lists them beside the child windows. The object id
        // arrives in the low 32 bits (a DWORD, sign lost on 64-bit).
        if (static_cast<LONG>(static_cast<DWORD>(lp)) == static_cast<LONG>(OBJID_CLIENT)) {
            if (const LRESULT object = answerClientObject(*this, wp))
                return object;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDc paintDc(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        MemoryDc buffer(paintDc.get(), client.right, client.bottom);
        if (buffer.isValid()) {
            paint(buffer.get(), client);
            BitBlt(paintDc.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
        } else {
            paint(paintDc.get(), client);
        }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const FramePart part = partAt(point);
        if (isTitleButton(part)) {
            m_pressed = part;
            m_hot = part;
            SetCapture(hwnd());
            InvalidateRect(hwnd(), nullptr, FALSE);
        } else if (part == FramePart::menu) {
            trackMenu(layout().menuAt(point.x, point.y));
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        const FramePart pressed = m_pressed;
        if (!isTitleButton(pressed))
            return 0;
        m_pressed = FramePart::client;
        if (GetCapture() == hwnd())
            ReleaseCapture();
        InvalidateRect(hwnd(), nullptr, FALSE);
        const POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        // Like a system button: released elsewhere, nothing happens.
        if (partAt(point) == pressed)
            press(pressed);  // may destroy the window: nothing after this
        return 0;
    }
    case WM_CAPTURECHANGED:
        m_pressed = FramePart::client;
        break;
    case WM_MOUSEMOVE: {
        const POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const FramePart part = partAt(point);
        const FramePart hot = isTitleButton(part) ? part : FramePart::client;
        if (hot != m_hot) {
            m_hot = hot;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        if (m_hot != FramePart::client) {
            m_hot = FramePart::client;
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        return 0;
    case WM_NCLBUTTONDBLCLK:
        // The title bar answers HTCAPTION, so its double-clicks arrive here.
        if (wp == HTCAPTION) {
            if (m_sizeButtons)
                toggleMaximised();
            return 0;
        }
        break;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP:
        // On the title bar (HTCAPTION) the middle button arrives as a
        // non-client message; both mean the same.
        doMiddleClick();
        return 0;
    case WM_CLOSE:
        if (onClose && !onClose())
            return 0;
        DestroyWindow(hwnd());
        return 0;
    case WM_ENDSESSION:
        if (wp && onEndSession)
            onEndSession();
        return 0;
    case WM_DESTROY:
        if (m_skins)
            m_skins->removeListener(this);
        m_skins = nullptr;
        break;
    default:
        if (msg == kActivateMessage) {
            if (IsIconic(hwnd()))
                ShowWindow(hwnd(), SW_RESTORE);
            else if (!IsWindowVisible(hwnd()))
                ShowWindow(hwnd(), SW_SHOW);
            SetForegroundWindow(hwnd());
            BringWindowToTop(hwnd());
            if (onActivateRequest)
                onActivateRequest();
            return 0;
        }
        break;
    }
    return Wnd::onMessage(msg, wp, lp);
}

void SkinnedFrame::paint(HDC dc, const RECT& client)
{
    const FrameLayout frame = layout();
    m_painter.drawBackground(dc, client);
    if (!IsZoomed(hwnd()))
        m_painter.frame(dc, client, m_painter.colour(SkinColour::windowFg));

    const COLORREF textColour = m_painter.colour(SkinColour::text);
    const std::vector<s::gui::menu::MenuItem*> menus = titleMenus();
    for (std::size_t i = 0; i < menus.size() && i < frame.menus().size(); ++i) {
        RECT item = toRect(frame.menus()[i]);
        m_painter.drawText(dc, item, titleText(*m_menus, *menus[i]), textColour,
                           DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    if (m_icon) {
        const Box& icon = frame.icon();
        DrawIconEx(dc, icon.left, icon.top, m_icon, icon.width(), icon.height(), 0, nullptr, DI_NORMAL);
    }
    RECT caption = toRect(frame.caption());
    m_painter.drawText(dc, caption, m_caption, textColour, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS,
                       Outline::skinOutline, FontWeight::bold);

    const auto stateOf = [this](FramePart part) {
        if (m_pressed == part && m_hot == part)
            return ButtonState::pressed;
        return m_hot == part ? ButtonState::hot : ButtonState::normal;
    };
    if (m_sizeButtons) {
        m_painter.drawCaptionButton(dc, toRect(frame.minimise()), CaptionGlyph::minimise, stateOf(FramePart::minimise));
        m_painter.drawCaptionButton(dc, toRect(frame.maximise()),
                                    IsZoomed(hwnd()) ? CaptionGlyph::restore : CaptionGlyph::maximise,
                                    stateOf(FramePart::maximise));
    }
    m_painter.drawCaptionButton(dc, toRect(frame.close()), CaptionGlyph::close, stateOf(FramePart::close));
}

}  // namespace s::gui
