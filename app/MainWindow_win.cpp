#include "app/MainWindow_win.h"

#include "app/BootRegistration.h"
#include "app/FrameOptions_win.h"
#include "app/MainMenus.h"
#include "app/MainWindowState.h"
#include "app/RowIcons_win.h"
#include "app/RulesUpdate.h"
#include "app/StartupRules.h"
#include "catalogue/Catalogue.h"
#include "catalogue/RuleGroups.h"
#include "catalogue/TargetState.h"
#include "engine/RunningPrograms.h"
#include "engine/TargetLocation.h"
#include "engine/Totals.h"
#include "gui/Skinner.h"
#include "gui/dialogs/FlexAsker_win.h"
#include "gui/dialogs/MessageBox_win.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "platform/LocalClock.h"
#include "platform/Network.h"

#include <algorithm>
#include <atomic>
#include <map>

namespace s::file::gui::dialogs::purgo {

namespace {

namespace list = s::gui::list;
using s::gui::Caption;
using s::str::strbuffer::StrBuffer;

constexpr char16_t kViewSection[] = u"MainWindow\\View";
constexpr int32_t kTitleText = 500000;
constexpr int32_t kCollectingText = 800000;
constexpr int32_t kCleaningText = 800200;
constexpr int32_t kCancelingText = 800400;
constexpr int32_t kCleanNowText = 900000;
constexpr int32_t kBootRunText = 901000;
constexpr int32_t kShowRelatedText = 902000;
constexpr int32_t kAddCustomText = 3000001;
constexpr int32_t kRemoveQuestion = 860111;
constexpr int32_t kTranslatePage = 108500;
constexpr int32_t kThumbnailPage = 500007;
constexpr int32_t kDamagedSettingsText = 2100101000;
constexpr int32_t kCheckAnywayText = 2100202000;
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

std::wstring wide(const StrBuffer& text)
{
    return s::gui::toWide(text.view());
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
struct RulesDownload final : s::thread::ITask {
    void run() override { done(s::app::updateRules(address, s::platform::network(), &cancel)); }

    std::u16string address;
    std::atomic<bool> cancel{false};
    // Called on the worker.
    std::function<void(s::app::RulesUpdateResult)> done;
};

Dialog::Dialog(s::app::win::AppBase& app, s::app::win::AppWindow& frame, HICON icon, TreeBuilder builder)
    : m_app(app), m_frame(frame), m_settings(app.settings()), m_lang(app.lang()), m_icon(icon),
      m_scale(s::app::win::scaleFactor()),
      m_runs(*this, app.lang(), app.settings(),
             builder ? std::move(builder) : TreeBuilder([this](std::vector<TimeRecord*>& groups) {
                 buildCatalogue(groups, m_lang, m_settings);
             })),
      m_menus(&app.lang()), m_skinSettings(app.settings()), m_collecting(m_window.painter(), &app.lang()),
      m_totalSize(m_window.painter()), m_totalOpen(m_window.painter()), m_totalCount(m_window.painter()),
      m_totalClose(m_window.painter()), m_status(m_window.painter(), &app.lang()), m_progress(m_window.painter()),
      m_plus(m_window.painter()), m_addCustom(m_window.painter()), m_showRelated(m_window.painter(), &app.lang()),
      m_clean(m_window.painter()), m_bootCheck(m_window.painter(), &app.lang())
{
    m_lang.addListener(this);
}

Dialog::~Dialog()
{
    m_runs.requestCancel();
    if (m_rulesDownload)
        m_rulesDownload->cancel = true;
    if (m_rulesWorker)
        m_rulesWorker->waitIdle();
    if (m_worker)
        m_worker->waitIdle();
    m_lang.removeListener(this);
    m_listView.destroy();
    m_window.destroy();
}

// --- Build -------------------------------------------------------------------

void Dialog::build(bool bootRun)
{
    m_bootRun = bootRun;
    if (s::gui::drawer::Skinner* skins = m_app.skins()) {
        m_skinMenu = std::make_unique<s::gui::drawer::SkinMenu>(*skins, m_skinSettings, s::platform::systemClock());
        s::gui::drawer::applyPeriodicChange(*skins, m_skinSettings, s::platform::systemClock());
    }
    m_opacity = m_settings.getS32(kViewSection, u"Transparency", 90);
    m_opacityOnlyOnTop = m_settings.getBool(kViewSection, u"TransparencyOnlyOnTop", false);
    buildMenus();
    m_showOnlyRelated = m_settings.getBool(kViewSection, u"ShowOnlyRelated", true);
    m_useAlternateRowColor = m_settings.getBool(kViewSection, u"UseAlternateRowColor", true);

    if (!createWindow())
        return;
    createElements();
    configureList();
    m_list.setFilter([this](const TimeRecord& group) { return !m_showOnlyRelated || isRelated(group); });
    m_list.setRunningNote([this](const TimeRecord& group) { return runningNote(group, m_lang); });

    if (m_bootRun) {
        m_runs.setStartupMode(true);
        m_runs.collectInformation();
        m_runs.cleanSelected();
        m_state = State::Closed;
        m_window.destroy();
    } else {
        m_collecting.show();
        setStatus(kCollectingText);
        EnableWindow(m_clean.hwnd(), FALSE);
        const auto placement = m_frame.geometry().placement(m_settings);
        SetWindowPos(m_window.hwnd(), nullptr, placement.rect.left, placement.rect.top, placement.rect.width,
                     placement.rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (placement.maximize)
            ShowWindow(m_window.hwnd(), SW_MAXIMIZE);
        m_window.show();
        m_worker = std::make_unique<s::thread::win::Thread>();
        m_runs.submit(*m_worker, RunMode::Collect);
        // The start found the settings file damaged and kept it aside before
        // writing the new one: say where, once, when the window is up and
        // its message loop runs (the box is modal; the list fills meanwhile).
        if (const StrBuffer copy = m_app.damagedSettingsCopy(); !copy.isEmpty()) {
            std::wstring text;
            for (wchar_t c : wide(m_lang.text(kDamagedSettingsText)))
                text += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
            text += L"\r\n\r\n" + wide(copy);
            post([this, text] {
                s::gui::dialogs::MessageBox box(m_app.skins(), m_scale);
                box.show(m_window.hwnd(), wide(m_lang.text(kTitleText)), text);
            });
        }
        // Asking the Task Scheduler starts its service on a cold machine:
        // the window is up and the list filling by then.
        const bool registered =
            s::app::win::isBootRunRegistered(s::app::win::bootEntryName(m_lang), s::app::win::osVersion());
        m_bootCheck.setState(registered ? s::gui::drawer::CheckState::checked : s::gui::drawer::CheckState::unchecked);
    }
    if (afterBuild)
        afterBuild(*this);
}

bool Dialog::createWindow()
{
    s::gui::FrameArgs args;
    args.caption = wide(m_lang.text(kTitleText));
    args.icon = m_icon;
    args.scale = m_scale;
    args.width = m_frame.width();
    args.height = m_frame.height();
    args.x = 0;
    args.y = 0;
    args.skins = m_app.skins();
    args.menus = &m_menus;
    s::app::win::applyFrameOptions(m_frame, args);
    args.opacity = std::clamp(m_opacity, 0, 100);
    args.opacityOnlyOnTop = m_opacityOnlyOnTop;
    m_window.onCommand = [this](int number) {
        command(number);
    };
    m_window.onClose = [this] {
        return close();
    };
    m_window.onLayout = [this](const RECT& content) {
        layout(content);
    };
    m_window.onEndSession = [this] {
        close();
    };
    // The message loop ends with the window; a boot run has none.
    m_window.onDestroyed = [this] {
        if (!m_bootRun)
            PostQuitMessage(0);
    };
    return m_window.create(args);
}

void Dialog::createElements()
{
    const HWND parent = m_window.hwnd();
    const int s = m_scale;
    s::gui::TargetListArgs listArgs;
    listArgs.parent = parent;
    listArgs.rows = &m_list;
    listArgs.painter = &m_window.painter();
    listArgs.columnTitle = [this](int32_t id) {
        return wide(m_lang.text(id));
    };
    auto icons = std::make_shared<s::app::win::RowIcons>(16 * s);
    listArgs.icon = [icons](std::u16string_view key) {
        return icons->get(key);
    };
    listArgs.alternateRows = m_useAlternateRowColor;
    const auto cellHeight = list::ListViewStep::fromStored(m_settings.getS32(
        kViewSection, u"CellHeight", list::defaultCellHeight(s::app::win::osVersion().major).value()));
    listArgs.cellHeight = cellHeight;
    listArgs.fontSize =
        list::ListViewStep::fromStored(m_settings.getS32(kViewSection, u"FontSize", list::kDefaultFontSize.value()));
    m_listView.create(listArgs);

    s::gui::OverlayPanel::Args panel;
    panel.parent = parent;
    panel.caption = Caption::language(kCollectingText);
    panel.width = 200 * s;
    panel.height = 40 * s;
    m_collecting.create(panel);
    m_collecting.hide();

    for (s::gui::Label* label : {&m_totalSize, &m_totalOpen, &m_totalCount, &m_totalClose, &m_status}) {
        s::gui::LabelArgs args;
        args.parent = parent;
        args.height = 16 * s;
        label->create(args);
    }
    s::gui::ProgressBar::Args bar;
    bar.parent = parent;
    bar.height = 16 * s;
    m_progress.create(bar);
    ShowWindow(m_progress.hwnd(), SW_HIDE);

    s::gui::PictureButton::Args plus;
    plus.parent = parent;
    plus.picture = s::gui::Picture::plus;
    plus.width = 14 * s;
    plus.height = 14 * s;
    m_plus.create(plus);
    m_plus.onClick = [this] {
        command(command::kAddCustomTarget);
    };

    s::gui::Button::Args add;
    add.parent = parent;
    add.text = wide(m_lang.text(kAddCustomText));
    m_addCustom.create(add);
    m_addCustom.onClick = [this] {
        command(command::kAddCustomTarget);
    };

    s::gui::CheckBox::Args related;
    related.parent = parent;
    related.caption = Caption::language(kShowRelatedText);
    related.state = m_showOnlyRelated ? s::gui::drawer::CheckState::checked : s::gui::drawer::CheckState::unchecked;
    m_showRelated.create(related);
    m_showRelated.onStateChanged = [this](s::gui::drawer::CheckState state) {
        setShowOnlyRelated(state == s::gui::drawer::CheckState::checked);
    };

    s::gui::Button::Args clean;
    clean.parent = parent;
    clean.text = wide(m_lang.text(kCleanNowText));
    m_clean.create(clean);
    m_clean.onClick = [this] {
        pressCleanButton();
    };

    s::gui::CheckBox::Args boot;
    boot.parent = parent;
    boot.caption = Caption::language(kBootRunText);
    m_bootCheck.create(boot);
    m_bootCheck.onStateChanged = [this](s::gui::drawer::CheckState state) {
        setBootRunChecked(state == s::gui::drawer::CheckState::checked);
    };

    relayout();
}

void Dialog::configureList()
{
    const ColumnLayout stored = readColumnLayout(m_settings, m_listView.columnCount());
    if (!stored.widths.empty())
        for (int i = 0; i < m_listView.columnCount(); ++i)
            m_listView.setColumnWidth(i, stored.widths[static_cast<std::size_t>(i)]);
    if (!stored.order.empty())
        m_listView.setColumnOrder(stored.order);
    m_listView.onCheckClicked = [this](int) {
        checksChanged();
    };
    m_list.setCheckQuestion([this](const TimeRecord& group) { return askBeforeChecking(group); });
    m_listView.onLinkPressed = [this](int row) {
        onLink(row);
    };
    m_listView.onDoubleClick = [this](int row) {
        onDoubleClick(row);
    };
    m_listView.onContextMenu = [this](int row, POINT screen) {
        onContextMenu(row, screen);
    };
}

void Dialog::buildMenus()
{
    ViewMenuState state;
    state.keepOnTop = m_frame.keepOnTop();
    state.closeByMiddleClick = m_frame.middleClick() == s::app::win::MiddleClick::Close;
    state.alternateRows = m_settings.getBool(kViewSection, u"UseAlternateRowColor", true);
    state.opacity = m_opacity;
    state.windowsMajorVersion = s::app::win::osVersion().major;
    state.cellHeight = list::ListViewStep::fromStored(
        m_settings.getS32(kViewSection, u"CellHeight", list::defaultCellHeight(state.windowsMajorVersion).value()));
    state.fontSize =
        list::ListViewStep::fromStored(m_settings.getS32(kViewSection, u"FontSize", list::kDefaultFontSize.value()));
    s::gui::menu::MenuItem skins;
    if (m_skinMenu) {
        skins = m_skinMenu->submenu();
        state.skinMenu = &skins;
    }
    buildMainMenus(m_menus, state, m_lang);
}

// --- Layout ------------------------------------------------------------------

void Dialog::relayout()
{
    const s::gui::Box content = m_window.layout().content();
    layout(RECT{content.left, content.top, content.right, content.bottom});
}

void Dialog::layout(const RECT& content)
{
    if (!m_clean.hwnd())
        return;
    const int s = m_scale;
    const int margin = 4 * s;
    const int left = content.left + margin;
    const int right = content.right - margin;
    const int width = std::max(0, right - left);
    const int boxHeight = 18 * s;
    const int buttonHeight = 24 * s;
    const int rowHeight = 18 * s;

    const int bootTop = content.bottom - margin - boxHeight;
    const int buttonTop = bootTop - 8 - buttonHeight;
    const int statusTop = buttonTop - 8 - rowHeight;
    const int listBottom = statusTop - 4 * s;
    const auto place = [](HWND window, int x, int y, int w, int h) {
        SetWindowPos(window, nullptr, x, y, std::max(0, w), std::max(0, h), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_listView.hwnd(), left, content.top + margin, width, listBottom - content.top - margin);
    RECT listRect{left, content.top + margin, right, listBottom};
    m_collecting.centreOn(listRect);

    // The status row: totals or the status text at the left, then the
    // progress bar, then "+", "Add Custom Target" and "Show only Related" at
    // the right.
    const SIZE relatedText = m_showRelated.textSize();
    const int relatedWidth = relatedText.cx + 24 * s;
    const int relatedLeft = right - relatedWidth;
    place(m_showRelated.hwnd(), relatedLeft, statusTop, relatedWidth, rowHeight);
    HDC dc = GetDC(m_addCustom.hwnd());
    SIZE addText{};
    HFONT old = static_cast<HFONT>(SelectObject(dc, m_window.painter().font()));
    const std::wstring addCaption = wide(m_lang.text(kAddCustomText));
    GetTextExtentPoint32W(dc, addCaption.c_str(), static_cast<int>(addCaption.size()), &addText);
    SelectObject(dc, old);
    ReleaseDC(m_addCustom.hwnd(), dc);
    const int addWidth = addText.cx + 16 * s;
    const int addLeft = relatedLeft - 10 * s - addWidth;
    place(m_addCustom.hwnd(), addLeft, statusTop, addWidth, rowHeight);
    const int plusLeft = addLeft - 2 * s - 14 * s;
    place(m_plus.hwnd(), plusLeft, statusTop + (rowHeight - 14 * s) / 2, 14 * s, 14 * s);

    int x = left;
    for (s::gui::Label* label : {&m_totalSize, &m_totalOpen, &m_totalCount, &m_totalClose}) {
        const int w = label->textSize().cx + 2 * s;
        place(label->hwnd(), x, statusTop + (rowHeight - 16 * s) / 2, w, 16 * s);
        x += w;
    }
    const int statusWidth = m_status.textSize().cx + 4 * s;
    place(m_status.hwnd(), left, statusTop + (rowHeight - 16 * s) / 2, statusWidth, 16 * s);
    const int textRight = m_totalsShown ? x : left + statusWidth;
    const int barLeft = textRight + 6 * s;
    place(m_progress.hwnd(), barLeft, statusTop + (rowHeight - 16 * s) / 2, plusLeft - 6 * s - barLeft, 16 * s);

    place(m_clean.hwnd(), left, buttonTop, width, buttonHeight);
    const SIZE bootText = m_bootCheck.textSize();
    place(m_bootCheck.hwnd(), left, bootTop, bootText.cx + 24 * s, boxHeight);
}

// --- Status row and button -------------------------------------------------

void Dialog::showTotals(bool on)
{
    m_totalsShown = on;
    for (s::gui::Label* label : {&m_totalSize, &m_totalOpen, &m_totalCount, &m_totalClose})
        ShowWindow(label->hwnd(), on ? SW_SHOWNA : SW_HIDE);
    ShowWindow(m_status.hwnd(), on ? SW_HIDE : SW_SHOWNA);
    relayout();
}

void Dialog::setStatus(int32_t textId)
{
    m_status.setCaption(Caption::language(textId));
    showTotals(false);
}

void Dialog::updateTotals()
{
    const Totals totals = computeTotals(targets());
    const StatusLabels labels = statusLabels(totals, m_lang);
    m_totalSize.setCaption(Caption::text(wide(labels.size)));
    m_totalOpen.setCaption(Caption::text(wide(labels.open)));
    m_totalCount.setCaption(Caption::text(wide(labels.count)));
    m_totalClose.setCaption(Caption::text(wide(labels.close)));
    SetWindowTextW(m_clean.hwnd(), wide(cleanButtonCaption(totals, m_lang)).c_str());
    EnableWindow(m_clean.hwnd(), TRUE);
    if (m_totalsShown)
        relayout();
}

void Dialog::enterReadyState()
{
    m_state = State::Ready;
    showTotals(true);
    updateTotals();
}

std::wstring Dialog::statusText() const
{
    if (m_totalsShown)
        return m_totalSize.text() + m_totalOpen.text() + m_totalCount.text() + m_totalClose.text();
    return m_status.text();
}

std::wstring Dialog::cleanButtonText() const
{
    wchar_t text[512] = {};
    GetWindowTextW(m_clean.hwnd(), text, 512);
    return text;
}

bool Dialog::bootRunChecked() const
{
    return m_bootCheck.state() == s::gui::drawer::CheckState::checked;
}

// --- Runs ----------------------------------------------------------------------

void Dialog::post(std::function<void()> work)
{
    if (auto queue = m_window.closures())
        queue->post(std::move(work));
}

void Dialog::collectStarted()
{
}

void Dialog::addRow(TimeRecord& group)
{
    post([this, &group] { m_list.insertGroup(&group, m_list.rowCount()); });
}

void Dialog::collectFinished(const Totals&)
{
    post([this] {
        // Every group, shown or not, so that "Show only Related" can list the
        // others later; the rows keep the catalogue's order.
        m_list.setGroups(targets());
        m_collecting.hide();
        enterReadyState();
    });
}

void Dialog::cleanStarted(const StrBuffer&, const StrBuffer& buttonCaption, int groupCount)
{
    const std::wstring caption = wide(buttonCaption);
    post([this, caption, groupCount] {
        m_state = State::Cleaning;
        setStatus(kCleaningText);
        SetWindowTextW(m_clean.hwnd(), caption.c_str());
        EnableWindow(m_clean.hwnd(), TRUE);
        EnableWindow(m_listView.hwnd(), FALSE);
        m_progress.setRange(0, std::max(1, groupCount));
        m_progress.setPosition(0);
        ShowWindow(m_progress.hwnd(), SW_SHOWNA);
    });
}

void Dialog::cleanProgress(int position)
{
    post([this, position] {
        m_progress.setPosition(position + 1);
        auto& groups = targets();
        if (position >= 0 && position < static_cast<int>(groups.size()))
            m_list.refresh(*groups[static_cast<std::size_t>(position)]);
    });
}

void Dialog::showResult(const StrBuffer& message)
{
    std::wstring text = wide(message);
    post([this, text] {
        s::gui::dialogs::MessageBox box(m_app.skins(), m_scale);
        box.show(m_window.hwnd(), wide(m_lang.text(kTitleText)), text);
    });
}

void Dialog::cleanFinished(const Totals&)
{
    post([this] {
        ShowWindow(m_progress.hwnd(), SW_HIDE);
        EnableWindow(m_listView.hwnd(), TRUE);
        for (TimeRecord* group : targets())
            m_list.refresh(*group);
        enterReadyState();
    });
}

void Dialog::pressCleanButton()
{
    switch (m_state) {
    case State::Ready:
        if (!m_runs.busy() && m_worker)
            m_runs.submit(*m_worker, RunMode::Clean);
        break;
    case State::Cleaning:
        m_state = State::Canceling;
        SetWindowTextW(m_clean.hwnd(), wide(m_lang.text(kCancelingText)).c_str());
        m_runs.requestCancel();
        break;
    default:
        break;
    }
}

// --- List --------------------------------------------------------------------

void Dialog::checksChanged()
{
    if (m_state == State::Ready)
        updateTotals();
}

bool Dialog::askBeforeChecking(const TimeRecord& group)
{
    const std::u16string warning = groupWarning(group, m_lang);
    if (warning.empty())
        return true;
    std::u16string message = wrapped(warning);
    message += u"\n\n";
    message += m_lang.text(kCheckAnywayText).view();
    s::gui::dialogs::FlexAsker asker(m_lang, m_app.skins(), m_scale);
    asker.setShowDontAsk(false);
    return asker.ask(m_window.hwnd(), wide(group.title), s::gui::toWide(message)) && asker.answer();
}

// --- Community rules ---------------------------------------------------------

void Dialog::getCommunityRules()
{
    // One download at a time, and none while a run changes the tree.
    if (m_rulesBusy || m_state != State::Ready)
        return;
    m_rulesBusy = true;
    setStatus(s::app::kRulesDownloadingText);
    if (!m_rulesWorker)
        m_rulesWorker = std::make_unique<s::thread::win::Thread>();
    // The last download may still be returning from the call that posted its
    // outcome.
    m_rulesWorker->waitIdle();
    m_rulesDownload = std::make_unique<RulesDownload>();
    m_rulesDownload->address = s::app::rulesAddress(m_settings);
    m_rulesDownload->done = [this](s::app::RulesUpdateResult result) {
        // The texts in the language the window shows when it is done.
        post([this, result = std::move(result)] {
            rulesDownloaded(s::app::rulesUpdateMessage(result, m_lang),
                            result.outcome == s::app::RulesUpdateOutcome::Saved);
        });
    };
    m_rulesWorker->runOnce(m_rulesDownload.get());
}

void Dialog::rulesDownloaded(const std::u16string& message, bool saved)
{
    m_rulesBusy = false;
    if (m_state == State::Ready)
        enterReadyState();
    s::gui::dialogs::MessageBox box(m_app.skins(), m_scale);
    box.show(m_window.hwnd(), wide(m_lang.text(kTitleText)), s::gui::toWide(message));
    // The new file's groups come with a new collect run; a clean started
    // meanwhile shows its own results first, and the next start reads the
    // file anyway.
    if (saved && m_state == State::Ready)
        collectAgain();
}

void Dialog::collectAgain()
{
    if (!m_worker || m_runs.busy())
        return;
    // The checks as the user left them, read back by the collect run; the
    // rows let go of the records before the run gives them back.
    saveTargetState(targets(), m_settings, m_lock);
    m_list.setGroups({});
    m_state = State::Collecting;
    m_collecting.show();
    setStatus(kCollectingText);
    EnableWindow(m_clean.hwnd(), FALSE);
    m_runs.submit(*m_worker, RunMode::Collect);
}

void Dialog::lookUp(const TimeRecord& target)
{
    LookUpTexts texts;
    texts.caption = m_lang.text(kTitleText);
    purgo::lookUp(target, texts);
}

void Dialog::onLink(int row)
{
    const TimeRecord* node = m_list.record(row);
    if (!node)
        return;
    if (node->isGroup())
        m_list.toggleExpanded(row);
    else if (m_list.isLink(row))
        lookUp(*node);
}

void Dialog::onDoubleClick(int row)
{
    const TimeRecord* node = m_list.record(row);
    if (node && !node->isGroup() && m_list.isLink(row))
        lookUp(*node);
}

void Dialog::onContextMenu(int row, POINT screen)
{
    if (m_state == State::Cleaning || m_state == State::Canceling)
        return;
    s::gui::menu::MenuModel model(&m_lang);
    s::gui::menu::MenuItem& menu = model.add(listContextMenu(factsOf(m_list, row)));
    s::gui::menu::MenuBinding binding(model);
    const int chosen = binding.track(menu, m_window.hwnd(), screen);
    if (chosen >= 0)
        rowCommand(chosen, row);
}

void Dialog::rowCommand(int number, int row)
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
    case command::kModify:
        if (node->isGroup() && node->custom && openCustomEditor)
            openCustomEditor(*this, node);
        break;
    case command::kRemove:
        if (node->isGroup() && node->custom)
            removeCustomGroup(row);
        break;
    default:
        break;
    }
}

void Dialog::removeCustomGroup(int row)
{
    s::gui::dialogs::FlexAsker asker(m_lang, m_app.skins(), m_scale);
    asker.setShowDontAsk(false);
    if (!asker.ask(m_window.hwnd(), wide(m_lang.text(kTitleText)), wide(m_lang.text(kRemoveQuestion))) ||
        !asker.answer())
        return;
    purgo::removeCustomGroup(targets(), m_list, m_list.record(row));
    checksChanged();
}

void Dialog::addNewRecord(const TimeRecord& record)
{
    addCustomGroup(targets(), m_list, record.clone());
    checksChanged();
}

void Dialog::modifyRecord(const TimeRecord& record)
{
    replaceCustomGroup(targets(), m_list, record.clone());
    checksChanged();
}

void Dialog::setShowOnlyRelated(bool on)
{
    m_showOnlyRelated = on;
    if (m_showRelated.hwnd())
        m_showRelated.setState(on ? s::gui::drawer::CheckState::checked : s::gui::drawer::CheckState::unchecked);
    if (m_state != State::Collecting) {
        s::gui::DrawingSuspended quiet(m_listView);
        m_list.applyFilter();
    }
    m_settings.setBool(kViewSection, u"ShowOnlyRelated", on);
}

void Dialog::setBootRunChecked(bool on)
{
    if (m_bootCheck.hwnd())
        m_bootCheck.setState(on ? s::gui::drawer::CheckState::checked : s::gui::drawer::CheckState::unchecked);
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

// --- Menus -------------------------------------------------------------------

void Dialog::openAddress(int32_t textId)
{
    m_app.openPage(textId);
}

void Dialog::command(int number)
{
    const int languages = m_lang.count();
    if (number >= 0 && number < languages) {
        m_lang.selectIndex(number);
        m_app.setLanguageSetting(m_lang.current()->engName().view());
        return;
    }
    if (number == languages) {
        openAddress(kTranslatePage);
        return;
    }
    switch (number) {
    case command::kKeepOnTop: {
        const bool on = !m_frame.keepOnTop();
        m_frame.setKeepOnTop(on);
        m_window.setKeepOnTop(on);
        m_menus.setMarked(command::kKeepOnTop, on);
        m_window.setOpacity(std::clamp(m_opacity, 0, 100), m_opacityOnlyOnTop);
        return;
    }
    case command::kCloseByMiddleClick: {
        const bool close = m_frame.middleClick() != s::app::win::MiddleClick::Close;
        m_frame.setMiddleClick(close ? s::app::win::MiddleClick::Close : s::app::win::MiddleClick::DoNothing);
        m_window.setMiddleClickAction(close ? s::gui::MiddleClickAction::close : s::gui::MiddleClickAction::doNothing);
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
        if (openCustomEditor)
            openCustomEditor(*this, nullptr);
        return;
    case command::kGetCommunityRules:
        getCommunityRules();
        return;
    case command::kAlternateRows:
        m_useAlternateRowColor = !m_useAlternateRowColor;
        m_settings.setBool(kViewSection, u"UseAlternateRowColor", m_useAlternateRowColor);
        m_listView.setAlternateRows(m_useAlternateRowColor);
        m_menus.setMarked(command::kAlternateRows, m_useAlternateRowColor);
        return;
    case command::kExit:
        SendMessageW(m_window.hwnd(), WM_CLOSE, 0, 0);
        return;
    case command::kVersionInformation:
        if (showVersionInformation)
            showVersionInformation(*this);
        return;
    case command::kSoftwarePage:
        openAddress(500003);
        return;
    case command::kTellDevelopers:
        openAddress(500004);
        return;
    case command::kMoreSoftware:
        openAddress(108000);
        return;
    case command::kWorkplace:
        openAddress(108200);
        return;
    case s::gui::drawer::SkinMenu::kSeeThumbnail:
        openAddress(kThumbnailPage);
        return;
    default:
        break;
    }
    if (number >= command::kFirstTransparency && number <= command::kLastTransparency && number % 10 == 0) {
        m_opacity = opacityOfCommand(number);
        m_settings.setS32(kViewSection, u"Transparency", m_opacity);
        m_settings.setBool(kViewSection, u"TransparencyOnlyOnTop", m_opacityOnlyOnTop);
        m_window.setOpacity(m_opacity, m_opacityOnlyOnTop);
        return;
    }
    if (const auto step = list::ListViewStep::fromCommand(list::kCellHeightFirstCommand, number); step.isSet()) {
        m_listView.setCellHeight(step);
        m_settings.setS32(kViewSection, u"CellHeight", step.value());
        return;
    }
    if (const auto step = list::ListViewStep::fromCommand(list::kFontSizeFirstCommand, number); step.isSet()) {
        m_listView.setFontSize(step);
        m_settings.setS32(kViewSection, u"FontSize", step.value());
        return;
    }
    if (m_skinMenu && m_skinMenu->onCommand(number)) {
        if (s::gui::drawer::Skinner* skins = m_app.skins(); skins && skins->currentIndex() >= 0)
            m_app.setSkinSetting(skins->skinName(skins->currentIndex()).view());
    }
}

void Dialog::onEvent(s::base::IObject* source, int)
{
    if (source != static_cast<s::base::IObject*>(&m_lang) || !m_window.hwnd())
        return;
    m_window.setCaption(wide(m_lang.text(kTitleText)));
    m_listView.updateColumnTitles();
    SetWindowTextW(m_addCustom.hwnd(), wide(m_lang.text(kAddCustomText)).c_str());
    switch (m_state) {
    case State::Ready:
        updateTotals();
        break;
    case State::Collecting:
        SetWindowTextW(m_clean.hwnd(), wide(m_lang.text(kCleanNowText)).c_str());
        break;
    case State::Cleaning:
        SetWindowTextW(m_clean.hwnd(), wide(m_lang.text(800300)).c_str());
        break;
    case State::Canceling:
        SetWindowTextW(m_clean.hwnd(), wide(m_lang.text(kCancelingText)).c_str());
        break;
    case State::Closed:
        break;
    }
    for (TimeRecord* group : targets())
        m_list.refresh(*group);
    relayout();
}

// --- Close -------------------------------------------------------------------

void Dialog::storeGeometry()
{
    s::app::win::storeFrameGeometry(m_frame, m_window.hwnd(), m_settings);
}

bool Dialog::close()
{
    m_runs.requestCancel();
    if (m_rulesDownload)
        m_rulesDownload->cancel = true;
    if (m_bootRun || m_saved)
        return true;
    m_state = State::Closed;
    storeGeometry();
    m_window.hide();
    // The save reads the target tree, which a collect run still fills: it
    // waits for the worker first (a clean stops after its current target).
    if (m_worker)
        m_worker->waitIdle();
    saveOnClose();
    return true;
}

void Dialog::saveOnClose()
{
    m_saved = true;
    saveTargetState(targets(), m_settings, m_lock);
    std::vector<int> widths;
    for (int i = 0; i < m_listView.columnCount(); ++i)
        widths.push_back(m_listView.columnWidth(i));
    storeColumnLayout(m_settings, m_listView.columnOrder(), widths);
}

void Dialog::runMessageLoop()
{
    MSG message;
    while (m_window.hwnd() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace s::file::gui::dialogs::purgo
