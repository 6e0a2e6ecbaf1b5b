#include "app/rules/RulesUpdate.h"

#include "base/TextFormat.h"
#include "catalogue/RuleFile.h"
#include "catalogue/RuleGroups.h"
#include "lang/Localizer.h"
#include "platform/FileSystem.h"
#include "settings/IMappedData.h"

#include <chrono>
#include <thread>
#include <vector>

namespace s::app {

namespace {

namespace p = s::platform;
namespace purgo = s::file::gui::dialogs::purgo;

constexpr auto kPollStep = std::chrono::milliseconds(50);

// The body as bytes: the downloader keeps one character per byte.
std::string bytesOf(const std::u16string& body)
{
    std::string bytes;
    bytes.reserve(body.size());
    for (char16_t c : body)
        bytes.push_back(static_cast<char>(c & 0xFF));
    return bytes;
}

bool download(std::u16string_view address, p::INetwork& network, const std::atomic<bool>* cancel, std::string& body)
{
    if (!network.connected())
        return false;
    const auto downloader = network.newDownloader();
    downloader->setUrl(address);
    downloader->setToMemory(true);
    // Started and watched here rather than with download(limit): a window
    // that closes meanwhile stops it at once instead of waiting out the
    // limit.
    downloader->start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRulesTimeLimitMs);
    while (downloader->running()) {
        if ((cancel && cancel->load()) || std::chrono::steady_clock::now() >= deadline) {
            downloader->stop(true);
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    if (!downloader->succeeded())
        return false;
    body = bytesOf(downloader->result());
    return true;
}

// Writes the file beside its place and moves it there in one step; the old
// file stays whole when anything fails.
bool save(const std::u16string& path, const std::string& bytes)
{
    p::IFileSystem& files = p::fileSystem();
    const std::size_t slash = path.rfind(u'\\');
    if (slash != std::u16string::npos) {
        const std::u16string folder = path.substr(0, slash);
        const p::Win32Error made = files.createDirectory(folder.c_str());
        if (made != p::kErrorSuccess && made != p::kErrorAlreadyExists)
            return false;
    }
    const std::u16string fresh = path + u".new";
    if (files.writeFile(fresh.c_str(), reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                        p::IFileSystem::Flush::Yes) != p::kErrorSuccess ||
        files.moveReplacing(fresh.c_str(), path.c_str()) != p::kErrorSuccess) {
        files.deleteFile(fresh.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::u16string rulesAddress(s::map::IMappedData& settings)
{
    const std::u16string stored =
        settings.getString(kRulesSection, kRulesAddressValue, kDefaultRulesAddress).toU16String();
    return stored.empty() ? std::u16string(kDefaultRulesAddress) : stored;
}

RulesUpdateResult updateRules(std::u16string_view address, p::INetwork& network, const std::atomic<bool>* cancel)
{
    RulesUpdateResult result;
    result.address = address;
    const std::vector<std::u16string> places = purgo::ruleFilePaths();
    if (places.size() < 2) {
        result.outcome = RulesUpdateOutcome::NoProgramFolder;
        return result;
    }
    // Where the program reads it second: savedata\winapp2.ini.
    result.path = places[1];
    std::string body;
    if (!download(address, network, cancel, body)) {
        result.outcome = RulesUpdateOutcome::NotDownloaded;
        return result;
    }
    const purgo::RuleFile file = purgo::readRuleFile(body);
    result.versionLine = std::u16string(file.versionLine);
    result.entries = static_cast<int>(file.entries.size());
    result.fault = purgo::ruleFileFault(file);
    if (!result.fault.empty()) {
        result.outcome = RulesUpdateOutcome::DoesNotParse;
        return result;
    }
    result.outcome = save(result.path, body) ? RulesUpdateOutcome::Saved : RulesUpdateOutcome::NotSaved;
    return result;
}

std::u16string rulesUpdateMessage(const RulesUpdateResult& result, s::lang::Localizer& localizer)
{
    const auto text = [&localizer](std::int32_t id) {
        return localizer.text(id).toU16String();
    };
    switch (result.outcome) {
    case RulesUpdateOutcome::Saved: {
        std::u16string message = text(kRulesSavedText);
        message += u"\r\n\r\n";
        if (!result.versionLine.empty()) {
            message += result.versionLine;
            message += u"\r\n";
        }
        s::str::strbuffer::StrBuffer count;
        s::str::formatCount(result.entries, count);
        message += text(kRulesEntriesText);
        message += u' ';
        message += count.view();
        return message;
    }
    case RulesUpdateOutcome::DoesNotParse:
        return text(kRulesDoNotParseText);
    case RulesUpdateOutcome::NotSaved:
        return text(kRulesNotSavedText);
    case RulesUpdateOutcome::NotDownloaded:
    case RulesUpdateOutcome::NoProgramFolder:
        break;
    }
    return text(kRulesNotDownloadedText) + u"\r\n" + result.address;
}

}  // namespace s::app
