// The frame descriptor: ties one top-level window to its part of the
// settings. Position and size live under windowName + "\" + the view
// section of the scale; "Maximized", "EasyDrag", "KeepOnTop" and "OnMClick"
// (and the main window's view options) under windowName + "\View" at every
// scale.
#pragma once

#include "app/start/WindowGeometry.h"
#include "gui/Scale.h"
#include "settings/IMappedData.h"

#include <string>
#include <string_view>

namespace s::app::win {

enum class MiddleClick : std::uint8_t { Close, Iconize, DoNothing };

class AppWindow {
public:
    struct Defaults {
        int width = 0;
        int height = 0;
        bool keepOnTop = false;
        bool easyDrag = true;
        bool maximized = false;
        MiddleClick middleClick = MiddleClick::Close;
    };

    AppWindow(std::u16string_view windowName, s::gui::Scale scale, const Defaults& defaults,
              s::map::IMappedData& store);

    // The frames of the program at a scale.
    static AppWindow mainWindow(s::gui::Scale scale, s::map::IMappedData& store);          // 630 × 500 × scale
    static AppWindow customTargetWindow(s::gui::Scale scale, s::map::IMappedData& store);  // 450 × 270 × scale
    static AppWindow aboutWindow(s::gui::Scale scale, s::map::IMappedData& store);     // 340 × 285 × scale, on top
    static AppWindow flexAskerWindow(s::map::IMappedData& store);                      // 400 × 200, on top
    static AppWindow itemsWindow(s::gui::Scale scale, s::map::IMappedData& store);     // 560 × 380 × scale
    static AppWindow keepListWindow(s::gui::Scale scale, s::map::IMappedData& store);  // 580 × 340 × scale

    const std::u16string& windowName() const { return m_name; }
    // "View", "View4K" or "View8K".
    std::u16string_view viewSection() const;
    // windowName + "\" + name.
    std::u16string keyPath(std::u16string_view name) const;
    const Defaults& defaults() const { return m_defaults; }
    const FrameGeometry& geometry() const { return m_geometry; }

    int x(int fallback) const;
    int y(int fallback) const;
    int width() const;
    int height() const;
    bool maximized() const;
    bool easyDrag() const;
    bool keepOnTop() const;
    void setKeepOnTop(bool on);
    // Any text but "Close" and "Iconize" reads as "DoNothing".
    MiddleClick middleClick() const;
    void setMiddleClick(MiddleClick action);

private:
    std::u16string m_name;
    s::gui::Scale m_scale;
    Defaults m_defaults;
    s::map::IMappedData& m_store;
    FrameGeometry m_geometry;
};

}  // namespace s::app::win
