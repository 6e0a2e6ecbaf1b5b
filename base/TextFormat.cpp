#include "base/TextFormat.h"

namespace s::str {

void formatSize(int64_t size, StrBuffer& out)
{
    out.clear();
    if (size == -2)
        return;
    if (size < 0) {
        out.append(u'-');
        return;
    }
    const auto bits = static_cast<uint64_t>(size);
    // TB takes everything from bit 40 up, so sizes of 1024 TB and more keep
    // counting in TB instead of wrapping around.
    const uint64_t fields[5] = {bits & 0x3FF, (bits >> 10) & 0x3FF, (bits >> 20) & 0x3FF, (bits >> 30) & 0x3FF,
                                bits >> 40};
    static constexpr const char16_t* kUnits[5] = {u" B", u" KB", u" MB", u" GB", u" TB"};

    int unit = 4;
    while (unit > 0 && fields[unit] == 0)
        --unit;
    const uint64_t whole = fields[unit];
    out.appendU64(whole);
    if (unit > 0 && whole < 100) {
        const uint64_t hundredths = fields[unit - 1] * 100 / 1024;
        out.append(u'.');
        if (whole < 10) {
            if (hundredths < 10)
                out.append(u'0');
            out.appendU64(hundredths);
        } else {
            out.appendU64(hundredths / 10);
        }
    }
    out.append(kUnits[unit]);
}

void formatCount(int64_t count, StrBuffer& out)
{
    out.clear();
    // Work on the magnitude as unsigned so that INT64_MIN has one too.
    uint64_t magnitude = count < 0 ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
    char16_t digits[32];
    int n = 0;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits[n++] = u',';
            inGroup = 0;
        }
        digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
        ++inGroup;
    } while (magnitude != 0);
    if (count < 0)
        out.append(u'-');
    while (n > 0)
        out.append(digits[--n]);
}

}  // namespace s::str
