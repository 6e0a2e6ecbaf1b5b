#include "app/start/AppWindow.h"

#include "app/start/StartupRules.h"

namespace s::app::win {

namespace {

std::u16string_view middleClickText(MiddleClick action)
{
    switch (action) {
    case MiddleClick::Close:
        return u"Close";
    case MiddleClick::Iconize:
        return u"Iconize";
    case MiddleClick::DoNothing:
        break;
    }
    return u"DoNothing";
}

}  // namespace

AppWindow::AppWindow(std::u16string_view windowName, s::gui::Scale scale, const Defaults& defaults,
                     s::map::IMappedData& store)
    : m_name(windowName), m_scale(scale), m_defaults(defaults), m_store(store),
      m_geometry(windowName, scale.step(), defaults.width, defaults.height)
{
}

AppWindow AppWindow::mainWindow(s::gui::Scale scale, s::map::IMappedData& store)
{
    return AppWindow(u"MainWindow", scale, Defaults{630 * scale, 500 * scale}, store);
}

AppWindow AppWindow::customTargetWindow(s::gui::Scale scale, s::map::IMappedData& store)
{
    return AppWindow(u"CustomTargetWindow", scale, Defaults{450 * scale, 270 * scale}, store);
}

AppWindow AppWindow::itemsWindow(s::gui::Scale scale, s::map::IMappedData& store)
{
    return AppWindow(u"ItemsWindow", scale, Defaults{760 * scale, 380 * scale}, store);
}

AppWindow AppWindow::keepListWindow(s::gui::Scale scale, s::map::IMappedData& store)
{
    return AppWindow(u"KeepListWindow", scale, Defaults{580 * scale, 340 * scale}, store);
}

AppWindow AppWindow::aboutWindow(s::gui::Scale scale, s::map::IMappedData& store)
{
    Defaults defaults{340 * scale, 285 * scale};
    defaults.keepOnTop = true;
    return AppWindow(u"AboutWindow", scale, defaults, store);
}

AppWindow AppWindow::flexAskerWindow(s::map::IMappedData& store)
{
    // The question window keeps its pixel size at every scale.
    Defaults defaults{400, 200};
    defaults.keepOnTop = true;
    return AppWindow(u"FlexAskerWindow", 1, defaults, store);
}

std::u16string_view AppWindow::viewSection() const
{
    return viewSectionFor(m_scale.step());
}

std::u16string AppWindow::keyPath(std::u16string_view name) const
{
    std::u16string path = m_name;
    path += u'\\';
    path += name;
    return path;
}

int AppWindow::x(int fallback) const
{
    return m_store.getS32(m_geometry.sizeSection(), u"X", fallback);
}

int AppWindow::y(int fallback) const
{
    return m_store.getS32(m_geometry.sizeSection(), u"Y", fallback);
}

int AppWindow::width() const
{
    return m_store.getS32(m_geometry.sizeSection(), u"Width", m_defaults.width);
}

int AppWindow::height() const
{
    return m_store.getS32(m_geometry.sizeSection(), u"Height", m_defaults.height);
}

bool AppWindow::maximized() const
{
    return m_store.getBool(m_geometry.viewSection(), u"Maximized", m_defaults.maximized);
}

bool AppWindow::easyDrag() const
{
    return m_store.getBool(m_geometry.viewSection(), u"EasyDrag", m_defaults.easyDrag);
}

bool AppWindow::keepOnTop() const
{
    return m_store.getBool(m_geometry.viewSection(), u"KeepOnTop", m_defaults.keepOnTop);
}

void AppWindow::setKeepOnTop(bool on)
{
    m_store.setBool(m_geometry.viewSection(), u"KeepOnTop", on);
}

MiddleClick AppWindow::middleClick() const
{
    const auto text = m_store.getString(m_geometry.viewSection(), u"OnMClick", middleClickText(m_defaults.middleClick));
    if (text.view() == u"Close")
        return MiddleClick::Close;
    if (text.view() == u"Iconize")
        return MiddleClick::Iconize;
    return MiddleClick::DoNothing;
}

void AppWindow::setMiddleClick(MiddleClick action)
{
    m_store.setString(m_geometry.viewSection(), u"OnMClick", middleClickText(action));
}

}  // namespace s::app::win
