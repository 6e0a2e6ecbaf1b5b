// A window's scale: how many screen pixels stand for one pixel of the
// layouts, which are all written for a 96-dpi screen. A whole step (1, 2 or
// 4) comes from the screen's size; the user's display setting may ask for
// any fraction between (125 %, 150 %, 175 %), and a window that moves to a
// screen of another density gets that screen's.
//
// `14 * scale` rounds half away from zero, so lengths keep their exact
// figures at the whole steps and land on the nearest pixel between them.
// Each length is rounded on its own: a sum of scaled lengths may differ by a
// pixel from the scaled sum, which no layout here depends on.
#pragma once

namespace s::gui {

class Scale {
public:
    static constexpr int kBaseDpi = 96;

    constexpr Scale() = default;
    // A whole step: 1, 2, 4 (below 1 reads as 1). Implicit, so that code
    // and tests that speak in steps keep working.
    constexpr Scale(int step) : m_dpi((step < 1 ? 1 : step) * kBaseDpi) {}  // NOLINT(google-explicit-constructor)

    // The screen's dots per inch; below 96 reads as 96 (the layouts are
    // never drawn smaller than they were written).
    static constexpr Scale ofDpi(int dpi)
    {
        Scale scale;
        scale.m_dpi = dpi < kBaseDpi ? kBaseDpi : dpi;
        return scale;
    }

    constexpr int dpi() const { return m_dpi; }
    // The whole step at or below the scale: 4 from 4×, 2 from 2×, else 1.
    // A frame's stored position and size are kept per step.
    constexpr int step() const { return m_dpi >= 4 * kBaseDpi ? 4 : (m_dpi >= 2 * kBaseDpi ? 2 : 1); }

    constexpr int operator()(int pixels) const
    {
        const long long scaled = static_cast<long long>(pixels) * m_dpi;
        const long long half = kBaseDpi / 2;
        return static_cast<int>(scaled >= 0 ? (scaled + half) / kBaseDpi : -((-scaled + half) / kBaseDpi));
    }
    // The other way: screen pixels back to layout pixels, rounded the same.
    constexpr int unscale(int screenPixels) const
    {
        const long long scaled = static_cast<long long>(screenPixels) * kBaseDpi;
        const long long half = m_dpi / 2;
        return static_cast<int>(scaled >= 0 ? (scaled + half) / m_dpi : -((-scaled + half) / m_dpi));
    }

    friend constexpr int operator*(int pixels, Scale scale) { return scale(pixels); }
    friend constexpr int operator*(Scale scale, int pixels) { return scale(pixels); }
    friend constexpr bool operator==(Scale a, Scale b) { return a.m_dpi == b.m_dpi; }
    friend constexpr bool operator!=(Scale a, Scale b) { return a.m_dpi != b.m_dpi; }

private:
    int m_dpi = kBaseDpi;
};

}  // namespace s::gui
