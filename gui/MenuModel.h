// Menus as data: the window's menu bar, its submenus and the list's context
// menu are trees of MenuItem that a Win32 view turns into HMENUs, and that the
// controller changes through MenuModel (marks, enabled flags, rebuilt
// submenus). The view listens for what changed and mirrors it.
//
// Failure rules: operations on a command that no item carries change nothing
// and return false (or nullptr); an id the language table lacks reads as the
// empty text.
#pragma once

#include "base/IEventListener.h"
#include "base/StrBuffer.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace s::lang {
class Localizer;
}

namespace s::gui::menu {

// How an item shows its mark: a check mark, or the round mark of one choice
// among the radio items of its group.
enum class Mark { None, Check, Radio };

struct MenuItem {
    enum class Kind { Item, Separator, Submenu };

    Kind kind = Kind::Item;
    int32_t textId = 0;                 // language text id, or 0 when text holds the label
    s::str::strbuffer::StrBuffer text;  // the literal label (a skin's or a language's own name)
    int command = 0;                    // items only; 0 is a real command (the first language)
    bool marked = false;
    Mark mark = Mark::None;
    // Radio items of one submenu with the same group exclude each other; a
    // submenu may hold several groups.
    int radioGroup = 0;
    bool enabled = true;
    std::vector<MenuItem> items;  // a submenu's items
    // A submenu whose items depend on state elsewhere (the skin list) refills
    // `items` here each time it opens.
    std::function<void(MenuItem& submenu)> rebuild;

    static MenuItem item(int32_t textId, int command);
    static MenuItem literal(std::u16string_view text, int command);
    static MenuItem separator();
    static MenuItem submenu(int32_t textId);

    // Builder steps for the factories above.
    MenuItem& withCheck(bool isMarked);
    MenuItem& withRadio(int group, bool isMarked);
    MenuItem& withEnabled(bool isEnabled);
    MenuItem& add(MenuItem child);
};

// Told what to mirror into the native menu. Items are passed by reference;
// they stay valid until the next change of the model.
class IMenuListener {
public:
    virtual ~IMenuListener() = default;
    // The language changed: every item's text may read differently.
    virtual void menuTextsChanged() = 0;
    // An item's mark or enabled flag changed.
    virtual void menuItemChanged(const MenuItem& item) = 0;
    // A submenu's items were replaced as it opened.
    virtual void submenuRebuilt(const MenuItem& submenu) = 0;
};

class MenuModel : public s::gui::events::IEventListener {
public:
    // localizer (may be null: every id then reads "") must outlive the
    // model; the model listens to its language changes until destroyed.
    explicit MenuModel(s::lang::Localizer* localizer);
    ~MenuModel() override;
    MenuModel(const MenuModel&) = delete;
    MenuModel& operator=(const MenuModel&) = delete;

    // The top menu (the menu bar or a popup): a submenu without a text.
    MenuItem& root() { return m_root; }
    const MenuItem& root() const { return m_root; }
    // Appends to the top menu; the reference lasts until the top menu changes.
    MenuItem& add(MenuItem item);

    void setListener(IMenuListener* listener) { m_listener = listener; }

    // The label as shown now: the current language's text of textId, else the
    // literal text.
    s::str::strbuffer::StrBuffer text(const MenuItem& item) const;

    // The first item (depth first, separators and submenus skipped) with
    // this command. The pointer lasts until a submenu above it is rebuilt.
    MenuItem* find(int command);
    // The submenu whose textId is given, depth first.
    MenuItem* findSubmenu(int32_t textId);

    // Sets the item's mark. Marking a radio item clears the others of its
    // group; unmarking one leaves its group without a mark.
    bool setMarked(int command, bool marked);
    bool setEnabled(int command, bool enabled);
    // The user chose the command: a check item flips, a radio item becomes
    // the marked one of its group. Returns the item, or nullptr when no
    // enabled item carries the command.
    MenuItem* choose(int command);

    // The submenu is opening: its rebuild callback refills it.
    void open(MenuItem& submenu);

    // The localizer's "language changed".
    void onEvent(s::base::IObject* source, int code) override;

private:
    MenuItem* findIn(MenuItem& menu, int command, MenuItem** parent);
    void mark(MenuItem& parent, MenuItem& item, bool marked);

    s::lang::Localizer* m_localizer;
    IMenuListener* m_listener = nullptr;
    MenuItem m_root;
};

}  // namespace s::gui::menu
