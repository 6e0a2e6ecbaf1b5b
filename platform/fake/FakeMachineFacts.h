// The settable machine of native builds, and its test API. Only tests include
// this header; everything else reaches it through machineFacts().
//
// It starts as an empty machine: no paths, no drives, no ini files. Ini
// files are held as text and read the way GetPrivateProfileStringW reads
// them: section and key names compare without regard to case (A-Z), the
// first matching section and key win, surrounding blanks are dropped, and one
// pair of enclosing quotes is taken off a value.
#pragma once

#include "platform/MachineFacts.h"

#include <string>
#include <string_view>

namespace s::platform {

class FakeMachineFacts : public IMachineFacts {
public:
    virtual void setTempPath(std::u16string_view path) = 0;
    virtual void setModulePath(std::u16string_view path) = 0;
    // "tester" until set.
    virtual void setUserName(std::u16string_view name) = 0;
    // Adds a drive root ("C:\") with its type, after those added before.
    virtual void addDrive(std::u16string_view root, std::uint32_t type) = 0;
    // Replaces the whole text of an ini file (path compared without regard to
    // case); an empty text removes it.
    virtual void setIniFile(std::u16string_view path, std::u16string_view text) = 0;
    // Back to the empty machine.
    virtual void clear() = 0;
};

FakeMachineFacts& fakeMachineFacts();

}  // namespace s::platform
