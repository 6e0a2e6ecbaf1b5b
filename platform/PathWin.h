// The path object over the file-system service (platform/FileSystem.h): the
// system's own path logic, written once, running on Win32 and on the
// in-memory fake alike. The rules are in platform/IPath.h.
//
// Path objects and their lists come from pools: take one with PathWin::make,
// which gives it back when the handle goes out of scope.
#pragma once

#include "base/Pool.h"
#include "platform/IPath.h"

#include <vector>

namespace s::platform {
struct FindData;
}

namespace s::file::win {

class PathWin final : public s::thread::PooledObject<PathWin, s::file::IPath> {
public:
    PathWin() = default;
    ~PathWin() override = default;
    PathWin(const PathWin&) = delete;
    PathWin& operator=(const PathWin&) = delete;

    // A path object from the pool, set to `text`.
    static s::thread::Pooled<PathWin> make(std::u16string_view text);

    const char* className() const override { return "s_file_win_PathWin"; }
    void reset() override;

    void setPath(std::u16string_view text) override;
    const StrBuffer& text() const override { return m_text; }
    const StrBuffer& fullPath() const override { return m_full; }
    const StrBuffer& drive() const override { return m_drive; }
    const StrBuffer& directory() const override { return m_directory; }
    const StrBuffer& fileTitle() const override { return m_title; }
    const StrBuffer& extension() const override { return m_extension; }
    const StrBuffer& longForm() const override { return m_long; }
    const StrBuffer& callPath() const override { return m_long.isEmpty() ? m_full : m_long; }
    bool isValid() const override { return m_valid; }
    bool isRooted() const override { return m_rooted; }
    bool isAbsolute() const override { return m_absolute; }
    bool isProtectedPlace() override;
    StrBuffer lastComponent() const override;

    bool exists() override;
    std::uint32_t attributes() override;
    std::int64_t fileSize() override;
    std::int64_t measureFolder(Descend descend, TopFiles topFiles, std::int64_t& files, std::int64_t& folders) override;
    int listChildren(PathList& out, HiddenAndSystem hidden, Recursion recursion) override;
    int listSubdirectories(PathList& out, HiddenAndSystem hidden, Recursion recursion) override;
    int listFiles(PathList& out, HiddenAndSystem hidden, Recursion recursion) override;
    int expandWildcard(PathList& out, HiddenAndSystem hidden, InSubfolders inSubfolders) override;
    bool clearReadOnly() override;
    bool deletePath(NotifyShell notify, AtReboot atReboot) override;
    // Removes the folder only when it holds nothing (RemoveDirectoryW), for
    // cleans that take away what a folder held and then the folder if that
    // left it empty. True when it is gone (or was not there); false for a
    // folder that still holds something, a file, a link, a protected place
    // or a root. Never schedules anything for the next boot: a folder whose
    // files wait for it is removed by the next clean.
    bool removeIfEmpty(NotifyShell notify);
    // When the file or folder was last written: a FILETIME as one number
    // (100-ns steps since 1601-01-01 UTC), or 0 when it cannot be read. A
    // path made by a listing has it from the enumeration; any other asks
    // once, with the query that reads its size.
    std::int64_t lastWriteTime();

    // The long form of any full path ("\\?\C:\..." or "\\?\UNC\..."), with
    // "." and ".." resolved and empty components dropped, since the "\\?\"
    // form switches off Win32's own normalisation. False (out untouched) for a
    // path that has none: relative, drive-relative, or already in that form.
    static bool makeLongForm(std::u16string_view fullPath, StrBuffer& out);
    // True when the text names a drive or share root, the current directory
    // or one of its parents: places that delete path never touches.
    static bool namesRoot(std::u16string_view fullPath);

private:
    enum class Listing : std::uint8_t { Children, Subdirectories, Files };
    enum class Step : std::uint8_t { Gone, Failed, EnterFolder };

    // A path made by a listing: `text` is the folder listed joined with the
    // entry's name, and the entry's attributes, size and time stand in for the
    // queries (the enumeration is as recent as any query would be; what
    // changes after it shows as an error of the delete). `longConfirmed`:
    // the folder listed has no short names in its path, so the entry's
    // long path is its own text and isProtectedPlace needs no
    // GetLongPathNameW of its own.
    static s::thread::Pooled<PathWin> makeListed(std::u16string_view text, const s::platform::FindData& entry,
                                                 bool longConfirmed);
    // Whether the long path of the folder `folder` (a plain full path) is
    // that text itself: a text without "~", or one that both
    // GetLongPathNameW forms that isProtectedPlace asks give back.
    static bool hasLongNamesOnly(std::u16string_view folder);

    int list(PathList& out, Listing listing, HiddenAndSystem hidden, Recursion recursion);
    Step startDelete(NotifyShell notify, AtReboot atReboot);
    bool finishFolder(bool childrenGone, NotifyShell notify, AtReboot atReboot);
    bool deleteFileNow();
    bool removeFolderNow();
    void scheduleAtReboot();
    void forgetCache();

    StrBuffer m_text;
    StrBuffer m_full;
    StrBuffer m_drive;
    StrBuffer m_directory;
    StrBuffer m_title;
    StrBuffer m_extension;
    StrBuffer m_long;
    bool m_valid = false;
    bool m_rooted = false;
    bool m_absolute = false;
    bool m_attributesRead = false;
    bool m_longConfirmed = false;
    bool m_sizeRead = false;  // m_size and m_lastWrite
    std::uint32_t m_attributes = 0xFFFFFFFF;
    std::int64_t m_size = 0;
    std::int64_t m_lastWrite = 0;
};

using PathHandle = s::thread::Pooled<PathWin>;

// An owning list of path objects, itself pooled. Its elements go back to
// their pool when the list is cleared, reset or destroyed.
class PathList final : public s::thread::PooledObject<PathList> {
public:
    PathList() = default;
    ~PathList() override { clear(); }
    PathList(const PathList&) = delete;
    PathList& operator=(const PathList&) = delete;

    const char* className() const override { return "s_file_win_PathList"; }
    void reset() override { clear(); }

    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    PathWin& get(int index) const { return *m_items[static_cast<std::size_t>(index)]; }
    PathWin& operator[](int index) const { return get(index); }

    // Takes over the object of `path`.
    void add(PathHandle path) { m_items.push_back(path.detach()); }
    void clear();

private:
    std::vector<PathWin*> m_items;
};

using PathListHandle = s::thread::Pooled<PathList>;

}  // namespace s::file::win
