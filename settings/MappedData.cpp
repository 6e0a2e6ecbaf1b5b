#include "settings/MappedData.h"

#include "platform/FileIo.h"
#include "platform/LocalClock.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace s::xml {

namespace {

constexpr std::u16string_view kNewRootName = u"savedata";
// Names tried for a damaged file's copy before giving up (and then keeping
// the file as it is).
constexpr int kCopyAttempts = 100;

bool isSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

// The non-empty components of a section path, one at a time.
class Components {
public:
    explicit Components(std::u16string_view path) : m_path(path) {}

    bool next(std::u16string_view& component)
    {
        while (m_at < m_path.size() && isSeparator(m_path[m_at]))
            ++m_at;
        if (m_at == m_path.size())
            return false;
        const std::size_t start = m_at;
        while (m_at < m_path.size() && !isSeparator(m_path[m_at]))
            ++m_at;
        component = m_path.substr(start, m_at - start);
        return true;
    }

private:
    std::u16string_view m_path;
    std::size_t m_at = 0;
};

// The parser ends an element name at white space, '/' and '>', and the whole
// document at a NUL; a name beginning with "!" is read as a comment and
// dropped. An element written with such a name would come back as another
// name plus garbage attributes.
bool canCarrySectionName(std::u16string_view name)
{
    if (name.empty() || name[0] == u'!')
        return false;
    for (char16_t c : name) {
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'/' || c == u'>' || c == 0)
            return false;
    }
    return true;
}

// An attribute name ends at '=', white space, '>', '/' and '"'. A '/' would
// even end the element's start tag as if it were empty ("<a b/c="1">" reads
// as "<a b/>"), so that every child of the section would be lost.
bool canCarryValueName(std::u16string_view name)
{
    for (char16_t c : name) {
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'=' || c == u'"' || c == u'/' || c == u'>' ||
            c == 0)
            return false;
    }
    return true;
}

}  // namespace

void MappedData::reset()
{
    Guard guard(m_lock);
    m_files = nullptr;
    m_file.clear();
    forgetSelection();
    m_root.clear();
    m_autoSave = false;
    m_keepFile = false;
    m_damagedLine = 0;
    m_damagedBytes.clear();
    m_damagedBytes.shrink_to_fit();
    m_damagedCopy.clear();
    m_batchDepth = 0;
    m_changedInBatch = false;
}

void MappedData::open(std::u16string_view path, s::io::IFileIo& files)
{
    Guard guard(m_lock);
    reset();
    m_files = &files;
    m_file.assign(path);
    s::col::ArrayU08 bytes;
    if (files.readFile(path, bytes, s::io::IFileIo::kMaxReadBytes)) {
        ParseReport report;
        m_root.parseUtf8(bytes, &report);
        if (!report.wellFormed) {
            m_damagedLine = report.line;
            m_damagedBytes.assign(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(bytes.count()));
        }
    } else if (files.fileExists(path)) {
        m_keepFile = true;
    }
    // A file without any element (empty, binary, cut before its first
    // complete tag) is no document of ours: start a new one rather than
    // writing an element without a name.
    if (m_root.name().isEmpty())
        m_root.setName(kNewRootName);
}

void MappedData::openDocument(std::string_view utf8)
{
    Guard guard(m_lock);
    reset();
    m_root.parseUtf8(utf8);
    if (m_root.name().isEmpty())
        m_root.setName(kNewRootName);
}

void MappedData::forgetSelection()
{
    m_current = nullptr;
    m_currentPath.clear();
}

Node* MappedData::select(std::u16string_view section, Create create)
{
    if (m_current && m_currentPath.equalsIgnoreCase(section))
        return m_current;
    forgetSelection();
    Node* node = &m_root;
    Components components(section);
    std::u16string_view name;
    while (components.next(name)) {
        Node* child = node->childNamed(name);
        if (!child) {
            if (create == Create::No || !canCarrySectionName(name))
                return nullptr;
            child = &node->addChild(name);
        }
        node = child;
    }
    m_currentPath.assign(section);
    m_current = node;
    return node;
}

void MappedData::changed()
{
    if (m_batchDepth > 0)
        m_changedInBatch = true;
    else if (m_autoSave)
        save();
}

bool MappedData::save()
{
    Guard guard(m_lock);
    if (m_file.isEmpty() || !m_files || m_keepFile)
        return false;
    if (!keepDamagedCopy()) {
        // Without the copy, writing would lose what the parser could not
        // read: this run's values stay in memory.
        m_keepFile = true;
        return false;
    }
    return m_root.saveFile(m_file, *m_files);
}

bool MappedData::keepDamagedCopy()
{
    if (m_damagedLine == 0 || !m_damagedCopy.isEmpty())
        return true;
    const s::platform::ILocalClock& clock = s::platform::systemClock();
    const int64_t now = clock.now();
    const s::platform::LocalDay day = clock.dayOf(now);
    const int64_t seconds = std::clamp<int64_t>(now - day.midnight, 0, 86399);
    const CopyStamp stamp{day.year,
                          day.month,
                          day.day,
                          static_cast<int>(seconds / 3600),
                          static_cast<int>(seconds / 60 % 60),
                          static_cast<int>(seconds % 60)};
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_damagedBytes.data());
    const int count = static_cast<int>(m_damagedBytes.size());
    // Never over another file: a copy made in the same second, or one the
    // user keeps, stays as it is.
    for (int attempt = 1; attempt <= kCopyAttempts; ++attempt) {
        const StrBuffer copy = damagedCopyPath(m_file.view(), stamp, attempt);
        if (m_files->fileExists(copy.view()))
            continue;
        if (!m_files->replaceFile(copy.view(), bytes, count))
            return false;
        m_damagedCopy = copy;
        m_damagedBytes.clear();
        m_damagedBytes.shrink_to_fit();
        return true;
    }
    return false;
}

void MappedData::selectSection(std::u16string_view section)
{
    Guard guard(m_lock);
    select(section, Create::Yes);
}

bool MappedData::findSection(std::u16string_view section)
{
    Guard guard(m_lock);
    return select(section, Create::No) != nullptr;
}

void MappedData::removeSection(std::u16string_view section)
{
    Guard guard(m_lock);
    // The last component and the path before it.
    std::size_t end = section.size();
    while (end > 0 && isSeparator(section[end - 1]))
        --end;
    std::size_t start = end;
    while (start > 0 && !isSeparator(section[start - 1]))
        --start;
    if (start == end)
        return;  // no component: the root stays
    const std::u16string_view last = section.substr(start, end - start);
    Node* parent = select(section.substr(0, start), Create::No);
    int index = 0;
    if (!parent || !parent->findChild(last, index))
        return;
    // The cached selection may lie inside the subtree that goes back to the
    // pool now.
    forgetSelection();
    parent->removeChild(index);
    changed();
}

bool MappedData::exists(std::u16string_view section, std::u16string_view name)
{
    Guard guard(m_lock);
    const Node* node = select(section, Create::No);
    return node && node->hasAttribute(name);
}

template <class T, class Read> T MappedData::read(std::u16string_view section, T defaultValue, Read read)
{
    Guard guard(m_lock);
    const Node* node = select(section, Create::No);
    return node ? read(*node) : defaultValue;
}

uint8_t MappedData::getU8(std::u16string_view section, std::u16string_view name, uint8_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getU8(name, defaultValue); });
}

uint16_t MappedData::getU16(std::u16string_view section, std::u16string_view name, uint16_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getU16(name, defaultValue); });
}

uint32_t MappedData::getU32(std::u16string_view section, std::u16string_view name, uint32_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getU32(name, defaultValue); });
}

uint64_t MappedData::getU64(std::u16string_view section, std::u16string_view name, uint64_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getU64(name, defaultValue); });
}

int8_t MappedData::getS8(std::u16string_view section, std::u16string_view name, int8_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getS8(name, defaultValue); });
}

int16_t MappedData::getS16(std::u16string_view section, std::u16string_view name, int16_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getS16(name, defaultValue); });
}

int32_t MappedData::getS32(std::u16string_view section, std::u16string_view name, int32_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getS32(name, defaultValue); });
}

int64_t MappedData::getS64(std::u16string_view section, std::u16string_view name, int64_t defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getS64(name, defaultValue); });
}

float MappedData::getFloat(std::u16string_view section, std::u16string_view name, float defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getFloat(name, defaultValue); });
}

double MappedData::getDouble(std::u16string_view section, std::u16string_view name, double defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getDouble(name, defaultValue); });
}

bool MappedData::getBool(std::u16string_view section, std::u16string_view name, bool defaultValue)
{
    return read(section, defaultValue, [&](const Node& node) { return node.getBool(name, defaultValue); });
}

StrBuffer MappedData::getString(std::u16string_view section, std::u16string_view name, std::u16string_view defaultValue,
                                bool* flag, int /*option*/)
{
    if (flag)
        *flag = false;
    Guard guard(m_lock);
    StrBuffer value;
    const Node* node = select(section, Create::No);
    if (node)
        node->getString(value, name, defaultValue);
    else
        value.assign(defaultValue);
    return value;
}

int MappedData::getBinary(std::u16string_view, std::u16string_view, void*, int)
{
    return 0;
}

s::col::ArrayU08& MappedData::getBytes(std::u16string_view section, std::u16string_view name, s::col::ArrayU08& target)
{
    Guard guard(m_lock);
    target.resize(0);
    const Node* node = select(section, Create::No);
    if (node)
        node->getBytes(name, target);
    return target;
}

bool MappedData::remove(std::u16string_view section, std::u16string_view name)
{
    Guard guard(m_lock);
    Node* node = select(section, Create::No);
    if (!node || !node->removeAttribute(name))
        return false;
    // A hand-edited file may hold the name twice; the next one would
    // otherwise come back in its place.
    while (node->removeAttribute(name)) {
    }
    changed();
    return true;
}

template <class Add> void MappedData::write(std::u16string_view section, std::u16string_view name, Add add)
{
    Guard guard(m_lock);
    if (!canCarryValueName(name))
        return;
    Node* node = select(section, Create::Yes);
    if (!node)
        return;
    // Every record of the name goes (a hand-edited file may repeat one, and
    // for the text a second run of text would be read instead of the new
    // one); the new value is appended, behind the element's other values.
    while (node->removeAttribute(name)) {
    }
    add(*node);
    changed();
}

void MappedData::setU8(std::u16string_view section, std::u16string_view name, uint8_t value)
{
    write(section, name, [&](Node& node) { node.addU8(name, value); });
}

void MappedData::setU16(std::u16string_view section, std::u16string_view name, uint16_t value)
{
    write(section, name, [&](Node& node) { node.addU16(name, value); });
}

void MappedData::setU32(std::u16string_view section, std::u16string_view name, uint32_t value)
{
    write(section, name, [&](Node& node) { node.addU32(name, value); });
}

void MappedData::setU64(std::u16string_view section, std::u16string_view name, uint64_t value)
{
    write(section, name, [&](Node& node) { node.addU64(name, value); });
}

void MappedData::setS8(std::u16string_view section, std::u16string_view name, int8_t value)
{
    write(section, name, [&](Node& node) { node.addS8(name, value); });
}

void MappedData::setS16(std::u16string_view section, std::u16string_view name, int16_t value)
{
    write(section, name, [&](Node& node) { node.addS16(name, value); });
}

void MappedData::setS32(std::u16string_view section, std::u16string_view name, int32_t value)
{
    write(section, name, [&](Node& node) { node.addS32(name, value); });
}

void MappedData::setS64(std::u16string_view section, std::u16string_view name, int64_t value)
{
    write(section, name, [&](Node& node) { node.addS64(name, value); });
}

void MappedData::setFloat(std::u16string_view section, std::u16string_view name, float value)
{
    write(section, name, [&](Node& node) { node.addFloat(name, value); });
}

void MappedData::setDouble(std::u16string_view section, std::u16string_view name, double value)
{
    write(section, name, [&](Node& node) { node.addDouble(name, value); });
}

void MappedData::setBool(std::u16string_view section, std::u16string_view name, bool value)
{
    write(section, name, [&](Node& node) { node.addBool(name, value); });
}

void MappedData::setString(std::u16string_view section, std::u16string_view name, std::u16string_view value)
{
    write(section, name, [&](Node& node) { node.addString(name, value); });
}

void MappedData::setBinary(std::u16string_view, std::u16string_view, const void*, int)
{
    Guard guard(m_lock);
    changed();
}

void MappedData::setBytes(std::u16string_view section, std::u16string_view name, const uint8_t* bytes, int count)
{
    write(section, name, [&](Node& node) { node.addBytes(name, bytes, count); });
}

bool MappedData::autoSave()
{
    Guard guard(m_lock);
    return m_autoSave;
}

void MappedData::setAutoSave(bool on)
{
    Guard guard(m_lock);
    m_autoSave = on;
}

void MappedData::beginBatch()
{
    m_lock.lock();
    ++m_batchDepth;
}

void MappedData::endBatch()
{
    if (--m_batchDepth == 0 && m_changedInBatch) {
        m_changedInBatch = false;
        if (m_autoSave)
            save();
    }
    m_lock.unlock();
}

StrBuffer MappedData::filePath() const
{
    Guard guard(m_lock);
    return m_file;
}

int MappedData::damagedLine() const
{
    Guard guard(m_lock);
    return m_damagedLine;
}

StrBuffer MappedData::damagedCopy() const
{
    Guard guard(m_lock);
    return m_damagedCopy;
}

StrBuffer MappedData::toString() const
{
    Guard guard(m_lock);
    return m_root.toString();
}

MappedDataHandle openFileStore(std::u16string_view path, s::io::IFileIo& files)
{
    MappedDataHandle store = MappedDataHandle::take();
    store->open(path, files);
    return store;
}

MappedDataHandle openFileStore(std::u16string_view path)
{
    return openFileStore(path, s::platform::fileIo());
}

StrBuffer damagedCopyPath(std::u16string_view settingsPath, const CopyStamp& stamp, int attempt)
{
    const std::size_t slash = settingsPath.find_last_of(u"\\/");
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    std::size_t dot = settingsPath.rfind(u'.');
    if (dot == std::u16string_view::npos || dot < nameStart)
        dot = settingsPath.size();
    char text[64];
    std::snprintf(text, sizeof text, ".damaged-%04d%02d%02d-%02d%02d%02d", stamp.year, stamp.month, stamp.day,
                  stamp.hour, stamp.minute, stamp.second);
    StrBuffer path(settingsPath.substr(0, dot));
    path.appendUtf8(text);
    if (attempt > 1) {
        // Formatted in place: GCC 12's optimiser warns falsely (-Wrestrict)
        // about "-" + std::to_string(...).
        char number[16];
        std::snprintf(number, sizeof number, "-%d", attempt);
        path.appendUtf8(number);
    }
    path.append(u".xml");
    return path;
}

StrBuffer settingsFilePath()
{
    StrBuffer path = s::platform::programFolder();
    if (path.isEmpty())
        return path;  // a store in memory only, rather than a file at the root of some drive
    return path.append(u"\\savedata\\SaveData.xml");
}

}  // namespace s::xml
