// A panel with one centred text laid over another window while that one is
// not ready (the "Collecting Information..." panel over the target list).
// Hidden until show(); show() also raises it above its siblings and gives
// the windows it covers WS_CLIPSIBLINGS, without which their own painting
// would cover the panel.
#pragma once

#include "gui/TextControl_win.h"

namespace s::gui {

class OverlayPanel : public TextControl {
public:
    struct Args {
        HWND parent = nullptr;
        Caption caption;
        int x = 0;
        int y = 0;
        int width = 200;  // pixels, already scaled
        int height = 40;
        int id = 0;
    };

    explicit OverlayPanel(SkinPainter& painter, s::lang::Localizer* localizer = nullptr)
        : TextControl(painter, localizer)
    {
    }

    bool create(const Args& args);
    void show();
    void hide();
    bool isShown() const;
    // Centres the panel on a rectangle of its parent (the covered window's).
    void centreOn(const RECT& area);

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Scale m_scale;  // the painter's, when the size was given
};

}  // namespace s::gui
