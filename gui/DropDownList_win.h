// A drop-down list: a real COMBOBOX with CBS_DROPDOWNLIST (keyboard, type-
// ahead, the drop-down and accessibility come from Windows), its field and
// items owner-drawn by the skin painter in the list's colours.
#pragma once

#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

#include <functional>
#include <string>
#include <vector>

namespace s::gui {

class DropDownList : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        std::vector<std::wstring> items;
        int selected = -1;
        int x = 0;
        int y = 0;
        int width = 0;
        int visibleItems = 8;  // rows of the dropped list
        int id = 0;
    };

    explicit DropDownList(SkinPainter& painter) : m_painter(painter) {}
    ~DropDownList() override { destroy(); }

    bool create(const Args& args);
    void setItems(const std::vector<std::wstring>& items);
    int count() const;
    std::wstring item(int index) const;
    // -1: nothing.
    int selected() const;
    // Selects without firing onSelected (as CB_SETCURSEL).
    void select(int index);
    int itemHeight() const;

    // After the user chose an item (mouse, arrow keys, type-ahead).
    std::function<void(int index)> onSelected;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void drawItem(const DRAWITEMSTRUCT& item);

    SkinPainter& m_painter;
};

}  // namespace s::gui
