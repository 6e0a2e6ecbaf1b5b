#include "app/start/StartupSteps.h"

#include "app/start/StartupRules.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/RegFunctions.h"
#include "platform/Shell.h"

#include <string>

namespace s::app::win {

namespace {

namespace p = s::platform;

bool equalsFolded(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const auto fold = [](char16_t c) {
            return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
        };
        if (fold(a[k]) != fold(b[k]))
            return false;
    }
    return true;
}

std::u16string silentKeyPath(s::lang::Localizer& localizer)
{
    std::u16string path = u"Software\\Oxle\\";
    path += localizer.text(s::lang::ids::kRegistryName).view();
    return path;
}

}  // namespace

void openPage(s::lang::Localizer& localizer, std::int32_t id)
{
    const auto& address = localizer.text(id);
    if (!address.isEmpty())
        p::shell().openAddress(address.view());
}

void recordVersion(s::map::IMappedData& store, s::lang::Localizer& localizer, PageRule pages)
{
    const auto& current = localizer.text(s::lang::ids::kVersionText);
    // Without the language table there is no version to compare or record;
    // an empty one written now would open the page again on the next start.
    if (current.isEmpty())
        return;
    const auto stored = store.getString(u"Version", u"", u"0.00");
    if (pages == PageRule::OpenOnNewVersion && versionChangeOpensPage(stored.view(), current.view()))
        openPage(localizer, s::lang::ids::kSoftwarePage);
    store.setString(u"SoftwareType", u"", kEdition);
    store.setString(u"SoftwareID", u"", localizer.text(s::lang::ids::kRegistryName).view());
    store.setString(u"Version", u"", current.view());
}

void recordVersionUnder(s::map::IMappedData& store, std::u16string_view windowName, s::lang::Localizer& localizer)
{
    if (localizer.text(s::lang::ids::kVersionText).isEmpty())
        return;
    const bool autoSave = store.autoSave();
    store.setAutoSave(false);
    const std::u16string base(windowName);
    store.setString(base + u"\\SoftwareType", u"", kEdition);
    store.setString(base + u"\\SoftwareID", u"", localizer.text(s::lang::ids::kRegistryName).view());
    store.setString(base + u"\\Version", u"", localizer.text(s::lang::ids::kVersionText).view());
    store.setAutoSave(autoSave);
    // Turning auto-save on again writes nothing by itself: one save takes
    // the three values to the file.
    if (autoSave)
        store.save();
}

void chooseLanguage(s::map::IMappedData& store, s::lang::Localizer& localizer)
{
    s::lang::LangPack* chosen = localizer.current();
    const std::u16string fallback = chosen ? std::u16string(chosen->engName().view()) : std::u16string();
    const auto stored = store.getString(u"Language", u"", fallback);
    localizer.select(stored.view());
    s::lang::LangPack* now = localizer.current();
    if (now && !equalsFolded(now->engName().view(), stored.view()))
        store.setString(u"Language", u"", now->engName().view());
}

bool answerSilentRequest(const s::process::commandline::win::CommandLine& line, s::lang::Localizer& localizer)
{
    if (!line.isEmpty())
        return false;
    p::IRegFunctions& registry = p::regFunctions();
    p::RegKey key;
    const std::u16string path = silentKeyPath(localizer);
    if (registry.openKey(p::RootKey::CurrentUser, path.c_str(), p::kKeyRead | p::kKeySetValue, key) != p::kErrorSuccess)
        return false;
    std::uint32_t value = 0;
    std::uint32_t type = 0;
    std::uint32_t length = sizeof(value);
    if (registry.queryValue(key, u"Silent", &type, reinterpret_cast<std::byte*>(&value), &length) != p::kErrorSuccess ||
        type != p::kRegDword || value == 0)
        return false;
    const std::uint32_t zero = 0;
    registry.setValue(key, u"Silent", p::kRegDword, reinterpret_cast<const std::byte*>(&zero), sizeof(zero));
    openPage(localizer, s::lang::ids::kSoftwarePage);
    return true;
}

}  // namespace s::app::win
