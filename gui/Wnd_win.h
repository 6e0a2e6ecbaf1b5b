// The toolkit's window family over HWND. A Wnd owns its window: destroying the
// object destroys the window, and the window's destruction detaches it from
// the object. Every message reaches one virtual handler, onMessage. Windows of
// system classes (BUTTON, EDIT, the common controls) are subclassed so that
// their messages reach the same handler, and the notifications they send their
// parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*) are reflected to the child's own
// object (onReflected), so a control handles what concerns it.
//
// Only the window thread touches windows. Other threads reach a window only
// through its closure queue (closures()).
#pragma once

#include "gui/ClosureQueue.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace s::gui {

// Sent by a skinned frame to each of its descendants after its painter took
// a new scale: a control that holds a font or a size of the old scale takes
// the painter's new ones. The number is WM_DPICHANGED_AFTERPARENT, which
// Windows sends children itself only in the per-monitor (v2) mode.
inline constexpr UINT kScaleChangedMessage = 0x02E3;

struct WndArgs {
    HWND parent = nullptr;
    // A system class ("BUTTON", WC_LISTVIEWW …); null for the toolkit's own.
    const wchar_t* className = nullptr;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    int id = 0;  // a child's control id
};

class Wnd {
public:
    Wnd();
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    // False when the window could not be made (GetLastError tells why).
    bool create(const WndArgs& args);
    void destroy();
    HWND hwnd() const { return m_hwnd; }

    // The object of a window made by this toolkit, or null.
    static Wnd* fromHwnd(HWND hwnd);

    // For any thread: posts run on this window's thread in order; after the
    // window is destroyed they are freed and never run. Null before create.
    std::shared_ptr<ClosureQueue> closures() const { return m_closures; }
    // The one registered message that says "run the queued closures".
    static UINT closureMessage();

    // After the window is gone (WM_NCDESTROY). The object may be deleted
    // inside.
    std::function<void()> onDestroyed;

protected:
    virtual LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp);
    // A notification that the parent received about this window. Returns
    // true when handled, with the parent's answer in result.
    virtual bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // What the window would do without us: DefWindowProc, or the system
    // class's own procedure for a subclassed control.
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    void attach(HWND hwnd);
    LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
    bool reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    HWND m_hwnd = nullptr;
    bool m_subclassed = false;
    std::shared_ptr<ClosureQueue> m_closures;
};

}  // namespace s::gui
