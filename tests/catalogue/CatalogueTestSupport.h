// Helpers of the catalogue tests: languages and a built tree that gives
// itself back.
#pragma once

#include "catalogue/Catalogue.h"
#include "lang/Localizer.h"
#include "tests/support/Utf8.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue_test {

using s::file::gui::dialogs::purgo::Text;
using s::file::gui::dialogs::purgo::TimeRecord;

using testing_platform::utf8;
// The language table writes the space before a class suffix as a no-break
// space; the listing uses a plain one.
std::string plainSpaces(const Text& text);

// A language table from its XML, and the program's own (owned by the caller).
s::lang::Localizer* loadTable(std::string_view xml);
s::lang::Localizer* loadProgramTable();
// The program's own table, English selected.
s::lang::Localizer& englishLocalizer();
// A one-language table with a few class texts but none of the title
// suffixes: 990002001 "Wipe ", 990002002 " history", 990401002 " (browsing)".
s::lang::Localizer& smallLocalizer();

// The built-in groups, given back to their pool when the tree goes.
struct BuiltTree {
    explicit BuiltTree(s::lang::Localizer& localizer);
    ~BuiltTree();
    BuiltTree(const BuiltTree&) = delete;
    BuiltTree& operator=(const BuiltTree&) = delete;

    const TimeRecord* group(std::u16string_view id) const;

    std::vector<TimeRecord*> groups;
};

}  // namespace catalogue_test
