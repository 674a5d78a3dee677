#include "game/DailyResults.h"

#include <algorithm>
#include <charconv>
#include <sstream>

const char* const kDailyResultsFile = "Daily.txt";

namespace {

constexpr const char* kHeading = "velm-orra daily 1";

bool Earlier(const TDate& a, const TDate& b) {
    return DaysSinceEpoch(a) < DaysSinceEpoch(b);
}

template <typename T> bool ParseField(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && value >= 0;
}

} // namespace

bool TDailyResults::Add(const TDailyResult& result) {
    const auto at =
        std::lower_bound(Days.begin(), Days.end(), result.Date,
                         [](const TDailyResult& r, const TDate& d) { return Earlier(r.Date, d); });
    if (at != Days.end() && at->Date == result.Date) return false;
    Days.insert(at, result);
    return true;
}

const TDailyResult* TDailyResults::Find(const TDate& date) const {
    for (const TDailyResult& r : Days)
        if (r.Date == date) return &r;
    return nullptr;
}

int TDailyResults::Streak(const TDate& today) const {
    int64_t day = DaysSinceEpoch(today);
    if (!Find(today)) --day;
    int streak = 0;
    // Days are sorted and unique: walk back from the newest while the days follow each other.
    for (auto r = Days.rbegin(); r != Days.rend(); ++r) {
        const int64_t d = DaysSinceEpoch(r->Date);
        if (d > day) continue; // a day after today (a clock set back) breaks nothing
        if (d != day) break;
        ++streak;
        --day;
    }
    return streak;
}

std::string TDailyResults::ToText() const {
    std::string text = std::string(kHeading) + "\n";
    for (const TDailyResult& r : Days)
        text += DateText(r.Date) + " " + std::to_string(r.Score) + " " + std::to_string(r.Lines) +
                " " + std::to_string(r.LongestChain) + "\n";
    return text;
}

TDailyResults TDailyResults::FromText(const std::string& text, std::vector<std::string>* notes) {
    TDailyResults results;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto note = [&](const std::string& why) {
        if (notes) notes->push_back("line " + std::to_string(number) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++number;
        if (number == 1) {
            if (line != kHeading) {
                note("not a file of daily results of this version");
                return results;
            }
            continue;
        }
        std::istringstream fields(line);
        std::string date, score, lines, chain, rest;
        fields >> date >> score >> lines >> chain;
        TDailyResult r;
        std::string why;
        const std::optional<TDate> parsed = ParseDate(date, &why);
        if (!parsed || !ParseField(score, r.Score) || !ParseField(lines, r.Lines) ||
            !ParseField(chain, r.LongestChain) || (fields >> rest)) {
            note("damaged; it and the lines after it are dropped");
            return results;
        }
        r.Date = *parsed;
        if (!results.Days.empty() && !Earlier(results.Days.back().Date, r.Date)) {
            note("out of date order; it and the lines after it are dropped");
            return results;
        }
        results.Days.push_back(r);
    }
    if (number == 0 && notes) notes->push_back("empty");
    return results;
}

std::string CourseBlocks(const std::vector<int32_t>& stretchPoints) {
    static const char* const kBlocks[8] = {"\u2581", "\u2582", "\u2583", "\u2584",
                                           "\u2585", "\u2586", "\u2587", "\u2588"};
    const size_t count = stretchPoints.size();
    const size_t per = (count + kCourseColumns - 1) / kCourseColumns; // stretches a column
    std::vector<int64_t> columns;
    for (size_t i = 0; i < count; i += per) {
        int64_t sum = 0;
        for (size_t j = i; j < std::min(count, i + per); ++j) sum += std::max(0, stretchPoints[j]);
        columns.push_back(sum);
    }
    const int64_t best = columns.empty() ? 0 : *std::max_element(columns.begin(), columns.end());
    std::string text;
    for (const int64_t c : columns) text += kBlocks[best > 0 ? c * 7 / best : 0];
    return text;
}

std::string DailyShareText(const TDailyResult& result, int streak,
                           const std::vector<int32_t>& stretchPoints) {
    std::string text =
        "Velm Orra daily " + DateText(result.Date) + "\nScore " + std::to_string(result.Score) +
        " \u00b7 lines " + std::to_string(result.Lines) + " \u00b7 chain " +
        std::to_string(result.LongestChain) + " \u00b7 streak " + std::to_string(streak);
    // Without a course (not known after a restart) the text ends with the figures.
    if (!stretchPoints.empty()) text += "\n" + CourseBlocks(stretchPoints);
    return text;
}

int CodePoints(const std::string& text) {
    int count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}
