#include "platform/FakeFileIo.h"

#include <cstring>

namespace s::platform {

std::u16string FakeFileIo::key(std::u16string_view path)
{
    std::u16string k(path);
    for (char16_t& c : k) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + (u'a' - u'A'));
        else if (c == u'/')
            c = u'\\';
    }
    while (!k.empty() && k.back() == u'\\')
        k.pop_back();
    return k;
}

std::u16string FakeFileIo::parentOf(const std::u16string& key)
{
    const std::size_t slash = key.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : key.substr(0, slash);
}

bool FakeFileIo::folderExistsLocked(const std::u16string& k) const
{
    if (k.empty())
        return false;
    if (k.find(u'\\') == std::u16string::npos)
        return true;  // a drive
    return m_folders.count(k) != 0;
}

bool FakeFileIo::readFile(std::u16string_view path, s::col::ArrayU08& out, int maxBytes)
{
    out.resize(0);
    std::lock_guard guard(m_lock);
    const std::u16string k = key(path);
    const auto found = m_files.find(k);
    if (found == m_files.end() || m_unreadable.count(k) || m_inUse.count(k) ||
        found->second.size() > static_cast<std::size_t>(maxBytes))
        return false;
    out.resize(static_cast<int>(found->second.size()));
    if (!found->second.empty())
        std::memcpy(out.data(), found->second.data(), found->second.size());
    return true;
}

bool FakeFileIo::putLocked(const std::u16string& k, const uint8_t* bytes, int count)
{
    const int size = count > 0 ? count : 0;
    const bool fits = m_diskSpace < 0 || size <= m_diskSpace;
    m_files[k].assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(fits ? size : m_diskSpace));
    return fits;
}

bool FakeFileIo::writeFile(std::u16string_view path, const uint8_t* bytes, int count)
{
    std::lock_guard guard(m_lock);
    const std::u16string k = key(path);
    if (m_writesFail || m_folders.count(k) || m_inUse.count(k))
        return false;
    const std::u16string parent = parentOf(k);
    if (!parent.empty() && !folderExistsLocked(parent))
        return false;
    // In place: a write that runs out of disk leaves the file truncated.
    if (!putLocked(k, bytes, count))
        return false;
    ++m_writeCount;
    return true;
}

bool FakeFileIo::replaceFile(std::u16string_view path, const uint8_t* bytes, int count)
{
    std::lock_guard guard(m_lock);
    const std::u16string k = key(path);
    const std::u16string temporary = k + u".new";
    if (m_writesFail || m_folders.count(k) || m_folders.count(temporary) || m_inUse.count(temporary))
        return false;
    const std::u16string parent = parentOf(k);
    if (!parent.empty() && !folderExistsLocked(parent))
        return false;
    const bool written = putLocked(temporary, bytes, count);
    // The rename fails while another program holds the file open.
    if (!written || m_inUse.count(k)) {
        m_files.erase(temporary);
        return false;
    }
    m_files[k] = std::move(m_files[temporary]);
    m_files.erase(temporary);
    ++m_writeCount;
    return true;
}

bool FakeFileIo::fileExists(std::u16string_view path)
{
    std::lock_guard guard(m_lock);
    return m_files.count(key(path)) != 0;
}

bool FakeFileIo::folderExists(std::u16string_view path)
{
    std::lock_guard guard(m_lock);
    return folderExistsLocked(key(path));
}

bool FakeFileIo::createFolder(std::u16string_view path)
{
    std::lock_guard guard(m_lock);
    const std::u16string k = key(path);
    if (folderExistsLocked(k))
        return true;
    const std::u16string parent = parentOf(k);
    if (k.empty() || m_files.count(k) || (!parent.empty() && !folderExistsLocked(parent)))
        return false;
    m_folders.insert(k);
    return true;
}

void FakeFileIo::seedFile(std::u16string_view path, std::string_view bytes)
{
    const std::u16string k = key(path);
    addFolder(parentOf(k));
    std::lock_guard guard(m_lock);
    m_files[k] = std::string(bytes);
}

void FakeFileIo::addFolder(std::u16string_view path)
{
    std::lock_guard guard(m_lock);
    for (std::u16string k = key(path); k.find(u'\\') != std::u16string::npos; k = parentOf(k))
        m_folders.insert(k);
}

bool FakeFileIo::hasFile(std::u16string_view path) const
{
    std::lock_guard guard(m_lock);
    return m_files.count(key(path)) != 0;
}

std::string FakeFileIo::fileContents(std::u16string_view path) const
{
    std::lock_guard guard(m_lock);
    const auto found = m_files.find(key(path));
    return found == m_files.end() ? std::string() : found->second;
}

bool FakeFileIo::removeFile(std::u16string_view path)
{
    std::lock_guard guard(m_lock);
    return m_files.erase(key(path)) != 0;
}

void FakeFileIo::removeTree(std::u16string_view path)
{
    std::lock_guard guard(m_lock);
    const std::u16string k = key(path);
    const std::u16string inside = k + u'\\';
    auto under = [&](const std::u16string& candidate) {
        return candidate == k || candidate.compare(0, inside.size(), inside) == 0;
    };
    std::erase_if(m_files, [&](const auto& entry) { return under(entry.first); });
    std::erase_if(m_folders, under);
    std::erase_if(m_unreadable, under);
    std::erase_if(m_inUse, under);
}

void FakeFileIo::setUnreadable(std::u16string_view path, bool unreadable)
{
    std::lock_guard guard(m_lock);
    if (unreadable)
        m_unreadable.insert(key(path));
    else
        m_unreadable.erase(key(path));
}

void FakeFileIo::setWritesFail(bool fail)
{
    std::lock_guard guard(m_lock);
    m_writesFail = fail;
}

void FakeFileIo::setDiskSpace(int bytes)
{
    std::lock_guard guard(m_lock);
    m_diskSpace = bytes;
}

void FakeFileIo::setInUse(std::u16string_view path, bool inUse)
{
    std::lock_guard guard(m_lock);
    if (inUse)
        m_inUse.insert(key(path));
    else
        m_inUse.erase(key(path));
}

int FakeFileIo::writeCount() const
{
    std::lock_guard guard(m_lock);
    return m_writeCount;
}

}  // namespace s::platform
