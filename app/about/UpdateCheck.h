// The periodic check for a newer version, run once after the main window is
// built (interactive and boot runs alike): at most once every 30 days it asks
// the version service named by the language table and, when the answer names
// another version, offers to open the software page.
//
// The state is one settings value, MainWindow\Update "Version": the hour
// count (whole hours since 1970-01-01 00:00 UTC) of the last check, 0 when
// none was made. A check that reached the network stores it whatever the
// outcome; a check skipped before (too early, an unexpected version text, no
// connection) leaves it alone, so the next start tries again.
#pragma once

#include "lang/Localizer.h"
#include "platform/LocalClock.h"
#include "platform/Network.h"
#include "platform/Shell.h"
#include "settings/IMappedData.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace s::app::win {

inline constexpr char16_t kUpdateSection[] = u"MainWindow\\Update";
inline constexpr char16_t kUpdateValue[] = u"Version";
// The time a download of the version answer may take.
inline constexpr unsigned kUpdateTimeLimitMs = 8000;
inline constexpr std::int32_t kHoursBetweenChecks = 720;

// What the check did, for its tests and its caller.
enum class UpdateOutcome : std::uint8_t {
    NotOffered,     // the language has no update text (entry 400200): never checks
    FirstRun,       // no count stored yet: now stored, nothing fetched
    TooEarly,       // fewer than 720 hours since the last check
    ClockBehind,    // the stored count lies ahead of the clock: now stored instead
    VersionFormat,  // the version text has not two digits after its last "."
    Offline,        // the computer reports no connection
    NoAnswer,       // the download failed or its text is no answer
    UpToDate,       // the answer names the current version
    Declined,       // a newer version, and the user said No
    Accepted,       // a newer version, and the software page was opened
};

// The services the check works through: the build's own in the program,
// fakes in tests.
struct UpdateCheckServices {
    const s::platform::ILocalClock& clock;
    s::platform::INetwork& network;
    s::platform::IShell& shell;
    // Shows the Yes/No question; true on Yes.
    std::function<bool(const std::u16string& title, const std::u16string& message)> ask;
};

// The hour count of an instant (seconds since 1970 UTC).
std::int64_t hourCount(std::int64_t seconds);
// True when the version text has exactly two characters after its last "."
// ("1.25"; not "1.2.5", not "125").
bool hasCheckableVersion(std::u16string_view version);
// True when a downloaded answer counts: at least 5 characters, the first "*".
bool answerCounts(std::u16string_view answer);
// True when a downloaded answer counts (at least 5 characters, the first
// "*") and does not contain the current version (exact, case-sensitive).
bool answerNamesNewerVersion(std::u16string_view answer, std::u16string_view version);

UpdateOutcome checkForUpdate(s::map::IMappedData& settings, s::lang::Localizer& lang,
                             const UpdateCheckServices& services);

// The check's first part, which needs neither the network nor a question:
// the outcome when the check ends there (the count stored where the check
// stores it), or nothing when the network is to be asked. Most starts end
// here, and need no worker and no network library.
std::optional<UpdateOutcome> checkWithoutNetwork(s::map::IMappedData& settings, s::lang::Localizer& lang,
                                                 const s::platform::ILocalClock& clock);

}  // namespace s::app::win
