// Another program holding a file open without sharing it, for one scope: on
// Windows (Wine) a real handle opened with share mode 0, natively the
// in-memory file system's "in use" mark. While it is held, Windows refuses to
// open the file for reading or writing and to rename anything over it.
#pragma once

#include "base/StrBuffer.h"

#include <string_view>

namespace testing_platform {

class HeldFile {
public:
    explicit HeldFile(std::u16string_view path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // The file could be opened (it exists).
    bool held() const { return m_held; }

private:
    s::str::StrBuffer m_path;
    void* m_handle = nullptr;
    bool m_held = false;
};

}  // namespace testing_platform
