#include "app/main/MainWindow_win.h"

#include "app/main/MainMenus.h"
#include "app/main/RowIcons_win.h"
#include "app/start/FrameOptions_win.h"
#include "app/start/StartupRules.h"
#include "app/start/TitleButtonNames_win.h"
#include "base/WideText.h"
#include "gui/LineLayout.h"
#include "gui/MenuBinding_win.h"
#include "gui/dialogs/FlexAsker_win.h"
#include "gui/dialogs/MessageBox_win.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"

#include <algorithm>
#include <array>

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {

namespace list = s::gui::list;
using s::gui::Caption;
using s::str::strbuffer::StrBuffer;

s::gui::drawer::CheckState checkStateOf(bool on)
{
    return on ? s::gui::drawer::CheckState::Checked : s::gui::drawer::CheckState::Unchecked;
}

}  // namespace

Dialog::Dialog(s::app::win::AppBase& app, s::app::win::AppWindow& frame, HICON icon, TreeBuilder builder)
    : m_app(app), m_frame(frame), m_lang(app.lang()), m_icon(icon), m_scale(s::app::win::displayScale()),
      m_controller(*this, app, frame, std::move(builder)), m_collecting(m_window.painter(), &app.lang()),
      m_totalSize(m_window.painter()), m_totalOpen(m_window.painter()), m_totalCount(m_window.painter()),
      m_totalClose(m_window.painter()), m_status(m_window.painter(), &app.lang()), m_progress(m_window.painter()),
      m_plus(m_window.painter()), m_addCustom(m_window.painter()), m_showRelated(m_window.painter(), &app.lang()),
      m_clean(m_window.painter()), m_bootCheck(m_window.painter(), &app.lang())
{
    m_lang.addListener(this);
    m_controller.openCustomEditor = [this](const TimeRecord* group) {
        if (openCustomEditor)
            openCustomEditor(*this, group);
    };
    m_controller.showVersionInformation = [this] {
        if (showVersionInformation)
            showVersionInformation(*this);
    };
    m_controller.showItems = [this](TimeRecord& row) {
        if (showItems)
            showItems(*this, row);
    };
    m_controller.showKeepList = [this] {
        if (showKeepList)
            showKeepList(*this);
    };
}

Dialog::~Dialog()
{
    m_controller.stop();
    m_lang.removeListener(this);
    m_listView.destroy();
    m_window.destroy();
}

// --- Build -------------------------------------------------------------------

void Dialog::build(bool bootRun)
{
    m_bootRun = bootRun;
    m_controller.loadOptions(bootRun);
    if (!createWindow())
        return;
    createElements();
    configureList();

    if (m_bootRun) {
        m_controller.runBoot();
        m_window.destroy();
    } else {
        m_controller.enterCollecting();
        const auto placement = m_frame.geometry().placement(m_app.settings());
        SetWindowPos(m_window.hwnd(), nullptr, placement.rect.left, placement.rect.top, placement.rect.width,
                     placement.rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (placement.maximize)
            ShowWindow(m_window.hwnd(), SW_MAXIMIZE);
        m_window.show();
        // The list has the keyboard from the start: arrows, Space and
        // type-ahead work without a click first.
        SetFocus(m_listView.hwnd());
        m_controller.startCollect();
    }
    if (afterBuild)
        afterBuild(*this);
}

bool Dialog::createWindow()
{
    s::gui::FrameArgs args;
    args.caption = s::str::toWide(m_lang.text(ids::kProductName));
    args.icon = m_icon;
    args.smallIcon = m_smallIcon;
    args.scale = m_scale;
    args.width = m_frame.width();
    args.height = m_frame.height();
    args.x = 0;
    args.y = 0;
    args.skins = m_app.skins();
    args.menus = &m_controller.menus();
    s::app::win::applyFrameOptions(m_frame, args);
    args.opacity = std::clamp(m_controller.opacity(), 0, 100);
    args.opacityOnlyOnTop = m_controller.opacityOnlyOnTop();
    m_window.onCommand = [this](int number) {
        m_controller.command(number);
    };
    m_window.onClose = [this] {
        return m_controller.close();
    };
    m_window.onLayout = [this](const RECT& content) {
        layout(content);
    };
    // A skin change repaints the frame and its children; the list's empty
    // area takes its colour from the list's own background.
    m_window.onSkinChanged = [this] {
        m_listView.skinChanged();
    };
    // On a screen of another density the controls take the new scale
    // themselves; the layout that follows uses it.
    m_window.onScaleChanged = [this](s::gui::Scale) {
        m_scale = m_window.painter().scale();
    };
    // The geometry as it changes: a window closed while maximised or
    // minimised still finds its last normal rectangle stored.
    m_window.onShownChanged = [this](s::gui::Shown now, s::gui::Shown before, const RECT& normal) {
        s::app::win::storeShownChange(m_frame, m_app.settings(), now, before, normal);
    };
    m_window.onEndSession = [this] {
        m_controller.close();
    };
    // The message loop ends with the window; a boot run has none.
    m_window.onDestroyed = [this] {
        if (!m_bootRun)
            PostQuitMessage(0);
    };
    return m_window.create(args);
}

void Dialog::nameTitleButtons()
{
    m_window.setButtonNames(s::app::win::titleButtonNames(m_lang));
}

void Dialog::createElements()
{
    nameTitleButtons();
    const HWND parent = m_window.hwnd();
    const s::gui::Scale s = m_scale;
    s::gui::TargetListArgs listArgs;
    listArgs.parent = parent;
    listArgs.id = kList;
    listArgs.rows = &m_controller.list();
    listArgs.painter = &m_window.painter();
    listArgs.columnTitle = [this](int32_t id) {
        return s::str::toWide(m_lang.text(id));
    };
    m_icons = std::make_shared<s::app::win::RowIcons>(16 * s);
    listArgs.icon = [icons = m_icons](std::u16string_view key) {
        return icons->get(key);
    };
    listArgs.alternateRows = m_controller.alternateRows();
    listArgs.cellHeight = m_controller.cellHeight();
    listArgs.fontSize = m_controller.fontSize();
    m_listView.create(listArgs);

    s::gui::OverlayPanel::Args panel;
    panel.parent = parent;
    panel.caption = Caption::language(ids::kCollectingText);
    panel.width = 200 * s;
    panel.height = 40 * s;
    m_collecting.create(panel);
    m_collecting.hide();

    for (auto [label, id] : {std::pair{&m_totalSize, kTotalSize}, std::pair{&m_totalOpen, kTotalOpen},
                             std::pair{&m_totalCount, kTotalCount}, std::pair{&m_totalClose, kTotalClose},
                             std::pair{&m_status, kStatus}}) {
        s::gui::LabelArgs args;
        args.parent = parent;
        args.height = 16 * s;
        args.id = id;
        label->create(args);
    }
    s::gui::ProgressBar::Args bar;
    bar.parent = parent;
    bar.id = kProgress;
    bar.height = 16 * s;
    m_progress.create(bar);
    ShowWindow(m_progress.hwnd(), SW_HIDE);

    s::gui::PictureButton::Args plus;
    plus.parent = parent;
    plus.id = kPlus;
    plus.picture = s::gui::Picture::plus;
    // Screen readers name the picture by what it does.
    plus.accessibleName = s::str::toWide(m_lang.text(ids::kAddCustomText));
    plus.width = 14 * s;
    plus.height = 14 * s;
    m_plus.create(plus);
    m_window.toolTips().setControlTip(m_plus.hwnd(), s::str::toWide(m_lang.text(ids::kAddCustomText)));
    m_plus.onClick = [this] {
        m_controller.command(command::kAddCustomTarget);
    };

    s::gui::Button::Args add;
    add.parent = parent;
    add.id = kAddCustom;
    add.text = s::str::toWide(m_lang.text(ids::kAddCustomText));
    m_addCustom.create(add);
    m_addCustom.onClick = [this] {
        m_controller.command(command::kAddCustomTarget);
    };

    s::gui::CheckBox::Args related;
    related.parent = parent;
    related.id = kShowRelated;
    related.caption = Caption::language(ids::kShowRelatedText);
    related.state = checkStateOf(m_controller.showOnlyRelated());
    m_showRelated.create(related);
    m_showRelated.onStateChanged = [this](s::gui::drawer::CheckState state) {
        m_controller.setShowOnlyRelated(state == s::gui::drawer::CheckState::Checked);
    };

    s::gui::Button::Args clean;
    clean.parent = parent;
    clean.id = kClean;
    clean.text = s::str::toWide(m_lang.text(ids::kCleanNowText));
    m_clean.create(clean);
    m_clean.onClick = [this] {
        m_controller.pressCleanButton();
    };

    s::gui::CheckBox::Args boot;
    boot.parent = parent;
    boot.id = kBootRun;
    boot.caption = Caption::language(ids::kBootRunText);
    m_bootCheck.create(boot);
    m_bootCheck.onStateChanged = [this](s::gui::drawer::CheckState state) {
        m_controller.setBootRun(state == s::gui::drawer::CheckState::Checked);
    };

    relayout();
}

void Dialog::configureList()
{
    const ColumnLayout stored = readColumnLayout(m_app.settings(), m_listView.columnCount());
    if (!stored.widths.empty())
        for (int i = 0; i < m_listView.columnCount(); ++i)
            m_listView.setColumnWidth(i, stored.widths[static_cast<std::size_t>(i)]);
    if (!stored.order.empty())
        m_listView.setColumnOrder(stored.order);
    m_listView.onCheckClicked = [this](int) {
        m_controller.checksChanged();
    };
    m_listView.onLinkPressed = [this](int row) {
        m_controller.onLink(row);
    };
    m_listView.onDoubleClick = [this](int row) {
        // A double click on the Found cell opens the row's items; on any
        // other cell it does what it always did. The ListView reports the
        // row only: the cell is found where the click was.
        const DWORD at = GetMessagePos();
        LVHITTESTINFO hit{};
        hit.pt = POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ScreenToClient(m_listView.hwnd(), &hit.pt);
        SendMessageW(m_listView.hwnd(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem == row && hit.iSubItem == static_cast<int>(s::gui::list::Column::Found))
            m_controller.showItemsOf(row);
        else
            m_controller.onDoubleClick(row);
    };
    m_listView.onContextMenu = [this](int row, POINT screen) {
        onContextMenu(row, screen);
    };
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
    using s::gui::Axis;
    using s::gui::Box;
    using s::gui::ItemSize;
    using s::gui::LineAlign;
    using s::gui::LineLayout;
    const s::gui::Scale s = m_scale;
    const auto item = [](SIZE size) {
        return ItemSize{static_cast<int>(size.cx), static_cast<int>(size.cy)};
    };
    // A control already where it belongs is not moved: a move that changes
    // nothing still costs the control a round of position messages.
    const auto place = [](HWND window, const Box& box) {
        const int width = std::max(0, box.width());
        const int height = std::max(0, box.height());
        RECT now{};
        GetWindowRect(window, &now);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
        if (now.left == box.left && now.top == box.top && now.right - now.left == width &&
            now.bottom - now.top == height)
            return;
        SetWindowPos(window, nullptr, box.left, box.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };

    // From the bottom up: the boot row, 8 pixels, the button row, 8 pixels,
    // the status row, a gap, and the list over all that is left. The rows'
    // heights are fixed; widths come from each control's own text.
    const int margin = 4 * s;
    const Box area{content.left + margin, content.top + margin, content.right - margin, content.bottom - margin};
    const int rowHeight = 18 * s;
    const int buttonHeight = 24 * s;
    const Box bootRow{area.left, area.bottom - rowHeight, area.right, area.bottom};
    const Box buttonRow{area.left, bootRow.top - 8 - buttonHeight, area.right, bootRow.top - 8};
    const Box statusRow{area.left, buttonRow.top - 8 - rowHeight, area.right, buttonRow.top - 8};
    const Box listArea{area.left, area.top, area.right, statusRow.top - 4 * s};

    place(m_listView.hwnd(), listArea);
    m_collecting.centreOn(RECT{listArea.left, listArea.top, listArea.right, listArea.bottom});
    place(m_clean.hwnd(), buttonRow);
    LineLayout boot(Axis::row, 0);
    boot.add(item(m_bootCheck.preferredSize()));
    place(m_bootCheck.hwnd(), boot.place(bootRow, LineAlign::start, LineAlign::stretch)[0]);

    // The status row's right end: "+" beside "Add Custom Target", then
    // "Show only Related".
    LineLayout adding(Axis::row, 2 * s);
    adding.add(item(m_plus.preferredSize()));
    adding.add(ItemSize{static_cast<int>(m_addCustom.preferredSize().cx), rowHeight});
    LineLayout right(Axis::row, 10 * s);
    right.add(adding.preferred());
    right.add(ItemSize{static_cast<int>(m_showRelated.preferredSize().cx), rowHeight});
    const std::vector<Box> rightBoxes = right.place(statusRow, LineAlign::end, LineAlign::stretch);
    const std::vector<Box> addingBoxes = adding.place(rightBoxes[0], LineAlign::start, LineAlign::centre);
    place(m_plus.hwnd(), addingBoxes[0]);
    place(m_addCustom.hwnd(), Box{addingBoxes[1].left, statusRow.top, addingBoxes[1].right, statusRow.bottom});
    place(m_showRelated.hwnd(), rightBoxes[1]);

    // Its left end: the four totals labels one after another, or the
    // status text; then the progress bar up to the right end.
    const int labelHeight = 16 * s;
    const std::array<s::gui::Label*, 4> labels{&m_totalSize, &m_totalOpen, &m_totalCount, &m_totalClose};
    LineLayout totals(Axis::row, 0);
    for (s::gui::Label* label : labels)
        totals.add(ItemSize{static_cast<int>(label->preferredSize().cx) + 2 * s, labelHeight});
    const std::vector<Box> totalBoxes = totals.place(statusRow, LineAlign::start, LineAlign::centre);
    for (std::size_t i = 0; i < labels.size(); ++i)
        place(labels[i]->hwnd(), totalBoxes[i]);
    LineLayout status(Axis::row, 0);
    status.add(ItemSize{static_cast<int>(m_status.preferredSize().cx) + 4 * s, labelHeight});
    const Box statusBox = status.place(statusRow, LineAlign::start, LineAlign::centre)[0];
    place(m_status.hwnd(), statusBox);
    const int textRight = m_totalsShown ? totalBoxes.back().right : statusBox.right;
    place(m_progress.hwnd(), Box{textRight + 6 * s, statusBox.top, addingBoxes[0].left - 6 * s, statusBox.bottom});
}

// --- Status row and button -------------------------------------------------

void Dialog::showTotalsRow(bool on, bool laidOut)
{
    m_totalsShown = on;
    for (s::gui::Label* label : {&m_totalSize, &m_totalOpen, &m_totalCount, &m_totalClose})
        ShowWindow(label->hwnd(), on ? SW_SHOWNA : SW_HIDE);
    ShowWindow(m_status.hwnd(), on ? SW_HIDE : SW_SHOWNA);
    if (laidOut)
        relayout();
}

void Dialog::showStatus(int32_t textId)
{
    m_status.setCaption(Caption::language(textId));
    showTotalsRow(false);
}

void Dialog::showTotals(const StatusLabels& labels)
{
    // The row is laid out once, with its new texts.
    if (!m_totalsShown)
        showTotalsRow(true, false);
    m_totalSize.setCaption(Caption::text(s::str::toWide(labels.size)));
    m_totalOpen.setCaption(Caption::text(s::str::toWide(labels.open)));
    m_totalCount.setCaption(Caption::text(s::str::toWide(labels.count)));
    m_totalClose.setCaption(Caption::text(s::str::toWide(labels.close)));
    relayout();
}

void Dialog::setCleanCaption(const StrBuffer& caption)
{
    SetWindowTextW(m_clean.hwnd(), s::str::toWide(caption).c_str());
}

void Dialog::setCleanEnabled(bool on)
{
    EnableWindow(m_clean.hwnd(), on ? TRUE : FALSE);
}

void Dialog::setListEnabled(bool on)
{
    EnableWindow(m_listView.hwnd(), on ? TRUE : FALSE);
}

void Dialog::setEditingEnabled(bool on)
{
    EnableWindow(m_plus.hwnd(), on ? TRUE : FALSE);
    EnableWindow(m_addCustom.hwnd(), on ? TRUE : FALSE);
}

void Dialog::showCollecting(bool on)
{
    if (on)
        m_collecting.show();
    else
        m_collecting.hide();
}

void Dialog::showProgress(int range)
{
    m_progress.setRange(0, range);
    m_progress.setPosition(0);
    ShowWindow(m_progress.hwnd(), SW_SHOWNA);
}

void Dialog::setProgress(int position)
{
    m_progress.setPosition(position);
}

void Dialog::hideProgress()
{
    ShowWindow(m_progress.hwnd(), SW_HIDE);
}

void Dialog::showMessage(const StrBuffer& text)
{
    s::gui::dialogs::MessageBox box(m_app.skins(), m_scale);
    box.show(m_window.hwnd(), s::str::toWide(m_lang.text(ids::kProductName)), s::str::toWide(text));
}

bool Dialog::ask(const StrBuffer& title, const StrBuffer& question)
{
    s::gui::dialogs::FlexAsker asker(m_lang, m_app.skins(), m_scale);
    asker.setShowDontAsk(false);
    return asker.ask(m_window.hwnd(), s::str::toWide(title), s::str::toWide(question)) && asker.answer();
}

void Dialog::setShowRelatedChecked(bool on)
{
    if (m_showRelated.hwnd())
        m_showRelated.setState(checkStateOf(on));
}

void Dialog::setBootRunChecked(bool on)
{
    if (m_bootCheck.hwnd())
        m_bootCheck.setState(checkStateOf(on));
}

void Dialog::changeRowsQuietly(const std::function<void()>& change)
{
    s::gui::DrawingSuspended quiet(m_listView);
    change();
}

// --- The view options ------------------------------------------------------------

void Dialog::setKeepOnTop(bool on)
{
    m_window.setKeepOnTop(on);
}

void Dialog::setMiddleClickClose(bool close)
{
    m_window.setMiddleClickAction(close ? s::gui::MiddleClickAction::close : s::gui::MiddleClickAction::doNothing);
}

void Dialog::setOpacity(int percent, bool onlyOnTop)
{
    m_window.setOpacity(percent, onlyOnTop);
}

void Dialog::setAlternateRows(bool on)
{
    m_listView.setAlternateRows(on);
}

void Dialog::setCellHeight(list::ListViewStep step)
{
    m_listView.setCellHeight(step);
}

void Dialog::setFontSize(list::ListViewStep step)
{
    m_listView.setFontSize(step);
}

// --- Runs and list -------------------------------------------------------------

void Dialog::post(std::function<void()> work)
{
    if (auto queue = m_window.closures())
        queue->post(std::move(work));
}

void Dialog::loadRowIcon(std::u16string_view iconSpec)
{
    if (m_icons)
        m_icons->get(iconSpec);
}

void Dialog::onContextMenu(int row, POINT screen)
{
    s::gui::menu::MenuModel model(&m_lang);
    s::gui::menu::MenuItem* menu = m_controller.contextMenu(row, model);
    if (!menu)
        return;
    s::gui::menu::MenuBinding binding(model);
    const int chosen = binding.track(*menu, m_window.hwnd(), screen);
    if (chosen >= 0)
        m_controller.rowCommand(chosen, row);
}

void Dialog::onEvent(s::base::IObject* source, int)
{
    if (source != static_cast<s::base::IObject*>(&m_lang) || !m_window.hwnd())
        return;
    m_window.setCaption(s::str::toWide(m_lang.text(ids::kProductName)));
    m_listView.updateColumnTitles();
    SetWindowTextW(m_addCustom.hwnd(), s::str::toWide(m_lang.text(ids::kAddCustomText)).c_str());
    SetWindowTextW(m_plus.hwnd(), s::str::toWide(m_lang.text(ids::kAddCustomText)).c_str());
    m_window.toolTips().setControlTip(m_plus.hwnd(), s::str::toWide(m_lang.text(ids::kAddCustomText)));
    nameTitleButtons();
    m_controller.languageChanged();
    // The labels and check boxes take the new language from their own
    // listeners, which may hear of it after this one: the layout measures
    // their texts once every listener has run.
    post([this] { relayout(); });
}

// --- Close -------------------------------------------------------------------

void Dialog::requestClose()
{
    SendMessageW(m_window.hwnd(), WM_CLOSE, 0, 0);
}

void Dialog::storeGeometryAndHide()
{
    s::app::win::storeFrameGeometry(m_frame, m_window.hwnd(), m_app.settings());
    m_window.hide();
}

ColumnLayout Dialog::columns() const
{
    ColumnLayout layout;
    layout.order = m_listView.columnOrder();
    for (int i = 0; i < m_listView.columnCount(); ++i)
        layout.widths.push_back(m_listView.columnWidth(i));
    return layout;
}

void Dialog::runMessageLoop()
{
    MSG message;
    while (m_window.hwnd() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Alt, F10 and the middle click of every frame of this thread
        // (the editor's and the version window's too).
        if (s::gui::SkinnedFrame::translate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace s::file::gui::dialogs::purgo
