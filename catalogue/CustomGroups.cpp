#include "catalogue/CustomGroups.h"

#include "lang/TextIds.h"
#include "platform/SystemInfo.h"

#include <climits>

namespace s::file::gui::dialogs::purgo {

namespace {

constexpr std::u16string_view kCustomItems = u"CustomItems";

Text recordSection(int32_t index)
{
    Text section(kCustomItems);
    return section.append(u"\\_").appendS32(index);
}

Text targetSection(const Text& record, int32_t index)
{
    Text section(record);
    return section.append(u"\\_").appendS32(index);
}

// The kinds a record may name, compared ignoring case and as a whole.
// Type_File_Func is not among them: its handlers cannot be stored.
int32_t storedKind(const Text& name)
{
    for (int32_t kind = Type_RegKey_1_Level; kind <= Type_File_Wild; ++kind) {
        if (name.equalsIgnoreCase(targetKindName(kind)))
            return kind;
    }
    return -1;
}

}  // namespace

Text customGroupIcon()
{
    Text icon(s::platform::systemFacts().systemFolder);
    return icon.append(u"\\shell32.dll,160");
}

TimeRecordHandle readCustomGroup(s::map::IMappedData& store, int32_t index)
{
    const Text section = recordSection(index);
    const Text id = store.getString(section, u"ID");
    const Text title = store.getString(section, u"Title");
    const Text description = store.getString(section, u"Desctiption");
    TimeRecordHandle group(TimeRecord::makeGroup(id, title, description, customGroupIcon()));
    group->custom = true;
    group->customRecordId = store.getS32(section, u"CustomRecordID", 0);
    group->customChildRecordId = store.getS32(section, u"CustomChildRecordID", 0);

    const int32_t count = store.getS32(section, u"NumOfChildren", 0);
    for (int32_t j = 0; j < count; ++j) {
        const Text record = targetSection(section, j);
        if (!store.findSection(record))
            break;  // the count is larger than what the store holds
        const Text targetId = store.getString(record, u"ID");
        const Text path = store.getString(record, u"Target");
        const Text kindName = store.getString(record, u"TargetType");
        const bool inSubfolders = store.getBool(record, u"IsCheckWildFileExpressionInSubFolders", false);
        const int32_t kind = storedKind(kindName);
        if (kind < 0)
            continue;  // only this target is lost
        TimeRecord* target = TimeRecord::makeTarget(static_cast<TargetKind>(kind), targetId, path);
        if (kind == Type_File_Wild)
            target->wildInSubfolders = inSubfolders;
        group->addChild(target);
    }
    return group;
}

int readCustomGroups(s::map::IMappedData& store, std::vector<TimeRecord*>& topLevel)
{
    const int32_t count = store.getS32(kCustomItems, u"NumOfCustom", 0);
    int read = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (!store.findSection(recordSection(i)))
            break;
        topLevel.push_back(readCustomGroup(store, i).detach());
        ++read;
    }
    return read;
}

void writeCustomGroup(const TimeRecord& group, s::map::IMappedData& store, int32_t index)
{
    const Text section = recordSection(index);
    store.setString(section, u"ID", group.id);
    store.setString(section, u"Title", group.title);
    store.setString(section, u"Desctiption", group.description);
    store.setS32(section, u"CustomRecordID", group.customRecordId);
    store.setS32(section, u"CustomChildRecordID", group.customChildRecordId);
    const auto count = static_cast<int32_t>(group.childCount());
    for (int32_t j = 0; j < count; ++j) {
        const TimeRecord& target = *group.child(static_cast<std::size_t>(j));
        const Text record = targetSection(section, j);
        store.setString(record, u"ID", target.id);
        if (const char16_t* kindName = targetKindName(target.kind))
            store.setString(record, u"TargetType", kindName);
        store.setString(record, u"Target", target.target);
        store.setBool(record, u"IsCheckWildFileExpressionInSubFolders", target.wildInSubfolders);
    }
    store.setS32(section, u"NumOfChildren", count);
}

TimeRecordHandle newCustomGroup(s::map::IMappedData& store, s::lang::Localizer& localizer)
{
    // A hand-edited CustomID below 0 counts as none; at the top of the range
    // the next number would overflow, so the last one is handed out again.
    int32_t last = store.getS32(kCustomItems, u"CustomID", 0);
    if (last < 0)
        last = 0;
    const int32_t number = last < INT32_MAX ? last + 1 : INT32_MAX;

    Text id(u"Custom");
    id.appendS32(number);
    Text title;
    if (number < 10)
        title.append(u"00");
    else if (number < 100)
        title.append(u"0");
    title.appendS32(number).append(u' ').append(localizer.text(s::lang::ids::kNewCustomTitleText));
    TimeRecordHandle group(
        TimeRecord::makeGroup(id, title, localizer.text(s::lang::ids::kNewCustomDescriptionText), customGroupIcon()));
    group->custom = true;
    group->customRecordId = number;
    group->customChildRecordId = 0;
    return group;
}

void confirmNewCustomGroup(const TimeRecord& group, s::map::IMappedData& store)
{
    if (group.customRecordId > store.getS32(kCustomItems, u"CustomID", 0))
        store.setS32(kCustomItems, u"CustomID", group.customRecordId);
}

}  // namespace s::file::gui::dialogs::purgo
