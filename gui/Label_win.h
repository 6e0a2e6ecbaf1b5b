// Windows that show a text on the window background, drawn by the skin
// painter: the label, the link label (a label that reacts to the mouse) and
// the group box (a container with a border and a caption).
#pragma once

#include "gui/TextControl_win.h"

#include <functional>

namespace s::gui {

enum class TextAlign { left, centre, right };

struct LabelArgs {
    HWND parent = nullptr;
    Caption caption;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int id = 0;
    TextAlign align = TextAlign::left;
    Outline outline = Outline::none;
    FontWeight weight = FontWeight::normal;
};

// A text in the skin's text colour. A text with line breaks is drawn line by
// line from the top; a single line is centred vertically.
class Label : public TextControl {
public:
    explicit Label(SkinPainter& painter, s::lang::Localizer* localizer = nullptr) : TextControl(painter, localizer) {}

    bool create(const LabelArgs& args);
    // The width and height that show the whole text.
    SIZE preferredSize() const { return textSize(m_weight); }

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual void paint(HDC dc, const RECT& client);
    UINT format() const;

    TextAlign m_align = TextAlign::left;
    Outline m_outline = Outline::none;
    FontWeight m_weight = FontWeight::normal;
};

// An underlined text with the hand cursor. A click (button pressed and
// released over it) fires onClick; the link opens nothing itself.
class LinkLabel : public Label {
public:
    explicit LinkLabel(SkinPainter& painter, s::lang::Localizer* localizer = nullptr) : Label(painter, localizer) {}

    bool create(LabelArgs args);

    std::function<void()> onClick;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc, const RECT& client) override;

private:
    bool m_pressed = false;
    bool m_hot = false;
};

// A border with its caption in the top edge. The controls it groups are
// created as its children (parent = its hwnd()): it reflects their
// notifications like any toolkit window, and paints beneath them.
class GroupBox : public TextControl {
public:
    explicit GroupBox(SkinPainter& painter, s::lang::Localizer* localizer = nullptr) : TextControl(painter, localizer)
    {
    }

    bool create(const LabelArgs& args);
    // Where the grouped controls go, in the box's client coordinates.
    RECT inner() const;
    // The box's size around grouped controls that take `inner`.
    SIZE sizeAround(SIZE inner) const;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void paint(HDC dc, const RECT& client);
};

}  // namespace s::gui
