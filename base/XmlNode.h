// s::xml::Node: one element of the program's XML dialect, and the dialect's
// parser and writer. The settings file, the language table and the skin sets
// are all documents of this dialect.
//
// The dialect: elements, double-quoted attributes, text and comments; no
// declaration is written, no CDATA, no entities beyond the escapes of
// XmlEscape.h. An element's text is stored as an attribute with an empty
// name. Values stay in their escaped form and are decoded when read.
// A whole document is written on one line: `<a x="1">text<b></b></a>`
// (empty elements get an explicit end tag, nothing is indented).
//
// Parsing never fails and never reads past its input; on input that is not
// well-formed it keeps what it could read and stops:
//   - the text ends at its end or at the first NUL character;
//   - before the root element, text, "<?...?>", "<!...>" (a declaration,
//     a comment, a DOCTYPE) and stray end tags are skipped, so the root is
//     the first element;
//   - an element is kept once its start tag is complete (its '>' seen); what
//     follows is read as far as it is complete: an unterminated attribute
//     value, comment or end tag, or text that runs to the end, is dropped and
//     parsing stops there; a root whose start tag is incomplete leaves the
//     node empty;
//   - an attribute without a quoted value (x, x=1) is skipped;
//   - nesting deeper than kMaxDepth elements stops parsing at that element;
//   - anything after the root element is ignored.
//
// Ownership: children are owned (they come from the Node pool and go back
// to it, clearing their own children, when removed or when this node is
// cleared); attribute records come from AttrFactory. Use a Node by value
// (a document root member) or from its pool (Pooled<Node>).
//
// Failure rules: lookups of a missing attribute give the caller's default,
// a missing child gives nullptr; typed getters convert a present value even
// when it is not a number (to 0), the default is for absent values only.
#pragma once

#include "base/Array.h"
#include "base/IFileIo.h"
#include "base/Pool.h"
#include "base/StrBuffer.h"
#include "base/XmlAttributes.h"
#include "base/XmlEscape.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::xml {

using s::str::StrBuffer;

// Whether an operation replaces its output's content or appends to it.
enum class Output { Replace, Append };

// Whether a document is well-formed in the dialect, as a parse found it (the
// parse itself keeps what it could read either way). Well-formed: an
// optional byte-order mark, white space, "<?...?>" declarations and comments
// before the root element; the root with every start tag complete, every
// attribute value quoted and closed, every element closed by an end tag of
// its own name (or "/>"), comments closed, no "<!" other than comments, no
// deeper nesting than Node::kMaxDepth; after it white space and comments
// only; no NUL anywhere; for UTF-8 input, no byte sequence that is not
// UTF-8. A text without any element is not well-formed. Text runs after a
// child are allowed (the settings store never reads them).
struct ParseReport {
    bool wellFormed = true;
    int line = 0;  // the line (from 1) of the first fault; 0 when well-formed
};

class Node : public s::thread::PooledObject<Node> {
public:
    // Deepest nesting the parser follows (the root is depth 1).
    static constexpr int kMaxDepth = 128;

    Node();
    ~Node() override;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    Node(Node&& other) noexcept;
    Node& operator=(Node&& other) noexcept;

    const char* className() const override { return "s_xml_Node"; }
    // Empty name, no attributes, children given back.
    void reset() override { clear(); }
    void clear();

    // --- Parsing and writing ---------------------------------------------------
    // Clears this node, then parses the first element of text from start into
    // it (see the top of this file). Returns the position after the element,
    // or the position where parsing stopped. text must not live inside this
    // node (its name or values), which the clearing frees.
    // With a report, also says whether the text is well-formed (see
    // ParseReport; the root must then be the last element of the text).
    int parse(std::u16string_view text, int start = 0, ParseReport* report = nullptr);
    // Decodes UTF-8 (invalid sequences become U+FFFD) and parses it.
    void parseUtf8(std::string_view bytes, ParseReport* report = nullptr);
    void parseUtf8(const s::col::ArrayU08& bytes, ParseReport* report = nullptr);

    // Serialises this element and its subtree.
    void toString(StrBuffer& out, Output output = Output::Replace) const;
    StrBuffer toString() const;
    // toString in UTF-8 (no byte-order mark), replacing out's content.
    void toUtf8(s::col::ArrayU08& out) const;
    std::string toUtf8() const;

    // Reads the whole file and parses it; false (and an empty node) when the
    // file cannot be read (the report then says well-formed: there was
    // nothing to judge).
    bool loadFile(std::u16string_view path, s::io::IFileIo& files, ParseReport* report = nullptr);
    // Creates the parent folder if it is missing, then replaces the file's
    // content with toUtf8() in one step (IFileIo::replaceFile): an interrupted
    // save leaves the old file as it was. False when the file could not be
    // written.
    bool saveFile(std::u16string_view path, s::io::IFileIo& files) const;

    // --- Name ----------------------------------------------------------------------
    const StrBuffer& name() const { return m_name; }
    void setName(std::u16string_view name) { m_name.assign(name); }
    // length -1: the whole name equals text ignoring case (A-Z). Otherwise the
    // name is exactly the first `length` units of text, case counting.
    bool nameEquals(std::u16string_view text, int length = -1) const;
    // A comment's name begins with "!".
    bool isComment() const { return m_name.length() > 0 && m_name[0] == u'!'; }

    // --- Children --------------------------------------------------------------------
    int childCount() const { return m_children.count(); }
    Node& child(int index) const { return *m_children.at<Node>(index); }
    // A node from the pool, named name, appended.
    Node& addChild(std::u16string_view name);
    // Appends node, which must come from the Node pool; this node owns it now.
    Node& addChildNode(Node* node);
    // Removes the child and gives it back to the pool.
    void removeChild(int index) { m_children.disposeAt(index); }
    // Removes the child and hands it to the caller, who gives it back.
    [[nodiscard]] Node* detachChild(int index) { return static_cast<Node*>(m_children.removeAt(index)); }
    // The first child whose nameEquals(name, length) holds.
    bool findChild(std::u16string_view name, int& index, int length = -1) const;
    Node* childNamed(std::u16string_view name, int length = -1) const;

    // --- Attributes: adding (always appends; an empty name adds text) -------------
    void addS64(std::u16string_view name, int64_t value);
    void addU64(std::u16string_view name, uint64_t value);
    void addU32(std::u16string_view name, uint32_t value);
    void addU16(std::u16string_view name, uint16_t value) { addU32(name, value); }
    void addU8(std::u16string_view name, uint8_t value) { addU32(name, value); }
    void addS32(std::u16string_view name, int32_t value);
    void addS16(std::u16string_view name, int16_t value) { addS32(name, value); }
    void addS8(std::u16string_view name, int8_t value) { addS32(name, value); }
    void addBool(std::u16string_view name, bool value) { addU32(name, value ? 1u : 0u); }
    // Six decimals ("%f").
    void addDouble(std::u16string_view name, double value);
    void addFloat(std::u16string_view name, float value) { addDouble(name, value); }
    // Escaped by the attribute rules, or the text rules for an empty name.
    void addString(std::u16string_view name, std::u16string_view value);
    // Hexadecimal, lower case, each element in full width, concatenated.
    void addHex64(std::u16string_view name, const uint64_t* values, int count);
    void addHex32(std::u16string_view name, const uint32_t* values, int count);
    void addHex16(std::u16string_view name, const uint16_t* values, int count);
    void addBytes(std::u16string_view name, const uint8_t* bytes, int count);
    // Each value as two 8-digit groups, low 32 bits first.
    void addSplit64(std::u16string_view name, const int64_t* values, int count);

    // Removes the first attribute of that name (ignoring case); false if absent.
    bool removeAttribute(std::u16string_view name);
    bool hasAttribute(std::u16string_view name) const { return m_attributes.find(name) >= 0; }

    // --- Attributes: reading (the first record of that name, ignoring case) -------
    // The stored, still escaped value.
    std::u16string_view getRaw(std::u16string_view name, std::u16string_view defaultValue = {}) const;
    // True when the value begins with "1" or "true" (lower case).
    bool getBool(std::u16string_view name, bool defaultValue) const;
    // Decimal: leading white space and a sign accepted, stops at the first
    // non-digit, 0 without digits. 32-bit values saturate like wcstol and
    // are then narrowed to the smaller types; 64-bit ones saturate at 64.
    int8_t getS8(std::u16string_view name, int8_t defaultValue) const;
    int16_t getS16(std::u16string_view name, int16_t defaultValue) const;
    int32_t getS32(std::u16string_view name, int32_t defaultValue) const;
    int64_t getS64(std::u16string_view name, int64_t defaultValue) const;
    // Unsigned like wcstoul: a leading "-" negates modulo 2^32 (2^64).
    uint8_t getU8(std::u16string_view name, uint8_t defaultValue) const;
    uint16_t getU16(std::u16string_view name, uint16_t defaultValue) const;
    uint32_t getU32(std::u16string_view name, uint32_t defaultValue) const;
    uint64_t getU64(std::u16string_view name, uint64_t defaultValue) const;
    double getDouble(std::u16string_view name, double defaultValue) const;
    float getFloat(std::u16string_view name, float defaultValue) const;
    // The decoded value (text rules for an empty name, attribute rules
    // otherwise) into target; the default when absent. Returns whether the
    // attribute was present.
    bool getString(StrBuffer& target, std::u16string_view name, std::u16string_view defaultValue = {},
                   Output output = Output::Replace) const;
    StrBuffer getString(std::u16string_view name, std::u16string_view defaultValue = {}) const;
    // Two hex digits per byte appended to out; false when absent.
    bool getBytes(std::u16string_view name, s::col::ArrayU08& out) const;

    Attributes& attributes() { return m_attributes; }
    const Attributes& attributes() const { return m_attributes; }

private:
    friend class Parser;
    void addFormatted(std::u16string_view name, std::u16string_view value);

    StrBuffer m_name;
    s::col::ArrayP m_children;
    Attributes m_attributes;
};

using NodeHandle = s::thread::Pooled<Node>;

}  // namespace s::xml
