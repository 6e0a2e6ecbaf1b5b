// The version information window ("AboutWindow", 340 × 285 × scale, on top
// by default): the program icon, the product name in large type, its
// version, release date, licence and web address (a link), the link "Is this
// freeware useful?", "Close" and the cross picture. It has a skin manager of
// its own, fixed to "Classic LG": the user's skin choice does not apply to it.
//
// The window is made on the first show and kept until the object goes; each
// show builds its content again in the current language. Closing it (Close,
// the cross, the title bar's close button, a middle click when the frame says
// so) stores its geometry and hides it.
#pragma once

#include "app/start/AppWindow.h"
#include "gui/Button_win.h"
#include "gui/GdiHandles_win.h"
#include "gui/Label_win.h"
#include "gui/PaintBox_win.h"
#include "gui/PictureButton_win.h"
#include "gui/Scale.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"
#include "image/Image.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace s::lang {
class Localizer;
}

namespace s::gui::dialogs {

class About3 {
public:
    // Language ids of the window's texts.

    // None is owned; all outlive the window. openPage opens the address of a
    // language entry (the application's openPage).
    About3(s::lang::Localizer& lang, s::map::IMappedData& settings, s::gui::Scale scale,
           std::function<void(int32_t id)> openPage);
    ~About3();
    About3(const About3&) = delete;
    About3& operator=(const About3&) = delete;

    // Creates the window on first use (owned by owner, which may be null),
    // rebuilds its content and shows it.
    bool show(HWND owner);
    // Stores the geometry and hides the window.
    void close();

    HWND hwnd() const { return m_window ? m_window->hwnd() : nullptr; }
    bool visible() const;
    // The program icon's size as drawn (64, 128 or 256 by scale).
    int iconSize() const { return kIconSize * m_scale; }
    // The content's child-window ids: how the system, accessibility tools
    // and automation find the controls (GetDlgItem).
    enum ControlId : int {
        kHeading = 1001,
        kCross,
        kIcon,
        kAddress,  // the web address, a link
        kUseful,   // "Is this freeware useful?"
        kClose,
    };
    // The icon as loaded (empty when the program's resources lack it).
    const s::image::Image& icon() const { return m_icon; }
    // Every text the window shows, in order (title, heading, name, label and
    // value pairs, links, Close).
    std::vector<std::wstring> texts() const;

private:
    static constexpr int kIconSize = 64;
    static constexpr int kIconGroup = 128;

    bool createWindow(HWND owner);
    void buildContent();
    // The program icon and the name's font, at the scale now.
    void makeScaledPictures();
    void layout();
    void storeGeometry();
    void paintName(SkinPainter& painter, HDC dc, const RECT& rect);

    s::lang::Localizer& m_lang;
    s::map::IMappedData& m_settings;
    s::gui::Scale m_scale;
    std::function<void(int32_t)> m_openPage;
    s::app::win::AppWindow m_frame;
    s::gui::drawer::Skinner m_skins;
    std::unique_ptr<SkinnedFrame> m_window;
    s::image::Image m_icon;
    Font m_nameFont;
    std::wstring m_name;

    std::unique_ptr<Label> m_heading;
    std::unique_ptr<PictureButton> m_cross;
    std::unique_ptr<PaintBox> m_iconBox;
    std::unique_ptr<PaintBox> m_nameBox;
    std::vector<std::unique_ptr<Label>> m_labels;  // label, value, label, value, ...
    std::unique_ptr<LinkLabel> m_url;
    std::unique_ptr<LinkLabel> m_useful;
    std::unique_ptr<Button> m_close;
};

}  // namespace s::gui::dialogs
