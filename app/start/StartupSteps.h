// The start-up's steps that read and write the settings, the registry and
// the shell, as plain functions over the services, so that the window code
// only runs them in order.
#pragma once

#include "app/start/CommandLine.h"
#include "settings/IMappedData.h"

#include <cstdint>
#include <string_view>

namespace s::lang {
class Localizer;
}

namespace s::app::win {

inline constexpr char16_t kEdition[] = u"Freeware";

// Opens the address of a language entry in the default browser.
void openPage(s::lang::Localizer& localizer, std::int32_t id);

// A new version opens the software page once (unless the start must open
// nothing: the uninstaller's), then "SoftwareType", "SoftwareID" and
// "Version" are written at the top level of the file.
enum class PageRule : std::uint8_t { OpenOnNewVersion, Never };
void recordVersion(s::map::IMappedData& store, s::lang::Localizer& localizer,
                   PageRule pages = PageRule::OpenOnNewVersion);
// The same three values under a frame's own paths (windowName\SoftwareType
// ..., each with the empty name), written with auto-save off and then on
// again, so that the file is rewritten once.
void recordVersionUnder(s::map::IMappedData& store, std::u16string_view windowName, s::lang::Localizer& localizer);

// The stored "Language" (by default the language the table chose from the
// system's) becomes current; when the language now current is another one
// (an unknown name), its name is written back.
void chooseLanguage(s::map::IMappedData& store, s::lang::Localizer& localizer);

// Only for a start without arguments: a non-zero "Silent" value of
// HKEY_CURRENT_USER\Software\Oxle\<registry name> is set to 0 and the
// software page opens. True when that happened.
bool answerSilentRequest(const s::process::commandline::win::CommandLine& line, s::lang::Localizer& localizer);

}  // namespace s::app::win
