#include "platform/UrlHistory.h"

#include "platform/win32/ComScope.h"

#include <urlhist.h>
#include <windows.h>

namespace s::platform {

namespace {

// The shell's URL history: in-process, served by the browser's frame library.
constexpr CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

class UrlHistoryWin final : public IUrlHistory {
public:
    HResult clearHistory(bool* created) override
    {
        if (created)
            *created = false;
        ComScope com;
        if (!com.usable())
            return com.result();
        IUrlHistoryStg2* history = nullptr;
        const HRESULT made = CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                                              reinterpret_cast<void**>(&history));
        if (FAILED(made) || !history)
            return FAILED(made) ? made : kEFail;
        if (created)
            *created = true;
        const HRESULT cleared = history->ClearHistory();
        // Released before COM goes away at the end of the scope.
        history->Release();
        return cleared;
    }
};

}  // namespace

IUrlHistory& urlHistory()
{
    static UrlHistoryWin instance;
    return instance;
}

}  // namespace s::platform
