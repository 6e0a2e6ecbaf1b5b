// An in-memory file system behind s::io::IFileIo, for tests. Paths compare as
// Windows compares them here: A-Z fold, "/" equals "\", a trailing "\" does
// not count. A path without any "\" (a drive, "C:") is a folder that always
// exists; every other folder exists once addFolder or createFolder made it.
// Like Win32, writing needs the parent folder and creating a folder needs its
// parent.
//
// The native build's fileIo() is one FakeFileIo (fakeFileIo()); tests on
// both builds may also make their own for fault injection.
#pragma once

#include "base/IFileIo.h"

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace s::platform {

class FakeFileIo : public s::io::IFileIo {
public:
    bool readFile(std::u16string_view path, s::col::ArrayU08& out, int maxBytes) override;
    bool writeFile(std::u16string_view path, const uint8_t* bytes, int count) override;
    // Writes path + ".new" and renames it over path, as the Win32 version
    // does, with the same failure rules.
    bool replaceFile(std::u16string_view path, const uint8_t* bytes, int count) override;
    bool fileExists(std::u16string_view path) override;
    bool folderExists(std::u16string_view path) override;
    bool createFolder(std::u16string_view path) override;

    // Test hooks.
    void seedFile(std::u16string_view path, std::string_view bytes);  // creates its folders too
    void addFolder(std::u16string_view path);                         // with every ancestor
    bool hasFile(std::u16string_view path) const;
    // The file's bytes; empty when there is no such file.
    std::string fileContents(std::u16string_view path) const;
    bool removeFile(std::u16string_view path);
    // Forgets every file and folder under path (and path itself).
    void removeTree(std::u16string_view path);
    // Every readFile of path fails (a file locked by another process).
    void setUnreadable(std::u16string_view path, bool unreadable);
    // Every write fails before it begins (a read-only medium).
    void setWritesFail(bool fail);
    // A disk that fills up: a write of more than `bytes` bytes puts that many
    // into its file and then fails. -1 lifts the limit.
    void setDiskSpace(int bytes);
    // Another program holds the file open without sharing: reading, writing
    // and replacing it fail; it still exists.
    void setInUse(std::u16string_view path, bool inUse);
    // Successful writes and replacements.
    int writeCount() const;

private:
    static std::u16string key(std::u16string_view path);
    static std::u16string parentOf(const std::u16string& key);
    bool folderExistsLocked(const std::u16string& key) const;
    // Writes bytes to the file `key` as far as the disk allows; false when
    // the disk filled up (the file then holds what fitted).
    bool putLocked(const std::u16string& key, const uint8_t* bytes, int count);

    mutable std::mutex m_lock;
    std::map<std::u16string, std::string> m_files;
    std::set<std::u16string> m_folders;
    std::set<std::u16string> m_unreadable;
    std::set<std::u16string> m_inUse;
    bool m_writesFail = false;
    int m_diskSpace = -1;
    int m_writeCount = 0;
};

// The instance behind fileIo() in the native build.
FakeFileIo& fakeFileIo();

}  // namespace s::platform
