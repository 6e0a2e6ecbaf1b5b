#include "engine/CheckedStates.h"

namespace s::file::gui::dialogs::purgo {

namespace {

// A target's state is the value named by its id in its group's section. A
// target without an id (a hand-edited custom record) would share the empty
// name with its group's own state and overwrite it; such a target keeps no
// state.
bool hasStoredName(const TimeRecord& target)
{
    return !target.id.isEmpty();
}

void loadTarget(TimeRecord& target, std::u16string_view section, s::map::IMappedData& store)
{
    if (!hasStoredName(target) || !store.exists(section, target.id)) {
        target.checked = target.defaultChecked;
        return;
    }
    target.checked = store.getBool(section, target.id, target.checked);
}

void saveTarget(const TimeRecord& target, std::u16string_view section, s::map::IMappedData& store)
{
    if (!hasStoredName(target))
        return;
    if (target.defaultChecked && target.checked && !store.exists(section, target.id))
        return;
    store.setBool(section, target.id, target.checked);
}

s::str::StrBuffer sectionOf(const TimeRecord& group, std::u16string_view prefix)
{
    s::str::StrBuffer section(prefix);
    return section.append(group.id);
}

}  // namespace

void loadChecks(TimeRecord& node, std::u16string_view prefix, s::map::IMappedData& store)
{
    if (node.isTarget) {
        loadTarget(node, prefix, store);
        return;
    }
    const s::str::StrBuffer section = sectionOf(node, prefix);
    if (!store.exists(section, u""))
        return;
    node.checked = store.getBool(section, u"", node.checked);
    for (std::size_t i = 0; i < node.childCount(); ++i)
        loadTarget(*node.child(i), section, store);
}

void saveChecks(const TimeRecord& node, std::u16string_view prefix, s::map::IMappedData& store)
{
    if (node.isTarget) {
        saveTarget(node, prefix, store);
        return;
    }
    const s::str::StrBuffer section = sectionOf(node, prefix);
    bool allChildrenChecked = true;
    for (std::size_t i = 0; i < node.childCount() && allChildrenChecked; ++i)
        allChildrenChecked = node.child(i)->checked;
    // As built: the group unchecked, every target checked. Nothing to keep
    // until the store holds the group.
    if (!node.checked && allChildrenChecked && !store.exists(section, u""))
        return;
    store.setBool(section, u"", node.checked);
    for (std::size_t i = 0; i < node.childCount(); ++i)
        saveTarget(*node.child(i), section, store);
}

}  // namespace s::file::gui::dialogs::purgo
