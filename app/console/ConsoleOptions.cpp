#include "app/console/ConsoleOptions.h"

#include "app/console/ConsoleText.h"

namespace s::app::console {

const char kUsage[] = "usage: purgoc list [--rules]\n"
                      "       purgoc preview [--all]\n"
                      "       purgoc preview --files [<group>[/<target>]]\n"
                      "       purgoc clean [--boot]\n"
                      "       purgoc check <group>[/<target>] on|off\n"
                      "       purgoc rules update\n"
                      "       purgoc keep list | add <path-or-key> [--pattern <wildcard>] | remove <entry>\n"
                      "       purgoc help | --help | -h\n"
                      "       purgoc --version\n"
                      "options: --settings <file>      the settings file (savedata\\SaveData.xml beside the "
                      "program when not given)\n"
                      "         --lang <English name>  the language of titles and messages\n"
                      "         --json                 one JSON object on standard output\n"
                      "         --force-defaults       go on with a damaged settings file: what could be read "
                      "of it and\n"
                      "                                the defaults for the rest (without it preview, clean and "
                      "check stop\n"
                      "                                with status 1; list says so and goes on)\n"
                      "exit status: 0 done, 1 error, 2 usage error, 3 the clean left items (most of them go at "
                      "the next boot, or a running browser kept its groups)\n";

namespace {

struct CommandRow {
    const char16_t* name;
    Command command;
};

constexpr CommandRow kCommands[] = {
    {u"list", Command::List}, {u"preview", Command::Preview}, {u"clean", Command::Clean}, {u"check", Command::Check},
    {u"help", Command::Help}, {u"rules", Command::Rules},     {u"keep", Command::Keep},
};

constexpr unsigned bit(Command command)
{
    return 1u << static_cast<unsigned>(command);
}
constexpr unsigned kAnyCommand = ~0u;

// An option is a switch (flag) or takes the next word (value), and goes with
// the commands in `commands`.
struct OptionRow {
    const char16_t* name;
    bool Options::*flag;
    std::u16string Options::*value;
    unsigned commands;
};

const OptionRow kOptions[] = {
    {u"--json", &Options::json, nullptr, kAnyCommand},
    {u"--settings", nullptr, &Options::settings, kAnyCommand},
    {u"--lang", nullptr, &Options::language, kAnyCommand},
    {u"--all", &Options::all, nullptr, bit(Command::Preview)},
    {u"--files", &Options::files, nullptr, bit(Command::Preview)},
    {u"--boot", &Options::boot, nullptr, bit(Command::Clean)},
    {u"--rules", &Options::rules, nullptr, bit(Command::List)},
    {u"--pattern", nullptr, &Options::pattern, bit(Command::Keep)},
    {u"--force-defaults", &Options::forceDefaults, nullptr,
     bit(Command::List) | bit(Command::Preview) | bit(Command::Clean) | bit(Command::Check) | bit(Command::Keep)},
    {u"--help", &Options::help, nullptr, kAnyCommand},
    {u"-h", &Options::help, nullptr, kAnyCommand},
    {u"--version", &Options::version, nullptr, kAnyCommand},
};

}  // namespace

// The reason, empty when the words make a command.
std::string parse(const std::vector<std::u16string>& args, Options& options)
{
    std::vector<std::u16string> words;
    std::vector<const OptionRow*> given;
    std::string error;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        if (arg.size() < 2 || arg[0] != u'-') {
            words.push_back(arg);
            continue;
        }
        const OptionRow* row = nullptr;
        for (const OptionRow& option : kOptions)
            if (arg == option.name)
                row = &option;
        if (!row) {
            if (error.empty())
                error = "unknown option " + utf8(arg);
            continue;
        }
        given.push_back(row);
        if (row->flag) {
            options.*(row->flag) = true;
        } else if (i + 1 < args.size()) {
            options.*(row->value) = args[++i];
        } else if (error.empty()) {
            error = utf8(arg) + " needs a value";
        }
    }
    // Help wins over every mistake: it is what someone who made one asks for.
    if (options.help || (!words.empty() && words[0] == u"help")) {
        options.command = Command::Help;
        return {};
    }
    if (!error.empty())
        return error;
    if (options.version && words.empty()) {
        options.command = Command::Version;
        return {};
    }
    if (words.empty())
        return "no command given";
    const CommandRow* command = nullptr;
    for (const CommandRow& row : kCommands)
        if (words[0] == row.name)
            command = &row;
    if (!command)
        return "unknown command " + utf8(words[0]);
    options.command = command->command;
    for (const OptionRow* row : given)
        if (!(row->commands & bit(options.command)))
            return utf8(row->name) + " does not go with " + utf8(command->name);
    if (options.version)
        return "--version does not go with " + utf8(command->name);
    if (options.all && options.files)
        return "--all does not go with --files";

    std::size_t wanted = 1;
    if (options.command == Command::Check) {
        if (words.size() < 3)
            return "check needs <group>[/<target>] and on or off";
        options.path = words[1];
        if (words[2] != u"on" && words[2] != u"off")
            return "check takes on or off, not " + utf8(words[2]);
        options.checkOn = words[2] == u"on";
        wanted = 3;
    } else if (options.command == Command::Rules) {
        if (words.size() < 2 || words[1] != u"update")
            return "rules takes update";
        wanted = 2;
    } else if (options.command == Command::Keep) {
        const std::u16string action = words.size() > 1 ? words[1] : u"";
        if (action == u"list") {
            options.keepAction = KeepAction::List;
            wanted = 2;
        } else if (action == u"add" || action == u"remove") {
            options.keepAction = action == u"add" ? KeepAction::Add : KeepAction::Remove;
            if (words.size() < 3)
                return "keep " + utf8(action) + " needs " +
                       (action == u"add" ? "a path or a registry key" : "an entry (its number or its text)");
            options.keepWhat = words[2];
            wanted = 3;
        } else {
            return "keep takes list, add or remove";
        }
        bool patternGiven = false;
        for (const OptionRow* row : given)
            patternGiven = patternGiven || row->value == &Options::pattern;
        if (patternGiven && options.keepAction != KeepAction::Add)
            return "--pattern goes only with keep add";
        if (patternGiven && options.pattern.empty())
            return "--pattern needs a wildcard";
    } else if (options.command == Command::Preview && options.files && words.size() > 1) {
        options.path = words[1];
        wanted = 2;
    }
    if (words.size() > wanted)
        return "unexpected word " + utf8(words[wanted]);
    return {};
}

}  // namespace s::app::console
