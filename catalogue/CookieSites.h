// The browser's cookie sites: one target per cookie entry of the Internet
// cache, with the process-wide lists those targets share.
//
// The lists belong to the current target tree. Every catalogue build refills
// them (addCookieSiteTargets); the clean handler of the first checked site
// deletes the cookies of every checked site in one walk and sets the totals
// of the deleted ones to 0, which their next count shows. No lock: the
// handlers and the build run on one thread at a time, as the collect and
// clean runs do.
#pragma once

#include "base/StrArray.h"
#include "engine/TimeRecord.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace s::file::gui::dialogs::purgo {

// Source names of the cookie entries ("Cookie:user@site/"), in the order of
// the catalogue's sort.
s::str::StrArray& cookieSites();
// Bytes of each site's entry, parallel to cookieSites().
std::vector<std::uint64_t>& cookieSiteTotals();
// The cookie-site targets of the current tree (not owned); entry k is the
// target whose handlerData is k.
std::vector<TimeRecord*>& cookieSiteTargets();
// Set by the first cookie clean after a build.
bool& cookieCleanDone();

// Whether site k has a target and that target is checked.
bool cookieSiteChecked(int site);

// Empties the site lists and, when the cache services are there, fills them
// with every cookie entry of the cache (the counting walk's buffer rules).
void collectCookieSites();
// Orders the sites by name, ignoring case over the shorter length and putting
// the shorter name first when that part is equal; the totals move with their
// names and equal names keep their order.
void sortCookieSites();
// The site name with each of : ; / ? @ & = + $ , % replaced by _.
Text cookieSiteTargetId(std::u16string_view site);

// The catalogue's cookie group: collects and sorts the sites, forgets the
// old targets, clears the done flag, and adds one target per site k to
// group: id cookieSiteTargetId, title and description the site name,
// handlers cookieSiteCount and cookieClean, handlerData k, the shell's
// cookie icon, checked by default. Each target is also recorded in
// cookieSiteTargets().
void addCookieSiteTargets(TimeRecord& group);
// Empties the lists and the targets, for a tree that goes away.
void forgetCookieSites();

// Count handler: the total of site handlerData (found 1 when it is above 0);
// 0 and 0 for an index outside the list.
void cookieSiteCount(Text& target, int64_t& size, int64_t& found, intptr_t handlerData, int32_t handlerExtra);
// Clean handler: the first call after a build deletes the cookie entries of
// every checked site in one walk. A later call walks again only when its own
// site is checked and still holds bytes: a deletion that failed, or a site
// that was unchecked during an earlier clean of the same tree.
void cookieClean(intptr_t handlerData, int32_t handlerExtra);

}  // namespace s::file::gui::dialogs::purgo
