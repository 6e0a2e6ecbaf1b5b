// The store behind the in-memory registry: the key tree, the handle table and
// the access checks, in native terms (NTSTATUS). The two fake interfaces,
// fake/FakeNativeKeyService.cpp and fake/FakeRegFunctions.cpp, translate to and from it.
// Internal to the fake; tests use platform/fake/FakeRegistry.h.
#pragma once

#include "platform/NativeKeyService.h"
#include "platform/fake/FakeRegistry.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace s::platform {

class RegistryStorage : public FakeRegistry {
public:
    struct Entry {
        std::u16string name;
        std::uint32_t type = kRegNone;
        std::vector<std::byte> data;
    };

    // `base` 0: `path` is a full native path. Otherwise `path` is relative to
    // the key open as `base` (empty: that key itself). Links on the way are
    // followed; `link` says what a link in the last component opens.
    virtual NtStatus open(std::uintptr_t base, std::u16string_view path, std::uint32_t access, std::uintptr_t& handle,
                          OpenLink link = OpenLink::Follow) = 0;
    virtual NtStatus create(std::uintptr_t base, std::u16string_view path, std::uint32_t access, std::uintptr_t& handle,
                            bool& created) = 0;
    virtual NtStatus enumerateKey(std::uintptr_t handle, std::uint32_t index, std::u16string& name) = 0;
    virtual NtStatus enumerateValue(std::uintptr_t handle, std::uint32_t index, Entry& entry) = 0;
    virtual NtStatus query(std::uintptr_t handle, std::u16string_view name, Entry& entry) = 0;
    virtual NtStatus set(std::uintptr_t handle, std::u16string_view name, std::uint32_t type,
                         std::span<const std::byte> data) = 0;
    virtual NtStatus deleteKey(std::uintptr_t handle) = 0;
    virtual NtStatus deleteValue(std::uintptr_t handle, std::u16string_view name) = 0;
    virtual NtStatus close(std::uintptr_t handle) = 0;
    virtual Win32Error sid(std::u16string& out) = 0;
};

RegistryStorage& registryStorage();

}  // namespace s::platform
