#include "platform/RegDir.h"

#include "base/ObjLocker.h"
#include "platform/ErrorText.h"
#include "platform/Shell.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

namespace s::reg::win {

namespace {

namespace p = s::platform;
using s::thread::ObjLocker;

struct Root {
    std::u16string_view name;
    std::u16string_view native;
    bool currentUser;
};

// Matched in this order; the first name that starts the text wins.
constexpr Root kRoots[] = {
    {u"HKEY_USERS", u"\\Registry\\User", false},
    {u"HKEY_LOCAL_MACHINE", u"\\Registry\\Machine", false},
    {u"HKEY_CURRENT_USER", u"\\Registry\\User\\", true},  // followed by the user's SID
    {u"HKEY_CURRENT_CONFIG", u"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current", false},
    {u"HKEY_CLASSES_ROOT", u"\\Registry\\Machine\\SOFTWARE\\Classes", false},
};
constexpr const Root& kCurrentUser = kRoots[2];
constexpr std::u16string_view kInvalidKey = u"InvalidKey";

constexpr std::u16string_view kSidFailureCaption = u"CNtRegistry: Message...";
constexpr std::u16string_view kNoErrorText = u"No NT Error Data was returned??";

// Tries to grow the data area and query again at most this often: a value
// that keeps growing between two queries must not keep us here.
constexpr int kQueryAttempts = 8;

// A result area for the native calls, 8-byte aligned as their records need,
// shared by every key object and used under its own lock.
class SharedArea {
public:
    explicit SharedArea(std::size_t bytes) { growTo(bytes); }

    ObjLocker& locker() { return m_locker; }
    std::span<std::byte> span() { return {reinterpret_cast<std::byte*>(m_words.data()), m_bytes}; }
    std::size_t bytes() const { return m_bytes; }
    void growTo(std::size_t bytes)
    {
        if (bytes <= m_bytes)
            return;
        m_words.resize((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
        m_bytes = bytes;
    }

private:
    ObjLocker m_locker;
    std::vector<std::uint64_t> m_words;
    std::size_t m_bytes = 0;
};

SharedArea& subkeyNameArea()
{
    static SharedArea area(RegDir::kNameAreaBytes);
    return area;
}

SharedArea& valueNameArea()
{
    static SharedArea area(RegDir::kNameAreaBytes);
    return area;
}

SharedArea& valueDataArea()
{
    static SharedArea area(RegDir::kDataAreaStartBytes);
    return area;
}

// The current user's SID, read from the process token once per process.
struct CurrentUser {
    ObjLocker locker;
    bool read = false;
    bool known = false;
    std::u16string sid;
};

CurrentUser& currentUser()
{
    static CurrentUser user;
    return user;
}

void appendHexWidth8(StrBuffer& out, std::uint32_t value)
{
    // printf's "%8X": upper-case digits, right-aligned in 8 places with spaces.
    char16_t digits[8];
    int count = 0;
    do {
        const unsigned digit = value & 0xF;
        digits[count++] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'A' + digit - 10);
        value >>= 4;
    } while (value != 0);
    out.append(u' ', 8 - count);
    while (count > 0)
        out += digits[--count];
}

void reportSidFailure(p::Win32Error error)
{
    // "Error( %u [0x%8XL] ) - %s"
    StrBuffer text(u"Error( ");
    text.appendU32(error);
    text += u" [0x";
    appendHexWidth8(text, error);
    text += u"L] ) - ";
    const std::u16string system = p::systemErrorText(error);
    text += system.empty() ? kNoErrorText : std::u16string_view(system);
    p::shell().showMessage(kSidFailureCaption, text.view());
}

// The native root of HKEY_CURRENT_USER into `out`; false when the SID cannot
// be read, and then keys under that root are not opened at all: a native path
// without the SID would name a key under HKEY_USERS instead.
bool currentUserRoot(StrBuffer& out)
{
    CurrentUser& user = currentUser();
    p::Win32Error failure = p::kErrorSuccess;
    bool report = false;
    bool known = false;
    {
        ObjLocker::Guard guard(user.locker);
        if (!user.read) {
            user.read = true;
            std::u16string sid;
            failure = p::nativeKeyService().currentUserSid(sid);
            if (failure == p::kErrorSuccess && sid.empty())
                failure = 1337;  // ERROR_INVALID_SID
            user.known = failure == p::kErrorSuccess;
            if (user.known)
                user.sid = std::move(sid);
            report = !user.known;
        }
        known = user.known;
        if (known) {
            out.assign(kCurrentUser.native);
            out += user.sid;
        }
    }
    // Outside the lock: the message box waits for the user.
    if (report)
        reportSidFailure(failure);
    return known;
}

bool overflowed(p::NtStatus status)
{
    return status == p::kStatusBufferOverflow || status == p::kStatusBufferTooSmall;
}

// The registry compares names with A-Z folded and nothing else.
std::u16string foldedName(std::u16string_view name)
{
    std::u16string out(name);
    for (char16_t& c : out)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return out;
}

// The components of a native path, folded; empty ones (doubled or trailing
// backslashes) are skipped, as the registry skips them.
std::vector<std::u16string> foldedComponents(std::u16string_view path)
{
    std::vector<std::u16string> out;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = path.size();
        if (end > start)
            out.push_back(foldedName(path.substr(start, end - start)));
        start = end + 1;
    }
    return out;
}

// CurrentControlSet is a link to one of ControlSet001, ControlSet002, ...:
// each of them is the whole running configuration.
bool isControlSet(std::u16string_view folded)
{
    constexpr std::u16string_view kNumbered = u"CONTROLSET";
    if (folded == u"CURRENTCONTROLSET")
        return true;
    if (folded.size() != kNumbered.size() + 3 || folded.substr(0, kNumbered.size()) != kNumbered)
        return false;
    return std::all_of(folded.begin() + kNumbered.size(), folded.end(),
                       [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

enum class RootKind : std::uint8_t { Machine, UserHive };

// The rules below a root: HKEY_LOCAL_MACHINE, or one user hive (which is what
// HKEY_CURRENT_USER is). `rest` are the folded components after the root.
bool protectedBelowRoot(std::span<const std::u16string> rest, RootKind kind)
{
    const std::size_t depth = rest.size();
    if (depth <= 1)
        return true;
    if (rest[0] == u"SOFTWARE") {
        if (depth == 2)
            return rest[1] == u"MICROSOFT" || rest[1] == u"CLASSES" || rest[1] == u"POLICIES" ||
                   rest[1] == u"WOW6432NODE";
        // Software\Classes is a classes root of its own: HKEY_CLASSES_ROOT
        // for the machine, the user's part of it for a hive.
        if (depth == 3 && rest[1] == u"CLASSES")
            return true;
        if (rest[1] == u"MICROSOFT" && rest[2] == u"WINDOWS")
            return depth == 3 || (depth == 4 && rest[3] == u"CURRENTVERSION");
        return false;
    }
    if (kind == RootKind::Machine && rest[0] == u"SYSTEM" && isControlSet(rest[1])) {
        if (depth == 2)
            return true;
        // HKEY_CURRENT_CONFIG and the keys just below it.
        return (depth == 4 || depth == 5) && rest[2] == u"HARDWARE PROFILES" && rest[3] == u"CURRENT";
    }
    return false;
}

}  // namespace

bool isProtectedNativePath(std::u16string_view nativePath)
{
    const std::vector<std::u16string> parts = foldedComponents(nativePath);
    // Not a registry name at all: nothing the key services would open.
    if (parts.empty() || parts[0] != u"REGISTRY")
        return false;
    // \Registry and its roots (Machine, User, and any other the system keeps
    // there).
    if (parts.size() <= 2)
        return true;
    const std::span<const std::u16string> rest(parts.data() + 2, parts.size() - 2);
    if (parts[1] == u"MACHINE")
        return protectedBelowRoot(rest, RootKind::Machine);
    if (parts[1] == u"USER")
        return protectedBelowRoot(rest.subspan(1), RootKind::UserHive);
    return rest.size() <= 1;
}

RegDirHandle RegDir::make(std::u16string_view text)
{
    return make(text, p::OpenLink::Follow);
}

bool RegDir::namesLink(std::u16string_view text)
{
    return make(text, p::OpenLink::Itself)->isLink();
}

RegDirHandle RegDir::make(std::u16string_view text, p::OpenLink link)
{
    RegDirHandle key(s::thread::Pool<RegDir>::take());
    key->setPathAs(text, link);
    return key;
}

void RegDir::reset()
{
    m_key.close();
    m_root.clear();
    m_subkey.clear();
    m_windowsPath.clear();
    m_nativePath.clear();
    m_named = false;
    m_openLink = p::OpenLink::Follow;
    m_link = false;
    m_lastData.clear();
    m_lastType = 0;
}

bool RegDir::isProtectedKey() const
{
    if (!m_named)
        return false;
    if (m_nativePath.isEmpty())
        return true;
    return isProtectedNativePath(m_nativePath.view());
}

void RegDir::forgetCurrentUser()
{
    CurrentUser& user = currentUser();
    ObjLocker::Guard guard(user.locker);
    user.read = false;
    user.known = false;
    user.sid.clear();
}

std::size_t RegDir::dataAreaBytes()
{
    SharedArea& area = valueDataArea();
    ObjLocker::Guard guard(area.locker());
    return area.bytes();
}

void RegDir::setPath(std::u16string_view text)
{
    setPathAs(text, p::OpenLink::Follow);
}

void RegDir::setPathAs(std::u16string_view text, p::OpenLink link)
{
    const StrBuffer given(text);  // `text` may be one of this object's strings
    m_key.close();
    m_openLink = link;
    m_named = false;
    m_lastData.truncate(0);
    m_lastType = 0;

    const Root* root = &kCurrentUser;
    std::u16string_view subkey = kInvalidKey;
    for (const Root& candidate : kRoots) {
        const std::size_t length = candidate.name.size();
        // The name must be the whole first component: "HKEY_USERSX\..." is
        // no key of HKEY_USERS.
        if (given.startsWithIgnoreCase(candidate.name) &&
            (given.view().size() == length || given.view()[length] == u'\\')) {
            root = &candidate;
            m_named = true;
            subkey = given.view().substr(std::min(length + 1, given.view().size()));
            break;
        }
    }
    while (!subkey.empty() && subkey.back() == u'\\')
        subkey.remove_suffix(1);

    m_root.assign(root->name);
    m_subkey.assign(subkey);
    m_windowsPath.assign(m_root.view());
    m_windowsPath += u'\\';
    m_windowsPath += m_subkey.view();
    if (root->currentUser) {
        if (!currentUserRoot(m_nativePath))
            m_nativePath.clear();
    } else {
        m_nativePath.assign(root->native);
    }
    // The root alone is opened without a separator: "\Registry\Machine\"
    // is no valid object name.
    if (!m_nativePath.isEmpty() && !m_subkey.isEmpty()) {
        m_nativePath += u'\\';
        m_nativePath += m_subkey.view();
    }
    open();
}

void RegDir::open()
{
    m_key.close();
    m_link = false;
    if (m_nativePath.isEmpty())
        return;
    // All key rights or nothing: a key the user may read but not change
    // counts as missing, so that it is neither measured nor "deleted".
    p::INativeKeyService& native = p::nativeKeyService();
    if (native.openKey(m_nativePath.view(), p::kKeyAllAccess, m_key, m_openLink) != p::kStatusSuccess ||
        m_openLink != p::OpenLink::Itself)
        return;
    // Opened as itself, a link shows its one value. NtQueryKey's
    // KeyFlagsInformation would say it too on Windows, but Wine 8 refuses that
    // class (STATUS_INVALID_PARAMETER), so the value decides on both. The
    // fixed part of the record is enough: on STATUS_BUFFER_OVERFLOW the type
    // is filled in. A plain key given such a value (Wine allows it) counts
    // as a link too, which only ever means deleting less.
    std::uint64_t words[8];
    const std::span<std::byte> area(reinterpret_cast<std::byte*>(words), sizeof(words));
    std::uint32_t length = 0;
    p::ValueFullInfo info;
    const p::NtStatus status = native.queryValue(m_key, p::kSymbolicLinkValue, area, length, info);
    m_link = (status == p::kStatusSuccess || status == p::kStatusBufferOverflow) && info.type == p::kRegLink;
}

std::u16string_view RegDir::subkeyName() const
{
    const int separator = m_subkey.lastIndexOf(u'\\');
    return separator < 0 ? m_subkey.view() : m_subkey.substr(separator + 1);
}

bool RegDir::exists()
{
    open();
    return isOpen();
}

int RegDir::listSubkeyNames(StrArray& out)
{
    if (!isOpen() || m_link)
        return 0;
    const int before = out.count();
    SharedArea& area = subkeyNameArea();
    ObjLocker::Guard guard(area.locker());
    // A key name holds at most 255 characters: the 1024-byte area always
    // has room, so any failure ends the enumeration.
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = 0;
        p::KeyBasicInfo info;
        if (p::nativeKeyService().enumerateKey(m_key, index, area.span(), length, info) != p::kStatusSuccess)
            break;
        out.add(info.name);
    }
    return out.count() - before;
}

int RegDir::listSubkeys(RegDirList& out)
{
    if (!isOpen() || m_link)
        return 0;
    StrArray names;
    listSubkeyNames(names);
    for (int k = 0; k < names.count(); ++k) {
        StrBuffer text(m_root.view());
        text += u'\\';
        if (!m_subkey.isEmpty()) {
            text += m_subkey.view();
            text += u'\\';
        }
        text += names[k].view();
        // Each subkey as itself: a link among them must not lead the caller
        // into the key it stands for, which may be anywhere in the registry.
        out.add(make(text.view(), p::OpenLink::Itself));
    }
    return names.count();
}

int RegDir::listValueNames(StrArray& out)
{
    if (!isOpen() || m_link)
        return 0;
    const int before = out.count();
    SharedArea& area = valueNameArea();
    ObjLocker::Guard guard(area.locker());
    std::vector<std::uint64_t> ownArea;
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = 0;
        p::ValueBasicInfo info;
        p::NtStatus status = p::nativeKeyService().enumerateValue(m_key, index, area.span(), length, info);
        if (overflowed(status) && length > 0) {
            // A value name may hold 16383 characters, far more than the shared
            // 1024 bytes. Stopping here would leave this value and every one
            // after it unmeasured and uncleaned: read this entry into an area
            // of its own instead.
            ownArea.assign((length + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
            const std::span<std::byte> own(reinterpret_cast<std::byte*>(ownArea.data()), length);
            status = p::nativeKeyService().enumerateValue(m_key, index, own, length, info);
        }
        if (status != p::kStatusSuccess)
            break;
        out.add(info.name);
    }
    return out.count() - before;
}

p::NtStatus RegDir::query(std::u16string_view name, std::uint32_t& dataLength)
{
    m_lastData.truncate(0);
    m_lastType = 0;
    if (!isOpen() || m_link)
        return p::kStatusInvalidHandle;
    SharedArea& area = valueDataArea();
    ObjLocker::Guard guard(area.locker());
    p::NtStatus status = p::kStatusInvalidHandle;
    for (int attempt = 0; attempt < kQueryAttempts; ++attempt) {
        std::uint32_t needed = 0;
        p::ValueFullInfo info;
        status = p::nativeKeyService().queryValue(m_key, name, area.span(), needed, info);
        if (overflowed(status)) {
            const std::size_t wanted = std::size_t{needed} + kDataAreaSlackBytes;
            if (wanted <= area.bytes())
                break;  // the system wants no more than there is: growing cannot help
            area.growTo(wanted);
            continue;
        }
        if (status == p::kStatusSuccess) {
            m_lastType = info.type;
            if (!info.data.empty())
                m_lastData.add(reinterpret_cast<const std::uint8_t*>(info.data.data()),
                               static_cast<int>(info.data.size()));
            dataLength = info.dataLength;
        }
        return status;
    }
    return status;
}

std::int64_t RegDir::valueDataLength(std::u16string_view name)
{
    std::uint32_t length = 0;
    return query(name, length) == p::kStatusSuccess ? std::int64_t{length} : 0;
}

bool RegDir::valueExists(std::u16string_view name)
{
    if (!isOpen())
        open();
    std::uint32_t length = 0;
    return query(name, length) == p::kStatusSuccess;
}

bool RegDir::deleteValue(std::u16string_view name)
{
    if (!isOpen())
        open();
    std::uint32_t length = 0;
    if (query(name, length) != p::kStatusSuccess)
        return false;
    return p::nativeKeyService().deleteValue(m_key, name) == p::kStatusSuccess;
}

void RegDir::deleteKeyTree(IncludeSelf includeSelf)
{
    if (!isOpen())
        open();
    if (!isOpen())
        return;
    {
        // Listed in full before the first deletion, so that the indexes do
        // not shift under the enumeration. The registry nests at most 512
        // levels deep, which the stack holds easily. A link lists nothing and
        // is deleted as itself below.
        RegDirListHandle subkeys = RegDirListHandle::take();
        listSubkeys(*subkeys);
        for (int k = 0; k < subkeys->count(); ++k)
            subkeys->get(k).deleteKeyTree(IncludeSelf::Yes);
    }
    if (includeSelf == IncludeSelf::Yes) {
        // Fails while a subkey is left (one that could not be opened with all
        // rights); the key then stays with its values.
        p::nativeKeyService().deleteKey(m_key);
        m_key.close();
    }
}

void RegDirList::clear()
{
    std::vector<RegDir*> items = std::move(m_items);
    m_items.clear();
    for (RegDir* item : items)
        item->release();
}

}  // namespace s::reg::win
