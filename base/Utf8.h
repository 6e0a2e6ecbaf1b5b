// UTF-8 <-> UTF-16, the library's own codec (the same on every platform).
//
// Decoding never fails and never reads past the input: every ill-formed
// sequence becomes U+FFFD, one per maximal ill-formed subpart (the Unicode
// recommendation, so "\xE2\x82" gives one U+FFFD and "\xFF\xFE" two).
//
// Unpaired surrogates: Windows strings (file names, registry values) may hold
// a lone UTF-16 surrogate. Encoding writes it as its generalised three-byte
// form (ED A0..BF xx) instead of losing it, and decoding reads that form back
// into the same unit, so every UTF-16 string survives a round trip through
// UTF-8. A valid pair is always written as one four-byte sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace s::str::utf8 {

inline constexpr char16_t kReplacement = 0xFFFD;

// Number of UTF-8 bytes that encode text.
std::size_t encodedLength(std::u16string_view text);
// Writes the encoding of text to out, which holds encodedLength(text) bytes.
void encode(std::u16string_view text, uint8_t* out);

// The offset of the first ill-formed sequence (one that decode() turns into
// U+FFFD), or count when there is none. The generalised surrogate forms that
// encode() writes count as well-formed.
std::size_t firstIllFormed(const uint8_t* bytes, std::size_t count);

// Number of UTF-16 units that decode(bytes) produces; never more than count.
std::size_t decodedLength(const uint8_t* bytes, std::size_t count);
// Writes the decoding of bytes to out, which holds decodedLength() units (or
// simply count units), and returns the number of units written.
std::size_t decode(const uint8_t* bytes, std::size_t count, char16_t* out);

}  // namespace s::str::utf8
