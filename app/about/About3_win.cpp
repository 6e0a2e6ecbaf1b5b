#include "app/about/About3_win.h"

#include "app/start/TitleButtonNames_win.h"
#include "base/WideText.h"
#include "gui/LineLayout.h"
#include "gui/SkinMenu.h"
#include "image/Draw_win.h"
#include "image/ProgramImages_win.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"

#include <algorithm>

namespace s::gui::dialogs {

namespace {

// Pixels at scale 1.
constexpr int kMargin = 12;
constexpr int kRowHeight = 16;
constexpr int kRowGap = 3;
constexpr int kColumnGap = 8;
constexpr int kCrossSize = 14;
constexpr int kNameHeight = 30;
constexpr int kNameFontHeight = 22;

// The label and value pairs below the name.
constexpr int32_t kPairs[][2] = {{s::lang::ids::kVersionLabel, s::lang::ids::kVersionText},
                                 {s::lang::ids::kUpdatedLabel, s::lang::ids::kUpdatedText},
                                 {s::lang::ids::kLicenseLabel, s::lang::ids::kLicenseText},
                                 {s::lang::ids::kHomeAddressLabel, s::lang::ids::kHomeAddressText}};

s::app::win::Rect windowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return s::app::win::Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

About3::About3(s::lang::Localizer& lang, s::map::IMappedData& settings, s::gui::Scale scale,
               std::function<void(int32_t id)> openPage)
    : m_lang(lang), m_settings(settings), m_scale(scale), m_openPage(std::move(openPage)),
      m_frame(s::app::win::AppWindow::aboutWindow(scale, settings))
{
    // The window's own manager holds the built-in skins; only "Classic LG"
    // is ever current.
    const int classic = m_skins.findSkin(s::gui::drawer::kDefaultSkinName);
    if (classic >= 0)
        m_skins.selectSkin(m_skins.skin(classic));
}

About3::~About3()
{
    if (m_window)
        m_window->destroy();
}

bool About3::visible() const
{
    return hwnd() && IsWindowVisible(hwnd());
}

bool About3::createWindow(HWND owner)
{
    m_window = std::make_unique<SkinnedFrame>();
    FrameArgs args;
    args.caption = toWide(m_lang.text(s::lang::ids::kAboutTitle));
    args.owner = owner;
    args.scale = m_scale;
    args.width = m_frame.width();
    args.height = m_frame.height();
    args.skins = &m_skins;
    const auto click = m_frame.middleClick();
    args.middleClick = click == s::app::win::MiddleClick::Close     ? MiddleClickAction::close
                       : click == s::app::win::MiddleClick::Iconize ? MiddleClickAction::iconize
                                                                    : MiddleClickAction::doNothing;
    args.easyDrag = m_frame.easyDrag();
    args.keepOnTop = m_frame.keepOnTop();
    // A fixed page of facts: nothing to minimise or maximise.
    args.sizeButtons = false;
    // A window to read and dismiss: Escape closes it.
    args.closeOnEscape = true;
    m_window->onLayout = [this](const RECT&) {
        layout();
    };
    // Closing only hides: the window lives as long as this object.
    m_window->onClose = [this] {
        close();
        return false;
    };
    if (!m_window->create(args)) {
        m_window.reset();
        return false;
    }
    m_window->setButtonNames(s::app::win::titleButtonNames(m_lang));
    makeScaledPictures();
    // On a screen of another density the page is made again at its scale;
    // the layout follows.
    m_window->onScaleChanged = [this](Scale) {
        m_scale = m_window->painter().scale();
        makeScaledPictures();
        buildContent();
    };
    return true;
}

void About3::makeScaledPictures()
{
    m_icon = s::image::loadIconPicture(kIconGroup, iconSize());
    m_nameFont.reset(CreateFontW(-kNameFontHeight * m_scale, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 L"Tahoma"));
}

bool About3::show(HWND owner)
{
    if (!m_window && !createWindow(owner))
        return false;
    m_window->setCaption(toWide(m_lang.text(s::lang::ids::kAboutTitle)));
    buildContent();
    const auto placement = m_frame.geometry().placement(m_settings);
    SetWindowPos(hwnd(), nullptr, placement.rect.left, placement.rect.top, placement.rect.width, placement.rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_window->show();
    if (placement.maximize)
        ShowWindow(hwnd(), SW_MAXIMIZE);
    return true;
}

void About3::storeGeometry()
{
    const HWND window = hwnd();
    const auto state = IsZoomed(window)   ? s::app::win::WindowState::Maximized
                       : IsIconic(window) ? s::app::win::WindowState::Minimized
                                          : s::app::win::WindowState::Normal;
    m_frame.geometry().store(m_settings, state, windowRect(window));
}

void About3::close()
{
    if (!visible())
        return;
    storeGeometry();
    m_window->hide();
}

void About3::paintName(SkinPainter& painter, HDC dc, const RECT& rect)
{
    painter.drawBackground(dc, rect);
    Selection font(dc, m_nameFont.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, painter.colour(s::gui::drawer::SkinColour::text));
    RECT box = rect;
    DrawTextW(dc, m_name.c_str(), static_cast<int>(m_name.size()), &box,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The controls in the current language; layout() places them.
void About3::buildContent()
{
    m_heading.reset();
    m_cross.reset();
    m_iconBox.reset();
    m_nameBox.reset();
    m_labels.clear();
    m_url.reset();
    m_useful.reset();
    m_close.reset();

    const HWND parent = hwnd();
    SkinPainter& painter = m_window->painter();
    const s::gui::Scale s = m_scale;

    m_heading = std::make_unique<Label>(painter);
    LabelArgs heading;
    heading.parent = parent;
    heading.caption = Caption::text(toWide(m_lang.text(s::lang::ids::kAboutTitle)));
    heading.weight = FontWeight::bold;
    heading.id = kHeading;
    m_heading->create(heading);
    m_cross = std::make_unique<PictureButton>(painter);
    PictureButton::Args cross;
    cross.parent = parent;
    cross.picture = Picture::cross;
    cross.accessibleName = toWide(m_lang.text(s::lang::ids::kCloseText));
    cross.width = kCrossSize * s;
    cross.height = kCrossSize * s;
    cross.id = kCross;
    m_cross->create(cross);
    m_cross->onClick = [this] {
        close();
    };

    m_iconBox = std::make_unique<PaintBox>(painter);
    PaintBox::Args iconArgs;
    iconArgs.parent = parent;
    iconArgs.width = iconSize();
    iconArgs.height = iconSize();
    iconArgs.id = kIcon;
    m_iconBox->onPaint = [this](SkinPainter& p, HDC dc, const RECT& rect) {
        p.drawBackground(dc, rect);
        s::image::draw(dc, m_icon, rect);
    };
    m_iconBox->create(iconArgs);

    m_name = toWide(m_lang.text(s::lang::ids::kProductName));
    m_nameBox = std::make_unique<PaintBox>(painter);
    PaintBox::Args nameArgs;
    nameArgs.parent = parent;
    nameArgs.height = kNameHeight * s;
    m_nameBox->onPaint = [this](SkinPainter& p, HDC dc, const RECT& rect) {
        paintName(p, dc, rect);
    };
    m_nameBox->create(nameArgs);

    // Label and value pairs, in texts() order: label, value, ...
    for (const auto& pair : kPairs) {
        LabelArgs args;
        args.parent = parent;
        args.caption = Caption::text(toWide(m_lang.text(pair[0])));
        m_labels.push_back(std::make_unique<Label>(painter));
        m_labels.back()->create(args);
        args.caption = Caption::text(toWide(m_lang.text(pair[1])));
        if (pair[1] == s::lang::ids::kHomeAddressText) {
            args.id = kAddress;
            m_url = std::make_unique<LinkLabel>(painter);
            m_url->create(args);
            m_url->onClick = [this] {
                m_openPage(s::lang::ids::kHomeAddressText);
            };
        } else {
            m_labels.push_back(std::make_unique<Label>(painter));
            m_labels.back()->create(args);
        }
    }

    m_close = std::make_unique<Button>(painter);
    Button::Args close;
    close.parent = parent;
    close.text = toWide(m_lang.text(s::lang::ids::kCloseText));
    close.id = kClose;
    m_close->create(close);
    m_close->onClick = [this] {
        this->close();
    };

    m_useful = std::make_unique<LinkLabel>(painter);
    LabelArgs useful;
    useful.parent = parent;
    useful.caption = Caption::text(toWide(m_lang.text(s::lang::ids::kUsefulLinkText)));
    useful.id = kUseful;
    m_useful->create(useful);
    m_useful->onClick = [this] {
        m_openPage(s::lang::ids::kUsefulPage);
    };
    layout();
    SetFocus(m_close->hwnd());
}

// From the top: the heading with the cross at its right, the icon with the
// name beside it in the middle of its height, the label and value pairs
// (the values after the widest label, to the right edge so that the address
// fits); at the bottom the link at the left and Close at the right.
void About3::layout()
{
    // The link is made last: the content is complete with it.
    if (!m_useful)
        return;
    const s::gui::Scale s = m_scale;
    const Box content = m_window->layout().content();
    const int margin = kMargin * s;
    const int row = kRowHeight * s;
    const Box area{content.left + margin, content.top + margin, content.right - margin, content.bottom - margin};
    const auto put = [](const Wnd& control, const Box& box) {
        SetWindowPos(control.hwnd(), nullptr, box.left, box.top, std::max(0, box.width()), std::max(0, box.height()),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };

    LineLayout pairs(Axis::column, kRowGap * s);
    for (std::size_t i = 0; i < std::size(kPairs); ++i)
        pairs.add(ItemSize{area.width(), row});
    LineLayout column(Axis::column, margin);
    column.add(ItemSize{area.width(), row});
    column.add(ItemSize{area.width(), iconSize()});
    column.add(pairs.preferred());
    const std::vector<Box> parts = column.place(area, LineAlign::start, LineAlign::stretch);

    LineLayout cross(Axis::row, 0);
    cross.add(ItemSize{kCrossSize * s, kCrossSize * s});
    const Box crossBox = cross.place(parts[0], LineAlign::end, LineAlign::centre)[0];
    put(*m_cross, crossBox);
    put(*m_heading, Box{parts[0].left, parts[0].top, crossBox.left - kColumnGap * s, parts[0].bottom});

    LineLayout identity(Axis::row, margin);
    identity.add(ItemSize{iconSize(), iconSize()});
    identity.add(ItemSize{0, kNameHeight * s});
    const std::vector<Box> identityBoxes = identity.place(parts[1], LineAlign::start, LineAlign::centre);
    put(*m_iconBox, identityBoxes[0]);
    put(*m_nameBox, Box{identityBoxes[1].left, identityBoxes[1].top, area.right, identityBoxes[1].bottom});

    // m_labels holds label, value, label, value, label, value, label; the
    // address is m_url.
    int labelWidth = 0;
    for (std::size_t i = 0; i < m_labels.size(); i += 2)
        labelWidth = std::max<int>(labelWidth, m_labels[i]->preferredSize().cx);
    const std::vector<Box> rows = pairs.place(parts[2], LineAlign::start, LineAlign::stretch);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        LineLayout pair(Axis::row, kColumnGap * s);
        pair.add(ItemSize{labelWidth, row});
        pair.add(ItemSize{0, row});
        const std::vector<Box> boxes = pair.place(rows[i], LineAlign::start, LineAlign::stretch);
        put(*m_labels[2 * i], boxes[0]);
        const Box value{boxes[1].left, boxes[1].top, area.right, boxes[1].bottom};
        if (2 * i + 1 < m_labels.size())
            put(*m_labels[2 * i + 1], value);
        else
            put(*m_url, value);
    }

    const int buttonHeight = 23 * s;
    LineLayout bottom(Axis::row, margin);
    bottom.add(ItemSize{0, row});
    bottom.add(ItemSize{std::max<int>(75 * s, m_close->preferredSize().cx), buttonHeight});
    const Box bottomRow{area.left, area.bottom - buttonHeight, area.right, area.bottom};
    const std::vector<Box> bottomBoxes = bottom.place(bottomRow, LineAlign::end, LineAlign::centre);
    put(*m_close, bottomBoxes[1]);
    put(*m_useful, Box{area.left, bottomBoxes[0].top, bottomBoxes[0].right, bottomBoxes[0].bottom});
}

std::vector<std::wstring> About3::texts() const
{
    std::vector<std::wstring> all;
    if (!m_window)
        return all;
    wchar_t caption[512] = {};
    GetWindowTextW(hwnd(), caption, 512);
    all.emplace_back(caption);
    all.push_back(m_heading->text());
    all.push_back(m_name);
    for (const auto& label : m_labels)
        all.push_back(label->text());
    all.push_back(m_url->text());
    all.push_back(m_useful->text());
    wchar_t close[256] = {};
    GetWindowTextW(m_close->hwnd(), close, 256);
    all.emplace_back(close);
    return all;
}

}  // namespace s::gui::dialogs
