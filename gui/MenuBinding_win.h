// The Win32 side of a MenuModel: native popup menus built from the model's
// items (texts with their "&" mnemonics, separators, submenus, greyed
// disabled items, check and radio marks) and kept in step with it.
//
// A top menu's HMENU is built the first time it is asked for and then kept:
// a changed mark or enabled flag is written into it at once, a submenu with
// a rebuild callback is refilled each time it opens (WM_INITMENUPOPUP), and
// a language change drops every built menu so that the next opening builds
// it again with the new texts.
//
// The binding is the model's listener (a model has one); bind one model to
// one binding. The model's top menus (the root and its direct submenus) must
// stay where they are while bound: the binding keeps their addresses.
//
// Failure rules: popup() answers null when the system gives no menu; track()
// answers -1 when nothing was chosen or the menu could not be shown.
#pragma once

#include "gui/MenuModel.h"

#include <windows.h>

#include <functional>
#include <map>

namespace s::gui::menu {

class MenuBinding : private IMenuListener {
public:
    explicit MenuBinding(MenuModel& model);
    ~MenuBinding() override;
    MenuBinding(const MenuBinding&) = delete;
    MenuBinding& operator=(const MenuBinding&) = delete;

    // Command 0 is a real command (the first language), but 0 is what
    // TrackPopupMenuEx answers when nothing was chosen: item ids are the
    // commands plus one.
    static UINT itemId(int command) { return static_cast<UINT>(command) + 1; }
    static int commandOf(UINT itemId) { return static_cast<int>(itemId) - 1; }

    // The native menu of a top menu of the model (its root or a submenu),
    // built now if needed. Owned by the binding; valid until the language
    // changes or the binding goes.
    HMENU popup(MenuItem& menu);

    // Shows the menu at a screen point (TrackPopupMenuEx with TPM_RETURNCMD;
    // flags add alignment; exclude may be null) with owner as its owner
    // window, and waits until it closes. A chosen item goes to the model's
    // choose (marks and radio groups move) and then to onCommand. Returns
    // the chosen command or -1.
    int track(MenuItem& menu, HWND owner, POINT screen, UINT flags = 0, const RECT* exclude = nullptr);

    // A command chosen from a tracked menu, after the model took it.
    std::function<void(int command)> onCommand;
    // The language changed: labels drawn elsewhere (a menu bar) read anew.
    std::function<void()> onTextsChanged;
    // A submenu is opening, after its rebuild (tests count its items here).
    std::function<void(HMENU menu, const MenuItem& submenu)> onPopupOpened;

private:
    void menuTextsChanged() override;
    void menuItemChanged(const MenuItem& item) override;
    void submenuRebuilt(const MenuItem& submenu) override;

    void fill(HMENU menu, MenuItem& source);
    void clear(HMENU menu);
    void forget(HMENU menu);
    void destroyBuilt();
    void initPopup(HMENU menu);
    static LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

    MenuModel& m_model;
    std::map<MenuItem*, HMENU> m_built;  // top menus, owned
    // Every popup built (top menus and their submenus) and its item.
    std::map<HMENU, MenuItem*> m_sources;
    int m_tracking = 0;
    bool m_stale = false;  // the language changed while a menu was open
};

}  // namespace s::gui::menu
