// The layouts of the three information records the native key services
// write, shared by the Win32 implementation (which decodes what ntdll wrote)
// and the in-memory registry (which writes the same records, so that callers
// meet the same buffer rules on both):
//
//   KEY_BASIC_INFORMATION        LastWriteTime (8), TitleIndex (4),
//                                NameLength (4), Name
//   KEY_VALUE_BASIC_INFORMATION  TitleIndex (4), Type (4), NameLength (4), Name
//   KEY_VALUE_FULL_INFORMATION   TitleIndex (4), Type (4), DataOffset (4),
//                                DataLength (4), NameLength (4), Name, ...,
//                                Data at DataOffset
//
// Lengths are in bytes, names UTF-16 without a terminating zero. Decoding
// checks every length and offset against the bytes actually written, so a
// malformed record yields false instead of a view past the area.
#pragma once

#include "platform/NativeKeyService.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace s::platform::native_info {

inline constexpr std::size_t kKeyBasicFixed = 16;
inline constexpr std::size_t kValueBasicFixed = 12;
inline constexpr std::size_t kValueFullFixed = 20;
inline constexpr std::size_t kAreaAlignment = 8;

bool aligned(std::span<std::byte> area);

// Writers for the in-memory registry. They return kStatusSuccess,
// kStatusBufferOverflow (fixed part written) or kStatusBufferTooSmall, and
// set resultLength to the full record length in every case.
NtStatus writeKeyBasic(std::u16string_view name, std::span<std::byte> area, std::uint32_t& resultLength);
NtStatus writeValueBasic(std::uint32_t type, std::u16string_view name, std::span<std::byte> area,
                         std::uint32_t& resultLength);
NtStatus writeValueFull(std::uint32_t type, std::u16string_view name, std::span<const std::byte> data,
                        std::span<std::byte> area, std::uint32_t& resultLength);

// Readers: `status` is what the call returned; on kStatusBufferOverflow only
// the fixed fields are read. `written` is the number of valid bytes
// (resultLength capped at the area's size).
bool readKeyBasic(std::span<const std::byte> written, NtStatus status, KeyBasicInfo& info);
bool readValueBasic(std::span<const std::byte> written, NtStatus status, ValueBasicInfo& info);
bool readValueFull(std::span<const std::byte> written, NtStatus status, ValueFullInfo& info);

}  // namespace s::platform::native_info
