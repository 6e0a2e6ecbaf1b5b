#include "tests/catalogue/CatalogueTestSupport.h"

#include "base/XmlNode.h"
#include "platform/Resources.h"

#include <cstddef>

namespace catalogue_test {

namespace purgo = s::file::gui::dialogs::purgo;

namespace {

std::vector<std::pair<std::u16string, std::uint64_t>>& cookieWalk()
{
    static std::vector<std::pair<std::u16string, std::uint64_t>> sites;
    return sites;
}

void collectCookies(purgo::CookieSiteLists& lists)
{
    for (const auto& [site, total] : cookieWalk()) {
        lists.sites.emplace_back(site);
        lists.totals.push_back(total);
    }
}

template <int N> void countOf(Text&, int64_t&, int64_t&, intptr_t, int32_t)
{
}
template <int N> void cleanOf(intptr_t, int32_t)
{
}
template <int N> bool existsOf(const Text&)
{
    return true;
}
template <int N> void lookUpOf(const Text&)
{
}
template <int N> purgo::MruHandlers mruOf()
{
    return {countOf<N>, cleanOf<N>};
}

s::lang::Localizer* loadTable(std::string_view xml)
{
    auto* root = s::thread::Pool<s::xml::Node>::take();
    root->parseUtf8(xml);
    auto* localizer = new s::lang::Localizer();
    localizer->load(*root, 10);
    root->release();
    return localizer;
}

}  // namespace

std::string utf8(std::u16string_view text)
{
    return Text(text).toUtf8();
}

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
        s::platform::ResourceData table = s::platform::findResource(u"IDR_XML", 130);
        auto* made =
            loadTable(std::string_view(reinterpret_cast<const char*>(table.data), table.data ? table.size : 0));
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

Handlers& testHandlers()
{
    static Handlers* handlers = [] {
        auto* made = new Handlers();
        purgo::CatalogueHandlers& h = made->set;
        h.folderExists = existsOf<1>;
        h.folderLookUp = lookUpOf<1>;
        h.keyExists = existsOf<2>;
        h.keyLookUp = lookUpOf<2>;
        h.alwaysExists = existsOf<3>;
        h.recycleBinLookUp = lookUpOf<3>;
        h.hotfixCount = countOf<1>;
        h.hotfixClean = cleanOf<1>;
        h.ieCacheCount = countOf<2>;
        h.ieCacheClean = cleanOf<2>;
        h.ieHistoryCount = countOf<3>;
        h.ieHistoryClean = cleanOf<3>;
        h.cookieSiteCount = countOf<4>;
        h.cookieClean = cleanOf<4>;
        h.recentDocsCount = countOf<5>;
        h.recentDocsClear = cleanOf<5>;
        h.recycleBinCount = countOf<6>;
        h.recycleBinEmpty = cleanOf<6>;
        h.docFindSpecMru = mruOf<10>();
        h.findComputerMru = mruOf<11>();
        h.runMru = mruOf<12>();
        h.typedUrls = mruOf<13>();
        h.runMruUrls = mruOf<14>();
        h.mediaPlayerUrls = mruOf<15>();
        h.mediaPlayerFiles = mruOf<16>();
        h.winZipExtract = mruOf<17>();
        h.winZipFileMenu = mruOf<18>();
        h.paintRecentFiles = mruOf<19>();
        h.wordPadRecentFiles = mruOf<20>();
        h.cookieSites = &made->cookies;
        h.collectCookieSites = collectCookies;
        return made;
    }();
    return *handlers;
}

void setCookieWalk(std::vector<std::pair<std::u16string, std::uint64_t>> sites)
{
    cookieWalk() = std::move(sites);
}

BuiltTree::BuiltTree(s::lang::Localizer& localizer, const purgo::CatalogueHandlers* handlers)
{
    purgo::buildBuiltinGroups(groups, localizer, handlers ? *handlers : testHandlers().set);
}

BuiltTree::~BuiltTree()
{
    // The cookie lists point at targets of this tree.
    testHandlers().cookies.targets.clear();
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
