// purgoc's text output: UTF-8 of the system's texts, sizes and counts as
// the window writes them, the clean's message for a console, and the report
// of `list --rules`.
#pragma once

#include "base/StrBuffer.h"
#include "catalogue/RuleGroups.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::app::console {

std::string utf8(std::u16string_view text);
std::string sizeText(int64_t size);
std::string countText(int64_t count);
// The message box's text for a console: lines end with "\n" alone.
std::string consoleLines(const s::str::strbuffer::StrBuffer& message);
// `list --rules`: what the rule files beside the program held and what
// became of each entry, as text or as one JSON object.
std::string rulesReportText(const s::file::gui::dialogs::purgo::RulesReport& report, bool json);

}  // namespace s::app::console
