// Groups from the community rule file (winapp2.ini, catalogue/RuleFile.h):
// each entry detected on this machine becomes a group after the built-in
// ones, its FileKey and RegKey lines its targets, its ExcludeKey lines the
// targets' keep list (engine/KeepList.h).
//
// Where the files are: "winapp2.ini" beside the program, then
// "savedata\winapp2.ini" (where app/RulesUpdate.h saves the downloaded
// one); both are read when both are there, and an entry whose name was read
// before is dropped as a duplicate. A file that does not parse
// (ruleFileFault) is not used at all.
//
// Variables (a path may hold several; names compare without regard to case),
// each asked of the platform, never of the process environment alone:
//   %AppData% %LocalAppData% %CommonAppData% %ProgramData% %UserProfile%
//   %Documents% %Music% %Pictures% %Video%   the shell's special folders
//   %LocalLowAppData% %Public%   the shell's known folders (%Public% falls
//                        back to the environment's PUBLIC)
//   %ProgramFiles% %CommonProgramFiles%   both the native and the x86
//                        folder where they differ
//   %ProgramFiles(x86)% %CommonProgramFiles(x86)%   the x86 folder only
//   %WinDir% %SystemRoot%   the Windows folder; %SystemDrive% and %RootDir%
//                        its drive
//   %Temp% %Tmp%         the environment's TEMP and TMP, else the system's
//                        temporary folder
//   %HomeDrive% %UserName% %AllUsersProfile%   the environment's, else the
//                        profile's drive, the account's name, ProgramData
// A '*' or '?' in a folder component ("Profiles\*\cache2") is expanded
// when the groups are built, against the folders there, never entering a
// link; a name after such a component is kept only where it is there.
//
// Mapping onto the target kinds, per folder and pattern of a FileKey:
//   "*" or "*.*"            files in the folder (Type_Folder_1_Level); with
//                           RECURSE everything in it (Type_Folder_All_Levels);
//                           with REMOVESELF the folder too
//                           (Type_Folder_All_Levels_IncludeSelf)
//   other wildcard patterns Type_File_Wild (RECURSE: in subfolders too)
//   a plain name            Type_File (with RECURSE Type_File_Wild in
//                           subfolders)
//   REMOVESELF              implies RECURSE, and marks the target
//                           removeEmptyFolders: the folders the clean leaves
//                           empty go, then the folder itself
//   RegKey key              the key with everything under it
//                           (Type_RegKey_All_Levels_IncludeSelf)
//   RegKey key|value        Type_RegValue
// Every target passes engine/TargetSafety.h when it is built; one refused
// (a protected place, a link, a relative path) is left out, and an entry
// with no target left is dropped with the reason. An entry with an
// ExcludeKey that cannot be read or placed is dropped whole: cleaning it
// without the exclusion could delete what its authors meant to keep.
//
// Groups: id "Rules_" + the name's letters and digits + "_" + a hash of
// the name (stable while the name is), title the name without its " *",
// description the category in words (and the Warning), their own icon,
// unchecked whatever the file's Default says; their targets are checked by
// default so that a checked group cleans the whole entry. A group carries
// the entry's Warning and, when a target reaches what a browser keeps for
// its user (saved passwords, bookmarks, settings, extensions), a warning of
// its own (TimeRecord::warning, warningTextId; groupWarning): the window asks
// before the group is checked.
#pragma once

#include "catalogue/RuleFile.h"
#include "engine/TimeRecord.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace s::lang {
class Localizer;
}

namespace s::file::gui::dialogs::purgo {

struct RuleNote {
    std::u16string entry;  // the entry's name
    std::u16string text;
};

// What the rule files held and what became of each entry.
struct RulesReport {
    std::vector<std::u16string> files;     // read, in order
    std::vector<std::u16string> versions;  // beside files: each one's version line ("" without one)
    // A file there that could not be read or does not parse (entry: the
    // path; text: why); none of its entries is used.
    std::vector<RuleNote> unreadable;
    int entries = 0;                    // sections read
    int detected = 0;                   // became groups
    int notDetected = 0;                // their detection does not match this machine
    int ignored = 0;                    // SpecialDetect: not supported
    std::vector<RuleNote> dropped;      // with the reason
    std::vector<RuleNote> skippedKeys;  // keys left out of entries that became groups
    // Detected entries that reach a browser's saved passwords, bookmarks or
    // settings, by name: their groups ask before they are checked.
    std::vector<std::u16string> browserData;
    int badLines = 0;
    int unknownKeys = 0;
};

class RuleGroupBuilder {
public:
    // Resolves the variables once, from the platform.
    RuleGroupBuilder();
    ~RuleGroupBuilder();
    RuleGroupBuilder(const RuleGroupBuilder&) = delete;
    RuleGroupBuilder& operator=(const RuleGroupBuilder&) = delete;

    // Appends a group for each entry of `file` detected here (ownership
    // passes to list) and accounts for every entry in the report.
    void add(const RuleFile& file, std::vector<TimeRecord*>& list);

    RulesReport& report() { return m_report; }

    // What the variables name on this machine, and its version.
    struct Machine;

    struct Context;

private:
    std::unique_ptr<Context> m_context;
    std::unordered_set<std::u16string> m_names;
    RulesReport m_report;
};

// The places the rule files are read from, beside the program; empty when
// the program's folder is unknown.
std::vector<std::u16string> ruleFilePaths();

// Reads the rule files beside the program and appends their groups.
void appendRuleGroups(std::vector<TimeRecord*>& list, RulesReport& report);

// The stable group id of an entry name.
std::u16string ruleGroupId(std::u16string_view entryName);

// The warning of a group whose rules reach a browser's saved passwords,
// bookmarks or settings (TimeRecord::warningTextId).
inline constexpr int32_t kBrowserDataWarningText = 2100207000;

// What the user is told before checking the group, in the localizer's
// language: its warnings one per line (TimeRecord::warningTextId, then
// TimeRecord::warning); empty when it has none.
std::u16string groupWarning(const TimeRecord& group, s::lang::Localizer& localizer);

}  // namespace s::file::gui::dialogs::purgo
