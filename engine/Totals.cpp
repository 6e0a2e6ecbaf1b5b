#include "engine/Totals.h"

#include "base/TextFormat.h"
#include "lang/Localizer.h"

namespace s::file::gui::dialogs::purgo {

namespace {
constexpr int32_t kCleanNow = 900000;
constexpr int32_t kTotalsOpen = 801000;
constexpr int32_t kTotalsClose = 801100;
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
    s::str::strbuffer::StrBuffer caption(localizer.text(kCleanNow));
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
    labels.open = localizer.text(kTotalsOpen);
    s::str::formatCount(totals.allFound, labels.count);
    labels.close = localizer.text(kTotalsClose);
    return labels;
}

bool isRelated(const TimeRecord& group)
{
    return group.found > 0 || group.checked || group.custom;
}

}  // namespace s::file::gui::dialogs::purgo
