// The few whole-file operations that the XML documents need, as an interface,
// so that the foundation library stays free of the platform layer. The
// platform layer implements it (s::platform::fileIo(): Win32 on Windows, an
// in-memory file system natively); tests may pass their own.
//
// Paths are Windows paths. Every operation returns false on failure and
// reports nothing else; out parameters are then empty.
#pragma once

#include "base/Array.h"

#include <cstdint>
#include <string_view>

namespace s::io {

class IFileIo {
public:
    // Larger files are refused by readFile (the program's own files are a few
    // hundred kilobytes at most).
    static constexpr int kMaxReadBytes = 64 * 1024 * 1024;

    virtual ~IFileIo() = default;

    // The whole content of the file, replacing out's content. Fails for a
    // missing or unreadable file and for one larger than maxBytes.
    virtual bool readFile(std::u16string_view path, s::col::ArrayU08& out, int maxBytes) = 0;
    // Replaces the file's content with count bytes (creating the file), in
    // place. The parent folder must exist. Not safe against interruption: a
    // crash, a power cut or a full disk half-way leaves a truncated file.
    virtual bool writeFile(std::u16string_view path, const uint8_t* bytes, int count) = 0;
    // Replaces the file's content (or creates the file) in one step, so that
    // every reader, and the disk after a crash or a power cut, sees either the
    // whole old content or the whole new one: the bytes go to a temporary
    // file in the same folder, reach the disk, and then take the file's place.
    // On failure the old file is untouched and no temporary file stays. The
    // parent folder must exist.
    virtual bool replaceFile(std::u16string_view path, const uint8_t* bytes, int count) = 0;
    // An existing file (not a folder). A file that exists but cannot be
    // opened (in use without sharing, access denied) counts as existing.
    virtual bool fileExists(std::u16string_view path) = 0;
    virtual bool folderExists(std::u16string_view path) = 0;
    // Creates one folder; its parent must exist. True when the folder exists
    // afterwards (also when it existed before).
    virtual bool createFolder(std::u16string_view path) = 0;
};

}  // namespace s::io
