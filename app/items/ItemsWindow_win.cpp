#include "app/items/ItemsWindow_win.h"

#include "app/items/DateText_win.h"
#include "app/start/FrameOptions_win.h"
#include "app/start/StartupRules.h"
#include "app/start/TitleButtonNames_win.h"
#include "base/WideText.h"
#include "catalogue/KeepListStore.h"
#include "gui/Button_win.h"
#include "gui/GdiHandles_win.h"
#include "gui/Label_win.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/TargetListView_win.h"
#include "gui/TextBox_win.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "settings/MainWindowView.h"

#include <algorithm>
#include <ctime>

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {

std::u16string utf16(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}

void place(HWND window, int x, int y, int w, int h)
{
    if (window)
        SetWindowPos(window, nullptr, x, y, std::max(0, w), std::max(0, h), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The table's button texts may come with spaces around them.
std::wstring trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \xA0");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \xA0") - first + 1);
}

}  // namespace

// One set of controls per opening; the frame first, so that it goes last.
struct ItemsWindow::Controls {
    explicit Controls(s::lang::Localizer& lang)
        : filterLabel(frame.painter(), &lang), filter(frame.painter()), keep(frame.painter())
    {
    }

    s::gui::SkinnedFrame frame;
    s::gui::Label filterLabel;
    s::gui::TextBox filter;
    s::gui::TargetListView list;
    s::gui::Button keep;
};

ItemsWindow::ItemsWindow(s::app::win::AppBase& app)
    : m_app(app), m_scale(s::app::win::displayScale()),
      m_frame(s::app::win::AppWindow::itemsWindow(m_scale, app.settings()))
{
    m_rows.timeText = localFileTimeText;
}

ItemsWindow::~ItemsWindow()
{
    if (isOpen())
        SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    m_controls.reset();
}

bool ItemsWindow::isOpen() const
{
    return m_controls && m_controls->frame.hwnd();
}

HWND ItemsWindow::hwnd() const
{
    return m_controls ? m_controls->frame.hwnd() : nullptr;
}

std::wstring ItemsWindow::text(int32_t id) const
{
    return s::str::toWide(m_app.lang().text(id).view());
}

bool ItemsWindow::open(HWND owner, TimeRecord& row)
{
    const std::wstring caption = text(ids::kItemsWindowText) + L" - " + s::str::toWide(row.title.view());
    // The listing is read before any window changes: the row's records may
    // go with the next collect, the copies stay.
    std::vector<ListedItem> items = listRowItems(row);
    if (isOpen()) {
        m_controls->frame.setCaption(caption);
        m_controls->filter.setText(L"");
        m_rows.setItems(std::move(items));
        SetForegroundWindow(hwnd());
        return true;
    }
    m_controls.reset();
    m_owner = owner && IsWindow(owner) ? owner : nullptr;
    m_rows.setItems(std::move(items));
    if (!createWindow(caption)) {
        m_controls.reset();
        return false;
    }
    m_controls->frame.show();
    SetFocus(m_controls->list.hwnd());
    return true;
}

bool ItemsWindow::createWindow(const std::wstring& caption)
{
    m_controls = std::make_unique<Controls>(m_app.lang());
    const auto placement = m_frame.geometry().placement(m_app.settings());
    s::gui::FrameArgs args;
    args.caption = caption;
    args.owner = m_owner;
    args.scale = m_scale;
    args.x = placement.rect.left;
    args.y = placement.rect.top;
    args.width = placement.rect.width;
    args.height = placement.rect.height;
    args.skins = m_app.skins();
    s::app::win::applyFrameOptions(m_frame, args);
    s::gui::SkinnedFrame& frame = m_controls->frame;
    frame.onClose = [this] {
        s::app::win::storeFrameGeometry(m_frame, m_controls->frame.hwnd(), m_app.settings());
        // The owner gets the activation back, not another program's window.
        if (m_owner && IsWindow(m_owner) && GetActiveWindow() == m_controls->frame.hwnd())
            SetActiveWindow(m_owner);
        return true;
    };
    frame.onLayout = [this](const RECT& content) {
        layout(content);
    };
    // On a screen of another density the controls take the new scale
    // themselves; the layout that follows uses it.
    frame.onScaleChanged = [this](s::gui::Scale) {
        m_scale = m_controls->frame.painter().scale();
    };
    // The list must stop listening before its rows outlive it.
    frame.onDestroyed = [this] {
        m_rows.setListener(nullptr);
    };
    // The list's own background and its scroll bars' theme follow the skin.
    frame.onSkinChanged = [this] {
        m_controls->list.skinChanged();
    };
    if (!frame.create(args))
        return false;
    frame.setButtonNames(s::app::win::titleButtonNames(m_app.lang()));
    createControls();
    const s::gui::Box content = frame.layout().content();
    layout(RECT{content.left, content.top, content.right, content.bottom});
    return true;
}

void ItemsWindow::createControls()
{
    Controls& c = *m_controls;
    const HWND parent = c.frame.hwnd();

    s::gui::LabelArgs label;
    label.parent = parent;
    label.caption = s::gui::Caption::language(ids::kItemsFilterLabel);
    c.filterLabel.create(label);

    s::gui::TextBox::Args filter;
    filter.parent = parent;
    c.filter.create(filter);
    c.filter.onChanged = [this] {
        m_rows.setFilter(utf16(m_controls->filter.text()));
    };

    s::gui::TargetListArgs list;
    list.parent = parent;
    list.rows = &m_rows;
    list.painter = &c.frame.painter();
    list.columnTitle = [this](int32_t id) {
        return text(id);
    };
    list.alternateRows =
        m_app.settings().getBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kUseAlternateRowColor, true);
    list.cellHeight = s::gui::list::ListViewStep::fromStored(-2);
    list.fontSize = s::gui::list::ListViewStep::fromStored(m_app.settings().getS32(
        s::map::mainwindow::kViewSection, s::map::mainwindow::kFontSize, s::gui::list::kDefaultFontSize.value()));
    c.list.create(list);

    s::gui::Button::Args keep;
    keep.parent = parent;
    keep.text = trimmed(text(ids::kKeepUncheckedText));
    c.keep.create(keep);
    c.keep.onClick = [this] {
        keepUnchecked();
    };
}

// From the top: the filter row, the list; the button at the bottom right.
void ItemsWindow::layout(const RECT& content)
{
    if (!m_controls || !m_controls->keep.hwnd())
        return;
    Controls& c = *m_controls;
    const s::gui::Scale s = m_scale;
    const int margin = 5 * s;
    const int gap = 4 * s;
    const int row = 20 * s;
    const int left = content.left + margin;
    const int right = content.right - margin;
    const int top = content.top + margin;
    const int bottom = content.bottom - margin;

    s::gui::WindowDc dc(c.frame.hwnd());
    const int labelWidth = static_cast<int>(c.filterLabel.preferredSize().cx) + 2 * s;
    place(c.filterLabel.hwnd(), left, top + 3 * s, labelWidth, row - 3 * s);
    place(c.filter.hwnd(), left + labelWidth + gap, top, right - left - labelWidth - gap, row);

    wchar_t caption[256] = {};
    GetWindowTextW(c.keep.hwnd(), caption, 256);
    const int buttonWidth = static_cast<int>(c.frame.painter().measureText(dc.get(), caption).cx) + 16 * s;
    const int buttonHeight = 23 * s;
    place(c.keep.hwnd(), right - buttonWidth, bottom - buttonHeight, buttonWidth, buttonHeight);

    const int listTop = top + row + gap;
    place(c.list.hwnd(), left, listTop, right - left, bottom - buttonHeight - gap - listTop);
}

std::size_t ItemsWindow::keepUnchecked()
{
    if (m_rows.model().uncheckedCount() == 0)
        return 0;
    UserKeepList list = readKeepList(m_app.settings());
    const std::size_t added = m_rows.model().keepUnchecked(list, static_cast<int64_t>(std::time(nullptr)));
    if (added > 0)
        writeKeepList(list, m_app.settings());
    // What is kept now goes from the list: the clean leaves it.
    std::vector<ListedItem> remaining;
    for (const ListedItem& item : m_rows.model().items())
        if (item.checked)
            remaining.push_back(item);
    m_rows.setItems(std::move(remaining));
    if (onKept)
        onKept();
    return added;
}

HWND ItemsWindow::control(Control which) const
{
    if (!m_controls)
        return nullptr;
    switch (which) {
    case Control::Filter:
        return m_controls->filter.hwnd();
    case Control::List:
        return m_controls->list.hwnd();
    case Control::Keep:
        return m_controls->keep.hwnd();
    }
    return nullptr;
}

}  // namespace s::file::gui::dialogs::purgo
