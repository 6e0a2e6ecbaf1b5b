#include "base/StrBuffer.h"

#include "base/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace s::str::strbuffer {

namespace {

const char16_t kEmpty[1] = {0};

int clampedLength(std::size_t size)
{
    if (size > static_cast<std::size_t>(s::col::kMaxCapacity))
        std::abort();  // no string of the library can hold it
    return static_cast<int>(size);
}

bool unitsEqualIgnoreCase(const char16_t* a, const char16_t* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i] && StrBuffer::foldCase(a[i]) != StrBuffer::foldCase(b[i]))
            return false;
    }
    return true;
}

bool inSet(std::u16string_view set, char16_t unit)
{
    return set.find(unit) != std::u16string_view::npos;
}

bool inSetIgnoreCase(std::u16string_view set, char16_t unit)
{
    const char16_t folded = StrBuffer::foldCase(unit);
    for (char16_t member : set) {
        if (StrBuffer::foldCase(member) == folded)
            return true;
    }
    return false;
}

// Backward searches start at min(start, length - 1).
int backwardStart(int start, int length)
{
    return start >= length ? length - 1 : start;
}

}  // namespace

const char16_t* StrBuffer::emptyText()
{
    return kEmpty;
}

StrBuffer::StrBuffer(const StrBuffer& other) : PooledObject(other)
{
    assign(other.view());
}

StrBuffer::StrBuffer(StrBuffer&& other) noexcept
    : PooledObject(other), m_data(std::exchange(other.m_data, nullptr)), m_length(std::exchange(other.m_length, 0)),
      m_capacity(std::exchange(other.m_capacity, 0))
{
}

StrBuffer& StrBuffer::operator=(const StrBuffer& other)
{
    if (this != &other)
        assign(other.view());
    return *this;
}

StrBuffer& StrBuffer::operator=(StrBuffer&& other) noexcept
{
    if (this != &other) {
        delete[] m_data;
        m_data = std::exchange(other.m_data, nullptr);
        m_length = std::exchange(other.m_length, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

StrBuffer::~StrBuffer()
{
    delete[] m_data;
}

StrBuffer StrBuffer::fromUtf8(std::string_view utf8)
{
    StrBuffer text;
    text.assignUtf8(utf8);
    return text;
}

void StrBuffer::reset()
{
    if (m_capacity > kKeptCapacity) {
        delete[] m_data;
        m_data = nullptr;
        m_capacity = 0;
    }
    m_length = 0;
    writeNul();
}

int StrBuffer::compareTo(const s::base::IComparable* other, const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->compare(this, other);
    const auto* text = dynamic_cast<const StrBuffer*>(other);
    if (!text)
        return IComparable::compareTo(other, nullptr);
    return compare(text->view());
}

int StrBuffer::compareTo2(const s::base::IComparable* other, const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->compare2(this, other);
    const auto* text = dynamic_cast<const StrBuffer*>(other);
    if (!text)
        return IComparable::compareTo(other, nullptr);
    return compareIgnoreCase(text->view());
}

std::u16string_view StrBuffer::substr(int start, int count) const
{
    assert(start >= 0 && start <= m_length);
    const int available = m_length - start;
    const int n = count < 0 || count > available ? available : count;
    return {c_str() + start, static_cast<std::size_t>(n)};
}

// --- Storage -------------------------------------------------------------------

void StrBuffer::adoptBlock(int capacity)
{
    auto* block = new char16_t[static_cast<std::size_t>(capacity) + 1];
    if (m_length > 0)
        std::memcpy(block, m_data, static_cast<std::size_t>(m_length) * sizeof(char16_t));
    block[m_length] = 0;
    delete[] m_data;
    m_data = block;
    m_capacity = capacity;
}

void StrBuffer::growFor(long long needed)
{
    if (needed > m_capacity)
        adoptBlock(s::col::capacityFor(m_capacity, needed));
}

void StrBuffer::ensureCapacity(int n)
{
    growFor(n);
    if (!m_data)
        adoptBlock(m_capacity);
}

void StrBuffer::reserveExactly(int n)
{
    if (n > m_capacity || !m_data)
        adoptBlock(std::max(n, m_capacity));
}

void StrBuffer::setLength(int n)
{
    assert(n >= 0 && n <= m_capacity);
    m_length = n;
    writeNul();
}

void StrBuffer::updateLengthToNul()
{
    if (!m_data)
        return;
    int n = 0;
    while (n < m_capacity && m_data[n] != 0)
        ++n;
    setLength(n);
}

StrBuffer& StrBuffer::assign(std::u16string_view text)
{
    const int n = clampedLength(text.size());
    if (n > m_capacity || !m_data) {
        // The text may live in our own block: copy before freeing it.
        auto* block = new char16_t[static_cast<std::size_t>(std::max(n, m_capacity)) + 1];
        if (n > 0)
            std::memcpy(block, text.data(), static_cast<std::size_t>(n) * sizeof(char16_t));
        delete[] m_data;
        m_data = block;
        m_capacity = std::max(n, m_capacity);
    } else if (n > 0) {
        std::memmove(m_data, text.data(), static_cast<std::size_t>(n) * sizeof(char16_t));
    }
    m_length = n;
    writeNul();
    return *this;
}

StrBuffer& StrBuffer::append(std::u16string_view text)
{
    if (text.empty())
        return *this;
    const int n = clampedLength(text.size());
    const long long needed = static_cast<long long>(m_length) + n;
    if (needed > m_capacity) {
        // The text may live in our own block, which growing frees.
        if (aliases(text)) {
            const StrBuffer copy(text);
            return append(copy.view());
        }
        growFor(needed);
    }
    std::memcpy(m_data + m_length, text.data(), static_cast<std::size_t>(n) * sizeof(char16_t));
    m_length += n;
    writeNul();
    return *this;
}

StrBuffer& StrBuffer::append(char16_t unit)
{
    if (m_length == m_capacity)
        adoptBlock(s::col::growCapacity(m_capacity));
    m_data[m_length++] = unit;
    m_data[m_length] = 0;
    return *this;
}

StrBuffer& StrBuffer::append(char16_t unit, int repeat)
{
    if (repeat <= 0)
        return *this;
    growFor(static_cast<long long>(m_length) + repeat);
    std::fill_n(m_data + m_length, repeat, unit);
    m_length += repeat;
    writeNul();
    return *this;
}

StrBuffer& StrBuffer::insert(int index, std::u16string_view text)
{
    assert(index >= 0 && index <= m_length);
    if (text.empty())
        return *this;
    if (aliases(text)) {
        const StrBuffer copy(text);
        return insert(index, copy.view());
    }
    const int n = clampedLength(text.size());
    growFor(static_cast<long long>(m_length) + n);
    std::memmove(m_data + index + n, m_data + index, static_cast<std::size_t>(m_length - index) * sizeof(char16_t));
    std::memcpy(m_data + index, text.data(), static_cast<std::size_t>(n) * sizeof(char16_t));
    m_length += n;
    writeNul();
    return *this;
}

StrBuffer& StrBuffer::remove(int index, int count)
{
    assert(index >= 0 && index <= m_length);
    if (count <= 0)
        return *this;
    const int n = std::min(count, m_length - index);
    if (n <= 0)
        return *this;
    std::memmove(m_data + index, m_data + index + n, static_cast<std::size_t>(m_length - index - n) * sizeof(char16_t));
    m_length -= n;
    writeNul();
    return *this;
}

// --- Numbers ---------------------------------------------------------------------

namespace {

template <class T> void appendNumber(StrBuffer& text, T value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value);
    for (const char* p = digits; p < result.ptr; ++p)
        text.append(static_cast<char16_t>(*p));
}

}  // namespace

StrBuffer& StrBuffer::appendS32(int32_t value)
{
    appendNumber(*this, value);
    return *this;
}

StrBuffer& StrBuffer::appendU32(uint32_t value)
{
    appendNumber(*this, value);
    return *this;
}

StrBuffer& StrBuffer::appendS64(int64_t value)
{
    appendNumber(*this, value);
    return *this;
}

StrBuffer& StrBuffer::appendU64(uint64_t value)
{
    appendNumber(*this, value);
    return *this;
}

StrBuffer& StrBuffer::appendDouble(double value)
{
    // "%f" of the largest double has 309 integer digits; to_chars is exact,
    // locale-free and cannot overrun.
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value, std::chars_format::fixed, 6);
    for (const char* p = digits; p < result.ptr; ++p)
        append(static_cast<char16_t>(*p));
    return *this;
}

StrBuffer& StrBuffer::appendHex(uint64_t value, int digits)
{
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    char16_t buffer[16];
    int n = 0;
    do {
        buffer[n++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    if (digits > n)
        append(u'0', digits - n);
    while (n > 0)
        append(buffer[--n]);
    return *this;
}

// --- UTF-8 -------------------------------------------------------------------------

StrBuffer& StrBuffer::assignUtf8(std::string_view utf8)
{
    m_length = 0;
    writeNul();
    return appendUtf8(utf8);
}

StrBuffer& StrBuffer::appendUtf8(std::string_view utf8)
{
    if (utf8.empty())
        return *this;
    // One pass: UTF-8 never needs more units than it has bytes.
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const int room = clampedLength(utf8.size());
    growFor(static_cast<long long>(m_length) + room);
    m_length += static_cast<int>(utf8::decode(bytes, utf8.size(), m_data + m_length));
    writeNul();
    return *this;
}

std::string StrBuffer::toUtf8() const
{
    std::string out(utf8::encodedLength(view()), '\0');
    utf8::encode(view(), reinterpret_cast<uint8_t*>(out.data()));
    return out;
}

void StrBuffer::toUtf8(s::col::ArrayU08& out, Terminator terminator) const
{
    const int n = clampedLength(utf8::encodedLength(view()));
    out.resize(0);
    out.resize(n + 1);  // zero-filled, so the terminator is already there
    utf8::encode(view(), out.data());
    if (terminator == Terminator::NotCounted)
        out.truncate(n);
}

// --- Case --------------------------------------------------------------------------

StrBuffer& StrBuffer::toLowerCase()
{
    for (int i = 0; i < m_length; ++i)
        m_data[i] = foldCase(m_data[i]);
    return *this;
}

StrBuffer& StrBuffer::toUpperCase()
{
    for (int i = 0; i < m_length; ++i) {
        if (m_data[i] >= u'a' && m_data[i] <= u'z')
            m_data[i] = static_cast<char16_t>(m_data[i] - (u'a' - u'A'));
    }
    return *this;
}

StrBuffer& StrBuffer::capitalize()
{
    toLowerCase();
    if (m_length > 0 && m_data[0] >= u'a' && m_data[0] <= u'z')
        m_data[0] = static_cast<char16_t>(m_data[0] - (u'a' - u'A'));
    return *this;
}

// --- Comparison --------------------------------------------------------------------

bool StrBuffer::equalsIgnoreCase(std::u16string_view text) const
{
    return text.size() == static_cast<std::size_t>(m_length) && unitsEqualIgnoreCase(c_str(), text.data(), text.size());
}

namespace {

// The two ranges that equalsAt compares, or false when they do not exist.
bool equalsAtRanges(std::u16string_view self, int index, std::u16string_view text, int textStart, int length,
                    std::size_t& count)
{
    if (index < 0 || textStart < 0 || static_cast<std::size_t>(index) > self.size() ||
        static_cast<std::size_t>(textStart) > text.size())
        return false;
    const std::size_t selfRest = self.size() - static_cast<std::size_t>(index);
    const std::size_t textRest = text.size() - static_cast<std::size_t>(textStart);
    if (length < 0) {
        if (selfRest != textRest)
            return false;
        count = textRest;
        return true;
    }
    count = static_cast<std::size_t>(length);
    return count <= selfRest && count <= textRest;
}

}  // namespace

bool StrBuffer::equalsAt(int index, std::u16string_view text, int textStart, int length) const
{
    std::size_t count;
    if (!equalsAtRanges(view(), index, text, textStart, length, count))
        return false;
    return std::char_traits<char16_t>::compare(c_str() + index, text.data() + textStart, count) == 0;
}

bool StrBuffer::equalsAtIgnoreCase(int index, std::u16string_view text, int textStart, int length) const
{
    std::size_t count;
    if (!equalsAtRanges(view(), index, text, textStart, length, count))
        return false;
    return unitsEqualIgnoreCase(c_str() + index, text.data() + textStart, count);
}

bool StrBuffer::startsWith(std::u16string_view text) const
{
    return view().substr(0, text.size()) == text;
}

bool StrBuffer::endsWith(std::u16string_view text) const
{
    return text.size() <= static_cast<std::size_t>(m_length) &&
           view().substr(static_cast<std::size_t>(m_length) - text.size()) == text;
}

bool StrBuffer::startsWithIgnoreCase(std::u16string_view text) const
{
    return text.size() <= static_cast<std::size_t>(m_length) && unitsEqualIgnoreCase(c_str(), text.data(), text.size());
}

bool StrBuffer::endsWithIgnoreCase(std::u16string_view text) const
{
    return text.size() <= static_cast<std::size_t>(m_length) &&
           unitsEqualIgnoreCase(c_str() + (static_cast<std::size_t>(m_length) - text.size()), text.data(), text.size());
}

int StrBuffer::compareBytes(std::u16string_view a, std::u16string_view b)
{
    // The UTF-16LE byte order: the low byte of each unit first, then the high.
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i])
            continue;
        const unsigned lowA = a[i] & 0xFFu;
        const unsigned lowB = b[i] & 0xFFu;
        if (lowA != lowB)
            return lowA < lowB ? -1 : 1;
        return (a[i] >> 8) < (b[i] >> 8) ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::u16string StrBuffer::foldedCopy(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& unit : out)
        unit = foldCase(unit);
    return out;
}

int StrBuffer::compareFolded(std::u16string_view a, std::u16string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = foldCase(a[i]);
        const char16_t y = foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

uint32_t StrBuffer::hashOf(std::u16string_view text)
{
    uint32_t h = 0;
    for (char16_t unit : text)
        h = ((h << 1) | ((h >> 30) & 1u)) ^ unit;
    return h;
}

uint32_t StrBuffer::hashOfIgnoreCase(std::u16string_view text)
{
    uint32_t h = 0;
    for (char16_t unit : text)
        h = ((h << 1) | ((h >> 30) & 1u)) ^ foldCase(unit);
    return h;
}

// --- Search --------------------------------------------------------------------------

int StrBuffer::indexOf(char16_t unit, int start) const
{
    for (int i = std::max(start, 0); i < m_length; ++i) {
        if (m_data[i] == unit)
            return i;
    }
    return -1;
}

int StrBuffer::indexOfIgnoreCase(char16_t unit, int start) const
{
    const char16_t folded = foldCase(unit);
    for (int i = std::max(start, 0); i < m_length; ++i) {
        if (foldCase(m_data[i]) == folded)
            return i;
    }
    return -1;
}

int StrBuffer::indexOfAny(std::u16string_view set, int start) const
{
    for (int i = std::max(start, 0); i < m_length; ++i) {
        if (inSet(set, m_data[i]))
            return i;
    }
    return -1;
}

int StrBuffer::indexOfAnyIgnoreCase(std::u16string_view set, int start) const
{
    for (int i = std::max(start, 0); i < m_length; ++i) {
        if (inSetIgnoreCase(set, m_data[i]))
            return i;
    }
    return -1;
}

int StrBuffer::indexOf(std::u16string_view text, int start) const
{
    if (start < 0 || start > m_length)
        return -1;
    const std::size_t found = view().find(text, static_cast<std::size_t>(start));
    return found == std::u16string_view::npos ? -1 : static_cast<int>(found);
}

int StrBuffer::indexOfIgnoreCase(std::u16string_view text, int start) const
{
    if (start < 0 || start > m_length)
        return -1;
    if (text.empty())
        return start;
    const int count = clampedLength(text.size());
    for (int i = indexOfIgnoreCase(text[0], start); i >= 0 && i + count <= m_length;
         i = indexOfIgnoreCase(text[0], i + 1)) {
        if (equalsAtIgnoreCase(i, text, 0, count))
            return i;
    }
    return -1;
}

int StrBuffer::lastIndexOf(char16_t unit, int start) const
{
    for (int i = backwardStart(start, m_length); i >= 0; --i) {
        if (m_data[i] == unit)
            return i;
    }
    return -1;
}

int StrBuffer::lastIndexOfIgnoreCase(char16_t unit, int start) const
{
    const char16_t folded = foldCase(unit);
    for (int i = backwardStart(start, m_length); i >= 0; --i) {
        if (foldCase(m_data[i]) == folded)
            return i;
    }
    return -1;
}

int StrBuffer::lastIndexOfAny(std::u16string_view set, int start) const
{
    for (int i = backwardStart(start, m_length); i >= 0; --i) {
        if (inSet(set, m_data[i]))
            return i;
    }
    return -1;
}

int StrBuffer::lastIndexOfAnyIgnoreCase(std::u16string_view set, int start) const
{
    for (int i = backwardStart(start, m_length); i >= 0; --i) {
        if (inSetIgnoreCase(set, m_data[i]))
            return i;
    }
    return -1;
}

int StrBuffer::lastIndexOf(std::u16string_view text, int start) const
{
    if (start < 0 || text.size() > static_cast<std::size_t>(m_length))
        return -1;
    const std::size_t from = start >= m_length ? std::u16string_view::npos : static_cast<std::size_t>(start);
    const std::size_t found = view().rfind(text, from);
    return found == std::u16string_view::npos ? -1 : static_cast<int>(found);
}

int StrBuffer::lastIndexOfIgnoreCase(std::u16string_view text, int start) const
{
    if (start < 0 || text.size() > static_cast<std::size_t>(m_length))
        return -1;
    const int count = static_cast<int>(text.size());
    for (int i = std::min(start, m_length - count); i >= 0; --i) {
        if (equalsAtIgnoreCase(i, text, 0, count))
            return i;
    }
    return -1;
}

// --- Trimming ------------------------------------------------------------------------

StrBuffer& StrBuffer::trimRight()
{
    return trimRight(0);
}

StrBuffer& StrBuffer::trimRight(int minLength)
{
    int n = m_length;
    while (n > minLength && n > 0 && isTrimSpace(m_data[n - 1]))
        --n;
    if (n != m_length)
        setLength(n);
    return *this;
}

StrBuffer& StrBuffer::trimLeft()
{
    int n = 0;
    while (n < m_length && isTrimSpace(m_data[n]))
        ++n;
    return remove(0, n);
}

// --- Replacement -----------------------------------------------------------------------

int StrBuffer::replaceAll(std::u16string_view find, std::u16string_view with)
{
    if (find.empty() || m_length == 0)
        return 0;
    // Replacing in place would change a find or with text that lives in this
    // string while it is still needed: work on copies then.
    if (aliases(find) || aliases(with)) {
        const StrBuffer findCopy(find);
        const StrBuffer withCopy(with);
        return replaceAll(findCopy.view(), withCopy.view());
    }
    if (find.size() == with.size()) {
        int replaced = 0;
        for (int i = indexOf(find, 0); i >= 0; i = indexOf(find, i + static_cast<int>(find.size()))) {
            std::memcpy(m_data + i, with.data(), with.size() * sizeof(char16_t));
            ++replaced;
        }
        return replaced;
    }
    int first = indexOf(find, 0);
    if (first < 0)
        return 0;
    // Build the result beside the original: `with` may point into this string.
    StrBuffer result;
    result.ensureCapacity(m_length);
    int replaced = 0;
    int from = 0;
    for (int i = first; i >= 0; i = indexOf(find, from)) {
        result.append(view().substr(static_cast<std::size_t>(from), static_cast<std::size_t>(i - from)));
        result.append(with);
        from = i + static_cast<int>(find.size());
        ++replaced;
    }
    result.append(view().substr(static_cast<std::size_t>(from)));
    assign(result.view());
    return replaced;
}

int StrBuffer::replaceAll(char16_t find, char16_t with)
{
    int replaced = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_data[i] == find) {
            m_data[i] = with;
            ++replaced;
        }
    }
    return replaced;
}

// --- Hex and decimal -----------------------------------------------------------------

int StrBuffer::hexDigitValue(char16_t unit)
{
    if (unit >= u'0' && unit <= u'9')
        return unit - u'0';
    if (unit >= u'a' && unit <= u'f')
        return unit - u'a' + 10;
    if (unit >= u'A' && unit <= u'F')
        return unit - u'A' + 10;
    return 0;
}

bool StrBuffer::isHex() const
{
    if (m_length == 0)
        return false;
    for (int i = 0; i < m_length; ++i) {
        const char16_t c = m_data[i];
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

uint64_t StrBuffer::hexToNumber() const
{
    uint64_t value = 0;
    for (int i = 0; i < m_length; ++i)
        value = (value << 4) | static_cast<uint64_t>(hexDigitValue(m_data[i]));
    return value;
}

void StrBuffer::hexToBytes(s::col::ArrayU08& out) const
{
    out.reserve(out.count() + m_length / 2);
    for (int i = 0; i + 1 < m_length; i += 2)
        out.add(static_cast<uint8_t>(hexDigitValue(m_data[i]) << 4 | hexDigitValue(m_data[i + 1])));
}

bool StrBuffer::isDecimalInteger() const
{
    if (m_length == 0)
        return false;
    int i = m_length > 1 && m_data[0] == u'-' ? 1 : 0;
    for (; i < m_length; ++i) {
        if (m_data[i] < u'0' || m_data[i] > u'9')
            return false;
    }
    return true;
}

}  // namespace s::str::strbuffer
