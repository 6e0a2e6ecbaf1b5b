// A check box: a real BUTTON (focus, Space, BM_CLICK and accessibility come
// from Windows) drawn by the skin painter. Owner-drawn buttons keep no check
// state, so the box keeps it and answers BM_GETCHECK / BM_SETCHECK itself.
// A click moves unchecked → checked → unchecked, or with three states
// unchecked → checked → partial → unchecked, as BS_AUTO3STATE does.
#pragma once

#include "gui/TextControl_win.h"

#include <functional>

namespace s::gui {

enum class CheckStates { two, three };

class CheckBox : public TextControl {
public:
    using CheckState = s::gui::drawer::CheckState;

    struct Args {
        HWND parent = nullptr;
        Caption caption;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        int id = 0;
        CheckStates states = CheckStates::two;
        CheckState state = CheckState::Unchecked;
    };

    explicit CheckBox(SkinPainter& painter, s::lang::Localizer* localizer = nullptr) : TextControl(painter, localizer)
    {
    }

    bool create(const Args& args);
    CheckState state() const { return m_state; }
    bool isChecked() const { return m_state == CheckState::Checked; }
    // Sets the state without firing onStateChanged (as BM_SETCHECK).
    void setState(CheckState state);
    // Box, gap and text.
    SIZE preferredSize() const;

    // After a click or Space changed the state.
    std::function<void(CheckState)> onStateChanged;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    CheckStates m_states = CheckStates::two;
    CheckState m_state = CheckState::Unchecked;
};

}  // namespace s::gui
