// How Windows matches a FindFirstFileW mask against a file name. The
// in-memory file system matches with it, and the path object confirms every
// match Windows reports with it (Windows also matches the 8.3 short name, see
// below, which no user means by "*.log"). Windows does not hand the mask to the file system as
// typed: kernel32 first rewrites three cases into the "DOS" wildcards of
// FsRtlIsNameInExpression, and those carry the legacy quirks:
//
//   typed                          becomes    which matches
//   '?'                            DOS_QM     one character, but nothing at a
//                                             '.' or at the end of the name
//   '*' followed by '.'            DOS_STAR   any run of characters before the
//                                             name's last '.'
//   '.' followed by '?', '*' or    DOS_DOT    a '.', or nothing at the end of
//   at the end of the mask                    the name
//   '<', '>', '"'                  themselves (DOS_STAR, DOS_QM, DOS_DOT)
//
// so "*.*" matches every name, also those without a dot; "*." matches only
// names without a dot; "a?" matches "a" and "ab"; "x.?" matches "x" and "x.y".
// A plain '*' matches any run, also an empty one. Letters compare without
// regard to case, folding A-Z only.
//
// What Windows also does and this does not: match the mask against the 8.3
// short name as well ("*.log" finds "x.logs" through X~1.LOG, "*.htm" finds
// "page.html" through PAGE~1.HTM). The fake file system models that for the
// names a test gives a short name.
//
// Wine 8 differs: it treats '?' and '*' plainly ("a?" misses "a") and strips a
// trailing '.' from the mask ("*." matches everything); it does match short
// names. Tests that run on both avoid those cases.
#pragma once

#include <string_view>

namespace s::platform {

bool findPatternMatches(std::u16string_view mask, std::u16string_view name);

}  // namespace s::platform
