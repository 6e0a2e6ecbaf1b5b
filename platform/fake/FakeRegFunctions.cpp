#include "platform/RegFunctions.h"

#include "platform/fake/FakeRegistryStorage.h"

#include <algorithm>
#include <cstring>

namespace s::platform {

namespace {

// What advapi32 turns the native statuses into.
Win32Error toWin32(NtStatus status)
{
    switch (status) {
    case kStatusSuccess:
        return kErrorSuccess;
    case kStatusObjectNameNotFound:
        return kErrorFileNotFound;
    case kStatusAccessDenied:
    case kStatusCannotDelete:
        return kErrorAccessDenied;
    case kStatusInvalidHandle:
        return kErrorInvalidHandle;
    case kStatusKeyDeleted:
        return kErrorKeyDeleted;
    case kStatusNoMoreEntries:
        return kErrorNoMoreItems;
    case kStatusObjectPathSyntaxBad:
        return kErrorBadPathname;
    case kStatusNameTooLong:
        return kErrorFilenameExcedRange;
    default:
        return kErrorInvalidParameter;
    }
}

std::u16string_view text(const char16_t* value)
{
    return value ? std::u16string_view(value) : std::u16string_view();
}

// Copies a name with its terminating zero when it fits in `capacity`
// characters (zero included).
bool copyName(const std::u16string& from, char16_t* to, std::uint32_t& capacity)
{
    if (from.size() >= capacity)
        return false;
    std::copy(from.begin(), from.end(), to);
    to[from.size()] = u'\0';
    capacity = static_cast<std::uint32_t>(from.size());
    return true;
}

// The data rules RegQueryValueExW and RegEnumValueW share.
Win32Error copyData(const RegistryStorage::Entry& entry, std::byte* data, std::uint32_t* dataLength)
{
    const auto size = static_cast<std::uint32_t>(entry.data.size());
    if (!data) {
        if (dataLength)
            *dataLength = size;
        return kErrorSuccess;
    }
    if (!dataLength)
        return kErrorInvalidParameter;
    const bool fits = *dataLength >= size;
    *dataLength = size;
    if (!fits)
        return kErrorMoreData;
    if (size)
        std::memcpy(data, entry.data.data(), size);
    return kErrorSuccess;
}

class FakeRegFunctions final : public IRegFunctions {
public:
    Win32Error openKey(KeyParent parent, const char16_t* subKey, std::uint32_t access, RegKey& key) override
    {
        key.close();
        std::uintptr_t base = 0;
        std::u16string path;
        if (const Win32Error bad = start(parent, subKey, base, path))
            return bad;
        std::uintptr_t raw = 0;
        const NtStatus status = registryStorage().open(base, path, access, raw);
        if (ntSuccess(status))
            adopt(key, raw);
        return toWin32(status);
    }

    Win32Error createKey(KeyParent parent, const char16_t* subKey, std::uint32_t access, RegKey& key,
                         bool* created) override
    {
        key.close();
        if (!subKey)
            return kErrorInvalidParameter;
        std::uintptr_t base = 0;
        std::u16string path;
        if (const Win32Error bad = start(parent, subKey, base, path))
            return bad;
        std::uintptr_t raw = 0;
        bool made = false;
        const NtStatus status = registryStorage().create(base, path, access, raw, made);
        if (ntSuccess(status)) {
            adopt(key, raw);
            if (created)
                *created = made;
        }
        return toWin32(status);
    }

    Win32Error enumValue(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                         std::uint32_t* type, std::byte* data, std::uint32_t* dataLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        if (!name)
            return kErrorInvalidParameter;
        RegistryStorage::Entry entry;
        const NtStatus status = registryStorage().enumerateValue(rawOf(key), index, entry);
        if (status)
            return toWin32(status);
        if (type)
            *type = entry.type;
        if (!copyName(entry.name, name, nameLength)) {
            if (dataLength)
                *dataLength = static_cast<std::uint32_t>(entry.data.size());
            return kErrorMoreData;
        }
        return copyData(entry, data, dataLength);
    }

    Win32Error enumKey(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        if (!name)
            return kErrorInvalidParameter;
        std::u16string found;
        const NtStatus status = registryStorage().enumerateKey(rawOf(key), index, found);
        if (status)
            return toWin32(status);
        return copyName(found, name, nameLength) ? kErrorSuccess : kErrorMoreData;
    }

    Win32Error queryValue(const RegKey& key, const char16_t* name, std::uint32_t* type, std::byte* data,
                          std::uint32_t* dataLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        RegistryStorage::Entry entry;
        const NtStatus status = registryStorage().query(rawOf(key), text(name), entry);
        if (status)
            return toWin32(status);
        if (type)
            *type = entry.type;
        return copyData(entry, data, dataLength);
    }

    Win32Error setValue(const RegKey& key, const char16_t* name, std::uint32_t type, const std::byte* data,
                        std::uint32_t dataLength) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        if (!data && dataLength)
            return kErrorInvalidParameter;
        return toWin32(registryStorage().set(rawOf(key), text(name), type,
                                             std::span<const std::byte>(data, data ? dataLength : 0)));
    }

    Win32Error deleteValue(const RegKey& key, const char16_t* name) override
    {
        if (!owns(key))
            return kErrorInvalidHandle;
        return toWin32(registryStorage().deleteValue(rawOf(key), text(name)));
    }

    Win32Error deleteKey(KeyParent parent, const char16_t* subKey) override
    {
        if (!subKey)
            return kErrorInvalidParameter;
        std::uintptr_t base = 0;
        std::u16string path;
        if (const Win32Error bad = start(parent, subKey, base, path))
            return bad;
        RegistryStorage& store = registryStorage();
        std::uintptr_t raw = 0;
        NtStatus status = store.open(base, path, kAccessDelete, raw);
        if (!ntSuccess(status))
            return toWin32(status);
        status = store.deleteKey(raw);
        store.close(raw);
        return toWin32(status);
    }

protected:
    void closeKey(std::uintptr_t raw) override { registryStorage().close(raw); }

private:
    // A predefined key becomes its native path; an open key stays a handle.
    Win32Error start(KeyParent parent, const char16_t* subKey, std::uintptr_t& base, std::u16string& path) const
    {
        if (parent.key()) {
            if (!owns(*parent.key()))
                return kErrorInvalidHandle;
            base = rawOf(*parent.key());
            path = text(subKey);
            return kErrorSuccess;
        }
        base = 0;
        path = registryStorage().rootPath(parent.root());
        path += u'\\';
        path += text(subKey);
        return kErrorSuccess;
    }
};

}  // namespace

IRegFunctions& regFunctions()
{
    static FakeRegFunctions instance;
    return instance;
}

}  // namespace s::platform
