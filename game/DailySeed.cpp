#include "game/DailySeed.h"

#include <cstdio>

namespace {

bool IsLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

// Howard Hinnant's days_from_civil and civil_from_days: eras of 400 years, March-based years.
int64_t DaysSinceEpoch(const TDate& d) {
    const int64_t y = int64_t{d.Year} - (d.Month <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (d.Month + 9) % 12; // March = 0
    const int64_t doy = (153 * mp + 2) / 5 + d.Day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

TDate DateOfDay(int64_t days) {
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

TDate UtcDateAt(int64_t seconds) {
    return DateOfDay(FloorDiv(seconds, 86400));
}

TDate UtcToday() {
    return UtcDateAt(static_cast<int64_t>(std::time(nullptr)));
}

std::optional<TDate> ParseDate(const std::string& text, std::string* why) {
    const auto fail = [&](const std::string& reason) -> std::optional<TDate> {
        if (why) *why = reason;
        return std::nullopt;
    };
    const auto digits = [&](size_t at, size_t count) {
        int v = 0;
        for (size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return fail("a date is YYYY-MM-DD, not \"" + text + "\"");
    TDate d{digits(0, 4), digits(5, 2), digits(8, 2)};
    if (d.Year < 0 || d.Month < 0 || d.Day < 0)
        return fail("a date is YYYY-MM-DD, not \"" + text + "\"");
    if (d.Year < 1970) return fail("the days begin at 1970-01-01, not \"" + text + "\"");
    if (d.Month < 1 || d.Month > 12 || d.Day < 1 || d.Day > DaysInMonth(d.Year, d.Month))
        return fail("there is no day \"" + text + "\"");
    return d;
}

std::string DateText(const TDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
    return text;
}

uint64_t DailySeed(const TDate& date) {
    uint64_t z = static_cast<uint64_t>(DaysSinceEpoch(date)) + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return z >> 32;
}
