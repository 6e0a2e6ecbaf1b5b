// What purgoc shows while a run lasts: progress on standard error, and the
// runs' view that reports each group's turn.
#pragma once

#include "app/console/ConsoleProgram.h"
#include "engine/RunController.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace s::app::console {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using s::str::strbuffer::StrBuffer;

// Progress on standard error: one line rewritten in place on a console,
// plain lines when redirected (a log keeps every step).
class Progress {
public:
    explicit Progress(ConsoleStreams& streams) : m_streams(streams) {}

    void show(std::u16string text);

    // Clears the console line, so that what follows starts on a clean one.
    void finish();

private:
    static constexpr std::size_t kWidth = 79;
    ConsoleStreams& m_streams;
    std::size_t m_shown = 0;
};

// The view of the runs: progress as each group's turn comes, and what the
// window would show.
class ConsoleView : public purgo::IRunView {
public:
    explicit ConsoleView(Progress& progress) : m_progress(progress) {}

    void groupStarting(purgo::RunMode mode, int index, int count, const TimeRecord& group) override;
    void addRow(TimeRecord& group) override { rows.push_back(&group); }
    void collectFinished(const purgo::Totals&) override {}
    void cleanStarted(const StrBuffer&, const StrBuffer&, int) override {}
    void cleanProgress(int) override {}
    void showResult(const StrBuffer&) override {}
    void cleanFinished(const purgo::Totals&) override {}

    std::vector<TimeRecord*> rows;
    int64_t groupsCleaned = 0;
    int64_t targetsCleaned = 0;

private:
    Progress& m_progress;
};

}  // namespace s::app::console
