#include "catalogue/RuleFile.h"

#include "base/StrBuffer.h"
#include "base/Utf8.h"

#include <unordered_set>

namespace s::file::gui::dialogs::purgo {

namespace {

enum class Key : std::uint8_t {
    Unknown,
    Detect,
    DetectFile,
    DetectOs,
    SpecialDetect,
    LangSecRef,
    Section,
    Default,
    Warning,
    FileKey,
    RegKey,
    ExcludeKey,
};

struct KeyName {
    std::u16string_view name;  // folded (lower case)
    Key key;
    bool numbered;
};

// Longer names before their prefixes ("DETECTFILE" before "DETECT").
constexpr KeyName kKeys[] = {
    {u"detectfile", Key::DetectFile, true},  {u"detectos", Key::DetectOs, false},
    {u"detect", Key::Detect, true},          {u"specialdetect", Key::SpecialDetect, false},
    {u"langsecref", Key::LangSecRef, false}, {u"section", Key::Section, false},
    {u"default", Key::Default, false},       {u"warning", Key::Warning, false},
    {u"filekey", Key::FileKey, true},        {u"regkey", Key::RegKey, true},
    {u"excludekey", Key::ExcludeKey, true},
};

std::u16string folded(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer::foldedCopy(text);
}

// `text` starts with `prefix` (folded, lower case) when A-Z are folded.
bool startsFolded(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (s::str::strbuffer::StrBuffer::foldCase(text[i]) != prefix[i])
            return false;
    }
    return true;
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0xFEFF;
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isDigits(std::u16string_view text)
{
    if (text.empty())
        return false;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// A small decimal number; -1 when the text is not one.
int smallNumber(std::u16string_view text)
{
    if (!isDigits(text) || text.size() > 9)
        return -1;
    int value = 0;
    for (char16_t c : text)
        value = value * 10 + (c - u'0');
    return value;
}

// The parts of a value between its separators, trimmed; a few at most in a
// sound line, so they are kept without allocating (a line with more keeps
// its first kMaxParts - 1 and the rest as one, which no key accepts).
class Parts {
public:
    static constexpr std::size_t kMaxParts = 16;

    Parts(std::u16string_view text, char16_t separator)
    {
        std::size_t start = 0;
        while (true) {
            std::size_t end = text.find(separator, start);
            if (m_count + 1 == kMaxParts)
                end = std::u16string_view::npos;
            m_parts[m_count++] = trimmed(text.substr(start, end == std::u16string_view::npos ? end : end - start));
            if (end == std::u16string_view::npos)
                break;
            start = end + 1;
        }
    }

    std::size_t size() const { return m_count; }
    std::u16string_view operator[](std::size_t index) const { return m_parts[index]; }
    const std::u16string_view* begin() const { return m_parts; }
    const std::u16string_view* end() const { return m_parts + m_count; }

private:
    std::u16string_view m_parts[kMaxParts];
    std::size_t m_count = 0;
};

Parts split(std::u16string_view text, char16_t separator)
{
    return Parts(text, separator);
}

// `text` is `lower` (folded, lower case) when A-Z are folded.
bool equalsFolded(std::u16string_view text, std::u16string_view lower)
{
    return text.size() == lower.size() && startsFolded(text, lower);
}

std::vector<std::u16string> patternsOf(std::u16string_view text)
{
    std::vector<std::u16string> out;
    for (std::u16string_view pattern : split(text, u';')) {
        if (!pattern.empty())
            out.emplace_back(pattern);
    }
    return out;
}

bool hasPattern(std::u16string_view text)
{
    for (std::u16string_view pattern : split(text, u';')) {
        if (!pattern.empty())
            return true;
    }
    return false;
}

std::u16string decode(std::string_view bytes)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t count = bytes.size();
    if (count >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        std::u16string text;
        text.reserve((count - 2) / 2);
        for (std::size_t i = 2; i + 1 < count; i += 2)
            text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        return text;
    }
    if (count >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        data += 3;
        count -= 3;
    }
    std::u16string text(count, u'\0');
    text.resize(s::str::utf8::decode(data, count, text.data()));
    return text;
}

bool isVersion(std::u16string_view text)
{
    if (text.empty())
        return true;
    for (char16_t c : text) {
        if ((c < u'0' || c > u'9') && c != u'.')
            return false;
    }
    return text.front() != u'.';
}

class Reader {
public:
    RuleFile file;

    void line(std::u16string_view text)
    {
        text = trimmed(text);
        if (text.empty())
            return;
        if (text.front() == u';' || text.front() == u'#') {
            if (m_current == kNone && file.entries.empty())
                headerComment(text.substr(1));
            return;
        }
        if (text.front() == u'[') {
            section(text);
            return;
        }
        const std::size_t equals = text.find(u'=');
        if (equals == std::u16string_view::npos || equals == 0 || m_current == kNone) {
            ++file.badLines;
            return;
        }
        keyValue(trimmed(text.substr(0, equals)), trimmed(text.substr(equals + 1)));
    }

private:
    // "; Version: 250310" and "; # of entries: 4,067" before the first entry.
    void headerComment(std::u16string_view text)
    {
        text = trimmed(text);
        if (file.versionLine.empty() && startsFolded(text, u"version:")) {
            file.versionLine = text;
            return;
        }
        if (file.declaredEntries >= 0 || !startsFolded(text, u"# of entries:"))
            return;
        // Thousands may be grouped with ",", "." or a blank.
        long long count = 0;
        bool digits = false;
        for (char16_t c : trimmed(text.substr(13))) {
            if (c >= u'0' && c <= u'9') {
                count = count * 10 + (c - u'0');
                digits = true;
                if (count > 100000000)
                    return;
            } else if (c != u',' && c != u'.' && c != u' ' && c != 0xA0 && c != 0x202F) {
                return;
            }
        }
        if (digits)
            file.declaredEntries = static_cast<int>(count);
    }

    void section(std::u16string_view text)
    {
        const std::size_t close = text.rfind(u']');
        const std::u16string_view name =
            close == std::u16string_view::npos ? std::u16string_view() : trimmed(text.substr(1, close - 1));
        if (name.empty()) {
            // The keys that follow belong to no entry.
            ++file.badLines;
            m_current = kNone;
            return;
        }
        RuleEntry& entry = file.entries.emplace_back();
        entry.name = name;
        entry.duplicate = !m_names.insert(name).second;
        m_current = file.entries.size() - 1;
    }

    void problem(std::u16string_view key, std::u16string_view why)
    {
        std::u16string text(key);
        text += u": ";
        text += why;
        entry().problems.push_back(std::move(text));
    }

    void keyValue(std::u16string_view key, std::u16string_view value)
    {
        Key which = Key::Unknown;
        int number = 0;
        for (const KeyName& known : kKeys) {
            if (!startsFolded(key, known.name))
                continue;
            const std::u16string_view rest = key.substr(known.name.size());
            if (rest.empty()) {
                which = known.key;
            } else if (known.numbered && (number = smallNumber(rest)) >= 0) {
                which = known.key;
            } else {
                continue;
            }
            break;
        }
        RuleEntry& current = entry();
        switch (which) {
        case Key::Unknown:
            ++file.unknownKeys;
            break;
        case Key::Detect:
            current.detects.emplace_back(value);
            break;
        case Key::DetectFile:
            current.detectFiles.emplace_back(value);
            break;
        case Key::DetectOs:
            detectOs(key, value);
            break;
        case Key::SpecialDetect:
            current.specialDetect = true;
            break;
        case Key::LangSecRef:
            current.langSecRef = smallNumber(value);
            if (current.langSecRef < 0)
                problem(key, u"not a number");
            break;
        case Key::Section:
            current.section = value;
            break;
        case Key::Default:
            break;
        case Key::Warning:
            current.warning = value;
            break;
        case Key::FileKey:
            fileKey(key, value, number);
            break;
        case Key::RegKey:
            regKey(key, value, number);
            break;
        case Key::ExcludeKey:
            excludeKey(key, value, number);
            break;
        }
    }

    void detectOs(std::u16string_view key, std::u16string_view value)
    {
        const auto parts = split(value, u'|');
        if (parts.size() > 2 || !isVersion(parts[0]) || (parts.size() == 2 && !isVersion(parts[1])) ||
            (parts[0].empty() && (parts.size() == 1 || parts[1].empty()))) {
            problem(key, u"not min|max versions");
            // The author limited the entry to some versions; which ones is
            // not known, so it is shown on none.
            entry().detectOsUnreadable = true;
            return;
        }
        entry().hasDetectOs = true;
        entry().detectOsMin = parts[0];
        entry().detectOsMax = parts.size() == 2 ? parts[1] : std::u16string_view();
    }

    void fileKey(std::u16string_view key, std::u16string_view value, int number)
    {
        const auto parts = split(value, u'|');
        if (parts.size() < 2 || parts[0].empty()) {
            problem(key, u"not path|pattern");
            return;
        }
        RuleFileKey fileKey;
        fileKey.path = parts[0];
        fileKey.patternList = parts[1];
        fileKey.number = number;
        if (!hasPattern(parts[1])) {
            problem(key, u"no pattern");
            return;
        }
        for (std::size_t i = 2; i < parts.size(); ++i) {
            if (equalsFolded(parts[i], u"recurse")) {
                fileKey.recurse = true;
            } else if (equalsFolded(parts[i], u"removeself")) {
                fileKey.removeSelf = true;
            } else if (!parts[i].empty()) {
                problem(key, u"unknown flag " + std::u16string(parts[i]));
                return;
            }
        }
        entry().fileKeys.push_back(std::move(fileKey));
    }

    void regKey(std::u16string_view key, std::u16string_view value, int number)
    {
        const auto parts = split(value, u'|');
        if (parts.size() > 2 || parts[0].empty() || (parts.size() == 2 && parts[1].empty())) {
            problem(key, u"not key or key|value");
            return;
        }
        RuleRegKey regKey;
        regKey.key = parts[0];
        regKey.hasValue = parts.size() == 2;
        if (regKey.hasValue)
            regKey.value = parts[1];
        regKey.number = number;
        entry().regKeys.push_back(std::move(regKey));
    }

    void badExclude(std::u16string_view key, std::u16string_view why)
    {
        problem(key, why);
        entry().excludeUnreadable = true;
    }

    void excludeKey(std::u16string_view key, std::u16string_view value, int number)
    {
        const auto parts = split(value, u'|');
        const std::u16string kind = folded(parts[0]);
        RuleExclude exclude;
        exclude.number = number;
        if (parts.size() < 2 || parts.size() > 3 || parts[1].empty()) {
            badExclude(key, u"not FILE|, PATH| or REG| with a path");
            return;
        }
        exclude.path = parts[1];
        if (kind == u"reg") {
            exclude.kind = RuleExclude::Kind::Registry;
            exclude.hasValue = parts.size() == 3;
            if (exclude.hasValue)
                exclude.value = parts[2];
        } else if (kind == u"file" || kind == u"path") {
            exclude.kind = kind == u"file" ? RuleExclude::Kind::File : RuleExclude::Kind::Path;
            if (parts.size() == 3) {
                exclude.patterns = patternsOf(parts[2]);
            } else if (exclude.kind == RuleExclude::Kind::Path) {
                // PATH|folder: the folder whole.
                exclude.patterns.emplace_back(u"*.*");
            } else {
                // FILE|folder\name: one file.
                const std::size_t slash = exclude.path.find_last_of(u"\\/");
                if (slash != std::u16string::npos) {
                    exclude.patterns.push_back(exclude.path.substr(slash + 1));
                    exclude.path.resize(slash);
                }
            }
            if (exclude.patterns.empty() || exclude.patterns.front().empty() || exclude.path.empty()) {
                badExclude(key, u"no pattern");
                return;
            }
        } else {
            badExclude(key, u"not FILE|, PATH| or REG| with a path");
            return;
        }
        entry().excludes.push_back(std::move(exclude));
    }

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The entry the keys now belong to (an index: the vector grows).
    RuleEntry& entry() { return file.entries[m_current]; }

    // Names compare folding A-Z; the set holds views into the text.
    struct FoldedHash {
        std::size_t operator()(std::u16string_view text) const
        {
            std::size_t hash = 1469598103934665603ull;
            for (char16_t c : text)
                hash = (hash ^ s::str::strbuffer::StrBuffer::foldCase(c)) * 1099511628211ull;
            return hash;
        }
    };
    struct FoldedEqual {
        bool operator()(std::u16string_view a, std::u16string_view b) const
        {
            if (a.size() != b.size())
                return false;
            for (std::size_t i = 0; i < a.size(); ++i) {
                if (s::str::strbuffer::StrBuffer::foldCase(a[i]) != s::str::strbuffer::StrBuffer::foldCase(b[i]))
                    return false;
            }
            return true;
        }
    };

    std::size_t m_current = kNone;
    std::unordered_set<std::u16string_view, FoldedHash, FoldedEqual> m_names;
};

}  // namespace

RuleFile readRuleFile(std::string_view bytes)
{
    auto shared = std::make_shared<const std::u16string>(decode(bytes));
    const std::u16string& text = *shared;
    Reader reader;
    reader.file.text = std::move(shared);
    // The community file has an entry for about every 450 characters: room
    // for most of them at once, so that they are seldom moved as they come.
    reader.file.entries.reserve(text.size() / 384 + 1);
    const char16_t* const data = text.data();
    const std::size_t size = text.size();
    int broken = 0;
    std::size_t start = 0;
    while (start < size) {
        // One pass over each line: its end, and the characters that say
        // the file is damaged (see ruleFileFault).
        std::size_t end = start;
        for (; end < size; ++end) {
            const char16_t c = data[end];
            if (c == u'\r' || c == u'\n')
                break;
            if (c == 0xFFFD || c == 0)
                ++broken;
        }
        reader.line(std::u16string_view(data + start, end - start));
        start = end + 1;
        if (end < size && data[end] == u'\r' && start < size && data[start] == u'\n')
            ++start;
    }
    reader.file.brokenCharacters = broken;
    return std::move(reader.file);
}

std::vector<std::u16string_view> RuleFileKey::patterns() const
{
    std::vector<std::u16string_view> out;
    for (std::u16string_view pattern : split(patternList, u';')) {
        if (!pattern.empty())
            out.push_back(pattern);
    }
    return out;
}

std::u16string ruleFileFault(const RuleFile& file)
{
    const auto number = [](long long value) {
        std::u16string out;
        for (char c : std::to_string(value))
            out += static_cast<char16_t>(c);
        return out;
    };
    if (file.brokenCharacters > 0)
        return number(file.brokenCharacters) + u" characters that are not text";
    if (file.entries.empty())
        return u"no entry";
    const auto entries = static_cast<long long>(file.entries.size());
    if (file.declaredEntries >= 0 && entries < file.declaredEntries)
        return u"its header announces " + number(file.declaredEntries) + u" entries but it holds " + number(entries) +
               u" (cut short)";
    if (file.badLines > entries)
        return number(file.badLines) + u" lines that are neither sections, comments nor key=value";
    return {};
}

}  // namespace s::file::gui::dialogs::purgo
