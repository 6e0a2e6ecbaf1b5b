#include "app/editor/Custom_win.h"

#include "app/main/RowIcons_win.h"
#include "app/start/FrameOptions_win.h"
#include "app/start/StartupRules.h"
#include "app/start/TitleButtonNames_win.h"
#include "base/TextFormat.h"
#include "base/WideText.h"
#include "engine/TargetLocation.h"
#include "gui/Button_win.h"
#include "gui/CheckBox_win.h"
#include "gui/DropDownList_win.h"
#include "gui/GdiHandles_win.h"
#include "gui/Label_win.h"
#include "gui/LineLayout.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/TargetListView_win.h"
#include "gui/TextBox_win.h"
#include "gui/dialogs/FileDialogs_win.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "settings/MainWindowView.h"

#include <shlobj.h>

#include <algorithm>
#include <array>
#include <optional>

namespace s::file::gui::dialogs {

namespace ids = s::lang::ids;

namespace {

using s::gui::Caption;

constexpr std::size_t kTypes = kEditorTypeCount + 1;  // indexed by type; [0] unused

std::size_t indexOf(EditorType type)
{
    return static_cast<std::size_t>(type);
}

std::u16string utf16(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}

int32_t pathLabelOf(EditorType type)
{
    return type == EditorType::File ? ids::kEditorFileLabel
           : isFolderType(type)     ? ids::kEditorFolderLabel
                                    : ids::kEditorKeyLabel;
}

std::wstring desktopFolder()
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, path)) ? path
                                                                                                  : std::wstring();
}

// The table's button texts come with spaces around them (plain and
// no-break), which a small window cannot spare: the button centres its text
// anyway.
std::wstring buttonText(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \xA0");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \xA0") - first + 1);
}

void place(HWND window, int x, int y, int w, int h)
{
    if (window)
        SetWindowPos(window, nullptr, x, y, std::max(0, w), std::max(0, h), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog keys while an editor is open. The window has no message loop of
// its own (the owner's runs it), so a thread hook sees its messages before
// they are dispatched: Tab and Shift+Tab move the focus between the controls
// (the group box lets Tab into its own), Enter presses a focused button,
// Escape closes the window as Cancel does. One editor is open at a time.
HHOOK g_keyHook = nullptr;
HWND g_keyWindow = nullptr;

bool handleDialogKey(MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !g_keyWindow || !IsWindowEnabled(g_keyWindow) ||
        (msg.hwnd != g_keyWindow && !IsChild(g_keyWindow, msg.hwnd)))
        return false;
    wchar_t name[16] = {};
    GetClassNameW(msg.hwnd, name, 16);
    const bool inCombo = std::wstring_view(name) == L"ComboBox" || std::wstring_view(name) == L"ComboLBox";
    switch (msg.wParam) {
    case VK_TAB: {
        if (GetKeyState(VK_CONTROL) < 0)
            return false;
        if (HWND next = GetNextDlgTabItem(g_keyWindow, GetFocus(), GetKeyState(VK_SHIFT) < 0))
            SetFocus(next);
        return true;
    }
    case VK_RETURN: {
        HWND focus = GetFocus();
        wchar_t focusClass[16] = {};
        GetClassNameW(focus, focusClass, 16);
        if (std::wstring_view(focusClass) != L"Button")
            return false;
        // BM_CLICK goes the way of a real click: BN_CLICKED, reflected to
        // the button's onClick (or the check box's).
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    case VK_ESCAPE:
        // A dropped list closes first, as in any dialog.
        if (inCombo && SendMessageW(std::wstring_view(name) == L"ComboBox" ? msg.hwnd : GetParent(msg.hwnd),
                                    CB_GETDROPPEDSTATE, 0, 0))
            return false;
        PostMessageW(g_keyWindow, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK keyHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION && wp == PM_REMOVE) {
        MSG& msg = *reinterpret_cast<MSG*>(lp);
        if (handleDialogKey(msg))
            msg.message = WM_NULL;
    }
    return CallNextHookEx(g_keyHook, code, wp, lp);
}

void watchKeys(HWND window)
{
    g_keyWindow = window;
    if (!g_keyHook)
        g_keyHook = SetWindowsHookExW(WH_GETMESSAGE, keyHook, nullptr, GetCurrentThreadId());
}

void stopWatchingKeys()
{
    if (g_keyHook)
        UnhookWindowsHookEx(g_keyHook);
    g_keyHook = nullptr;
    g_keyWindow = nullptr;
}

}  // namespace

// One set of controls per opening; the frame first, so that it goes last.
struct Custom::Controls {
    explicit Controls(s::lang::Localizer& lang)
        : titleLabel(frame.painter(), &lang), descriptionLabel(frame.painter(), &lang), title(frame.painter()),
          description(frame.painter()), itemsLabel(frame.painter(), &lang), remove(frame.painter()),
          box(frame.painter(), &lang), typeLabel(frame.painter(), &lang), type(frame.painter()),
          extensionLabel(frame.painter(), &lang), extension(frame.painter()), subFolders(frame.painter(), &lang),
          valueLabel(frame.painter(), &lang), value(frame.painter()), warning(frame.painter(), &lang),
          testFind(frame.painter()), apply(frame.painter()), add(frame.painter()), counts(frame.painter()),
          items(frame.painter()), ok(frame.painter()), cancel(frame.painter())
    {
        for (std::size_t t = 1; t < kTypes; ++t) {
            pathLabels[t] = std::make_unique<s::gui::Label>(frame.painter(), &lang);
            paths[t] = std::make_unique<s::gui::TextBox>(frame.painter());
            if (t <= indexOf(EditorType::Extension))
                browse[t] = std::make_unique<s::gui::Button>(frame.painter());
        }
    }

    s::gui::SkinnedFrame frame;
    std::unique_ptr<s::app::win::RowIcons> icons;
    s::gui::Label titleLabel;
    s::gui::Label descriptionLabel;
    s::gui::TextBox title;
    s::gui::TextBox description;
    s::gui::Label itemsLabel;
    s::gui::TargetListView list;
    s::gui::Button remove;
    s::gui::GroupBox box;
    s::gui::Label typeLabel;
    s::gui::DropDownList type;
    std::array<std::unique_ptr<s::gui::Label>, kTypes> pathLabels;
    std::array<std::unique_ptr<s::gui::TextBox>, kTypes> paths;
    std::array<std::unique_ptr<s::gui::Button>, kTypes> browse;
    s::gui::Label extensionLabel;
    s::gui::TextBox extension;
    s::gui::CheckBox subFolders;
    s::gui::Label valueLabel;
    s::gui::TextBox value;
    s::gui::Label warning;
    s::gui::Button testFind;
    s::gui::Button apply;
    s::gui::Button add;
    // What Test-Find Matches found: the counts, then the first items.
    s::gui::Label counts;
    s::gui::Label items;
    s::gui::Button ok;
    s::gui::Button cancel;
};

Custom::Custom(s::app::win::AppBase& app)
    : m_app(app), m_scale(s::app::win::displayScale()),
      m_frame(s::app::win::AppWindow::customTargetWindow(m_scale, app.settings())), m_editor(app.settings(), app.lang())
{
}

Custom::~Custom()
{
    if (isOpen())
        SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    m_controls.reset();
    m_editor.close();
}

bool Custom::isOpen() const
{
    return m_controls && m_controls->frame.hwnd();
}

HWND Custom::hwnd() const
{
    return m_controls ? m_controls->frame.hwnd() : nullptr;
}

std::wstring Custom::text(int32_t id) const
{
    return s::str::toWide(m_app.lang().text(id).view());
}

// --- Opening ---------------------------------------------------------------------

bool Custom::openEditor(HWND owner, const TimeRecord* group, Send send)
{
    if (isOpen())
        return false;
    // The last opening's controls go first: their list still listens to the
    // editor's rows.
    m_controls.reset();
    m_owner = owner && IsWindow(owner) ? owner : nullptr;
    m_send = std::move(send);
    m_editor.open(group);
    if (!createWindow(group)) {
        m_controls.reset();
        m_editor.close();
        return false;
    }
    // Disabled before the editor shows, as a dialog box does: no click can
    // reach the owner in between.
    if (m_owner)
        EnableWindow(m_owner, FALSE);
    m_controls->frame.show();
    SetFocus(m_controls->title.hwnd());
    watchKeys(hwnd());
    return true;
}

bool Custom::createWindow(const TimeRecord* group)
{
    m_controls = std::make_unique<Controls>(m_app.lang());
    const auto placement = m_frame.geometry().placement(m_app.settings());
    s::gui::FrameArgs args;
    args.caption = text(group ? ids::kModifyCustomText : ids::kAddCustomText);
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
        return closing();
    };
    frame.onLayout = [this](const RECT& content) {
        layout(content);
    };
    // On a screen of another density the controls take the new scale
    // themselves; the layout that follows uses it.
    frame.onScaleChanged = [this](s::gui::Scale) {
        m_scale = m_controls->frame.painter().scale();
    };
    // The owner going first takes its owned windows with it, without a
    // close: the edited group goes back all the same.
    frame.onDestroyed = [this] {
        stopWatchingKeys();
        if (!m_editor.isOpen())
            return;
        m_editor.rows().setListener(nullptr);
        m_owner = nullptr;
        m_send = nullptr;
        m_editor.close();
    };
    if (!frame.create(args))
        return false;
    frame.setButtonNames(s::app::win::titleButtonNames(m_app.lang()));
    createControls();
    m_shownType = EditorType::None;
    m_shownRevision = -1;
    showState();
    relayout();
    return true;
}

void Custom::createControls()
{
    Controls& c = *m_controls;
    const HWND parent = c.frame.hwnd();
    const s::gui::Scale s = m_scale;
    const auto label = [](s::gui::Label& control, HWND into, int32_t id) {
        s::gui::LabelArgs args;
        args.parent = into;
        args.caption = Caption::language(id);
        control.create(args);
    };
    const auto button = [this](s::gui::Button& control, HWND into, int32_t id, int controlId) {
        s::gui::Button::Args args;
        args.parent = into;
        args.text = buttonText(text(id));
        args.id = controlId;
        control.create(args);
    };
    const auto box = [](s::gui::TextBox& control, HWND into, const std::wstring& initial, int controlId) {
        s::gui::TextBox::Args args;
        args.parent = into;
        args.text = initial;
        args.id = controlId;
        control.create(args);
    };
    const TimeRecord& group = *m_editor.group();

    label(c.titleLabel, parent, ids::kEditorTitleLabel);
    label(c.descriptionLabel, parent, ids::kEditorDescriptionLabel);
    box(c.title, parent, s::str::toWide(group.title.view()), kTitle);
    box(c.description, parent, s::str::toWide(group.description.view()), kDescription);
    label(c.itemsLabel, parent, ids::kEditorItemsLabel);

    s::gui::TargetListArgs list;
    list.parent = parent;
    list.id = kList;
    list.rows = &m_editor.rows();
    list.painter = &c.frame.painter();
    list.columnTitle = [this](int32_t id) {
        return text(id);
    };
    c.icons = std::make_unique<s::app::win::RowIcons>(16 * s);
    list.icon = [icons = c.icons.get()](std::u16string_view key) {
        return icons->get(key);
    };
    list.alternateRows =
        m_app.settings().getBool(s::map::mainwindow::kViewSection, s::map::mainwindow::kUseAlternateRowColor, true);
    // Compact rows whatever the main list's height: the window is small.
    list.cellHeight = s::gui::list::ListViewStep::fromStored(-2);
    list.fontSize = s::gui::list::ListViewStep::fromStored(m_app.settings().getS32(
        s::map::mainwindow::kViewSection, s::map::mainwindow::kFontSize, s::gui::list::kDefaultFontSize.value()));
    c.list.create(list);
    c.list.onSelectionChanged = [this](int row) {
        m_editor.selectRow(row);
        showState();
    };
    c.list.onLinkPressed = [this](int row) {
        lookUp(row);
    };
    c.list.onDoubleClick = [this](int row) {
        lookUp(row);
    };
    button(c.remove, parent, ids::kEditorRemoveText, kRemove);
    c.remove.onClick = [this] {
        m_editor.removeSelected();
        showState();
    };

    s::gui::LabelArgs boxArgs;
    boxArgs.parent = parent;
    boxArgs.caption = Caption::language(ids::kEditorBoxCaption);
    boxArgs.id = kBox;
    c.box.create(boxArgs);
    const HWND inBox = c.box.hwnd();
    label(c.typeLabel, inBox, ids::kEditorTypeLabel);
    s::gui::DropDownList::Args typeArgs;
    typeArgs.parent = inBox;
    typeArgs.id = kType;
    for (int32_t id : kEditorTypeTexts)
        typeArgs.items.push_back(text(id));
    typeArgs.visibleItems = kEditorTypeCount;
    c.type.create(typeArgs);
    c.type.onSelected = [this](int index) {
        m_editor.selectType(static_cast<EditorType>(index + 1));
        showState();
    };

    for (std::size_t t = 1; t < kTypes; ++t) {
        const auto type = static_cast<EditorType>(t);
        label(*c.pathLabels[t], inBox, pathLabelOf(type));
        box(*c.paths[t], inBox, {}, pathBoxId(type));
        c.paths[t]->onChanged = [this, type] {
            if (m_showing || m_editor.form().type != type)
                return;
            m_editor.setPath(utf16(m_controls->paths[indexOf(type)]->text()));
            showState();
        };
        if (c.browse[t]) {
            button(*c.browse[t], inBox, ids::kEditorBrowseText, browseId(type));
            c.browse[t]->onClick = [this, type] {
                browse(type);
            };
        }
    }
    label(c.extensionLabel, inBox, ids::kEditorExtensionLabel);
    box(c.extension, inBox, {}, kExtension);
    // The hint shows in the empty box, as a cue banner (also while it has
    // the focus): there is no room beside it for a label of its own.
    SendMessageW(c.extension.hwnd(), EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(text(ids::kEditorExtensionHint).c_str()));
    s::gui::CheckBox::Args sub;
    sub.parent = inBox;
    sub.id = kSubFolders;
    sub.caption = Caption::language(ids::kEditorSubFoldersText);
    c.subFolders.create(sub);
    c.subFolders.onStateChanged = [this](s::gui::drawer::CheckState state) {
        if (m_showing || m_editor.form().type != EditorType::Extension)
            return;
        m_editor.setInSubfolders(state == s::gui::drawer::CheckState::Checked);
        showState();
    };
    label(c.valueLabel, inBox, ids::kEditorValueLabel);
    box(c.value, inBox, {}, kValueName);
    for (auto [control, type] :
         {std::pair{&c.extension, EditorType::Extension}, std::pair{&c.value, EditorType::RegistryValue}}) {
        control->onChanged = [this, control, type] {
            if (m_showing || m_editor.form().type != type)
                return;
            m_editor.setSecond(utf16(control->text()));
            showState();
        };
    }
    s::gui::LabelArgs warningArgs;
    warningArgs.parent = inBox;
    warningArgs.id = kWarning;
    warningArgs.caption = Caption::language(ids::kEditorWarningText);
    warningArgs.weight = s::gui::FontWeight::bold;
    c.warning.create(warningArgs);

    button(c.testFind, inBox, ids::kEditorTestFindText, kTestFind);
    c.testFind.onClick = [this] {
        testFind();
    };
    button(c.apply, inBox, ids::kEditorApplyText, kApplyChange);
    c.apply.onClick = [this] {
        m_editor.applyChange();
        showState();
    };
    button(c.add, inBox, ids::kEditorAddText, kAddAsNew);
    c.add.onClick = [this] {
        if (m_editor.addAsNew())
            SendMessageW(m_controls->list.hwnd(), LVM_ENSUREVISIBLE,
                         static_cast<WPARAM>(m_editor.rows().rowCount() - 1), FALSE);
        showState();
    };

    for (auto [line, controlId] : {std::pair{&c.counts, kCounts}, std::pair{&c.items, kItems}}) {
        s::gui::LabelArgs lineArgs;
        lineArgs.parent = parent;
        lineArgs.id = controlId;
        line->create(lineArgs);
    }
    button(c.ok, parent, ids::kEditorOkText, kOk);
    c.ok.onClick = [this] {
        pressOk();
    };
    button(c.cancel, parent, ids::kEditorCancelText, kCancel);
    c.cancel.onClick = [this] {
        SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    };
}

// --- Layout ----------------------------------------------------------------------

void Custom::relayout()
{
    if (!isOpen())
        return;
    const s::gui::Box content = m_controls->frame.layout().content();
    layout(RECT{content.left, content.top, content.right, content.bottom});
}

// From the top: the title and description row, the list's label with Remove,
// the list; from the bottom: the result and OK / Cancel row, the "Clean Up
// Target" box with its three rows beside the three action buttons. The list
// takes what is left. Rows keep the fixed heights; widths come from each
// control's own text, so another language or scale moves what follows.
void Custom::layout(const RECT& content)
{
    if (!m_controls || !m_controls->cancel.hwnd())
        return;
    using s::gui::Axis;
    using s::gui::Box;
    using s::gui::ItemSize;
    using s::gui::LineAlign;
    using s::gui::LineLayout;
    Controls& c = *m_controls;
    const s::gui::Scale s = m_scale;
    const int margin = 5 * s;
    const int gap = 4 * s;
    const int row = 20 * s;
    const Box area{content.left + margin, content.top + margin, content.right - margin, content.bottom - margin};
    const auto wide = [](const auto& control) {
        return static_cast<int>(control.preferredSize().cx);
    };
    // A label's text with a pixel to spare either side.
    const auto labelWide = [&](const s::gui::Label& label) {
        return wide(label) + 2 * s;
    };
    const auto put = [](HWND window, const Box& box) {
        place(window, box.left, box.top, box.width(), box.height());
    };

    // The top: two rows, the second two pixels above the list.
    LineLayout top(Axis::column, gap);
    top.add(ItemSize{area.width(), row});
    top.add(ItemSize{area.width(), row + 2 * s - gap});
    const std::vector<Box> topRows = top.place(area, LineAlign::start, LineAlign::stretch);

    // The title and description: each label at its text's width, the boxes
    // sharing the rest two to three.
    const int titleLabel = labelWide(c.titleLabel);
    const int descriptionLabel = labelWide(c.descriptionLabel);
    const int boxes = std::max(0, area.width() - titleLabel - descriptionLabel - 3 * gap);
    LineLayout names(Axis::row, gap);
    for (const int width : {titleLabel, boxes * 2 / 5, descriptionLabel, boxes - boxes * 2 / 5})
        names.add(ItemSize{width, row});
    const std::vector<Box> nameBoxes = names.place(topRows[0], LineAlign::start, LineAlign::stretch);
    put(c.titleLabel.hwnd(), nameBoxes[0]);
    put(c.title.hwnd(), nameBoxes[1]);
    put(c.descriptionLabel.hwnd(), nameBoxes[2]);
    put(c.description.hwnd(), Box{nameBoxes[3].left, nameBoxes[3].top, area.right, nameBoxes[3].bottom});

    // The list's label at the left, Remove at the right.
    const Box itemsRow{topRows[1].left, topRows[1].top, topRows[1].right, topRows[1].top + row};
    LineLayout itemsLabel(Axis::row, 0);
    itemsLabel.add(ItemSize{labelWide(c.itemsLabel), row});
    put(c.itemsLabel.hwnd(), itemsLabel.place(itemsRow, LineAlign::start, LineAlign::stretch)[0]);
    LineLayout remove(Axis::row, 0);
    remove.add(ItemSize{wide(c.remove), row});
    put(c.remove.hwnd(), remove.place(itemsRow, LineAlign::end, LineAlign::stretch)[0]);

    // The bottom: the box, then two lines of result text beside OK and
    // Cancel (as wide as each other).
    const int rowGap = 3 * s;
    LineLayout panel(Axis::column, rowGap);
    for (int i = 0; i < 3; ++i)
        panel.add(ItemSize{0, row});
    const SIZE boxSize = c.box.sizeAround(SIZE{0, panel.preferred().height});
    const int bottomRow = 2 * s::gui::SkinPainter::kFontHeight * s;
    LineLayout bottom(Axis::column, gap);
    bottom.add(ItemSize{area.width(), static_cast<int>(boxSize.cy)});
    bottom.add(ItemSize{area.width(), bottomRow});
    const std::vector<Box> bottomBoxes = bottom.place(area, LineAlign::end, LineAlign::stretch);

    const int okWidth = std::max(wide(c.ok), wide(c.cancel));
    LineLayout buttons(Axis::row, gap);
    buttons.add(ItemSize{okWidth, 22 * s});
    buttons.add(ItemSize{okWidth, 22 * s});
    const std::vector<Box> buttonBoxes = buttons.place(bottomBoxes[1], LineAlign::end, LineAlign::centre);
    put(c.ok.hwnd(), buttonBoxes[0]);
    put(c.cancel.hwnd(), buttonBoxes[1]);
    const Box result{bottomBoxes[1].left, bottomBoxes[1].top, buttonBoxes[0].left - 2 * gap, bottomBoxes[1].bottom};
    LineLayout lines(Axis::column, 0);
    lines.add(ItemSize{result.width(), bottomRow / 2});
    lines.add(ItemSize{result.width(), bottomRow / 2});
    const std::vector<Box> lineBoxes = lines.place(result, LineAlign::start, LineAlign::stretch);
    put(c.counts.hwnd(), lineBoxes[0]);
    put(c.items.hwnd(), lineBoxes[1]);

    put(c.list.hwnd(), Box{area.left, topRows[1].bottom, area.right, bottomBoxes[0].top - gap});
    // Description takes the rest of the list's width: no sideways scrolling.
    RECT listClient{};
    GetClientRect(c.list.hwnd(), &listClient);
    int others = 0;
    for (int column = 0; column + 1 < c.list.columnCount(); ++column)
        others += c.list.columnWidth(column);
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    c.list.setColumnWidth(c.list.columnCount() - 1,
                          std::max(80 * s, static_cast<int>(listClient.right) - others - scrollBar));
    put(c.box.hwnd(), bottomBoxes[0]);

    // Inside the box: three rows of a label column and the fields, with
    // Test-Find Matches beside the type selector and the two buttons that
    // change the list below it, as wide as each other; the panels' rows
    // keep what they do not need.
    const RECT innerRect = c.box.inner();
    const Box inner{innerRect.left, innerRect.top, innerRect.right, innerRect.bottom};
    const std::vector<Box> rows = panel.place(inner, LineAlign::start, LineAlign::stretch);
    int labels = std::max({labelWide(c.typeLabel), labelWide(c.extensionLabel), labelWide(c.valueLabel)});
    for (std::size_t t = 1; t < kTypes; ++t)
        labels = std::max(labels, labelWide(*c.pathLabels[t]));
    const int changeWidth = std::max(wide(c.apply), wide(c.add));
    // One row: the label, the field up to the row's button (two gaps
    // before it), the button. Returns the field's box.
    const auto fieldRow = [&](const Box& line, s::gui::Label* label, HWND button, int buttonWidth) {
        LineLayout end(Axis::row, 0);
        end.add(ItemSize{buttonWidth, line.height()});
        const Box buttonBox = end.place(line, LineAlign::end, LineAlign::stretch)[0];
        if (button)
            put(button, buttonBox);
        LineLayout start(Axis::row, gap);
        start.add(ItemSize{labels, line.height()});
        const std::vector<Box> labelBox = start.place(line, LineAlign::start, LineAlign::stretch);
        if (label)
            put(label->hwnd(), labelBox[0]);
        return Box{labelBox[0].right + gap, line.top, buttonBox.left - 2 * gap, line.bottom};
    };

    const Box typeField = fieldRow(rows[0], &c.typeLabel, c.testFind.hwnd(), wide(c.testFind));
    // The combo box's height is its field and its dropped list; its entries
    // may be wider than the field.
    place(c.type.hwnd(), typeField.left, typeField.top, typeField.width(),
          c.type.itemHeight() * (kEditorTypeCount + 2));
    s::gui::WindowDc dc(c.frame.hwnd());
    int widest = 0;
    for (int32_t id : kEditorTypeTexts)
        widest = std::max(widest, static_cast<int>(c.frame.painter().measureText(dc.get(), text(id)).cx) + 16 * s);
    SendMessageW(c.type.hwnd(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max(widest, typeField.width())), 0);

    for (std::size_t t = 1; t < kTypes; ++t) {
        const Box field = fieldRow(rows[1], c.pathLabels[t].get(), t == 1 ? c.apply.hwnd() : nullptr, changeWidth);
        LineLayout path(Axis::row, gap);
        path.add(ItemSize{0, row});
        if (c.browse[t])
            path.add(ItemSize{wide(*c.browse[t]), row});
        const std::vector<Box> pathBoxes = path.place(field, LineAlign::end, LineAlign::stretch);
        if (c.browse[t])
            put(c.browse[t]->hwnd(), pathBoxes[1]);
        put(c.paths[t]->hwnd(), Box{field.left, field.top, pathBoxes[0].left, field.bottom});
    }

    const Box secondField = fieldRow(rows[2], &c.extensionLabel, c.add.hwnd(), changeWidth);
    put(c.valueLabel.hwnd(), Box{rows[2].left, rows[2].top, rows[2].left + labels, rows[2].bottom});
    // The extension box is as wide as its hint, the check box takes the rest.
    LineLayout extension(Axis::row, gap);
    extension.add(ItemSize{
        std::max(40 * s, static_cast<int>(c.frame.painter().measureText(dc.get(), text(ids::kEditorExtensionHint)).cx) +
                             10 * s),
        row});
    const Box extensionBox = extension.place(secondField, LineAlign::start, LineAlign::stretch)[0];
    put(c.extension.hwnd(), extensionBox);
    put(c.subFolders.hwnd(), Box{extensionBox.right + gap, secondField.top, secondField.right, secondField.bottom});
    put(c.value.hwnd(), secondField);
    put(c.warning.hwnd(), secondField);
}

// --- State -----------------------------------------------------------------------

void Custom::showPanel(EditorType type)
{
    Controls& c = *m_controls;
    const auto show = [](HWND window, bool on) {
        ShowWindow(window, on ? SW_SHOWNA : SW_HIDE);
    };
    for (std::size_t t = 1; t < kTypes; ++t) {
        const bool on = indexOf(type) == t;
        show(c.pathLabels[t]->hwnd(), on);
        show(c.paths[t]->hwnd(), on);
        if (c.browse[t])
            show(c.browse[t]->hwnd(), on);
    }
    for (HWND window : {c.extensionLabel.hwnd(), c.extension.hwnd(), c.subFolders.hwnd()})
        show(window, type == EditorType::Extension);
    show(c.valueLabel.hwnd(), type == EditorType::RegistryValue);
    show(c.value.hwnd(), type == EditorType::RegistryValue);
    show(c.warning.hwnd(), type == EditorType::KeyAll);
    c.type.select(static_cast<int>(type) - 1);
    m_shownType = type;
    relayout();
}

void Custom::showState()
{
    if (!isOpen())
        return;
    Controls& c = *m_controls;
    const EditorForm& form = m_editor.form();
    if (m_editor.formRevision() != m_shownRevision) {
        m_showing = true;
        for (std::size_t t = 1; t < kTypes; ++t)
            c.paths[t]->setText(s::str::toWide(form.panels[t].path.view()));
        const EditorPanel& extension = form.panel(EditorType::Extension);
        c.extension.setText(s::str::toWide(extension.second.view()));
        c.subFolders.setState(extension.inSubfolders ? s::gui::drawer::CheckState::Checked
                                                     : s::gui::drawer::CheckState::Unchecked);
        c.value.setText(s::str::toWide(form.panel(EditorType::RegistryValue).second.view()));
        m_showing = false;
        m_shownRevision = m_editor.formRevision();
    }
    if (form.type != m_shownType || m_shownType == EditorType::None)
        showPanel(form.type);
    EnableWindow(c.testFind.hwnd(), m_editor.canTestFind());
    EnableWindow(c.add.hwnd(), m_editor.canAddAsNew());
    EnableWindow(c.apply.hwnd(), m_editor.canApplyChange());
    EnableWindow(c.remove.hwnd(), m_editor.canRemove());
}

// --- Actions ---------------------------------------------------------------------

void Custom::browse(EditorType type)
{
    Controls& c = *m_controls;
    s::gui::TextBox& box = *c.paths[indexOf(type)];
    s::gui::dialogs::FileDialogArgs args;
    args.parent = hwnd();
    std::optional<std::wstring> chosen;
    if (type == EditorType::File) {
        args.filters.push_back({text(ids::kAllFilesFilter), L"*.*;"});
        const Text start = fileDialogStartFolder(utf16(box.text()));
        args.startFolder = start.isEmpty() ? desktopFolder() : s::str::toWide(start.view());
        chosen = s::gui::dialogs::chooseFile(args);
        // Only a file that is there: the dialog may hand back a typed name.
        if (chosen && GetFileAttributesW(chosen->c_str()) == INVALID_FILE_ATTRIBUTES)
            chosen.reset();
    } else {
        const std::wstring current = box.text();
        args.startFolder = current.empty() ? desktopFolder() : current;
        chosen = s::gui::dialogs::chooseFolder(args);
    }
    // setText goes the way of typing: the editor hears of it.
    if (chosen)
        box.setText(*chosen);
}

void Custom::testFind()
{
    const TestFindResult found = m_editor.testFind();
    std::wstring counts;
    std::wstring items;
    if (found.done) {
        Text size;
        s::str::formatSize(found.size, size);
        counts = text(ids::kFoundColumn) + L": " + std::to_wstring(found.found) + L"    " + text(ids::kSizeColumn) +
                 L": " + s::str::toWide(size.view());
        for (std::size_t i = 0; i < found.items.size(); ++i)
            items += (i ? L", " : L"") + s::str::toWide(found.items[i].view());
        if (found.more)
            items += L", \x2026";
    }
    m_controls->counts.setCaption(Caption::text(counts));
    m_controls->items.setCaption(Caption::text(items));
}

void Custom::lookUp(int row)
{
    const TimeRecord* target = m_editor.rows().record(row);
    if (!target || !m_editor.rows().isLink(row))
        return;
    purgo::LookUpTexts texts;
    texts.caption = m_app.lang().text(ids::kProductName);
    purgo::lookUp(*target, texts);
}

void Custom::pressOk()
{
    const CustomEditor::Message message =
        m_editor.confirm(utf16(m_controls->title.text()), utf16(m_controls->description.text()));
    if (m_send)
        m_send(message, *m_editor.group());
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

bool Custom::closing()
{
    Controls& c = *m_controls;
    s::app::win::storeFrameGeometry(m_frame, c.frame.hwnd(), m_app.settings());
    // The owner is enabled before the editor goes, so that Windows gives
    // the activation back to it and not to another program's window.
    if (m_owner && IsWindow(m_owner)) {
        EnableWindow(m_owner, TRUE);
        if (GetActiveWindow() == c.frame.hwnd())
            SetActiveWindow(m_owner);
    }
    m_owner = nullptr;
    m_send = nullptr;
    m_editor.close();
    return true;
}

// --- For the tests -----------------------------------------------------------------

}  // namespace s::file::gui::dialogs
