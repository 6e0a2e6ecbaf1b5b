#include "app/console/ConsoleText.h"

#include "app/console/ConsoleJson.h"
#include "base/TextFormat.h"

namespace s::app::console {

namespace purgo = s::file::gui::dialogs::purgo;
using s::str::strbuffer::StrBuffer;

std::string utf8(std::u16string_view text)
{
    return StrBuffer(text).toUtf8();
}

std::string rulesReportText(const purgo::RulesReport& report, bool json)
{
    if (json) {
        const auto notes = [](const std::vector<purgo::RuleNote>& list, std::string_view entryName) {
            std::vector<std::string> items;
            for (const purgo::RuleNote& note : list)
                items.push_back(JsonObject().text(entryName, note.entry).text("reason", note.text).str());
            return jsonArray(items);
        };
        std::vector<std::string> files;
        for (const auto& file : report.files)
            files.push_back(quoted(file));
        std::vector<std::string> versions;
        for (const auto& version : report.versions)
            versions.push_back(quoted(version));
        std::vector<std::string> browserData;
        for (const auto& entry : report.browserData)
            browserData.push_back(quoted(entry));
        return JsonObject()
                   .text("command", u"list")
                   .raw("files", jsonArray(files))
                   .raw("versions", jsonArray(versions))
                   .raw("unreadable", notes(report.unreadable, "file"))
                   .number("entries", report.entries)
                   .number("detected", report.detected)
                   .number("notDetected", report.notDetected)
                   .number("ignored", report.ignored)
                   .raw("dropped", notes(report.dropped, "entry"))
                   .raw("skippedKeys", notes(report.skippedKeys, "entry"))
                   .raw("browserData", jsonArray(browserData))
                   .number("badLines", report.badLines)
                   .number("unknownKeys", report.unknownKeys)
                   .str() +
               "\n";
    }
    std::string out;
    if (report.files.empty() && report.unreadable.empty())
        out += "No rule file: put winapp2.ini beside the program or in its savedata folder.\n";
    for (std::size_t i = 0; i < report.files.size(); ++i) {
        out += "Read " + utf8(report.files[i]);
        if (i < report.versions.size() && !report.versions[i].empty())
            out += " (" + utf8(report.versions[i]) + ")";
        out += "\n";
    }
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
    if (!report.browserData.empty()) {
        out += "Reaching a browser's saved passwords, bookmarks or settings (asked before they are checked): " +
               std::to_string(report.browserData.size()) + "\n";
        for (const auto& entry : report.browserData)
            out += "  " + utf8(entry) + "\n";
    }
    if (report.badLines || report.unknownKeys)
        out += "Lines not understood: " + std::to_string(report.badLines) +
               ", unknown keys: " + std::to_string(report.unknownKeys) + "\n";
    return out;
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

std::string consoleLines(const StrBuffer& message)
{
    std::string text = message.toUtf8();
    for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r'))
        text.erase(at, 1);
    return text;
}

}  // namespace s::app::console
