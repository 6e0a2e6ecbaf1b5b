// The version information window for people to look at: the program's
// language table and icon, English, scale 1 unless the second argument says
// otherwise. Shows the window for the number of milliseconds given as the
// first argument (default 3000), so that a screenshot of the display can be
// taken.
#include "app/about/About3_win.h"
#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/Resources.h"
#include "settings/MappedData.h"
#include "tests/support/MessagePump_win.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    const int scale = argc > 2 ? std::atoi(argv[2]) : 1;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);

    const auto data = s::platform::findResource(u"IDR_XML", 130);
    auto* root = s::thread::Pool<s::xml::Node>::take();
    root->parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
    s::lang::Localizer lang;
    lang.load(*root, 10);
    root->release();
    lang.select(u"English");
    auto settings = s::thread::Pooled<s::xml::MappedData>::take();
    settings->setS32(u"AboutWindow\\View", u"X", 0);
    settings->setS32(u"AboutWindow\\View", u"Y", 0);

    s::gui::dialogs::About3 about(lang, *settings, scale, [](int32_t) {});
    if (!about.show(nullptr))
        return 1;
    testing_platform::pumpFor(showFor);
    return 0;
}
