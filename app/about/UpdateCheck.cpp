#include "app/about/UpdateCheck.h"
#include "lang/TextIds.h"

namespace s::app::win {

namespace ids = s::lang::ids;

namespace {
constexpr std::size_t kMinAnswerLength = 5;

}  // namespace

std::int64_t hourCount(std::int64_t seconds)
{
    return seconds / 3600;
}

bool hasCheckableVersion(std::u16string_view version)
{
    const std::size_t dot = version.find_last_of(u'.');
    return dot != std::u16string_view::npos && version.size() - dot - 1 == 2;
}

bool answerCounts(std::u16string_view answer)
{
    return answer.size() >= kMinAnswerLength && answer.front() == u'*';
}

bool answerNamesNewerVersion(std::u16string_view answer, std::u16string_view version)
{
    return answerCounts(answer) && answer.find(version) == std::u16string_view::npos;
}

std::optional<UpdateOutcome> checkWithoutNetwork(s::map::IMappedData& settings, s::lang::Localizer& lang,
                                                 const s::platform::ILocalClock& clock)
{
    if (lang.text(ids::kUpdateNotice).isEmpty())
        return UpdateOutcome::NotOffered;
    const std::int64_t stored = settings.getS32(kUpdateSection, kUpdateValue, 0);
    const std::int64_t now = hourCount(clock.now());
    const auto storeNow = [&] {
        settings.setS32(kUpdateSection, kUpdateValue, static_cast<std::int32_t>(now));
    };
    if (stored == 0) {
        storeNow();
        return UpdateOutcome::FirstRun;
    }
    // A count ahead of the clock (a clock that was set wrong once, an edited
    // file) would otherwise hold every check back until that hour comes: the
    // wait starts again from now.
    if (stored > now) {
        storeNow();
        return UpdateOutcome::ClockBehind;
    }
    if (now < stored + kHoursBetweenChecks)
        return UpdateOutcome::TooEarly;
    if (!hasCheckableVersion(lang.text(ids::kVersionText).toU16String()))
        return UpdateOutcome::VersionFormat;
    return std::nullopt;
}

UpdateOutcome checkForUpdate(s::map::IMappedData& settings, s::lang::Localizer& lang,
                             const UpdateCheckServices& services)
{
    if (const std::optional<UpdateOutcome> early = checkWithoutNetwork(settings, lang, services.clock))
        return *early;
    const std::int64_t now = hourCount(services.clock.now());
    const auto storeNow = [&] {
        settings.setS32(kUpdateSection, kUpdateValue, static_cast<std::int32_t>(now));
    };
    const std::u16string version = lang.text(ids::kVersionText).toU16String();
    if (!services.network.connected())
        return UpdateOutcome::Offline;

    const auto downloader = services.network.newDownloader();
    downloader->setUrl(lang.text(ids::kVersionService).toU16String() + u"check/");
    downloader->setToMemory(true);
    const bool fetched = downloader->download(kUpdateTimeLimitMs);
    const std::u16string answer = fetched ? downloader->result() : std::u16string();

    UpdateOutcome outcome = answerCounts(answer) ? UpdateOutcome::UpToDate : UpdateOutcome::NoAnswer;
    if (answerNamesNewerVersion(answer, version)) {
        const std::u16string title = lang.text(ids::kImprovedVersion).toU16String();
        const std::u16string message = title + u" \r\n" + lang.text(ids::kCheckItOut).toU16String();
        outcome = UpdateOutcome::Declined;
        if (services.ask && services.ask(title, message)) {
            outcome = UpdateOutcome::Accepted;
            const auto& page = lang.text(ids::kSoftwarePage);
            if (!page.isEmpty())
                services.shell.openAddress(page.view());
        }
    }
    storeNow();
    return outcome;
}

}  // namespace s::app::win
