// One node of the two-level target tree: a group (a named set of targets, one
// line of the main list) or a target (one concrete thing to measure and
// delete). Records come from the TimeRecord pool; a group owns its children
// and gives them back to the pool when it is reset or released.
#pragma once

#include "base/IObject.h"
#include "base/Pool.h"
#include "base/StrBuffer.h"
#include "engine/ListRow.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {

using Text = s::str::strbuffer::StrBuffer;

class KeepList;

// The names are the strings stored under "TargetType" in the settings.
enum TargetKind : int32_t {
    Type_RegKey_1_Level = 0,
    Type_RegKey_All_Levels = 1,
    Type_RegKey_All_Levels_IncludeSelf = 2,
    Type_RegKey_OnlyAllSubKeys = 3,
    Type_RegValue = 4,
    Type_RegValue_Wild = 5,
    Type_Folder_1_Level = 6,
    Type_Folder_All_Levels = 7,
    Type_Folder_All_Levels_IncludeSelf = 8,
    Type_Folder_OnlyAllSubFolders = 9,
    Type_File = 10,
    Type_File_Wild = 11,
    Type_File_Func = 12,
};

inline constexpr int32_t kTargetKindCount = 13;

// The stored name of a kind ("Type_File"), or nullptr when out of range.
const char16_t* targetKindName(int32_t kind);
// The kind stored under name, or -1.
int32_t targetKindFromName(const Text& name);

// Handlers of special targets, plain functions. The count handler may rewrite
// target (the location it computed); it sets size and found, starting at 0.
using TargetCountHandler = void (*)(Text& target, int64_t& size, int64_t& found, intptr_t handlerData,
                                    int32_t handlerExtra);
using TargetCleanHandler = void (*)(intptr_t handlerData, int32_t handlerExtra);
using TargetExistsHandler = bool (*)(const Text& target);
using TargetLookUpHandler = void (*)(const Text& target);

class TimeRecord : public s::thread::PooledObject<TimeRecord> {
public:
    using Children = std::vector<TimeRecord*>;

    TimeRecord() = default;
    ~TimeRecord() override;
    TimeRecord(const TimeRecord&) = delete;
    TimeRecord& operator=(const TimeRecord&) = delete;

    const char* className() const override { return "s_file_gui_dialogs_purgo_TimeRecord"; }
    void reset() override;

    // A group: checked 0, a new empty children array. iconSpec is set only
    // when one is given.
    static TimeRecord* makeGroup(const Text& id, const Text& title, const Text& description,
                                 const Text& iconSpec = Text());
    // A target of kind 0 to 11: placeholder title of the kind, description and
    // target = path, checked 1, the kind's icon.
    static TimeRecord* makeTarget(TargetKind kind, const Text& id, const Text& path);
    // A target of kind Type_File_Func served by handlers; target stays empty
    // until the count handler fills it.
    static TimeRecord* makeSpecialTarget(const Text& id, const Text& title, const Text& description,
                                         TargetCountHandler countHandler, TargetCleanHandler cleanHandler,
                                         TargetExistsHandler existsHandler, TargetLookUpHandler lookUpHandler,
                                         intptr_t handlerData, const Text& iconSpec = Text());

    // Appends child (ownership passes to this group) and sets its parent.
    TimeRecord* addChild(TimeRecord* child);
    // An independent copy from the pool; a group's copy holds copies of every
    // child, each with the copy as parent. The list row is not copied.
    TimeRecord* clone() const;
    // Gives the linked list row back to its pool and clears the link.
    void dropRow();

    bool isGroup() const { return parent == nullptr; }
    // A target is selected when it is checked and its group is checked.
    bool isSelected() const;

    // Number of children; 0 for a target.
    std::size_t childCount() const { return children ? children->size() : 0; }
    TimeRecord* child(std::size_t index) const { return (*children)[index]; }

    Text id;
    Text title;
    Text description;
    Text iconSpec;
    bool checked = false;
    bool defaultChecked = false;
    bool wildInSubfolders = false;
    Children* children = nullptr;  // owned; groups only
    bool isTarget = false;
    TimeRecord* parent = nullptr;  // not owned
    int64_t found = 0;
    int64_t size = 0;
    IListRow* listRow = nullptr;  // owned; the row showing this node
    int32_t kind = Type_File;
    Text target;
    TargetCountHandler countHandler = nullptr;
    TargetCleanHandler cleanHandler = nullptr;
    TargetExistsHandler existsHandler = nullptr;
    TargetLookUpHandler lookUpHandler = nullptr;
    // Opaque to the engine; wide enough to carry a pointer (a KB text, a
    // site index) on 64-bit Windows.
    intptr_t handlerData = 0;
    int32_t handlerExtra = 0;
    bool custom = false;
    int32_t customRecordId = 0;
    int32_t customChildRecordId = 0;
    // Targets only: what a scan and a clean of this target leave
    // (engine/KeepList.h); none for most. Shared by the targets of a group
    // and by clones.
    std::shared_ptr<const KeepList> keep;
    // Targets only: the user's own keep list (engine/UserKeepList.h), the
    // same one on every target of the tree; none while it is empty. Set by
    // the tree's builder and again when the user changes the list.
    std::shared_ptr<const KeepList> userKeep;
    // Groups only: the program whose running copy holds the group's files
    // (a browser's executable name, "chrome.exe", and the name the user
    // knows it by, "Chrome"); empty for most. While it runs the group is
    // measured but not cleaned (engine/RunningPrograms.h).
    Text guardProcess;
    Text guardName;
    // Set from a process snapshot by the runs: guardProcess runs now.
    bool guardRunning = false;
    // Targets only (a rule file's REMOVESELF): when the clean has deleted
    // what the target covers, every folder below the target's folder that
    // holds nothing, and then the folder itself, goes too. For
    // Type_File_Wild in subfolders and Type_Folder_All_Levels_IncludeSelf;
    // scanned and cleaned by engine/KeptWalk.h.
    bool removeEmptyFolders = false;
    // Groups only: what the user is told before checking the group, empty
    // for most: a language id (what its targets reach that users keep, such
    // as a browser's saved passwords), then a text as written (a rule
    // file's Warning=).
    int32_t warningTextId = 0;
    Text warning;

private:
    void releaseChildren();
};

// Owning handle for a record taken from the pool.
using TimeRecordHandle = s::thread::Pooled<TimeRecord>;

}  // namespace s::file::gui::dialogs::purgo
