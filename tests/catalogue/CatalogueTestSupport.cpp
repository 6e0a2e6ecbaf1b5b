#include "tests/catalogue/CatalogueTestSupport.h"

#include "base/XmlNode.h"
#include "catalogue/CookieSites.h"
#include "platform/Resources.h"
#include "tests/support/Utf8.h"

#include <cstddef>

namespace catalogue_test {

namespace purgo = s::file::gui::dialogs::purgo;

s::lang::Localizer* loadTable(std::string_view xml)
{
    auto* root = s::thread::Pool<s::xml::Node>::take();
    root->parseUtf8(xml);
    auto* localizer = new s::lang::Localizer();
    localizer->load(*root, 10);
    root->release();
    return localizer;
}

s::lang::Localizer* loadProgramTable()
{
    s::platform::ResourceData table = s::platform::findResource(u"IDR_XML", 130);
    return loadTable(std::string_view(reinterpret_cast<const char*>(table.data), table.data ? table.size : 0));
}

using testing_platform::utf8;

std::string plainSpaces(const Text& text)
{
    Text copy = text;
    for (int i = 0; i < copy.length(); ++i)
        if (copy[i] == u'\u00a0')
            copy[i] = u' ';
    return copy.toUtf8();
}

s::lang::Localizer& englishLocalizer()
{
    static s::lang::Localizer* localizer = [] {
        auto* made = loadProgramTable();
        made->select(u"English");
        return made;
    }();
    return *localizer;
}

s::lang::Localizer& smallLocalizer()
{
    static s::lang::Localizer* localizer = loadTable(R"(<lang>
  <languages><entry tagName="eng" engName="English" trueName="English"/></languages>
  <entries>
    <entry id="990002001"><eng>Wipe&#160;</eng></entry>
    <entry id="990002002"><eng>&#160;history</eng></entry>
    <entry id="990401002"><eng>&#160;(browsing)</eng></entry>
  </entries>
</lang>)");
    return *localizer;
}

BuiltTree::BuiltTree(s::lang::Localizer& localizer)
{
    purgo::buildBuiltinGroups(groups, localizer);
}

BuiltTree::~BuiltTree()
{
    // The cookie lists point at targets of this tree.
    purgo::forgetCookieSites();
    for (TimeRecord* group : groups)
        group->release();
}

const TimeRecord* BuiltTree::group(std::u16string_view id) const
{
    for (const TimeRecord* g : groups)
        if (g->id.equals(id))
            return g;
    return nullptr;
}

}  // namespace catalogue_test
