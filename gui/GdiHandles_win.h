// Owners of the GDI objects and device contexts the toolkit uses. Each frees
// its object the one way Windows wants it freed: DeleteObject for fonts,
// brushes, pens and bitmaps, ReleaseDC for GetDC, EndPaint for BeginPaint,
// DeleteDC for a memory DC. None can be copied; the objects can be moved.
#pragma once

#include <windows.h>

#include <utility>

namespace s::gui {

template <class Handle> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : m_handle(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void reset(Handle handle = nullptr)
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Bitmap = GdiObject<HBITMAP>;

// GetDC … ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_dc)
            ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint … EndPaint, for WM_PAINT only.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : m_hwnd(hwnd) { m_dc = BeginPaint(hwnd, &m_paint); }
    ~PaintDc() { EndPaint(m_hwnd, &m_paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return m_dc; }
    const RECT& dirty() const { return m_paint.rcPaint; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// A memory DC with a bitmap compatible with target, size width × height:
// paint into it, then copy it out with one BitBlt (no flicker).
class MemoryDc {
public:
    MemoryDc(HDC target, int width, int height)
        : m_dc(CreateCompatibleDC(target)), m_bitmap(CreateCompatibleBitmap(target, width, height))
    {
        if (m_dc && m_bitmap)
            m_old = SelectObject(m_dc, m_bitmap.get());
    }
    ~MemoryDc()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
        if (m_dc)
            DeleteDC(m_dc);
        // m_bitmap is deleted after it is no longer selected.
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return m_dc; }
    bool isValid() const { return m_dc && m_old; }

private:
    HDC m_dc;
    Bitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
};

// Selects an object into a DC for a scope and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~Selection()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace s::gui
