#include "platform/SystemInfo.h"

namespace s::platform {

namespace {

constexpr std::size_t kServicePackLimit = 256;
constexpr unsigned kPlatformNt = 2;

bool reportsNothing(const VersionAnswer& answer)
{
    return answer.major == 0 && answer.minor == 0 && answer.build == 0;
}

}  // namespace

void chooseVersion(const std::optional<VersionAnswer>& rtlGetVersion, const std::optional<VersionAnswer>& getVersionEx,
                   std::optional<bool> wow64, SystemFacts& facts)
{
    VersionAnswer chosen;
    if (rtlGetVersion && !reportsNothing(*rtlGetVersion))
        chosen = *rtlGetVersion;
    else if (getVersionEx)
        chosen = *getVersionEx;
    facts.majorVersion = chosen.major;
    facts.minorVersion = chosen.minor;
    facts.buildNumber = chosen.build;
    facts.nt = chosen.platformId == kPlatformNt;
    facts.servicePack = chosen.servicePack.substr(0, kServicePackLimit);
    facts.wow64 = wow64.value_or(false);
}

}  // namespace s::platform
