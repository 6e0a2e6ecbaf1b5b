#include "platform/Shell.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace s::platform {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "MinGW and MSVC: wchar_t is UTF-16");

constexpr const wchar_t* kEditorClass = L"RegEdit_RegEdit";
constexpr const wchar_t* kTreeClass = L"SysTreeView32";
constexpr const wchar_t* kListClass = L"SysListView32";
// How long a freshly started registry editor may take to become idle. It
// normally takes well under a second; a bound keeps a hung start from
// hanging the caller.
constexpr DWORD kIdleWaitMs = 15000;
// After the idle wait the editor's main window may not exist yet (seen under
// Wine when the desktop process starts along with it): look for it this long.
constexpr DWORD kWindowWaitMs = 5000;
constexpr DWORD kWindowPollMs = 100;
// SendMessageTimeoutW's bound per keystroke, so that an editor that stops
// answering does not hang the caller either.
constexpr UINT kKeystrokeTimeoutMs = 2000;

std::wstring wideCopy(std::u16string_view text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

// ShellExecuteExW may hand the request to shell extensions, which are COM
// objects: the calling thread needs COM in a single-threaded apartment. The
// worker threads do not keep one, so each call sets it up for itself; on a
// thread that already has another apartment model the call goes ahead as it is.
class ComForShell {
public:
    ComForShell() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComForShell()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComForShell(const ComForShell&) = delete;
    ComForShell& operator=(const ComForShell&) = delete;

private:
    HRESULT m_result;
};

// What a successful start left behind: the process, still open, or null.
struct Started {
    Started() = default;
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    ~Started()
    {
        if (process)
            CloseHandle(process);
    }
    HANDLE process = nullptr;
};

bool execute(const wchar_t* file, const wchar_t* parameters, std::uint32_t* process, Started* started = nullptr)
{
    ComForShell com;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // NOCLOSEPROCESS: the process handle, for its id and the idle wait.
    // FLAG_NO_UI: no error box of the shell's own; the caller decides.
    // NOASYNC: the request is complete when the call returns, since the
    // calling thread may end right after it.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file;
    info.lpParameters = parameters;
    info.nShow = SW_SHOWNORMAL;
    if (process)
        *process = 0;
    if (!ShellExecuteExW(&info))
        return false;
    if (info.hProcess) {
        if (process)
            *process = GetProcessId(info.hProcess);
        if (started)
            started->process = info.hProcess;
        else
            CloseHandle(info.hProcess);
    }
    return true;
}

// The first window of `windowClass` among all descendants of `parent`. The
// registry editor's tree and list are direct children of its main window on
// Windows, but sit one level deeper, in a child of class "REGEDIT", in
// Wine's; a search of every descendant finds them in both.
HWND findDescendant(HWND parent, const wchar_t* windowClass)
{
    struct Search {
        const wchar_t* windowClass;
        HWND found;
    } search{windowClass, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(data);
            wchar_t name[64];
            if (GetClassNameW(window, name, 64) && lstrcmpiW(name, wanted->windowClass) == 0) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Starts the registry editor and waits until it is idle, then for its main
// window, as long as the process runs.
HWND startRegistryEditor(std::uint32_t* process)
{
    Started started;
    if (!execute(L"regedit.exe", nullptr, process, &started))
        return nullptr;
    HWND editor = nullptr;
    if (started.process)
        WaitForInputIdle(started.process, kIdleWaitMs);
    for (DWORD waited = 0; !(editor = FindWindowW(kEditorClass, nullptr)) && waited < kWindowWaitMs;
         waited += kWindowPollMs) {
        if (started.process && WaitForSingleObject(started.process, 0) == WAIT_OBJECT_0)
            break;  // it ended without a window
        Sleep(kWindowPollMs);
    }
    return editor;
}

bool colourDisplay()
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return true;
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits > 8;
}

WPARAM virtualKey(RegEditKey key)
{
    switch (key) {
    case RegEditKey::Left:
        return VK_LEFT;
    case RegEditKey::Right:
        return VK_RIGHT;
    case RegEditKey::Home:
        break;
    }
    return VK_HOME;
}

// A keystroke message as the keyboard would send it: lParam holds the
// repeat count (1) and the scan code. Wine's tree and list views ignore a
// WM_CHAR whose lParam is 0 in their type-ahead search.
void send(HWND window, UINT message, WPARAM wParam, UINT virtualKeyCode)
{
    const UINT scanCode = MapVirtualKeyW(virtualKeyCode, MAPVK_VK_TO_VSC);
    const LPARAM keyData = static_cast<LPARAM>(1u | ((scanCode & 0xFFu) << 16));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, message, wParam, keyData, SMTO_ABORTIFHUNG, kKeystrokeTimeoutMs, &ignored);
}

// The key that types `unit` on the current keyboard layout, for the scan
// code; 0 when the layout has none (the message still carries the character).
UINT keyOf(char16_t unit)
{
    const SHORT key = VkKeyScanW(static_cast<wchar_t>(unit));
    return key == -1 ? 0u : static_cast<UINT>(key & 0xFF);
}

// SetFocus only works on windows of the calling thread's input queue; the
// editor's windows belong to another process, so the two queues are joined
// for the call.
void focus(HWND window)
{
    const DWORD theirs = GetWindowThreadProcessId(window, nullptr);
    const DWORD ours = GetCurrentThreadId();
    const bool attached = theirs != ours && AttachThreadInput(ours, theirs, TRUE);
    SetFocus(window);
    if (attached)
        AttachThreadInput(ours, theirs, FALSE);
}

class ShellWin final : public IShell {
public:
    bool openFolder(std::u16string_view folder, std::uint32_t* process) override
    {
        const std::wstring path = wideCopy(folder);
        return execute(path.c_str(), nullptr, process);
    }

    bool openAddress(std::u16string_view address) override
    {
        const std::wstring file = wideCopy(address);
        return execute(file.c_str(), nullptr, nullptr);
    }

    bool startProgram(std::u16string_view program, std::u16string_view arguments, std::uint32_t* process) override
    {
        const std::wstring file = wideCopy(program);
        const std::wstring parameters = wideCopy(arguments);
        return execute(file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), process);
    }

    bool showInRegistryEditor(std::u16string_view keyPath, SelectValue select, std::u16string_view valueName,
                              std::uint32_t* process) override
    {
        if (process)
            *process = 0;
        HWND editor = FindWindowW(kEditorClass, nullptr);
        if (!editor)
            editor = startRegistryEditor(process);
        if (!editor)
            return false;
        if (IsIconic(editor))
            ShowWindow(editor, SW_RESTORE);
        SetForegroundWindow(editor);
        HWND tree = findDescendant(editor, kTreeClass);
        HWND list = findDescendant(editor, kListClass);
        if (tree)
            focus(tree);
        using Kind = RegEditStep::Kind;
        for (const RegEditStep& step : registryEditorSteps(keyPath, select, valueName, colourDisplay())) {
            const bool toTree = step.kind == Kind::TreeKey || step.kind == Kind::TreeChar;
            const bool toList =
                step.kind == Kind::FocusValueList || step.kind == Kind::ListKey || step.kind == Kind::ListChar;
            // The user may close the editor while we type: stop then.
            if ((toTree && !IsWindow(tree)) || (toList && !IsWindow(list)))
                break;
            switch (step.kind) {
            case Kind::TreeKey:
            case Kind::ListKey:
                send(toTree ? tree : list, WM_KEYDOWN, virtualKey(step.key), static_cast<UINT>(virtualKey(step.key)));
                break;
            case Kind::TreeChar:
            case Kind::ListChar:
                send(toTree ? tree : list, WM_CHAR, step.unit, keyOf(step.unit));
                break;
            case Kind::FocusValueList:
                focus(list);
                break;
            case Kind::Wait:
                Sleep(step.milliseconds);
                break;
            }
        }
        SetForegroundWindow(editor);
        return true;
    }

    void showMessage(std::u16string_view caption, std::u16string_view text) override
    {
        const std::wstring title = wideCopy(caption);
        const std::wstring body = wideCopy(text);
        MessageBoxW(nullptr, body.c_str(), title.empty() ? nullptr : title.c_str(),
                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    }
};

}  // namespace

IShell& shell()
{
    static ShellWin instance;
    return instance;
}

}  // namespace s::platform
