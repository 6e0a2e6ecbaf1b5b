#include "engine/RunningPrograms.h"

#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/Processes.h"

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {

// "Close *AppName* to clean it" and "Not cleaned while running:".

constexpr std::u16string_view kAppNameField = u"*AppName*";

}  // namespace

int markRunningGroups(std::span<TimeRecord* const> groups)
{
    bool anyGuard = false;
    for (const TimeRecord* group : groups)
        anyGuard = anyGuard || !group->guardProcess.isEmpty();
    // Most runs of a tree without browsers need no snapshot at all.
    std::vector<std::u16string> running;
    if (anyGuard)
        running = s::platform::processes().sessionProgramNames();
    int marked = 0;
    for (TimeRecord* group : groups) {
        group->guardRunning = false;
        if (group->guardProcess.isEmpty())
            continue;
        for (const std::u16string& name : running) {
            if (group->guardProcess.equalsIgnoreCase(name)) {
                group->guardRunning = true;
                ++marked;
                break;
            }
        }
    }
    return marked;
}

Text runningNote(const TimeRecord& group, s::lang::Localizer& localizer)
{
    Text note = localizer.text(ids::kRunningNoteText);
    note.replaceAll(kAppNameField, group.guardName.view());
    return note;
}

Text skippedLine(std::span<const TimeRecord* const> groups, s::lang::Localizer& localizer)
{
    Text line;
    std::vector<std::u16string_view> named;
    for (const TimeRecord* group : groups) {
        const std::u16string_view name = group->guardName.view();
        bool seen = false;
        for (std::u16string_view earlier : named)
            seen = seen || earlier == name;
        if (seen)
            continue;
        named.push_back(name);
        line += named.size() == 1 ? localizer.text(ids::kSkippedLineText).view() : std::u16string_view(u",");
        line += u' ';
        line += name;
    }
    return line;
}

}  // namespace s::file::gui::dialogs::purgo
