// Recorded games: they replay through the rules to the very game that was played (undos
// included), watched or headless; a damaged, edited, foreign or illegal replay is refused with its
// reason; and the daily deal is the same everywhere.
#include "game/AutoPlay.h"
#include "game/DailyResults.h"
#include "game/DailySeed.h"
#include "game/GameField.h"
#include "game/Player.h"
#include "game/ReplayPlayer.h"
#include "game/ReplayRecorder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Field, preview and score as a string, to compare two games.
std::string Outcome(const TGameField& field) {
    return BoardText(field) + " score=" + std::to_string(field.Game().Score);
}

// The line of game `game` in a strength run's results, as "score=N moves=M".
std::string StrengthRunLine(const std::string& file, int game) {
    std::ifstream in(std::string(VO_BENCH_RESULTS_DIR) + "/" + file);
    const std::string prefix = "game " + std::to_string(game) + " ";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0) continue;
        const size_t at = line.find("score=");
        return line.substr(at, line.find(" end=") - at);
    }
    return "missing in " + file;
}

// A game of `mode` on a field of its own, recorded: greedy moves, with an undo after each of
// the moves `undoAfter` names (and the move then played again or another one).
class Recorded {
public:
    explicit Recorded(uint8_t mode, uint64_t seed) : own(seed) { field.NewGame(mode); }
    void Settle() { ASSERT_TRUE(SettleHeadless(field)); }
    void Move(bool other = false) {
        std::vector<TMove> moves = LegalMoves(BoardOf(field));
        ASSERT_FALSE(moves.empty());
        const TMove m = other ? moves.back() : ChooseMove(BoardOf(field), TPlayerKind::Greedy);
        field.Click(m.FromX, m.FromY, 0);
        field.Click(m.ToX, m.ToY, 0);
        ASSERT_TRUE(field.Moving);
        Settle();
    }

    TStandaloneGame own;
    TGameField field{9, 9, own.Context()};
    TReplayRecorder recorder{field};
};

TReplay ShortGame() {
    Recorded game(modeNormal, 5);
    game.Settle();
    for (int i = 0; i < 6; ++i) game.Move();
    return game.recorder.Replay();
}

std::string Refusal(const std::vector<uint8_t>& bytes) {
    TReplay unused;
    std::string why;
    EXPECT_FALSE(DecodeReplay(bytes.data(), bytes.size(), unused, &why));
    return why;
}

std::string VerifyRefusal(const TReplay& replay) {
    const TReplayCheck check = VerifyReplay(replay);
    EXPECT_FALSE(check.Verified);
    return check.Why;
}

} // namespace

// The games of the strength runs, played again with a recorder: the same scores and moves as the
// runs kept, and their replays, through the file, verify to those scores. The searching player's
// game is cut short: it thinks for tens of milliseconds a move.
TEST(Replay, StrengthRunGamesReplayToTheirScores) {
    struct TRun {
        const char* File;
        uint8_t Mode;
        int Game;
    };
    for (const TRun run :
         {TRun{"normal-greedy-1.txt", modeNormal, 1}, TRun{"normal-greedy-1.txt", modeNormal, 2},
          TRun{"kids-greedy-1.txt", modeKids, 1},
          TRun{"professional-greedy-1.txt", modeProfessional, 1}}) {
        SCOPED_TRACE(std::string(run.File) + " game " + std::to_string(run.Game));
        TAutoplayOptions options;
        options.Mode = run.Mode;
        options.Player = TPlayerKind::Greedy;
        const TAutoplayGame g = PlayAutoGame(options, static_cast<uint64_t>(run.Game));
        ASSERT_EQ("score=" + std::to_string(g.Score) + " moves=" + std::to_string(g.Moves),
                  StrengthRunLine(run.File, run.Game));
        const std::vector<uint8_t> bytes = EncodeReplay(g.Replay);
        const TReplayCheck check = VerifyReplayBytes(bytes.data(), bytes.size());
        EXPECT_TRUE(check.Verified) << check.Why;
        EXPECT_EQ(check.Score, g.Score);
        EXPECT_EQ(check.Moves, g.Moves);
        EXPECT_TRUE(check.Ended);
    }
    TAutoplayOptions best;
    best.Mode = modeProfessional;
    best.MaxMoves = 6;
    const TAutoplayGame g = PlayAutoGame(best, 38);
    const TReplayCheck check = VerifyReplay(g.Replay);
    EXPECT_TRUE(check.Verified) << check.Why;
    EXPECT_EQ(check.Score, g.Score);
    EXPECT_EQ(check.Moves, 6);
    EXPECT_FALSE(check.Ended);
    // A game played to its very end, its board emptied, keeps its final score.
    Recorded whole(modeProfessional, 3);
    whole.Settle();
    for (int i = 0; i < 200 && !whole.field.GameOver && !HasFatalFailure(); ++i) whole.Move();
    const int32_t final = whole.field.Game().Score;
    for (int i = 0; i < 1000 && whole.field.GameOver; ++i) whole.field.Update(15.0, 60);
    ASSERT_FALSE(whole.field.HasBalls());
    const TReplay kept = whole.recorder.Replay();
    EXPECT_TRUE(kept.Ended);
    EXPECT_EQ(kept.Score, final);
    EXPECT_TRUE(VerifyReplay(kept).Verified);

    // 500 moves fit in 2 KB.
    TReplay long500 = g.Replay;
    long500.Steps.assign(500, TReplayStep{false, 8, 8, 0, 0});
    EXPECT_LE(EncodeReplay(long500).size(), 2048u);
}

// Undos, moves played again after them and other moves in their place: the replay gives the very
// game, headless and watched (paused, then faster), and both through the file.
TEST(Replay, UndosAndMovesPlayedAgainReplayExactly) {
    for (const uint8_t mode : {modeKids, modeNormal}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Recorded game(mode, 77);
        game.Settle();
        for (int i = 0; i < 12; ++i) {
            game.Move();
            if (i % 3 == 1) {
                ASSERT_TRUE(game.field.Undo());
                game.Move(i % 2 == 0); // the same move again, or another
            }
        }
        if (mode == modeKids) {
            for (int i = 0; i < 4; ++i) ASSERT_TRUE(game.field.Undo());
            for (int i = 0; i < 3; ++i) game.Move();
        }
        const TReplay recorded = game.recorder.Replay();
        EXPECT_EQ(recorded.Undos(), mode == modeKids ? 8 : 4);

        std::vector<uint8_t> bytes = EncodeReplay(recorded);
        TReplay read;
        std::string why;
        ASSERT_TRUE(DecodeReplay(bytes.data(), bytes.size(), read, &why)) << why;
        EXPECT_EQ(read, recorded);

        TReplayPlayer headless(read);
        const TReplayCheck check = headless.PlayToEnd();
        EXPECT_TRUE(check.Verified) << check.Why;
        EXPECT_EQ(Outcome(headless.Field()), Outcome(game.field));

        TReplayPlayer watched(read);
        watched.Paused = true;
        for (int i = 0; i < 100; ++i) watched.Advance(1.0, 60);
        EXPECT_EQ(watched.StepsTaken(), 0u);
        watched.Paused = false;
        watched.Speed = 3.0;
        int frames = 0;
        while (!watched.Finished() && frames < 100000) {
            watched.Advance(1.0, 60);
            ++frames;
        }
        EXPECT_FALSE(watched.Failed()) << watched.Why();
        EXPECT_EQ(watched.StepsTaken(), read.Steps.size());
        EXPECT_EQ(Outcome(watched.Field()), Outcome(game.field));

        // A board cleared away unfinished leaves nothing to keep.
        game.field.Clear();
        EXPECT_FALSE(game.recorder.Recording());
    }
}

TEST(Replay, RefusesDamageTruncationJunkOtherRulesAndIllegalSteps) {
    const TReplay good = ShortGame();
    const std::vector<uint8_t> bytes = EncodeReplay(good);
    ASSERT_TRUE(VerifyReplayBytes(bytes.data(), bytes.size()).Verified);

    // Any byte changed anywhere, and any cut.
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (const uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::vector<uint8_t> changed = bytes;
            changed[i] ^= flip;
            const std::string why = Refusal(changed);
            if (i >= kReplayHeaderBytes) {
                EXPECT_EQ(why, "damaged or edited: its check value does not match its content");
            }
        }
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(i));
        const std::string why = Refusal(cut);
        if (i > 0) {
            EXPECT_EQ(why.rfind("truncated: ", 0), 0u) << why;
        }
    }
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(Refusal(longer), "1 bytes of junk after its end");
    EXPECT_EQ(Refusal(std::vector<uint8_t>(kMaxReplayBytes + 1, 'V')),
              "too large: 262145 bytes, a replay has at most 262144");
    EXPECT_EQ(Refusal({'P', 'K', 3, 4, 0, 0}),
              "not a replay of this game (it does not begin with \"VORP\")");
    std::vector<uint8_t> later = bytes;
    later[4] = 9;
    EXPECT_EQ(Refusal(later), "replay format version 9; this game reads version 1");

    // Sound files whose content the rules refuse.
    TReplay other = good;
    other.RulesVersion = kRulesVersion + 1;
    const std::vector<uint8_t> otherBytes = EncodeReplay(other);
    EXPECT_EQ(VerifyReplayBytes(otherBytes.data(), otherBytes.size()).Why,
              "recorded with rules version 2; this game plays rules version 1");
    TReplay claims = good;
    claims.Score += 10;
    EXPECT_EQ(VerifyRefusal(claims), "its moves score " + std::to_string(good.Score) +
                                         ", not the " + std::to_string(claims.Score) +
                                         " it states");
    claims = good;
    claims.Ended = true;
    EXPECT_EQ(VerifyRefusal(claims), "its moves do not end the game, as it says they do");

    // Illegal steps, each named by its number: from an empty cell, onto a ball, an undo where
    // there is nothing to take back and one the mode does not allow.
    TReplayPlayer dealt(good);
    dealt.Deal();
    int emptyX = 0, emptyY = 0, ballX = 0, ballY = 0;
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) {
            const bool ball = dealt.Field().Cell(x, y).Kind != 0;
            (ball ? ballX : emptyX) = x;
            (ball ? ballY : emptyY) = y;
        }
    TReplay bad = good;
    bad.Steps[0].FromX = static_cast<uint8_t>(emptyX);
    bad.Steps[0].FromY = static_cast<uint8_t>(emptyY);
    EXPECT_EQ(VerifyRefusal(bad), "step 1 is not legal: there is no ball at (" +
                                      std::to_string(emptyX) + ", " + std::to_string(emptyY) + ")");
    bad = good;
    bad.Steps[0].ToX = static_cast<uint8_t>(ballX);
    bad.Steps[0].ToY = static_cast<uint8_t>(ballY);
    EXPECT_EQ(VerifyRefusal(bad), "step 1 is not legal: (" + std::to_string(ballX) + ", " +
                                      std::to_string(ballY) + ") is not empty");
    bad = good;
    bad.Steps.insert(bad.Steps.begin(), TReplayStep{true});
    EXPECT_EQ(VerifyRefusal(bad), "step 1 is not legal: an undo with nothing to take back");
    bad.Mode = modeProfessional;
    EXPECT_EQ(VerifyRefusal(bad),
              "step 1 is not legal: an undo, and Professional games take nothing back");
    // A step byte that is neither, in a file whose check value holds.
    std::vector<uint8_t> junk = bytes;
    junk[kReplayHeaderBytes] = 200;
    const uint32_t crc = Crc32(junk.data(), junk.size() - kReplayCheckBytes);
    for (int i = 0; i < 4; ++i) junk[junk.size() - 4 + static_cast<size_t>(i)] = crc >> (8 * i);
    EXPECT_EQ(Refusal(junk), "step 1 is neither a move on the field nor an undo");
}

// The day's seed comes from the UTC date alone; three days' deals are pinned so that every
// platform's build can be checked against the same boards.
TEST(DailyGame, DatesSeedsAndDealsArePinned) {
    EXPECT_EQ(DaysSinceEpoch({1970, 1, 1}), 0);
    EXPECT_EQ(DaysSinceEpoch({2000, 3, 1}), 11017);
    EXPECT_EQ(DaysSinceEpoch({2024, 2, 29}), 19782);
    for (int64_t day = -800; day < 800000; day += 97)
        ASSERT_EQ(DaysSinceEpoch(DateOfDay(day)), day);
    EXPECT_EQ(UtcDateAt(-1), (TDate{1969, 12, 31}));
    EXPECT_EQ(UtcDateAt(1735689599), (TDate{2024, 12, 31}));
    EXPECT_EQ(UtcDateAt(1735689600), (TDate{2025, 1, 1}));

    std::string why;
    EXPECT_TRUE(ParseDate("2024-02-29", &why));
    for (const auto& [text, reason] : std::vector<std::pair<std::string, std::string>>{
             {"2025-02-29", "there is no day \"2025-02-29\""},
             {"2025-13-01", "there is no day \"2025-13-01\""},
             {"2025-04-31", "there is no day \"2025-04-31\""},
             {"1969-12-31", "the days begin at 1970-01-01, not \"1969-12-31\""},
             {"2025-1-01", "a date is YYYY-MM-DD, not \"2025-1-01\""},
             {"2025-01-0x", "a date is YYYY-MM-DD, not \"2025-01-0x\""},
             {"today", "a date is YYYY-MM-DD, not \"today\""}}) {
        EXPECT_FALSE(ParseDate(text, &why));
        EXPECT_EQ(why, reason);
    }

    struct TDay {
        const char* Date;
        uint64_t Seed;
        const char* Deal;
    };
    // The seeds as the documented formula gives them (checked with Python's integers).
    for (const TDay day :
         {TDay{"2025-01-01", 844048796,
               "........./....a..../........./a......../a......../....a..a./........./....f..../"
               "......... preview=dae"},
          TDay{"2026-06-21", 1108937582,
               "........./........./..c....../b......../........./.....c..d/........c/........f/"
               "......... preview=eaf"},
          TDay{"2031-12-31", 2039835887,
               "........./c......../........./....c..../.....c.../........./f......f./........./"
               "......c.. preview=emd"}}) {
        const TDate date = *ParseDate(day.Date, nullptr);
        EXPECT_EQ(DateText(date), day.Date);
        EXPECT_EQ(DailySeed(date), day.Seed) << day.Date;
        TStandaloneGame own;
        TGameField field(9, 9, own.Context());
        field.NewGame(modeNormal, DailySeed(date));
        EXPECT_EQ(BoardText(field), day.Deal) << day.Date;
    }
}

// One result a day (the first kept), the streak across months and gaps, the file read back and
// cut at its first damaged line.
TEST(DailyGame, ResultsKeepTheFirstOfADayAndCountTheStreak) {
    auto day = [](const char* text) { return *ParseDate(text, nullptr); };
    TDailyResults results;
    EXPECT_EQ(results.Streak(day("2026-03-01")), 0);
    EXPECT_TRUE(results.Add({day("2026-03-01"), 500, 12, 2}));
    EXPECT_TRUE(results.Add({day("2026-02-27"), 100, 4, 1}));
    EXPECT_TRUE(results.Add({day("2026-02-28"), 200, 6, 1}));
    EXPECT_FALSE(results.Add({day("2026-03-01"), 900, 30, 5}));
    EXPECT_EQ(results.Find(day("2026-03-01"))->Score, 500);
    EXPECT_EQ(results.Streak(day("2026-03-01")), 3);
    EXPECT_EQ(results.Streak(day("2026-03-02")), 3); // today not yet played
    EXPECT_EQ(results.Streak(day("2026-03-03")), 0);
    EXPECT_EQ(results.Streak(day("2026-02-28")), 2); // a clock set back
    EXPECT_TRUE(results.Add({day("2026-02-25"), 1, 0, 0}));
    EXPECT_EQ(results.Streak(day("2026-03-01")), 3);

    const std::string text = results.ToText();
    EXPECT_EQ(text, "velm-orra daily 1\n2026-02-25 1 0 0\n2026-02-27 100 4 1\n"
                    "2026-02-28 200 6 1\n2026-03-01 500 12 2\n");
    std::vector<std::string> notes;
    EXPECT_EQ(TDailyResults::FromText(text, &notes).ToText(), text);
    EXPECT_TRUE(notes.empty());
    for (const auto& [damaged, kept] : std::vector<std::pair<std::string, size_t>>{
             {"velm-orra daily 1\n2026-02-25 1 0 0\n2026-02-30 1 0 0\n2026-03-01 5 1 1\n", 1},
             {"velm-orra daily 1\n2026-02-25 1 0 0\n2026-02-24 1 0 0\n", 1},
             {"velm-orra daily 1\n2026-02-25 1 0 0\n2026-02-25 1 0 0\n", 1},
             {"velm-orra daily 1\n2026-02-25 -1 0 0\n", 0},
             {"velm-orra daily 1\n2026-02-25 1 0 0 junk\n", 0},
             {"velm-orra daily 1\n2026-02-25 1 0\n", 0},
             {"velm-orra daily 2\n2026-02-25 1 0 0\n", 0},
             {"", 0}}) {
        notes.clear();
        EXPECT_EQ(TDailyResults::FromText(damaged, &notes).Days.size(), kept) << damaged;
        EXPECT_FALSE(notes.empty()) << damaged;
    }
}

// The share text stays within its limit whatever the figures and the game's length, and holds
// only the day, the figures and the course.
TEST(DailyGame, ShareTextFitsAndShowsTheCourse) {
    EXPECT_EQ(CourseBlocks({0, 10, 20, 40}), "\u2581\u2582\u2584\u2588");
    EXPECT_EQ(CourseBlocks({}), "");
    EXPECT_EQ(CodePoints(CourseBlocks(std::vector<int32_t>(999, 5))), 40);
    const TDailyResult result{*ParseDate("2026-12-09", nullptr), 1234, 40, 3};
    EXPECT_EQ(DailyShareText(result, 7, {0, 10, 20, 40}),
              "Velm Orra daily 2026-12-09\nScore 1234 \u00b7 lines 40 \u00b7 chain 3 \u00b7 "
              "streak 7\n\u2581\u2582\u2584\u2588");
    const TDailyResult huge{*ParseDate("9999-12-31", nullptr), INT32_MAX, UINT32_MAX, UINT32_MAX};
    EXPECT_LE(CodePoints(DailyShareText(huge, INT32_MAX, std::vector<int32_t>(1000, INT32_MAX))),
              kShareTextLimit);

    // A game's stretches as its moves bring them.
    TStatistics stats;
    for (int i = 0; i < 25; ++i) stats.MoveDone(modeNormal, i == 12 ? 50 : 0, 0, 0);
    EXPECT_EQ(stats.Current.StretchPoints, (std::vector<int32_t>{0, 50, 0}));
}
