#include "catalogue/TargetState.h"

#include "catalogue/CustomGroups.h"
#include "engine/CheckedStates.h"

namespace s::file::gui::dialogs::purgo {

void saveTargetState(std::span<TimeRecord* const> topLevel, s::map::IMappedData& store, s::thread::ObjLocker& lock)
{
    s::thread::ObjLocker::Guard guard(lock);
    // With auto-save on, every value would rewrite (and flush) the whole file:
    // hundreds of writes for one save. The batch makes it one, with the same
    // content.
    s::map::SaveBatch batch(store);
    for (const TimeRecord* node : topLevel)
        saveChecks(*node, kItemsPrefix, store);
    int32_t written = 0;
    for (const TimeRecord* node : topLevel) {
        if (node->custom)
            writeCustomGroup(*node, store, written++);
    }
    store.setS32(u"CustomItems", u"NumOfCustom", written);
}

}  // namespace s::file::gui::dialogs::purgo
