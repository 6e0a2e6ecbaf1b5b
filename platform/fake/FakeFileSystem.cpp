#include "platform/fake/FakeFileSystem.h"

#include "platform/FindPattern.h"
#include "platform/fake/HandleTable.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace s::platform {

namespace {

// MAX_PATH counts the terminating zero: a plain path of 260 characters or
// more does not fit.
constexpr std::size_t kMaxPath = 260;
// The longest path NT accepts at all (a UNICODE_STRING's 65534 bytes).
constexpr std::size_t kMaxVerbatimPath = 32767;
constexpr int kMaxLinkDepth = 16;

constexpr std::uint32_t kSettableAttributes = kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem |
                                              kFileAttributeArchive | kFileAttributeTemporary | kFileAttributeOffline |
                                              kFileAttributeNotContentIndexed;

char16_t fold(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::u16string folded(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = fold(c);
    return out;
}

bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool hasWildcard(std::u16string_view name)
{
    return name.find_first_of(u"*?<>\"") != std::u16string_view::npos;
}

// Characters no Windows file name may hold (wildcards aside).
bool hasBadCharacter(std::u16string_view name)
{
    for (char16_t c : name)
        if (c < 0x20 || c == u'|' || c == u':')
            return true;
    return false;
}

enum class Kind : std::uint8_t { File, Folder, FolderLink, FileLink };

struct Node {
    std::u16string name;
    Kind kind = Kind::Folder;
    std::uint32_t attributes = 0;  // the settable bits only
    std::uint64_t size = 0;
    std::int64_t lastWriteTime = kFakeFileTime;
    FileFault fault = FileFault::None;
    std::u16string linkTarget;  // full path, for links
    LinkRemoval removal = LinkRemoval::RemovesLink;
    std::u16string shortName;                                  // the 8.3 alias a test gave it, or empty
    std::string content;                                       // the bytes of a file written or seeded with them
    bool hasContent = false;                                   // else it reads as `size` zero bytes
    std::map<std::u16string, std::unique_ptr<Node>> children;  // by folded name: NTFS order
    // Children ever given an 8.3 alias (not lowered when one goes): a name
    // not found among the long names is looked for among the aliases only
    // when there may be one, so that a miss in a large folder stays cheap.
    std::size_t shortNamed = 0;

    bool isFolder() const { return kind == Kind::Folder || kind == Kind::FolderLink; }
};

std::uint32_t reportedAttributes(const Node& node)
{
    switch (node.kind) {
    case Kind::Folder:
        return kFileAttributeDirectory | node.attributes;
    case Kind::FolderLink:
        return kFileAttributeDirectory | kFileAttributeReparsePoint | node.attributes;
    case Kind::FileLink:
        return kFileAttributeReparsePoint | node.attributes;
    case Kind::File:
        break;
    }
    return node.attributes ? node.attributes : kFileAttributeNormal;
}

struct ParsedPath {
    Win32Error error = kErrorSuccess;
    std::u16string root;  // "C:" or "\\server\share"
    std::vector<std::u16string> parts;
    bool trailingSeparator = false;
    // A plain path whose last name is a DOS device ("C:\junk\nul.txt"):
    // Win32 hands the device to the call, never the file of that name.
    std::u16string device;

    std::u16string text() const
    {
        std::u16string out = root;
        if (parts.empty())
            out += u'\\';
        for (const auto& part : parts) {
            out += u'\\';
            out += part;
        }
        return out;
    }
};

enum class ParseMode : std::uint8_t {
    Operation,  // every component a plain name; the last one loses trailing dots and spaces
    Pattern,    // the last component is a find mask, taken as typed
    Seeding,    // as Operation, without the MAX_PATH limit and without devices
};

// The DOS device a last path component names, folded ("NUL"), or empty.
// Win32 (RtlIsDosDeviceName_U) looks at the name without its trailing dots
// and spaces, up to its first dot or colon, without the spaces before that:
// "nul", "NUL.txt", "nul .log", "con." and "com1.tar.gz" are all devices.
std::u16string deviceNamed(std::u16string_view name)
{
    std::u16string_view base = name.substr(0, name.find_first_of(u".:"));
    while (!base.empty() && base.back() == u' ')
        base.remove_suffix(1);
    std::u16string key(base);
    for (char16_t& c : key)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    if (key == u"CON" || key == u"PRN" || key == u"AUX" || key == u"NUL")
        return key;
    if (key.size() == 4 && (key.substr(0, 3) == u"COM" || key.substr(0, 3) == u"LPT") && key[3] >= u'1' &&
        key[3] <= u'9')
        return key;
    return {};
}

std::vector<std::u16string_view> split(std::u16string_view text)
{
    std::vector<std::u16string_view> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// Checks the components: wildcards only in a find mask, no forbidden
// characters anywhere.
Win32Error checkNames(const ParsedPath& path, ParseMode mode)
{
    for (std::size_t k = 0; k < path.parts.size(); ++k) {
        const bool mask = mode == ParseMode::Pattern && k + 1 == path.parts.size();
        if (hasBadCharacter(path.parts[k]) || (!mask && hasWildcard(path.parts[k])))
            return kErrorInvalidName;
    }
    return kErrorSuccess;
}

class FakeFileSystemImpl final : public FakeFileSystem {
public:
    FakeFileSystemImpl() { resetLocked(); }

    // ---- IFileSystem ----

    Win32Error findFirst(const char16_t* pattern, FindHandle& handle, FindData& data) override
    {
        handle.close();
        if (!pattern)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        ++m_calls.findFirst;
        const ParsedPath parsed = parse(pattern, ParseMode::Pattern);
        if (parsed.error)
            return parsed.error;
        if (parsed.parts.empty() || parsed.trailingSeparator)
            return kErrorFileNotFound;
        const std::u16string& mask = parsed.parts.back();
        Win32Error error = kErrorSuccess;
        Node* folder = walk(parsed, parsed.parts.size() - 1, error);
        if (!folder)
            return error == kErrorDirectory ? kErrorInvalidName : error;
        if (folder->fault == FileFault::ListDenied)
            return kErrorAccessDenied;

        std::vector<FindData> entries;
        if (!isRoot(folder)) {
            for (const char16_t* dots : {u".", u".."})
                if (findPatternMatches(mask, dots))
                    entries.push_back({dots, kFileAttributeDirectory, 0, folder->lastWriteTime});
        }
        for (const auto& [key, child] : folder->children) {
            // Windows tries the mask on the short name too.
            if (!findPatternMatches(mask, child->name) &&
                (child->shortName.empty() || !findPatternMatches(mask, child->shortName)))
                continue;
            const std::uint64_t size = child->kind == Kind::File ? child->size : 0;
            entries.push_back({child->name, reportedAttributes(*child), size, child->lastWriteTime});
        }
        if (entries.empty())
            return kErrorFileNotFound;
        data = entries.front();
        adopt(handle, m_finds.open(Enumeration{std::move(entries), 1}));
        return kErrorSuccess;
    }

    Win32Error findNext(FindHandle& handle, FindData& data) override
    {
        std::lock_guard lock(m_mutex);
        ++m_calls.findNext;
        Enumeration* found = owns(handle) ? m_finds.find(rawOf(handle)) : nullptr;
        if (!found)
            return kErrorInvalidHandle;
        Enumeration& walkState = *found;
        if (walkState.next >= walkState.entries.size())
            return kErrorNoMoreFiles;
        data = walkState.entries[walkState.next++];
        return kErrorSuccess;
    }

    std::uint32_t attributes(const char16_t* path, Win32Error* error) override
    {
        FileAttributeData data;
        Win32Error result = kErrorSuccess;
        {
            std::lock_guard lock(m_mutex);
            ++m_calls.attributes;
            // GetFileAttributesW on a device name succeeds (Windows and
            // Wine alike): the device "exists" as an archive file.
            if (path && !parse(path, ParseMode::Operation).device.empty())
                data.attributes = kFileAttributeArchive;
            else
                result = attributeDataLocked(path, data);
        }
        if (error)
            *error = result;
        return result ? kInvalidFileAttributes : data.attributes;
    }

    Win32Error attributeData(const char16_t* path, FileAttributeData& data) override
    {
        std::lock_guard lock(m_mutex);
        ++m_calls.attributes;
        return attributeDataLocked(path, data);
    }

    Win32Error attributeDataLocked(const char16_t* path, FileAttributeData& data)
    {
        if (!path)
            return kErrorInvalidParameter;
        Located at = locate(path, ParseMode::Operation);
        if (!at.parsed.device.empty())
            return kErrorBadDevType;  // what Wine gives for most of them
        if (at.error)
            return at.error;
        if (at.parsed.trailingSeparator && !at.node->isFolder())
            return kErrorPathNotFound;
        data.attributes = reportedAttributes(*at.node);
        data.size = at.node->kind == Kind::File ? at.node->size : 0;
        data.lastWriteTime = at.node->lastWriteTime;
        return kErrorSuccess;
    }

    bool exists(const char16_t* path) override { return attributes(path, nullptr) != kInvalidFileAttributes; }

    Win32Error longPathName(const char16_t* path, std::u16string& longPath) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        ++m_calls.longPathName;
        const ParsedPath parsed = parse(path, ParseMode::Operation);
        if (parsed.error)
            return parsed.error;
        if (!parsed.device.empty())
            return kErrorBadDevType;
        Node* node = findRoot(parsed.root);
        if (!node)
            return kErrorPathNotFound;
        std::u16string out = parsed.root;
        if (parsed.parts.empty())
            out += u'\\';
        for (std::size_t k = 0; k < parsed.parts.size(); ++k) {
            Node* next = node->isFolder() ? child(node, parsed.parts[k]) : nullptr;
            if (!next)
                return k + 1 == parsed.parts.size() ? kErrorFileNotFound : kErrorPathNotFound;
            out += u'\\';
            out += next->name;
            if (k + 1 == parsed.parts.size())
                break;
            if (next->kind == Kind::FolderLink)
                next = follow(next, 0);
            if (!next)
                return kErrorPathNotFound;
            node = next;
        }
        // The verbatim prefix stays as given, as GetLongPathNameW keeps it.
        longPath = std::u16string_view(path).substr(0, 4) == u"\\\\?\\" ? u"\\\\?\\" + out : out;
        return kErrorSuccess;
    }

    Win32Error deleteFile(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        ++m_calls.deleteFile;
        Located at = locate(path, ParseMode::Operation);
        if (at.parsed.error)
            return at.parsed.error;
        if (at.parsed.trailingSeparator)
            return kErrorInvalidName;
        if (at.error)
            return at.error;
        Node& node = *at.node;
        if (node.isFolder() || !at.parent)
            return kErrorAccessDenied;
        // Windows opens the file for delete access first (an ACL or another
        // opener without delete sharing stops it there), and only then finds
        // the read-only bit.
        if (node.fault == FileFault::AccessDenied)
            return kErrorAccessDenied;
        if (node.fault == FileFault::InUse)
            return kErrorSharingViolation;
        if (node.attributes & kFileAttributeReadOnly)
            return kErrorAccessDenied;
        at.parent->children.erase(folded(node.name));
        return kErrorSuccess;
    }

    Win32Error removeDirectory(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        ++m_calls.removeDirectory;
        Located at = locate(path, ParseMode::Operation);
        if (at.error)
            return at.error;
        Node& node = *at.node;
        if (!node.isFolder())
            return kErrorDirectory;
        if (!at.parent)
            return node.children.empty() ? kErrorAccessDenied : kErrorDirNotEmpty;
        if (node.fault == FileFault::AccessDenied)
            return kErrorAccessDenied;
        if (node.fault == FileFault::InUse)
            return kErrorSharingViolation;
        if (node.attributes & kFileAttributeReadOnly)
            return kErrorAccessDenied;
        if (node.kind == Kind::FolderLink && node.removal == LinkRemoval::Fails)
            return kErrorDirNotEmpty;
        if (!node.children.empty())
            return kErrorDirNotEmpty;
        at.parent->children.erase(folded(node.name));
        return kErrorSuccess;
    }

    Win32Error readFile(const char16_t* path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Operation);
        if (at.error)
            return at.error;
        const Node& node = *at.node;
        if (node.isFolder() || !at.parent)
            return kErrorAccessDenied;
        if (node.fault == FileFault::InUse)
            return kErrorSharingViolation;
        if (node.fault == FileFault::ReadLocked)
            return kErrorLockViolation;
        const std::size_t size = node.hasContent ? node.content.size() : static_cast<std::size_t>(node.size);
        if (size > maxBytes)
            return kErrorFileTooLarge;
        if (node.hasContent)
            bytes.assign(node.content.begin(), node.content.end());
        else
            bytes.assign(size, 0);
        return kErrorSuccess;
    }

    Win32Error writeFile(const char16_t* path, const std::uint8_t* bytes, std::size_t count, Flush) override
    {
        if (!path || (!bytes && count))
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Operation);
        if (at.parsed.error)
            return at.parsed.error;
        if (!at.parsed.device.empty())
            return kErrorInvalidHandle;
        if (!at.parent)
            return at.parsed.parts.empty() ? kErrorAccessDenied : kErrorPathNotFound;
        if (m_writeFailure)
            return m_writeFailure;
        if (at.node) {
            if (const Win32Error refused = refusesChange(*at.node))
                return refused;
        }
        Node* node = at.node;
        if (!node) {
            auto entry = std::make_unique<Node>();
            entry->name = at.parsed.parts.back();
            entry->kind = Kind::File;
            entry->attributes = kFileAttributeArchive;
            node = entry.get();
            at.parent->children[folded(entry->name)] = std::move(entry);
        }
        // CREATE_ALWAYS truncates first; a full disk then takes what fits.
        const bool fits = m_diskSpace < 0 || count <= static_cast<std::size_t>(m_diskSpace);
        const std::size_t kept = fits ? count : static_cast<std::size_t>(m_diskSpace);
        node->content.assign(reinterpret_cast<const char*>(bytes), kept);
        node->hasContent = true;
        node->size = kept;
        if (!fits)
            return kErrorDiskFull;
        ++m_writeCount;
        return kErrorSuccess;
    }

    Win32Error moveReplacing(const char16_t* from, const char16_t* to) override
    {
        if (!from || !to)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        Located source = locate(from, ParseMode::Operation);
        if (source.error)
            return source.error;
        if (!source.parent)
            return kErrorAccessDenied;
        Located target = locate(to, ParseMode::Operation);
        if (target.parsed.error)
            return target.parsed.error;
        if (!target.parsed.device.empty())
            return kErrorInvalidHandle;
        if (!target.parent)
            return target.parsed.parts.empty() ? kErrorAccessDenied : kErrorPathNotFound;
        if (m_writeFailure)
            return m_writeFailure;
        if (source.node->fault == FileFault::InUse)
            return kErrorSharingViolation;
        if (target.node == source.node)
            return kErrorSuccess;
        if (target.node) {
            if (target.node->isFolder())
                return kErrorAccessDenied;
            if (const Win32Error refused = refusesChange(*target.node))
                return refused;
        }
        std::unique_ptr<Node> moved = std::move(source.parent->children[folded(source.node->name)]);
        source.parent->children.erase(folded(moved->name));
        if (target.node)
            target.parent->children.erase(folded(target.node->name));
        moved->name = target.parsed.parts.back();
        target.parent->children[folded(moved->name)] = std::move(moved);
        return kErrorSuccess;
    }

    Win32Error createDirectory(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Operation);
        if (at.parsed.error)
            return at.parsed.error;
        if (!at.parsed.device.empty())
            return kErrorInvalidHandle;
        if (!at.parent)
            return at.parsed.parts.empty() ? kErrorAlreadyExists : kErrorPathNotFound;
        if (at.node)
            return kErrorAlreadyExists;
        if (m_writeFailure)
            return m_writeFailure;
        auto folder = std::make_unique<Node>();
        folder->name = at.parsed.parts.back();
        folder->kind = Kind::Folder;
        at.parent->children[folded(folder->name)] = std::move(folder);
        return kErrorSuccess;
    }

    Win32Error setAttributes(const char16_t* path, std::uint32_t attributes) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Operation);
        if (at.error)
            return at.error;
        if (at.node->fault == FileFault::AccessDenied)
            return kErrorAccessDenied;
        at.node->attributes = attributes & kSettableAttributes;
        return kErrorSuccess;
    }

    Win32Error deleteAtReboot(const char16_t* path) override
    {
        if (!path)
            return kErrorInvalidParameter;
        std::lock_guard lock(m_mutex);
        const ParsedPath parsed = parse(path, ParseMode::Operation);
        if (parsed.error)
            return parsed.error;
        if (const Win32Error bad = checkNames(parsed, ParseMode::Operation))
            return bad;
        if (m_rebootFailure)
            return m_rebootFailure;
        // The boot-time list holds what the path names: for a device name
        // the device, so that the file of that name is never deleted.
        m_reboot.push_back(parsed.device.empty() ? parsed.text() : u"\\\\.\\" + parsed.device);
        return kErrorSuccess;
    }

    void notifyChange(long event, const char16_t* path) override
    {
        std::lock_guard lock(m_mutex);
        m_notifications.push_back({event, path ? std::u16string(path) : std::u16string()});
    }

    // ---- test API ----

    bool addFolder(std::u16string_view path, std::uint32_t attributes) override
    {
        std::lock_guard lock(m_mutex);
        Node* node = create(path, Kind::Folder);
        if (node)
            node->attributes = attributes & kSettableAttributes;
        return node != nullptr;
    }

    bool addFile(std::u16string_view path, std::uint64_t size, std::uint32_t attributes) override
    {
        std::lock_guard lock(m_mutex);
        Node* node = create(path, Kind::File);
        if (node) {
            node->size = size;
            node->attributes = attributes & kSettableAttributes;
        }
        return node != nullptr;
    }

    bool addFileWithContent(std::u16string_view path, std::string_view bytes) override
    {
        std::lock_guard lock(m_mutex);
        Node* node = create(path, Kind::File);
        if (node) {
            node->content.assign(bytes);
            node->hasContent = true;
            node->size = bytes.size();
        }
        return node != nullptr;
    }

    bool addFolderLink(std::u16string_view path, std::u16string_view target, LinkRemoval removal) override
    {
        std::lock_guard lock(m_mutex);
        const ParsedPath targetPath = parse(target, ParseMode::Seeding);
        if (targetPath.error)
            return false;
        Node* node = create(path, Kind::FolderLink);
        if (node) {
            node->linkTarget = targetPath.text();
            node->removal = removal;
        }
        return node != nullptr;
    }

    bool addFileLink(std::u16string_view path, std::u16string_view target) override
    {
        std::lock_guard lock(m_mutex);
        const ParsedPath targetPath = parse(target, ParseMode::Seeding);
        if (targetPath.error)
            return false;
        Node* node = create(path, Kind::FileLink);
        if (node) {
            node->linkTarget = targetPath.text();
            node->attributes = kFileAttributeArchive;
        }
        return node != nullptr;
    }

    bool setFault(std::u16string_view path, FileFault fault) override
    {
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Seeding);
        if (at.error)
            return false;
        at.node->fault = fault;
        return true;
    }

    bool setShortName(std::u16string_view path, std::u16string_view shortName) override
    {
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Seeding);
        if (at.error || !at.parent)
            return false;
        if (at.node->shortName.empty() && !shortName.empty())
            ++at.parent->shortNamed;
        at.node->shortName = shortName;
        return true;
    }

    bool setLastWriteTime(std::u16string_view path, std::int64_t fileTime) override
    {
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Seeding);
        if (at.error)
            return false;
        at.node->lastWriteTime = fileTime;
        return true;
    }

    void failWrites(Win32Error error) override
    {
        std::lock_guard lock(m_mutex);
        m_writeFailure = error;
    }

    void setDiskSpace(std::int64_t bytes) override
    {
        std::lock_guard lock(m_mutex);
        m_diskSpace = bytes;
    }

    std::string fileContent(std::u16string_view path) override
    {
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Seeding);
        if (at.error || at.node->isFolder())
            return {};
        return at.node->hasContent ? at.node->content : std::string(static_cast<std::size_t>(at.node->size), '\0');
    }

    FileCallCounts callCounts() override
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

    void resetCallCounts() override
    {
        std::lock_guard lock(m_mutex);
        m_calls = FileCallCounts{};
    }

    int writeCount() override
    {
        std::lock_guard lock(m_mutex);
        return m_writeCount;
    }

    void failDeleteAtReboot(Win32Error error) override
    {
        std::lock_guard lock(m_mutex);
        m_rebootFailure = error;
    }

    bool setCurrentDirectory(std::u16string_view path) override
    {
        std::lock_guard lock(m_mutex);
        ParsedPath parsed = parse(path, ParseMode::Seeding);
        if (parsed.error)
            return false;
        parsed.trailingSeparator = false;
        m_current = std::move(parsed);
        return true;
    }

    bool removeTree(std::u16string_view path) override
    {
        std::lock_guard lock(m_mutex);
        Located at = locate(path, ParseMode::Seeding);
        if (at.error)
            return false;
        if (at.parent)
            at.parent->children.erase(folded(at.node->name));
        else
            at.node->children.clear();
        return true;
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        resetLocked();
    }

    bool contains(std::u16string_view path) override
    {
        std::lock_guard lock(m_mutex);
        return locate(path, ParseMode::Seeding).error == kErrorSuccess;
    }

    std::vector<std::u16string> scheduledAtReboot() override
    {
        std::lock_guard lock(m_mutex);
        return m_reboot;
    }

    void forgetScheduled() override
    {
        std::lock_guard lock(m_mutex);
        m_reboot.clear();
    }

    std::vector<ShellNotification> notifications() override
    {
        std::lock_guard lock(m_mutex);
        return m_notifications;
    }

    std::size_t openFindHandles() override
    {
        std::lock_guard lock(m_mutex);
        return m_finds.openCount();
    }

protected:
    void closeFind(std::uintptr_t raw) override
    {
        std::lock_guard lock(m_mutex);
        m_finds.close(raw);
    }

private:
    struct Enumeration {
        std::vector<FindData> entries;
        std::size_t next = 0;
    };

    struct Located {
        Win32Error error = kErrorSuccess;
        ParsedPath parsed;
        Node* parent = nullptr;  // null for a root
        Node* node = nullptr;    // set when error is kErrorSuccess
    };

    void resetLocked()
    {
        m_roots.clear();
        auto drive = std::make_unique<Node>();
        drive->name = u"C:";
        m_roots[u"C:"] = std::move(drive);
        m_current = ParsedPath{};
        m_current.root = u"C:";
        m_finds.closeAll();
        m_reboot.clear();
        m_notifications.clear();
        m_rebootFailure = kErrorSuccess;
        m_writeFailure = kErrorSuccess;
        m_diskSpace = -1;
        m_writeCount = 0;
        m_calls = FileCallCounts{};
    }

    bool isRoot(const Node* node) const
    {
        for (const auto& [key, root] : m_roots)
            if (root.get() == node)
                return true;
        return false;
    }

    // Why an existing entry may not be overwritten or replaced, if it may not.
    static Win32Error refusesChange(const Node& node)
    {
        if (node.isFolder())
            return kErrorAccessDenied;
        if (node.fault == FileFault::InUse)
            return kErrorSharingViolation;
        if (node.fault == FileFault::AccessDenied || (node.attributes & kFileAttributeReadOnly))
            return kErrorAccessDenied;
        return kErrorSuccess;
    }

    // Win32's reading of a path text; see the header for the rules.
    ParsedPath parse(std::u16string_view text, ParseMode mode) const
    {
        ParsedPath out;
        if (text.empty()) {
            out.error = kErrorPathNotFound;
            return out;
        }
        if (text.substr(0, 4) == u"\\\\?\\")
            return parseVerbatim(text.substr(4), mode);

        std::u16string s(text);
        for (char16_t& c : s)
            if (c == u'/')
                c = u'\\';
        std::u16string_view rest;
        if (s.size() >= 2 && s[0] == u'\\' && s[1] == u'\\') {
            // "\\.\" device paths are not files.
            if (s.size() >= 4 && (s[2] == u'.' || s[2] == u'?') && s[3] == u'\\') {
                out.error = kErrorPathNotFound;
                return out;
            }
            const std::u16string_view unc = std::u16string_view(s).substr(2);
            const std::size_t serverEnd = unc.find(u'\\');
            if (serverEnd == 0 || serverEnd == std::u16string_view::npos) {
                out.error = kErrorInvalidName;
                return out;
            }
            const std::size_t shareEnd = unc.find(u'\\', serverEnd + 1);
            const std::u16string_view share =
                unc.substr(serverEnd + 1, shareEnd == std::u16string_view::npos ? shareEnd : shareEnd - serverEnd - 1);
            if (share.empty()) {
                out.error = kErrorInvalidName;
                return out;
            }
            out.root = u"\\\\" + std::u16string(unc.substr(0, serverEnd)) + u"\\" + std::u16string(share);
            rest = shareEnd == std::u16string_view::npos ? std::u16string_view() : unc.substr(shareEnd + 1);
            out.trailingSeparator = shareEnd != std::u16string_view::npos && rest.empty();
        } else if (s.size() >= 2 && isLetter(s[0]) && s[1] == u':') {
            out.root = {fold(s[0]), u':'};
            if (s.size() > 2 && s[2] == u'\\') {
                rest = std::u16string_view(s).substr(3);
            } else {
                // "C:name" is relative to the current directory of that drive.
                if (folded(m_current.root) == out.root)
                    out.parts = m_current.parts;
                rest = std::u16string_view(s).substr(2);
            }
        } else if (s[0] == u'\\') {
            out.root = m_current.root;
            rest = std::u16string_view(s).substr(1);
        } else {
            out.root = m_current.root;
            out.parts = m_current.parts;
            rest = s;
        }

        if (!rest.empty()) {
            out.trailingSeparator = rest.back() == u'\\';
            for (std::u16string_view part : split(rest)) {
                if (part.empty() || part == u".")
                    continue;
                if (part == u"..") {
                    if (!out.parts.empty())
                        out.parts.pop_back();
                    continue;
                }
                out.parts.emplace_back(part);
            }
        }
        if (out.parts.empty())
            out.trailingSeparator = false;
        // Win32 drops one dot at the end of every folder component on the way
        // ("dotdir.\inner.txt" reaches "dotdir\inner.txt"); trailing spaces
        // of a folder component stay.
        const std::size_t folders = out.parts.size() - (out.trailingSeparator ? 0 : 1);
        for (std::size_t k = 0; k < folders && k < out.parts.size(); ++k) {
            std::u16string& part = out.parts[k];
            if (part.size() > 1 && part.back() == u'.' && part.find_first_not_of(u'.') != std::u16string::npos)
                part.pop_back();
        }
        if (mode != ParseMode::Pattern && !out.parts.empty() && !out.trailingSeparator) {
            // ... and every trailing dot and space of the last component:
            // "file." and "file " name "file".
            std::u16string& last = out.parts.back();
            while (!last.empty() && (last.back() == u'.' || last.back() == u' '))
                last.pop_back();
            if (last.empty())
                out.parts.pop_back();
            else if (mode == ParseMode::Operation)
                out.device = deviceNamed(last);
        }
        if (mode != ParseMode::Seeding && out.text().size() + (out.trailingSeparator ? 1 : 0) >= kMaxPath)
            out.error = kErrorFilenameExcedRange;
        else
            out.error = checkNames(out, mode);
        return out;
    }

    // "\\?\" paths skip Win32's normalisation: components are taken as they
    // are, so "." and ".." and empty components are names that cannot exist.
    ParsedPath parseVerbatim(std::u16string_view rest, ParseMode mode) const
    {
        ParsedPath out;
        if (rest.size() > kMaxVerbatimPath) {
            out.error = kErrorFilenameExcedRange;
            return out;
        }
        std::vector<std::u16string_view> parts = split(rest);
        std::size_t first = 0;
        if (parts.size() >= 3 && folded(parts[0]) == u"UNC" && !parts[1].empty() && !parts[2].empty()) {
            out.root = u"\\\\" + std::u16string(parts[1]) + u"\\" + std::u16string(parts[2]);
            first = 3;
        } else if (!parts.empty() && parts[0].size() == 2 && isLetter(parts[0][0]) && parts[0][1] == u':') {
            out.root = {fold(parts[0][0]), u':'};
            first = 1;
        } else {
            out.error = kErrorInvalidName;
            return out;
        }
        for (std::size_t k = first; k < parts.size(); ++k) {
            if (parts[k].empty() && k + 1 == parts.size() && k > first) {
                out.trailingSeparator = true;
                break;
            }
            if (parts[k].empty() && k + 1 == parts.size())
                break;  // "\\?\C:\"
            if (parts[k].empty() || parts[k] == u"." || parts[k] == u"..") {
                out.error = kErrorInvalidName;
                return out;
            }
            out.parts.emplace_back(parts[k]);
        }
        out.error = checkNames(out, mode);
        return out;
    }

    Node* findRoot(const std::u16string& root) const
    {
        auto found = m_roots.find(folded(root));
        return found == m_roots.end() ? nullptr : found->second.get();
    }

    // A path component names an entry by its long name or by its short one.
    static Node* child(Node* folder, std::u16string_view name)
    {
        const std::u16string key = folded(name);
        auto found = folder->children.find(key);
        if (found != folder->children.end())
            return found->second.get();
        if (folder->shortNamed == 0)
            return nullptr;
        for (const auto& [childKey, entry] : folder->children)
            if (!entry->shortName.empty() && folded(entry->shortName) == key)
                return entry.get();
        return nullptr;
    }

    // The folder a link leads to, or null when it dangles or loops.
    Node* follow(const Node* link, int depth) const
    {
        if (depth > kMaxLinkDepth)
            return nullptr;
        const ParsedPath target = parse(link->linkTarget, ParseMode::Seeding);
        Win32Error error = kErrorSuccess;
        Node* node = target.error ? nullptr : walkParts(target, target.parts.size(), error, depth + 1);
        return node;
    }

    // Goes through the first `count` components as folders, following links.
    // Fails with kErrorPathNotFound for a missing component and kErrorDirectory
    // for one that is a file.
    Node* walkParts(const ParsedPath& path, std::size_t count, Win32Error& error, int depth) const
    {
        Node* node = findRoot(path.root);
        if (!node) {
            error = kErrorPathNotFound;
            return nullptr;
        }
        for (std::size_t k = 0; k < count; ++k) {
            Node* next = child(node, path.parts[k]);
            if (next && next->kind == Kind::FolderLink)
                next = follow(next, depth);
            if (!next) {
                error = kErrorPathNotFound;
                return nullptr;
            }
            if (!next->isFolder()) {
                error = kErrorDirectory;
                return nullptr;
            }
            node = next;
        }
        return node;
    }

    Node* walk(const ParsedPath& path, std::size_t count, Win32Error& error) const
    {
        return walkParts(path, count, error, 0);
    }

    // The entry a path names, its last component not followed.
    Located locate(std::u16string_view text, ParseMode mode) const
    {
        Located at;
        at.parsed = parse(text, mode);
        if (at.parsed.error) {
            at.error = at.parsed.error;
            return at;
        }
        // The call opens the device, which is no file to delete, list or
        // write here (Wine answers ERROR_INVALID_HANDLE for most).
        if (!at.parsed.device.empty()) {
            at.error = kErrorInvalidHandle;
            return at;
        }
        if (at.parsed.parts.empty()) {
            at.node = findRoot(at.parsed.root);
            if (!at.node)
                at.error = kErrorPathNotFound;
            return at;
        }
        Win32Error error = kErrorSuccess;
        at.parent = walk(at.parsed, at.parsed.parts.size() - 1, error);
        if (!at.parent) {
            at.error = kErrorPathNotFound;
            return at;
        }
        at.node = child(at.parent, at.parsed.parts.back());
        if (!at.node)
            at.error = kErrorFileNotFound;
        return at;
    }

    // Seeding: makes the entry (replacing one of the same name) and any
    // missing parent folder.
    Node* create(std::u16string_view text, Kind kind)
    {
        const ParsedPath path = parse(text, ParseMode::Seeding);
        if (path.error || path.parts.empty())
            return nullptr;
        Node* node = findRoot(path.root);
        if (!node) {
            auto root = std::make_unique<Node>();
            root->name = path.root;
            node = root.get();
            m_roots[folded(path.root)] = std::move(root);
        }
        for (std::size_t k = 0; k + 1 < path.parts.size(); ++k) {
            Node* next = child(node, path.parts[k]);
            if (next && next->kind == Kind::FolderLink) {
                next = follow(next, 0);
                if (!next)
                    return nullptr;  // a dangling link is not replaced by a folder
            }
            if (!next) {
                auto folder = std::make_unique<Node>();
                folder->name = path.parts[k];
                next = folder.get();
                node->children[folded(path.parts[k])] = std::move(folder);
            }
            if (!next->isFolder())
                return nullptr;
            node = next;
        }
        Node* existing = child(node, path.parts.back());
        if (existing && existing->kind == Kind::Folder && kind == Kind::Folder)
            return existing;  // like "mkdir -p": an existing folder keeps its entries
        auto entry = std::make_unique<Node>();
        entry->name = path.parts.back();
        entry->kind = kind;
        if (kind == Kind::File)
            entry->attributes = kFileAttributeArchive;
        Node* made = entry.get();
        node->children[folded(entry->name)] = std::move(entry);
        return made;
    }

    std::mutex m_mutex;
    std::map<std::u16string, std::unique_ptr<Node>> m_roots;  // by folded root
    ParsedPath m_current;
    HandleTable<Enumeration> m_finds{0x100};
    std::vector<std::u16string> m_reboot;
    std::vector<ShellNotification> m_notifications;
    Win32Error m_rebootFailure = kErrorSuccess;
    Win32Error m_writeFailure = kErrorSuccess;
    std::int64_t m_diskSpace = -1;
    int m_writeCount = 0;
    FileCallCounts m_calls;
};

}  // namespace

FakeFileSystem& fakeFileSystem()
{
    static FakeFileSystemImpl instance;
    return instance;
}

IFileSystem& fileSystem()
{
    return fakeFileSystem();
}

}  // namespace s::platform
