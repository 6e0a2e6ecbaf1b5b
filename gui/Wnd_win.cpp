#include "gui/Wnd_win.h"

#include <commctrl.h>

namespace s::gui {

namespace {

constexpr wchar_t kClassName[] = L"OxlePurgo.Wnd";
constexpr wchar_t kObjectProperty[] = L"OxlePurgo.Wnd.object";
constexpr UINT_PTR kSubclassId = 0x4f50;

// Instance of the module the toolkit's code lives in (the program or a test).
HINSTANCE moduleInstance()
{
    return GetModuleHandleW(nullptr);
}

bool registerOwnClass(WNDPROC proc)
{
    static const bool registered = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        // CS_DBLCLKS: the frame's title bar double-click.
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = moduleInstance();
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        // No background brush: every window paints all of itself.
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

}  // namespace

Wnd::Wnd() = default;

Wnd::~Wnd()
{
    destroy();
}

UINT Wnd::closureMessage()
{
    static const UINT message = RegisterWindowMessageW(L"OxlePurgo.RunClosures");
    return message;
}

Wnd* Wnd::fromHwnd(HWND hwnd)
{
    return hwnd ? static_cast<Wnd*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

bool Wnd::create(const WndArgs& args)
{
    if (m_hwnd)
        return false;
    const bool own = args.className == nullptr;
    if (own && !registerOwnClass(&Wnd::windowProc))
        return false;
    HMENU idOrMenu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id));
    HWND hwnd = CreateWindowExW(args.exStyle, own ? kClassName : args.className, args.text.c_str(), args.style, args.x,
                                args.y, args.width, args.height, args.parent,
                                (args.style & WS_CHILD) ? idOrMenu : nullptr, moduleInstance(), own ? this : nullptr);
    if (!hwnd)
        return false;
    if (!own) {
        // A system class sent its creation messages to its own procedure;
        // from here on its messages pass through ours.
        attach(hwnd);
        m_subclassed = SetWindowSubclass(hwnd, &Wnd::subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    return true;
}

void Wnd::attach(HWND hwnd)
{
    m_hwnd = hwnd;
    SetPropW(hwnd, kObjectProperty, this);
    // The wake-up holds the window handle, never the object: a worker may
    // still post after the object is gone, and then the queue is closed and
    // the handle never used.
    const UINT message = closureMessage();
    m_closures = std::make_shared<ClosureQueue>([hwnd, message] { return PostMessageW(hwnd, message, 0, 0) != 0; });
}

void Wnd::destroy()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

LRESULT CALLBACK Wnd::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Wnd* self = fromHwnd(hwnd);
    if (!self && msg == WM_NCCREATE) {
        // WM_GETMINMAXINFO arrives before WM_NCCREATE and goes to
        // DefWindowProc: the object is not known yet.
        self = static_cast<Wnd*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->attach(hwnd);
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    return self->dispatch(msg, wp, lp);
}

LRESULT CALLBACK Wnd::subclassProc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    return reinterpret_cast<Wnd*>(data)->dispatch(msg, wp, lp);
}

LRESULT Wnd::dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == closureMessage() && m_closures) {
        // A closure may destroy this window (and the object with it): the
        // queue is kept alive by this copy until the batch is done.
        const std::shared_ptr<ClosureQueue> queue = m_closures;
        queue->runPending();
        return 0;
    }
    LRESULT result = 0;
    if (reflect(msg, wp, lp, result))
        return result;
    if (msg != WM_NCDESTROY)
        return onMessage(msg, wp, lp);

    HWND hwnd = m_hwnd;
    result = onMessage(msg, wp, lp);
    if (m_subclassed)
        RemoveWindowSubclass(hwnd, &Wnd::subclassProc, kSubclassId);
    RemovePropW(hwnd, kObjectProperty);
    m_subclassed = false;
    m_hwnd = nullptr;
    if (m_closures)
        m_closures->close();
    // Last: the callback may delete this object.
    if (onDestroyed) {
        const auto callback = onDestroyed;
        callback();
    }
    return result;
}

bool Wnd::reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
        // lParam is the control; menus and accelerators send 0.
        child = reinterpret_cast<HWND>(lp);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        // Owner-drawn menu items carry a menu handle, not a window.
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // The control asks its parent for its colours (lParam is the
        // control); a read-only or disabled EDIT asks with WM_CTLCOLORSTATIC.
        child = reinterpret_cast<HWND>(lp);
        break;
    default:
        return false;
    }
    Wnd* target = child && child != m_hwnd ? fromHwnd(child) : nullptr;
    return target && target->onReflected(msg, wp, lp, result);
}

LRESULT Wnd::onMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return defaultProc(msg, wp, lp);
}

bool Wnd::onReflected(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT Wnd::defaultProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return m_subclassed ? DefSubclassProc(m_hwnd, msg, wp, lp) : DefWindowProcW(m_hwnd, msg, wp, lp);
}

}  // namespace s::gui
