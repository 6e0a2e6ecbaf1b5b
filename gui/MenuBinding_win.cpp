#include "gui/MenuBinding_win.h"
#include "base/WideText.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace s::gui::menu {

namespace {

using s::str::toWide;

UINT stateOf(const MenuItem& item)
{
    UINT state = 0;
    if (item.marked && item.mark != Mark::None)
        state |= MFS_CHECKED;
    if (!item.enabled)
        state |= MFS_GRAYED;  // greyed and not choosable, by mouse or key
    return state;
}

}  // namespace

MenuBinding::MenuBinding(MenuModel& model) : m_model(model)
{
    m_model.setListener(this);
}

MenuBinding::~MenuBinding()
{
    m_model.setListener(nullptr);
    destroyBuilt();
}

HMENU MenuBinding::popup(MenuItem& menu)
{
    if (m_stale && m_tracking == 0) {
        m_stale = false;
        destroyBuilt();
    }
    if (auto found = m_built.find(&menu); found != m_built.end())
        return found->second;
    HMENU made = CreatePopupMenu();
    if (!made)
        return nullptr;
    m_built[&menu] = made;
    m_sources[made] = &menu;
    fill(made, menu);
    return made;
}

void MenuBinding::fill(HMENU menu, MenuItem& source)
{
    for (MenuItem& item : source.items) {
        if (item.kind == MenuItem::Kind::Separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        // The label keeps its "&": the system underlines the next letter
        // and chooses the item when that letter is typed.
        std::wstring label = toWide(m_model.text(item).view());
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE;
        info.fType = MFT_STRING;
        info.dwTypeData = label.data();
        info.fState = stateOf(item);
        if (item.kind == MenuItem::Kind::Submenu) {
            HMENU sub = CreatePopupMenu();
            if (!sub)
                continue;
            m_sources[sub] = &item;
            // A submenu with a rebuild callback is filled as it opens.
            if (!item.rebuild)
                fill(sub, item);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = sub;
        } else {
            if (item.mark == Mark::Radio)
                info.fType |= MFT_RADIOCHECK;
            info.fMask |= MIIM_ID;
            info.wID = itemId(item.command);
        }
        InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
    }
}

void MenuBinding::forget(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i))
            forget(sub);
    }
    m_sources.erase(menu);
}

void MenuBinding::clear(HMENU menu)
{
    // DeleteMenu destroys an item's submenu with it; their entries go first.
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        if (HMENU sub = GetSubMenu(menu, i))
            forget(sub);
        DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
}

void MenuBinding::destroyBuilt()
{
    for (auto& [item, menu] : m_built)
        DestroyMenu(menu);  // destroys the submenus with it
    m_built.clear();
    m_sources.clear();
}

void MenuBinding::initPopup(HMENU menu)
{
    const auto found = m_sources.find(menu);
    if (found == m_sources.end())
        return;
    MenuItem* source = found->second;
    if (source->rebuild)
        m_model.open(*source);  // refills the HMENU through submenuRebuilt
    if (onPopupOpened)
        onPopupOpened(menu, *source);
}

void MenuBinding::menuTextsChanged()
{
    // The built menus are dropped and built again with the new texts when
    // next asked for; an open menu stays as it is until it closes.
    if (m_tracking > 0)
        m_stale = true;
    else
        destroyBuilt();
    if (onTextsChanged)
        onTextsChanged();
}

void MenuBinding::menuItemChanged(const MenuItem& item)
{
    if (item.kind != MenuItem::Kind::Item)
        return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = stateOf(item);
    // By command, the system searches the submenus too.
    for (auto& [source, menu] : m_built)
        SetMenuItemInfoW(menu, itemId(item.command), FALSE, &info);
}

void MenuBinding::submenuRebuilt(const MenuItem& submenu)
{
    std::vector<HMENU> targets;
    for (auto& [menu, source] : m_sources) {
        if (source == &submenu)
            targets.push_back(menu);
    }
    for (HMENU menu : targets) {
        MenuItem* source = m_sources[menu];
        clear(menu);
        fill(menu, *source);
    }
}

LRESULT CALLBACK MenuBinding::ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    // Windows tells the owner, not the menu, that a popup is opening: the
    // owner is subclassed while a menu of the binding is tracked.
    if (msg == WM_INITMENUPOPUP)
        reinterpret_cast<MenuBinding*>(data)->initPopup(reinterpret_cast<HMENU>(wp));
    return DefSubclassProc(hwnd, msg, wp, lp);
}

int MenuBinding::track(MenuItem& menu, HWND owner, POINT screen, UINT flags, const RECT* exclude)
{
    HMENU native = popup(menu);
    if (!native)
        return -1;
    const auto subclassId = reinterpret_cast<UINT_PTR>(this);
    SetWindowSubclass(owner, &MenuBinding::ownerProc, subclassId, reinterpret_cast<DWORD_PTR>(this));
    TPMPARAMS params{};
    params.cbSize = sizeof(params);
    if (exclude)
        params.rcExclude = *exclude;
    // TPM_RETURNCMD: the command comes back here instead of as WM_COMMAND,
    // so a menu command never mixes with a child control's WM_COMMAND.
    ++m_tracking;
    const auto chosen = static_cast<UINT>(
        TrackPopupMenuEx(native, flags | TPM_RETURNCMD, screen.x, screen.y, owner, exclude ? &params : nullptr));
    --m_tracking;
    RemoveWindowSubclass(owner, &MenuBinding::ownerProc, subclassId);
    if (chosen == 0)
        return -1;
    const int command = commandOf(chosen);
    if (!m_model.choose(command))
        return -1;
    if (onCommand)
        onCommand(command);
    return command;
}

}  // namespace s::gui::menu
