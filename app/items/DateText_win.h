// Times as the user's windows show them: the short date and the time without
// seconds, in the user's formats and the local time zone.
#pragma once

#include <cstdint>
#include <string>

namespace s::file::gui::dialogs::purgo {

// Seconds since 1970-01-01 UTC; empty when the system cannot show the time.
std::u16string localDateTimeText(int64_t seconds);
// A FILETIME as one number (100-ns steps since 1601-01-01 UTC), as a file's
// enumeration reads it; empty for 0 or a time the system cannot show.
std::u16string localFileTimeText(int64_t fileTime);

}  // namespace s::file::gui::dialogs::purgo
