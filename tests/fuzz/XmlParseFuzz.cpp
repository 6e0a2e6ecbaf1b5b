// Fuzzes the XML parser with any bytes, as UTF-8 (the settings file, the
// language table, the skins) and as raw UTF-16 units. Besides the sanitizers'
// checks it asserts that the written form of a parsed tree is a fixed point:
// parsing what was written and writing it again gives the same text, and that
// parse consumes the whole written text, and that the reader calls what the
// writer wrote well-formed.
#include "base/XmlNode.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

using s::str::StrBuffer;
using s::xml::Node;

// Reads every value the way the settings store and the language table do.
void readEverything(const Node& node, StrBuffer& scratch)
{
    const s::xml::Attributes& attributes = node.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        const std::u16string_view name = attributes.name(i);
        node.getString(scratch, name);
        (void)node.getS64(name, 0);
        (void)node.getU32(name, 0);
        (void)node.getBool(name, false);
        (void)node.getDouble(name, 0);
        s::col::ArrayU08 bytes;
        node.getBytes(name, bytes);
    }
    for (int i = 0; i < node.childCount(); ++i) {
        (void)node.childNamed(node.child(i).name());
        readEverything(node.child(i), scratch);
    }
}

void checkFixedPoint(const Node& root)
{
    const StrBuffer once = root.toString();
    Node again;
    s::xml::ParseReport report;
    if (again.parse(once, 0, &report) != once.length())
        std::abort();  // the written text must be one complete element
    if (!report.wellFormed)
        std::abort();  // and the reader must not call it damaged
    const StrBuffer twice = again.toString();
    if (!once.equals(twice.view()))
        std::abort();
    // And through UTF-8, as the file is written and read.
    Node fromFile;
    fromFile.parseUtf8(root.toUtf8(), &report);
    if (!fromFile.toString().equals(once.view()) || !report.wellFormed)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StrBuffer scratch;

    Node root;
    s::xml::ParseReport report;
    root.parseUtf8(std::string_view(reinterpret_cast<const char*>(data), size), &report);
    if (report.wellFormed != (report.line == 0) || report.line < 0)
        std::abort();
    readEverything(root, scratch);
    checkFixedPoint(root);

    // The same bytes as UTF-16 units: lone surrogates, NULs, every unit.
    StrBuffer units;
    units.ensureCapacity(static_cast<int>(size / 2));
    for (size_t i = 0; i + 1 < size; i += 2)
        units.append(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    Node wide;
    const int end = wide.parse(units.view(), size > 0 ? data[0] % 8 : 0, size % 2 ? &report : nullptr);
    if (end < 0 || end > units.length())
        std::abort();
    readEverything(wide, scratch);
    checkFixedPoint(wide);
    return 0;
}
