// purgoc's command line: the commands, the options, and the parser that
// checks which option goes with which command. The usage text is what
// "purgoc help" prints.
#pragma once

#include <string>
#include <vector>

namespace s::app::console {

enum class Command { List, Preview, Clean, Check, Help, Version, Rules, Keep };

enum class KeepAction { List, Add, Remove };

struct Options {
    Command command = Command::List;
    bool json = false;
    bool all = false;
    bool files = false;
    bool boot = false;
    bool help = false;
    bool version = false;
    bool rules = false;          // list: what the rule files (winapp2.ini) held
    bool forceDefaults = false;  // go on with a damaged settings file
    std::u16string settings;
    std::u16string language;
    std::u16string path;  // check's and preview --files' <group>[/<target>]
    bool checkOn = false;
    KeepAction keepAction = KeepAction::List;
    std::u16string keepWhat;  // keep add's path or key, keep remove's entry
    std::u16string pattern;   // keep add --pattern
};

extern const char kUsage[];

// Fills options from the arguments after the program's name; the reason,
// empty when the words make a command.
std::string parse(const std::vector<std::u16string>& args, Options& options);

}  // namespace s::app::console
