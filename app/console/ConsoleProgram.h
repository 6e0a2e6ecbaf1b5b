// purgoc: the cleaner's work from a command line, for people who script
// their machines.
//
//   purgoc list                       the tree as built, with the stored checks
//   purgoc list --rules               what the rule files (winapp2.ini) held
//   purgoc preview [--all]            the collect run: groups, targets, totals
//   purgoc preview --files [<group>[/<target>]]
//                                     the items a clean would delete
//   purgoc clean [--boot]             collect, then clean the checked selection
//   purgoc check <group>[/<target>] on|off
//   purgoc keep list | add <path-or-key> [--pattern P] | remove <entry>
//                                     the user's keep list
//   purgoc help | --help | -h         the usage, on standard output
//   purgoc --version                  "Oxle Purgo 1.25"
//   options: --settings <file>  --lang <English name>  --json  --force-defaults
//
// A damaged settings file (not well-formed) stops preview, clean and check
// with kExitError unless --force-defaults is given; list shows what could be
// read of it and says so on standard error.
//
// Results go to standard output as they become known, errors and progress
// to standard error; docs/CONSOLE.md describes the texts, the JSON shapes and the
// exit status (kExit*).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace s::app {

inline constexpr int kExitDone = 0;
inline constexpr int kExitError = 1;  // settings file missing, unreadable or damaged, unknown name, save failed
inline constexpr int kExitUsage = 2;
inline constexpr int kExitPending = 3;  // a clean left items: for the next boot, or a running program's groups

// Where the program writes. Each write goes out at once (nothing is kept
// until exit), so that progress and results show while a run lasts.
class ConsoleStreams {
public:
    virtual ~ConsoleStreams() = default;
    virtual void writeOut(std::string_view utf8) = 0;
    virtual void writeErr(std::string_view utf8) = 0;
    // True when standard error is a console window: progress then rewrites
    // one line; redirected, it is written as plain lines.
    virtual bool errIsConsole() const = 0;
};

// What a run wrote, kept in memory.
class CapturedOutput final : public ConsoleStreams {
public:
    void writeOut(std::string_view utf8) override { out += utf8; }
    void writeErr(std::string_view utf8) override { err += utf8; }
    bool errIsConsole() const override { return console; }

    std::string out;
    std::string err;
    bool console = false;
};

// Runs one command line (the arguments after the program's name) and returns
// the exit status.
int runConsole(const std::vector<std::u16string>& args, ConsoleStreams& streams);

}  // namespace s::app
