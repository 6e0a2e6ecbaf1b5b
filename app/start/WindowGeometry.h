// Where a frame goes and what of its geometry is stored. Position and size
// live under windowName + "\" + the view section of the scale ("View",
// "View4K", "View8K"), so that every screen scale keeps its own; "Maximized"
// lives under windowName + "\View" at every scale.
#pragma once

#include "settings/IMappedData.h"

#include <string>
#include <string_view>

namespace s::app::win {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class WindowState : std::uint8_t { Normal, Maximized, Minimized };

// At least 11 × 11 pixels and reaching 10 pixels into the virtual screen
// (all monitors, which may start at negative coordinates) on both axes.
bool isVisible(const Rect& rect, const Rect& virtualScreen);
// In the middle of the work area, never above or left of it.
Rect centredIn(int width, int height, const Rect& workArea);

class FrameGeometry {
public:
    FrameGeometry(std::u16string_view windowName, int scale, int defaultWidth, int defaultHeight);

    const std::u16string& sizeSection() const { return m_sizeSection; }
    const std::u16string& viewSection() const { return m_viewSection; }

    // Where the frame appears when it is shown: the stored rectangle when a
    // position is stored and visible, else centred with the stored (or
    // default) size; `maximize` when "Maximized" is stored true.
    struct Placement {
        Rect rect;
        bool maximize = false;
    };
    Placement placement(s::map::IMappedData& store, const Rect& virtualScreen, const Rect& workArea) const;
    // The same on the machine's screens.
    Placement placement(s::map::IMappedData& store) const;

    // Stores the geometry when the frame is hidden, writing only what
    // changed: a maximised frame only "Maximized" = true; a minimised one
    // nothing; a normal one "Maximized" = false (when stored true) and its
    // rectangle.
    void store(s::map::IMappedData& store, WindowState state, const Rect& rect) const;
    // While the frame runs, on every change between normal, maximised and
    // minimised: maximised writes "Maximized" = true and lastNormal (the
    // rectangle it had before), minimised "Maximized" = false and lastNormal,
    // back to normal from maximised stores as above. So a frame closed while
    // maximised keeps this session's normal rectangle, not the last one's.
    void storeShownChange(s::map::IMappedData& store, WindowState now, WindowState before,
                          const Rect& lastNormal) const;

private:
    std::u16string m_sizeSection;
    std::u16string m_viewSection;
    int m_defaultWidth;
    int m_defaultHeight;
};

}  // namespace s::app::win
