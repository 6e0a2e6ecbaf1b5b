// The names of a skinned frame's painted title-bar buttons in the current
// language: their tooltips, and what a screen reader reads for them and for
// their default actions.
#pragma once

#include "base/WideText.h"
#include "gui/SkinnedFrame_win.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"

namespace s::app::win {

inline s::gui::SkinnedFrame::ButtonNames titleButtonNames(s::lang::Localizer& lang)
{
    namespace ids = s::lang::ids;
    const auto text = [&lang](int32_t id) {
        return s::str::toWide(lang.text(id));
    };
    return {text(ids::kMinimiseText), text(ids::kMaximiseText), text(ids::kRestoreText),
            text(ids::kCloseText),    text(ids::kPressAction),  text(ids::kOpenAction)};
}

}  // namespace s::app::win
