#include "engine/TargetSafety.h"

#include "platform/PathWin.h"
#include "platform/ProtectedPlaces.h"
#include "platform/RegDir.h"
#include "platform/Win32Codes.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::win::PathWin;
namespace p = s::platform;

// Where the attributes come from: the path object's own call, or the
// caller's.
struct Attributes {
    AttributesOf source = nullptr;
    void* context = nullptr;

    std::uint32_t of(PathWin& path) const
    {
        return source ? source(context, path.fullPath().view()) : path.attributes();
    }
};

// A link or junction (what the folder lists is another folder's).
bool isLink(PathWin& path, const Attributes& attributes)
{
    const std::uint32_t value = attributes.of(path);
    return value != p::kInvalidFileAttributes && (value & p::kFileAttributeReparsePoint) != 0;
}

// Whether the path is a protected place. The path object also compares the
// long form (GetLongPathNameW), for a short name such as "C:\PROGRA~1";
// under Wine that call lists every folder on the path, a millisecond for
// each target of every scan. Windows gives a folder a short name that
// differs from its long one only when the long one is no 8.3 name, and then
// always with a "~" in it: a path without one cannot name a protected place
// by a short name, and its own texts are compared.
bool isProtected(PathWin& path)
{
    if (path.fullPath().indexOf(u'~') >= 0 || path.text().indexOf(u'~') >= 0)
        return path.isProtectedPlace();
    if (!path.isAbsolute())
        return false;
    if (s::file::ProtectedPlaces::contains(path.fullPath().view()))
        return true;
    return path.text().view() != path.fullPath().view() && s::file::ProtectedPlaces::contains(path.text().view());
}

bool folderMayBeEmptied(std::u16string_view text, const Attributes& attributes)
{
    auto folder = PathWin::make(text);
    return folder->isAbsolute() && !isProtected(*folder) && !isLink(*folder, attributes);
}

bool fileMayGo(std::u16string_view text, const Attributes& attributes)
{
    auto file = PathWin::make(text);
    if (!file->isAbsolute())
        return false;
    const std::uint32_t value = attributes.of(*file);
    return value == p::kInvalidFileAttributes || (value & p::kFileAttributeDirectory) == 0;
}

bool wildcardMayBeExpanded(const TimeRecord& target, const Attributes& attributes)
{
    const std::u16string_view text = target.target.view();
    const std::size_t slash = text.find_last_of(u"\\/");
    if (slash == std::u16string_view::npos)
        return false;
    auto folder = PathWin::make(text.substr(0, slash));
    if (!folder->isAbsolute() || isLink(*folder, attributes))
        return false;
    if (target.wildInSubfolders || matchesEveryName(text.substr(slash + 1)))
        return !isProtected(*folder);
    return true;
}

bool judge(const TimeRecord& target, const Attributes& attributes)
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
        return folderMayBeEmptied(target.target.view(), attributes);
    case Type_File:
        return fileMayGo(target.target.view(), attributes);
    case Type_File_Wild:
        return wildcardMayBeExpanded(target, attributes);
    default:
        return true;
    }
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
    return judge(target, Attributes{});
}

bool mayReach(const TimeRecord& target, AttributesOf attributesOf, void* context)
{
    return judge(target, Attributes{attributesOf, context});
}

}  // namespace s::file::gui::dialogs::purgo
