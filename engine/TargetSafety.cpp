#include "engine/TargetSafety.h"

#include "platform/PathWin.h"
#include "platform/RegDir.h"
#include "platform/Win32Codes.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::win::PathWin;
namespace p = s::platform;

// A link or junction (what the folder lists is another folder's).
bool isLink(PathWin& path)
{
    const std::uint32_t attributes = path.attributes();
    return attributes != p::kInvalidFileAttributes && (attributes & p::kFileAttributeReparsePoint) != 0;
}

bool folderMayBeEmptied(std::u16string_view text)
{
    auto folder = PathWin::make(text);
    return folder->isAbsolute() && !folder->isProtectedPlace() && !isLink(*folder);
}

bool fileMayGo(std::u16string_view text)
{
    auto file = PathWin::make(text);
    if (!file->isAbsolute())
        return false;
    const std::uint32_t attributes = file->attributes();
    return attributes == p::kInvalidFileAttributes || (attributes & p::kFileAttributeDirectory) == 0;
}

bool wildcardMayBeExpanded(const TimeRecord& target)
{
    const std::u16string_view text = target.target.view();
    const std::size_t slash = text.find_last_of(u"\\/");
    if (slash == std::u16string_view::npos)
        return false;
    auto folder = PathWin::make(text.substr(0, slash));
    if (!folder->isAbsolute() || isLink(*folder))
        return false;
    if (target.wildInSubfolders || matchesEveryName(text.substr(slash + 1)))
        return !folder->isProtectedPlace();
    return true;
}

}  // namespace

bool matchesEveryName(std::u16string_view pattern)
{
    bool star = false;
    for (char16_t c : pattern) {
        // '<' is the star of the DOS wildcards ('>' and '"' their '?' and
        // '.'), which FindFirstFileW takes as well.
        if (c == u'*' || c == u'<')
            star = true;
        else if (c != u'?' && c != u'.' && c != u'>' && c != u'"')
            return false;
    }
    return star;
}

bool mayReach(const TimeRecord& target)
{
    if (!target.parent && !target.isTarget)
        return true;
    switch (target.kind) {
    case Type_RegKey_1_Level:
    case Type_RegKey_All_Levels:
    case Type_RegKey_All_Levels_IncludeSelf:
    case Type_RegKey_OnlyAllSubKeys:
        return !s::reg::win::RegDir::make(target.target.view())->isProtectedKey() &&
               !s::reg::win::RegDir::namesLink(target.target.view());
    case Type_Folder_1_Level:
    case Type_Folder_All_Levels:
    case Type_Folder_All_Levels_IncludeSelf:
    case Type_Folder_OnlyAllSubFolders:
        return folderMayBeEmptied(target.target.view());
    case Type_File:
        return fileMayGo(target.target.view());
    case Type_File_Wild:
        return wildcardMayBeExpanded(target);
    default:
        return true;
    }
}

}  // namespace s::file::gui::dialogs::purgo
