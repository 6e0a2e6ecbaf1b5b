// StrBuffer: the library's growable UTF-16 string (char16_t code units).
//
// Model: a heap block with room for capacity() + 1 units, of which length()
// are in use; the unit after the last one is always NUL, so c_str() is free.
// An empty string without a block hands out one shared static empty string.
// Appends grow the block by the library's growth rule (s::col::growCapacity:
// 100, then x3 ...); assign() from a longer text reallocates to exactly the
// text's length. Giving a string back to its pool keeps its block (up to
// kKeptCapacity units, so that a pool of spares cannot pin huge blocks).
//
// Use it by value (members, locals) or from its pool (Pooled<StrBuffer>). Text
// parameters are std::u16string_view, so a StrBuffer, a std::u16string, a
// u"literal" or a (pointer, length) all pass without copying.
//
// Conventions shared by every operation here:
//   - indexes and lengths are int; searches return -1 when nothing is found;
//   - "IgnoreCase" folds only A-Z to a-z and compares every other unit as it is;
//   - an index outside the string is outside the contract (asserted in debug
//     builds), except where an operation says how it treats one.
//
// Edges to other text forms: UTF-8 (assignUtf8/appendUtf8/toUtf8, see Utf8.h
// for the rules about invalid input and unpaired surrogates), std::u16string,
// and, in Windows code only, wchar_t through base/WideStr.h.
#pragma once

#include "base/Array.h"
#include "base/IObject.h"
#include "base/Pool.h"

#include <cassert>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace s::str::strbuffer {

class StrBuffer : public s::thread::PooledObject<StrBuffer> {
public:
    // Start index of backward searches that means "from the last unit".
    static constexpr int kFromEnd = 0xFFFFFF;
    // A string given back to its pool keeps a block up to this many units.
    static constexpr int kKeptCapacity = 8192;

    StrBuffer() = default;
    StrBuffer(std::u16string_view text) { assign(text); }    // NOLINT: implicit by design
    StrBuffer(const char16_t* text) { assign(text); }        // NOLINT: implicit by design
    StrBuffer(const std::u16string& text) { assign(text); }  // NOLINT: implicit by design
    StrBuffer(const StrBuffer& other);
    StrBuffer(StrBuffer&& other) noexcept;
    StrBuffer& operator=(const StrBuffer& other);
    StrBuffer& operator=(StrBuffer&& other) noexcept;
    StrBuffer& operator=(std::u16string_view text) { return assign(text); }
    StrBuffer& operator=(const char16_t* text) { return assign(text); }
    StrBuffer& operator=(const std::u16string& text) { return assign(text); }
    ~StrBuffer() override;

    static StrBuffer fromUtf8(std::string_view utf8);

    // --- IObject / IPoolable -------------------------------------------------
    const char* className() const override { return "s_str_strbuffer_StrBuffer"; }
    // Length 0; the block stays (up to kKeptCapacity units).
    void reset() override;
    // With a comparator: the comparator decides. Otherwise other must be a
    // StrBuffer: compareTo orders the UTF-16LE byte sequences as raw bytes
    // over the shorter length, then the shorter string first; compareTo2
    // ignores case over the shorter length, then the shorter first.
    int compareTo(const s::base::IComparable* other, const s::base::IComparator* comparator) const override;
    int compareTo2(const s::base::IComparable* other, const s::base::IComparator* comparator) const override;
    using s::base::IComparable::equals;
    using s::base::IComparable::equals2;

    // --- Access ----------------------------------------------------------------
    int length() const { return m_length; }
    bool isEmpty() const { return m_length == 0; }
    int capacity() const { return m_capacity; }
    // NUL-terminated; the shared static empty string when empty.
    const char16_t* c_str() const { return m_length ? m_data : emptyText(); }
    // The units in use (nullptr when there is no block).
    const char16_t* data() const { return m_data; }
    char16_t* data() { return m_data; }
    std::u16string_view view() const { return {c_str(), static_cast<std::size_t>(m_length)}; }
    operator std::u16string_view() const { return view(); }  // NOLINT: implicit by design
    std::u16string toU16String() const { return std::u16string(view()); }
    // Does text point into this string's block? A text that does changes
    // when the string is written.
    bool aliases(std::u16string_view text) const
    {
        // std::less_equal gives a total order even on unrelated pointers.
        const std::less_equal<const char16_t*> before;
        return m_data && !text.empty() && before(m_data, text.data()) && before(text.data(), m_data + m_capacity);
    }
    std::u16string_view substr(int start, int count = -1) const;

    char16_t charAt(int index) const
    {
        assert(index >= 0 && index < m_length);
        return m_data[index];
    }
    char16_t operator[](int index) const { return charAt(index); }
    char16_t& operator[](int index)
    {
        assert(index >= 0 && index < m_length);
        return m_data[index];
    }
    char16_t last() const { return charAt(m_length - 1); }

    static const char16_t* emptyText();

    // --- Building --------------------------------------------------------------
    // Replaces the content; reallocates to exactly text's length when the
    // block is too small. text may point into this string.
    StrBuffer& assign(std::u16string_view text);
    StrBuffer& append(std::u16string_view text);
    StrBuffer& append(char16_t unit);
    StrBuffer& append(char16_t unit, int repeat);
    StrBuffer& insert(int index, std::u16string_view text);
    StrBuffer& prepend(std::u16string_view text) { return insert(0, text); }
    StrBuffer& operator+=(std::u16string_view text) { return append(text); }
    StrBuffer& operator+=(char16_t unit) { return append(unit); }
    // Removes count units from index (clamped to the end).
    StrBuffer& remove(int index, int count);
    void clear() { setLength(0); }

    // Numbers in decimal ("%d", "%u", "%I64d"); doubles with six decimals ("%f").
    StrBuffer& appendS32(int32_t value);
    StrBuffer& appendU32(uint32_t value);
    StrBuffer& appendS64(int64_t value);
    StrBuffer& appendU64(uint64_t value);
    StrBuffer& appendDouble(double value);
    // Lower-case hexadecimal with at least `digits` digits.
    StrBuffer& appendHex(uint64_t value, int digits);

    // UTF-8 in (invalid sequences become U+FFFD; see Utf8.h).
    StrBuffer& assignUtf8(std::string_view utf8);
    StrBuffer& appendUtf8(std::string_view utf8);
    // UTF-8 out.
    std::string toUtf8() const;
    // UTF-8 into out (replacing its content). A terminating 0 follows the
    // bytes; with Terminator::Counted it is part of out.count().
    enum class Terminator { NotCounted, Counted };
    void toUtf8(s::col::ArrayU08& out, Terminator terminator = Terminator::NotCounted) const;

    // Capacity at least n units, by the growth rule / exactly n.
    void ensureCapacity(int n);
    void reserveExactly(int n);
    // Sets the length; growing it exposes units written through data() after
    // ensureCapacity (the Win32 "fill my buffer" pattern). Writes the NUL.
    void setLength(int n);
    // Recomputes the length up to the first NUL (after a Win32 call filled data()).
    void updateLengthToNul();

    // --- Case ------------------------------------------------------------------
    StrBuffer& toLowerCase();
    StrBuffer& toUpperCase();
    // Lower-cases everything, then upper-cases the first unit if it is a-z.
    StrBuffer& capitalize();
    static char16_t foldCase(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit; }
    // A copy of text with A-Z folded to a-z: a key for comparisons and maps
    // that ignore case.
    static std::u16string foldedCopy(std::u16string_view text);

    // --- Comparison ------------------------------------------------------------
    bool equals(std::u16string_view text) const { return view() == text; }
    bool equalsIgnoreCase(std::u16string_view text) const;
    // Equality at index against text from textStart. length -1: the rest of
    // this string from index equals the rest of text (same length). Otherwise
    // exactly `length` units must match, and both must hold that many. An
    // index past either end gives false.
    bool equalsAt(int index, std::u16string_view text, int textStart = 0, int length = -1) const;
    bool equalsAtIgnoreCase(int index, std::u16string_view text, int textStart = 0, int length = -1) const;
    bool startsWith(std::u16string_view text) const;
    bool endsWith(std::u16string_view text) const;
    bool startsWithIgnoreCase(std::u16string_view text) const;
    bool endsWithIgnoreCase(std::u16string_view text) const;
    // Raw byte order of the UTF-16LE forms (U+0100 sorts before U+0061), then
    // shorter first: <0, 0, >0.
    int compare(std::u16string_view text) const { return compareBytes(view(), text); }
    // Ignoring case over the shorter length, then shorter first.
    int compareIgnoreCase(std::u16string_view text) const { return compareFolded(view(), text); }
    static int compareBytes(std::u16string_view a, std::u16string_view b);
    static int compareFolded(std::u16string_view a, std::u16string_view b);

    // h = ((h << 1) | bit 30 of h) ^ unit over all units, in 32 bits.
    uint32_t hash() const { return hashOf(view()); }
    uint32_t hashIgnoreCase() const { return hashOfIgnoreCase(view()); }
    static uint32_t hashOf(std::u16string_view text);
    static uint32_t hashOfIgnoreCase(std::u16string_view text);

    // --- Search (-1 when not found; start beyond the end finds nothing) -------
    int indexOf(char16_t unit, int start = 0) const;
    int indexOfIgnoreCase(char16_t unit, int start = 0) const;
    int indexOfAny(std::u16string_view set, int start = 0) const;
    int indexOfAnyIgnoreCase(std::u16string_view set, int start = 0) const;
    // An empty text is found at start (when start <= length).
    int indexOf(std::u16string_view text, int start = 0) const;
    int indexOfIgnoreCase(std::u16string_view text, int start = 0) const;
    // Backwards from start (kFromEnd or any index past the end: the last unit).
    int lastIndexOf(char16_t unit, int start = kFromEnd) const;
    int lastIndexOfIgnoreCase(char16_t unit, int start = kFromEnd) const;
    int lastIndexOfAny(std::u16string_view set, int start = kFromEnd) const;
    int lastIndexOfAnyIgnoreCase(std::u16string_view set, int start = kFromEnd) const;
    // Last occurrence that begins at or before start.
    int lastIndexOf(std::u16string_view text, int start = kFromEnd) const;
    int lastIndexOfIgnoreCase(std::u16string_view text, int start = kFromEnd) const;
    bool contains(char16_t unit) const { return indexOf(unit) >= 0; }
    bool contains(std::u16string_view text) const { return indexOf(text) >= 0; }

    // --- Trimming (white space: space, LF, U+3000, tab, CR) ------------------
    static bool isTrimSpace(char16_t unit)
    {
        return unit == u' ' || unit == u'\n' || unit == u'\x3000' || unit == u'\t' || unit == u'\r';
    }
    StrBuffer& trimRight();
    // Never shortens the string below minLength units.
    StrBuffer& trimRight(int minLength);
    StrBuffer& trimLeft();
    StrBuffer& trim() { return trimRight().trimLeft(); }

    // --- Replacement -----------------------------------------------------------
    // Replaces every non-overlapping occurrence, left to right (in place when
    // the lengths are equal). An empty `find` replaces nothing. Returns the
    // number of replacements.
    int replaceAll(std::u16string_view find, std::u16string_view with);
    int replaceAll(char16_t find, char16_t with);

    // --- Hexadecimal and decimal helpers ---------------------------------------
    // All units are 0-9, a-f or A-F (false when empty).
    bool isHex() const;
    // Value of a hex digit; 0 for any other unit.
    static int hexDigitValue(char16_t unit);
    // 4 bits per unit, high first (non-digits count 0; overflow drops high bits).
    uint64_t hexToNumber() const;
    // Two digits per byte appended to out; a final odd digit is ignored.
    void hexToBytes(s::col::ArrayU08& out) const;
    // Digits only, with an optional leading "-" when longer than one unit.
    bool isDecimalInteger() const;

    friend bool operator==(const StrBuffer& a, std::u16string_view b) { return a.view() == b; }

private:
    void growFor(long long needed);
    void writeNul()
    {
        if (m_data)
            m_data[m_length] = 0;
    }
    void adoptBlock(int capacity);

    char16_t* m_data = nullptr;
    int m_length = 0;
    int m_capacity = 0;
};

// Owning handle of a pooled string.
using StrBufferHandle = s::thread::Pooled<StrBuffer>;

}  // namespace s::str::strbuffer

namespace s::str {
using strbuffer::StrBuffer;
}  // namespace s::str
