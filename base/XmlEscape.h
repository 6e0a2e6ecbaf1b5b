// The escapes of the XML dialect. Values are stored escaped and decoded when
// they are read, so a tree written back keeps the escapes it was read with.
//
//                 attribute values              element text (empty name)
//   written       LF &#10;  CR &#13;  " &quot;   LF &#10;  CR &#13;  space &#160;
//                 & &amp;  < &lt;               & &amp;  < &lt;  > &gt;
//                                               tab &#9;  U+3000 &#12288;
//   decoded       the same five                 the same, and &#160; -> space
//
// Both sets also write U+0000 as &#0; and read it back: a raw NUL would end the
// document for every reader (the parser stops at NUL), losing all that follows.
// Tab and U+3000 in element text are escaped because reading trims them from
// the ends of a text otherwise; with the escapes, every string set as text or
// as a value reads back unchanged. Any other "&" sequence reads as it stands.
//
// Reading element text trims: leading space, tab, LF and CR are skipped
// before decoding; after decoding, trailing space, LF, U+3000, tab and CR go,
// but never a character produced by an escape, nor anything before it.
#pragma once

#include "base/StrBuffer.h"

#include <string_view>

namespace s::xml {

enum class ValueKind { Attribute, Text };

// The kind of a value stored under name: an empty name holds element text.
inline ValueKind valueKindOf(std::u16string_view name)
{
    return name.empty() ? ValueKind::Text : ValueKind::Attribute;
}

void appendEscaped(std::u16string_view value, ValueKind kind, s::str::StrBuffer& out);
// Decodes a stored value (with the trimming rules for text) onto out's end.
void appendDecoded(std::u16string_view raw, ValueKind kind, s::str::StrBuffer& out);

}  // namespace s::xml
