// COM for the length of one call, for Windows code (*_win.cpp) only.
//
// Shell and COM calls need COM initialised on the calling thread, but the
// handlers run on whatever thread the collect or clean run uses. ComScope
// initialises an apartment when the thread has none and undoes exactly that
// at the end; a thread that already runs COM, in either model, keeps it as it
// is (CoInitializeEx then answers RPC_E_CHANGED_MODE, which is no failure for
// us: the thread can make COM calls).
#pragma once

#include <objbase.h>

namespace s::platform {

class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope()
    {
        // S_OK and S_FALSE both count one initialisation to undo.
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    bool usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }
    HRESULT result() const { return m_result; }

private:
    HRESULT m_result;
};

}  // namespace s::platform
