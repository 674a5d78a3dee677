#pragma once
// The daily game: one deal a day, the same everywhere. A day is a date of the UTC calendar; its
// seed comes from the number of days since 1970-01-01 through SplitMix64 (Steele, Lea and Flood's
// mixing function), integer arithmetic modulo 2^64 only:
//   z = days + 0x9E3779B97F4A7C15
//   z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9
//   z = (z ^ (z >> 27)) * 0x94D049BB133111EB
//   z =  z ^ (z >> 31)
//   seed = z >> 32            (0 .. 4294967295)
// so Linux, Windows and the browser deal the same board. The daily game is played by the Normal
// rules, dealt from the seed as any game is (TGameField::NewGame).
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

struct TDate {
    int Year = 1970, Month = 1, Day = 1;
    bool operator==(const TDate&) const = default;
};

// Days from 1970-01-01 to `date` (negative before it), in the proleptic Gregorian calendar.
int64_t DaysSinceEpoch(const TDate& date);
// The date `days` after 1970-01-01.
TDate DateOfDay(int64_t days);
// The UTC date at `seconds` since 1970-01-01 00:00 UTC.
TDate UtcDateAt(int64_t seconds);
// Today's date in UTC.
TDate UtcToday();

// "YYYY-MM-DD" of a real day from 1970-01-01 to 9999-12-31; otherwise nothing, and the reason.
std::optional<TDate> ParseDate(const std::string& text, std::string* why);
std::string DateText(const TDate& date);

uint64_t DailySeed(const TDate& date);
