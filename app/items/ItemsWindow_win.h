// The items window: the frame "ItemsWindow", owned by the main window, that
// lists every item the clean of one row (a group or a target) would delete
// (app/items/ItemsModel.h) in the toolkit's owner-data list, each with its
// check box; a filter box above narrows the list; "Keep Unchecked" puts the
// unchecked items into the user's keep list (stored at once) and drops them
// from the list. The owner is not disabled: the window holds copies of the
// items, never the row's records, so the main list may be collected again
// while it is open.
//
// The object survives its window and builds the controls anew at every
// open. Its geometry is stored whenever it closes.
#pragma once

#include "app/items/ItemRows.h"
#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "gui/Scale.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace s::file::gui::dialogs::purgo {

class ItemsWindow {
public:
    // Not owned; outlives the window.
    explicit ItemsWindow(s::app::win::AppBase& app);
    ~ItemsWindow();
    ItemsWindow(const ItemsWindow&) = delete;
    ItemsWindow& operator=(const ItemsWindow&) = delete;

    // Lists row's items (on this thread) and shows them, owned by owner. An
    // open window shows the new row instead. False when the window could not
    // be made.
    bool open(HWND owner, TimeRecord& row);
    bool isOpen() const;
    HWND hwnd() const;
    ItemRows& rows() { return m_rows; }

    // After "Keep Unchecked" stored new entries: the owner measures again.
    std::function<void()> onKept;

    // Keeps the unchecked items, as the button does; how many entries were new.
    std::size_t keepUnchecked();

    // The controls, for the window's tests (null while closed).
    enum class Control { Filter, List, Keep };
    HWND control(Control which) const;

private:
    struct Controls;

    bool createWindow(const std::wstring& caption);
    void createControls();
    void layout(const RECT& content);
    std::wstring text(int32_t id) const;

    s::app::win::AppBase& m_app;
    s::gui::Scale m_scale;
    s::app::win::AppWindow m_frame;
    ItemRows m_rows;
    HWND m_owner = nullptr;
    std::unique_ptr<Controls> m_controls;
};

}  // namespace s::file::gui::dialogs::purgo
