#include "game/Statistics.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

const char* const kStatisticsFile = "Stats.txt";

namespace {

constexpr const char* kHeader = "velm-orra statistics 1";
constexpr std::array<const char*, kStatisticsModes> kModeNames = {"kids", "normal", "professional"};

// Longest line a sound file holds: a key and a 20-digit number.
constexpr size_t kMaxLine = 64;

template <typename T> void AddClamped(T& field, uint64_t amount) {
    const uint64_t room =
        static_cast<uint64_t>(std::numeric_limits<T>::max()) - static_cast<uint64_t>(field);
    field = static_cast<T>(static_cast<uint64_t>(field) + std::min(amount, room));
}

struct TField {
    const char* Key;
    uint64_t Max;
    uint64_t TModeStatistics::*Wide = nullptr;
    uint32_t TModeStatistics::*Count = nullptr;
    int32_t TModeStatistics::*Points = nullptr;
};

const TField kFields[] = {
    {"played", UINT32_MAX, nullptr, &TModeStatistics::GamesPlayed},
    {"finished", UINT32_MAX, nullptr, &TModeStatistics::GamesFinished},
    {"best", INT32_MAX, nullptr, nullptr, &TModeStatistics::BestScore},
    {"total", UINT64_MAX, &TModeStatistics::TotalScore},
    {"lines", UINT32_MAX, nullptr, &TModeStatistics::LinesCleared},
    {"chain", UINT32_MAX, nullptr, &TModeStatistics::LongestChain},
    {"move", INT32_MAX, nullptr, nullptr, &TModeStatistics::BestMove},
    {"seconds", UINT64_MAX, &TModeStatistics::PlaySeconds},
    {"hinted", UINT32_MAX, nullptr, &TModeStatistics::HintedGames},
    {"hinted_finished", UINT32_MAX, nullptr, &TModeStatistics::HintedFinished},
    {"hinted_best", INT32_MAX, nullptr, nullptr, &TModeStatistics::HintedBest},
    {"hinted_total", UINT64_MAX, &TModeStatistics::HintedTotal},
};

uint64_t Get(const TModeStatistics& m, const TField& f) {
    if (f.Wide) return m.*f.Wide;
    if (f.Count) return m.*f.Count;
    return static_cast<uint64_t>(std::max(0, m.*f.Points));
}

void Set(TModeStatistics& m, const TField& f, uint64_t v) {
    if (f.Wide)
        m.*f.Wide = v;
    else if (f.Count)
        m.*f.Count = static_cast<uint32_t>(v);
    else
        m.*f.Points = static_cast<int32_t>(v);
}

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    return s.substr(i);
}

// Figures of finished games that some games could have made: the best at most the total, the
// total at most the best in every game, and nothing without a game.
bool PossibleEnds(uint32_t finished, int32_t best, uint64_t total) {
    if (finished == 0) return best == 0 && total == 0;
    const auto b = static_cast<uint64_t>(best);
    return best >= 0 && b <= total && total <= b * finished;
}

} // namespace

int32_t TModeStatistics::AverageScore() const {
    if (GamesFinished == 0) return 0;
    return static_cast<int32_t>(std::min<uint64_t>(TotalScore / GamesFinished, INT32_MAX));
}

void TStatistics::GameStarted(uint8_t mode) {
    if (mode >= kStatisticsModes) return;
    AddClamped(Modes[mode].GamesPlayed, 1);
}

void TStatistics::GameHinted(uint8_t mode) {
    if (mode < kStatisticsModes) AddClamped(Modes[mode].HintedGames, 1);
}

void TStatistics::GameFinished(uint8_t mode, int32_t score, bool hinted) {
    if (mode >= kStatisticsModes) return;
    TModeStatistics& m = Modes[mode];
    if (hinted) {
        AddClamped(m.HintedFinished, 1);
        m.HintedBest = std::max(m.HintedBest, std::max(0, score));
        AddClamped(m.HintedTotal, static_cast<uint64_t>(std::max(0, score)));
        return;
    }
    AddClamped(m.GamesFinished, 1);
    // A game can be finished in a run that did not see it start (a resumed game from an older
    // version's file): played never falls below finished.
    m.GamesPlayed = std::max(m.GamesPlayed, m.GamesFinished);
    const int32_t s = std::max(0, score);
    m.BestScore = std::max(m.BestScore, s);
    AddClamped(m.TotalScore, static_cast<uint64_t>(s));
}

void TStatistics::MoveDone(uint8_t mode, int32_t points, uint32_t lines, uint32_t chain) {
    if (mode >= kStatisticsModes) return;
    TModeStatistics& m = Modes[mode];
    AddClamped(m.LinesCleared, lines);
    m.LongestChain = std::max(m.LongestChain, chain);
    m.BestMove = std::max(m.BestMove, points);
    AddClamped(Current.Lines, lines);
    Current.LongestChain = std::max(Current.LongestChain, chain);
    Current.BestMove = std::max(Current.BestMove, points);
    const size_t stretch = Current.Moves / kMovesPerStretch;
    if (stretch < kMaxStretches) {
        if (Current.StretchPoints.size() <= stretch) Current.StretchPoints.resize(stretch + 1, 0);
        int32_t& sum = Current.StretchPoints[stretch];
        sum = static_cast<int32_t>(
            std::min<int64_t>(INT32_MAX, int64_t{sum} + std::max<int32_t>(0, points)));
    }
    AddClamped(Current.Moves, 1);
}

void TStatistics::AddPlayTime(uint8_t mode, double seconds) {
    if (mode >= kStatisticsModes || !(seconds > 0) || seconds > 3600) return;
    Current.Seconds += seconds;
    pendingSeconds_ += seconds;
    const double whole = std::floor(pendingSeconds_);
    if (whole < 1) return;
    pendingSeconds_ -= whole;
    AddClamped(Modes[mode].PlaySeconds, static_cast<uint64_t>(whole));
}

void TStatistics::Reset(uint8_t mode) {
    if (mode < kStatisticsModes) Modes[mode] = TModeStatistics{};
}

std::string TStatistics::ToText() const {
    std::string out = std::string(kHeader) + "\n";
    for (size_t i = 0; i < Modes.size(); ++i) {
        out.append("[").append(kModeNames[i]).append("]\n");
        for (const TField& f : kFields)
            out += std::string(f.Key) + " " + std::to_string(Get(Modes[i], f)) + "\n";
    }
    return out;
}

TStatistics TStatistics::FromText(const std::string& text, std::vector<std::string>* notes) {
    TStatistics s;
    auto note = [notes](const std::string& n) {
        if (notes) notes->push_back(n);
    };
    size_t pos = 0;
    int lineNo = 0;
    int mode = -1;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string raw = text.substr(pos, std::min(end - pos, kMaxLine + 1));
        const bool tooLong = end - pos > kMaxLine;
        pos = end + 1;
        ++lineNo;
        const std::string line = Trim(raw);
        const std::string where = "line " + std::to_string(lineNo);
        if (tooLong) {
            note(where + " is too long; the rest of the file is ignored");
            break;
        }
        if (lineNo == 1) {
            if (line != kHeader) {
                note("not a statistics file; it is ignored");
                break;
            }
            continue;
        }
        if (line.empty()) continue;
        if (line.front() == '[') {
            mode = -1;
            for (size_t i = 0; i < kModeNames.size(); ++i)
                if (line == std::string("[").append(kModeNames[i]).append("]"))
                    mode = static_cast<int>(i);
            if (mode < 0) {
                note(where + ": unknown section; the rest of the file is ignored");
                break;
            }
            continue;
        }
        const size_t space = line.find(' ');
        const TField* field = nullptr;
        for (const TField& f : kFields)
            if (space != std::string::npos && line.compare(0, space, f.Key) == 0 &&
                std::char_traits<char>::length(f.Key) == space)
                field = &f;
        uint64_t value = 0;
        const char* first = space == std::string::npos ? nullptr : line.data() + space + 1;
        const char* last = line.data() + line.size();
        const auto [rest, ec] = first
                                    ? std::from_chars(first, last, value)
                                    : std::from_chars_result{nullptr, std::errc::invalid_argument};
        if (mode < 0 || !field || ec != std::errc() || rest != last || value > field->Max) {
            note(where + " is damaged; the rest of the file is ignored");
            break;
        }
        Set(s.Modes[static_cast<size_t>(mode)], *field, value);
    }
    if (text.empty()) note("the file is empty");
    for (size_t i = 0; i < s.Modes.size(); ++i) {
        TModeStatistics& m = s.Modes[i];
        const std::string where = std::string("[") + kModeNames[i] + "] ";
        if (!PossibleEnds(m.GamesFinished, m.BestScore, m.TotalScore)) {
            note(where + "finished games, best and total do not fit together; they are dropped");
            m.GamesFinished = 0;
            m.BestScore = 0;
            m.TotalScore = 0;
        }
        if (!PossibleEnds(m.HintedFinished, m.HintedBest, m.HintedTotal)) {
            note(where + "the hinted games' ends do not fit together; they are dropped");
            m.HintedFinished = 0;
            m.HintedBest = 0;
            m.HintedTotal = 0;
        }
        if (m.GamesFinished > m.GamesPlayed) {
            note(where + "more games finished than played; played set to finished");
            m.GamesPlayed = m.GamesFinished;
        }
    }
    return s;
}
