// A top-level window without the system's caption: the frame draws its own
// title bar (menu items, icon, caption, the minimise, maximise/restore and
// close buttons) in the current skin, moves by its title bar (or anywhere
// with EasyDrag), resizes from its edges, maximises on a double-click on the
// title, and carries the view options every window of the program has: Keep
// on Top, transparency and the middle-click action. It repaints itself and
// its children whenever the skin manager's current skin changes.
#pragma once

#include "base/IEventListener.h"
#include "gui/FrameElements.h"
#include "gui/FrameLayout.h"
#include "gui/MenuBinding_win.h"
#include "gui/MenuModel.h"
#include "gui/Scale.h"
#include "gui/SkinPainter_win.h"
#include "gui/ToolTips_win.h"
#include "gui/Wnd_win.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace s::gui::drawer {
class Skinner;
}

namespace s::gui {

enum class MiddleClickAction { close, iconize, doNothing };

struct FrameArgs {
    std::wstring caption;
    // The window that owns this one (a dialog's owner): it stays above its
    // owner and goes with it. Null: an independent top-level window.
    HWND owner = nullptr;
    HICON icon = nullptr;  // not owned; Alt+Tab and the taskbar show it
    // Not owned; drawn 16 × 16 × scale in the title bar and given to Windows
    // as the small icon. Null: the large one, scaled down.
    HICON smallIcon = nullptr;
    Scale scale;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = 630;  // pixels, already scaled
    int height = 500;
    // The frame listens to the manager and paints its current skin; without
    // one it paints with the default colours.
    s::gui::drawer::Skinner* skins = nullptr;
    // The title-bar menus: each submenu at the top of the model is one item
    // of the title bar, its label and popup read from the model (not owned;
    // must outlive the frame). Null: no menus.
    s::gui::menu::MenuModel* menus = nullptr;
    MiddleClickAction middleClick = MiddleClickAction::close;
    bool easyDrag = true;
    bool keepOnTop = false;
    int opacity = 100;
    bool opacityOnlyOnTop = false;
    // Minimise and maximise buttons (and maximising by a double-click on
    // the title); a dialog has the close button only.
    bool sizeButtons = true;
    // Escape closes the window as its close button does (a dialog).
    bool closeOnEscape = false;
    // The scale for a screen of this density and size, when the window
    // moves to another screen or the user changes the display setting.
    // Null: the density alone decides.
    std::function<Scale(int screenWidth, int screenHeight, int dpi)> scaleForScreen;
};

// Where a frame is shown: normally, maximised or minimised.
enum class Shown { normal, maximised, minimised };

enum class Activation { activate, noActivate };

class SkinnedFrame : public Wnd, public s::gui::events::IEventListener {
public:
    // Another copy of the program asks this window to come forward.
    static constexpr UINT kActivateMessage = WM_USER + 3;

    SkinnedFrame();
    ~SkinnedFrame() override;

    bool create(const FrameArgs& args);

    // Both trim the process's working set afterwards: a window that was just
    // shown or hidden has paged in what it needs.
    void show(Activation activation = Activation::activate);
    void hide();

    void setKeepOnTop(bool on);
    bool keepOnTop() const;
    // 100 is opaque (no layered style at all); below it the window is
    // layered with alpha = opacity × 255 / 100. With onlyOnTop the opacity
    // applies only while the window is topmost.
    void setOpacity(int percent, bool onlyOnTop);
    int opacity() const { return m_opacity; }
    void setMiddleClickAction(MiddleClickAction action) { m_middleClick = action; }
    MiddleClickAction middleClickAction() const { return m_middleClick; }
    void setEasyDrag(bool on) { m_easyDrag = on; }
    void setMenus(s::gui::menu::MenuModel* menus);
    void setCaption(const std::wstring& caption);
    // What the title-bar buttons are called in the tooltips over them (in
    // the current language; the restore name while maximised).
    struct ButtonNames {
        std::wstring minimise;
        std::wstring maximise;
        std::wstring restore;
        std::wstring close;
        // What a screen reader says the default action of a painted
        // button and of a title-bar menu is ("Press", "Open").
        std::wstring press;
        std::wstring open;
    };
    void setButtonNames(ButtonNames names);
    // The tooltips of this frame: other controls of it may add theirs.
    ToolTips& toolTips() { return m_tips; }

    // The keys and clicks of the whole window, before they reach the control
    // under them: Tab and Shift+Tab move the focus between the controls,
    // Alt or F10 open the first title-bar menu (arrows move across the
    // menus), Escape closes a dialog, and a middle click anywhere on the
    // window does the middle-click action. True: the message was taken and
    // must not be dispatched. The program's message loops call it.
    bool preTranslate(MSG& message);
    // The same for the frame that holds message.hwnd, if any.
    static bool translate(MSG& message);
    // Opens a title-bar menu as from the keyboard: its first item selected.
    void openMenuFromKeyboard(int index);

    // The last rectangle (screen coordinates) the window had while it was
    // neither maximised nor minimised, and how it is shown now.
    RECT normalRect() const { return m_normalRect; }
    Shown shown() const { return m_shown; }

    SkinPainter& painter() { return m_painter; }
    // The current geometry (client coordinates, which are window coordinates).
    FrameLayout layout() const;

    // A menu command chosen from a title-bar menu, after the model took it
    // (marks and radio groups already moved).
    std::function<void(int command)> onCommand;
    // Before the frame closes (close button, middle click, WM_CLOSE); false
    // keeps it open.
    std::function<bool()> onClose;
    // Windows is ending the session (log-off or shut-down): the last chance
    // to save, after which the window goes.
    std::function<void()> onEndSession;
    // After message 1027 restored and raised the window.
    std::function<void()> onActivateRequest;
    // The content area (below the title bar) changed: lay out the children.
    std::function<void(const RECT& content)> onLayout;
    // The window was maximised, minimised or restored (now differs from
    // before); lastNormal is normalRect().
    std::function<void(Shown now, Shown before, const RECT& lastNormal)> onShownChanged;
    // After the frame took a new skin and repainted.
    std::function<void()> onSkinChanged;
    // After the frame took a new scale (the window moved to a screen of
    // another density), before it takes the size Windows suggests for it:
    // controls holding a font or a scaled size take the painter's new ones.
    std::function<void(Scale before)> onScaleChanged;

    void onEvent(s::base::IObject* source, int code) override;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The accessible object of the client area (gui/FrameAccessible_win.h)
    // describes the painted title-bar elements from the frame's state.
    friend class FrameAccessible;
    std::wstring elementName(const FrameElement& element) const;
    bool elementEnabled(const FrameElement& element) const;
    bool elementPressed(const FrameElement& element) const;
    bool elementHot(const FrameElement& element) const;
    void doElementAction(const FrameElement& element);

    void paint(HDC dc, const RECT& client);
    FramePart partAt(POINT client) const;
    void applyOpacity();
    void trackMenu(int index);
    void press(FramePart part);
    void toggleMaximised();
    void closeByUser();
    void doMiddleClick();
    void redrawAll();
    void trackShown(WPARAM sizeKind);
    void trackMenusByKeyboard(int index, bool keyboard);
    void trackOneMenu(int index);
    static LRESULT CALLBACK menuKeys(int code, WPARAM wp, LPARAM lp);

    SkinPainter m_painter;
    s::gui::drawer::Skinner* m_skins = nullptr;
    std::wstring m_caption;
    HICON m_icon = nullptr;
    // The submenus at the top of the model, in order.
    std::vector<s::gui::menu::MenuItem*> titleMenus() const;

    s::gui::menu::MenuModel* m_menus = nullptr;
    std::unique_ptr<s::gui::menu::MenuBinding> m_binding;
    MiddleClickAction m_middleClick = MiddleClickAction::close;
    bool m_easyDrag = true;
    int m_opacity = 100;
    bool m_opacityOnlyOnTop = false;
    FramePart m_pressed = FramePart::client;  // the title-bar button held down
    FramePart m_hot = FramePart::client;
    bool m_sizeButtons = true;
    bool m_closeOnEscape = false;
    std::function<Scale(int, int, int)> m_scaleForScreen;
    ToolTips m_tips;
    ButtonNames m_buttonNames;
    // Takes the scale of a screen of this density (the one holding `at`,
    // else the window's).
    void changeScale(int dpi, const RECT* at);
    void placeButtonTips();
    RECT m_normalRect{};
    Shown m_shown = Shown::normal;
    // The control that had the focus when the window was last deactivated.
    HWND m_lastFocus = nullptr;
    // Alt went down and nothing else since: its release opens the menus.
    bool m_altAlone = false;
    // While a title-bar menu is open: the popup of the menu bar item, whether
    // the highlighted item opens a submenu, and the menu to open next when
    // an arrow key left this one (-1: none).
    HMENU m_menuTop = nullptr;
    HMENU m_menuSelected = nullptr;
    bool m_selectedIsPopup = false;
    int m_menuIndex = -1;
    int m_menuNext = -1;
};

}  // namespace s::gui
