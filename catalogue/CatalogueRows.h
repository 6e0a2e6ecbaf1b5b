// The row format of the catalogue's tables and the table itself. A group row
// names the group, how its title and description are composed, its icon and,
// for the groups that look at the machine, what fills them; the target rows
// below it, up to the next group row, are its fixed targets in order.
#pragma once

#include "catalogue/CatalogueFolders.h"
#include "engine/TimeRecord.h"

#include <cstdint>
#include <span>

namespace s::file::gui::dialogs::purgo::rows {

// Where a path starts: a platform folder, a registry root, or nowhere (the
// path is written out in full).
enum class Root : std::uint8_t {
    Literal,
    Temp,
    Windows,
    System,
    ProgramFiles,
    AppData,
    LocalAppData,
    CommonAppData,
    HKCU,
    HKLM,
    HKU,
    HKCR,
};

// The twelve trace classes of the language table.
enum class Trace : std::int8_t {
    History,
    LogFiles,
    CacheFiles,
    Cookies,
    BrowseHistory,
    FormInputHistory,
    DownloadHistory,
    LogQuarantined,
    CacheHistory,
    TemporaryFiles,
    Files,
    LogHistory,
};

enum class TitleRule : std::uint8_t {
    AppName,       // A + class title suffix; prefix + A + class suffix
    AppNameInfix,  // the same with " Player" or " Toolbar" after A
    NamedText,     // A is a text of the table
    FixedPair,     // title T(n), description T(n + 1)
    HotFix,        // Windows Update (HotFix Uninstallers)
    CommonDialog,  // named title, description T(n + 1) alone
};

struct Title {
    TitleRule rule = TitleRule::AppName;
    const char16_t* name = nullptr;  // AppName, AppNameInfix
    std::int32_t textId = 0;         // NamedText, FixedPair, CommonDialog; the infix for AppNameInfix
    Trace trace = Trace::History;
};

// Browser: the browser's own program when it is installed, else the shell's
// globe (catalogue/BrowserProfiles.h).
enum class IconKind : std::uint8_t {
    None,
    Shell32,
    RegEdit,
    InternetExplorer,
    WordPad,
    Paint,
    MediaPlayer,
    Own,
    Browser
};

struct Icon {
    IconKind kind = IconKind::None;
    std::int32_t index = 0;
};

// Groups whose children come from the machine.
enum class Fill : std::uint8_t {
    None,
    HotFix,
    IECookies,
    FirefoxCache,
    FirefoxCookies,
    FirefoxHistory,
    FirefoxDownloads,
    FirefoxForms,
    OperaCache,
    OperaCookies,
    OperaHistory,
    OperaVisitedLinks,
    OperaDownloadList,
    OperaDownloadedFiles,
    RecycleBin,
};

// The fixed special targets, each bound to its handlers.
enum class Special : std::uint8_t {
    IECache,
    IEHistory,
    RecentDocuments,
    DocFindSpecMru,
    FindComputerMru,
    RunMru,
    TypedUrls,
    RunMruUrls,
    MediaPlayerUrls,
    MediaPlayerFiles,
    WinZipExtract,
    WinZipFileMenu,
    PaintRecentFiles,
    WordPadRecentFiles,
};

enum class RowType : std::uint8_t { Group, Target, Special };

struct Row {
    RowType type = RowType::Target;
    // Group rows.
    const char16_t* id = nullptr;
    Title title{};
    Icon icon{};
    Fill fill = Fill::None;
    // Target rows (id above).
    TargetKind kind = Type_File;
    Root root = Root::Literal;
    const char16_t* path = nullptr;
    // Special rows (id above): a literal title or a text id, the description
    // text id, the handlers.
    const char16_t* specialTitle = nullptr;
    std::int32_t specialTitleId = 0;
    std::int32_t descriptionId = 0;
    Special special = Special::IECache;
};

// Group rows.
constexpr Row group(const char16_t* id, Title title, Icon icon = {}, Fill fill = Fill::None)
{
    Row row;
    row.type = RowType::Group;
    row.id = id;
    row.title = title;
    row.icon = icon;
    row.fill = fill;
    return row;
}

constexpr Title app(const char16_t* name, Trace trace)
{
    return {TitleRule::AppName, name, 0, trace};
}
constexpr Title player(const char16_t* name, Trace trace)
{
    return {TitleRule::AppNameInfix, name, 980001000, trace};
}
constexpr Title toolbar(const char16_t* name, Trace trace)
{
    return {TitleRule::AppNameInfix, name, 980002000, trace};
}
constexpr Title named(std::int32_t textId, Trace trace)
{
    return {TitleRule::NamedText, nullptr, textId, trace};
}
constexpr Title pair(std::int32_t textId)
{
    return {TitleRule::FixedPair, nullptr, textId, Trace::History};
}
constexpr Title hotFix()
{
    return {TitleRule::HotFix, nullptr, 1000001000, Trace::TemporaryFiles};
}
constexpr Title commonDialog()
{
    return {TitleRule::CommonDialog, nullptr, 1000430000, Trace::History};
}

constexpr Icon shell32(std::int32_t index)
{
    return {IconKind::Shell32, index};
}
constexpr Icon own(std::int32_t index)
{
    return {IconKind::Own, index};
}
inline constexpr Icon kRegEdit{IconKind::RegEdit, 0};
inline constexpr Icon kInternetExplorer{IconKind::InternetExplorer, 0};
inline constexpr Icon kWordPad{IconKind::WordPad, 0};
inline constexpr Icon kPaint{IconKind::Paint, 0};
inline constexpr Icon kMediaPlayer{IconKind::MediaPlayer, 0};
inline constexpr Icon kBrowserIcon{IconKind::Browser, 0};

// Target rows, one helper per kind the catalogue uses.
constexpr Row target(TargetKind kind, const char16_t* id, Root root, const char16_t* path)
{
    Row row;
    row.type = RowType::Target;
    row.kind = kind;
    row.id = id;
    row.root = root;
    row.path = path;
    return row;
}
constexpr Row keyValues(const char16_t* id, Root root, const char16_t* path)
{
    return target(Type_RegKey_1_Level, id, root, path);
}
constexpr Row value(const char16_t* id, Root root, const char16_t* path)
{
    return target(Type_RegValue, id, root, path);
}
constexpr Row folderFiles(const char16_t* id, Root root, const char16_t* path)
{
    return target(Type_Folder_1_Level, id, root, path);
}
constexpr Row folderAll(const char16_t* id, Root root, const char16_t* path)
{
    return target(Type_Folder_All_Levels, id, root, path);
}
constexpr Row subfolders(const char16_t* id, Root root, const char16_t* path)
{
    return target(Type_Folder_OnlyAllSubFolders, id, root, path);
}
constexpr Row file(const char16_t* id, Root root, const char16_t* path)
{
    return target(Type_File, id, root, path);
}
constexpr Row files(const char16_t* id, Root root, const char16_t* path)
{
    return target(Type_File_Wild, id, root, path);
}

// Special rows.
constexpr Row special(const char16_t* id, const char16_t* title, std::int32_t descriptionId, Special which)
{
    Row row;
    row.type = RowType::Special;
    row.id = id;
    row.specialTitle = title;
    row.descriptionId = descriptionId;
    row.special = which;
    return row;
}
constexpr Row specialNamed(const char16_t* id, std::int32_t titleId, std::int32_t descriptionId, Special which)
{
    Row row = special(id, nullptr, descriptionId, which);
    row.specialTitleId = titleId;
    return row;
}

// The catalogue, in list order: the 134 groups of the first catalogue, then
// the groups added for today's browsers and Windows places.
std::span<const Row> catalogueRows();
std::span<const Row> addedRows();

}  // namespace s::file::gui::dialogs::purgo::rows
