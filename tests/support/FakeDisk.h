// The in-memory machine's disk as the settings store's tests use it: a fresh
// disk per test, seeded and inspected behind the platform's back, with the
// faults a real disk has (a full disk, a read-only medium, a file held or
// locked by another program). Native builds only: the store reaches it
// through s::platform::fileIo(), as it reaches the real disk on Windows.
#pragma once

#include "base/IFileIo.h"

#include <string>
#include <string_view>

namespace testing_platform {

class FakeDisk {
public:
    // Forgets every file of the in-memory machine, before and after.
    FakeDisk();
    ~FakeDisk();
    FakeDisk(const FakeDisk&) = delete;
    FakeDisk& operator=(const FakeDisk&) = delete;

    // The platform's whole-file access, which works on this disk.
    operator s::io::IFileIo&() const;  // NOLINT: passed where the store wants its files

    void seedFile(std::u16string_view path, std::string_view bytes);  // with its folders
    void addFolder(std::u16string_view path);                         // with its ancestors
    bool hasFile(std::u16string_view path) const;
    bool folderExists(std::u16string_view path) const;
    std::string fileContents(std::u16string_view path) const;  // empty when missing
    // Successful writes (a replacement is one write and one rename).
    int writeCount() const;

    // A write of more than `bytes` bytes puts that many into its file and
    // fails; -1 lifts the limit.
    void setDiskSpace(int bytes);
    // Every write fails before it begins.
    void setWritesFail(bool fail);
    // Another program holds the file open without sharing: reading, writing
    // and replacing it fail.
    void setInUse(std::u16string_view path, bool inUse);
    // Another program locked the file's bytes: reading fails.
    void setUnreadable(std::u16string_view path, bool unreadable);
};

}  // namespace testing_platform
