#include "engine/Clean.h"

#include "engine/CleanItems.h"
#include "engine/Scan.h"
#include "platform/PathWin.h"
#include "platform/RegDir.h"

namespace s::file::gui::dialogs::purgo {

namespace {

void deleteItem(CleanItem& item, const TimeRecord& target, AtReboot atReboot)
{
    switch (item.type) {
    case CleanItemType::File:
    case CleanItemType::Folder:
        item.path->deletePath(NotifyShell::No, atReboot);
        break;
    case CleanItemType::Value:
        item.key->deleteValue(item.valueName);
        break;
    case CleanItemType::Key:
        item.key->deleteKeyTree(s::reg::IncludeSelf::Yes);
        break;
    case CleanItemType::Handler:
        target.cleanHandler(target.handlerData, target.handlerExtra);
        break;
    case CleanItemType::EmptyFolder:
        // Only if what it held went: a file that waits for the next boot, or
        // one the target does not cover, keeps it.
        item.path->removeIfEmpty(NotifyShell::No);
        break;
    }
}

void cleanTarget(TimeRecord& target, CleanContext& context)
{
    if (!target.checked)
        return;
    const AtReboot atReboot = context.mode == CleanMode::Interactive ? AtReboot::Schedule : AtReboot::Leave;
    // The items `purgoc preview --files` shows, deleted one by one. A refused
    // target (engine/TargetSafety.h) lists none; its rescan measures 0 as
    // its scan did.
    forEachCleanItem(target, [&](CleanItem& item) { deleteItem(item, target, atReboot); });
    if (context.mode == CleanMode::Interactive)
        scan(target, nullptr, Captions::Without);
    context.pendingFound += target.found;
    context.pendingSize += target.size;
}

}  // namespace

void clean(TimeRecord& node, CleanContext& context)
{
    if (node.parent) {
        cleanTarget(node, context);
        return;
    }
    if (!node.checked)
        return;
    for (std::size_t i = 0; i < node.childCount() && !context.cancelled(); ++i)
        cleanTarget(*node.child(i), context);
    if (context.mode == CleanMode::Startup)
        return;
    // The group shows what all its targets hold now, cleaned or not.
    node.found = 0;
    node.size = 0;
    for (std::size_t i = 0; i < node.childCount(); ++i) {
        node.found += node.child(i)->found;
        node.size += node.child(i)->size;
    }
    if (node.listRow)
        node.listRow->showMeasures(node);
}

}  // namespace s::file::gui::dialogs::purgo
