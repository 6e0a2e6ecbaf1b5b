// purgoc: the cleaner's work from a command line, for people who script
// their machines.
//
//   purgoc list                    the tree as built, with the stored checks
//   purgoc list --rules            what the rule files (winapp2.ini) held
//   purgoc preview [--all]         the collect run: groups, targets, totals
//   purgoc clean [--boot]          collect, then clean the checked selection
//   purgoc check <group>[/<target>] on|off
//   options: --settings <file>  --lang <English name>  --json
//
// Exit status: 0 done, 2 usage error (usage text on stderr), 1 the settings
// file could not be written.
#pragma once

#include <string>
#include <vector>

namespace s::app {

struct ConsoleOutput {
    std::string out;  // UTF-8
    std::string err;
};

int runConsole(const std::vector<std::u16string>& args, ConsoleOutput& output);

}  // namespace s::app
