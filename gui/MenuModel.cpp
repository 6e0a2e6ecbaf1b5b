#include "gui/MenuModel.h"

#include "lang/Localizer.h"

#include <utility>

namespace s::gui::menu {

MenuItem MenuItem::item(int32_t textId, int command)
{
    MenuItem made;
    made.textId = textId;
    made.command = command;
    return made;
}

MenuItem MenuItem::literal(std::u16string_view text, int command)
{
    MenuItem made;
    made.text = text;
    made.command = command;
    return made;
}

MenuItem MenuItem::separator()
{
    MenuItem made;
    made.kind = Kind::Separator;
    return made;
}

MenuItem MenuItem::submenu(int32_t textId)
{
    MenuItem made;
    made.kind = Kind::Submenu;
    made.textId = textId;
    return made;
}

MenuItem& MenuItem::withCheck(bool isMarked)
{
    mark = Mark::Check;
    marked = isMarked;
    return *this;
}

MenuItem& MenuItem::withRadio(int group, bool isMarked)
{
    mark = Mark::Radio;
    radioGroup = group;
    marked = isMarked;
    return *this;
}

MenuItem& MenuItem::withEnabled(bool isEnabled)
{
    enabled = isEnabled;
    return *this;
}

MenuItem& MenuItem::add(MenuItem child)
{
    items.push_back(std::move(child));
    return *this;
}

MenuModel::MenuModel(s::lang::Localizer* localizer) : m_localizer(localizer)
{
    m_root.kind = MenuItem::Kind::Submenu;
    if (m_localizer)
        m_localizer->addListener(this);
}

MenuModel::~MenuModel()
{
    if (m_localizer)
        m_localizer->removeListener(this);
}

MenuItem& MenuModel::add(MenuItem item)
{
    m_root.items.push_back(std::move(item));
    return m_root.items.back();
}

s::str::strbuffer::StrBuffer MenuModel::text(const MenuItem& item) const
{
    if (item.textId != 0)
        return m_localizer ? m_localizer->text(item.textId) : s::str::strbuffer::StrBuffer();
    return item.text;
}

MenuItem* MenuModel::findIn(MenuItem& menu, int command, MenuItem** parent)
{
    for (MenuItem& item : menu.items) {
        if (item.kind == MenuItem::Kind::Item && item.command == command) {
            if (parent)
                *parent = &menu;
            return &item;
        }
        if (item.kind == MenuItem::Kind::Submenu) {
            if (MenuItem* found = findIn(item, command, parent))
                return found;
        }
    }
    return nullptr;
}

MenuItem* MenuModel::find(int command)
{
    return findIn(m_root, command, nullptr);
}

MenuItem* MenuModel::findSubmenu(int32_t textId)
{
    // Breadth does not matter here: submenu titles are unique in a menu bar.
    std::vector<MenuItem*> pending{&m_root};
    while (!pending.empty()) {
        MenuItem* menu = pending.back();
        pending.pop_back();
        for (MenuItem& item : menu->items) {
            if (item.kind != MenuItem::Kind::Submenu)
                continue;
            if (item.textId == textId)
                return &item;
            pending.push_back(&item);
        }
    }
    return nullptr;
}

void MenuModel::mark(MenuItem& parent, MenuItem& item, bool marked)
{
    if (marked && item.mark == Mark::Radio) {
        for (MenuItem& other : parent.items) {
            if (&other != &item && other.kind == MenuItem::Kind::Item && other.mark == Mark::Radio &&
                other.radioGroup == item.radioGroup && other.marked) {
                other.marked = false;
                if (m_listener)
                    m_listener->menuItemChanged(other);
            }
        }
    }
    if (item.marked == marked)
        return;
    item.marked = marked;
    if (m_listener)
        m_listener->menuItemChanged(item);
}

bool MenuModel::setMarked(int command, bool marked)
{
    MenuItem* parent = nullptr;
    MenuItem* item = findIn(m_root, command, &parent);
    if (!item)
        return false;
    mark(*parent, *item, marked);
    return true;
}

bool MenuModel::setEnabled(int command, bool enabled)
{
    MenuItem* item = find(command);
    if (!item)
        return false;
    if (item->enabled != enabled) {
        item->enabled = enabled;
        if (m_listener)
            m_listener->menuItemChanged(*item);
    }
    return true;
}

MenuItem* MenuModel::choose(int command)
{
    MenuItem* parent = nullptr;
    MenuItem* item = findIn(m_root, command, &parent);
    if (!item || !item->enabled)
        return nullptr;
    switch (item->mark) {
    case Mark::Check:
        mark(*parent, *item, !item->marked);
        break;
    case Mark::Radio:
        mark(*parent, *item, true);
        break;
    case Mark::None:
        break;
    }
    return item;
}

void MenuModel::open(MenuItem& submenu)
{
    if (submenu.kind != MenuItem::Kind::Submenu || !submenu.rebuild)
        return;
    // The callback may replace the whole item (SkinMenu builds a fresh one);
    // keep the callback alive while it runs.
    const auto rebuild = submenu.rebuild;
    submenu.items.clear();
    rebuild(submenu);
    if (!submenu.rebuild)
        submenu.rebuild = rebuild;
    if (m_listener)
        m_listener->submenuRebuilt(submenu);
}

void MenuModel::onEvent(s::base::IObject* source, int code)
{
    (void)source;
    (void)code;
    if (m_listener)
        m_listener->menuTextsChanged();
}

}  // namespace s::gui::menu
