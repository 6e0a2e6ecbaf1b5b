#include "app/keep/KeepListWindow_win.h"

#include "app/items/DateText_win.h"
#include "app/start/FrameOptions_win.h"
#include "app/start/StartupRules.h"
#include "app/start/TitleButtonNames_win.h"
#include "base/WideText.h"
#include "gui/Button_win.h"
#include "gui/CheckBox_win.h"
#include "gui/GdiHandles_win.h"
#include "gui/Label_win.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/TargetListView_win.h"
#include "gui/TextBox_win.h"
#include "gui/dialogs/FileDialogs_win.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "settings/MainWindowView.h"

#include <shlobj.h>

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

void show(HWND window, bool on)
{
    if (window)
        ShowWindow(window, on ? SW_SHOWNA : SW_HIDE);
}

// The table's button texts may come with spaces around them.
std::wstring trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \xA0");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \xA0") - first + 1);
}

std::wstring desktopFolder()
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, path)) ? path
                                                                                                  : std::wstring();
}

int64_t now()
{
    return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace

// One set of controls per opening; the frame first, so that it goes last.
struct KeepListWindow::Controls {
    explicit Controls(s::lang::Localizer& lang)
        : addFile(frame.painter()), addFolder(frame.painter()), addPattern(frame.painter()),
          addRegistry(frame.painter()), remove(frame.painter()), firstLabel(frame.painter(), &lang),
          first(frame.painter()), browse(frame.painter()), secondLabel(frame.painter(), &lang), second(frame.painter()),
          defaultValue(frame.painter(), &lang), ok(frame.painter()), cancel(frame.painter())
    {
    }

    s::gui::SkinnedFrame frame;
    s::gui::TargetListView list;
    s::gui::Button addFile;
    s::gui::Button addFolder;
    s::gui::Button addPattern;
    s::gui::Button addRegistry;
    s::gui::Button remove;
    // The form of "Add Pattern..." and "Add Registry...".
    s::gui::Label firstLabel;
    s::gui::TextBox first;
    s::gui::Button browse;
    s::gui::Label secondLabel;
    s::gui::TextBox second;
    // "Add Registry..." only: an empty Value Name already means the whole
    // key, so the key's unnamed value needs a mark of its own.
    s::gui::CheckBox defaultValue;
    s::gui::Button ok;
    s::gui::Button cancel;
};

KeepListWindow::KeepListWindow(s::app::win::AppBase& app)
    : m_app(app), m_scale(s::app::win::displayScale()),
      m_frame(s::app::win::AppWindow::keepListWindow(m_scale, app.settings())), m_model(app.settings()), m_rows(m_model)
{
    m_rows.dateText = localDateTimeText;
}

KeepListWindow::~KeepListWindow()
{
    if (isOpen())
        SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    m_controls.reset();
}

bool KeepListWindow::isOpen() const
{
    return m_controls && m_controls->frame.hwnd();
}

HWND KeepListWindow::hwnd() const
{
    return m_controls ? m_controls->frame.hwnd() : nullptr;
}

std::wstring KeepListWindow::text(int32_t id) const
{
    return s::str::toWide(m_app.lang().text(id).view());
}

void KeepListWindow::reload()
{
    m_model.reload();
    m_rows.modelChanged();
}

bool KeepListWindow::open(HWND owner)
{
    std::array<std::u16string, 5> names;
    for (std::size_t t = 0; t < names.size(); ++t)
        names[t] = m_app.lang().text(ids::kKeepFirstTypeText + static_cast<int32_t>(t) * 1000).toU16String();
    m_model.setTypeNames(names);
    m_model.setDefaultValueName(m_app.lang().text(ids::kKeepDefaultValueName).toU16String());
    reload();
    if (isOpen()) {
        SetForegroundWindow(hwnd());
        return true;
    }
    m_controls.reset();
    m_owner = owner && IsWindow(owner) ? owner : nullptr;
    m_form = Form::None;
    if (!createWindow()) {
        m_controls.reset();
        return false;
    }
    m_controls->frame.show();
    SetFocus(m_controls->list.hwnd());
    return true;
}

bool KeepListWindow::createWindow()
{
    m_controls = std::make_unique<Controls>(m_app.lang());
    const auto placement = m_frame.geometry().placement(m_app.settings());
    s::gui::FrameArgs args;
    args.caption = text(ids::kKeepListWindowText);
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
    relayout();
    return true;
}

void KeepListWindow::createControls()
{
    Controls& c = *m_controls;
    const HWND parent = c.frame.hwnd();

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

    const auto button = [&](s::gui::Button& control, int32_t id, std::function<void()> onClick) {
        s::gui::Button::Args args;
        args.parent = parent;
        args.text = trimmed(text(id));
        control.create(args);
        control.onClick = std::move(onClick);
    };
    button(c.addFile, ids::kKeepAddFileText, [this] { addFile(); });
    button(c.addFolder, ids::kKeepAddFolderText, [this] { addFolder(); });
    button(c.addPattern, ids::kKeepAddPatternText, [this] { showForm(Form::Pattern); });
    button(c.addRegistry, ids::kKeepAddRegistryText, [this] { showForm(Form::Registry); });
    button(c.remove, ids::kEditorRemoveText, [this] { removeMarked(); });

    s::gui::LabelArgs label;
    label.parent = parent;
    label.caption = s::gui::Caption::language(ids::kEditorFolderLabel);
    c.firstLabel.create(label);
    label.caption = s::gui::Caption::language(ids::kKeepPatternLabel);
    c.secondLabel.create(label);
    s::gui::TextBox::Args box;
    box.parent = parent;
    c.first.create(box);
    c.second.create(box);
    s::gui::CheckBox::Args check;
    check.parent = parent;
    check.caption = s::gui::Caption::language(ids::kKeepDefaultValueText);
    c.defaultValue.create(check);
    c.defaultValue.onStateChanged = [this](s::gui::drawer::CheckState state) {
        EnableWindow(m_controls->second.hwnd(), state != s::gui::drawer::CheckState::Checked);
    };
    button(c.browse, ids::kEditorBrowseText, [this] { browse(); });
    button(c.ok, ids::kEditorOkText, [this] { confirmForm(); });
    button(c.cancel, ids::kEditorCancelText, [this] { showForm(Form::None); });
    for (HWND window : {c.firstLabel.hwnd(), c.first.hwnd(), c.browse.hwnd(), c.secondLabel.hwnd(), c.second.hwnd(),
                        c.defaultValue.hwnd(), c.ok.hwnd(), c.cancel.hwnd()})
        show(window, false);
}

void KeepListWindow::relayout()
{
    if (!m_controls || !m_controls->frame.hwnd())
        return;
    const s::gui::Box content = m_controls->frame.layout().content();
    layout(RECT{content.left, content.top, content.right, content.bottom});
}

// From the top: the list; the form's two rows when it shows; the buttons
// along the bottom, the adds at the left and Remove at the right.
void KeepListWindow::layout(const RECT& content)
{
    if (!m_controls || !m_controls->cancel.hwnd())
        return;
    Controls& c = *m_controls;
    const s::gui::Scale s = m_scale;
    const int margin = 5 * s;
    const int gap = 4 * s;
    const int row = 20 * s;
    const int buttonHeight = 23 * s;
    const int left = content.left + margin;
    const int right = content.right - margin;
    const int top = content.top + margin;
    const int bottom = content.bottom - margin;

    s::gui::WindowDc dc(c.frame.hwnd());
    const auto width = [&](const s::gui::Button& button) {
        wchar_t caption[256] = {};
        GetWindowTextW(button.hwnd(), caption, 256);
        return static_cast<int>(c.frame.painter().measureText(dc.get(), caption).cx) + 16 * s;
    };

    const int buttonsTop = bottom - buttonHeight;
    int x = left;
    for (s::gui::Button* button : {&c.addFile, &c.addFolder, &c.addPattern, &c.addRegistry}) {
        const int w = width(*button);
        place(button->hwnd(), x, buttonsTop, w, buttonHeight);
        x += w + gap;
    }
    const int removeWidth = width(c.remove);
    place(c.remove.hwnd(), right - removeWidth, buttonsTop, removeWidth, buttonHeight);

    int listBottom = buttonsTop - gap;
    if (m_form != Form::None) {
        const int secondTop = buttonsTop - gap - buttonHeight;
        const int firstTop = secondTop - gap - buttonHeight;
        const int labelWidth =
            static_cast<int>(std::max(c.firstLabel.preferredSize().cx, c.secondLabel.preferredSize().cx)) + 2 * s;
        const int boxLeft = left + labelWidth + gap;
        const int boxOffset = (buttonHeight - row) / 2;
        place(c.firstLabel.hwnd(), left, firstTop + boxOffset + 3 * s, labelWidth, row - 3 * s);
        place(c.secondLabel.hwnd(), left, secondTop + boxOffset + 3 * s, labelWidth, row - 3 * s);

        const int browseWidth = m_form == Form::Pattern ? width(c.browse) : 0;
        place(c.browse.hwnd(), right - browseWidth, firstTop, browseWidth, buttonHeight);
        place(c.first.hwnd(), boxLeft, firstTop + boxOffset, right - boxLeft - (browseWidth ? browseWidth + gap : 0),
              row);

        const int cancelWidth = width(c.cancel);
        const int okWidth = std::max(width(c.ok), cancelWidth);
        place(c.cancel.hwnd(), right - okWidth, secondTop, okWidth, buttonHeight);
        place(c.ok.hwnd(), right - 2 * okWidth - gap, secondTop, okWidth, buttonHeight);
        int boxRight = right - 2 * okWidth - 2 * gap;
        if (m_form == Form::Registry) {
            const int checkWidth = static_cast<int>(c.defaultValue.preferredSize().cx) + 4 * s;
            boxRight -= checkWidth + gap;
            place(c.defaultValue.hwnd(), boxRight + gap, secondTop, checkWidth, buttonHeight);
        }
        place(c.second.hwnd(), boxLeft, secondTop + boxOffset, boxRight - boxLeft, row);
        listBottom = firstTop - gap;
    }
    place(c.list.hwnd(), left, top, right - left, listBottom - top);
}

void KeepListWindow::showForm(Form form)
{
    m_form = form;
    if (!isOpen())
        return;
    Controls& c = *m_controls;
    const bool on = form != Form::None;
    if (on) {
        c.firstLabel.setCaption(
            s::gui::Caption::language(form == Form::Pattern ? ids::kEditorFolderLabel : ids::kEditorKeyLabel));
        c.secondLabel.setCaption(
            s::gui::Caption::language(form == Form::Pattern ? ids::kKeepPatternLabel : ids::kEditorValueLabel));
        c.first.setText(L"");
        c.second.setText(L"");
        c.defaultValue.setState(s::gui::drawer::CheckState::Unchecked);
        EnableWindow(c.second.hwnd(), TRUE);
    }
    for (HWND window :
         {c.firstLabel.hwnd(), c.first.hwnd(), c.secondLabel.hwnd(), c.second.hwnd(), c.ok.hwnd(), c.cancel.hwnd()})
        show(window, on);
    show(c.browse.hwnd(), form == Form::Pattern);
    show(c.defaultValue.hwnd(), form == Form::Registry);
    relayout();
    InvalidateRect(c.frame.hwnd(), nullptr, TRUE);
    SetFocus(on ? c.first.hwnd() : c.list.hwnd());
}

UserKeepList::Added KeepListWindow::confirmForm()
{
    if (!isOpen() || m_form == Form::None)
        return UserKeepList::Added::Invalid;
    Controls& c = *m_controls;
    const std::u16string first = utf16(c.first.text());
    const std::u16string second = utf16(c.second.text());
    const UserKeepList::Added result =
        m_form == Form::Pattern
            ? m_model.addPattern(first, second, now())
            : m_model.addRegistry(first, second, now(),
                                  c.defaultValue.isChecked() ? KeepListModel::RegistryPart::DefaultValue
                                                             : KeepListModel::RegistryPart::Named);
    if (result == UserKeepList::Added::Invalid) {
        // Nothing the list can keep: the boxes stay as typed.
        MessageBeep(MB_ICONWARNING);
        SetFocus(c.first.hwnd());
        return result;
    }
    showForm(Form::None);
    changed(result);
    return result;
}

void KeepListWindow::changed(UserKeepList::Added result)
{
    m_rows.modelChanged(m_model.rowOf(m_model.lastAdded()));
    if (result == UserKeepList::Added::Added && onChanged)
        onChanged();
}

void KeepListWindow::addFile()
{
    s::gui::dialogs::FileDialogArgs args;
    args.parent = hwnd();
    args.filters.push_back({trimmed(text(ids::kAllFilesFilter)), L"*.*;"});
    args.startFolder = desktopFolder();
    const std::optional<std::wstring> chosen = s::gui::dialogs::chooseFile(args);
    if (chosen)
        changed(m_model.addFile(utf16(*chosen), now()));
}

void KeepListWindow::addFolder()
{
    s::gui::dialogs::FileDialogArgs args;
    args.parent = hwnd();
    args.startFolder = desktopFolder();
    const std::optional<std::wstring> chosen = s::gui::dialogs::chooseFolder(args);
    if (chosen)
        changed(m_model.addFolder(utf16(*chosen), now()));
}

void KeepListWindow::browse()
{
    s::gui::dialogs::FileDialogArgs args;
    args.parent = hwnd();
    const std::wstring current = m_controls->first.text();
    args.startFolder = current.empty() ? desktopFolder() : current;
    const std::optional<std::wstring> chosen = s::gui::dialogs::chooseFolder(args);
    if (chosen)
        m_controls->first.setText(*chosen);
}

std::size_t KeepListWindow::removeMarked()
{
    const std::size_t removed = m_model.removeMarked(m_rows.selected());
    m_rows.modelChanged();
    if (removed > 0 && onChanged)
        onChanged();
    return removed;
}

HWND KeepListWindow::control(Control which) const
{
    if (!m_controls)
        return nullptr;
    const Controls& c = *m_controls;
    switch (which) {
    case Control::List:
        return c.list.hwnd();
    case Control::AddFile:
        return c.addFile.hwnd();
    case Control::AddFolder:
        return c.addFolder.hwnd();
    case Control::AddPattern:
        return c.addPattern.hwnd();
    case Control::AddRegistry:
        return c.addRegistry.hwnd();
    case Control::Remove:
        return c.remove.hwnd();
    case Control::FirstBox:
        return c.first.hwnd();
    case Control::DefaultValue:
        return c.defaultValue.hwnd();
    case Control::SecondBox:
        return c.second.hwnd();
    case Control::Browse:
        return c.browse.hwnd();
    case Control::Ok:
        return c.ok.hwnd();
    case Control::Cancel:
        return c.cancel.hwnd();
    }
    return nullptr;
}

}  // namespace s::file::gui::dialogs::purgo
