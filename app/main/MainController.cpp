#include "app/main/MainController.h"

#include "app/main/MainMenus.h"
#include "app/rules/RulesUpdate.h"
#include "app/start/BootRegistration.h"
#include "app/start/StartupRules.h"
#include "catalogue/Catalogue.h"
#include "catalogue/RuleGroups.h"
#include "catalogue/TargetState.h"
#include "engine/RunningPrograms.h"
#include "engine/TargetLocation.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/LocalClock.h"
#include "platform/Network.h"
#include "platform/Processes.h"
#include "settings/MainWindowView.h"

#include <algorithm>
#include <atomic>

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {

namespace list = s::gui::list;
using s::str::strbuffer::StrBuffer;

// A warning line this long at most, so that the question window stays
// narrower than the screen.
constexpr std::size_t kWarningLineLength = 72;

// The row facts the context menu is built from.
RowFacts factsOf(list::TargetListModel& model, int row)
{
    RowFacts facts;
    const TimeRecord* node = row >= 0 && row < model.rowCount() ? model.record(row) : nullptr;
    if (!node)
        return facts;
    facts.present = true;
    facts.group = node->isGroup();
    const list::CheckState state = model.checkState(row);
    facts.checkedOrPartial = state != list::CheckState::Unchecked;
    facts.expanded = facts.group && model.isExpanded(row);
    facts.locationExists = !facts.group && model.isLink(row);
    facts.custom = node->custom;
    return facts;
}

// The text with its long lines broken at blanks.
std::u16string wrapped(std::u16string_view text)
{
    std::u16string out;
    std::size_t lineStart = 0;
    std::size_t lastBlank = std::u16string::npos;
    for (char16_t c : text) {
        if (c == u'\n') {
            out += c;
            lineStart = out.size();
            lastBlank = std::u16string::npos;
            continue;
        }
        out += c;
        if (c == u' ')
            lastBlank = out.size() - 1;
        if (out.size() - lineStart > kWarningLineLength && lastBlank != std::u16string::npos) {
            out[lastBlank] = u'\n';
            lineStart = lastBlank + 1;
            lastBlank = std::u16string::npos;
        }
    }
    return out;
}

}  // namespace

// The download of the community rule file, on the rules worker.
// The boot registration's state, asked on a thread of its own: the Task
// Scheduler may first have to start its service (seconds on a cold
// machine), and the window must answer meanwhile.
struct BootQuery final : s::thread::ITask {
    void run() override { done(s::app::win::isBootRunRegistered(name, s::app::win::osVersion())); }

    std::u16string name;
    // Called on the worker.
    std::function<void(bool)> done;
};

struct RulesDownload final : s::thread::ITask {
    void run() override { done(s::app::updateRules(address, s::platform::network(), &cancel)); }

    std::u16string address;
    std::atomic<bool> cancel{false};
    // Called on the worker.
    std::function<void(s::app::RulesUpdateResult)> done;
};

MainController::MainController(IMainView& view, s::app::win::AppBase& app, s::app::win::AppWindow& frame,
                               TreeBuilder builder)
    : m_view(view), m_app(app), m_frame(frame), m_settings(app.settings()), m_lang(app.lang()),
      m_runs(*this, app.lang(), app.settings(),
             builder ? std::move(builder) : TreeBuilder([this](std::vector<TimeRecord*>& groups) {
                 buildCatalogue(groups, m_lang, m_settings);
             })),
      m_menus(&app.lang()), m_skinSettings(app.settings())
{
    m_list.setFilter([this](const TimeRecord& group) { return !m_showOnlyRelated || isRelated(group); });
    m_list.setRunningNote([this](const TimeRecord& group) { return runningNote(group, m_lang); });
    m_list.setCheckQuestion([this](const TimeRecord& group) { return askBeforeChecking(group); });
}

MainController::~MainController()
{
    stop();
}

void MainController::stop()
{
    m_runs.requestCancel();
    if (m_rulesDownload)
        m_rulesDownload->cancel = true;
    if (m_rulesWorker)
        m_rulesWorker->waitIdle();
    if (m_queryWorker)
        m_queryWorker->waitIdle();
    if (m_worker)
        m_worker->waitIdle();
}

// --- Options and menus ---------------------------------------------------------

void MainController::loadOptions(bool bootRun)
{
    if (s::gui::drawer::Skinner* skins = m_app.skins()) {
        m_skinMenu = std::make_unique<s::gui::drawer::SkinMenu>(*skins, m_skinSettings, s::platform::systemClock());
        // A periodic change is for the user to see: a boot run shows nothing
        // and leaves it to the next window. The new skin is kept as the
        // Skin menu keeps a choice, or the next start would begin with the
        // old one again.
        if (!bootRun && s::gui::drawer::applyPeriodicChange(*skins, m_skinSettings, s::platform::systemClock()) &&
            skins->currentIndex() >= 0)
            m_app.setSkinSetting(skins->skinName(skins->currentIndex()).view());
    }
    m_opacity = m_settings.getS32(s::map::mainwindow::kViewSection, u"Transparency", 90);
    m_opacityOnlyOnTop = m_settings.getBool(s::map::mainwindow::kViewSection, u"TransparencyOnlyOnTop", false);
    buildMenus();
    m_showOnlyRelated =
        m_settings.getBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kShowOnlyRelated, true);
    m_useAlternateRowColor =
        m_settings.getBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kUseAlternateRowColor, true);
}

list::ListViewStep MainController::cellHeight() const
{
    return list::ListViewStep::fromStored(
        m_settings.getS32(s::map::mainwindow::kViewSection, u"CellHeight",
                          list::defaultCellHeight(s::app::win::osVersion().major).value()));
}

list::ListViewStep MainController::fontSize() const
{
    return list::ListViewStep::fromStored(m_settings.getS32(
        s::map::mainwindow::kViewSection, s::map::mainwindow::kFontSize, list::kDefaultFontSize.value()));
}

void MainController::buildMenus()
{
    ViewMenuState state;
    state.keepOnTop = m_frame.keepOnTop();
    state.closeByMiddleClick = m_frame.middleClick() == s::app::win::MiddleClick::Close;
    state.alternateRows =
        m_settings.getBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kUseAlternateRowColor, true);
    state.opacity = m_opacity;
    state.windowsMajorVersion = s::app::win::osVersion().major;
    state.cellHeight = cellHeight();
    state.fontSize = fontSize();
    s::gui::menu::MenuItem skins;
    if (m_skinMenu) {
        skins = m_skinMenu->submenu();
        state.skinMenu = &skins;
    }
    buildMainMenus(m_menus, state, m_lang);
}

// --- States ----------------------------------------------------------------------

void MainController::runBoot()
{
    m_bootRun = true;
    m_runs.setStartupMode(true);
    m_runs.collectInformation();
    m_runs.cleanSelected();
    m_state = State::Closed;
    s::platform::processes().markEnding();
}

void MainController::enterCollecting()
{
    {
        s::thread::ObjLocker::Guard guard(m_arrivalLock);
        m_arrivalsOver = false;
    }
    m_state = State::Collecting;
    m_view.showCollecting(true);
    m_view.showStatus(ids::kCollectingText);
    m_view.setCleanEnabled(false);
    setEditing(false);
}

void MainController::setEditing(bool on)
{
    // What only acts while the window is ready is shown disabled otherwise,
    // rather than ignoring the click.
    m_view.setEditingEnabled(on);
    for (const int number : {command::kAddCustomTarget, command::kSelectAll, command::kDeselectAll})
        m_menus.setEnabled(number, on);
}

void MainController::startCollect()
{
    m_worker = std::make_unique<s::thread::win::Thread>();
    m_runs.submit(*m_worker, RunMode::Collect);
    // The start found the settings file damaged and kept it aside before
    // writing the new one: say where, once, when the window is up and its
    // message loop runs (the box is modal; the list fills meanwhile).
    if (const StrBuffer copy = m_app.damagedSettingsCopy(); !copy.isEmpty()) {
        StrBuffer text;
        for (const char16_t c : m_lang.text(ids::kDamagedSettingsText).view()) {
            if (c == u'\n')
                text.append(u"\r\n");
            else
                text.append(c);
        }
        text.append(u"\r\n\r\n");
        text.append(copy.view());
        m_view.post([this, text] { m_view.showMessage(text); });
    }
    // Asking the Task Scheduler starts its service on a cold machine: the
    // answer comes back to the window thread when it is there. A box the
    // user clicked meanwhile keeps the user's choice.
    //
    // The question runs on a pooled thread, given back as soon as the answer
    // is here: the collect's measures take their helper from the same pool,
    // and on a warm machine they find this one (a thread costs about a
    // megabyte under Wine, touched or not).
    m_bootChosen = false;
    if (!m_queryWorker)
        m_queryWorker = s::thread::Pooled<s::thread::win::Thread>::take();
    m_queryWorker->waitIdle();
    m_bootQuery = std::make_unique<BootQuery>();
    m_bootQuery->name = s::app::win::bootEntryName(m_lang);
    m_bootQuery->done = [this](bool registered) {
        m_view.post([this, registered] {
            // The run that called back has returned, or returns at once.
            m_queryWorker.giveBack();
            if (!m_bootChosen)
                m_view.setBootRunChecked(registered);
        });
    };
    m_queryWorker->runOnce(m_bootQuery.get());
}

bool MainController::backgroundWorkRunning() const
{
    return m_runs.busy() || (m_queryWorker && !m_queryWorker->isIdle()) || (m_rulesWorker && !m_rulesWorker->isIdle());
}

void MainController::updateTotals()
{
    const Totals totals = computeTotals(targets());
    m_view.showTotals(statusLabels(totals, m_lang));
    m_view.setCleanCaption(cleanButtonCaption(totals, m_lang));
    m_view.setCleanEnabled(true);
}

void MainController::enterReadyState()
{
    m_state = State::Ready;
    if (m_retitle) {
        m_retitle = false;
        retitleRows();
    }
    updateTotals();
    setEditing(true);
    if (m_measureAgain) {
        // The keep list changed during the run: its rows are measured again
        // as soon as the run has handed everything back.
        m_measureAgain = false;
        m_view.post([this] {
            if (m_state == State::Ready)
                collectAgain();
        });
    }
}

void MainController::retitleRows()
{
    retitleBuiltinGroups(targets(), m_lang);
    for (TimeRecord* group : targets())
        m_list.refresh(*group);
}

void MainController::pressCleanButton()
{
    switch (m_state) {
    case State::Ready:
        if (!m_runs.busy() && m_worker)
            m_runs.submit(*m_worker, RunMode::Clean);
        break;
    case State::Cleaning:
        m_state = State::Canceling;
        m_view.setCleanCaption(m_lang.text(ids::kCancelingText));
        m_runs.requestCancel();
        break;
    default:
        break;
    }
}

// --- Runs ------------------------------------------------------------------------

void MainController::addRow(TimeRecord& group)
{
    // The row's icon is loaded here, beside the window thread's painting.
    m_view.loadRowIcon(group.iconSpec.view());
    // The list's size changes once for every group that came while the
    // window thread was busy (a size change costs a scroll bar update): a
    // call is posted only when the first of them arrives.
    bool first = false;
    {
        s::thread::ObjLocker::Guard guard(m_arrivalLock);
        first = m_arrived.empty();
        m_arrived.push_back(&group);
    }
    if (first)
        m_view.post([this] { showArrivedRows(); });
}

void MainController::showArrivedRows()
{
    std::vector<TimeRecord*> arrived;
    bool runOver = false;
    {
        s::thread::ObjLocker::Guard guard(m_arrivalLock);
        arrived.swap(m_arrived);
        runOver = m_arrivalsOver;
    }
    // Once the run is over its last call lists every group at once (right
    // after this one): listing these first would only size the list twice.
    if (!runOver)
        m_list.appendGroups(arrived);
}

void MainController::collectFinished(const Totals&)
{
    {
        s::thread::ObjLocker::Guard guard(m_arrivalLock);
        m_arrivalsOver = true;
    }
    m_view.post([this] {
        // Every group, shown or not, so that "Show only Related" can list the
        // others later; the rows keep the catalogue's order.
        m_list.setGroups(targets());
        m_view.showCollecting(false);
        enterReadyState();
    });
}

void MainController::cleanStarted(const StrBuffer&, const StrBuffer& buttonCaption, int groupCount)
{
    m_view.post([this, caption = StrBuffer(buttonCaption), groupCount] {
        m_state = State::Cleaning;
        m_view.showStatus(ids::kCleaningText);
        m_view.setCleanCaption(caption);
        m_view.setCleanEnabled(true);
        m_view.setListEnabled(false);
        setEditing(false);
        m_view.showProgress(std::max(1, groupCount));
    });
}

void MainController::cleanProgress(int position)
{
    m_view.post([this, position] {
        // After group i, i + 1 groups are done; the run's last report (the
        // group count itself) says all are, and the bar stays at its end.
        auto& groups = targets();
        m_view.setProgress(std::min(position + 1, std::max(1, static_cast<int>(groups.size()))));
        if (position >= 0 && position < static_cast<int>(groups.size()))
            m_list.refresh(*groups[static_cast<std::size_t>(position)]);
    });
}

void MainController::showResult(const StrBuffer& message)
{
    // Shown once the window is back in its ready state: the box is modal,
    // and the status row must not say "Cleaning..." behind it.
    m_view.post([this, text = StrBuffer(message)] { m_pendingResult = text; });
}

void MainController::cleanFinished(const Totals&)
{
    m_view.post([this] {
        m_view.hideProgress();
        m_view.setListEnabled(true);
        for (TimeRecord* group : targets())
            m_list.refresh(*group);
        enterReadyState();
        if (!m_pendingResult.isEmpty()) {
            const StrBuffer text = m_pendingResult;
            m_pendingResult = StrBuffer();
            m_view.showMessage(text);
        }
    });
}

// --- List --------------------------------------------------------------------------

void MainController::checksChanged()
{
    if (m_state == State::Ready)
        updateTotals();
}

void MainController::lookUp(const TimeRecord& target)
{
    LookUpTexts texts;
    texts.caption = m_lang.text(ids::kProductName);
    purgo::lookUp(target, texts);
}

void MainController::onLink(int row)
{
    const TimeRecord* node = m_list.record(row);
    if (!node)
        return;
    if (node->isGroup())
        m_list.toggleExpanded(row);
    else if (m_list.isLink(row))
        lookUp(*node);
}

void MainController::onDoubleClick(int row)
{
    const TimeRecord* node = m_list.record(row);
    if (node && !node->isGroup() && m_list.isLink(row))
        lookUp(*node);
}

s::gui::menu::MenuItem* MainController::contextMenu(int row, s::gui::menu::MenuModel& model)
{
    if (m_state == State::Cleaning || m_state == State::Canceling)
        return nullptr;
    return &model.add(listContextMenu(factsOf(m_list, row)));
}

void MainController::rowCommand(int number, int row)
{
    TimeRecord* node = m_list.record(row);
    if (!node)
        return;
    switch (number) {
    case command::kSelect:
        m_list.toggleCheck(row);
        checksChanged();
        break;
    case command::kDetails:
        onLink(row);
        break;
    case command::kShowItems:
        showItemsOf(row);
        break;
    case command::kModify:
        if (node->isGroup() && node->custom && m_state == State::Ready && openCustomEditor)
            openCustomEditor(node);
        break;
    case command::kRemove:
        if (node->isGroup() && node->custom)
            removeCustomGroup(row);
        break;
    default:
        break;
    }
}

void MainController::showItemsOf(int row)
{
    TimeRecord* node = m_list.record(row);
    if (node && m_state == State::Ready && showItems)
        showItems(*node);
}

void MainController::keepListChanged()
{
    if (m_state == State::Ready)
        collectAgain();
    else if (m_state != State::Closed)
        m_measureAgain = true;  // once the run in progress has ended
}

void MainController::removeCustomGroup(int row)
{
    if (!m_view.ask(m_lang.text(ids::kProductName), m_lang.text(ids::kRemoveQuestion)))
        return;
    purgo::removeCustomGroup(targets(), m_list, m_list.record(row));
    checksChanged();
}

void MainController::addNewRecord(const TimeRecord& record)
{
    addCustomGroup(targets(), m_list, record.clone());
    checksChanged();
}

void MainController::modifyRecord(const TimeRecord& record)
{
    replaceCustomGroup(targets(), m_list, record.clone());
    checksChanged();
}

void MainController::setShowOnlyRelated(bool on)
{
    m_showOnlyRelated = on;
    m_view.setShowRelatedChecked(on);
    if (m_state != State::Collecting)
        m_view.changeRowsQuietly([this] { m_list.applyFilter(); });
    m_settings.setBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kShowOnlyRelated, on);
}

void MainController::setBootRun(bool on)
{
    m_bootChosen = true;
    m_view.setBootRunChecked(on);
    const std::u16string name = s::app::win::bootEntryName(m_lang);
    if (on) {
        // The boot run cleans what is checked now.
        if (!m_runs.busy())
            saveTargetState(targets(), m_settings, m_lock);
        s::app::win::registerBootRun(name, m_app.modulePath(), s::app::win::osVersion());
    } else {
        s::app::win::unregisterBootRun(name, s::app::win::osVersion());
    }
}

bool MainController::askBeforeChecking(const TimeRecord& group)
{
    const std::u16string warning = groupWarning(group, m_lang);
    if (warning.empty())
        return true;
    std::u16string message = wrapped(warning);
    message += u"\n\n";
    message += m_lang.text(ids::kCheckAnywayText).view();
    return m_view.ask(group.title, StrBuffer(message));
}

// --- Community rules -----------------------------------------------------------

void MainController::getCommunityRules()
{
    if (m_rulesBusy || m_state != State::Ready)
        return;
    m_rulesBusy = true;
    m_view.showStatus(s::app::kRulesDownloadingText);
    if (!m_rulesWorker)
        m_rulesWorker = std::make_unique<s::thread::win::Thread>();
    // The last download may still be returning from the call that posted its
    // outcome.
    m_rulesWorker->waitIdle();
    m_rulesDownload = std::make_unique<RulesDownload>();
    m_rulesDownload->address = s::app::rulesAddress(m_settings);
    m_rulesDownload->done = [this](s::app::RulesUpdateResult result) {
        // The texts in the language the window shows when it is done.
        m_view.post([this, result = std::move(result)] {
            rulesDownloaded(s::app::rulesUpdateMessage(result, m_lang),
                            result.outcome == s::app::RulesUpdateOutcome::Saved);
        });
    };
    m_rulesWorker->runOnce(m_rulesDownload.get());
}

void MainController::rulesDownloaded(const std::u16string& message, bool saved)
{
    m_rulesBusy = false;
    if (m_state == State::Ready)
        enterReadyState();
    m_view.showMessage(StrBuffer(message));
    // The new file's groups come with a new collect run; a clean started
    // meanwhile shows its own results first, and the next start reads the
    // file anyway.
    if (saved && m_state == State::Ready)
        collectAgain();
}

void MainController::collectAgain()
{
    if (!m_worker || m_runs.busy())
        return;
    // The checks as the user left them, read back by the collect run; the
    // rows let go of the records before the run gives them back.
    saveTargetState(targets(), m_settings, m_lock);
    m_list.setGroups({});
    enterCollecting();
    m_runs.submit(*m_worker, RunMode::Collect);
}

// --- Menus -------------------------------------------------------------------------

void MainController::command(int number)
{
    const int languages = m_lang.count();
    if (number >= 0 && number < languages) {
        m_lang.selectIndex(number);
        m_app.setLanguageSetting(m_lang.current()->engName().view());
        return;
    }
    if (number == languages) {
        m_app.openPage(ids::kTranslatePage);
        return;
    }
    switch (number) {
    case command::kKeepOnTop: {
        const bool on = !m_frame.keepOnTop();
        m_frame.setKeepOnTop(on);
        m_view.setKeepOnTop(on);
        m_menus.setMarked(command::kKeepOnTop, on);
        m_view.setOpacity(std::clamp(m_opacity, 0, 100), m_opacityOnlyOnTop);
        return;
    }
    case command::kCloseByMiddleClick: {
        const bool close = m_frame.middleClick() != s::app::win::MiddleClick::Close;
        m_frame.setMiddleClick(close ? s::app::win::MiddleClick::Close : s::app::win::MiddleClick::DoNothing);
        m_view.setMiddleClickClose(close);
        m_menus.setMarked(command::kCloseByMiddleClick, close);
        return;
    }
    case command::kSelectAll:
    case command::kDeselectAll:
        if (m_state == State::Ready) {
            m_list.setAllGroupsChecked(number == command::kSelectAll);
            checksChanged();
        }
        return;
    case command::kAddCustomTarget:
        if (m_state == State::Ready && openCustomEditor)
            openCustomEditor(nullptr);
        return;
    case command::kGetCommunityRules:
        getCommunityRules();
        return;
    case command::kKeepList:
        // The window reads and writes only the settings store, never the
        // records: it opens in any state.
        if (showKeepList)
            showKeepList();
        return;
    case command::kAlternateRows:
        m_useAlternateRowColor = !m_useAlternateRowColor;
        m_settings.setBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kUseAlternateRowColor,
                           m_useAlternateRowColor);
        m_view.setAlternateRows(m_useAlternateRowColor);
        m_menus.setMarked(command::kAlternateRows, m_useAlternateRowColor);
        return;
    case command::kExit:
        m_view.requestClose();
        return;
    case command::kVersionInformation:
        if (showVersionInformation)
            showVersionInformation();
        return;
    case command::kSoftwarePage:
        m_app.openPage(ids::kSoftwarePage);
        return;
    case command::kTellDevelopers:
        m_app.openPage(ids::kTellDevelopersPage);
        return;
    case command::kMoreSoftware:
        m_app.openPage(ids::kMoreSoftwarePage);
        return;
    case command::kWorkplace:
        m_app.openPage(ids::kWorkplacePage);
        return;
    case s::gui::drawer::SkinMenu::kSeeThumbnail:
        m_app.openPage(ids::kThumbnailPage);
        return;
    default:
        break;
    }
    if (number >= command::kFirstTransparency && number <= command::kLastTransparency && number % 10 == 0) {
        m_opacity = opacityOfCommand(number);
        m_settings.setS32(s::map::mainwindow::kViewSection, u"Transparency", m_opacity);
        m_settings.setBool(s::map::mainwindow::kViewSection, u"TransparencyOnlyOnTop", m_opacityOnlyOnTop);
        m_view.setOpacity(m_opacity, m_opacityOnlyOnTop);
        return;
    }
    if (const auto step = list::ListViewStep::fromCommand(list::kCellHeightFirstCommand, number); step.isSet()) {
        m_view.setCellHeight(step);
        m_settings.setS32(s::map::mainwindow::kViewSection, u"CellHeight", step.value());
        return;
    }
    if (const auto step = list::ListViewStep::fromCommand(list::kFontSizeFirstCommand, number); step.isSet()) {
        m_view.setFontSize(step);
        m_settings.setS32(s::map::mainwindow::kViewSection, s::map::mainwindow::kFontSize, step.value());
        return;
    }
    if (m_skinMenu && m_skinMenu->onCommand(number)) {
        if (s::gui::drawer::Skinner* skins = m_app.skins(); skins && skins->currentIndex() >= 0)
            m_app.setSkinSetting(skins->skinName(skins->currentIndex()).view());
    }
}

void MainController::languageChanged()
{
    switch (m_state) {
    case State::Ready:
        updateTotals();
        break;
    case State::Collecting:
        m_view.setCleanCaption(m_lang.text(ids::kCleanNowText));
        break;
    case State::Cleaning:
        m_view.setCleanCaption(m_lang.text(ids::kCancelCaption));
        break;
    case State::Canceling:
        m_view.setCleanCaption(m_lang.text(ids::kCancelingText));
        break;
    case State::Closed:
        break;
    }
    // The rows' titles follow the language; the tree changes only between
    // runs (a run reads the records on the worker).
    if (m_state == State::Ready)
        retitleRows();
    else
        m_retitle = true;
}

// --- Close -------------------------------------------------------------------------

bool MainController::close()
{
    m_runs.requestCancel();
    if (m_rulesDownload)
        m_rulesDownload->cancel = true;
    if (m_bootRun || m_saved)
        return true;
    m_state = State::Closed;
    m_view.storeGeometryAndHide();
    // From now on a new start opens a window of its own.
    s::platform::processes().markEnding();
    // The save reads the target tree, which a collect run still fills: it
    // waits for the worker first (a clean stops after its current target).
    if (m_worker)
        m_worker->waitIdle();
    m_saved = true;
    saveTargetState(targets(), m_settings, m_lock);
    const ColumnLayout columns = m_view.columns();
    storeColumnLayout(m_settings, columns.order, columns.widths);
    return true;
}

}  // namespace s::file::gui::dialogs::purgo
