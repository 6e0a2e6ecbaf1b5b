// Most-recently-used lists in the registry, emptied value by value so that
// the key itself, which the owning program expects, stays.
//
// Two families share one body each:
// - letter lists (Explorer's RunMRU and search lists): values named by one
//   lower-case letter "a" to "z" with more than one byte of data, plus an
//   "MRUList" value that orders them. The clean leaves the list valid with
//   one empty entry: "a" = "" and "MRUList" = "a".
// - prefix lists: every value whose name begins with the list's prefix,
//   ignoring case ("url1", "URL7", "urlfoo" for the prefix "url"; not
//   "myurl"). The clean writes nothing back.
//
// Keys are under HKEY_CURRENT_USER and are opened with full access; a key
// that cannot be opened so counts 0 items of 0 bytes and is not cleaned.
// Values are read one at a time with a 260-character name buffer and a
// 520-byte data buffer; a value whose data does not fit still counts with its
// full length, a value whose name does not fit is never taken (its name
// cannot be read, so it cannot be deleted either).
//
// The catalogue gets one entry point per list (the handlers receive no key of
// their own: handlerData is 0), made from the table below.
#pragma once

#include "engine/TimeRecord.h"
#include "platform/RegFunctions.h"

#include <cstddef>
#include <cstdint>

namespace s::file::gui::dialogs::purgo {

enum class MruFamily : std::uint8_t { Letter, Prefix };

struct MruList {
    MruFamily family;
    const char16_t* key;     // under HKEY_CURRENT_USER
    const char16_t* prefix;  // Prefix lists only
};

// The lists of the built-in catalogue.
enum class MruInstance : std::uint8_t {
    DocFindSpecMru,          // FindDocumentList: Doc_Find_Spec_MRU
    FindComputerMru,         // FindComputerList: FindComputerMRU
    RunMru,                  // RunList: RunMRU
    TypedUrls,               // URLsInIEAddressBar: TypedURLs
    RunMruUrls,              // URLsInShellAddressBar: RunMRU
    MediaPlayerRecentUrls,   // MediaPlayerRecentURLs: RecentURLList
    MediaPlayerRecentFiles,  // MediaPlayerRecentURLs: RecentFileList
    WinZipFileMenu,          // WinZip: filemenu
    WinZipExtract,           // WinZip: extract
    PaintRecentFiles,        // PaintRecentFiles: Recent_File_List
    WordPadRecentFiles,      // WordPadRecentFiles: Recent_File_List
};

inline constexpr MruList kMruLists[] = {
    {MruFamily::Letter, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU", nullptr},
    {MruFamily::Letter, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU", nullptr},
    {MruFamily::Letter, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", nullptr},
    {MruFamily::Prefix, u"Software\\Microsoft\\Internet Explorer\\TypedURLs", u"url"},
    {MruFamily::Prefix, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", u"url"},
    {MruFamily::Prefix, u"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", u"URL"},
    {MruFamily::Prefix, u"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", u"File"},
    {MruFamily::Prefix, u"Software\\Nico Mak Computing\\WinZip\\filemenu", u"filemenu"},
    {MruFamily::Prefix, u"Software\\Nico Mak Computing\\WinZip\\extract", u"extract"},
    {MruFamily::Prefix, u"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", u"File"},
    {MruFamily::Prefix, u"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", u"File"},
};

inline constexpr std::size_t kMruInstanceCount = sizeof(kMruLists) / sizeof(kMruLists[0]);

constexpr const MruList& mruList(MruInstance instance)
{
    return kMruLists[static_cast<std::size_t>(instance)];
}

// The family bodies, for any list, on the build's registry unless another is
// given. The count sets target to "HKEY_CURRENT_USER\" + key.
void letterMruCount(const MruList& list, Text& target, int64_t& size, int64_t& found,
                    s::platform::IRegFunctions& registry = s::platform::regFunctions());
void letterMruClean(const MruList& list, s::platform::IRegFunctions& registry = s::platform::regFunctions());
void prefixMruCount(const MruList& list, Text& target, int64_t& size, int64_t& found,
                    s::platform::IRegFunctions& registry = s::platform::regFunctions());
void prefixMruClean(const MruList& list, s::platform::IRegFunctions& registry = s::platform::regFunctions());

// The entry points of one list, bound to its row of kMruLists.
template <MruInstance instance>
void letterMruCount(Text& target, int64_t& size, int64_t& found, intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    static_assert(mruList(instance).family == MruFamily::Letter);
    letterMruCount(mruList(instance), target, size, found);
}

template <MruInstance instance> void letterMruClean(intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    static_assert(mruList(instance).family == MruFamily::Letter);
    letterMruClean(mruList(instance));
}

template <MruInstance instance>
void prefixMruCount(Text& target, int64_t& size, int64_t& found, intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    static_assert(mruList(instance).family == MruFamily::Prefix);
    prefixMruCount(mruList(instance), target, size, found);
}

template <MruInstance instance> void prefixMruClean(intptr_t /*handlerData*/, int32_t /*handlerExtra*/)
{
    static_assert(mruList(instance).family == MruFamily::Prefix);
    prefixMruClean(mruList(instance));
}

struct MruHandlers {
    TargetCountHandler count;
    TargetCleanHandler clean;
};

// The count and clean entry points of one list, of its family.
MruHandlers mruHandlers(MruInstance instance);

// Exists handler of the lists: the text is "HKEY_CURRENT_USER\" and a key
// path (as the counts set it), and that key can be opened with full access.
// Any other text (for one, the empty target of a list not yet counted) does
// not exist.
bool keyExists(const Text& target);
// Look-up handler of the lists: shows the key of the text (a registry path
// without value) in the registry editor.
void keyLookUp(const Text& target);

}  // namespace s::file::gui::dialogs::purgo
