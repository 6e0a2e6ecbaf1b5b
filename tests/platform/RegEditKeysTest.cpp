// The keystroke plan that walks the registry editor to a key.
#include "platform/RegEditKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::platform {
namespace {

using Kind = RegEditStep::Kind;

// Writes a plan as text: "<30" for thirty Lefts, ">" Right, "^" Home, "|" the
// value list focused, "~750" a wait, characters as themselves, "T:" and "L:"
// before the characters typed into the tree and the list.
std::string describe(const std::vector<RegEditStep>& steps)
{
    std::string out;
    int lefts = 0;
    Kind last = Kind::Wait;
    for (const RegEditStep& step : steps) {
        if (step.kind == Kind::TreeKey && step.key == RegEditKey::Left) {
            ++lefts;
            continue;
        }
        if (lefts) {
            out += "<" + std::to_string(lefts);
            lefts = 0;
        }
        switch (step.kind) {
        case Kind::TreeKey:
        case Kind::ListKey:
            out += step.key == RegEditKey::Right ? ">" : "^";
            break;
        case Kind::TreeChar:
        case Kind::ListChar:
            if (last != step.kind)
                out += step.kind == Kind::TreeChar ? "T:" : "L:";
            out += static_cast<char>(step.unit);
            break;
        case Kind::FocusValueList:
            out += "|";
            break;
        case Kind::Wait:
            out += "~" + std::to_string(step.milliseconds);
            break;
        }
        last = step.kind;
    }
    return out;
}

TEST(RegEditKeys, PlanCollapsesOpensAndTypesInUpperCase)
{
    struct Row {
        const char* what;
        std::u16string keyPath;
        SelectValue select;
        std::u16string valueName;
        bool colour;
        std::string plan;
    };
    const Row rows[] = {
        {"colour display", u"HKEY_CURRENT_USER\\Software\\x-Y", SelectValue::No, u"", true,
         "<30~750>T:HKEY_CURRENT_USER>~750T:SOFTWARE>~750T:X-Y"},
        {"palette display", u"HKEY_CURRENT_USER\\Software", SelectValue::No, u"", false,
         "<30>T:HKEY_CURRENT_USER>T:SOFTWARE"},
        {"value selected", u"HKEY_USERS\\a", SelectValue::Yes, u"MruList", false,
         "<30>T:HKEY_USERS>T:A|~1000^L:MRULIST"},
        {"default value selected", u"HKEY_USERS\\a", SelectValue::Yes, u"", true,
         "<30~750>T:HKEY_USERS>~750T:A|~1000^"},
        {"name ignored without selection", u"HKEY_USERS", SelectValue::No, u"ignored", false, "<30>T:HKEY_USERS"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(describe(registryEditorSteps(row.keyPath, row.select, row.valueName, row.colour)), row.plan);
    }
}

TEST(RegEditKeys, OnlyLatinLettersAreUpperCased)
{
    const auto steps = registryEditorSteps(u"\u00e9z", SelectValue::No, u"", false);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[steps.size() - 2].unit, u'\u00e9');
    EXPECT_EQ(steps.back().unit, u'Z');
}

}  // namespace
}  // namespace s::platform
