// The standard text form of a security identifier, "S-1-5-21-...", made from
// the SID's bytes as Windows keeps them in memory: revision (1 byte),
// sub-authority count (1 byte), identifier authority (6 bytes, big-endian),
// then the sub-authorities (32-bit, little-endian). The authority is written
// in decimal, or, when either of its two high bytes is not zero, as "0x"
// followed by its six bytes in lower-case hexadecimal; each sub-authority
// follows as "-" and its decimal value.
//
// Portable so that it can be tested anywhere; the Windows side feeds it the
// token user's SID (the native root of HKEY_CURRENT_USER is
// \Registry\User\<this text>).
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace s::platform {

// Empty when the bytes are not a well-formed SID: shorter than its own
// sub-authority count says, revision other than 1, or more than 15
// sub-authorities (Windows' SID_MAX_SUB_AUTHORITIES).
std::u16string sidText(std::span<const std::byte> sid);

}  // namespace s::platform
