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

FolderListings::Folder& FolderListings::folderOf(std::u16string_view folder)
{
    return m_folders[folded(keyForm(folder))];
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

const std::vector<FolderListings::Entry>* FolderListings::list(std::u16string_view path)
{
    Folder& folder = folderOf(path);
    if (!folder.listed)
        fill(folder, path);
    return folder.listable ? &folder.entries : nullptr;
}

const FolderListings::Entry* FolderListings::find(std::u16string_view path, std::u16string_view name)
{
    const std::vector<Entry>* entries = list(path);
    if (!entries)
        return nullptr;
    const Folder& folder = folderOf(path);
    const auto found = folder.byName.find(folded(name));
    return found == folder.byName.end() ? nullptr : &folder.entries[found->second];
}

bool FolderListings::exists(std::u16string_view path)
{
    path = keyForm(path);
    const std::size_t slash = path.rfind(u'\\');
    const std::u16string_view parent =
        slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
    const std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    // A root, a share ("\\server\share") or a name the listing cannot
    // answer for: asked as it is.
    const bool share = path.size() > 2 && path[0] == u'\\' && path[1] == u'\\';
    const bool shareRoot = share && path.find(u'\\', path.find(u'\\', 2) + 1) == std::u16string_view::npos;
    if (parent.empty() || isDriveRoot(path) || shareRoot || (share && parent.rfind(u'\\') < 2) || askDirectly(name)) {
        ++m_calls;
        m_scratch.assign(isDriveRoot(path) ? std::u16string(path) + u"\\" : std::u16string(path));
        return p::fileSystem().exists(m_scratch.c_str());
    }
    Folder& folder = folderOf(parent);
    if (!folder.listed) {
        if (++folder.asked < kListFromQuestion) {
            // A folder that is not there holds nothing: asking its parent is
            // answered from listings made for other paths.
            if (!exists(parent)) {
                folder.listed = true;
                folder.listable = false;
                return false;
            }
            ++m_calls;
            s::str::strbuffer::StrBuffer longForm;
            if (s::file::win::PathWin::makeLongForm(path, longForm))
                return p::fileSystem().exists(longForm.c_str());
            m_scratch.assign(path);
            return p::fileSystem().exists(m_scratch.c_str());
        }
        fill(folder, parent);
    }
    return folder.listable && folder.byName.count(folded(name)) != 0;
}

}  // namespace s::file::gui::dialogs::purgo
