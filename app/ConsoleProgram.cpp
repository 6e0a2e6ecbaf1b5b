#include "app/ConsoleProgram.h"

#include "base/TextFormat.h"
#include "base/XmlNode.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CustomGroups.h"
#include "catalogue/RuleGroups.h"
#include "engine/CheckedStates.h"
#include "engine/Runs.h"
#include "engine/TargetLocation.h"
#include "lang/Localizer.h"
#include "platform/Resources.h"
#include "settings/MappedData.h"

#include <cstdio>

namespace s::app {

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using s::str::strbuffer::StrBuffer;

constexpr char kUsage[] =
    "usage: purgoc list [--rules] | preview [--all] | clean [--boot] | check <group>[/<target>] on|off\n"
    "       options: --settings <file>  --lang <English name>  --json\n";

enum class Command { List, Preview, Clean, Check };

struct Options {
    Command command = Command::List;
    bool all = false;
    bool boot = false;
    bool json = false;
    bool rules = false;  // list: what the rule files held
    std::u16string settings;
    std::u16string language;
    std::u16string checkPath;
    bool checkOn = false;
};

std::string utf8(std::u16string_view text)
{
    return StrBuffer(text).toUtf8();
}

bool parse(const std::vector<std::u16string>& args, Options& options)
{
    std::vector<std::u16string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::u16string& a = args[i];
        if (a == u"--json") {
            options.json = true;
        } else if (a == u"--all") {
            options.all = true;
        } else if (a == u"--boot") {
            options.boot = true;
        } else if (a == u"--rules") {
            options.rules = true;
        } else if (a == u"--settings" || a == u"--lang") {
            if (i + 1 >= args.size())
                return false;
            (a == u"--settings" ? options.settings : options.language) = args[++i];
        } else if (a.starts_with(u"--")) {
            return false;
        } else {
            words.push_back(a);
        }
    }
    if (words.empty())
        return false;
    const std::u16string& command = words[0];
    if (options.rules && command != u"list")
        return false;
    if (command == u"list" && words.size() == 1 && !options.all && !options.boot) {
        options.command = Command::List;
    } else if (command == u"preview" && words.size() == 1 && !options.boot) {
        options.command = Command::Preview;
    } else if (command == u"clean" && words.size() == 1 && !options.all) {
        options.command = Command::Clean;
    } else if (command == u"check" && words.size() == 3 && (words[2] == u"on" || words[2] == u"off")) {
        options.command = Command::Check;
        options.checkPath = words[1];
        options.checkOn = words[2] == u"on";
    } else {
        return false;
    }
    return true;
}

// JSON text with the escapes JSON requires.
std::string quoted(std::u16string_view text)
{
    const std::string bytes = utf8(text);
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string sizeText(int64_t size)
{
    StrBuffer text;
    s::str::formatSize(size, text);
    return text.toUtf8();
}

std::string countText(int64_t count)
{
    StrBuffer text;
    s::str::formatCount(count, text);
    return text.toUtf8();
}

// `list --rules`: what the rule files beside the program held and what
// became of each entry.
void printRulesReport(const purgo::RulesReport& report, bool json, std::string& out)
{
    const auto notes = [&](const std::vector<purgo::RuleNote>& list, const char* entryName) {
        std::string text;
        for (std::size_t i = 0; i < list.size(); ++i)
            text += (i ? "," : "") + std::string("{\"") + entryName + "\":" + quoted(list[i].entry) +
                    ",\"reason\":" + quoted(list[i].text) + "}";
        return text;
    };
    if (json) {
        out += "{\"files\":[";
        for (std::size_t i = 0; i < report.files.size(); ++i)
            out += (i ? "," : "") + quoted(report.files[i]);
        out += "],\"unreadable\":[" + notes(report.unreadable, "file") +
               "],\"entries\":" + std::to_string(report.entries) + ",\"detected\":" + std::to_string(report.detected) +
               ",\"notDetected\":" + std::to_string(report.notDetected) +
               ",\"ignored\":" + std::to_string(report.ignored) + ",\"dropped\":[" + notes(report.dropped, "entry") +
               "],\"skippedKeys\":[" + notes(report.skippedKeys, "entry") +
               "],\"badLines\":" + std::to_string(report.badLines) +
               ",\"unknownKeys\":" + std::to_string(report.unknownKeys) + "}\n";
        return;
    }
    if (report.files.empty() && report.unreadable.empty())
        out += "No rule file: put winapp2.ini beside the program or in its savedata folder.\n";
    for (const std::u16string& file : report.files)
        out += "Read " + utf8(file) + "\n";
    for (const purgo::RuleNote& file : report.unreadable)
        out += "Not read " + utf8(file.entry) + ": " + utf8(file.text) + "\n";
    out += "Entries read: " + std::to_string(report.entries) + "\n";
    out += "Detected: " + std::to_string(report.detected) + "\n";
    out += "Not detected: " + std::to_string(report.notDetected) + "\n";
    out += "Ignored (SpecialDetect): " + std::to_string(report.ignored) + "\n";
    out += "Dropped: " + std::to_string(report.dropped.size()) + "\n";
    for (const purgo::RuleNote& drop : report.dropped)
        out += "  " + utf8(drop.entry) + ": " + utf8(drop.text) + "\n";
    if (!report.skippedKeys.empty()) {
        out += "Keys left out of detected entries: " + std::to_string(report.skippedKeys.size()) + "\n";
        for (const purgo::RuleNote& key : report.skippedKeys)
            out += "  " + utf8(key.entry) + ": " + utf8(key.text) + "\n";
    }
    if (report.badLines || report.unknownKeys)
        out += "Lines not understood: " + std::to_string(report.badLines) +
               ", unknown keys: " + std::to_string(report.unknownKeys) + "\n";
}

// The view of the runs: the console keeps what the window would show.
class ConsoleView : public purgo::IRunView {
public:
    void addRow(TimeRecord& group) override { rows.push_back(&group); }
    void collectFinished(const purgo::Totals& t) override { totals = t; }
    void cleanStarted(const StrBuffer&, const StrBuffer&, int) override {}
    void cleanProgress(int) override {}
    void showResult(const StrBuffer& text) override { message = text.toUtf8(); }
    void cleanFinished(const purgo::Totals& t) override { totals = t; }

    std::vector<TimeRecord*> rows;
    purgo::Totals totals;
    std::string message;
};

class Program {
public:
    Program(const Options& options, ConsoleOutput& output) : m_options(options), m_output(output) {}

    int run()
    {
        m_store = s::xml::openFileStore(m_options.settings.empty() ? s::xml::settingsFilePath().view()
                                                                   : std::u16string_view(m_options.settings));
        loadLanguage();
        ConsoleView view;
        purgo::RunController runs(view, m_localizer, *m_store, [this](std::vector<TimeRecord*>& list) {
            purgo::buildCatalogue(list, m_localizer, *m_store);
        });
        switch (m_options.command) {
        case Command::List:
            return list(runs);
        case Command::Preview:
            runs.collectInformation();
            printGroups(m_options.all ? runs.groups() : view.rows, true);
            printTotals(purgo::computeTotals(runs.groups()));
            return 0;
        case Command::Clean:
            return clean(runs, view);
        case Command::Check:
            return check(runs);
        }
        return 0;
    }

private:
    void loadLanguage()
    {
        const auto table = s::platform::findResource(u"IDR_XML", 130);
        auto root = s::thread::Pooled<s::xml::Node>::take();
        root->parseUtf8(std::string_view(reinterpret_cast<const char*>(table.data), table.size));
        m_localizer.load(*root);
        if (m_localizer.count() == 0)
            return;
        const StrBuffer stored = m_store->getString(u"Language", u"", m_localizer.current()->engName().view());
        m_localizer.select(m_options.language.empty() ? stored.view() : std::u16string_view(m_options.language));
    }

    // The tree without measuring: built, with the stored checks.
    void buildOnly(purgo::RunController& runs)
    {
        std::vector<TimeRecord*>& groups = runs.groups();
        purgo::buildCatalogue(groups, m_localizer, *m_store);
        for (TimeRecord* group : groups)
            purgo::loadChecks(*group, purgo::kItemsPrefix, *m_store);
    }

    int list(purgo::RunController& runs)
    {
        if (m_options.rules) {
            purgo::RulesReport report;
            std::vector<TimeRecord*> groups;
            purgo::appendRuleGroups(groups, report);
            for (TimeRecord* group : groups)
                group->release();
            printRulesReport(report, m_options.json, m_output.out);
            return 0;
        }
        buildOnly(runs);
        printGroups(runs.groups(), false);
        return 0;
    }

    int clean(purgo::RunController& runs, ConsoleView& view)
    {
        runs.collectInformation();
        runs.setStartupMode(m_options.boot);
        runs.cleanSelected();
        const purgo::CleanCounters& c = runs.counters();
        if (m_options.json) {
            m_output.out += "{\"deletedFound\":" + std::to_string(c.deletedFound) +
                            ",\"deletedSize\":" + std::to_string(c.deletedSize) +
                            ",\"pendingFound\":" + std::to_string(c.pendingFound) +
                            ",\"pendingSize\":" + std::to_string(c.pendingSize) +
                            ",\"message\":" + quoted(StrBuffer::fromUtf8(view.message).view()) + "}\n";
        } else if (!view.message.empty()) {
            std::string text = view.message;
            for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r'))
                text.erase(at, 1);
            m_output.out += text + "\n";
        }
        return 0;
    }

    int check(purgo::RunController& runs)
    {
        buildOnly(runs);
        const std::u16string& path = m_options.checkPath;
        const std::size_t slash = path.find(u'/');
        const std::u16string groupId = path.substr(0, slash);
        const std::u16string targetId = slash == std::u16string::npos ? std::u16string() : path.substr(slash + 1);
        for (TimeRecord* group : runs.groups()) {
            if (!group->id.equals(groupId))
                continue;
            if (targetId.empty()) {
                group->checked = m_options.checkOn;
            } else {
                bool found = false;
                for (std::size_t i = 0; i < group->childCount(); ++i) {
                    if (group->child(i)->id.equals(targetId)) {
                        group->child(i)->checked = m_options.checkOn;
                        found = true;
                    }
                }
                if (!found)
                    return usage("no target " + utf8(targetId) + " in group " + utf8(groupId));
            }
            purgo::saveChecks(*group, purgo::kItemsPrefix, *m_store);
            if (!m_store->save()) {
                m_output.err += "purgoc: the settings file could not be written\n";
                return 1;
            }
            return 0;
        }
        return usage("no group " + utf8(groupId));
    }

    int usage(const std::string& why)
    {
        m_output.err += "purgoc: " + why + "\n" + kUsage;
        return 2;
    }

    void printGroups(const std::vector<TimeRecord*>& groups, bool measured)
    {
        if (m_options.json) {
            m_output.out += "{\"groups\":[";
            for (std::size_t g = 0; g < groups.size(); ++g) {
                const TimeRecord& group = *groups[g];
                m_output.out += (g ? "," : "") + std::string("{\"id\":") + quoted(group.id) +
                                ",\"title\":" + quoted(group.title) + ",\"description\":" + quoted(group.description) +
                                ",\"custom\":" + (group.custom ? "true" : "false") +
                                ",\"checked\":" + (group.checked ? "true" : "false") +
                                ",\"found\":" + std::to_string(group.found) +
                                ",\"size\":" + std::to_string(group.size) + ",\"targets\":[";
                for (std::size_t i = 0; i < group.childCount(); ++i) {
                    TimeRecord& t = *group.child(i);
                    const char16_t* kind = purgo::targetKindName(t.kind);
                    m_output.out += (i ? "," : "") + std::string("{\"id\":") + quoted(t.id) +
                                    ",\"kind\":" + quoted(kind ? kind : u"") + ",\"target\":" + quoted(t.target) +
                                    ",\"title\":" + quoted(t.title) + ",\"description\":" + quoted(t.description) +
                                    ",\"checked\":" + (t.checked ? "true" : "false") +
                                    ",\"found\":" + std::to_string(t.found) + ",\"size\":" + std::to_string(t.size) +
                                    ",\"locationExists\":" + (purgo::locationExists(t) ? "true" : "false") + "}";
                }
                m_output.out += "]}";
            }
            m_output.out += "]";
            m_closeJson = true;
            if (!measured) {
                m_output.out += "}\n";
                m_closeJson = false;
            }
            return;
        }
        for (const TimeRecord* group : groups) {
            m_output.out += std::string(group->checked ? "[x] " : "[ ] ") + group->title.toUtf8();
            if (measured)
                m_output.out += "  " + countText(group->found) + " / " + sizeText(group->size);
            m_output.out += std::string("  <") + group->id.toUtf8() + (group->custom ? ", custom>" : ">") + "\n";
            for (std::size_t i = 0; i < group->childCount(); ++i) {
                const TimeRecord& t = *group->child(i);
                m_output.out += std::string("    ") + (t.checked ? "[x] " : "[ ] ");
                if (measured)
                    m_output.out += t.title.toUtf8() + "  " + countText(t.found) + " / " + sizeText(t.size) + "  " +
                                    t.description.toUtf8() + "\n";
                else
                    m_output.out += t.id.toUtf8() + "  " + t.target.toUtf8() + "\n";
            }
        }
    }

    void printTotals(const purgo::Totals& totals)
    {
        if (m_options.json) {
            m_output.out += std::string(m_closeJson ? "," : "{") +
                            "\"totals\":{\"allFound\":" + std::to_string(totals.allFound) +
                            ",\"allSize\":" + std::to_string(totals.allSize) +
                            ",\"selectedFound\":" + std::to_string(totals.selectedFound) +
                            ",\"selectedSize\":" + std::to_string(totals.selectedSize) + "}}\n";
            m_closeJson = false;
            return;
        }
        m_output.out += "All: " + countText(totals.allFound) + " items (" + sizeText(totals.allSize) + ")\n";
        m_output.out +=
            "Selected: " + countText(totals.selectedFound) + " items (" + sizeText(totals.selectedSize) + ")\n";
    }

    const Options& m_options;
    ConsoleOutput& m_output;
    s::xml::MappedDataHandle m_store;
    s::lang::Localizer m_localizer;
    bool m_closeJson = false;
};

}  // namespace

int runConsole(const std::vector<std::u16string>& args, ConsoleOutput& output)
{
    Options options;
    if (!parse(args, options)) {
        output.err += kUsage;
        return 2;
    }
    Program program(options, output);
    return program.run();
}

}  // namespace s::app
