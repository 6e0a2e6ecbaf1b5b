#include "lang/Localizer.h"

#include "base/XmlNode.h"
#include "platform/SystemInfo.h"
#include "platform/UiLanguage.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace s::lang {

namespace {

// The table as the program carries it, read without building its tree:
//   <lang><languages>...</languages>
//     <entries><entry id="...">a note<eng>text</eng><deu>text</deu>...</entry>...</entries></lang>
// An entry's note is skipped; each text element has a name, no attributes
// and no elements inside. Scanning the bytes for the wanted languages' texts
// leaves the other thirty-eight as bytes; a table of another shape (comments
// or attributes among the texts, a tag left open) is read through the
// document parser instead, which takes any shape.
class TableScan {
public:
    struct Text {
        std::string_view tag;
        std::string_view raw;  // escaped, as in the table
        bool first = false;    // the entry's first element
    };
    struct Entry {
        std::string_view id;  // escaped
        std::vector<Text> texts;
    };

    // The parser ends a document at its first NUL; so does the scan.
    explicit TableScan(std::string_view table) : m_table(table.substr(0, table.find('\0'))) {}

    // The part between "<languages>" and its end tag, the tags included.
    std::optional<std::string_view> languages() const
    {
        const std::size_t start = m_table.find("<languages>");
        if (start == std::string_view::npos)
            return std::nullopt;
        const std::size_t end = m_table.find("</languages>", start);
        if (end == std::string_view::npos)
            return std::nullopt;
        return m_table.substr(start, end + 12 - start);
    }

    // Every entry with the texts `keep` accepts by tag (and each entry's
    // first text, the others' fallback); nullopt when the table has another
    // shape.
    template <class Keep> std::optional<std::vector<Entry>> entries(const Keep& keep)
    {
        m_pos = m_table.find("<entries>");
        if (m_pos == std::string_view::npos)
            return std::nullopt;
        m_pos += 9;
        std::vector<Entry> out;
        for (;;) {
            skipSpace();
            if (startsWith("</entries>"))
                return out;
            if (!startsWith("<entry") || m_pos + 6 >= m_table.size() ||
                std::string_view(" \t\r\n>/").find(m_table[m_pos + 6]) == std::string_view::npos)
                return std::nullopt;
            m_pos += 6;
            Entry entry;
            const std::optional<bool> empty = attributes(entry.id);
            if (!empty)
                return std::nullopt;
            if (!*empty && !texts(entry, keep))
                return std::nullopt;
            out.push_back(std::move(entry));
        }
    }

private:
    bool startsWith(std::string_view text) const { return m_table.substr(m_pos).substr(0, text.size()) == text; }

    void skipSpace()
    {
        while (m_pos < m_table.size() &&
               (m_table[m_pos] == ' ' || m_table[m_pos] == '\n' || m_table[m_pos] == '\r' || m_table[m_pos] == '\t'))
            ++m_pos;
    }

    // The entry's attributes up to its '>' ("id" kept); true when it closed
    // itself ("/>"), nullopt on another shape.
    std::optional<bool> attributes(std::string_view& id)
    {
        bool haveId = false;
        for (;;) {
            skipSpace();
            if (m_pos >= m_table.size())
                return std::nullopt;
            if (m_table[m_pos] == '>') {
                ++m_pos;
                return false;
            }
            if (startsWith("/>")) {
                m_pos += 2;
                return true;
            }
            const std::size_t equals = m_table.find('=', m_pos);
            if (equals == std::string_view::npos || equals + 1 >= m_table.size() || m_table[equals + 1] != '"')
                return std::nullopt;
            const std::string_view name = m_table.substr(m_pos, equals - m_pos);
            const std::size_t close = m_table.find('"', equals + 2);
            if (close == std::string_view::npos)
                return std::nullopt;
            if (name == "id" && !haveId) {
                id = m_table.substr(equals + 2, close - equals - 2);
                haveId = true;
            }
            m_pos = close + 1;
        }
    }

    template <class Keep> bool texts(Entry& entry, const Keep& keep)
    {
        bool first = true;
        for (;;) {
            // The note, or the white space between two texts.
            const std::size_t open = m_table.find('<', m_pos);
            if (open == std::string_view::npos)
                return false;
            m_pos = open;
            if (startsWith("</entry>")) {
                m_pos += 8;
                return true;
            }
            std::size_t nameEnd = m_pos + 1;
            while (nameEnd < m_table.size() && isNameChar(m_table[nameEnd]))
                ++nameEnd;
            if (nameEnd == m_pos + 1 || nameEnd >= m_table.size())
                return false;
            const std::string_view tag = m_table.substr(m_pos + 1, nameEnd - m_pos - 1);
            std::string_view raw;
            if (m_table.substr(nameEnd, 2) == "/>") {
                m_pos = nameEnd + 2;
            } else if (m_table[nameEnd] == '>') {
                const std::size_t end = m_table.find('<', nameEnd + 1);
                if (end == std::string_view::npos || m_table.substr(end, 2) != "</" ||
                    m_table.substr(end + 2, tag.size()) != tag || m_table.substr(end + 2 + tag.size(), 1) != ">")
                    return false;
                raw = m_table.substr(nameEnd + 1, end - nameEnd - 1);
                m_pos = end + 3 + tag.size();
            } else {
                return false;  // attributes on a text
            }
            if (first || keep(tag))
                entry.texts.push_back(Text{tag, raw, first});
            first = false;
        }
    }

    static bool isNameChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.' || c == ':';
    }

    std::string_view m_table;
    std::size_t m_pos = 0;
};

const StrBuffer& emptyText()
{
    static const StrBuffer empty;
    return empty;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Decimal string-to-integer: optional sign, digits up to the first other
// character, wrapping like the 32-bit conversion it stands for.
int32_t toInt32(std::u16string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    uint32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - u'0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

struct LangIdName {
    uint16_t langId;
    const char16_t* name;
};

// Whole LANGIDs that the primary language alone would name wrongly.
constexpr LangIdName kWholeIds[] = {
    {0x0004, u"CHINESE_SIMPLIFIED"},
    {0x0804, u"CHINESE_SIMPLIFIED"},
    {0x1004, u"CHINESE_SIMPLIFIED"},
    {0x0404, u"CHINESE_TRADITIONAL"},
    {0x0C04, u"CHINESE_TRADITIONAL"},
    {0x1404, u"CHINESE_TRADITIONAL"},
    {0x7C04, u"CHINESE_TRADITIONAL"},
    {0x001A, u"CROATIAN"},
    {0x041A, u"CROATIAN"},
    {0x101A, u"CROATIAN"},
    {0x0416, u"PORTUGUESE_BRAZILIAN"},
    {0x0816, u"PORTUGUESE_PORTUGAL"},
    {0x081A, u"SERBIAN_LATIN"},
    {0x181A, u"SERBIAN_LATIN"},
    {0x0C1A, u"SERBIAN_CYRILLIC"},
    {0x1C1A, u"SERBIAN_CYRILLIC"},
    {0x7C1A, u"SERBIAN"},
    {0x201A, u"BOSNIAN"},
    {0x042E, u"UPPER_SORBIAN"},
    {0x082E, u"LOWER_SORBIAN"},
};

// Primary language ids (the low byte) by the names of the SDK's LANG_* values.
constexpr LangIdName kPrimaryIds[] = {
    {1, u"ARABIC"},        {2, u"BULGARIAN"},    {3, u"CATALAN"},
    {4, u"CHINESE"},       {5, u"CZECH"},        {6, u"DANISH"},
    {7, u"GERMAN"},        {8, u"GREEK"},        {9, u"ENGLISH"},
    {10, u"SPANISH"},      {11, u"FINNISH"},     {12, u"FRENCH"},
    {13, u"HEBREW"},       {14, u"HUNGARIAN"},   {15, u"ICELANDIC"},
    {16, u"ITALIAN"},      {17, u"JAPANESE"},    {18, u"KOREAN"},
    {19, u"DUTCH"},        {20, u"NORWEGIAN"},   {21, u"POLISH"},
    {22, u"PORTUGUESE"},   {23, u"ROMANSH"},     {24, u"ROMANIAN"},
    {25, u"RUSSIAN"},      {26, u"SERBIAN"},     {27, u"SLOVAK"},
    {28, u"ALBANIAN"},     {29, u"SWEDISH"},     {30, u"THAI"},
    {31, u"TURKISH"},      {32, u"URDU"},        {33, u"INDONESIAN"},
    {34, u"UKRAINIAN"},    {35, u"BELARUSIAN"},  {36, u"SLOVENIAN"},
    {37, u"ESTONIAN"},     {38, u"LATVIAN"},     {39, u"LITHUANIAN"},
    {40, u"TAJIK"},        {41, u"PERSIAN"},     {42, u"VIETNAMESE"},
    {43, u"ARMENIAN"},     {44, u"AZERI"},       {45, u"BASQUE"},
    {47, u"MACEDONIAN"},   {50, u"TSWANA"},      {52, u"XHOSA"},
    {53, u"ZULU"},         {54, u"AFRIKAANS"},   {55, u"GEORGIAN"},
    {56, u"FAEROESE"},     {57, u"HINDI"},       {58, u"MALTESE"},
    {59, u"SAMI"},         {60, u"IRISH"},       {62, u"MALAY"},
    {63, u"KAZAK"},        {64, u"KYRGYZ"},      {65, u"SWAHILI"},
    {66, u"TURKMEN"},      {67, u"UZBEK"},       {68, u"TATAR"},
    {69, u"BENGALI"},      {70, u"PUNJABI"},     {71, u"GUJARATI"},
    {72, u"ORIYA"},        {73, u"TAMIL"},       {74, u"TELUGU"},
    {75, u"KANNADA"},      {76, u"MALAYALAM"},   {77, u"ASSAMESE"},
    {78, u"MARATHI"},      {79, u"SANSKRIT"},    {80, u"MONGOLIAN"},
    {81, u"TIBETAN"},      {82, u"WELSH"},       {83, u"KHMER"},
    {84, u"LAO"},          {86, u"GALICIAN"},    {87, u"KONKANI"},
    {89, u"SINDHI"},       {90, u"SYRIAC"},      {91, u"SINHALESE"},
    {93, u"INUKTITUT"},    {94, u"AMHARIC"},     {95, u"TAMAZIGHT"},
    {96, u"KASHMIRI"},     {97, u"NEPALI"},      {98, u"FRISIAN"},
    {99, u"PASHTO"},       {100, u"FILIPINO"},   {101, u"DIVEHI"},
    {104, u"HAUSA"},       {106, u"YORUBA"},     {107, u"QUECHUA"},
    {108, u"SOTHO"},       {109, u"BASHKIR"},    {110, u"LUXEMBOURGISH"},
    {111, u"GREENLANDIC"}, {112, u"IGBO"},       {115, u"TIGRIGNA"},
    {120, u"YI"},          {122, u"MAPUDUNGUN"}, {124, u"MOHAWK"},
    {126, u"BRETON"},      {128, u"UIGHUR"},     {129, u"MAORI"},
    {130, u"OCCITAN"},     {131, u"CORSICAN"},   {132, u"ALSATIAN"},
    {133, u"YAKUT"},       {134, u"KICHE"},      {135, u"KINYARWANDA"},
    {136, u"WOLOF"},       {140, u"DARI"},
};

}  // namespace

StrBuffer languageNameOf(uint16_t langId)
{
    const char16_t* upper = u"Unknown";
    bool found = false;
    for (const auto& entry : kWholeIds) {
        if (entry.langId == langId) {
            upper = entry.name;
            found = true;
            break;
        }
    }
    if (!found) {
        const uint16_t primary = langId & 0xFF;
        for (const auto& entry : kPrimaryIds) {
            if (entry.langId == primary) {
                upper = entry.name;
                break;
            }
        }
    }
    StrBuffer name(upper);
    name.toLowerCase();
    if (!name.isEmpty() && name[0] >= u'a' && name[0] <= u'z')
        name[0] = static_cast<char16_t>(name[0] - u'a' + u'A');
    return name;
}

const StrBuffer& systemLanguageName()
{
    static const StrBuffer name = languageNameOf(s::platform::userUiLanguage());
    return name;
}

Localizer::Localizer() = default;

Localizer::~Localizer()
{
    releasePacks();
}

void Localizer::reset()
{
    releasePacks();
    m_listeners.clear();
    m_table = {};
}

void Localizer::releasePacks()
{
    for (LangPack* pack : m_packs)
        pack->release();
    m_packs.clear();
    m_current = nullptr;
}

void Localizer::load(const s::xml::Node& root)
{
    // The version is read once per process.
    static const unsigned major = s::platform::systemFacts().majorVersion;
    load(root, major);
}

void Localizer::load(const s::xml::Node& root, unsigned windowsMajorVersion)
{
    m_legacyVenetian = windowsMajorVersion < 6;
    if (const s::xml::Node* languages = root.childNamed(u"languages"))
        readLanguages(*languages);
    fillTexts(root, m_packs);
}

void Localizer::loadTable(std::string_view utf8, unsigned windowsMajorVersion)
{
    m_legacyVenetian = windowsMajorVersion < 6;
    m_table = utf8;
    // The languages' names from their own part of the table; the whole
    // document only when the table has another shape.
    auto root = s::thread::Pooled<s::xml::Node>::take();
    const std::size_t before = m_packs.size();
    if (const std::optional<std::string_view> part = TableScan(utf8).languages()) {
        root->parseUtf8(*part);
        readLanguages(*root);
    } else {
        root->parseUtf8(utf8);
        if (const s::xml::Node* languages = root->childNamed(u"languages"))
            readLanguages(*languages);
    }
    if (m_packs.size() == before)
        return;
    // What current() will choose, and what englishText() reads.
    std::vector<LangPack*> now;
    LangPack* system = findByEnglishName(systemLanguageName().view());
    now.push_back(system ? system : m_packs.front());
    LangPack* english = findByEnglishName(u"English");
    if (!english)
        english = m_packs.front();
    if (english != now.front())
        now.push_back(english);
    readTexts(now);
    for (std::size_t i = before; i < m_packs.size(); ++i)
        if (std::find(now.begin(), now.end(), m_packs[i]) == now.end())
            m_packs[i]->leaveUnfilled(this);
}

void Localizer::fill(LangPack& pack)
{
    readTexts({&pack});
}

void Localizer::readTexts(const std::vector<LangPack*>& which)
{
    if (scanTexts(which))
        return;
    auto root = s::thread::Pooled<s::xml::Node>::take();
    root->parseUtf8(m_table);
    fillTexts(*root, which);
}

bool Localizer::scanTexts(const std::vector<LangPack*>& which)
{
    // The first pack with the tag, as fillTexts matches them; the table
    // names the same forty tags over and over, each is looked up once.
    std::vector<std::pair<std::string_view, LangPack*>> seen;
    StrBuffer wide;
    const auto packOf = [&](std::string_view tag) -> LangPack* {
        for (const auto& [known, pack] : seen)
            if (known == tag)
                return pack;
        wide.clear();
        for (const char c : tag)
            wide.append(static_cast<char16_t>(c));
        LangPack* found = nullptr;
        for (LangPack* pack : m_packs)
            if (StrBuffer::compareFolded(pack->tagName().view(), wide.view()) == 0) {
                found = pack;
                break;
            }
        seen.emplace_back(tag, found);
        return found;
    };
    const auto wantedTag = [&](std::string_view tag) {
        const LangPack* pack = packOf(tag);
        return pack && std::find(which.begin(), which.end(), pack) != which.end();
    };
    const std::optional<std::vector<TableScan::Entry>> entries = TableScan(m_table).entries(wantedTag);
    if (!entries)
        return false;
    StrBuffer raw;
    StrBuffer id;
    StrBuffer text;
    StrBuffer fallback;
    for (const TableScan::Entry& entry : *entries) {
        raw.assignUtf8(entry.id);
        id.clear();
        s::xml::appendDecoded(raw.view(), s::xml::ValueKind::Attribute, id);
        const bool numeric = !id.isEmpty() && isDigit(id[0]);
        const int32_t numericId = numeric ? toInt32(id.view()) : 0;
        fallback.clear();
        for (const TableScan::Text& element : entry.texts) {
            LangPack* match = packOf(element.tag);
            if (!match)
                continue;
            const bool wanted = std::find(which.begin(), which.end(), match) != which.end();
            if (!element.first && !wanted)
                continue;
            raw.assignUtf8(element.raw);
            text.clear();
            s::xml::appendDecoded(raw.view(), s::xml::ValueKind::Text, text);
            if (wanted)
                addText(*match, numericId, id.view(), text.view(), m_legacyVenetian);
            if (element.first)
                fallback = text;
        }
        for (LangPack* pack : which) {
            const bool has = numeric ? pack->hasId(numericId) : pack->hasKey(id.view());
            if (!has)
                addText(*pack, numericId, id.view(), fallback.view(), m_legacyVenetian);
        }
    }
    return true;
}

void Localizer::readLanguages(const s::xml::Node& languages)
{
    for (int i = 0; i < languages.childCount(); ++i) {
        const s::xml::Node& entry = languages.child(i);
        if (!entry.nameEquals(u"entry"))
            continue;
        StrBuffer tagName, engName, trueName;
        entry.getString(tagName, u"tagName");
        entry.getString(engName, u"engName");
        entry.getString(trueName, u"trueName");
        LangPack* pack = s::thread::Pool<LangPack>::take();
        pack->setNames(tagName.view(), engName.view(), trueName.view());
        m_packs.push_back(pack);
    }
}

void Localizer::fillTexts(const s::xml::Node& root, const std::vector<LangPack*>& which)
{
    const s::xml::Node* entries = root.childNamed(u"entries");
    if (!entries)
        return;
    const auto wanted = [&](const LangPack* pack) {
        return std::find(which.begin(), which.end(), pack) != which.end();
    };
    StrBuffer id;
    StrBuffer text;
    StrBuffer fallback;
    for (int i = 0; i < entries->childCount(); ++i) {
        const s::xml::Node& entry = entries->child(i);
        if (!entry.nameEquals(u"entry"))
            continue;
        entry.getString(id, u"id");
        const bool numeric = !id.isEmpty() && isDigit(id[0]);
        const int32_t numericId = numeric ? toInt32(id.view()) : 0;
        fallback.clear();
        for (int j = 0; j < entry.childCount(); ++j) {
            const s::xml::Node& child = entry.child(j);
            auto match = std::find_if(m_packs.begin(), m_packs.end(), [&](const LangPack* pack) {
                return StrBuffer::compareFolded(pack->tagName().view(), child.name().view()) == 0;
            });
            if (match == m_packs.end())
                continue;
            // The first text is every other language's fallback, whoever's.
            if (j != 0 && !wanted(*match))
                continue;
            child.getString(text, u"");
            if (wanted(*match))
                addText(**match, numericId, id.view(), text.view(), m_legacyVenetian);
            if (j == 0)
                fallback = text;
        }
        // A language without its own text shows the entry's first text.
        for (LangPack* pack : which) {
            const bool has = numeric ? pack->hasId(numericId) : pack->hasKey(id.view());
            if (!has)
                addText(*pack, numericId, id.view(), fallback.view(), m_legacyVenetian);
        }
    }
}

void Localizer::addText(LangPack& pack, int32_t id, std::u16string_view key, std::u16string_view text,
                        bool legacyVenetian) const
{
    const bool numeric = !key.empty() && isDigit(key[0]);
    if (legacyVenetian && pack.tagName().equalsIgnoreCase(u"vec")) {
        // Fonts of Windows before Vista have no U+019A; U+0142 looks alike.
        StrBuffer converted(text);
        converted.replaceAll(u'\u019A', u'\u0142');
        if (numeric)
            pack.add(id, converted.view());
        else
            pack.addKeyed(key, converted.view());
        return;
    }
    if (numeric)
        pack.add(id, text);
    else
        pack.addKeyed(key, text);
}

LangPack* Localizer::current()
{
    if (!m_current) {
        m_current = findByEnglishName(systemLanguageName().view());
        if (!m_current && !m_packs.empty())
            m_current = m_packs.front();
    }
    return m_current;
}

const StrBuffer& Localizer::text(int32_t id)
{
    LangPack* pack = current();
    const StrBuffer* found = pack ? pack->find(id) : nullptr;
    return found ? *found : emptyText();
}

const StrBuffer& Localizer::englishText(int32_t id)
{
    LangPack* pack = current();
    if (pack && !pack->engName().equalsIgnoreCase(u"English")) {
        pack = findByEnglishName(u"English");
        if (!pack && !m_packs.empty())
            pack = m_packs.front();
    }
    const StrBuffer* found = pack ? pack->find(id) : nullptr;
    return found ? *found : emptyText();
}

bool Localizer::hasText(int32_t id)
{
    LangPack* pack = current();
    const StrBuffer* found = pack ? pack->find(id) : nullptr;
    return found && !found->isEmpty();
}

LangPack* Localizer::findByEnglishName(std::u16string_view name) const
{
    auto named = [this](std::u16string_view wanted) -> LangPack* {
        for (LangPack* pack : m_packs) {
            if (pack->engName().equalsIgnoreCase(wanted))
                return pack;
        }
        return nullptr;
    };
    if (LangPack* exact = named(name))
        return exact;

    const StrBuffer given(name);
    LangPack* result = nullptr;
    if (given.startsWithIgnoreCase(u"Chinese")) {
        result = named(u"CHINESE_SIMPLIFIED");
        if (!result)
            result = named(u"CHINESE_TRADITIONAL");
    }
    if (given.startsWithIgnoreCase(u"Portuguese")) {
        result = named(u"PORTUGUESE_BRAZILIAN");
        if (!result)
            result = named(u"PORTUGUESE_PORTUGAL");
    }
    if (given.startsWithIgnoreCase(u"Serbian")) {
        result = named(u"SERBIAN_CYRILLIC");
        if (!result)
            result = named(u"SERBIAN_LATIN");
    }
    return result;
}

void Localizer::select(std::u16string_view name)
{
    LangPack* now = current();
    if (now && now->engName().equalsIgnoreCase(name))
        return;
    LangPack* chosen = findByEnglishName(name);
    if (!chosen)
        chosen = findByEnglishName(u"English");
    if (!chosen && !m_packs.empty())
        chosen = m_packs.front();
    if (chosen == now)
        return;
    m_current = chosen;
    notify();
}

void Localizer::selectIndex(int index)
{
    LangPack* chosen = pack(index);
    if (chosen == m_current)
        return;
    m_current = chosen;
    notify();
}

void Localizer::addListener(s::gui::events::IEventListener* listener)
{
    m_listeners.push_back(listener);
}

void Localizer::removeListener(s::gui::events::IEventListener* listener)
{
    auto found = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (found != m_listeners.end())
        m_listeners.erase(found);
}

void Localizer::notify()
{
    // A listener may remove itself while it is told; work on a copy.
    const auto listeners = m_listeners;
    for (auto* listener : listeners)
        listener->onEvent(this, 0);
}

}  // namespace s::lang
