// The in-memory platform's system facts, and their test API. Only tests
// include this header; everything else reaches them through systemFacts().
//
// The machine looks like Windows 7 (6.1.7601) installed on C:, with the
// Windows folder C:\Windows and the system folder C:\Windows\system32, until
// a test sets other folders. systemFacts() keeps handing out the same object,
// so a reference taken before a change sees the new folders. A test changes
// them only while no other thread reads them: readers hold references, which
// no lock could cover.
#pragma once

#include <string_view>

namespace s::platform {

// The Windows and system folders systemFacts() reports from now on; an empty
// text is a folder Windows could not tell.
void setSystemFolders(std::u16string_view windows, std::u16string_view system);
// Back to C:\Windows and C:\Windows\system32.
void resetSystemFolders();

}  // namespace s::platform
