#include "engine/RunController.h"

#include "base/TextFormat.h"
#include "engine/CheckedStates.h"
#include "engine/GroupOverlap.h"
#include "engine/RunningPrograms.h"
#include "engine/Scan.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "settings/IMappedData.h"
#include "settings/MainWindowView.h"

#include <algorithm>

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {

void forgetMeasures(TimeRecord& node)
{
    node.found = 0;
    node.size = 0;
    for (std::size_t i = 0; i < node.childCount(); ++i)
        forgetMeasures(*node.child(i));
}

}  // namespace

RunController::RunController(IRunView& view, s::lang::Localizer& localizer, s::map::IMappedData& store,
                             TreeBuilder builder)
    : m_view(view), m_localizer(localizer), m_store(store), m_builder(std::move(builder))
{
}

RunController::~RunController()
{
    releaseGroups();
}

void RunController::releaseGroups()
{
    for (TimeRecord* group : m_groups)
        group->release();
    m_groups.clear();
}

void RunController::run()
{
    m_busy.store(true);
    if (m_mode == RunMode::Collect)
        collectInformation();
    else
        cleanSelected();
    m_cancel.store(false);
    m_busy.store(false);
}

void RunController::submit(s::thread::IThread& worker, RunMode mode)
{
    if (m_busy.load())
        return;
    m_mode = mode;
    m_cancel.store(false);
    // Busy from the moment the job is handed over, so that a second press
    // of the button cannot start another run before this one begins.
    m_busy.store(true);
    worker.runOnce(this);
}

void RunController::collectInformation()
{
    releaseGroups();
    if (!m_startupMode)
        m_view.collectStarted();
    if (m_builder)
        m_builder(m_groups);
    // Marked before the rows appear, so that a browser's rows say at once
    // that it must be closed first.
    markRunningGroups(m_groups);
    const bool onlyRelated =
        m_store.getBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kShowOnlyRelated, true);
    // Everything the measures share is read here, on this thread, before any
    // worker starts: the stored checks (the settings store is no concurrent
    // reader) and the caption texts (the localizer fills a language's texts
    // on first use). All checks are in place even when a cancel stops the
    // measures, so that the settings saved at close keep every group's.
    for (TimeRecord* group : m_groups)
        loadChecks(*group, kItemsPrefix, m_store);
    const CaptionTexts texts = captionTexts(m_localizer);

    const int count = static_cast<int>(m_groups.size());
    OverlapSteps steps;
    steps.starting = [&](int i) {
        m_view.groupStarting(RunMode::Collect, i, count, *m_groups[static_cast<std::size_t>(i)]);
    };
    steps.measure = [&](int i) {
        TimeRecord& group = *m_groups[static_cast<std::size_t>(i)];
        try {
            scanWith(group, &texts, Captions::With);
        } catch (...) {
            // A group whose measure broke off shows nothing found rather
            // than half a sum; the others are measured as usual.
            forgetMeasures(group);
        }
    };
    steps.publish = [&](int i) {
        TimeRecord& group = *m_groups[static_cast<std::size_t>(i)];
        if (!m_startupMode && (!onlyRelated || isRelated(group)))
            m_view.addRow(group);
    };
    const int workers = m_collectWorkers > 0 ? m_collectWorkers : overlapWorkers();
    // A cancelled collect (the window closing) ends without the ready state:
    // the rows it had not shown are never shown.
    if (!measureInOrder(count, workers, m_cancel, steps) || m_startupMode)
        return;
    m_view.collectFinished(computeTotals(m_groups));
}

void RunController::cleanSelected()
{
    const int groupCount = static_cast<int>(m_groups.size());
    if (!m_startupMode)
        m_view.cleanStarted(m_localizer.text(ids::kCleaningText), m_localizer.text(ids::kCancelCaption), groupCount);
    m_counters = {};
    m_skipped.clear();
    m_message.clear();
    // Asked again now: the user may have closed the browser since the list
    // was filled, or started it.
    markRunningGroups(m_groups);

    CleanContext context;
    context.cancel = &m_cancel;
    context.mode = m_startupMode ? CleanMode::Startup : CleanMode::Interactive;
    for (int i = 0; i < groupCount && !m_cancel.load(); ++i) {
        TimeRecord& group = *m_groups[static_cast<std::size_t>(i)];
        // A running browser rewrites what is deleted under it, or loses its
        // profile's consistency: its groups wait for the next clean.
        if (group.checked && group.guardRunning)
            m_skipped.push_back(&group);
        else if (group.checked) {
            m_view.groupStarting(RunMode::Clean, i, groupCount, group);
            const int64_t oldFound = group.found;
            const int64_t oldSize = group.size;
            clean(group, context);
            m_counters.deletedFound += std::max<int64_t>(0, oldFound - group.found);
            m_counters.deletedSize += std::max<int64_t>(0, oldSize - group.size);
        }
        if (!m_startupMode)
            m_view.cleanProgress(i);
    }
    m_counters.pendingFound = context.pendingFound;
    m_counters.pendingSize = context.pendingSize;
    if (m_startupMode)
        return;

    m_view.cleanProgress(groupCount);
    const bool deleted = m_counters.deletedFound > 0 && m_counters.deletedSize > 0;
    const bool pending = m_counters.pendingFound > 0 && m_counters.pendingSize > 0;
    if (deleted || pending || !m_skipped.empty()) {
        m_message = composeMessage(m_counters, m_localizer);
        if (!m_skipped.empty()) {
            m_message.append(u"\r\n");
            m_message.append(skippedLine(m_skipped, m_localizer).view());
        }
        m_view.showResult(m_message);
    }
    m_view.cleanFinished(computeTotals(m_groups));
}

s::str::strbuffer::StrBuffer RunController::composeMessage(const CleanCounters& counters, s::lang::Localizer& localizer)
{
    s::str::strbuffer::StrBuffer message;
    s::str::strbuffer::StrBuffer number;
    const auto line = [&](int64_t found, int64_t size, int32_t textId) {
        s::str::formatCount(found, number);
        message.append(number.view());
        message.append(u" (");
        s::str::formatSize(size, number);
        message.append(number.view());
        message.append(u") ");
        message.append(localizer.text(textId).view());
    };
    line(counters.deletedFound, counters.deletedSize, ids::kDeletedLine);
    message.append(u"\r\n");
    line(counters.pendingFound, counters.pendingSize, ids::kPendingLine);
    return message;
}

}  // namespace s::file::gui::dialogs::purgo
