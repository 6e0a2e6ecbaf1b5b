#include "app/start/CommandLine.h"
#include "base/StrBuffer.h"

namespace s::process::commandline::win {

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Where the arguments begin: after the program name and the blanks after it.
std::size_t afterProgramName(std::u16string_view text)
{
    std::size_t at = 0;
    if (!text.empty() && text[0] == u'"') {
        const std::size_t close = text.find(u'"', 1);
        at = close == std::u16string_view::npos ? text.size() : close + 1;
    }
    while (at < text.size() && !isBlank(text[at]))
        ++at;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

}  // namespace

std::vector<std::u16string> splitArguments(std::u16string_view text)
{
    std::vector<std::u16string> out;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && isBlank(text[at]))
            ++at;
        if (at >= text.size())
            break;
        std::u16string argument;
        bool quoted = false;
        while (at < text.size() && (quoted || !isBlank(text[at]))) {
            if (text[at] == u'\\') {
                std::size_t slashes = 0;
                while (at < text.size() && text[at] == u'\\') {
                    ++slashes;
                    ++at;
                }
                if (at < text.size() && text[at] == u'"') {
                    argument.append(slashes / 2, u'\\');
                    if (slashes % 2 == 1) {
                        argument += u'"';
                        ++at;
                    }
                } else {
                    argument.append(slashes, u'\\');
                }
                continue;
            }
            if (text[at] == u'"') {
                if (quoted && at + 1 < text.size() && text[at + 1] == u'"') {
                    argument += u'"';
                    at += 2;
                    continue;
                }
                quoted = !quoted;
                ++at;
                continue;
            }
            argument += text[at++];
        }
        out.push_back(std::move(argument));
    }
    return out;
}

CommandLine CommandLine::fromProcessText(std::u16string_view text)
{
    return fromArguments(text.substr(afterProgramName(text)));
}

CommandLine CommandLine::fromArguments(std::u16string_view text)
{
    CommandLine line;
    for (std::u16string& argument : splitArguments(text))
        line.add(std::move(argument));
    return line;
}

void CommandLine::add(std::u16string argument)
{
    if (!argument.empty() && argument[0] == u'/')
        argument[0] = u'-';
    m_arguments.push_back(std::move(argument));
}

bool CommandLine::hasSwitch(std::u16string_view name) const
{
    for (const std::u16string& argument : m_arguments) {
        if (s::str::strbuffer::StrBuffer::compareFolded(argument, name) == 0)
            return true;
    }
    return false;
}

}  // namespace s::process::commandline::win
