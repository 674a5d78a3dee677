#pragma once
// TVOStrings: every text the screens show, read once from "strings.txt". "$Key" lines are followed
// by the value line; "@Key" lines by a "{" line, the list's lines and a "}" line. Keys match
// case-insensitively after trimming; the first matching key line wins; values are taken as
// written. Lines starting with ";" and empty lines are skipped while looking for keys.
#include "platform/InputKind.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The first-game tips: the start, a ball picked, the first line, the first undo, then each kind
// of special ball entering the preview.
enum TTip : uint8_t {
    tipStart,
    tipSelect,
    tipLine,
    tipUndo,
    tipTwoColour,
    tipRainbow,
    tipPaint,
    tipMultiplier,
    tipBomb,
    tipCount
};
// Their keys in the string table, in that order.
inline constexpr const char* kTipKeys[tipCount] = {"Tip_Start", "Tip_Select",     "Tip_Line",
                                                   "Tip_Undo",  "Tip_TwoColour",  "Tip_Rainbow",
                                                   "Tip_Paint", "Tip_Multiplier", "Tip_Bomb"};
// A tip that tells how to play has a wording for each kind of input, under its key with the
// kind's suffix ("Tip_Start_Touch"); the mouse's wording is the plain key's. By TInputKind.
inline constexpr const char* kInputSuffixes[kInputKinds] = {"", "_Keys", "_Pad", "_Touch"};

class TVOStrings {
public:
    // Reads the file and fills every field. A missing or unreadable file returns false with the
    // file named in `error` and fills nothing.
    bool LoadFromFile(const std::string& fileName, std::string* error = nullptr);
    // Fills every field from the text of a string table (any bytes; lines end at "\r\n", "\n"
    // or "\r"; a leading UTF-8 byte-order mark is skipped). A key the text lacks takes the
    // English text built into the program.
    void LoadFromText(const std::string& text);
    // Lookups in the source text (valid while it is loaded, that is inside LoadFromFile or after
    // SetSource). A key on the last line or a list without its "}" ends at the last line.
    std::string GetString(const std::string& key) const;
    void GetList(const std::string& key, std::vector<std::string>& list) const;
    void SetSource(std::vector<std::string> lines) { source_ = std::move(lines); }

    std::string MainCaption, Options, HighScores, Help, Kids, Normal, Proff;
    uint8_t LastHelpPage = 0;
    std::string Exit_Caption, New_Caption, Old_Caption, Clear_Caption, EnterName_Caption,
        LowScore_Caption, FullScreen_Caption;
    std::vector<std::string> Exit_Text, New_Text, Old_Text, Clear_Text, EnterName_Text,
        LowScore_Text, FullScreen_Text;
    std::string ResetStats_Caption;
    std::vector<std::string> ResetStats_Text;
    // The Exit message while a game is in progress, which is kept.
    std::string ExitKeep_Caption;
    std::vector<std::string> ExitKeep_Text;
    // Over the board of a game that has ended; the line above Yes and No in the name entry.
    std::string GameOverReason, EnterNameChoice;
    // The empty field's invitation; the game-end lines ("%s" stands for the score and for the
    // place, one of Places, best first); the statistics page's title and row labels.
    std::string NewGameHint, FinalScore, FinalPlace, Statistics;
    std::string DemoLabel;   // over the field while the game plays itself
    std::string Paused;      // over the demo while the window has lost the focus
    std::string PressAnyKey; // on the logo screen, which any key or click skips
    std::vector<std::string> Places, StatisticsRows;
    // The game summary's row labels (lines, longest chain, best move, moves, time, the mode's
    // best) and the mark of a new best, shown in place of the last label.
    std::vector<std::string> SummaryRows;
    std::string NewBest;
    // A chain's callout ("%s" its length) and the first-game tips (each one text, wrapped by
    // whoever draws it) by the kind of input they are worded for.
    std::string Chain;
    // The high-score screen's replays: the line that explains the entries' marks, the watched
    // replay's head, its keys and its paused state; the statistics page's seed of the last game
    // ("%s" the seed).
    std::string ReplayLegend, ReplayHead, ReplayKeys, ReplayPaused, LastSeed, DailyResult;
    using TTipTexts = std::array<std::string, tipCount>;
    std::array<TTipTexts, kInputKinds> Tips;
    const TTipTexts& TipsFor(TInputKind kind) const { return Tips[static_cast<size_t>(kind)]; }

private:
    size_t FindKey(char prefix, const std::string& key) const;

    std::vector<std::string> source_;
};

extern TVOStrings* Strings;
