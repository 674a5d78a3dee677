#pragma once
// The player's daily results and their file, "Daily.txt": a small text format of our own.
//   velm-orra daily 1
//   2026-12-08 1234 17 3
// The first line names the format and its version; then one line a day, in date order, with the
// day's date (UTC), the final score, the lines cleared and the longest chain. A day has at most
// one result: the first daily game of that day played to its end. Reading keeps the lines before
// the first damaged one, so a torn or edited file never stops the game.
#include "game/DailySeed.h"

#include <cstdint>
#include <string>
#include <vector>

struct TDailyResult {
    TDate Date;
    int32_t Score = 0;
    uint32_t Lines = 0;
    uint32_t LongestChain = 0;
};

struct TDailyResults {
    std::vector<TDailyResult> Days; // in date order, one a day

    // Keeps `result` unless its day already has one (the first finished game counts); true when
    // kept.
    bool Add(const TDailyResult& result);
    const TDailyResult* Find(const TDate& date) const;
    // Days in a row with a result, ending today, or yesterday while today has none yet; 0 when
    // neither has one.
    int Streak(const TDate& today) const;

    std::string ToText() const;
    // Fills from `text` as far as it is sound; every damaged part is described in `notes`.
    static TDailyResults FromText(const std::string& text, std::vector<std::string>* notes);
};

// At most this many code points in a share text.
constexpr int kShareTextLimit = 280;
// The course of a game as at most kCourseColumns block characters (U+2581..U+2588), one a stretch
// of moves: `stretchPoints` holds the points of each ten moves in order; with more stretches than
// columns, neighbouring stretches are summed. Each block's height is its stretch's points against
// the best stretch's, in eight steps; a stretch without points is the lowest block.
constexpr int kCourseColumns = 40;
std::string CourseBlocks(const std::vector<int32_t>& stretchPoints);
// The text a player shares after a daily game: the day, the score, the lines, the longest chain,
// the streak and the course, nothing of the board's positions. At most kShareTextLimit code
// points.
std::string DailyShareText(const TDailyResult& result, int streak,
                           const std::vector<int32_t>& stretchPoints);
// Code points in the UTF-8 `text`.
int CodePoints(const std::string& text);

// "Daily.txt" beside "Config.bin".
extern const char* const kDailyResultsFile;
