#pragma once
// The player's statistics, per mode, and their file: a small text format of our own, one
// "key value" pair a line under a "[mode]" heading. Reading keeps what comes before the first
// damaged line and drops the rest, so a torn or edited file never stops the game.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TModeStatistics {
    uint32_t GamesPlayed = 0;   // games started in the mode (a resumed game counts once)
    uint32_t GamesFinished = 0; // games played until the field was full
    int32_t BestScore = 0;      // best final score of a finished game
    uint64_t TotalScore = 0;    // sum of the finished games' final scores
    uint32_t LinesCleared = 0;
    uint32_t LongestChain = 0; // most line-making moves in a row
    int32_t BestMove = 0;      // most points one move brought, with its chain bonus
    uint64_t PlaySeconds = 0;  // time on the playing screen with a game running
    // Games in which the player took a hint count apart: started ones in HintedGames (at the
    // first hint), finished ones only in the Hinted figures, never in the three above.
    uint32_t HintedGames = 0;
    uint32_t HintedFinished = 0;
    int32_t HintedBest = 0;
    uint64_t HintedTotal = 0;

    // Mean final score of the finished games, rounded down; 0 before the first.
    int32_t AverageScore() const;
};

constexpr int kStatisticsModes = 3;

// The figures of the game being played, for its summary at the end: kept beside the statistics,
// never written to their file (a game resumed in a later run counts from where it was resumed).
struct TGameFigures {
    uint32_t Lines = 0;
    uint32_t LongestChain = 0; // most line-making moves in a row
    int32_t BestMove = 0;      // most points one move brought, with its chain bonus
    uint32_t Moves = 0;        // moves played to their end (an undone move does not count)
    double Seconds = 0.0;      // time on the playing screen with the game running
    // The points of each kMovesPerStretch moves in order, for the game's course; the stretches
    // after kMaxStretches are not kept.
    std::vector<int32_t> StretchPoints;
};
constexpr uint32_t kMovesPerStretch = 10;
constexpr size_t kMaxStretches = 1000;

struct TStatistics {
    std::array<TModeStatistics, kStatisticsModes> Modes{}; // Kids, Normal, Professional

    void GameStarted(uint8_t mode);
    void GameFinished(uint8_t mode, int32_t score, bool hinted = false);
    // The first hint taken in a game.
    void GameHinted(uint8_t mode);
    // One move's result: the points it brought, the lines it removed and the chain it reached.
    void MoveDone(uint8_t mode, int32_t points, uint32_t lines, uint32_t chain);
    // Play time comes in fractions of a second; whole seconds are carried into PlaySeconds.
    void AddPlayTime(uint8_t mode, double seconds);
    void Reset(uint8_t mode);
    // A new game: its figures start again.
    void GameDealt() { Current = TGameFigures{}; }

    // The figures of the game being played (its mode's).
    TGameFigures Current;

    std::string ToText() const;
    // Fills from `text` as far as it is sound; every damaged part is described in `notes`.
    static TStatistics FromText(const std::string& text, std::vector<std::string>* notes);

private:
    double pendingSeconds_ = 0.0;
};

// "Stats.txt" beside "Config.bin".
extern const char* const kStatisticsFile;
