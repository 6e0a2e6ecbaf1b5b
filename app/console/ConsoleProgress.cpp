#include "app/console/ConsoleProgress.h"

#include "app/console/ConsoleText.h"

namespace s::app::console {

using s::str::strbuffer::StrBuffer;

void Progress::show(std::u16string text)
{
    if (!m_streams.errIsConsole()) {
        m_streams.writeErr(utf8(text) + "\n");
        return;
    }
    // A console line is 80 columns; the 80th would wrap it.
    if (text.size() > kWidth) {
        std::size_t cut = kWidth;
        if (text[cut - 1] >= 0xD800 && text[cut - 1] < 0xDC00)
            --cut;
        text.resize(cut);
    }
    const std::size_t length = text.size();
    if (length < m_shown)
        text.append(m_shown - length, u' ');
    m_shown = length;
    m_streams.writeErr("\r" + utf8(text));
}

void Progress::finish()
{
    if (m_shown == 0)
        return;
    m_streams.writeErr("\r" + std::string(m_shown, ' ') + "\r");
    m_shown = 0;
}

void ConsoleView::groupStarting(purgo::RunMode mode, int index, int count, const TimeRecord& group)
{
    std::u16string line = mode == purgo::RunMode::Collect ? u"measuring " : u"cleaning ";
    line += StrBuffer::fromUtf8(std::to_string(index + 1) + "/" + std::to_string(count) + ": ").view();
    line += group.title.view();
    m_progress.show(line);
    if (mode == purgo::RunMode::Clean) {
        // The clean run cleans the checked targets of a checked group.
        ++groupsCleaned;
        for (std::size_t i = 0; i < group.childCount(); ++i)
            targetsCleaned += group.child(i)->checked ? 1 : 0;
    }
}

}  // namespace s::app::console
