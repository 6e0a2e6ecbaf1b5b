#include "catalogue/CookieSites.h"

#include "catalogue/UrlCacheWalk.h"
#include "platform/SystemInfo.h"

#include <algorithm>
#include <numeric>

namespace s::file::gui::dialogs::purgo {

namespace {

struct CookieSiteState {
    s::str::StrArray sites;
    std::vector<std::uint64_t> totals;
    std::vector<TimeRecord*> targets;
    bool cleanDone = false;
};

// Made on first use and never destroyed: at exit its strings would go back
// to a string pool that may already be gone.
CookieSiteState& state()
{
    static CookieSiteState* instance = new CookieSiteState();
    return *instance;
}

bool validSite(intptr_t index)
{
    return index >= 0 && index < state().sites.count() && static_cast<std::size_t>(index) < state().totals.size();
}

}  // namespace

s::str::StrArray& cookieSites()
{
    return state().sites;
}

std::vector<std::uint64_t>& cookieSiteTotals()
{
    return state().totals;
}

std::vector<TimeRecord*>& cookieSiteTargets()
{
    return state().targets;
}

bool& cookieCleanDone()
{
    return state().cleanDone;
}

bool cookieSiteChecked(int site)
{
    const auto& targets = state().targets;
    return site >= 0 && static_cast<std::size_t>(site) < targets.size() && targets[static_cast<std::size_t>(site)] &&
           targets[static_cast<std::size_t>(site)]->checked;
}

void collectCookieSites()
{
    CookieSiteState& lists = state();
    lists.sites.clear();
    lists.totals.clear();
    walkCache(CacheWalk::Counting, [&](const s::platform::UrlCacheEntry& entry) {
        if (entry.type & s::platform::kCookieCacheEntry) {
            lists.sites.add(entry.sourceUrl);
            lists.totals.push_back(entry.size);
        }
    });
}

void sortCookieSites()
{
    CookieSiteState& lists = state();
    const int count = lists.sites.count();
    // A stable sort gives exactly the order of a bubble sort that swaps
    // neighbours only when the first sorts after the second, without its
    // quadratic time on caches with thousands of cookies.
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return Text::compareFolded(lists.sites[a].view(), lists.sites[b].view()) < 0;
    });
    s::str::StrArray sites;
    std::vector<std::uint64_t> totals;
    totals.reserve(order.size());
    for (int index : order) {
        sites.add(lists.sites[index].view());
        totals.push_back(lists.totals[static_cast<std::size_t>(index)]);
    }
    lists.sites = std::move(sites);
    lists.totals = std::move(totals);
}

Text cookieSiteTargetId(std::u16string_view site)
{
    Text id(site);
    constexpr std::u16string_view kReplaced = u":;/?@&=+$,%";
    for (int k = 0; k < id.length(); ++k) {
        if (kReplaced.find(id[k]) != std::u16string_view::npos)
            id[k] = u'_';
    }
    return id;
}

void addCookieSiteTargets(TimeRecord& group)
{
    collectCookieSites();
    sortCookieSites();
    CookieSiteState& lists = state();
    lists.targets.clear();
    lists.cleanDone = false;
    Text icon(s::platform::systemFacts().systemFolder);
    icon += u"\\shell32.dll,70";
    for (int k = 0; k < lists.sites.count(); ++k) {
        const Text& site = lists.sites[k];
        TimeRecord* target = TimeRecord::makeSpecialTarget(cookieSiteTargetId(site), site, site, &cookieSiteCount,
                                                           &cookieClean, nullptr, nullptr, k, icon);
        target->defaultChecked = true;
        group.addChild(target);
        lists.targets.push_back(target);
    }
}

void forgetCookieSites()
{
    CookieSiteState& lists = state();
    lists.sites.clear();
    lists.totals.clear();
    lists.targets.clear();
    lists.cleanDone = false;
}

void cookieSiteCount(Text& /*target*/, int64_t& size, int64_t& found, intptr_t handlerData, int32_t /*handlerExtra*/)
{
    size = 0;
    found = 0;
    if (!validSite(handlerData))
        return;
    size = static_cast<int64_t>(state().totals[static_cast<std::size_t>(handlerData)]);
    found = size > 0 ? 1 : 0;
}

void cookieClean(intptr_t handlerData, int32_t /*handlerExtra*/)
{
    CookieSiteState& lists = state();
    if (lists.cleanDone) {
        // The walk of an earlier call already took every checked site; only
        // a site of this call that is still there needs another.
        const bool left = validSite(handlerData) && cookieSiteChecked(static_cast<int>(handlerData)) &&
                          lists.totals[static_cast<std::size_t>(handlerData)] > 0;
        if (!left)
            return;
    }
    lists.cleanDone = true;
    deleteEntries(kCookieEntries);
}

}  // namespace s::file::gui::dialogs::purgo
