#include "engine/TimeRecord.h"

#include "platform/SystemInfo.h"

#include <cassert>

namespace s::file::gui::dialogs::purgo {

namespace {

enum class IconBase { WindowsFolder, SystemFolder };

struct KindInfo {
    const char16_t* name;
    const char16_t* placeholderTitle;
    IconBase iconBase;
    const char16_t* iconFile;
    const char16_t* iconIndex;
};

// Value kinds show regedit's value icon, which moved from index 7 to 3 in
// Windows 6.0; the table holds the 6.0 index and iconFor() corrects it.
constexpr KindInfo kKinds[kTargetKindCount] = {
    {u"Type_RegKey_1_Level", u"Values Under Registry Key, 1-Level", IconBase::WindowsFolder, u"regedit.exe", u"0"},
    {u"Type_RegKey_All_Levels", u"All Under Registry Key", IconBase::WindowsFolder, u"regedit.exe", u"0"},
    {u"Type_RegKey_All_Levels_IncludeSelf", u"All Under Registry Key and Self", IconBase::WindowsFolder, u"regedit.exe",
     u"0"},
    {u"Type_RegKey_OnlyAllSubKeys", u"All SubKeys", IconBase::WindowsFolder, u"regedit.exe", u"0"},
    {u"Type_RegValue", u"Registry Value", IconBase::WindowsFolder, u"regedit.exe", u"3"},
    {u"Type_RegValue_Wild", u"Registry Values", IconBase::WindowsFolder, u"regedit.exe", u"3"},
    {u"Type_Folder_1_Level", u"Files Under Folder, 1-Level", IconBase::SystemFolder, u"shell32.dll", u"4"},
    {u"Type_Folder_All_Levels", u"All Under Folder", IconBase::SystemFolder, u"shell32.dll", u"4"},
    {u"Type_Folder_All_Levels_IncludeSelf", u"All Under Folder and Self", IconBase::SystemFolder, u"shell32.dll", u"4"},
    {u"Type_Folder_OnlyAllSubFolders", u"Only All Subfolders", IconBase::SystemFolder, u"shell32.dll", u"4"},
    {u"Type_File", u"File", IconBase::SystemFolder, u"shell32.dll", u"70"},
    {u"Type_File_Wild", u"Files", IconBase::SystemFolder, u"shell32.dll", u"70"},
    {u"Type_File_Func", u"", IconBase::SystemFolder, u"", u""},
};

Text iconFor(TargetKind kind)
{
    const KindInfo& info = kKinds[kind];
    const auto& facts = s::platform::systemFacts();
    Text icon(info.iconBase == IconBase::WindowsFolder ? facts.windowsFolder : facts.systemFolder);
    icon += u'\\';
    icon += info.iconFile;
    icon += u',';
    if ((kind == Type_RegValue || kind == Type_RegValue_Wild) && facts.majorVersion < 6)
        icon += u"7";
    else
        icon += info.iconIndex;
    return icon;
}

}  // namespace

const char16_t* targetKindName(int32_t kind)
{
    if (kind < 0 || kind >= kTargetKindCount)
        return nullptr;
    return kKinds[kind].name;
}

int32_t targetKindFromName(const Text& name)
{
    for (int32_t kind = 0; kind < kTargetKindCount; ++kind) {
        if (name.equals(kKinds[kind].name))
            return kind;
    }
    return -1;
}

// A record destroyed by its pool (the pool was full) ends as a reset does: the
// children go back, the row is forgotten (dropRow is its owner's business).
TimeRecord::~TimeRecord()
{
    releaseChildren();
}

void TimeRecord::reset()
{
    id.clear();
    title.clear();
    description.clear();
    iconSpec.clear();
    target.clear();
    checked = false;
    defaultChecked = false;
    wildInSubfolders = false;
    isTarget = false;
    custom = false;
    found = 0;
    size = 0;
    releaseChildren();
    // The row belongs to the list that shows it; a reset only forgets it.
    parent = nullptr;
    listRow = nullptr;
    kind = Type_File;
    countHandler = nullptr;
    cleanHandler = nullptr;
    existsHandler = nullptr;
    lookUpHandler = nullptr;
    handlerData = 0;
    handlerExtra = 0;
    customRecordId = 0;
    customChildRecordId = 0;
    keep.reset();
    userKeep.reset();
    guardProcess.clear();
    guardName.clear();
    guardRunning = false;
    removeEmptyFolders = false;
    warningTextId = 0;
    warning.clear();
}

void TimeRecord::releaseChildren()
{
    if (!children)
        return;
    Children* owned = children;
    children = nullptr;
    for (TimeRecord* child : *owned)
        child->release();
    delete owned;
}

TimeRecord* TimeRecord::makeGroup(const Text& id, const Text& title, const Text& description, const Text& iconSpec)
{
    TimeRecord* group = s::thread::Pool<TimeRecord>::take();
    group->id = id;
    group->title = title;
    group->description = description;
    if (!iconSpec.isEmpty())
        group->iconSpec = iconSpec;
    group->checked = false;
    group->isTarget = false;
    group->children = new Children();
    return group;
}

TimeRecord* TimeRecord::makeTarget(TargetKind kind, const Text& id, const Text& path)
{
    assert(kind >= Type_RegKey_1_Level && kind <= Type_File_Wild);
    TimeRecord* target = s::thread::Pool<TimeRecord>::take();
    target->id = id;
    target->title = kKinds[kind].placeholderTitle;
    target->description = path;
    target->target = path;
    target->checked = true;
    target->isTarget = true;
    target->kind = kind;
    target->iconSpec = iconFor(kind);
    return target;
}

TimeRecord* TimeRecord::makeSpecialTarget(const Text& id, const Text& title, const Text& description,
                                          TargetCountHandler countHandler, TargetCleanHandler cleanHandler,
                                          TargetExistsHandler existsHandler, TargetLookUpHandler lookUpHandler,
                                          intptr_t handlerData, const Text& iconSpec)
{
    TimeRecord* target = s::thread::Pool<TimeRecord>::take();
    target->id = id;
    target->title = title;
    target->description = description;
    target->countHandler = countHandler;
    target->cleanHandler = cleanHandler;
    target->existsHandler = existsHandler;
    target->lookUpHandler = lookUpHandler;
    target->handlerData = handlerData;
    target->handlerExtra = 0;
    target->checked = true;
    target->isTarget = true;
    target->kind = Type_File_Func;
    if (!iconSpec.isEmpty())
        target->iconSpec = iconSpec;
    return target;
}

TimeRecord* TimeRecord::addChild(TimeRecord* child)
{
    assert(children && "only groups hold children");
    children->push_back(child);
    child->parent = this;
    return this;
}

TimeRecord* TimeRecord::clone() const
{
    TimeRecord* copy = s::thread::Pool<TimeRecord>::take();
    copy->id = id;
    copy->title = title;
    copy->description = description;
    copy->iconSpec = iconSpec;
    copy->checked = checked;
    copy->defaultChecked = defaultChecked;
    copy->wildInSubfolders = wildInSubfolders;
    copy->isTarget = isTarget;
    copy->found = found;
    copy->size = size;
    copy->kind = kind;
    copy->target = target;
    copy->countHandler = countHandler;
    copy->cleanHandler = cleanHandler;
    copy->existsHandler = existsHandler;
    copy->lookUpHandler = lookUpHandler;
    copy->handlerData = handlerData;
    copy->handlerExtra = handlerExtra;
    copy->custom = custom;
    copy->customRecordId = customRecordId;
    copy->customChildRecordId = customChildRecordId;
    copy->keep = keep;
    copy->userKeep = userKeep;
    copy->guardProcess = guardProcess;
    copy->guardName = guardName;
    copy->guardRunning = guardRunning;
    copy->removeEmptyFolders = removeEmptyFolders;
    copy->warningTextId = warningTextId;
    copy->warning = warning;
    if (children) {
        copy->children = new Children();
        copy->children->reserve(children->size());
        for (const TimeRecord* child : *children)
            copy->addChild(child->clone());
    }
    return copy;
}

void TimeRecord::dropRow()
{
    if (!listRow)
        return;
    IListRow* row = listRow;
    listRow = nullptr;
    row->release();
}

bool TimeRecord::isSelected() const
{
    if (!checked)
        return false;
    return parent == nullptr || parent->checked;
}

}  // namespace s::file::gui::dialogs::purgo
