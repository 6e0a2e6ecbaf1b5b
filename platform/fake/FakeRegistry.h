// The in-memory registry of native builds, and its test API. Only tests
// include this header; everything else reaches it through nativeKeyService()
// and regFunctions(), which show the same keys:
//
//   \Registry\Machine                                   HKEY_LOCAL_MACHINE
//   \Registry\User                                      HKEY_USERS
//   \Registry\User\<userSid()>                          HKEY_CURRENT_USER
//   \Registry\Machine\SOFTWARE\Classes                  HKEY_CLASSES_ROOT
//   \Registry\Machine\System\CurrentControlSet
//       \Hardware Profiles\Current                      HKEY_CURRENT_CONFIG
//
// The user's SID is S-1-5-21-0-0-0-1000, as in a Wine prefix run by root.
//
// What it models, as Windows does it: names compare without regard to case
// (A-Z folded) and keep their case; subkeys enumerate sorted by name, values
// in the order they were first set; handles carry the access they were
// opened with and every call checks it (enumerating subkeys needs
// kKeyEnumerateSubKeys, reading values kKeyQueryValue, changing values
// kKeySetValue, deleting the key kAccessDelete); a deleted key's open handles
// answer kStatusKeyDeleted; NtDeleteKey on a key with subkeys fails with
// kStatusCannotDelete (Wine says kStatusAccessDenied), RegDeleteKeyW with
// kErrorAccessDenied. Native paths must start with "\" (else
// kStatusObjectPathSyntaxBad); empty components are skipped, as Wine does.
//
// Links, as Windows makes them with REG_OPTION_CREATE_LINK: a link key holds
// the value SymbolicLinkValue (kRegLink, the target's native path without a
// terminating zero) and no subkeys. Opening a path follows a link in any
// component and goes on from its target - the last component too, unless it
// is opened with OpenLink::Itself. A link whose target is missing, or a chain
// of links that does not end (a loop), does not open when followed
// (kStatusObjectNameNotFound) but opens as itself. NtDeleteKey on a link
// opened as itself removes the link alone; enumerating its parent lists it
// like any subkey; enumerating the link itself lists no subkeys and the one
// value. Creating a key through a link creates it in the target. Wine 8
// behaves the same in all of this (measured), with two differences: a loop
// of links followed fails there with kStatusInvalidParameter, and NtQueryKey
// refuses KeyFlagsInformation, so the value is the only way to tell a link
// from a key there.
//
// Faults: a key (with everything below it) can be made read-only - it opens
// for reading but not with any write right, as a key under a root the user
// may read but not write - or closed to the user altogether.
#pragma once

#include "platform/RegFunctions.h"
#include "platform/Win32Codes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform {

enum class KeyFault : std::uint8_t {
    None,
    ReadOnly,  // opening with a write right fails with access denied
    NoAccess,  // every open fails with access denied
};

struct FakeValue {
    std::uint32_t type = kRegNone;
    std::vector<std::byte> data;
};

class FakeRegistry {
public:
    virtual ~FakeRegistry() = default;

    // Seeding, by native path; missing keys on the way are created. Seeding
    // ignores faults. False for a path outside \Registry\Machine and
    // \Registry\User.
    virtual bool addKey(std::u16string_view nativePath) = 0;
    virtual bool setValue(std::u16string_view nativePath, std::u16string_view name, std::uint32_t type,
                          std::span<const std::byte> data) = 0;
    virtual bool setFault(std::u16string_view nativePath, KeyFault fault) = 0;
    // A new link key at `nativePath` (missing parents are made) that stands
    // for `targetNativePath`, which need not exist. False when the key exists
    // or lies outside the hives, as with seeding.
    virtual bool addLink(std::u16string_view nativePath, std::u16string_view targetNativePath) = 0;
    // Removes a key with everything below it; open handles to any of them
    // then answer kStatusKeyDeleted.
    virtual bool removeTree(std::u16string_view nativePath) = 0;
    // Makes currentUserSid fail with `error`; kErrorSuccess heals it.
    virtual void failUserSid(Win32Error error) = 0;
    // Back to the predefined keys only, no faults, no handles.
    virtual void clear() = 0;

    // Inspection.
    virtual bool hasKey(std::u16string_view nativePath) = 0;
    // True when the last component of `nativePath` is a link key (not
    // followed).
    virtual bool hasLink(std::u16string_view nativePath) = 0;
    virtual std::optional<FakeValue> value(std::u16string_view nativePath, std::u16string_view name) = 0;
    // Keys opened through either interface and not yet closed: a leak check.
    virtual std::size_t openHandles() = 0;
    virtual std::u16string userSid() = 0;
    // The native path a predefined key stands for.
    virtual std::u16string rootPath(RootKey root) = 0;
};

FakeRegistry& fakeRegistry();

}  // namespace s::platform
