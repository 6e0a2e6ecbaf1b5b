#include "platform/RegEditKeys.h"

namespace s::platform {

namespace {

char16_t upper(char16_t unit)
{
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

RegEditStep key(RegEditStep::Kind kind, RegEditKey which)
{
    RegEditStep step;
    step.kind = kind;
    step.key = which;
    return step;
}

RegEditStep character(RegEditStep::Kind kind, char16_t unit)
{
    RegEditStep step;
    step.kind = kind;
    step.unit = upper(unit);
    return step;
}

RegEditStep wait(std::uint32_t milliseconds)
{
    RegEditStep step;
    step.kind = RegEditStep::Kind::Wait;
    step.milliseconds = milliseconds;
    return step;
}

}  // namespace

std::vector<RegEditStep> registryEditorSteps(std::u16string_view keyPath, SelectValue select,
                                             std::u16string_view valueName, bool colourDisplay)
{
    using Kind = RegEditStep::Kind;
    std::vector<RegEditStep> steps;
    for (int k = 0; k < kRegEditCollapsePresses; ++k)
        steps.push_back(key(Kind::TreeKey, RegEditKey::Left));
    if (colourDisplay)
        steps.push_back(wait(kRegEditOpenWaitMs));
    steps.push_back(key(Kind::TreeKey, RegEditKey::Right));
    for (char16_t unit : keyPath) {
        if (unit == u'\\') {
            steps.push_back(key(Kind::TreeKey, RegEditKey::Right));
            if (colourDisplay)
                steps.push_back(wait(kRegEditOpenWaitMs));
        } else {
            steps.push_back(character(Kind::TreeChar, unit));
        }
    }
    if (select == SelectValue::Yes) {
        steps.push_back(RegEditStep{Kind::FocusValueList});
        steps.push_back(wait(kRegEditValueListWaitMs));
        steps.push_back(key(Kind::ListKey, RegEditKey::Home));
        for (char16_t unit : valueName)
            steps.push_back(character(Kind::ListChar, unit));
    }
    return steps;
}

}  // namespace s::platform
