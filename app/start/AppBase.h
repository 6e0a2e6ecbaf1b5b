// The application object: the program's identity, its command line and
// place on disk, the language table, the skin set and the settings store,
// prepared once at start-up and then shared by every window.
#pragma once

#include "app/start/CommandLine.h"
#include "app/start/StartupRules.h"
#include "base/StrBuffer.h"
#include "lang/Localizer.h"
#include "settings/MappedData.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::gui::drawer {
class Skinner;
}

namespace s::app::win {

class AppBase {
public:
    AppBase() = default;
    AppBase(const AppBase&) = delete;
    AppBase& operator=(const AppBase&) = delete;

    // The preparation that needs no window, in order: the command line (the
    // whole process text, program name first), the module path, the
    // language table ("IDR_XML" 130), the skin set ("IDR_XML" 150, element
    // "SkinSet") when there is a skin manager, the settings store beside the
    // program with auto-save off, the version record, the stored language
    // and skin, and auto-save on. Anything missing (a resource, a readable
    // settings file) leaves its defaults; nothing here fails.
    void initialise(std::u16string_view processCommandLine, s::gui::drawer::Skinner* skins);

    s::map::IMappedData& settings() { return *m_settings; }
    s::lang::Localizer& lang() { return m_lang; }
    std::int32_t productId() const { return m_productId; }
    const std::u16string& edition() const { return m_edition; }
    const s::process::commandline::win::CommandLine& commandLine() const { return m_commandLine; }
    // The program file, and its folder with a trailing separator.
    const std::u16string& modulePath() const { return m_modulePath; }
    const std::u16string& moduleFolder() const { return m_moduleFolder; }
    // The application's skin manager; none when the program has no window.
    s::gui::drawer::Skinner* skins() const { return m_skins; }
    // True once the store writes every change at once.
    bool settingsWritten() const { return m_settingsWritten; }
    // Where the settings file was kept when it was damaged (the start's
    // first save makes the copy before it writes the file); empty otherwise.
    s::str::StrBuffer damagedSettingsCopy() const
    {
        return m_settings ? m_settings->damagedCopy() : s::str::StrBuffer();
    }

    // The stored language name (by default the current language's English
    // name).
    s::str::StrBuffer languageSetting();
    void setLanguageSetting(std::u16string_view name);
    // The stored skin name, or "Classic LG" when the stored one is not in the
    // skin set.
    s::str::StrBuffer skinSetting();
    void setSkinSetting(std::u16string_view name);

    bool findRunningInstance(bool activate, bool sendRefresh, bool useLanguageNames);
    // The address of a language entry, opened in the default browser.
    void openPage(std::int32_t id);

private:
    void loadLanguageTable();
    void loadSkinSet();

    std::u16string m_edition;
    std::int32_t m_productId = 0;
    s::process::commandline::win::CommandLine m_commandLine;
    std::u16string m_modulePath;
    std::u16string m_moduleFolder;
    s::lang::Localizer m_lang;
    s::gui::drawer::Skinner* m_skins = nullptr;  // not owned
    s::xml::MappedDataHandle m_settings;
    bool m_settingsWritten = false;
};

// What start-up does after the preparation, decided in order: an unsupported
// Windows ends at once; "-uninstall" removes the boot registration and ends;
// a copy already running from the same file is asked to show itself and this
// one ends; a start without arguments answers a pending "Silent" request.
// Otherwise the main window runs, silently for "-startup".
enum class StartDecision : std::uint8_t { End, Interactive, BootRun };
StartDecision decideStart(AppBase& app, const OsVersion& os);

}  // namespace s::app::win
