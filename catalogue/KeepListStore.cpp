#include "catalogue/KeepListStore.h"

#include "base/StrBuffer.h"

#include <cstdio>

namespace s::file::gui::dialogs::purgo {

namespace {

using Text = s::str::strbuffer::StrBuffer;

Text entrySection(int32_t index)
{
    Text section(kKeepListSection);
    return section.append(u"\\_").appendS32(index);
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the
// civil-date algorithms of H. Hinnant).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool digits(std::u16string_view text, std::size_t at, std::size_t count, unsigned& out)
{
    out = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        out = out * 10 + static_cast<unsigned>(text[i] - u'0');
    }
    return true;
}

}  // namespace

std::u16string utcText(int64_t seconds)
{
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    civilFromDays(days, y, m, d);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(y), m, d,
                  static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                  static_cast<long long>(rest % 60));
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

bool parseUtcText(std::u16string_view text, int64_t& seconds)
{
    // yyyy-mm-ddThh:mm:ssZ
    if (text.size() != 20 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' ||
        text[16] != u':' || text[19] != u'Z')
        return false;
    unsigned y, mo, d, h, mi, s;
    if (!digits(text, 0, 4, y) || !digits(text, 5, 2, mo) || !digits(text, 8, 2, d) || !digits(text, 11, 2, h) ||
        !digits(text, 14, 2, mi) || !digits(text, 17, 2, s))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59)
        return false;
    // A day the month does not have ("02-30") would roll into the next.
    int64_t backY = 0;
    unsigned backM = 0;
    unsigned backD = 0;
    const int64_t days = daysFromCivil(y, mo, d);
    civilFromDays(days, backY, backM, backD);
    if (backM != mo || backD != d)
        return false;
    seconds = days * 86400 + h * 3600 + mi * 60 + s;
    return true;
}

UserKeepList readKeepList(s::map::IMappedData& store)
{
    UserKeepList list;
    const int32_t count = store.getS32(kKeepListSection, u"Count", 0);
    for (int32_t i = 0; i < count; ++i) {
        const Text section = entrySection(i);
        if (!store.findSection(section))
            break;  // the count is larger than what the store holds
        const auto type = keepEntryTypeFromName(store.getString(section, u"Type").view());
        if (!type)
            continue;  // only this entry is lost
        KeepEntry entry;
        entry.type = *type;
        entry.path = store.getString(section, u"Path").view();
        entry.name = store.getString(section, u"Name").view();
        if (!parseUtcText(store.getString(section, u"Added").view(), entry.added))
            entry.added = 0;
        list.add(std::move(entry));
    }
    return list;
}

void writeKeepList(const UserKeepList& list, s::map::IMappedData& store)
{
    store.beginBatch();
    if (store.findSection(kKeepListSection))
        store.removeSection(kKeepListSection);
    const auto count = static_cast<int32_t>(list.entries().size());
    store.setS32(kKeepListSection, u"Count", count);
    for (int32_t i = 0; i < count; ++i) {
        const KeepEntry& entry = list.entries()[static_cast<std::size_t>(i)];
        const Text section = entrySection(i);
        store.setString(section, u"Type", keepEntryTypeName(entry.type));
        store.setString(section, u"Path", entry.path);
        if (entry.type == KeepEntryType::Pattern || entry.type == KeepEntryType::Value)
            store.setString(section, u"Name", entry.name);
        store.setString(section, u"Added", utcText(entry.added));
    }
    store.endBatch();
}

void applyStoredKeepList(const std::vector<TimeRecord*>& groups, s::map::IMappedData& store)
{
    applyUserKeepList(groups, readKeepList(store).keepList());
}

}  // namespace s::file::gui::dialogs::purgo
