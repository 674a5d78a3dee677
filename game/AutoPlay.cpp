#include "game/AutoPlay.h"

#include "game/GameField.h"
#include "game/ReplayPlayer.h"
#include "game/ReplayRecorder.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>

namespace {

constexpr const char* kModeNames[3] = {"kids", "normal", "professional"};

// The player's time: the processor time of this thread where the system keeps it (so that other
// programs on a busy machine do not count), else the wall clock.
double NowMs() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0)
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
#endif
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A whole number from `lowest` up to the type's largest, written in plain digits; otherwise the
// reason, which names the range.
template <typename T>
bool ParseNumber(const std::string& name, const std::string& s, T& out, T lowest,
                 std::string& why) {
    const char* end = s.data() + s.size();
    T v{};
    const auto [rest, ec] = std::from_chars(s.data(), end, v);
    if (ec == std::errc() && rest == end && v >= lowest) {
        out = v;
        return true;
    }
    why = name + " takes " + std::to_string(lowest) + " to " +
          std::to_string(std::numeric_limits<T>::max()) + ", not \"" + s + "\"";
    return false;
}

int32_t Median(std::vector<int32_t> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : static_cast<int32_t>((int64_t{v[n / 2 - 1]} + v[n / 2]) / 2);
}

// The nearest-rank percentile.
double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const auto rank = static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

long Rounded(double v) {
    return std::lround(v);
}

} // namespace

bool ParseAutoplay(const std::vector<std::string>& args, TAutoplayOptions& o, std::string* error) {
    const auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    static const char* const kOptions[] = {"--mode", "--player", "--games", "--max-moves",
                                           "--seed", "--record", "--daily"};
    bool dealChosen = false; // --mode, --seed or --games
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& key = args[i];
        if (std::find(std::begin(kOptions), std::end(kOptions), key) == std::end(kOptions))
            return fail("unknown argument \"" + key + "\"");
        if (i + 1 >= args.size()) return fail(key + " needs a value");
        const std::string& value = args[++i];
        if (value.empty()) return fail(key + " has an empty value");
        std::string why;
        dealChosen = dealChosen || key == "--mode" || key == "--seed" || key == "--games";
        if (key == "--record") {
            o.Record = value;
        } else if (key == "--daily") {
            o.Daily = ParseDate(value, &why);
            if (!o.Daily) return fail("--daily takes a date: " + why);
        } else if (key == "--mode") {
            const auto* at = std::find(std::begin(kModeNames), std::end(kModeNames), value);
            if (at == std::end(kModeNames))
                return fail("--mode is kids, normal or professional, not \"" + value + "\"");
            o.Mode = static_cast<uint8_t>(at - std::begin(kModeNames));
        } else if (key == "--player") {
            if (value != "best" && value != "greedy")
                return fail("--player is best or greedy, not \"" + value + "\"");
            o.Player = value == "best" ? TPlayerKind::Best : TPlayerKind::Greedy;
        } else if ((key == "--games" && !ParseNumber(key, value, o.Games, 1, why)) ||
                   (key == "--max-moves" && !ParseNumber(key, value, o.MaxMoves, 1, why)) ||
                   (key == "--seed" && !ParseNumber<uint64_t>(key, value, o.Seed, 0, why))) {
            return fail(why);
        }
    }
    if (o.Daily) {
        if (dealChosen)
            return fail("--daily plays that day's one game of Normal rules: no --mode, --seed "
                        "or --games with it");
        o.Mode = modeNormal;
        o.Seed = DailySeed(*o.Daily);
        o.Games = 1;
    }
    return true;
}

TAutoplayGame PlayAutoGame(const TAutoplayOptions& options, uint64_t seed) {
    TAutoplayGame game;
    game.Seed = seed;
    // A game of its own: its state, tables and generators, nothing of the game on the screen.
    TStandaloneGame own(seed);
    TGameField field(TBoard::kSide, TBoard::kSide, own.Context());
    TReplayRecorder recorder(field);
    field.NewGame(options.Mode, seed);
    if (!SettleHeadless(field)) return game;
    while (game.Moves < options.MaxMoves && !field.GameOver) {
        const TBoard board = BoardOf(field);
        const double start = NowMs();
        const TMove move = ChooseMove(board, options.Player, options.Budget);
        game.MoveMs.push_back(NowMs() - start);
        if (!move.Valid()) {
            game.Stuck = true; // no ball can move: an empty field
            break;
        }
        field.Click(move.FromX, move.FromY, 0);
        field.Click(move.ToX, move.ToY, 0);
        if (!field.Moving) break; // cannot happen for a legal move; stop rather than spin
        ++game.Moves;
        if (!SettleHeadless(field)) break;
    }
    game.Ended = field.GameOver;
    game.Score = own.Game.Score;
    game.Recorded = recorder.Recording();
    if (game.Recorded) game.Replay = recorder.Replay();
    return game;
}

std::string ReplayFileName(const std::string& base, int index, int games) {
    if (games <= 1) return base;
    std::string number = "-";
    number += std::to_string(index + 1);
    const size_t name = base.find_last_of("/\\");
    const size_t dot = base.find_last_of('.');
    const size_t nameStart = name == std::string::npos ? 0 : name + 1;
    if (dot == std::string::npos || dot <= nameStart) return base + number;
    return base.substr(0, dot) + number + base.substr(dot);
}

std::string BoardText(const TGameField& field) {
    std::string text;
    for (int y = 0; y <= field.MaxY; ++y) {
        if (y > 0) text += '/';
        for (int x = 0; x <= field.MaxX; ++x) {
            const TCell& c = field.Cell(x, y);
            text += c.Kind == 0 ? '.' : static_cast<char>('a' + c.Picture);
        }
    }
    text += " preview=";
    const auto shown = static_cast<size_t>(std::clamp<int32_t>(field.BallsPerTurn, 0, 5));
    for (size_t i = 0; i < shown; ++i) text += static_cast<char>('a' + field.Preview[i].Picture);
    return text;
}

std::string DailyDealLine(const TDate& date) {
    const uint64_t seed = DailySeed(date);
    TStandaloneGame own(seed);
    TGameField field(TBoard::kSide, TBoard::kSide, own.Context());
    field.NewGame(modeNormal, seed);
    return "daily: date=" + DateText(date) + " seed=" + std::to_string(seed) +
           " board=" + BoardText(field);
}

int RunAutoplay(const TAutoplayOptions& options, std::FILE* out, std::FILE* err,
                const TReplayKeeper& keep) {
    const char* player = options.Player == TPlayerKind::Best ? "best" : "greedy";
    const char* mode = kModeNames[options.Mode % 3];
    if (options.Daily) std::fprintf(out, "%s\n", DailyDealLine(*options.Daily).c_str());
    std::vector<int32_t> scores;
    std::vector<double> times;
    double moves = 0;
    for (int i = 0; i < options.Games; ++i) {
        const TAutoplayGame g = PlayAutoGame(options, options.Seed + static_cast<uint64_t>(i));
        scores.push_back(g.Score);
        moves += g.Moves;
        times.insert(times.end(), g.MoveMs.begin(), g.MoveMs.end());
        double sum = 0;
        for (const double t : g.MoveMs) sum += t;
        std::fprintf(
            out, "game %d seed=%llu score=%d moves=%d end=%s ms_per_move=%ld median=%ld p95=%ld\n",
            i + 1, static_cast<unsigned long long>(g.Seed), g.Score, g.Moves,
            g.Ended   ? "full"
            : g.Stuck ? "no-move"
                      : "max-moves",
            Rounded(g.MoveMs.empty() ? 0.0 : sum / static_cast<double>(g.MoveMs.size())),
            Rounded(Percentile(g.MoveMs, 50)), Rounded(Percentile(g.MoveMs, 95)));
        std::fflush(out);
        if (options.Record.empty()) continue;
        const std::string file = ReplayFileName(options.Record, i, options.Games);
        const std::vector<uint8_t> bytes =
            g.Recorded ? EncodeReplay(g.Replay) : std::vector<uint8_t>{};
        std::string why = bytes.empty() ? "the game is too long for a replay" : "";
        if (bytes.empty() || !keep || !keep(file, bytes, &why)) {
            std::fprintf(err, "velm-orra: cannot keep the replay %s: %s\n", file.c_str(),
                         why.empty() ? "nothing keeps replays here" : why.c_str());
            return 1;
        }
    }
    int64_t total = 0;
    for (const int32_t s : scores) total += s;
    double timeSum = 0;
    for (const double t : times) timeSum += t;
    const auto games = static_cast<double>(options.Games);
    std::fprintf(out,
                 "autoplay: player=%s mode=%s games=%d mean=%ld median=%d moves=%ld "
                 "ms_per_move=%ld p95=%ld\n",
                 player, mode, options.Games, Rounded(static_cast<double>(total) / games),
                 Median(scores), Rounded(moves / games),
                 Rounded(times.empty() ? 0.0 : timeSum / static_cast<double>(times.size())),
                 Rounded(Percentile(times, 95)));
    std::fflush(out);
    return 0;
}
