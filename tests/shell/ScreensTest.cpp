// Every screen and message box drawn by the real form; with VO_SHOTS_DIR set, each is saved as a
// BMP for review (in the language VO_SHOTS_LANGUAGE names, English without it). Each picture must
// differ from the playing screen in the region its layer covers.
#include "tests/support/FormHarness.h"

#include "fx/ParticleEngine.h"
#include "platform/Registry.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/Language.h"
#include "state/FrameClocks.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/TablesState.h"
#include "tests/support/FrameDetail.h"
#include "ui/Buttons.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

class Screens : public FormHarness {
protected:
    void Capture(const std::string& name) {
        Frames(10, 0.25); // past the cross-fade
        frames[name] = form->Device().ReadFrame();
        ASSERT_EQ(frames[name].size(), 800u * 600u);
        if (const char* dir = std::getenv("VO_SHOTS_DIR"))
            form->Device().SaveFrame(std::string(dir) + "/" + name + ".bmp");
    }
    // Share of pixels that differ between two captures inside a rectangle.
    double Changed(const std::string& a, const std::string& b, int x0, int y0, int x1, int y1) {
        int changed = 0, total = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x, ++total)
                changed += frames[a][static_cast<size_t>(y * 800 + x)] !=
                           frames[b][static_cast<size_t>(y * 800 + x)];
        return static_cast<double>(changed) / total;
    }
    void Message(uint32_t flag, const std::string& name) {
        Shell.ReturnState = Shell.Word;
        Shell.Word = scrPlaying + scrMessageBox + flag;
        Capture(name);
        EXPECT_GT(Changed("playing", name, 330, 150, 740, 400), 0.3) << name;
        Shell.Word = scrPlaying;
    }
    // Every button of `screen` shows in the capture `shot` (a card drawn over one would hide it):
    // its place changes when it is left out.
    void ButtonsShow(const std::string& shot, uint32_t screen) {
        for (TButton& b : Buttons->Items) {
            if (b.StateMask != screen || !b.Image) continue;
            b.StateMask = 0;
            Capture("without-button");
            b.StateMask = screen;
            EXPECT_GT(Changed(shot, "without-button", b.X, b.Y, b.X + b.Image->PatternWidth,
                              b.Y + b.Image->PatternHeight),
                      0.3)
                << shot << " " << b.X << "," << b.Y;
        }
        frames.erase("without-button");
    }
    void Keys(std::initializer_list<uint16_t> keys) {
        for (uint16_t k : keys) Key(k);
    }
    std::map<std::string, std::vector<uint32_t>> frames;
};

} // namespace

TEST_F(Screens, EveryScreenAndMessageBoxIsDrawn) {
    const char* language = std::getenv("VO_SHOTS_LANGUAGE");
    language::SetCurrent(language ? language : "en");
    Start();
    SettleField();
    Capture("playing");
    ClickButton(btnOptions);
    Capture("options");
    EXPECT_GT(Changed("playing", "options", 330, 150, 740, 420), 0.3);
    ButtonsShow("options", scrOptions);
    ClickButton(btnInstructions);
    for (int page = 0; page < 5; ++page) {
        Capture("help" + std::to_string(page));
        EXPECT_GT(Changed("playing", "help" + std::to_string(page), 303, 80, 770, 440), 0.3);
        ClickButton(btnNextPage);
    }
    ClickButton(btnHighScores);
    Capture("highscores");
    EXPECT_GT(Changed("playing", "highscores", 340, 160, 720, 420), 0.2);
    ButtonsShow("highscores", scrHighScores);
    Tables.MarkedMode = Tables.HighScorePage;
    Tables.MarkedRow = 2;
    Capture("highscores-marked");
    EXPECT_GT(Changed("highscores", "highscores-marked", 330, 218, 700, 238), 0.3);
    Key('S');
    Capture("statistics");
    EXPECT_GT(Changed("highscores", "statistics", 340, 200, 720, 400), 0.2);
    Key('S');
    ClickButton(12); // Back from help goes to the game: the high-score Back is button 10
    ClickButton(10);
    ASSERT_EQ(Shell.Word, scrPlaying);
    Message(scrMsgExit, "message-exit");
    Message(scrMsgNew, "message-new");
    Message(scrMsgOld, "message-old");
    Message(scrMsgClear, "message-clear");
    Message(scrMsgResetStats, "message-resetstats");
    GameField->GameCounted = true; // a game with a move: leaving keeps it, and says so
    Message(scrMsgExit, "message-exit-keep");
    EXPECT_GT(Changed("message-exit", "message-exit-keep", 330, 225, 740, 290), 0.01);
    for (int x = 0; x < 9; ++x) // the final board's beat, over a full field
        for (int y = 0; y < 9; ++y)
            GameField->Cell(x, y) = BallKinds[static_cast<size_t>(1 + (x + 2 * y) % 7)];
    GameField->GameOver = true;
    GameField->FinalBoardTimer = kFinalBoardTime;
    Capture("playing-final-board");
    EXPECT_GT(Changed("playing", "playing-final-board", 300, 30, 760, 490), 0.3);
    GameField->GameOver = false;
    GameField->FinalBoardTimer = 0;
    Tables.PlayerName = "J\xfcrgen M\xfc\xdfl"; // in Windows-1252
    Clocks.CaretClock = 1.5;                    // the caret on
    GameState.FinalScore = 1234;
    Tables.NewEntryRow = 2;
    Message(scrMsgEnterName, "message-entername");
    Message(scrMsgLowScore, "message-lowscore");
    language::SetCurrent("en");
    GameField->Clear();
    Capture("playing-empty");
    EXPECT_GT(Changed("playing", "playing-empty", 400, 245, 660, 265), 0.1);
}

// The same screens drawn at density 2 by a second form that lived the same start: brought down
// to 800 x 600 they are the density-1 frames (nothing moved), and they hold finer detail than
// the density-1 frames enlarged (the dense pictures are drawn at their size, not enlarged).
TEST_F(Screens, DenseFramesShowTheSameScreensWithMoreDetail) {
    using namespace framedetail;
    std::map<std::string, std::vector<uint32_t>> at[3];
    TRegistry().WriteInteger("Tips", 0); // the screens alone, without a first game's tip
    for (int d : {1, 2}) {
        ResetShellState();
        HighScores = THighScoreTable{};
        clock = TFakeClock();
        std::filesystem::remove(ConfigFile());
        density = d;
        Start();
        SettleField();
        const auto capture = [&](const std::string& name) {
            Frames(10, 0.25); // past the cross-fade
            at[d][name] = form->Device().ReadFrame();
            ASSERT_EQ(at[d][name].size(), 800u * 600u * d * d) << name;
            if (const char* dir = std::getenv("VO_SHOTS_DIR"))
                form->Device().SaveFrame(std::string(dir) + "/" + name + "-" + std::to_string(d) +
                                         "x.bmp");
        };
        capture("playing");
        ClickButton(btnOptions);
        capture("options");
        ClickButton(btnInstructions);
        ClickButton(btnNextPage);
        capture("help1");
        ClickButton(btnHighScores);
        capture("highscores");
        ClickButton(10);
        Shell.Word = scrPlaying + scrMessageBox + scrMsgExit;
        capture("message");
        Stop();
    }
    // A picture moved by one pixel differs by far more than the tolerance.
    std::vector<uint32_t> moved(at[1]["playing"].size());
    std::copy(at[1]["playing"].begin() + 1, at[1]["playing"].end(), moved.begin());
    EXPECT_GT(MeanDifference(at[1]["playing"], moved), 3.0);
    for (const auto& [name, plain] : at[1]) {
        const std::vector<uint32_t> down = HalfSize(at[2][name], 800, 600);
        EXPECT_LT(MeanDifference(plain, down), 1.5) << name;
    }
    // The field with its balls, and the whole help screen with its text and pictures.
    constexpr int kFieldSide = 9 * kCellPitch;
    EXPECT_GT(DetailRatio(at[1]["playing"], at[2]["playing"], 800, 600, kFieldLeft, kFieldTop,
                          kFieldLeft + kFieldSide, kFieldTop + kFieldSide),
              1.4);
    EXPECT_GT(DetailRatio(at[1]["help1"], at[2]["help1"], 800, 600, 2, 2, 798, 598), 1.4);
}

// One move seen frame by frame: the selected ball, its travel, and the line it completes
// vanishing with its floating score.
TEST_F(Screens, AMoveThatCompletesALine) {
    Start();
    SettleField();
    TGameField& f = *GameField;
    f.Clear();
    for (int x = 0; x < 4; ++x) f.Cell(x, 6) = BallKinds[2];
    f.Cell(7, 2) = BallKinds[2];
    f.Cell(2, 2) = BallKinds[5];
    ClickAt(CellX(7), CellY(2));
    Capture("move-1-selected");
    Move(CellX(4), CellY(6));
    Capture("move-2-path");
    EXPECT_GT(f.PathMarks(4, 6), 0);
    Press(CellX(4), CellY(6));
    Release(CellX(4), CellY(6));
    Frames(3, 0.5);
    Capture("move-3-travel");
    for (int i = 0; i < 40 && f.Cell(0, 6).Kind != 0; ++i) Frames(1, 0.25);
    EXPECT_EQ(GameState.Score, 50);
    Capture("move-4-vanishing");
    Frames(6, 0.5);
    Capture("move-5-score-rising");
}

// The moments of a first game, with motion and with reduced motion: the tips, a dragged ball, a
// line of seven, a chain, a bomb and a new high score. Reduced motion keeps what each tells (the
// tip, the chain's callout, the points, the celebration's banner) and drops the sparks, glows and
// shakes.
TEST_F(Screens, MomentsWithAndWithoutMotion) {
    for (const bool reduced : {false, true}) {
        SCOPED_TRACE(reduced ? "reduced motion" : "motion");
        const std::string suffix = reduced ? "-still" : "";
        std::filesystem::remove(TRegistry().File()); // a first start: every tip to come
        std::filesystem::remove(ConfigFile());
        ResetShellState();
        HighScores = THighScoreTable{};
        TRegistry().WriteInteger("ReducedMotion", reduced ? 1 : 0);
        Start();
        ASSERT_EQ(Options.ReducedMotion, reduced);
        SettleField();
        Capture("moment-1-first-game" + suffix);
        EXPECT_EQ(form->Guidance()->Showing(), tipStart);

        TGameField& f = *GameField;
        // A few balls besides the ones in play, so that the field shows a game in progress.
        const auto clear = [&f] {
            f.Clear();
            f.Cell(8, 0) = BallKinds[4];
            f.Cell(0, 8) = BallKinds[6];
            f.Cell(8, 7) = BallKinds[5];
        };
        clear();
        for (int x : {0, 1, 2, 4, 5, 6}) f.Cell(x, 4) = BallKinds[1];
        f.Cell(3, 8) = BallKinds[1];
        Press(CellX(3), CellY(8));
        Capture("moment-2-picked" + suffix);
        EXPECT_EQ(form->Guidance()->Showing(), tipSelect);
        Move(CellX(5), CellY(7) + 10); // dragged: it lifts and follows the pointer
        Capture("moment-3-dragged" + suffix);
        Release(CellX(3), CellY(4));
        for (int i = 0; i < 60 && f.Cell(0, 4).Kind != 0; ++i) Frames(1, 0.25);
        Frames(2, 0.25);
        const auto count = [](uint8_t kind) {
            return std::count_if(ParticleEngine->Particles().begin(),
                                 ParticleEngine->Particles().end(),
                                 [kind](const TParticle& p) { return p.Kind == kind; });
        };
        EXPECT_EQ(count(pkSpark) > 0, !reduced);
        EXPECT_EQ(count(pkGlow) > 0, !reduced);
        Capture("moment-4-line-of-seven" + suffix);
        EXPECT_EQ(form->Guidance()->Showing(), tipLine);
        ASSERT_GT(GameState.Score, 0);
        if (reduced)
            EXPECT_EQ(form->ShownScore(), GameState.Score); // at once
        else
            EXPECT_LT(form->ShownScore(), GameState.Score); // still counting up
        SettleField();
        Frames(40, 0.5);
        EXPECT_EQ(form->ShownScore(), GameState.Score); // counted up

        // A chain: the second line-making move in a row.
        clear();
        for (int x = 0; x < 4; ++x) f.Cell(x, 1) = BallKinds[3];
        f.Cell(4, 6) = BallKinds[3];
        f.ChainCount = 1;
        ClickAt(CellX(4), CellY(6));
        ClickAt(CellX(4), CellY(1));
        for (int i = 0; i < 60 && f.Cell(0, 1).Kind != 0; ++i) Frames(1, 0.25);
        Frames(3, 0.25);
        EXPECT_EQ(count(pkCallout), 1);
        Capture("moment-5-chain" + suffix);
        SettleField();

        // A bomb waiting in NEXT for the first time: its tip, its slot ringed.
        f.Preview[1] = BallKinds[22];
        form->Guidance()->BallsSpawned({});
        EXPECT_EQ(form->Guidance()->Showing(), tipBomb);
        Capture("moment-6-bomb-tip" + suffix);

        // A bomb moved next to other balls.
        clear();
        for (int x = 3; x < 6; ++x)
            for (int y = 2; y < 5; ++y) f.Cell(x, y) = BallKinds[static_cast<size_t>(1 + x % 3)];
        f.Cell(4, 8) = BallKinds[22];
        ClickAt(CellX(4), CellY(8));
        ClickAt(CellX(4), CellY(5)); // below the block: the blast takes its lowest row
        for (int i = 0; i < 80 && f.Cell(3, 4).Kind != 0; ++i) Frames(1, 0.25);
        EXPECT_EQ(f.Cell(3, 4).Kind, 0u);
        Frames(2, 0.25);
        Capture("moment-6-bomb" + suffix);
        SettleField();
        Frames(20, 0.5);

        // A new high score: celebrated before the name entry; a key ends it.
        SettleField();
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                if (!(y == 0 && x < 4))
                    f.Cell(x, y) = BallKinds[static_cast<size_t>(1 + (x + 2 * y) % 6)];
        f.Cell(0, 0) = BallKinds[7];
        f.BallsPerTurn = 3;
        f.Preview.fill(BallKinds[7]);
        GameState.Score = 4321;
        ClickAt(CellX(0), CellY(0));
        ClickAt(CellX(3), CellY(0));
        for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
        ASSERT_TRUE(HasFlag(Shell.Word, scrMsgEnterName));
        EXPECT_TRUE(form->Celebrating());
        Capture("moment-7-record" + suffix);
        Key(VK_END);
        EXPECT_FALSE(form->Celebrating());
        Capture("moment-8-name-entry" + suffix);
        Stop();
    }
    TRegistry().WriteInteger("ReducedMotion", 0);
    Options.ReducedMotion = false;
}

// The keyboard's cursor reads on every ball kind and on empty cells: a light band between dark
// edges, drawn over the ball (also while it is hovered and animating), in every frame.
TEST_F(Screens, TheFieldCursorReadsOnEveryBallKind) {
    Start();
    SettleField();
    TGameField& f = *GameField;
    f.Clear();
    for (int kind = 1; kind < kBallKindCount; ++kind)
        f.Cell((kind - 1) % 9, (kind - 1) / 9) = BallKinds[static_cast<size_t>(kind)];
    Key(VK_LEFT); // shows the cursor
    Keys({VK_HOME, VK_PRIOR});
    for (int cell = 0; cell < kBallKindCount; ++cell) { // the last one is an empty cell
        const int cx = cell % 9, cy = cell / 9;
        while (form->Keys().CursorX() < cx) Key(VK_RIGHT);
        while (form->Keys().CursorX() > cx) Key(VK_LEFT);
        while (form->Keys().CursorY() < cy) Key(VK_DOWN);
        const std::string name = "cursor-" + std::to_string(cell);
        Capture(name);
        const std::vector<uint32_t>& p = frames[name];
        const int left = kFieldLeft + kCellPitch * cx, top = kFieldTop + kCellPitch * cy;
        for (const auto& [x, y] : {std::pair{left + 2, top + 26}, std::pair{left + 26, top + 49}}) {
            const uint32_t light = p[static_cast<size_t>(y * 800 + x)];
            EXPECT_GT((light >> 16) & 0xFF, 200u) << name;
            EXPECT_GT((light >> 8) & 0xFF, 190u) << name;
            EXPECT_LT(light & 0xFF, 120u) << name;
        }
        const uint32_t dark = p[static_cast<size_t>((top + 26) * 800 + left + 4)];
        EXPECT_LT(((dark >> 16) & 0xFF) + ((dark >> 8) & 0xFF) + (dark & 0xFF), 150u) << name;
        frames.erase(name);
    }
}
