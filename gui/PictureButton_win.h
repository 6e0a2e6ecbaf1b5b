// A button that shows one of the program's vector pictures ("#Plus", "#X")
// instead of a text: a real owner-drawn BUTTON, so focus, Space and
// accessibility work; the window text names it for screen readers.
#pragma once

#include "gui/Button_win.h"
#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace s::gui {

// "#Plus" → plus, "#X" → cross; anything else → none.
std::optional<Picture> pictureByName(std::u16string_view name);

class PictureButton : public OwnerDrawnButton {
public:
    struct Args {
        HWND parent = nullptr;
        Picture picture = Picture::plus;
        std::wstring accessibleName;
        int x = 0;
        int y = 0;
        int width = 14;  // pixels, already scaled
        int height = 14;
        int id = 0;
    };

    explicit PictureButton(SkinPainter& painter) : m_painter(painter) {}
    ~PictureButton() override { destroy(); }

    bool create(const Args& args);
    Picture picture() const { return m_picture; }
    // The picture's size as created, at the painter's scale now.
    SIZE preferredSize() const { return m_size; }

    std::function<void()> onClick;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    SkinPainter& m_painter;
    Picture m_picture = Picture::plus;
    SIZE m_size{};
    Scale m_scale;  // the painter's, when m_size was given
};

}  // namespace s::gui
