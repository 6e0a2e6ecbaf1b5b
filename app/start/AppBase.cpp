#include "app/start/AppBase.h"

#include "app/start/BootRegistration.h"
#include "app/start/RunningInstance.h"
#include "app/start/StartupSteps.h"
#include "base/Pool.h"
#include "base/XmlNode.h"
#include "gui/SkinMenu.h"
#include "gui/Skinner.h"
#include "lang/LangPack.h"
#include "lang/TextIds.h"
#include "platform/MachineFacts.h"
#include "platform/Resources.h"

#include <string_view>

namespace s::app::win {

namespace {

using s::str::StrBuffer;

std::string_view bytesOf(const s::platform::ResourceData& data)
{
    return {reinterpret_cast<const char*>(data.data), data.size};
}

}  // namespace

void AppBase::initialise(std::u16string_view processCommandLine, s::gui::drawer::Skinner* skins)
{
    m_edition = kEdition;
    m_productId = s::lang::ids::kProductName;
    m_commandLine = s::process::commandline::win::CommandLine::fromProcessText(processCommandLine);

    m_modulePath = s::platform::machineFacts().modulePath();
    const std::size_t slash = m_modulePath.find_last_of(u"\\/");
    m_moduleFolder = slash == std::u16string::npos ? std::u16string() : m_modulePath.substr(0, slash + 1);

    loadLanguageTable();
    m_skins = skins;
    if (m_skins)
        loadSkinSet();

    // The store starts with auto-save off: the steps below write several
    // values, and the file is written once, when auto-save goes on.
    // Beside the program; a program that cannot find its own file keeps its
    // settings in memory rather than in some other folder.
    const std::u16string settingsPath =
        m_moduleFolder.empty() ? std::u16string() : m_moduleFolder + u"savedata\\SaveData.xml";
    m_settings = s::xml::openFileStore(settingsPath);
    m_settings->setAutoSave(false);
    // An uninstaller runs the program with "-uninstall": no web page then,
    // whatever version the settings remember.
    recordVersion(*m_settings, m_lang,
                  startModeOf(m_commandLine) == StartMode::Uninstall ? PageRule::Never : PageRule::OpenOnNewVersion);
    if (m_lang.count() > 0)
        chooseLanguage(*m_settings, m_lang);
    if (m_skins) {
        s::gui::drawer::StoredSkinSettings stored(*m_settings);
        s::gui::drawer::selectStartupSkin(*m_skins, stored);
    }
    m_settings->setAutoSave(true);
    m_settings->save();
    m_settingsWritten = true;
}

void AppBase::loadLanguageTable()
{
    const auto table = s::platform::findResource(u"IDR_XML", 130);
    if (!table)
        return;
    // The resource stays mapped while the program runs.
    m_lang.loadTable(bytesOf(table), osVersion().major);
}

void AppBase::loadSkinSet()
{
    const auto set = s::platform::findResource(u"IDR_XML", 150);
    if (!set)
        return;
    auto document = s::thread::Pooled<s::xml::MappedData>::take();
    document->openDocument(bytesOf(set));
    m_skins->load(*document, u"SkinSet", true);
}

StrBuffer AppBase::languageSetting()
{
    s::lang::LangPack* current = m_lang.count() > 0 ? m_lang.current() : nullptr;
    return m_settings->getString(u"Language", u"", current ? current->engName().view() : std::u16string_view());
}

void AppBase::setLanguageSetting(std::u16string_view name)
{
    m_settings->setString(u"Language", u"", name);
}

StrBuffer AppBase::skinSetting()
{
    StrBuffer stored = m_settings->getString(u"Skin", u"", s::gui::drawer::kDefaultSkinName);
    if (m_skins && m_skins->findSkin(stored.view()) < 0)
        return StrBuffer(s::gui::drawer::kDefaultSkinName);
    return stored;
}

void AppBase::setSkinSetting(std::u16string_view name)
{
    m_settings->setString(u"Skin", u"", name);
}

bool AppBase::findRunningInstance(bool activate, bool sendRefresh, bool useLanguageNames)
{
    return s::app::win::findRunningInstance(m_modulePath, m_lang, activate, sendRefresh, useLanguageNames);
}

void AppBase::openPage(std::int32_t id)
{
    s::app::win::openPage(m_lang, id);
}

StartDecision decideStart(AppBase& app, const OsVersion& os)
{
    if (!os.supported())
        return StartDecision::End;
    const StartMode mode = startModeOf(app.commandLine());
    if (mode == StartMode::Uninstall) {
        unregisterBootRun(bootEntryName(app.lang()), os);
        return StartDecision::End;
    }
    if (app.findRunningInstance(true, false, true))
        return StartDecision::End;
    answerSilentRequest(app.commandLine(), app.lang());
    return mode == StartMode::BootRun ? StartDecision::BootRun : StartDecision::Interactive;
}

}  // namespace s::app::win
