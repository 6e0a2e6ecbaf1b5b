// The program's command line: the arguments after the program path, split as
// Windows programs split them, with a leading "/" of an argument stored as
// "-" so that "/startup" and "-startup" read alike.
//
// Splitting (the C runtime's rules, which CommandLineToArgvW shares for
// everything after the program name):
// - arguments are separated by spaces and tabs outside double quotes;
// - a double quote starts or ends a quoted run; inside one, "" is a literal
//   quote;
// - 2n backslashes before a quote are n backslashes and the quote counts;
//   2n+1 backslashes before a quote are n backslashes and a literal quote;
//   backslashes anywhere else are literal.
// The program name itself ends at the first space or tab, or, when it starts
// with a quote, at the next quote; backslashes in it are literal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace s::process::commandline::win {

class CommandLine {
public:
    CommandLine() = default;

    // The whole command line as the process got it (GetCommandLineW): the
    // program name is skipped.
    static CommandLine fromProcessText(std::u16string_view text);
    // Arguments only (no program name).
    static CommandLine fromArguments(std::u16string_view text);

    const std::vector<std::u16string>& arguments() const { return m_arguments; }
    bool isEmpty() const { return m_arguments.empty(); }
    std::size_t count() const { return m_arguments.size(); }
    const std::u16string& argument(std::size_t index) const { return m_arguments[index]; }

    // Whether one argument, as a whole and ignoring case (A-Z), is `name`
    // ("-startup": "/STARTUP" is, "-startupx" is not).
    bool hasSwitch(std::u16string_view name) const;

private:
    void add(std::u16string argument);

    std::vector<std::u16string> m_arguments;
};

// Splits the arguments part of a command line by the rules above.
std::vector<std::u16string> splitArguments(std::u16string_view text);

}  // namespace s::process::commandline::win
