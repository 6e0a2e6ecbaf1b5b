// A fresh, empty folder for one test, removed with its content afterwards:
// a unique folder under the temporary folder on Windows (Wine), a folder of
// the in-memory file system natively.
#pragma once

#include "base/StrBuffer.h"

#include <optional>
#include <string>
#include <string_view>

namespace testing_platform {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // No trailing backslash.
    const s::str::StrBuffer& path() const { return m_path; }
    // path() + "\" + relative.
    s::str::StrBuffer join(std::u16string_view relative) const;
    // Creates a file with these bytes behind the platform's back.
    void putFile(std::u16string_view relative, std::string_view bytes) const;
    // The file's bytes read behind the platform's back; false when missing.
    bool readBack(std::u16string_view relative, std::string& bytes) const;
    // How many files the platform wrote since this folder was made, where
    // the backend can tell (the in-memory machine); nothing on Windows.
    std::optional<int> writes() const;

private:
    s::str::StrBuffer m_path;
    int m_writesBefore = 0;
};

}  // namespace testing_platform
