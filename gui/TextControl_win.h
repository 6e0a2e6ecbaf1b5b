// The base of the controls that show a text: a literal, or an entry of the
// language table that follows the current language. The text is also the
// window's own text (GetWindowTextW, accessibility tools), and every change
// repaints the control. Colours come from the painter, which the frame
// repaints with on a skin change (it redraws all its children).
#pragma once

#include "base/IEventListener.h"
#include "base/WideText.h"
#include "gui/SkinPainter_win.h"
#include "gui/Wnd_win.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::lang {
class Localizer;
}

namespace s::gui {

// A literal text, or (id != 0) the language table's entry id.
struct Caption {
    std::wstring literal;
    int32_t id = 0;

    static Caption text(std::wstring literal) { return Caption{std::move(literal), 0}; }
    static Caption language(int32_t id) { return Caption{{}, id}; }
};

// The wchar_t form of a UTF-16 text for the Win32 calls (both are UTF-16 on
// Windows).
using s::str::toWide;

class TextControl : public Wnd, public s::gui::events::IEventListener {
public:
    // Neither is owned; both outlive the control. Without a localizer a
    // language caption reads as the empty text.
    TextControl(SkinPainter& painter, s::lang::Localizer* localizer);
    ~TextControl() override;

    void setCaption(const Caption& caption);
    const std::wstring& text() const { return m_text; }
    // The text's extent in the painter's font (lines, when it has several).
    SIZE textSize(FontWeight weight = FontWeight::normal) const;

    void onEvent(s::base::IObject* source, int code) override;

protected:
    // Fills args.text and makes the window.
    bool createWithCaption(WndArgs args, const Caption& caption);
    SkinPainter& painter() const { return m_painter; }

private:
    std::wstring resolve() const;
    void applyText();

    SkinPainter& m_painter;
    s::lang::Localizer* m_localizer;
    Caption m_caption;
    std::wstring m_text;
    bool m_listening = false;
};

}  // namespace s::gui
