// A COM interface pointer that is released when it goes, for Windows code
// (*_win.cpp and platform/win32) only.
#pragma once

#include <utility>

namespace s::platform {

template <class Interface> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (m_p)
            m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* operator->() const { return m_p; }
    Interface* get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // Where a call that hands out an interface writes it.
    Interface** put() { return &m_p; }
    void** putVoid() { return reinterpret_cast<void**>(&m_p); }
    // Hands the reference on; the receiver now releases it.
    Interface* detach() { return std::exchange(m_p, nullptr); }

private:
    Interface* m_p = nullptr;
};

}  // namespace s::platform
