#include "engine/Totals.h"

#include "base/TextFormat.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {
}  // namespace

Totals computeTotals(std::span<TimeRecord* const> groups)
{
    Totals totals;
    for (const TimeRecord* group : groups) {
        for (std::size_t i = 0; i < group->childCount(); ++i) {
            const TimeRecord* target = group->child(i);
            totals.allFound += target->found;
            totals.allSize += target->size;
            if (group->checked && target->checked) {
                totals.selectedFound += target->found;
                totals.selectedSize += target->size;
            }
        }
    }
    return totals;
}

s::str::strbuffer::StrBuffer cleanButtonCaption(const Totals& totals, s::lang::Localizer& localizer)
{
    s::str::strbuffer::StrBuffer caption(localizer.text(ids::kCleanNowText));
    s::str::strbuffer::StrBuffer number;
    caption.append(u"  (");
    s::str::formatSize(totals.selectedSize, number);
    caption.append(number.view());
    caption.append(u") (");
    s::str::formatCount(totals.selectedFound, number);
    caption.append(number.view());
    caption.append(u")");
    return caption;
}

StatusLabels statusLabels(const Totals& totals, s::lang::Localizer& localizer)
{
    StatusLabels labels;
    s::str::formatSize(totals.allSize, labels.size);
    labels.open = localizer.text(ids::kTotalsOpen);
    s::str::formatCount(totals.allFound, labels.count);
    labels.close = localizer.text(ids::kTotalsClose);
    return labels;
}

bool isRelated(const TimeRecord& group)
{
    return group.found > 0 || group.checked || group.custom;
}

}  // namespace s::file::gui::dialogs::purgo
