// Getting the community rule file (winapp2.ini): View > "Get Community
// Rules..." in the main window and `purgoc rules update` download it from the
// address in the settings through the program's downloader
// (platform/Network.h) and save it where the program reads it,
// "savedata\winapp2.ini" beside the program (catalogue/RuleGroups.h).
//
// The file in place is kept until the new one is known to be sound: the
// answer is read in memory first, and a download that fails, is stopped,
// is larger than the downloader keeps (4 MiB) or does not parse as a rule
// file (catalogue/RuleFile.h, ruleFileFault) changes nothing on disk. A
// sound file is written beside the old one and then takes its place in one
// step (MoveFileExW with replace), so that no reader ever sees half of it.
//
// The address is the settings value CommunityRules\Address ("Address" in
// the section "CommunityRules" of SaveData.xml); without one, the rules
// project's published raw file.
#pragma once

#include "platform/Network.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace s::map {
class IMappedData;
}
namespace s::lang {
class Localizer;
}

namespace s::app {

inline constexpr char16_t kRulesSection[] = u"CommunityRules";
inline constexpr char16_t kRulesAddressValue[] = u"Address";
inline constexpr char16_t kDefaultRulesAddress[] =
    u"https://raw.githubusercontent.com/MoscaDotTo/Winapp2/master/Winapp2.ini";
// The published file is about 2 MB; a slow line may take a while.
inline constexpr unsigned kRulesTimeLimitMs = 60000;

// Language ids of the texts the main window shows.
inline constexpr std::int32_t kGetRulesMenuText = 2100201000;
inline constexpr std::int32_t kRulesSavedText = 2100203000;
inline constexpr std::int32_t kRulesEntriesText = 2100204000;
inline constexpr std::int32_t kRulesNotDownloadedText = 2100205000;
inline constexpr std::int32_t kRulesDoNotParseText = 2100206000;
inline constexpr std::int32_t kRulesNotSavedText = 2100208000;
inline constexpr std::int32_t kRulesDownloadingText = 2100209000;

enum class RulesUpdateOutcome : std::uint8_t {
    Saved,           // downloaded, sound, and now in place
    NotDownloaded,   // offline, the server failed, stopped, too large or too slow
    DoesNotParse,    // the answer is no usable rule file: the old file stays
    NotSaved,        // sound, but it could not be written: the old file stays
    NoProgramFolder  // the program's folder is unknown: nowhere to save
};

struct RulesUpdateResult {
    RulesUpdateOutcome outcome = RulesUpdateOutcome::NotDownloaded;
    std::u16string address;
    std::u16string path;         // where it is (or would have been) saved
    std::u16string versionLine;  // "Version: 250310"; empty without one
    int entries = 0;             // sections in the downloaded file
    std::u16string fault;        // DoesNotParse: why, in English
};

// The address to download from: the stored one, or the default.
std::u16string rulesAddress(s::map::IMappedData& settings);

// Downloads, checks and saves. Blocks the calling thread (run it on a
// worker from a window) for at most kRulesTimeLimitMs, or until `cancel`
// becomes true.
RulesUpdateResult updateRules(std::u16string_view address, s::platform::INetwork& network,
                              const std::atomic<bool>* cancel = nullptr);

// What the window tells the user, in the localizer's language.
std::u16string rulesUpdateMessage(const RulesUpdateResult& result, s::lang::Localizer& localizer);

}  // namespace s::app
