#include "gui/FrameAccessible_win.h"

#include "gui/FrameElements.h"
#include "gui/SkinnedFrame_win.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/ProcAddress.h"

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

namespace s::gui {

namespace {

// The IIDs by __uuidof: MinGW-w64's liboleacc.a exports IID_IAccessible as a
// function thunk of oleacc.dll's export, so a program that links it before
// libuuid reads the jump instruction as the GUID and every QueryInterface for
// it fails with E_NOINTERFACE.
const IID& kIidAccessible = __uuidof(IAccessible);

// oleacc is bound when the first screen reader asks, not imported: most
// starts never meet one, and the library costs memory in every process that
// loads it.
struct AccessibilityApi {
    decltype(&::AccessibleObjectFromWindow) objectFromWindow = nullptr;
    decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&::LresultFromObject) resultFromObject = nullptr;
    bool bound = false;
};

const AccessibilityApi& accessibility()
{
    static const AccessibilityApi api = [] {
        AccessibilityApi a;
        a.bound = s::platform::bindAll(LoadLibraryW(L"oleacc.dll"), {{"AccessibleObjectFromWindow", a.objectFromWindow},
                                                                     {"CreateStdAccessibleObject", a.createStandard},
                                                                     {"LresultFromObject", a.resultFromObject}});
        return a;
    }();
    return api;
}

using s::platform::ComPtr;

// A name as a BSTR for the caller, who frees it; S_FALSE and null for none.
HRESULT giveText(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// A menu label without its mnemonic marks ("&View" reads "View", "&&" is a
// literal ampersand).
std::wstring withoutMnemonics(const std::wstring& label)
{
    std::wstring plain;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&' && i + 1 < label.size())
            ++i;
        plain += label[i];
    }
    return plain;
}

// The frame's direct child windows in Z order, the order in which the
// standard client object numbers them (child ids 1 … n).
std::vector<HWND> childWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace

class FrameAccessible final : public IAccessible {
public:
    FrameAccessible(HWND hwnd, IAccessible* standard) : m_hwnd(hwnd), m_standard(standard) {}
    FrameAccessible(const FrameAccessible&) = delete;
    FrameAccessible& operator=(const FrameAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        // No IEnumVARIANT: without it AccessibleChildren walks the children
        // by get_accChildCount and get_accChild, which know the painted
        // elements; the standard object's enumerator lists windows only.
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: the standard object's type information describes
    // IAccessible; a script's late-bound calls go through it to this object.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* badArgument) override
    {
        ComPtr<ITypeInfo> info;
        const HRESULT got = m_standard->GetTypeInfo(0, lcid, info.put());
        if (FAILED(got))
            return got;
        (void)iid;
        return DispInvoke(static_cast<IAccessible*>(this), info.get(), id, flags, params, result, exception,
                          badArgument);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return alive() ? m_standard->get_accParent(parent) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        if (!alive())
            return RPC_E_DISCONNECTED;
        *count = static_cast<long>(childWindows(m_hwnd).size() + elements().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind == Target::windowChild)
            return accessibility().objectFromWindow(target.window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                    reinterpret_cast<void**>(out));
        // The frame itself is no child; a painted element is a simple
        // element without an object of its own.
        return target.kind == Target::selfChild ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return text(child, name, &IAccessible::get_accName,
                    [this](const FrameElement& element) { return elementName(element); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return text(child, value, &IAccessible::get_accValue, [](const FrameElement&) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return text(child, description, &IAccessible::get_accDescription,
                    [](const FrameElement&) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return text(child, help, &IAccessible::get_accHelp, [](const FrameElement&) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return text(child, shortcut, &IAccessible::get_accKeyboardShortcut,
                    [](const FrameElement&) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return text(child, action, &IAccessible::get_accDefaultAction,
                    [this](const FrameElement& element) { return elementAction(element); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!role)
            return E_POINTER;
        VariantInit(role);
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind != Target::elementChild)
            return forward(target, [role](IAccessible* object, VARIANT id) { return object->get_accRole(id, role); });
        role->vt = VT_I4;
        role->lVal = target.element.isButton() ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_MENUITEM;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!state)
            return E_POINTER;
        VariantInit(state);
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind != Target::elementChild)
            return forward(target,
                           [state](IAccessible* object, VARIANT id) { return object->get_accState(id, state); });
        state->vt = VT_I4;
        state->lVal = elementState(target.element);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        if (file)
            *file = nullptr;
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind == Target::elementChild)
            return S_FALSE;
        return forward(target, [file, topic](IAccessible* object, VARIANT id) {
            return object->get_accHelpTopic(file, id, topic);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        // The painted elements never take the focus: the standard object
        // names the focused child window.
        return alive() ? m_standard->get_accFocus(focus) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return alive() ? m_standard->get_accSelection(selection) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind == Target::elementChild)
            return DISP_E_MEMBERNOTFOUND;  // neither selectable nor focusable
        return forward(target, [flags](IAccessible* object, VARIANT id) { return object->accSelect(flags, id); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind != Target::elementChild)
            return forward(target, [=](IAccessible* object, VARIANT id) {
                return object->accLocation(left, top, width, height, id);
            });
        POINT corner{target.element.box.left, target.element.box.top};
        ClientToScreen(m_hwnd, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = target.element.box.width();
        *height = target.element.box.height();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        Target target;
        if (const HRESULT hr = resolve(start, target); hr != S_OK)
            return hr;
        // The children in order: the child windows, then the painted
        // elements. The standard object walks the windows alone (and Wine's
        // does not walk at all), so the order across both is kept here.
        const long count = static_cast<long>(childWindows(m_hwnd).size() + elements().size());
        long next = 0;
        if (target.kind == Target::selfChild) {
            if (direction == NAVDIR_FIRSTCHILD)
                next = 1;
            else if (direction == NAVDIR_LASTCHILD)
                next = count;
            else
                return m_standard->accNavigate(direction, start, end);
        } else if (direction == NAVDIR_NEXT) {
            next = target.id + 1;
        } else if (direction == NAVDIR_PREVIOUS) {
            next = target.id - 1;
        } else if (target.kind == Target::windowChild) {
            return forward(target, [direction, end](IAccessible* object, VARIANT id) {
                return object->accNavigate(direction, id, end);
            });
        } else {
            return S_FALSE;  // a simple element has no children, and no spatial neighbours are kept
        }
        if (next < 1 || next > count)
            return S_FALSE;
        return childVariant(next, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override
    {
        if (!hit)
            return E_POINTER;
        VariantInit(hit);
        if (!alive())
            return RPC_E_DISCONNECTED;
        POINT point{x, y};
        ScreenToClient(m_hwnd, &point);
        const std::vector<FrameElement> painted = elements();
        const int index = frameElementAt(painted, point.x, point.y);
        if (index >= 0 && !IsIconic(m_hwnd)) {
            hit->vt = VT_I4;
            hit->lVal = static_cast<long>(childWindows(m_hwnd).size()) + index + 1;
            return S_OK;
        }
        return m_standard->accHitTest(x, y, hit);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind != Target::elementChild)
            return forward(target, [](IAccessible* object, VARIANT id) { return object->accDoDefaultAction(id); });
        if (!IsWindowEnabled(m_hwnd))
            return E_FAIL;  // as a disabled button answers
        // Later, from the window's own queue: a menu runs a modal loop and a
        // close destroys the window, neither of which may happen inside the
        // caller's request (a screen reader in another process waits for it).
        const FrameElement element = target.element;
        SkinnedFrame* owner = frame();
        if (!owner)
            return RPC_E_DISCONNECTED;
        const std::shared_ptr<ClosureQueue> queue = owner->closures();
        if (!queue)
            return E_FAIL;
        const HWND hwnd = m_hwnd;
        queue->post([hwnd, element] {
            if (auto* still = dynamic_cast<SkinnedFrame*>(Wnd::fromHwnd(hwnd)))
                still->doElementAction(element);
        });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~FrameAccessible() { m_standard->Release(); }

    struct Target {
        enum Kind { selfChild, windowChild, elementChild } kind = selfChild;
        long id = CHILDID_SELF;
        HWND window = nullptr;
        FrameElement element;
    };

    SkinnedFrame* frame() const
    {
        return IsWindow(m_hwnd) ? dynamic_cast<SkinnedFrame*>(Wnd::fromHwnd(m_hwnd)) : nullptr;
    }
    bool alive() const { return frame() != nullptr; }

    std::vector<FrameElement> elements() const
    {
        const SkinnedFrame* owner = frame();
        if (!owner)
            return {};
        return frameElements(owner->layout(), IsZoomed(m_hwnd) ? Placement::maximised : Placement::normal);
    }

    // Which child a VARIANT names: S_OK and target, RPC_E_DISCONNECTED once
    // the window is gone, E_INVALIDARG for anything else.
    HRESULT resolve(const VARIANT& child, Target& target) const
    {
        if (!alive())
            return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4)
            return E_INVALIDARG;
        target.id = child.lVal;
        if (child.lVal == CHILDID_SELF) {
            target.kind = Target::selfChild;
            return S_OK;
        }
        const std::vector<HWND> windows = childWindows(m_hwnd);
        const long windowCount = static_cast<long>(windows.size());
        if (child.lVal >= 1 && child.lVal <= windowCount) {
            target.kind = Target::windowChild;
            target.window = windows[static_cast<std::size_t>(child.lVal - 1)];
            return S_OK;
        }
        const std::vector<FrameElement> painted = elements();
        const long index = child.lVal - windowCount - 1;
        if (index >= 0 && index < static_cast<long>(painted.size())) {
            target.kind = Target::elementChild;
            target.element = painted[static_cast<std::size_t>(index)];
            return S_OK;
        }
        return E_INVALIDARG;
    }

    // The frame's own properties come from the standard object; a child
    // window's from that window's own object (what its get_accChild gives).
    template <class Call> HRESULT forward(const Target& target, Call call) const
    {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        if (target.kind == Target::selfChild)
            return call(m_standard, self);
        ComPtr<IAccessible> object;
        const HRESULT got = accessibility().objectFromWindow(target.window, static_cast<DWORD>(OBJID_WINDOW),
                                                             kIidAccessible, reinterpret_cast<void**>(object.put()));
        if (FAILED(got))
            return got;
        return call(object.get(), self);
    }

    template <class Element>
    HRESULT text(const VARIANT& child, BSTR* out, HRESULT (STDMETHODCALLTYPE IAccessible::*member)(VARIANT, BSTR*),
                 Element ofElement) const
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        Target target;
        if (const HRESULT hr = resolve(child, target); hr != S_OK)
            return hr;
        if (target.kind == Target::elementChild)
            return giveText(ofElement(target.element), out);
        return forward(target, [member, out](IAccessible* object, VARIANT id) { return (object->*member)(id, out); });
    }

    // A child as accNavigate gives it: a child window as its object, a
    // painted element by its id.
    HRESULT childVariant(long id, VARIANT* out) const
    {
        const std::vector<HWND> windows = childWindows(m_hwnd);
        if (id <= static_cast<long>(windows.size())) {
            IDispatch* object = nullptr;
            const HRESULT got = accessibility().objectFromWindow(windows[static_cast<std::size_t>(id - 1)],
                                                                 static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                                 reinterpret_cast<void**>(&object));
            if (FAILED(got))
                return got;
            out->vt = VT_DISPATCH;
            out->pdispVal = object;
            return S_OK;
        }
        out->vt = VT_I4;
        out->lVal = id;
        return S_OK;
    }

    std::wstring elementName(const FrameElement& element) const
    {
        const SkinnedFrame* owner = frame();
        return owner ? withoutMnemonics(owner->elementName(element)) : std::wstring();
    }

    std::wstring elementAction(const FrameElement& element) const
    {
        const SkinnedFrame* owner = frame();
        if (!owner)
            return {};
        return element.isButton() ? owner->m_buttonNames.press : owner->m_buttonNames.open;
    }

    long elementState(const FrameElement& element) const
    {
        const SkinnedFrame* owner = frame();
        long state = 0;
        // A minimised frame shows no title bar; a disabled one (a modal
        // window above it) takes no clicks.
        if (!IsWindowVisible(m_hwnd) || IsIconic(m_hwnd))
            state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        if (!IsWindowEnabled(m_hwnd) || (owner && !owner->elementEnabled(element)))
            state |= STATE_SYSTEM_UNAVAILABLE;
        if (element.isButton() && owner && owner->elementPressed(element))
            state |= STATE_SYSTEM_PRESSED;
        if (owner && owner->elementHot(element))
            state |= STATE_SYSTEM_HOTTRACKED;
        if (!element.isButton())
            state |= STATE_SYSTEM_HASPOPUP;
        return state;
    }

    LONG m_refs = 1;
    HWND m_hwnd;
    IAccessible* m_standard;  // owned
};

LRESULT answerClientObject(SkinnedFrame& frame, WPARAM wp)
{
    if (!accessibility().bound)
        return 0;
    ComPtr<IAccessible> standard;
    if (FAILED(accessibility().createStandard(frame.hwnd(), OBJID_CLIENT, kIidAccessible,
                                              reinterpret_cast<void**>(standard.put()))))
        return 0;
    auto* object = new FrameAccessible(frame.hwnd(), standard.detach());
    // LresultFromObject takes its own reference (a marshalled stream for
    // another process, the object itself within this one).
    const LRESULT result = accessibility().resultFromObject(kIidAccessible, wp, static_cast<IAccessible*>(object));
    object->Release();
    // Positive on success; a failure comes back as a negative HRESULT.
    return result > 0 ? result : 0;
}

}  // namespace s::gui
