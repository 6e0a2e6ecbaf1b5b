#include "catalogue/FolderListings.h"

#include "base/StrBuffer.h"
#include "platform/FileSystem.h"
#include "platform/PathWin.h"

namespace s::file::gui::dialogs::purgo {

namespace {

namespace p = s::platform;

// A folder asked about this often is listed; fewer questions go to the file
// system one by one.
constexpr int kListFromQuestion = 3;

std::u16string folded(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer::foldedCopy(text);
}

// "C:" for "C:\" and "C:"; the path without trailing backslashes otherwise.
std::u16string_view keyForm(std::u16string_view path)
{
    while (path.size() > 2 && (path.back() == u'\\' || path.back() == u'/'))
        path.remove_suffix(1);
    return path;
}

bool isDriveRoot(std::u16string_view path)
{
    return path.size() == 2 && path[1] == u':';
}

// Names the listing cannot answer for as GetFileAttributesW would: an 8.3
// alias ("PROGRA~1"), "." or "..", and names Windows trims (trailing dots
// and blanks).
bool askDirectly(std::u16string_view name)
{
    return name.empty() || name.find(u'~') != std::u16string_view::npos || name.back() == u'.' || name.back() == u' ';
}

}  // namespace

// Folds into `out`, which keeps its storage from call to call: the look-ups
// allocate only when they add.
void foldInto(std::u16string_view text, std::u16string& out)
{
    out.assign(text);
    for (char16_t& c : out)
        c = s::str::strbuffer::StrBuffer::foldCase(c);
}

FolderListings::Folder& FolderListings::folderOf(std::u16string_view folder)
{
    foldInto(keyForm(folder), m_key);
    const auto found = m_folders.find(m_key);
    if (found != m_folders.end())
        return found->second;
    return m_folders[m_key];
}

const FolderListings::Entry* FolderListings::entryOf(const Folder& folder, std::u16string_view name)
{
    foldInto(name, m_key);
    const auto found = folder.byName.find(m_key);
    return found == folder.byName.end() ? nullptr : &folder.entries[found->second];
}

void FolderListings::fill(Folder& folder, std::u16string_view path)
{

    folder.listed = true;
    path = keyForm(path);
    m_scratch.clear();
    s::str::strbuffer::StrBuffer longForm;
    if (isDriveRoot(path)) {
        m_scratch.assign(path);
    } else if (s::file::win::PathWin::makeLongForm(path, longForm)) {
        m_scratch.assign(longForm.view());
    } else {
        m_scratch.assign(path);
    }
    m_scratch += u"\\*";
    ++m_calls;
    p::IFileSystem& fs = p::fileSystem();
    p::FindHandle handle;
    p::FindData data;
    const p::Win32Error error = fs.findFirst(m_scratch.c_str(), handle, data);
    // An empty root lists nothing at all (no "." or ".."): still a folder.
    folder.listable = error == p::kErrorSuccess || (error == p::kErrorFileNotFound && isDriveRoot(path));
    if (error != p::kErrorSuccess)
        return;
    do {
        if (data.name == u"." || data.name == u"..")
            continue;
        folder.byName.emplace(folded(data.name), static_cast<std::uint32_t>(folder.entries.size()));
        folder.entries.push_back({std::move(data.name), data.attributes});
    } while (fs.findNext(handle, data) == p::kErrorSuccess);
}

FolderListings::Folder& FolderListings::listed(std::u16string_view path)
{
    Folder& folder = folderOf(path);
    if (folder.listed)
        return folder;
    // A folder its parent's listing does not hold is not listed: most of
    // the folders a rule file names are not on this machine, and a listing
    // that fails costs as much as one that succeeds.
    const std::uint32_t attributes = this->attributes(path);
    if (attributes == p::kInvalidFileAttributes || !(attributes & p::kFileAttributeDirectory)) {
        folder.listed = true;
        folder.listable = false;
        return folder;
    }
    fill(folder, path);
    return folder;
}

const std::vector<FolderListings::Entry>* FolderListings::list(std::u16string_view path)
{
    Folder& folder = listed(path);
    return folder.listable ? &folder.entries : nullptr;
}

const FolderListings::Entry* FolderListings::find(std::u16string_view path, std::u16string_view name)
{
    Folder& folder = listed(path);
    return folder.listable ? entryOf(folder, name) : nullptr;
}

bool FolderListings::exists(std::u16string_view path)
{
    return attributes(path) != p::kInvalidFileAttributes;
}

std::uint32_t FolderListings::attributes(std::u16string_view path)
{
    path = keyForm(path);
    const std::size_t slash = path.rfind(u'\\');
    const std::u16string_view parent =
        slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
    const std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    // A root, a share ("\\\\server\\share") or a name the listing cannot
    // answer for: asked as it is.
    const bool share = path.size() > 2 && path[0] == u'\\' && path[1] == u'\\';
    const bool shareRoot = share && path.find(u'\\', path.find(u'\\', 2) + 1) == std::u16string_view::npos;
    if (parent.empty() || isDriveRoot(path) || shareRoot || (share && parent.rfind(u'\\') < 2) || askDirectly(name))
        return direct(isDriveRoot(path) ? std::u16string(path) + u"\\" : std::u16string(path));
    Folder& folder = folderOf(parent);
    if (!folder.listed) {
        if (++folder.asked < kListFromQuestion) {
            // A folder that is not there holds nothing: asking its parent is
            // answered from listings made for other paths.
            if (!exists(parent)) {
                folder.listed = true;
                folder.listable = false;
                return p::kInvalidFileAttributes;
            }
            return direct(path);
        }
        fill(folder, parent);
    }
    if (!folder.listable)
        return p::kInvalidFileAttributes;
    const Entry* entry = entryOf(folder, name);
    return entry ? entry->attributes : p::kInvalidFileAttributes;
}

std::uint32_t FolderListings::direct(std::u16string_view path)
{
    ++m_calls;
    s::str::strbuffer::StrBuffer longForm;
    if (!isDriveRoot(keyForm(path)) && s::file::win::PathWin::makeLongForm(path, longForm))
        return p::fileSystem().attributes(longForm.c_str());
    m_scratch.assign(path);
    return p::fileSystem().attributes(m_scratch.c_str());
}

}  // namespace s::file::gui::dialogs::purgo
