#include "platform/fake/FakeRegistryStorage.h"

#include "platform/fake/HandleTable.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace s::platform {

namespace {

constexpr const char16_t* kFakeUserSid = u"S-1-5-21-0-0-0-1000";

// Links followed while opening one path before it counts as a loop.
constexpr int kMaxLinkHops = 16;

constexpr std::uint32_t kWriteRights =
    kKeySetValue | kKeyCreateSubKey | kKeyCreateLink | kAccessDelete | kAccessWriteDac | kAccessWriteOwner;

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

bool sameName(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

std::vector<std::u16string_view> components(std::u16string_view path)
{
    std::vector<std::u16string_view> out;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = path.size();
        if (end > start)
            out.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// Generic rights and the WOW64 view flags mapped the way the registry does.
std::uint32_t mapAccess(std::uint32_t access)
{
    std::uint32_t mapped =
        access & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll | kKeyWow64_32Key | kKeyWow64_64Key);
    if (access & (kGenericRead | kGenericExecute))
        mapped |= kKeyRead;
    if (access & kGenericWrite)
        mapped |= kKeyWrite;
    if (access & kGenericAll)
        mapped |= kKeyAllAccess;
    return mapped;
}

struct Key {
    std::u16string name;
    Key* parent = nullptr;
    std::map<std::u16string, std::shared_ptr<Key>> subkeys;  // by folded name: the registry's order
    std::vector<RegistryStorage::Entry> values;              // in the order first set
    KeyFault fault = KeyFault::None;
    bool deleted = false;
    bool hiveRoot = false;  // \Registry, \Registry\Machine, \Registry\User: never deleted
    bool link = false;      // made as a link: SymbolicLinkValue names the key it stands for

    RegistryStorage::Entry* findValue(std::u16string_view valueName)
    {
        for (auto& entry : values)
            if (sameName(entry.name, valueName))
                return &entry;
        return nullptr;
    }
};

void markDeleted(Key& key)
{
    key.deleted = true;
    for (auto& [name, sub] : key.subkeys)
        markDeleted(*sub);
    key.subkeys.clear();
}

class RegistryStorageImpl final : public RegistryStorage {
public:
    RegistryStorageImpl() { resetLocked(); }

    // ---- store ----

    NtStatus open(std::uintptr_t base, std::u16string_view path, std::uint32_t access, std::uintptr_t& handle,
                  OpenLink link) override
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<Key> key;
        if (const NtStatus bad = find(base, path, key, link))
            return bad;
        return grant(key, access, handle);
    }

    NtStatus create(std::uintptr_t base, std::u16string_view path, std::uint32_t access, std::uintptr_t& handle,
                    bool& created) override
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<Key> key;
        std::vector<std::u16string_view> parts;
        if (const NtStatus bad = start(base, path, key, parts))
            return bad;
        std::size_t k = 0;
        int hops = 0;
        if (const NtStatus bad = walk(key, parts, k, OpenLink::Follow, hops))
            return bad;
        created = k < parts.size();
        if (created) {
            // Creating a subkey is a write to the deepest key that exists.
            if (effectiveFault(*key) != KeyFault::None)
                return kStatusAccessDenied;
            for (; k < parts.size(); ++k)
                key = addChild(*key, parts[k]);
        }
        return grant(key, access, handle);
    }

    NtStatus enumerateKey(std::uintptr_t handle, std::uint32_t index, std::u16string& name) override
    {
        std::lock_guard lock(m_mutex);
        Key* key = nullptr;
        if (const NtStatus bad = use(handle, kKeyEnumerateSubKeys, key))
            return bad;
        if (index >= key->subkeys.size())
            return kStatusNoMoreEntries;
        auto it = key->subkeys.begin();
        std::advance(it, index);
        name = it->second->name;
        return kStatusSuccess;
    }

    NtStatus enumerateValue(std::uintptr_t handle, std::uint32_t index, Entry& entry) override
    {
        std::lock_guard lock(m_mutex);
        Key* key = nullptr;
        if (const NtStatus bad = use(handle, kKeyQueryValue, key))
            return bad;
        if (index >= key->values.size())
            return kStatusNoMoreEntries;
        entry = key->values[index];
        return kStatusSuccess;
    }

    NtStatus query(std::uintptr_t handle, std::u16string_view name, Entry& entry) override
    {
        std::lock_guard lock(m_mutex);
        Key* key = nullptr;
        if (const NtStatus bad = use(handle, kKeyQueryValue, key))
            return bad;
        Entry* found = key->findValue(name);
        if (!found)
            return kStatusObjectNameNotFound;
        entry = *found;
        return kStatusSuccess;
    }

    NtStatus set(std::uintptr_t handle, std::u16string_view name, std::uint32_t type,
                 std::span<const std::byte> data) override
    {
        std::lock_guard lock(m_mutex);
        Key* key = nullptr;
        if (const NtStatus bad = use(handle, kKeySetValue, key))
            return bad;
        store(*key, name, type, data);
        return kStatusSuccess;
    }

    NtStatus deleteKey(std::uintptr_t handle) override
    {
        std::lock_guard lock(m_mutex);
        Key* key = nullptr;
        if (const NtStatus bad = use(handle, kAccessDelete, key))
            return bad;
        if (key->hiveRoot)
            return kStatusAccessDenied;
        if (!key->subkeys.empty())
            return kStatusCannotDelete;
        detach(*key);
        return kStatusSuccess;
    }

    NtStatus deleteValue(std::uintptr_t handle, std::u16string_view name) override
    {
        std::lock_guard lock(m_mutex);
        Key* key = nullptr;
        if (const NtStatus bad = use(handle, kKeySetValue, key))
            return bad;
        auto found = std::find_if(key->values.begin(), key->values.end(),
                                  [&](const Entry& entry) { return sameName(entry.name, name); });
        if (found == key->values.end())
            return kStatusObjectNameNotFound;
        key->values.erase(found);
        return kStatusSuccess;
    }

    NtStatus close(std::uintptr_t handle) override
    {
        std::lock_guard lock(m_mutex);
        return m_handles.close(handle) ? kStatusSuccess : kStatusInvalidHandle;
    }

    Win32Error sid(std::u16string& out) override
    {
        std::lock_guard lock(m_mutex);
        if (m_sidFailure)
            return m_sidFailure;
        out = kFakeUserSid;
        return kErrorSuccess;
    }

    // ---- test API ----

    bool addKey(std::u16string_view nativePath) override
    {
        std::lock_guard lock(m_mutex);
        return seed(nativePath) != nullptr;
    }

    bool setValue(std::u16string_view nativePath, std::u16string_view name, std::uint32_t type,
                  std::span<const std::byte> data) override
    {
        std::lock_guard lock(m_mutex);
        Key* key = seed(nativePath);
        if (key)
            store(*key, name, type, data);
        return key != nullptr;
    }

    bool setFault(std::u16string_view nativePath, KeyFault fault) override
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<Key> key;
        if (find(0, nativePath, key))
            return false;
        key->fault = fault;
        return true;
    }

    bool addLink(std::u16string_view nativePath, std::u16string_view targetNativePath) override
    {
        std::lock_guard lock(m_mutex);
        std::vector<std::u16string_view> parts;
        std::shared_ptr<Key> key;
        if (start(0, nativePath, key, parts) || parts.size() < 2 ||
            (!sameName(parts.front(), u"Machine") && !sameName(parts.front(), u"User")))
            return false;
        const std::u16string_view name = parts.back();
        parts.pop_back();
        std::size_t k = 0;
        int hops = 0;
        if (walk(key, parts, k, OpenLink::Follow, hops))
            return false;
        for (; k < parts.size(); ++k)
            key = addChild(*key, parts[k]);
        if (key->subkeys.count(folded(name)))
            return false;
        std::shared_ptr<Key> link = addChild(*key, name);
        link->link = true;
        store(*link, kSymbolicLinkValue, kRegLink,
              std::as_bytes(std::span<const char16_t>(targetNativePath.data(), targetNativePath.size())));
        return true;
    }

    bool removeTree(std::u16string_view nativePath) override
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<Key> key;
        if (find(0, nativePath, key, OpenLink::Itself) || key->hiveRoot)
            return false;
        detach(*key);
        return true;
    }

    void failUserSid(Win32Error error) override
    {
        std::lock_guard lock(m_mutex);
        m_sidFailure = error;
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        resetLocked();
    }

    bool hasKey(std::u16string_view nativePath) override
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<Key> key;
        return find(0, nativePath, key) == kStatusSuccess;
    }

    bool hasLink(std::u16string_view nativePath) override
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<Key> key;
        return find(0, nativePath, key, OpenLink::Itself) == kStatusSuccess && key->link;
    }

    std::optional<FakeValue> value(std::u16string_view nativePath, std::u16string_view name) override
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<Key> key;
        if (find(0, nativePath, key))
            return std::nullopt;
        const Entry* found = key->findValue(name);
        if (!found)
            return std::nullopt;
        return FakeValue{found->type, found->data};
    }

    std::size_t openHandles() override
    {
        std::lock_guard lock(m_mutex);
        return m_handles.openCount();
    }

    std::u16string userSid() override { return kFakeUserSid; }

    std::u16string rootPath(RootKey root) override
    {
        switch (root) {
        case RootKey::LocalMachine:
            return u"\\Registry\\Machine";
        case RootKey::Users:
            return u"\\Registry\\User";
        case RootKey::CurrentUser:
            return std::u16string(u"\\Registry\\User\\") + kFakeUserSid;
        case RootKey::ClassesRoot:
            return u"\\Registry\\Machine\\SOFTWARE\\Classes";
        case RootKey::CurrentConfig:
            return u"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current";
        }
        return {};
    }

private:
    struct Opened {
        std::shared_ptr<Key> key;
        std::uint32_t granted = 0;
    };

    void resetLocked()
    {
        m_handles.forEach([](Opened& opened) { opened.key->deleted = true; });
        m_handles.closeAll();
        m_registry = std::make_shared<Key>();
        m_registry->name = u"REGISTRY";
        m_registry->hiveRoot = true;
        addChild(*m_registry, u"MACHINE")->hiveRoot = true;
        addChild(*m_registry, u"USER")->hiveRoot = true;
        m_sidFailure = kErrorSuccess;
        for (RootKey root : {RootKey::CurrentUser, RootKey::ClassesRoot, RootKey::CurrentConfig})
            seed(rootPath(root));
        seed(rootPath(RootKey::CurrentUser))->hiveRoot = true;  // the user's loaded hive
        seed(rootPath(RootKey::CurrentUser) + u"\\Software");
    }

    static std::shared_ptr<Key> addChild(Key& parent, std::u16string_view name)
    {
        auto key = std::make_shared<Key>();
        key->name = name;
        key->parent = &parent;
        parent.subkeys[folded(name)] = key;
        return key;
    }

    static void store(Key& key, std::u16string_view name, std::uint32_t type, std::span<const std::byte> data)
    {
        Entry* entry = key.findValue(name);
        if (!entry) {
            key.values.push_back(Entry{std::u16string(name), type, {}});
            entry = &key.values.back();
        }
        entry->type = type;
        entry->data.assign(data.begin(), data.end());
    }

    static KeyFault effectiveFault(const Key& key)
    {
        KeyFault strongest = KeyFault::None;
        for (const Key* at = &key; at; at = at->parent)
            strongest = std::max(strongest, at->fault);
        return strongest;
    }

    void detach(Key& key)
    {
        Key* parent = key.parent;
        const std::u16string name = folded(key.name);
        markDeleted(key);
        key.parent = nullptr;
        if (parent)
            parent->subkeys.erase(name);  // may free `key` when no handle holds it
    }

    // Where a path starts and its components: \Registry for a full native
    // path, the handle's key for a relative one.
    NtStatus start(std::uintptr_t base, std::u16string_view path, std::shared_ptr<Key>& key,
                   std::vector<std::u16string_view>& parts)
    {
        if (base) {
            Opened* opened = m_handles.find(base);
            if (!opened)
                return kStatusInvalidHandle;
            if (opened->key->deleted)
                return kStatusKeyDeleted;
            key = opened->key;
            parts = components(path);
            return kStatusSuccess;
        }
        if (path.empty() || path.front() != u'\\')
            return kStatusObjectPathSyntaxBad;
        parts = components(path);
        if (parts.empty() || !sameName(parts.front(), u"Registry"))
            return kStatusObjectNameNotFound;
        parts.erase(parts.begin());
        key = m_registry;
        return kStatusSuccess;
    }

    NtStatus find(std::uintptr_t base, std::u16string_view path, std::shared_ptr<Key>& key,
                  OpenLink last = OpenLink::Follow)
    {
        std::vector<std::u16string_view> parts;
        std::shared_ptr<Key> at;
        if (const NtStatus bad = start(base, path, at, parts))
            return bad;
        std::size_t reached = 0;
        int hops = 0;
        if (const NtStatus bad = walk(at, parts, reached, last, hops))
            return bad;
        if (reached < parts.size())
            return kStatusObjectNameNotFound;
        key = std::move(at);
        return kStatusSuccess;
    }

    // Goes down `parts` from `at`, following links as the object manager
    // does: a link in any component is replaced by its target, the last one
    // only with OpenLink::Follow. Stops at the first missing component, its
    // index in `reached` (parts.size() when all were found) and `at` the key
    // before it. A link that leads nowhere fails the whole walk.
    NtStatus walk(std::shared_ptr<Key>& at, std::span<const std::u16string_view> parts, std::size_t& reached,
                  OpenLink last, int& hops)
    {
        for (reached = 0; reached < parts.size(); ++reached) {
            auto next = at->subkeys.find(folded(parts[reached]));
            if (next == at->subkeys.end())
                return kStatusSuccess;
            at = next->second;
            const bool isLast = reached + 1 == parts.size();
            if (at->link && !(isLast && last == OpenLink::Itself))
                if (const NtStatus bad = follow(at, hops))
                    return bad;
        }
        return kStatusSuccess;
    }

    NtStatus follow(std::shared_ptr<Key>& at, int& hops)
    {
        const Entry* value = at->findValue(kSymbolicLinkValue);
        if (++hops > kMaxLinkHops || !value || value->type != kRegLink)
            return kStatusObjectNameNotFound;
        std::u16string target(value->data.size() / sizeof(char16_t), u'\0');
        std::memcpy(target.data(), value->data.data(), target.size() * sizeof(char16_t));
        std::vector<std::u16string_view> parts;
        std::shared_ptr<Key> to;
        if (start(0, target, to, parts))
            return kStatusObjectNameNotFound;
        std::size_t reached = 0;
        if (const NtStatus bad = walk(to, parts, reached, OpenLink::Follow, hops))
            return bad;
        if (reached < parts.size())
            return kStatusObjectNameNotFound;
        at = std::move(to);
        return kStatusSuccess;
    }

    NtStatus grant(const std::shared_ptr<Key>& key, std::uint32_t access, std::uintptr_t& handle)
    {
        const KeyFault fault = effectiveFault(*key);
        if (fault == KeyFault::NoAccess)
            return kStatusAccessDenied;
        std::uint32_t granted = mapAccess(access);
        if (granted & kMaximumAllowed)
            granted = fault == KeyFault::ReadOnly ? kKeyRead : kKeyAllAccess;
        else if (fault == KeyFault::ReadOnly && (granted & kWriteRights))
            return kStatusAccessDenied;
        handle = m_handles.open(Opened{key, granted});
        return kStatusSuccess;
    }

    NtStatus use(std::uintptr_t handle, std::uint32_t needed, Key*& key)
    {
        Opened* opened = m_handles.find(handle);
        if (!opened)
            return kStatusInvalidHandle;
        if (opened->key->deleted)
            return kStatusKeyDeleted;
        if ((opened->granted & needed) != needed)
            return kStatusAccessDenied;
        key = opened->key.get();
        return kStatusSuccess;
    }

    Key* seed(std::u16string_view nativePath)
    {
        std::vector<std::u16string_view> parts;
        std::shared_ptr<Key> key;
        if (start(0, nativePath, key, parts) || parts.empty() ||
            (!sameName(parts.front(), u"Machine") && !sameName(parts.front(), u"User")))
            return nullptr;
        std::size_t k = 0;
        int hops = 0;
        if (walk(key, parts, k, OpenLink::Follow, hops))
            return nullptr;
        for (; k < parts.size(); ++k)
            key = addChild(*key, parts[k]);
        return key.get();
    }

    std::mutex m_mutex;
    std::shared_ptr<Key> m_registry;
    HandleTable<Opened> m_handles{0x1000, 4};
    Win32Error m_sidFailure = kErrorSuccess;
};

}  // namespace

RegistryStorage& registryStorage()
{
    static RegistryStorageImpl instance;
    return instance;
}

FakeRegistry& fakeRegistry()
{
    return registryStorage();
}

}  // namespace s::platform
