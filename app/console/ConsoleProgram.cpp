#include "app/console/ConsoleProgram.h"

#include "app/console/ConsoleJson.h"
#include "app/console/ConsoleOptions.h"
#include "app/console/ConsoleProgress.h"
#include "app/console/ConsoleText.h"
#include "app/rules/RulesUpdate.h"
#include "app/start/StartupRules.h"
#include "base/IFileIo.h"
#include "base/TextFormat.h"
#include "base/XmlNode.h"
#include "catalogue/Catalogue.h"
#include "catalogue/KeepListStore.h"
#include "catalogue/RuleGroups.h"
#include "engine/CheckedStates.h"
#include "engine/CleanItems.h"
#include "engine/KeptWalk.h"
#include "engine/RunController.h"
#include "engine/RunningPrograms.h"
#include "engine/TargetLocation.h"
#include "engine/UserKeepList.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/FileIo.h"
#include "platform/LocalClock.h"
#include "platform/Network.h"
#include "platform/PathWin.h"
#include "platform/RegDir.h"
#include "platform/Resources.h"
#include "platform/SystemInfo.h"
#include "settings/MappedData.h"

namespace s::app {

namespace ids = s::lang::ids;

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using s::str::strbuffer::StrBuffer;
using namespace s::app::console;

// One item of preview --files.
struct ListedItem {
    purgo::CleanItemType type;
    std::string path;  // UTF-8
    purgo::ItemMeasures measures;
};

struct ListedTarget {
    TimeRecord* target;
    std::vector<ListedItem> items;
    // What the user's keep list saves from the target's clean.
    purgo::KeptMeasure kept;
};

struct ListedGroup {
    TimeRecord* group;
    std::vector<ListedTarget> targets;
};

class Program {
public:
    Program(const Options& options, ConsoleStreams& streams)
        : m_options(options), m_streams(streams), m_progress(streams)
    {
    }

    int run()
    {
        if (m_options.command == Command::Help) {
            out(kUsage);
            return kExitDone;
        }
        loadTable();
        if (m_options.command == Command::Version)
            return version();
        if (const int status = openSettings(); status != kExitDone)
            return status;
        if (const int status = chooseLanguage(); status != kExitDone)
            return status;
        ConsoleView view(m_progress);
        purgo::RunController runs(view, m_localizer, *m_store, [this](std::vector<TimeRecord*>& list) {
            purgo::buildCatalogue(list, m_localizer, *m_store);
        });
        switch (m_options.command) {
        case Command::List:
            return list(runs);
        case Command::Preview:
            return preview(runs, view);
        case Command::Clean:
            return clean(runs, view);
        case Command::Check:
            return check(runs);
        case Command::Rules:
            return updateRules();
        case Command::Keep:
            return keep();
        default:
            return kExitDone;
        }
    }

private:
    void out(std::string_view text) { m_streams.writeOut(text); }
    void err(std::string_view text) { m_streams.writeErr(text); }

    int fail(const std::string& why)
    {
        m_progress.finish();
        err("purgoc: " + why + "\n");
        return kExitError;
    }

    void loadTable()
    {
        const auto table = s::platform::findResource(u"IDR_XML", 130);
        // The resource stays mapped while the program runs.
        m_localizer.loadTable(std::string_view(reinterpret_cast<const char*>(table.data), table.size),
                              s::platform::systemFacts().majorVersion);
    }

    int version()
    {
        if (m_options.json) {
            out(JsonObject()
                    .text("command", u"version")
                    .text("name", m_localizer.englishText(ids::kProductName).view())
                    .text("version", m_localizer.text(ids::kVersionText).view())
                    .str() +
                "\n");
        } else {
            out(utf8(s::app::win::bootEntryName(m_localizer)) + "\n");
        }
        return kExitDone;
    }

    // A settings file that is there must be readable (the store would run on
    // its built-in defaults and a clean would take another selection than
    // the user's). A file named by --settings must be there, except for
    // check, which creates it and says so; the program's own file may be
    // missing (a new installation: the defaults apply).
    // The commands that save the settings, and so may create the file.
    bool writes() const
    {
        return m_options.command == Command::Check ||
               (m_options.command == Command::Keep && m_options.keepAction != KeepAction::List);
    }

    int openSettings()
    {
        const bool named = !m_options.settings.empty();
        m_settingsPath = named ? StrBuffer(m_options.settings) : s::xml::settingsFilePath();
        s::io::IFileIo& files = s::platform::fileIo();
        if (files.fileExists(m_settingsPath.view())) {
            s::col::ArrayU08 bytes;
            if (!files.readFile(m_settingsPath.view(), bytes, s::io::IFileIo::kMaxReadBytes))
                return fail("the settings file " + m_settingsPath.toUtf8() + " cannot be read");
        } else if (named && !writes()) {
            return fail("there is no settings file " + m_settingsPath.toUtf8() + " (`purgoc check` creates one)");
        } else {
            m_settingsMissing = true;
        }
        m_store = s::xml::openFileStore(m_settingsPath.view());
        return checkDamage();
    }

    // A settings file that is not well-formed (a disk error, an edit by
    // hand, another tool that crashed) holds less than the user saved: the
    // selection read from it may not be the user's, and custom groups may
    // be missing. Listing shows what could be read; the other commands stop
    // unless --force-defaults says to go on with it. The file itself is left
    // as it is: only a save replaces it, and the store keeps a copy first.
    int checkDamage()
    {
        const int line = m_store->damagedLine();
        if (line == 0)
            return kExitDone;
        const std::string damaged =
            "the settings file " + m_settingsPath.toUtf8() + " is damaged (line " + std::to_string(line) + ")";
        if (m_options.command == Command::List ||
            (m_options.command == Command::Keep && m_options.keepAction == KeepAction::List)) {
            err("purgoc: " + damaged + "; this is what could be read of it\n");
            return kExitDone;
        }
        if (m_options.forceDefaults) {
            err("purgoc: " + damaged + "; going on with what could be read of it (--force-defaults)\n");
            return kExitDone;
        }
        const char* nothing = m_options.command == Command::Clean ? "nothing was cleaned"
                              : writes()                          ? "nothing was changed"
                                                                  : "nothing was measured";
        return fail(damaged + ", so its selection may not be yours: " + nothing +
                    ". Repair or remove the file, or add --force-defaults to go on with what could be read of it");
    }

    int chooseLanguage()
    {
        if (m_localizer.count() == 0)
            return kExitDone;
        if (m_options.language.empty()) {
            const StrBuffer stored = m_store->getString(u"Language", u"", m_localizer.current()->engName().view());
            m_localizer.select(stored.view());
            return kExitDone;
        }
        if (!m_localizer.findByEnglishName(m_options.language)) {
            std::string names;
            for (int i = 0; i < m_localizer.count(); ++i)
                names += (i ? ", " : "") + m_localizer.pack(i)->engName().toUtf8();
            return fail("no language named " + utf8(m_options.language) + "; the languages are: " + names);
        }
        m_localizer.select(m_options.language);
        return kExitDone;
    }

    // The tree without measuring: built, with the stored checks.
    void buildOnly(purgo::RunController& runs)
    {
        std::vector<TimeRecord*>& groups = runs.groups();
        purgo::buildCatalogue(groups, m_localizer, *m_store);
        for (TimeRecord* group : groups)
            purgo::loadChecks(*group, purgo::kItemsPrefix, *m_store);
    }

    // <group>[/<target>] in the tree, ids compared ignoring case. On failure
    // the error is written and false returned.
    bool find(purgo::RunController& runs, TimeRecord*& group, TimeRecord*& target)
    {
        const std::u16string& path = m_options.path;
        const std::size_t slash = path.find(u'/');
        const std::u16string groupId = path.substr(0, slash);
        const std::u16string targetId = slash == std::u16string::npos ? std::u16string() : path.substr(slash + 1);
        group = nullptr;
        target = nullptr;
        for (TimeRecord* candidate : runs.groups())
            if (!group && candidate->id.equalsIgnoreCase(groupId))
                group = candidate;
        if (!group) {
            fail("no group named " + utf8(groupId) + "; `purgoc list` shows them");
            return false;
        }
        if (slash == std::u16string::npos)
            return true;
        for (std::size_t i = 0; i < group->childCount() && !target; ++i)
            if (group->child(i)->id.equalsIgnoreCase(targetId))
                target = group->child(i);
        if (!target) {
            fail("no target named " + utf8(targetId) + " in group " + group->id.toUtf8() +
                 "; `purgoc list` shows them");
            return false;
        }
        return true;
    }

    int list(purgo::RunController& runs)
    {
        if (m_options.rules) {
            purgo::RulesReport report;
            std::vector<TimeRecord*> groups;
            purgo::appendRuleGroups(groups, report);
            for (TimeRecord* group : groups)
                group->release();
            out(rulesReportText(report, m_options.json));
            return kExitDone;
        }
        buildOnly(runs);
        if (m_options.json) {
            std::vector<std::string> groups;
            for (const TimeRecord* group : runs.groups()) {
                std::vector<std::string> targets;
                for (std::size_t i = 0; i < group->childCount(); ++i) {
                    const TimeRecord& t = *group->child(i);
                    targets.push_back(JsonObject()
                                          .text("id", t.id.view())
                                          .text("kind", kindName(t))
                                          .text("target", t.target.view())
                                          .boolean("checked", t.checked)
                                          .str());
                }
                groups.push_back(groupObject(*group).raw("targets", jsonArray(targets)).str());
            }
            out(JsonObject().text("command", u"list").raw("groups", jsonArray(groups)).str() + "\n");
            return kExitDone;
        }
        for (const TimeRecord* group : runs.groups()) {
            out(groupLine(*group, false));
            for (std::size_t i = 0; i < group->childCount(); ++i) {
                const TimeRecord& t = *group->child(i);
                out(std::string("    ") + (t.checked ? "[x] " : "[ ] ") + t.id.toUtf8() + "  " + t.target.toUtf8() +
                    "\n");
            }
        }
        return kExitDone;
    }

    int preview(purgo::RunController& runs, ConsoleView& view)
    {
        runs.collectInformation();
        m_progress.finish();
        if (m_options.files)
            return previewFiles(runs);
        const std::vector<TimeRecord*>& groups = m_options.all ? runs.groups() : view.rows;
        const purgo::Totals totals = purgo::computeTotals(runs.groups());
        if (m_options.json) {
            std::vector<std::string> listed;
            for (const TimeRecord* group : groups) {
                std::vector<std::string> targets;
                for (std::size_t i = 0; i < group->childCount(); ++i)
                    targets.push_back(targetObject(*group->child(i)).str());
                listed.push_back(measuredGroup(*group).raw("targets", jsonArray(targets)).str());
            }
            out(previewObject(listed, totals).str() + "\n");
            return kExitDone;
        }
        for (const TimeRecord* group : groups) {
            out(groupLine(*group, true));
            for (std::size_t i = 0; i < group->childCount(); ++i)
                out(targetLine(*group->child(i)) + "  " + group->child(i)->description.toUtf8() + "\n");
        }
        out(totalsLines(totals));
        return kExitDone;
    }

    // The items a clean would delete: of the checked targets of the checked
    // groups, or, when a group or target is named, of its targets whether
    // checked or not.
    int previewFiles(purgo::RunController& runs)
    {
        TimeRecord* onlyGroup = nullptr;
        TimeRecord* onlyTarget = nullptr;
        if (!m_options.path.empty() && !find(runs, onlyGroup, onlyTarget))
            return kExitError;
        std::vector<ListedGroup> listed;
        int64_t found = 0;
        int64_t size = 0;
        for (TimeRecord* group : runs.groups()) {
            if (onlyGroup ? group != onlyGroup : !group->checked)
                continue;
            ListedGroup entry{group, {}};
            for (std::size_t i = 0; i < group->childCount(); ++i) {
                TimeRecord* target = group->child(i);
                if (onlyTarget ? target != onlyTarget : (!onlyGroup && !target->checked))
                    continue;
                ListedTarget items{target, {}, purgo::keptByUser(*target)};
                purgo::forEachCleanItem(*target, [&](purgo::CleanItem& item) {
                    const purgo::ItemMeasures measures = purgo::measureCleanItem(item, *target);
                    // The clean calls every special target's handler; one that
                    // counted nothing has nothing to show.
                    if (item.type == purgo::CleanItemType::Handler && measures.found == 0 && measures.size == 0)
                        return;
                    items.items.push_back({item.type, purgo::cleanItemText(item, *target).toUtf8(), measures});
                    found += measures.found;
                    size += measures.size;
                });
                entry.targets.push_back(std::move(items));
            }
            listed.push_back(std::move(entry));
        }

        if (m_options.json) {
            std::vector<std::string> groups;
            for (const ListedGroup& group : listed) {
                std::vector<std::string> targets;
                for (const ListedTarget& target : group.targets) {
                    std::vector<std::string> items;
                    for (const ListedItem& item : target.items)
                        items.push_back(
                            JsonObject()
                                .text("type", StrBuffer::fromUtf8(purgo::cleanItemTypeName(item.type)).view())
                                .text("path", StrBuffer::fromUtf8(item.path).view())
                                .number("found", item.measures.found)
                                .number("size", item.measures.size)
                                .str());
                    targets.push_back(
                        targetObject(*target.target)
                            .raw("items", jsonArray(items))
                            .raw("kept",
                                 JsonObject().number("found", target.kept.found).number("size", target.kept.size).str())
                            .str());
                }
                groups.push_back(measuredGroup(*group.group).raw("targets", jsonArray(targets)).str());
            }
            out(previewObject(groups, purgo::computeTotals(runs.groups()))
                    .raw("items", JsonObject().number("found", found).number("size", size).str())
                    .str() +
                "\n");
            return kExitDone;
        }
        for (const ListedGroup& group : listed) {
            out(groupLine(*group.group, true));
            for (const ListedTarget& target : group.targets) {
                std::string heading = targetLine(*target.target);
                if (target.kept.found > 0)
                    heading += "  (" + countText(target.kept.found) + " kept)";
                out(heading + "\n");
                for (const ListedItem& item : target.items) {
                    std::string line = "        " + sizeText(item.measures.size) + "  " + item.path;
                    if (item.measures.found != 1)
                        line += "  (" + countText(item.measures.found) + " items)";
                    out(line + "\n");
                }
            }
        }
        out("Items: " + countText(found) + " (" + sizeText(size) + ")\n");
        return kExitDone;
    }

    int clean(purgo::RunController& runs, ConsoleView& view)
    {
        // The start-up mode from its beginning, as at logon: the collect run
        // lists nothing, the clean run neither schedules nor measures again.
        runs.setStartupMode(m_options.boot);
        runs.collectInformation();
        runs.cleanSelected();
        m_progress.finish();
        // What a running program kept from the clean: named on stderr, listed
        // in the JSON, and the clean's status is "items left".
        std::vector<std::string> skipped;
        for (const TimeRecord* group : runs.skipped()) {
            err("purgoc: not cleaned while " + group->guardProcess.toUtf8() + " runs: " + group->id.toUtf8() + " (" +
                group->title.toUtf8() + ")\n");
            skipped.push_back(
                JsonObject().text("group", group->id.view()).text("process", group->guardProcess.view()).str());
        }
        const int skippedStatus = skipped.empty() ? kExitDone : kExitPending;
        if (m_options.boot) {
            // The mode counts nothing: what went and what is left are not
            // known, only which targets were cleaned.
            if (m_options.json) {
                out(JsonObject()
                        .text("command", u"clean")
                        .text("mode", u"boot")
                        .number("groupsCleaned", view.groupsCleaned)
                        .number("targetsCleaned", view.targetsCleaned)
                        .raw("skipped", jsonArray(skipped))
                        .str() +
                    "\n");
            } else {
                out("Start-up clean: " + countText(view.targetsCleaned) + " checked targets in " +
                    countText(view.groupsCleaned) +
                    " checked groups were cleaned (this mode neither measures again nor schedules anything for the "
                    "next boot).\n");
            }
            return skippedStatus;
        }
        const purgo::CleanCounters& c = runs.counters();
        StrBuffer composed = purgo::RunController::composeMessage(c, m_localizer);
        if (!runs.skipped().empty()) {
            composed.append(u"\r\n");
            composed.append(purgo::skippedLine(runs.skipped(), m_localizer).view());
        }
        const std::string message = consoleLines(composed);
        if (m_options.json) {
            out(JsonObject()
                    .text("command", u"clean")
                    .text("mode", u"interactive")
                    .number("deletedFound", c.deletedFound)
                    .number("deletedSize", c.deletedSize)
                    .number("pendingFound", c.pendingFound)
                    .number("pendingSize", c.pendingSize)
                    .text("message", StrBuffer::fromUtf8(message).view())
                    .raw("skipped", jsonArray(skipped))
                    .str() +
                "\n");
        } else {
            out(message + "\n");
        }
        return c.pendingFound > 0 ? kExitPending : skippedStatus;
    }

    int check(purgo::RunController& runs)
    {
        buildOnly(runs);
        TimeRecord* group = nullptr;
        TimeRecord* target = nullptr;
        if (!find(runs, group, target))
            return kExitError;
        (target ? target : group)->checked = m_options.checkOn;
        // What the window asks before a group is checked, said here: a script
        // that selects the group has no one to ask.
        if (m_options.checkOn) {
            const std::u16string warning = purgo::groupWarning(*group, m_localizer);
            for (std::size_t start = 0; start < warning.size();) {
                std::size_t end = warning.find_first_of(u"\r\n", start);
                if (end == std::u16string::npos)
                    end = warning.size();
                if (end > start)
                    err("purgoc: warning: " + group->id.toUtf8() + ": " + utf8(warning.substr(start, end - start)) +
                        "\n");
                start = end + 1;
            }
        }
        purgo::saveChecks(*group, purgo::kItemsPrefix, *m_store);
        if (!m_store->save())
            return fail("the settings file " + m_settingsPath.toUtf8() + " could not be written");
        if (m_settingsMissing)
            err("purgoc: created the settings file " + m_settingsPath.toUtf8() + "\n");
        if (const StrBuffer copy = m_store->damagedCopy(); !copy.isEmpty())
            err("purgoc: the settings file " + m_settingsPath.toUtf8() + " was damaged (line " +
                std::to_string(m_store->damagedLine()) + "); a copy of it as it was is kept as " + copy.toUtf8() +
                "\n");
        if (m_options.json) {
            JsonObject result;
            result.text("command", u"check").text("group", group->id.view());
            if (target)
                result.text("target", target->id.view());
            else
                result.raw("target", "null");
            out(result.boolean("checked", m_options.checkOn)
                    .text("settings", m_settingsPath.view())
                    .boolean("created", m_settingsMissing)
                    .str() +
                "\n");
        } else {
            out(group->id.toUtf8() + (target ? "/" + target->id.toUtf8() : std::string()) +
                (m_options.checkOn ? " checked\n" : " unchecked\n"));
        }
        return kExitDone;
    }

    // `keep list | add | remove`: the user's keep list in the settings file,
    // honoured by every scan and clean (engine/UserKeepList.h).
    int keep()
    {
        purgo::UserKeepList list = purgo::readKeepList(*m_store);
        switch (m_options.keepAction) {
        case KeepAction::List:
            return keepList(list);
        case KeepAction::Add:
            return keepAdd(list);
        case KeepAction::Remove:
            return keepRemove(list);
        }
        return kExitDone;
    }

    static JsonObject keepEntryObject(const purgo::KeepEntry& entry, std::size_t index)
    {
        JsonObject object;
        object.number("number", static_cast<int64_t>(index) + 1)
            .text("type", purgo::keepEntryTypeName(entry.type))
            .text("path", entry.path);
        if (entry.type == purgo::KeepEntryType::Pattern || entry.type == purgo::KeepEntryType::Value)
            object.text("name", entry.name);
        else
            object.raw("name", "null");
        object.text("text", purgo::keepEntryText(entry));
        if (entry.added != 0)
            object.text("added", purgo::utcText(entry.added));
        else
            object.raw("added", "null");
        return object;
    }

    static std::string keepEntryLine(const purgo::KeepEntry& entry, std::size_t index)
    {
        std::string number = std::to_string(index + 1);
        std::string type = utf8(purgo::keepEntryTypeName(entry.type));
        number.insert(0, number.size() < 4 ? 4 - number.size() : 0, ' ');
        type.append(type.size() < 8 ? 8 - type.size() : 0, ' ');
        const std::string added = entry.added != 0 ? utf8(purgo::utcText(entry.added)) : "(added: unknown)    ";
        return number + "  " + type + added + "  " + utf8(purgo::keepEntryText(entry)) + "\n";
    }

    int keepList(const purgo::UserKeepList& list)
    {
        if (m_options.json) {
            std::vector<std::string> entries;
            for (std::size_t i = 0; i < list.entries().size(); ++i)
                entries.push_back(keepEntryObject(list.entries()[i], i).str());
            out(JsonObject().text("command", u"keep").text("action", u"list").raw("entries", jsonArray(entries)).str() +
                "\n");
            return kExitDone;
        }
        for (std::size_t i = 0; i < list.entries().size(); ++i)
            out(keepEntryLine(list.entries()[i], i));
        if (list.isEmpty())
            out("The keep list is empty.\n");
        return kExitDone;
    }

    // What the words name: with --pattern a folder's files; a registry key,
    // or the value of its parent key when no such key exists but that value
    // does; a folder when there is one; else a file (an entry for something
    // not there yet is harmless, and keeps it once it appears).
    purgo::KeepEntry entryFor(const std::u16string& what) const
    {
        purgo::KeepEntry entry;
        entry.added = s::platform::systemClock().now();
        if (!m_options.pattern.empty()) {
            entry.type = purgo::KeepEntryType::Pattern;
            entry.path = what;
            entry.name = m_options.pattern;
            return entry;
        }
        const std::u16string key = purgo::keepEntryPath(purgo::KeepEntryType::Key, what);
        if (!key.empty()) {
            entry.type = purgo::KeepEntryType::Key;
            entry.path = key;
            const std::size_t slash = key.rfind(u'\\');
            if (slash != std::u16string::npos && !s::reg::win::RegDir::make(key)->exists()) {
                auto parent = s::reg::win::RegDir::make(std::u16string_view(key).substr(0, slash));
                const std::u16string_view name = std::u16string_view(key).substr(slash + 1);
                if (parent->valueExists(name)) {
                    entry.type = purgo::KeepEntryType::Value;
                    entry.path = key.substr(0, slash);
                    entry.name = name;
                }
            }
            return entry;
        }
        auto path = s::file::win::PathWin::make(what);
        entry.type = path->exists() && path->isDirectory() ? purgo::KeepEntryType::Folder : purgo::KeepEntryType::File;
        entry.path = path->isAbsolute() ? std::u16string(path->fullPath().view()) : what;
        return entry;
    }

    int saveKeepList(const purgo::UserKeepList& list)
    {
        purgo::writeKeepList(list, *m_store);
        if (!m_store->save())
            return fail("the settings file " + m_settingsPath.toUtf8() + " could not be written");
        if (m_settingsMissing)
            err("purgoc: created the settings file " + m_settingsPath.toUtf8() + "\n");
        return kExitDone;
    }

    int keepAdd(purgo::UserKeepList& list)
    {
        purgo::KeepEntry entry = entryFor(m_options.keepWhat);
        const purgo::UserKeepList::Added result = list.add(entry);
        if (result == purgo::UserKeepList::Added::Invalid)
            return fail("cannot keep " + utf8(m_options.keepWhat) +
                        (m_options.pattern.empty() ? ": it is neither a full path nor a registry key"
                                                   : ": give a folder's full path and a wildcard without \\"));
        std::size_t index = list.entries().size() - 1;
        if (result == purgo::UserKeepList::Added::Duplicate) {
            entry.path = purgo::keepEntryPath(entry.type, entry.path);
            index = static_cast<std::size_t>(list.find(purgo::keepEntryText(entry)));
        } else if (const int status = saveKeepList(list); status != kExitDone) {
            return status;
        }
        const bool added = result == purgo::UserKeepList::Added::Added;
        if (m_options.json) {
            out(JsonObject()
                    .text("command", u"keep")
                    .text("action", u"add")
                    .boolean("added", added)
                    .raw("entry", keepEntryObject(list.entries()[index], index).str())
                    .str() +
                "\n");
        } else {
            out((added ? "Kept: " : "Already kept: ") + keepEntryLine(list.entries()[index], index));
        }
        return kExitDone;
    }

    int keepRemove(purgo::UserKeepList& list)
    {
        // An entry is named by its number in `keep list` or by its text.
        int index = -1;
        const std::u16string& what = m_options.keepWhat;
        if (!what.empty() && what.size() <= 9 && what.find_first_not_of(u"0123456789") == std::u16string::npos) {
            const long number = std::stol(utf8(what));
            if (number >= 1 && static_cast<std::size_t>(number) <= list.entries().size())
                index = static_cast<int>(number - 1);
        } else {
            index = list.find(what);
        }
        if (index < 0)
            return fail("no entry " + utf8(what) + " in the keep list; `purgoc keep list` shows them");
        const purgo::KeepEntry removed = list.entries()[static_cast<std::size_t>(index)];
        list.remove(static_cast<std::size_t>(index));
        if (const int status = saveKeepList(list); status != kExitDone)
            return status;
        if (m_options.json) {
            out(JsonObject()
                    .text("command", u"keep")
                    .text("action", u"remove")
                    .raw("entry", keepEntryObject(removed, static_cast<std::size_t>(index)).str())
                    .str() +
                "\n");
        } else {
            out("No longer kept: " + keepEntryLine(removed, static_cast<std::size_t>(index)));
        }
        return kExitDone;
    }

    // `rules update`: the community rule file from the stored address into
    // savedata\winapp2.ini, the file in place kept unless the new one is
    // sound.
    int updateRules()
    {
        const std::u16string address = rulesAddress(*m_store);
        m_progress.show(u"downloading " + address);
        const RulesUpdateResult result = s::app::updateRules(address, s::platform::network());
        m_progress.finish();
        const bool saved = result.outcome == RulesUpdateOutcome::Saved;
        std::string reason;
        switch (result.outcome) {
        case RulesUpdateOutcome::Saved:
            break;
        case RulesUpdateOutcome::NotDownloaded:
            reason = "the download failed (offline, an error from the server, more than 4 MiB, or no answer in " +
                     std::to_string(kRulesTimeLimitMs / 1000) + " s)";
            break;
        case RulesUpdateOutcome::DoesNotParse:
            reason = "the answer is no rule file: " + utf8(result.fault);
            break;
        case RulesUpdateOutcome::NotSaved:
            reason = "it could not be written to " + utf8(result.path);
            break;
        case RulesUpdateOutcome::NoProgramFolder:
            reason = "the program's folder is unknown";
            break;
        }
        if (m_options.json) {
            JsonObject object;
            object.text("command", u"rules")
                .text("action", u"update")
                .text("address", result.address)
                .text("file", result.path)
                .boolean("saved", saved)
                .text("version", result.versionLine)
                .number("entries", result.entries);
            if (!saved)
                object.text("reason", StrBuffer::fromUtf8(reason).view());
            out(object.str() + "\n");
        } else if (saved) {
            out("Downloaded " + utf8(result.address) + "\n");
            if (!result.versionLine.empty())
                out(utf8(result.versionLine) + "\n");
            out("Entries: " + std::to_string(result.entries) + "\nSaved " + utf8(result.path) + "\n");
        }
        if (!saved) {
            const std::string kept = result.outcome == RulesUpdateOutcome::NotDownloaded ||
                                             result.outcome == RulesUpdateOutcome::NoProgramFolder
                                         ? ""
                                         : "; the rule file in place is unchanged";
            return fail("rules from " + utf8(result.address) + " not saved: " + reason + kept);
        }
        return kExitDone;
    }

    static std::u16string_view kindName(const TimeRecord& target)
    {
        const char16_t* kind = purgo::targetKindName(target.kind);
        return kind ? kind : u"";
    }

    static JsonObject groupObject(const TimeRecord& group)
    {
        JsonObject object;
        object.text("id", group.id.view())
            .text("title", group.title.view())
            .text("description", group.description.view())
            .boolean("custom", group.custom)
            .boolean("checked", group.checked);
        return object;
    }

    static JsonObject measuredGroup(const TimeRecord& group)
    {
        JsonObject object = groupObject(group);
        object.number("found", group.found).number("size", group.size);
        return object;
    }

    static JsonObject targetObject(TimeRecord& t)
    {
        JsonObject object;
        object.text("id", t.id.view())
            .text("kind", kindName(t))
            .text("target", t.target.view())
            .text("title", t.title.view())
            .text("description", t.description.view())
            .boolean("checked", t.checked)
            .number("found", t.found)
            .number("size", t.size)
            .boolean("locationExists", purgo::locationExists(t));
        return object;
    }

    JsonObject previewObject(const std::vector<std::string>& groups, const purgo::Totals& totals) const
    {
        JsonObject object;
        object.text("command", u"preview")
            .boolean("all", m_options.all)
            .boolean("files", m_options.files)
            .raw("groups", jsonArray(groups))
            .raw("totals", JsonObject()
                               .number("allFound", totals.allFound)
                               .number("allSize", totals.allSize)
                               .number("selectedFound", totals.selectedFound)
                               .number("selectedSize", totals.selectedSize)
                               .str());
        return object;
    }

    static std::string groupLine(const TimeRecord& group, bool measured)
    {
        std::string line = std::string(group.checked ? "[x] " : "[ ] ") + group.title.toUtf8();
        if (measured)
            line += "  " + countText(group.found) + " / " + sizeText(group.size);
        return line + "  <" + group.id.toUtf8() + (group.custom ? ", custom>" : ">") + "\n";
    }

    static std::string targetLine(const TimeRecord& t)
    {
        return std::string("    ") + (t.checked ? "[x] " : "[ ] ") + t.title.toUtf8() + "  " + countText(t.found) +
               " / " + sizeText(t.size);
    }

    static std::string totalsLines(const purgo::Totals& totals)
    {
        return "All: " + countText(totals.allFound) + " items (" + sizeText(totals.allSize) + ")\n" +
               "Selected: " + countText(totals.selectedFound) + " items (" + sizeText(totals.selectedSize) + ")\n";
    }

    const Options& m_options;
    ConsoleStreams& m_streams;
    Progress m_progress;
    s::xml::MappedDataHandle m_store;
    StrBuffer m_settingsPath;
    bool m_settingsMissing = false;
    s::lang::Localizer m_localizer;
};

}  // namespace

int runConsole(const std::vector<std::u16string>& args, ConsoleStreams& streams)
{
    Options options;
    const std::string error = parse(args, options);
    if (!error.empty()) {
        streams.writeErr("purgoc: " + error + "\n" + kUsage);
        return kExitUsage;
    }
    Program program(options, streams);
    return program.run();
}

}  // namespace s::app
