// s::xml::MappedData: the settings store on an XML document, mirrored to the
// settings file "savedata\SaveData.xml" in the program's folder.
//
// The document: sections are elements, values are attributes of the
// section's element, the empty name is the element's text; values are text
// ("1"/"0" for bools, decimal integers, six decimals for floating values,
// lower-case hex for bytes, strings escaped by the XML dialect's rules). The
// file is UTF-8 on one line, without declaration; a new document's root is
// "savedata", a file's own root keeps its name whatever it is.
//
// Failure rules (besides those of IMappedData):
//   - a missing file gives an empty store; the file and its folder appear
//     with the first save;
//   - a damaged file (one that is not well-formed, base/XmlNode.h
//     ParseReport) gives whatever the parser recovers, and its bytes are
//     kept: before the first save replaces it, they are written unchanged
//     beside it as "<name>.damaged-<yyyymmdd-hhmmss>.xml" (local time; "-2",
//     "-3", ... added when that name is taken), so that the user's custom
//     groups and checks in the part that could not be read are not lost.
//     When the copy cannot be written, the file is never overwritten (as
//     below);
//   - a file that exists but cannot be read (another program holds it
//     without sharing, access denied, over 64 MB) is never overwritten: this
//     run's values stay in memory only, so that the user's settings survive;
//   - every save replaces the file in one step (IFileIo::replaceFile): a
//     crash, a power cut or a full disk during a save leaves the old file;
//   - a name that the file could not carry is never written: a value name
//     with white space, '"', '=', '/', '>' or NUL, a section name with white
//     space, '>' or NUL or beginning with "!". Written, its attribute or
//     element would read back as another name and turn the rest of its
//     element into garbage (a '/' in a value name even ends the element, and
//     its children are lost). Such names only come from a hand-edited file
//     (a custom group's "ID").
//
// Concurrency: every call holds the store's lock (a recursive one, so a
// SaveBatch may make calls of its own). The section cache (the last selected
// path and its element) lives under the same lock.
#pragma once

#include "base/IFileIo.h"
#include "base/Pool.h"
#include "base/StrBuffer.h"
#include "base/XmlNode.h"
#include "settings/IMappedData.h"

#include <mutex>
#include <string>
#include <string_view>

namespace s::xml {

class MappedData : public s::thread::PooledObject<MappedData, s::map::IMappedData> {
public:
    MappedData() = default;
    ~MappedData() override = default;
    MappedData(const MappedData&) = delete;
    MappedData& operator=(const MappedData&) = delete;

    const char* className() const override { return "s_xml_MappedData"; }
    // No file, an empty root, auto-save off.
    void reset() override;

    // Starts this store on path: reads the file when it exists (see the top
    // of this file), else starts a new document named "savedata". Auto-save
    // is off.
    void open(std::u16string_view path, s::io::IFileIo& files);
    // Starts this store on a document held in memory (an embedded resource):
    // reading works as for a file, save() writes nothing.
    void openDocument(std::string_view utf8);

    bool save() override;
    void selectSection(std::u16string_view section) override;
    void removeSection(std::u16string_view section) override;
    bool findSection(std::u16string_view section) override;
    bool exists(std::u16string_view section, std::u16string_view name) override;

    uint8_t getU8(std::u16string_view section, std::u16string_view name, uint8_t defaultValue) override;
    uint16_t getU16(std::u16string_view section, std::u16string_view name, uint16_t defaultValue) override;
    uint32_t getU32(std::u16string_view section, std::u16string_view name, uint32_t defaultValue) override;
    uint64_t getU64(std::u16string_view section, std::u16string_view name, uint64_t defaultValue) override;
    int8_t getS8(std::u16string_view section, std::u16string_view name, int8_t defaultValue) override;
    int16_t getS16(std::u16string_view section, std::u16string_view name, int16_t defaultValue) override;
    int32_t getS32(std::u16string_view section, std::u16string_view name, int32_t defaultValue) override;
    int64_t getS64(std::u16string_view section, std::u16string_view name, int64_t defaultValue) override;
    float getFloat(std::u16string_view section, std::u16string_view name, float defaultValue) override;
    double getDouble(std::u16string_view section, std::u16string_view name, double defaultValue) override;
    bool getBool(std::u16string_view section, std::u16string_view name, bool defaultValue) override;
    StrBuffer getString(std::u16string_view section, std::u16string_view name, std::u16string_view defaultValue = {},
                        bool* flag = nullptr, int option = 0) override;
    int getBinary(std::u16string_view section, std::u16string_view name, void* buffer, int size) override;
    using s::map::IMappedData::getBytes;
    s::col::ArrayU08& getBytes(std::u16string_view section, std::u16string_view name,
                               s::col::ArrayU08& target) override;
    bool remove(std::u16string_view section, std::u16string_view name) override;

    void setU8(std::u16string_view section, std::u16string_view name, uint8_t value) override;
    void setU16(std::u16string_view section, std::u16string_view name, uint16_t value) override;
    void setU32(std::u16string_view section, std::u16string_view name, uint32_t value) override;
    void setU64(std::u16string_view section, std::u16string_view name, uint64_t value) override;
    void setS8(std::u16string_view section, std::u16string_view name, int8_t value) override;
    void setS16(std::u16string_view section, std::u16string_view name, int16_t value) override;
    void setS32(std::u16string_view section, std::u16string_view name, int32_t value) override;
    void setS64(std::u16string_view section, std::u16string_view name, int64_t value) override;
    void setFloat(std::u16string_view section, std::u16string_view name, float value) override;
    void setDouble(std::u16string_view section, std::u16string_view name, double value) override;
    void setBool(std::u16string_view section, std::u16string_view name, bool value) override;
    void setString(std::u16string_view section, std::u16string_view name, std::u16string_view value) override;
    void setBinary(std::u16string_view section, std::u16string_view name, const void* data, int size) override;
    void setBytes(std::u16string_view section, std::u16string_view name, const uint8_t* bytes, int count) override;

    bool autoSave() override;
    void setAutoSave(bool on) override;
    void beginBatch() override;
    void endBatch() override;

    // The backing file's path; empty for a store that lives in memory only.
    StrBuffer filePath() const;
    // The line (from 1) where the file stopped being well-formed; 0 for a
    // well-formed, missing or unreadable file.
    int damagedLine() const;
    // Where the damaged file was kept, once the first save made the copy;
    // empty before, and for a file that was not damaged.
    StrBuffer damagedCopy() const;
    // The whole document as the file holds it (after the next save).
    StrBuffer toString() const;

private:
    enum class Create { No, Yes };
    using Guard = std::lock_guard<std::recursive_mutex>;

    // The section's element, or nullptr (missing with Create::No, or a name
    // the file cannot carry).
    Node* select(std::u16string_view section, Create create);
    // Replaces the value of name in section with add's record.
    template <class Add> void write(std::u16string_view section, std::u16string_view name, Add add);
    template <class T, class Read> T read(std::u16string_view section, T defaultValue, Read read);
    // After a change: save now, or at the end of the batch.
    void changed();
    // Writes the damaged file's copy if it is still due; false when it could
    // not be written.
    bool keepDamagedCopy();
    void forgetSelection();

    s::io::IFileIo* m_files = nullptr;
    StrBuffer m_file;
    StrBuffer m_currentPath;
    Node m_root;
    Node* m_current = nullptr;
    bool m_autoSave = false;
    // The file exists but could not be read: never overwrite it.
    bool m_keepFile = false;
    // A damaged file: its line, its bytes until the copy is made, the copy.
    int m_damagedLine = 0;
    std::string m_damagedBytes;
    StrBuffer m_damagedCopy;
    int m_batchDepth = 0;
    bool m_changedInBatch = false;
    mutable std::recursive_mutex m_lock;
};

using MappedDataHandle = s::thread::Pooled<MappedData>;

// A store from the pool on path (MappedData::open).
MappedDataHandle openFileStore(std::u16string_view path, s::io::IFileIo& files);
// The same on the platform's files.
MappedDataHandle openFileStore(std::u16string_view path);
// The program's settings file: its folder joined with "savedata\SaveData.xml".
StrBuffer settingsFilePath();

// The local time a damaged file's copy is named after.
struct CopyStamp {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// The name of a damaged copy of `settingsPath` at `stamp`: "C:\x\SaveData.xml"
// gives "C:\x\SaveData.damaged-20240131-235959.xml", with `attempt` above 1
// "...-235959-2.xml".
StrBuffer damagedCopyPath(std::u16string_view settingsPath, const CopyStamp& stamp, int attempt = 1);

}  // namespace s::xml
