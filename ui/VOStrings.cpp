#include "ui/VOStrings.h"

#include "platform/Files.h"

#include <algorithm>

TVOStrings* Strings = nullptr;

namespace {

// Blanks and control characters (codes 0..32) around a line do not count.
std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
    return s.substr(begin, end - begin);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
    return s;
}

// The lines of a text file; "\r\n", "\n" and a lone "\r" each end a line, and a final line
// break does not start another line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// The whole file; false when it is missing, no regular file (a folder, a FIFO, a device),
// unreadable or over 1 MB (a string table is a few kilobytes).
bool ReadText(std::string path, std::string& text) {
    std::replace(path.begin(), path.end(), '\\', '/');
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes, nullptr, size_t{1} << 20)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// The English texts built into the program: what a key missing from the file shows, so that no
// caption or message is ever blank. The same texts as the generated "strings.txt".
const char* const kBuiltInTable =
    R"(
$MainCaption
Velm Orra
$Options
Options
$HighScores
High Scores
$Help
How to Play
$Kids
Kids
$Normal
Normal
$Proff
Professional
$NewGameHint
Click New Game to play
$DemoLabel
Demo: press any key to play
$FinalScore
Your score: %s
$FinalPlace
Place %s of 10
$Statistics
Statistics
$GameOverReason
No room for new balls
$EnterNameChoice
Yes: play again     No: see the table
$Paused
Paused
$PressAnyKey
Press any key
@Places
{
1st
2nd
3rd
4th
5th
6th
7th
8th
9th
10th
}
@StatisticsRows
{
Games played
Games finished
Best score
Average score
Lines cleared
Longest chain
Best single move
Time played
}
$Exit_Caption
Leave Velm Orra?
@Exit_Text
{
Your scores and settings are kept.

Quit now?
}
$New_Caption
Start a new game?
@New_Text
{
The game in progress will be lost.

Start a new one anyway?
}
$Old_Caption
Welcome back!
@Old_Text
{
Your last game was saved.

Would you like to go on with it?
}
$Clear_Caption
Clear this table?
@Clear_Text
{
All names and scores of this table
return to the starting ones.

This cannot be undone.
}
$EnterName_Caption
A new high score!
@EnterName_Text
{
Well played! Type your name
and press Enter.
}
$LowScore_Caption
Game over
@LowScore_Text
{
No room for more balls.
Not enough for the
table this time.
Play again?
}
$FullScreen_Caption
Display changed
@FullScreen_Text
{
The new display mode is used
from the next start.

Quit Velm Orra now?
}
$ResetStats_Caption
Reset statistics?
@ResetStats_Text
{
Every figure of this mode
returns to zero.

This cannot be undone.
}
$ExitKeep_Caption
Leave Velm Orra?
@ExitKeep_Text
{
Your game is kept: the next start
offers to go on with it.

Quit now?
}
)"
    // Windows-1252: 0xD7 is the multiplication sign.
    "$Chain\nChain \xD7%s\n"
    // 0xBB: the right-pointing double angle quotation mark, the replays' mark.
    "$ReplayLegend\n\xBB a replay, green when verified: click to watch\n"
    "$ReplayHead\nReplay\n"
    "$ReplayKeys\nSpace: pause   F: faster   Esc: stop\n"
    "$ReplayPaused\nPaused\n"
    "$LastSeed\nSeed of the last game: %s\n"
    "$DailyResult\nToday's game: %s points, streak %s   C: copy\n"
    "$Tip_Start\nLine up five balls of one colour to clear them. Click a ball to pick it up.\n"
    "$Tip_Start_Keys\nLine up five balls of one colour to clear them. Arrows move, Space picks "
    "up a ball.\n"
    "$Tip_Start_Pad\nLine up five balls of one colour to clear them. The D-pad moves, A picks "
    "up a ball.\n"
    "$Tip_Start_Touch\nLine up five balls of one colour to clear them. Tap a ball to pick it "
    "up.\n"
    "$Tip_Select\nThe lit cells show where this ball can go: click one. It rolls over free "
    "cells only.\n"
    "$Tip_Select_Keys\nThe lit cells show where this ball can go: move there, press Space. It "
    "rolls over free cells only.\n"
    "$Tip_Select_Pad\nThe lit cells show where this ball can go: move there, press A. It rolls "
    "over free cells only.\n"
    "$Tip_Select_Touch\nThe lit cells show where this ball can go: tap one or drag the ball. It "
    "rolls over free cells only.\n"
    "$Tip_Line\nFive in a line score 50, longer lines more. Lines on moves in a row earn a "
    "chain bonus.\n"
    "$Tip_Undo\nTaken back! Kids: as often as you like. Normal: the last move only. The same "
    "balls come again.\n"
    "$Tip_TwoColour\nA two-colour ball counts for both of its colours.\n"
    "$Tip_Rainbow\nThe rainbow ball fits a line of any colour.\n"
    "$Tip_Paint\nMove a paint ball next to others: it bursts and paints its neighbours its "
    "colour.\n"
    "$Tip_Multiplier\nA multiplier fits any colour and multiplies its line's points by 3, 6 "
    "or 9.\n"
    "$Tip_Bomb\nMove a bomb next to other balls: it blows up the 3 \xD7 3 block around it.\n"
    "$NewBest\nNew best!\n"
    "@SummaryRows\n{\nLines\nLongest chain\nBest move\nMoves\nTime\nYour best\n}\n";

} // namespace

// The index of the first key line "<prefix><key>" (case-insensitive, trimmed), skipping empty and
// ";" lines; source size when there is none.
size_t TVOStrings::FindKey(char prefix, const std::string& key) const {
    const std::string wanted = prefix + Lower(key);
    for (size_t i = 0; i < source_.size(); ++i) {
        const std::string& line = source_[i];
        if (line.empty() || line[0] == ';') continue;
        if (Lower(Trim(line)) == wanted) return i;
    }
    return source_.size();
}

std::string TVOStrings::GetString(const std::string& key) const {
    const size_t at = FindKey('$', key);
    // A key on the last line has no value: empty.
    return at + 1 < source_.size() ? source_[at + 1] : std::string();
}

void TVOStrings::GetList(const std::string& key, std::vector<std::string>& list) const {
    const size_t at = FindKey('@', key);
    // Skip the key line and the "{" line; a list without its "}" ends at the last line.
    for (size_t i = at + 2; i < source_.size(); ++i) {
        if (Trim(source_[i]) == "}") break;
        list.push_back(source_[i]);
    }
}

bool TVOStrings::LoadFromFile(const std::string& fileName, std::string* error) {
    std::string text;
    if (!ReadText(fileName, text)) {
        if (error) *error = fileName + ": cannot read the string table";
        return false;
    }
    LoadFromText(text);
    return true;
}

void TVOStrings::LoadFromText(const std::string& text) {
    // A byte-order mark (editors add one to UTF-8 files) is no part of the first key.
    const bool bom = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::vector<std::string> builtIn = SplitLines(kBuiltInTable);
    const std::vector<std::string> own = SplitLines(bom ? text.substr(3) : text);
    // Each key from the file when it holds it, else from the built-in English table.
    auto value = [&](const std::string& key) {
        source_ = own;
        if (FindKey('$', key) < source_.size()) return GetString(key);
        source_ = builtIn;
        return GetString(key);
    };
    auto list = [&](const std::string& key, std::vector<std::string>& lines) {
        lines.clear();
        source_ = own;
        if (FindKey('@', key) >= source_.size()) source_ = builtIn;
        GetList(key, lines);
    };

    MainCaption = value("MainCaption");
    Help = value("Help");
    Options = value("Options");
    HighScores = value("HighScores");
    Kids = value("Kids");
    Normal = value("Normal");
    Proff = value("Proff");
    NewGameHint = value("NewGameHint");
    DemoLabel = value("DemoLabel");
    FinalScore = value("FinalScore");
    FinalPlace = value("FinalPlace");
    Statistics = value("Statistics");
    GameOverReason = value("GameOverReason");
    EnterNameChoice = value("EnterNameChoice");
    Paused = value("Paused");
    PressAnyKey = value("PressAnyKey");
    list("Places", Places);
    list("StatisticsRows", StatisticsRows);
    list("SummaryRows", SummaryRows);
    NewBest = value("NewBest");
    Chain = value("Chain");
    ReplayLegend = value("ReplayLegend");
    ReplayHead = value("ReplayHead");
    ReplayKeys = value("ReplayKeys");
    ReplayPaused = value("ReplayPaused");
    LastSeed = value("LastSeed");
    DailyResult = value("DailyResult");
    // A tip's wording for an input kind: the file's own; else the file's plain wording (its
    // language before the right wording); else the built-in wording for the kind.
    auto holds = [this](const std::vector<std::string>& lines, const std::string& key) {
        source_ = lines;
        return FindKey('$', key) < source_.size();
    };
    for (size_t i = 0; i < tipCount; ++i) {
        const std::string plain = kTipKeys[i];
        for (size_t kind = 0; kind < kInputKinds; ++kind) {
            const std::string worded = plain + kInputSuffixes[kind];
            // Each look-up leaves source_ on the lines it searched, which GetString then reads.
            const bool found = holds(own, worded) || (!holds(own, plain) && holds(builtIn, worded));
            if (!found && !holds(own, plain)) holds(builtIn, plain);
            Tips[kind][i] = GetString(found ? worded : plain);
        }
    }

    const std::pair<std::string*, std::vector<std::string>*> dialogs[] = {
        {&Exit_Caption, &Exit_Text},
        {&New_Caption, &New_Text},
        {&Old_Caption, &Old_Text},
        {&Clear_Caption, &Clear_Text},
        {&EnterName_Caption, &EnterName_Text},
        {&LowScore_Caption, &LowScore_Text},
        {&FullScreen_Caption, &FullScreen_Text},
        {&ResetStats_Caption, &ResetStats_Text},
        {&ExitKeep_Caption, &ExitKeep_Text}};
    const char* names[] = {"Exit",     "New",        "Old",        "Clear",   "EnterName",
                           "LowScore", "FullScreen", "ResetStats", "ExitKeep"};
    for (size_t i = 0; i < std::size(dialogs); ++i) {
        *dialogs[i].first = value(std::string(names[i]) + "_Caption");
        list(std::string(names[i]) + "_Text", *dialogs[i].second);
    }
    source_.clear();
}
