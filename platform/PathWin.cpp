#include "platform/PathWin.h"

#include "platform/FileSystem.h"
#include "platform/FindPattern.h"
#include "platform/ProtectedPlaces.h"

#include <utility>
#include <vector>

namespace s::file::win {

namespace {

using s::platform::FileAttributeData;
using s::platform::FindData;
using s::platform::FindHandle;
using s::platform::IFileSystem;
using s::platform::Win32Error;
namespace p = s::platform;

constexpr std::uint32_t kInvalid = p::kInvalidFileAttributes;

// The bits SetFileAttributesW may be given; the others (directory, reparse
// point, compressed, ...) describe the entry and are not ours to pass back.
constexpr std::uint32_t kSettable = p::kFileAttributeReadOnly | p::kFileAttributeHidden | p::kFileAttributeSystem |
                                    p::kFileAttributeArchive | p::kFileAttributeTemporary | p::kFileAttributeOffline |
                                    p::kFileAttributeNotContentIndexed;

constexpr std::u16string_view kVerbatimPrefix = u"\\\\?\\";
constexpr std::u16string_view kVerbatimUncPrefix = u"\\\\?\\UNC\\";
constexpr std::u16string_view kDevicePrefix = u"\\\\.\\";

bool isDots(const std::u16string& name)
{
    return name == u"." || name == u"..";
}

// folder + "\" + name, without doubling a backslash the folder already ends
// with ("\" as the root of the current drive) and without one before a name
// of a relative folder-less pattern.
void join(std::u16string_view folder, std::u16string_view name, StrBuffer& out)
{
    out.assign(folder);
    if (!folder.empty() && folder.back() != u'\\')
        out += u'\\';
    out += name;
}

// The components of `rest` (backslash-separated) as Win32 reads a plain path:
// empty components and "." vanish, ".." takes the previous one away. At the
// start there is nothing to take: `climbed` tells that it happened, which
// for a rooted path changes nothing (the root's parent is the root).
// `append`, when given, receives "\" and each component that stays, and
// loses the last one again on "..": the path object builds the long form
// of every listed entry this way, without a list of its own.
struct Components {
    int count = 0;
    bool climbed = false;
};

Components resolve(std::u16string_view rest, StrBuffer* append = nullptr)
{
    Components out;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = rest.size();
        const std::u16string_view part = rest.substr(start, end - start);
        if (part == u"..") {
            if (out.count == 0) {
                out.climbed = true;
            } else {
                --out.count;
                if (append)
                    append->setLength(append->lastIndexOf(u'\\'));
            }
        } else if (!part.empty() && part != u".") {
            ++out.count;
            if (append) {
                *append += u'\\';
                *append += part;
            }
        }
        start = end + 1;
    }
    return out;
}

// "\\server\share\rest": false when server or share is missing.
bool splitUnc(std::u16string_view afterSlashes, std::u16string_view& server, std::u16string_view& share,
              std::u16string_view& rest)
{
    const std::size_t serverEnd = afterSlashes.find(u'\\');
    if (serverEnd == 0 || serverEnd == std::u16string_view::npos)
        return false;
    server = afterSlashes.substr(0, serverEnd);
    const std::u16string_view afterServer = afterSlashes.substr(serverEnd + 1);
    const std::size_t shareEnd = afterServer.find(u'\\');
    share = afterServer.substr(0, shareEnd);
    if (share.empty())
        return false;
    rest = shareEnd == std::u16string_view::npos ? std::u16string_view() : afterServer.substr(shareEnd + 1);
    return true;
}

bool isUncStart(std::u16string_view path)
{
    return path.size() > 2 && path[0] == u'\\' && path[1] == u'\\' && path[2] != u'\\';
}

bool isDriveRootedStart(std::u16string_view path)
{
    return path.size() >= 3 && path[1] == u':' && path[2] == u'\\';
}

// What a platform call receives for a path text built here (a child, a
// pattern): its long form whenever it has one, so that a name Win32 would
// rewrite ("dotdir." on the way to a pattern) is enumerated as it is.
const char16_t* callFormOf(const StrBuffer& plain, StrBuffer& scratch)
{
    if (PathWin::makeLongForm(plain.view(), scratch))
        return scratch.c_str();
    return plain.c_str();
}

// Calls visit(FindData) for every entry that `folder` + "\" + `mask` finds,
// "." and ".." left out. A folder that cannot be enumerated has no entries.
template <class Visit> void forEachEntry(std::u16string_view folder, std::u16string_view mask, Visit&& visit)
{
    StrBuffer pattern;
    join(folder, mask, pattern);
    StrBuffer scratch;
    IFileSystem& fs = p::fileSystem();
    FindHandle handle;
    FindData data;
    if (fs.findFirst(callFormOf(pattern, scratch), handle, data) != p::kErrorSuccess)
        return;
    do {
        if (!isDots(data.name))
            visit(static_cast<const FindData&>(data));
    } while (fs.findNext(handle, data) == p::kErrorSuccess);
}

bool isDirectoryEntry(std::uint32_t attributes)
{
    return (attributes & p::kFileAttributeDirectory) != 0;
}

bool isLink(std::uint32_t attributes)
{
    return (attributes & p::kFileAttributeReparsePoint) != 0;
}

// What a delete reports when it deleted the entry, or found it gone: a
// listed entry is deleted without asking first whether it is still there,
// and its folder may have gone too meanwhile.
bool isGone(Win32Error error)
{
    return error == p::kErrorSuccess || error == p::kErrorFileNotFound || error == p::kErrorPathNotFound;
}

bool isHiddenOrSystem(std::uint32_t attributes)
{
    return (attributes & (p::kFileAttributeHidden | p::kFileAttributeSystem)) != 0;
}

}  // namespace

PathHandle PathWin::make(std::u16string_view text)
{
    PathHandle path(s::thread::Pool<PathWin>::take());
    path->setPath(text);
    return path;
}

PathHandle PathWin::makeListed(std::u16string_view text, const FindData& entry, bool longConfirmed)
{
    PathHandle path = make(text);
    path->m_attributes = entry.attributes;
    path->m_attributesRead = true;
    path->m_size = isDirectoryEntry(entry.attributes) ? 0 : static_cast<std::int64_t>(entry.size);
    path->m_lastWrite = entry.lastWriteTime;
    path->m_sizeRead = true;
    path->m_longConfirmed = longConfirmed;
    return path;
}

bool PathWin::hasLongNamesOnly(std::u16string_view folder)
{
    const std::u16string key = ProtectedPlaces::comparisonKey(folder);
    if (key.empty())
        return false;
    // Windows gives an entry a short name that differs from its long one only
    // when the long one is no 8.3 name, and then always with a "~" in it
    // (engine/TargetSafety.cpp reads paths by the same rule): without one
    // the text is its own long path. Under Wine GetLongPathNameW lists every
    // folder on the path, a millisecond a call.
    if (folder.find(u'~') == std::u16string_view::npos)
        return true;
    // The two forms isProtectedPlace asks of each path; one that fails
    // (a plain text of MAX_PATH characters on Windows) tells nothing either
    // way there, nor here. At least one must answer.
    IFileSystem& fs = p::fileSystem();
    StrBuffer plain(folder);
    StrBuffer verbatim;
    bool answered = false;
    std::u16string longPath;
    for (const StrBuffer* form : {&verbatim, &plain}) {
        if (form == &verbatim && !makeLongForm(folder, verbatim))
            continue;
        if (fs.longPathName(form->c_str(), longPath) != p::kErrorSuccess)
            continue;
        if (ProtectedPlaces::comparisonKey(longPath) != key)
            return false;
        answered = true;
    }
    return answered;
}

void PathWin::reset()
{
    m_text.clear();
    m_full.clear();
    m_drive.clear();
    m_directory.clear();
    m_title.clear();
    m_extension.clear();
    m_long.clear();
    m_valid = false;
    m_rooted = false;
    forgetCache();
}

void PathWin::forgetCache()
{
    m_attributesRead = false;
    m_sizeRead = false;
    m_attributes = kInvalid;
    m_size = 0;
    m_lastWrite = 0;
    m_longConfirmed = false;
}

void PathWin::setPath(std::u16string_view text)
{
    // `text` may be one of this object's own strings: copy it first.
    m_text.assign(text);
    m_full.assign(m_text.view());
    m_full.replaceAll(u'/', u'\\');
    int length = m_full.length();
    while (length > 0 && m_full[length - 1] == u'\\')
        --length;
    m_full.setLength(length);
    m_drive.clear();
    m_directory.clear();
    m_title.clear();
    m_extension.clear();
    m_long.clear();
    forgetCache();

    const std::u16string_view full = m_full.view();
    m_rooted = (full.size() >= 2 && full[1] == u':') || isUncStart(full);
    // From the text as set: "C:\" loses its backslash above and would read
    // as "C:", the current folder of drive C:.
    m_absolute = ProtectedPlaces::isAbsolute(m_text.view());

    // The split that _wsplitpath makes: "C:" | "\dir\sub\" | "name" | ".ext".
    m_valid = false;
    if (full.empty())
        return;
    // Windows reads a path up to its first NUL: "C:\Users\ann<NUL>\Cache"
    // would reach the profile while every check here saw another path, and
    // a folder walk would enter the same folder for ever. Such a text names
    // nothing.
    if (full.find(u'\0') != std::u16string_view::npos) {
        m_absolute = false;
        return;
    }
    std::size_t start = 0;
    if (full.size() >= 2 && full[1] == u':')
        start = 2;
    const std::size_t lastSeparator = full.rfind(u'\\');
    const std::size_t nameStart =
        lastSeparator != std::u16string_view::npos && lastSeparator >= start ? lastSeparator + 1 : start;
    const std::u16string_view name = full.substr(nameStart);
    const std::size_t dot = name.rfind(u'.');
    const std::u16string_view title = dot == std::u16string_view::npos ? name : name.substr(0, dot);
    const std::u16string_view extension = dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
    const std::u16string_view directory = full.substr(start, nameStart - start);
    const std::size_t limit = kPartLimit;
    if (directory.size() > limit || title.size() > limit || extension.size() > limit)
        return;
    m_drive.assign(full.substr(0, start));
    m_directory.assign(directory);
    m_title.assign(title);
    m_extension.assign(extension);
    m_valid = true;
    // Every call on an absolute path goes through its long form. A plain
    // path is rewritten by Win32 before the file system sees it: trailing
    // dots and spaces go ("trailing-dot." would reach "trailing-dot"), a
    // last name like "con" or "nul.txt" opens a device, one dot at the end
    // of a folder name goes, and from MAX_PATH characters on nothing is
    // reached at all. Names like these come from enumerations (WSL, Cygwin
    // and git make them), and so measuring, listing and deleting would act
    // on another entry, or on none. The "\\?\" form is taken as it is.
    if (m_absolute) {
        if (full.size() == 2 && full[1] == u':') {
            // "C:\" lost its backslash above; "\\?\C:" would name the volume.
            StrBuffer root(full);
            root += u'\\';
            makeLongForm(root.view(), m_long);
        } else {
            makeLongForm(full, m_long);
        }
    }
}

StrBuffer PathWin::lastComponent() const
{
    StrBuffer out(m_title);
    out += m_extension;
    return out;
}

bool PathWin::makeLongForm(std::u16string_view fullPath, StrBuffer& out)
{
    // Already verbatim, or a device namespace path ("\\.\C:\..."), which is
    // no server share.
    if (fullPath.substr(0, kVerbatimPrefix.size()) == kVerbatimPrefix ||
        fullPath.substr(0, kDevicePrefix.size()) == kDevicePrefix)
        return false;
    // Built in `out`, whose block the caller keeps from entry to entry;
    // aside only when `fullPath` is a view of `out`. Nothing is written
    // before the form is known to exist.
    StrBuffer aside;
    const bool overlaps = out.aliases(fullPath);
    StrBuffer& built = overlaps ? aside : out;
    std::u16string_view rest;
    bool drive = false;
    if (isDriveRootedStart(fullPath)) {
        built.assign(kVerbatimPrefix);
        built += fullPath.substr(0, 2);
        rest = fullPath.substr(3);
        drive = true;
    } else if (isUncStart(fullPath)) {
        std::u16string_view server;
        std::u16string_view share;
        if (!splitUnc(fullPath.substr(2), server, share, rest))
            return false;
        built.assign(kVerbatimUncPrefix);
        built += server;
        built += u'\\';
        built += share;
    } else {
        return false;
    }
    const Components components = resolve(rest, &built);
    if (drive && components.count == 0)
        built += u'\\';  // "\\?\C:" would name the volume device, "\\?\C:\" names its root
    if (overlaps)
        out.assign(built.view());
    return true;
}

bool PathWin::namesRoot(std::u16string_view fullPath)
{
    std::u16string_view path = fullPath;
    bool unc = false;
    if (path.substr(0, kVerbatimUncPrefix.size()) == kVerbatimUncPrefix) {
        path = path.substr(kVerbatimUncPrefix.size());
        unc = true;
    } else if (path.substr(0, kVerbatimPrefix.size()) == kVerbatimPrefix) {
        path = path.substr(kVerbatimPrefix.size());
    } else if (isUncStart(path)) {
        path = path.substr(2);
        unc = true;
    }
    if (unc) {
        std::u16string_view server;
        std::u16string_view share;
        std::u16string_view rest;
        if (!splitUnc(path, server, share, rest))
            return true;  // a server alone, or less: nothing to delete there
        return resolve(rest).count == 0;
    }
    bool rooted = false;
    if (path.size() >= 2 && path[1] == u':') {
        path = path.substr(2);
        rooted = !path.empty() && path[0] == u'\\';
    } else if (!path.empty() && path[0] == u'\\') {
        rooted = true;
    }
    const Components components = resolve(path);
    // A relative path that climbs above its start names a parent of the
    // current directory, and an empty one the current directory itself.
    return components.count == 0 || (!rooted && components.climbed);
}

bool PathWin::exists()
{
    // Through the long form: a plain text of MAX_PATH characters or more
    // fails on Windows, and a long path would read as missing - delete path
    // would then report success without deleting.
    return m_valid && m_absolute && p::fileSystem().exists(callPath().c_str());
}

bool PathWin::isProtectedPlace()
{
    if (!m_valid || !m_absolute)
        return false;
    // The text as set too: "C:\\" became "C:" above, which alone names the
    // current folder of drive C:, not its root.
    if (ProtectedPlaces::contains(m_full.view()) ||
        (m_text.view() != m_full.view() && ProtectedPlaces::contains(m_text.view())))
        return true;
    if (m_longConfirmed)
        return false;
    // "C:\PROGRA~1" is Program Files: compare the long names. Asked of both
    // forms: Wine's GetLongPathNameW hands a "\\?\" path back unchanged
    // (8.3 names and all, and with success even when nothing is there), while
    // the plain form stops at MAX_PATH on Windows.
    std::u16string longPath;
    if (p::fileSystem().longPathName(callPath().c_str(), longPath) == p::kErrorSuccess &&
        ProtectedPlaces::contains(longPath))
        return true;
    return !m_long.isEmpty() && p::fileSystem().longPathName(m_full.c_str(), longPath) == p::kErrorSuccess &&
           ProtectedPlaces::contains(longPath);
}

std::uint32_t PathWin::attributes()
{
    if (!m_attributesRead) {
        m_attributes = m_valid && m_absolute ? p::fileSystem().attributes(callPath().c_str()) : kInvalid;
        m_attributesRead = true;
    }
    return m_attributes;
}

std::int64_t PathWin::fileSize()
{
    if (!m_sizeRead) {
        FileAttributeData data;
        m_size = 0;
        m_lastWrite = 0;
        if (m_valid && m_absolute && p::fileSystem().attributeData(callPath().c_str(), data) == p::kErrorSuccess) {
            if (!isDirectoryEntry(data.attributes))
                m_size = static_cast<std::int64_t>(data.size);
            m_lastWrite = data.lastWriteTime;
        }
        m_sizeRead = true;
    }
    return m_size;
}

std::int64_t PathWin::lastWriteTime()
{
    fileSize();
    return m_lastWrite;
}

std::int64_t PathWin::measureFolder(Descend descend, TopFiles topFiles, std::int64_t& files, std::int64_t& folders)
{
    if (!exists() || !isDirectory())
        return fileSize();
    std::int64_t bytes = 0;
    // Below a short name ("C:\DOCUME~1"), a subfolder's text is not its long
    // path, and only the long one shows a protected place.
    const bool longConfirmed = m_longConfirmed || hasLongNamesOnly(m_full.view());
    // Subfolders still to enumerate. The sums do not depend on the order, and
    // a list instead of recursion keeps a deep tree off the stack.
    std::vector<StrBuffer> pending;
    const auto measure = [&](const StrBuffer& folder, bool countFiles) {
        forEachEntry(folder.view(), u"*", [&](const FindData& entry) {
            if (isDirectoryEntry(entry.attributes)) {
                // Junctions and folder links lead elsewhere (or back up the
                // tree): what they show is not in this folder.
                if (descend == Descend::Yes && !isLink(entry.attributes)) {
                    StrBuffer subfolder;
                    join(folder.view(), entry.name, subfolder);
                    // Delete path leaves a protected place inside the tree
                    // (a Documents folder redirected into it): it is not
                    // counted either.
                    if (longConfirmed ? ProtectedPlaces::contains(subfolder.view())
                                      : make(subfolder.view())->isProtectedPlace())
                        return;
                    ++folders;
                    pending.push_back(std::move(subfolder));
                }
            } else if (countFiles) {
                bytes += static_cast<std::int64_t>(entry.size);
                ++files;
            }
        });
    };
    measure(m_full, topFiles == TopFiles::Count);
    while (!pending.empty()) {
        const StrBuffer folder = std::move(pending.back());
        pending.pop_back();
        measure(folder, true);
    }
    return bytes;
}

int PathWin::list(PathList& out, Listing listing, HiddenAndSystem hidden, Recursion recursion)
{
    if (!m_valid || !m_absolute)
        return 0;
    const int before = out.count();
    // Folders still to list, the next one last; subfolders go on in reverse
    // so that they come off in enumeration order, depth first.
    std::vector<StrBuffer> pending;
    std::vector<StrBuffer> subfolders;
    pending.push_back(m_full);
    StrBuffer child;
    // Asked once for the walk: the entries below have their long names.
    const bool longConfirmed = m_longConfirmed || hasLongNamesOnly(m_full.view());
    while (!pending.empty()) {
        const StrBuffer folder = std::move(pending.back());
        pending.pop_back();
        subfolders.clear();
        forEachEntry(folder.view(), u"*", [&](const FindData& entry) {
            if (isLink(entry.attributes))
                return;
            if (hidden == HiddenAndSystem::Skip && isHiddenOrSystem(entry.attributes))
                return;
            const bool directory = isDirectoryEntry(entry.attributes);
            join(folder.view(), entry.name, child);
            if (directory ? listing != Listing::Files : listing != Listing::Subdirectories)
                out.add(makeListed(child.view(), entry, longConfirmed));
            if (directory && recursion == Recursion::AllLevels)
                subfolders.push_back(child);
        });
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back(std::move(*it));
    }
    return out.count() - before;
}

int PathWin::listChildren(PathList& out, HiddenAndSystem hidden, Recursion recursion)
{
    return list(out, Listing::Children, hidden, recursion);
}

int PathWin::listSubdirectories(PathList& out, HiddenAndSystem hidden, Recursion recursion)
{
    return list(out, Listing::Subdirectories, hidden, recursion);
}

int PathWin::listFiles(PathList& out, HiddenAndSystem hidden, Recursion recursion)
{
    return list(out, Listing::Files, hidden, recursion);
}

int PathWin::expandWildcard(PathList& out, HiddenAndSystem hidden, InSubfolders inSubfolders)
{
    if (!m_valid || !m_absolute)
        return 0;
    const int before = out.count();
    const int separator = m_full.lastIndexOf(u'\\');
    // "\*.tmp": the folder is the root of the current drive, kept as "\".
    const std::u16string_view folderPart =
        separator < 0 ? std::u16string_view() : m_full.substr(0, separator == 0 ? 1 : separator);
    const std::u16string_view mask = separator < 0 ? m_full.view() : m_full.substr(separator + 1);
    std::vector<StrBuffer> pending;
    std::vector<StrBuffer> subfolders;
    pending.emplace_back(folderPart);
    StrBuffer child;
    const bool longConfirmed = m_longConfirmed || hasLongNamesOnly(folderPart);
    // With subfolders, one enumeration of everything gives both the files
    // the mask matches and the folders to go into: a second pass over "*"
    // for the folders alone doubled the walk's cost (Wine reads each entry's
    // Unix metadata for every enumeration that reports it). The mask is
    // matched here either way, on the long name: Windows also matches it
    // against the 8.3 short name, so "*.log" would report "x.logs"
    // (X~1.LOG) and only the long name counts. Without subfolders the
    // mask goes to the system, which then reports only the matches.
    const std::u16string_view asked = inSubfolders == InSubfolders::Yes ? std::u16string_view(u"*") : mask;
    while (!pending.empty()) {
        const StrBuffer folder = std::move(pending.back());
        pending.pop_back();
        subfolders.clear();
        forEachEntry(folder.view(), asked, [&](const FindData& entry) {
            if (isLink(entry.attributes))
                return;
            if (hidden == HiddenAndSystem::Skip && isHiddenOrSystem(entry.attributes))
                return;
            if (isDirectoryEntry(entry.attributes)) {
                if (inSubfolders == InSubfolders::Yes) {
                    subfolders.emplace_back();
                    join(folder.view(), entry.name, subfolders.back());
                }
                return;
            }
            if (!s::platform::findPatternMatches(mask, entry.name))
                return;
            join(folder.view(), entry.name, child);
            out.add(makeListed(child.view(), entry, longConfirmed));
        });
        // Subfolders after the folder's own files, depth first, each in
        // enumeration order.
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back(std::move(*it));
    }
    return out.count() - before;
}

bool PathWin::clearReadOnly()
{
    IFileSystem& fs = p::fileSystem();
    if (!m_valid)
        return false;
    const std::uint32_t now = fs.attributes(callPath().c_str());
    forgetCache();
    // All bits set means "unreadable", not "every attribute": writing back
    // anything derived from it would make the entry hidden, system, ...
    if (now == kInvalid)
        return false;
    if (!(now & p::kFileAttributeReadOnly))
        return true;
    std::uint32_t kept = now & kSettable & ~p::kFileAttributeReadOnly;
    if (kept == 0)
        kept = p::kFileAttributeNormal;  // 0 is not accepted as "no attributes" everywhere
    return fs.setAttributes(callPath().c_str(), kept) == p::kErrorSuccess;
}

bool PathWin::deleteFileNow()
{
    IFileSystem& fs = p::fileSystem();
    Win32Error error = fs.deleteFile(callPath().c_str());
    if (error == p::kErrorAccessDenied) {
        // DeleteFileW refuses a read-only file with access denied; so does a
        // file whose ACL forbids it, which the second attempt leaves alone.
        clearReadOnly();
        error = fs.deleteFile(callPath().c_str());
    }
    return isGone(error);
}

bool PathWin::removeFolderNow()
{
    IFileSystem& fs = p::fileSystem();
    Win32Error error = fs.removeDirectory(callPath().c_str());
    // Windows refuses to remove a read-only folder (access denied) even when
    // it is empty; Wine ignores the bit. Clear it and try once more.
    if (error == p::kErrorAccessDenied && clearReadOnly())
        error = fs.removeDirectory(callPath().c_str());
    return isGone(error);
}

void PathWin::scheduleAtReboot()
{
    // MoveFileExW(MOVEFILE_DELAY_UNTIL_REBOOT) needs administrator rights;
    // without them the entry stays and the next scan finds it again.
    p::fileSystem().deleteAtReboot(callPath().c_str());
}

PathWin::Step PathWin::startDelete(NotifyShell notify, AtReboot atReboot)
{
    // Drive and share roots, the current directory and its parents are never
    // deleted, nor texts of 3 characters or fewer ("C:\", "\", ":").
    if (m_full.length() <= 3 || namesRoot(m_full.view()))
        return Step::Failed;
    // A text that could not be split says nothing about what is there; it is
    // not reported as gone. A relative text would act on whatever the current
    // folder is (System32, for a program the Task Scheduler starts).
    if (!m_valid || !m_absolute)
        return Step::Failed;
    // An entry of a listing knows its attributes from the enumeration; any
    // other path asks once. (One GetFileAttributesW answers both "is it
    // there" and "what is it": a failure of either kind is "not there".)
    std::uint32_t attributes = m_attributesRead ? m_attributes : kInvalid;
    if (attributes == kInvalid) {
        forgetCache();
        attributes = this->attributes();
        if (attributes == kInvalid)
            return Step::Gone;
    }
    IFileSystem& fs = p::fileSystem();
    if (attributes != kInvalid && !isDirectoryEntry(attributes)) {
        // A file, or a link to a file. (Wine 8's DeleteFileW on a symbolic
        // link deletes the target; Windows deletes the link.)
        if (deleteFileNow()) {
            if (notify == NotifyShell::Yes)
                fs.notifyChange(p::kShellEventDelete, m_full.c_str());
            return Step::Gone;
        }
        if (atReboot == AtReboot::Schedule)
            scheduleAtReboot();
        return Step::Failed;
    }
    // A protected place is neither removed nor emptied, wherever it lies in
    // the tree being deleted; nor is it put on the boot-time list. (An entry
    // listed below a short name is asked by its long path.)
    if (isProtectedPlace())
        return Step::Failed;
    if (removeFolderNow()) {
        if (notify == NotifyShell::Yes)
            fs.notifyChange(p::kShellEventRmdir, m_full.c_str());
        return Step::Gone;
    }
    // Never list through a link: its entries are the target's. Windows
    // removes a junction or folder link with RemoveDirectoryW; Wine 8 fails
    // with ERROR_DIR_NOT_EMPTY on a Unix symbolic link and leaves it, and
    // going on would delete the target's contents. Likewise a folder whose
    // attributes cannot be read may be a link.
    if (attributes == kInvalid || isLink(attributes)) {
        if (atReboot == AtReboot::Schedule)
            scheduleAtReboot();
        return Step::Failed;
    }
    return Step::EnterFolder;
}

bool PathWin::finishFolder(bool childrenGone, NotifyShell notify, AtReboot atReboot)
{
    if (childrenGone && removeFolderNow()) {
        if (notify == NotifyShell::Yes)
            p::fileSystem().notifyChange(p::kShellEventRmdir, m_full.c_str());
        return true;
    }
    // Its children are already on the boot-time list when they failed, so
    // the list holds them before their folder.
    if (atReboot == AtReboot::Schedule)
        scheduleAtReboot();
    return false;
}

bool PathWin::deletePath(NotifyShell notify, AtReboot atReboot)
{
    // The path as given may use short names ("C:\DOCUME~1"); the places
    // below it come from listings, which give long names.
    if (isProtectedPlace())
        return false;
    const Step step = startDelete(notify, atReboot);
    if (step != Step::EnterFolder)
        return step == Step::Gone;

    // Children before their folder, depth first, without recursion: a frame
    // per folder being emptied, its children listed once when it is entered.
    struct Frame {
        PathWin* folder;
        PathListHandle children;
        int next;
        bool childrenGone;
    };
    std::vector<Frame> frames;
    const auto enter = [&frames](PathWin& folder) {
        PathListHandle children = PathListHandle::take();
        folder.listChildren(*children, HiddenAndSystem::Include, Recursion::TopLevel);
        frames.push_back(Frame{&folder, std::move(children), 0, true});
    };
    enter(*this);
    for (;;) {
        Frame& top = frames.back();
        if (top.next < top.children->count()) {
            PathWin& child = top.children->get(top.next++);
            const Step childStep = child.startDelete(NotifyShell::No, atReboot);
            if (childStep == Step::EnterFolder)
                enter(child);  // `top` is not used after this
            else if (childStep == Step::Failed)
                top.childrenGone = false;
            continue;
        }
        const bool gone =
            top.folder->finishFolder(top.childrenGone, top.folder == this ? notify : NotifyShell::No, atReboot);
        frames.pop_back();
        if (frames.empty())
            return gone;
        if (!gone)
            frames.back().childrenGone = false;
    }
}

bool PathWin::removeIfEmpty(NotifyShell notify)
{
    if (m_full.length() <= 3 || namesRoot(m_full.view()) || !m_valid || !m_absolute || isProtectedPlace())
        return false;
    if (!exists())
        return true;
    const std::uint32_t attributes = this->attributes();
    // A link is left alone: Windows would remove a junction whatever its
    // target holds.
    if (attributes == kInvalid || !isDirectoryEntry(attributes) || isLink(attributes))
        return false;
    if (!removeFolderNow())
        return false;
    if (notify == NotifyShell::Yes)
        p::fileSystem().notifyChange(p::kShellEventRmdir, m_full.c_str());
    return true;
}

void PathList::clear()
{
    std::vector<PathWin*> items = std::move(m_items);
    m_items.clear();
    for (PathWin* item : items)
        item->release();
}

}  // namespace s::file::win
