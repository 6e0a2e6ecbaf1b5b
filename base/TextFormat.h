// The size and count texts of the main window's list and totals.
#pragma once

#include "base/StrBuffer.h"

#include <cstdint>

namespace s::str {

// Clears out, then writes the size as the list shows it: -2 gives the empty
// text, any other negative size "-". Otherwise the size is split into 10-bit
// fields (B, KB, MB, GB and TB, where TB takes every bit from 40 up) and the
// highest non-zero field of TB, GB, MB, KB is written with two decimals below
// 10, one decimal below 100, none above, the decimals taken from the next
// field down and truncated: 1536 gives "1.50 KB", 15872 "15.5 KB", 153600
// "150 KB". Below 1 KB: the byte count and " B" ("1023 B").
void formatSize(int64_t size, StrBuffer& out);

// Clears out, then writes count in decimal with "," between groups of three
// digits from the right: 1234567 gives "1,234,567"; negative counts keep
// their "-".
void formatCount(int64_t count, StrBuffer& out);

}  // namespace s::str
