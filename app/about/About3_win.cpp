#include "app/about/About3_win.h"

#include "base/WideText.h"
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

s::app::win::Rect windowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return s::app::win::Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

About3::About3(s::lang::Localizer& lang, s::map::IMappedData& settings, int scale,
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
    // Closing only hides: the window lives as long as this object.
    m_window->onClose = [this] {
        close();
        return false;
    };
    if (!m_window->create(args)) {
        m_window.reset();
        return false;
    }
    m_icon = s::image::loadIconPicture(kIconGroup, iconSize());
    m_nameFont.reset(CreateFontW(-kNameFontHeight * m_scale, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 L"Tahoma"));
    return true;
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
    const int s = m_scale;
    const Box content = m_window->layout().content();
    const int left = content.left + kMargin * s;
    const int right = content.right - kMargin * s;

    // The heading and the cross on one line at the top.
    int y = content.top + kMargin * s;
    m_heading = std::make_unique<Label>(painter);
    LabelArgs heading;
    heading.parent = parent;
    heading.caption = Caption::text(toWide(m_lang.text(s::lang::ids::kAboutTitle)));
    heading.weight = FontWeight::bold;
    heading.x = left;
    heading.y = y;
    heading.width = right - left - (kCrossSize + kColumnGap) * s;
    heading.height = kRowHeight * s;
    m_heading->create(heading);
    m_cross = std::make_unique<PictureButton>(painter);
    PictureButton::Args cross;
    cross.parent = parent;
    cross.picture = Picture::cross;
    cross.accessibleName = toWide(m_lang.text(s::lang::ids::kCloseText));
    cross.x = right - kCrossSize * s;
    cross.y = y + (kRowHeight - kCrossSize) * s / 2;
    cross.width = kCrossSize * s;
    cross.height = kCrossSize * s;
    m_cross->create(cross);
    m_cross->onClick = [this] {
        close();
    };
    y += (kRowHeight + kMargin) * s;

    // The icon at the left.
    m_iconBox = std::make_unique<PaintBox>(painter);
    PaintBox::Args iconArgs;
    iconArgs.parent = parent;
    iconArgs.x = left;
    iconArgs.y = y;
    iconArgs.width = iconSize();
    iconArgs.height = iconSize();
    m_iconBox->onPaint = [this](SkinPainter& p, HDC dc, const RECT& rect) {
        p.drawBackground(dc, rect);
        s::image::draw(dc, m_icon, rect);
    };
    m_iconBox->create(iconArgs);

    // The name beside the icon, in the middle of its height.
    const int nameLeft = left + iconSize() + kMargin * s;
    m_name = toWide(m_lang.text(s::lang::ids::kProductName));
    m_nameBox = std::make_unique<PaintBox>(painter);
    PaintBox::Args nameArgs;
    nameArgs.parent = parent;
    nameArgs.x = nameLeft;
    nameArgs.y = y + (iconSize() - kNameHeight * s) / 2;
    nameArgs.width = right - nameLeft;
    nameArgs.height = kNameHeight * s;
    m_nameBox->onPaint = [this](SkinPainter& p, HDC dc, const RECT& rect) {
        paintName(p, dc, rect);
    };
    m_nameBox->create(nameArgs);
    y += iconSize() + kMargin * s;

    // Label and value pairs below, across the whole width so that the
    // address fits (in texts() order: label, value, ...); the values start
    // after the widest label.
    const int textLeft = left;
    const int32_t pairs[][2] = {{s::lang::ids::kVersionLabel, s::lang::ids::kVersionText},
                                {s::lang::ids::kUpdatedLabel, s::lang::ids::kUpdatedText},
                                {s::lang::ids::kLicenseLabel, s::lang::ids::kLicenseText},
                                {s::lang::ids::kHomeAddressLabel, s::lang::ids::kHomeAddressText}};
    HDC dc = GetDC(parent);
    int labelWidth = 0;
    for (const auto& pair : pairs)
        labelWidth = std::max<int>(labelWidth, painter.measureText(dc, toWide(m_lang.text(pair[0]))).cx);
    const std::wstring closeText = toWide(m_lang.text(s::lang::ids::kCloseText));
    const SIZE closeSize = painter.measureText(dc, closeText);
    ReleaseDC(parent, dc);
    const int valueLeft = textLeft + labelWidth + kColumnGap * s;
    for (const auto& pair : pairs) {
        LabelArgs args;
        args.parent = parent;
        args.caption = Caption::text(toWide(m_lang.text(pair[0])));
        args.x = textLeft;
        args.y = y;
        args.width = labelWidth;
        args.height = kRowHeight * s;
        m_labels.push_back(std::make_unique<Label>(painter));
        m_labels.back()->create(args);
        args.caption = Caption::text(toWide(m_lang.text(pair[1])));
        args.x = valueLeft;
        args.width = right - valueLeft;
        if (pair[1] == s::lang::ids::kHomeAddressText) {
            m_url = std::make_unique<LinkLabel>(painter);
            m_url->create(args);
            m_url->onClick = [this] {
                m_openPage(s::lang::ids::kHomeAddressText);
            };
        } else {
            m_labels.push_back(std::make_unique<Label>(painter));
            m_labels.back()->create(args);
        }
        y += (kRowHeight + kRowGap) * s;
    }

    // The link at the bottom left, Close at the bottom right.
    const int buttonWidth = std::max<int>(75 * s, closeSize.cx + 2 * kMargin * s);
    const int buttonHeight = 23 * s;
    const int bottom = content.bottom - kMargin * s;
    m_close = std::make_unique<Button>(painter);
    Button::Args close;
    close.parent = parent;
    close.text = closeText;
    close.x = right - buttonWidth;
    close.y = bottom - buttonHeight;
    close.width = buttonWidth;
    close.height = buttonHeight;
    m_close->create(close);
    m_close->onClick = [this] {
        this->close();
    };

    m_useful = std::make_unique<LinkLabel>(painter);
    LabelArgs useful;
    useful.parent = parent;
    useful.caption = Caption::text(toWide(m_lang.text(s::lang::ids::kUsefulLinkText)));
    useful.x = left;
    useful.y = bottom - buttonHeight + (buttonHeight - kRowHeight * s) / 2;
    useful.width = right - buttonWidth - kMargin * s - left;
    useful.height = kRowHeight * s;
    m_useful->create(useful);
    m_useful->onClick = [this] {
        m_openPage(s::lang::ids::kUsefulPage);
    };
    SetFocus(m_close->hwnd());
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
