// Playing on the form: frames drawn in part, moves by mouse, undo, hints, the generator at any
// frame rate, the final board, focus and a lost device.
#include "tests/shell/FormFixture.h"

#include "fx/FrameTiming.h"
#include "fx/SoundBank.h"
#include "game/Random.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Window.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/OptionsScreen.h"
#include "shell/Settings.h"
#include "ui/VOStrings.h"

#include "fx/ParticleEngine.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/TablesState.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include <SDL.h>

// A frame drawn only where it changed must look like the same frame drawn whole: the same play
// runs twice from the same start, once drawn whole and once in part, through a ball's hop, path
// and travel, a line vanishing with its particles, button highlights, the volume bars' clipping,
// a message box and the screens' changes.
TEST_F(Form, FramesDrawnInPartLookLikeWholeFrames) {
    const auto play = [this](bool partial) {
        std::vector<std::vector<uint32_t>> frames;
        Stop();
        std::filesystem::remove(ConfigFile());
        std::filesystem::remove(TRegistry().File()); // a first start each time, with its tip
        ResetShellState();
        HighScores = THighScoreTable{};
        Start();
        form->Device().SetPartialFrames(partial);
        RandSeed(11);
        const auto run = [&](int n, double delta) {
            for (int i = 0; i < n; ++i) {
                form->FrameTimer1RealTime(delta);
                frames.push_back(form->Device().ReadFrame());
            }
        };
        SettleField();
        run(3, 0.5);
        TGameField& f = *GameField;
        f.Clear();
        for (int x = 0; x < 4; ++x) f.Cell(x, 0) = BallKinds[1];
        f.Cell(8, 8) = BallKinds[1];
        f.Cell(5, 5) = BallKinds[9];
        ClickAt(CellX(8), CellY(8));
        run(6, 0.3);
        Move(CellX(4), CellY(0)); // the path shows
        run(2, 0.3);
        ClickAt(CellX(4), CellY(0));
        run(60, 0.25); // the travel, the line vanishing, the scores flying
        ClickAt(CellX(5), CellY(5));
        Move(CellX(5), CellY(5) + 10);
        run(4, 0.7);
        Move(100, 250); // across the buttons
        run(2, 0.5);
        ClickButton(btnOptions);
        run(2, 0.5);
        ClickAt(490 + 60, 180); // a volume bar cut at another place
        run(2, 0.5);
        ClickAt(420, 370); // the full-screen box, on and off
        run(4, 0.5);
        ClickAt(420, 370);
        ClickButton(btnInstructions);
        run(2, 0.5);
        return frames;
    };
    const auto whole = play(false);
    const auto part = play(true);
    ASSERT_EQ(part.size(), whole.size());
    std::vector<size_t> differing;
    for (size_t i = 0; i < part.size(); ++i)
        if (part[i].empty() || part[i] != whole[i]) differing.push_back(i);
    EXPECT_TRUE(differing.empty()) << differing.size() << " of " << part.size()
                                   << " frames differ, the first: " << differing.front();
}

TEST_F(Form, DragAndDropMovesABall) {
    Start();
    SettleField();
    int fx = -1, fy = -1, tx = -1, ty = -1;
    TGameField& f = *GameField;
    for (int x = 0; x < 9 && fx < 0; ++x)
        for (int y = 0; y < 9 && fx < 0; ++y)
            if (f.Cell(x, y).Kind != 0)
                for (int i = 0; i < 9 && fx < 0; ++i)
                    for (int j = 0; j < 9; ++j)
                        if (f.Cell(i, j).Kind == 0 && f.FindPath(x, y, i, j) != kNoPath) {
                            fx = x, fy = y, tx = i, ty = j;
                            break;
                        }
    ASSERT_GE(fx, 0);
    const TCell ball = f.Cell(fx, fy);
    Press(CellX(fx), CellY(fy));
    EXPECT_TRUE(f.Selected);
    Release(CellX(tx), CellY(ty));
    EXPECT_TRUE(f.Moving);
    SettleField();
    EXPECT_EQ(f.Cell(tx, ty), ball);
}

TEST_F(Form, UndoTakesBackMovesPerModeAndReplaysTheSameNewBalls) {
    Start();
    ClickButton(btnKids);
    ASSERT_EQ(GameState.CurrentMode, modeKids);
    SettleField();
    const TGame start = Game();
    std::vector<std::array<int, 4>> moves;
    std::vector<TGame> after;
    for (int i = 0; i < 3; ++i) {
        int fx, fy, tx, ty;
        ASSERT_TRUE(FindMove(fx, fy, tx, ty));
        moves.push_back({fx, fy, tx, ty});
        MoveBall(fx, fy, tx, ty);
        after.push_back(Game());
        Frames(23); // idle frames draw random numbers for the sparkles
    }
    ASSERT_NE(after[2], start);

    // While the ball travels and under a message nothing is taken back.
    StartAMove();
    CtrlZ();
    EXPECT_TRUE(GameField->Moving);
    SettleField();
    const TGame four = Game();
    ClickButton(7); // Exit asks
    CtrlZ();
    Key(VK_BACK);
    EXPECT_EQ(Game(), four);
    ClickButton(btnNo);

    // Kids: back to the start, one move at a time, by key and by the button.
    audio.Stops.clear();
    Key(VK_BACK);
    EXPECT_EQ(Game(), after[2]);
    // No effect or sound of the move is left: particles gone, the new balls' sound stopped.
    EXPECT_TRUE(ParticleEngine->Particles().empty());
    EXPECT_NE(std::find(audio.Stops.begin(), audio.Stops.end(), SoundBank->Named(TSample::App)),
              audio.Stops.end());
    CtrlZ();
    EXPECT_EQ(Game(), after[1]);
    ClickButton(btnUndo);
    EXPECT_EQ(Game(), after[0]);
    CtrlZ();
    EXPECT_EQ(Game(), start);
    CtrlZ(); // nothing left
    EXPECT_EQ(Game(), start);

    // The same moves again bring the same new balls, whatever ran in between.
    for (size_t i = 0; i < moves.size(); ++i) {
        Frames(7 + static_cast<int>(i));
        MoveBall(moves[i][0], moves[i][1], moves[i][2], moves[i][3]);
        EXPECT_EQ(Game(), after[i]) << "move " << i;
    }

    // Normal: the last move only.
    ClickButton(btnKids + 1);
    ClickButton(btnYes); // the Kids game was touched: starting anew asks
    ASSERT_EQ(GameState.CurrentMode, modeNormal);
    SettleField();
    int fx, fy, tx, ty;
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame one = Game();
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    Frames(1);
    const TButton& undo = Buttons->Items[btnUndo];
    EXPECT_FALSE(undo.Disabled);
    CtrlZ();
    EXPECT_EQ(Game(), one);
    CtrlZ();
    EXPECT_EQ(Game(), one);
    // Used up: the button shows it, and the refused undo shakes the button for a moment.
    std::vector<int32_t> offsets;
    for (int i = 0; i < 12; ++i) {
        Frames(1);
        offsets.push_back(undo.OffsetX);
    }
    EXPECT_TRUE(undo.Disabled);
    EXPECT_GT(*std::max_element(offsets.begin(), offsets.end()), 0);
    EXPECT_LT(*std::min_element(offsets.begin(), offsets.end()), 0);
    EXPECT_EQ(offsets.back(), 0);

    // Professional: none, and no button.
    ClickButton(btnKids + 2);
    ClickButton(btnYes);
    ASSERT_EQ(GameState.CurrentMode, modeProfessional);
    SettleField();
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame pro = Game();
    CtrlZ();
    EXPECT_EQ(Game(), pro);
    bool undoDrawn = false;
    Buttons->OnDraw = [&](int32_t index, int32_t) { undoDrawn |= index == btnUndo; };
    Frames(1);
    EXPECT_FALSE(undoDrawn);
    ClickButton(btnKids);
    ClickButton(btnYes);
    Frames(1);
    EXPECT_TRUE(undoDrawn);
    Buttons->OnDraw = nullptr;
}

// The balls come from the game's own generator, which only the game's events advance: what is
// drawn per frame (the idle sparkles, the emptying of a finished field) has its own, so the same
// moves bring the same balls at any frame rate.
TEST_F(Form, TheSameMovesAtTwoFrameRatesBringTheSameBalls) {
    const double units[2] = {0.25, 1.0}; // a frame's time: 60 and 15 frames a second
    std::vector<TGame> games[2];
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        clock = TFakeClock{}; // the same seed in both runs
        ResetShellState();
        std::filesystem::remove(ConfigFile());
        std::filesystem::remove(StatsFile());
        Start();
        ASSERT_EQ(Shell.Word, scrPlaying);
        int sparkles = 0;
        const auto frames = [&](double gameUnits) {
            for (double t = 0; t < gameUnits; t += units[run]) {
                clock.AdvanceSeconds(units[run] / form->FrameTimer().FPS());
                bool done = false;
                form->FrameTimer().IdleStep(done);
                for (const TParticle& p : ParticleEngine->Particles())
                    sparkles += p.Kind == pkAnimation && p.Age == 0.0f;
            }
        };
        for (int move = 0; move < 6; ++move) {
            frames(45); // three seconds of rest: the new balls settle, sparkles come and go
            ASSERT_EQ(GameField->TurnTimer, kTurnIdle);
            int fx, fy, tx, ty;
            ASSERT_TRUE(FindMove(fx, fy, tx, ty));
            ClickAt(CellX(fx), CellY(fy));
            ClickAt(CellX(tx), CellY(ty));
            ASSERT_TRUE(GameField->Moving);
            frames(30);
            games[run].push_back(Game());
        }
        EXPECT_GT(form->FrameTimer().FrameRate(), 10); // a rate at which sparkles can start
        EXPECT_GT(sparkles, 0);
        Stop();
    }
    EXPECT_EQ(games[0], games[1]);
}

// H asks the game's own player: frames later the suggested ball is selected and the cursor sits
// on its target, the game's generator untouched. A game with a hint ends in the hinted figures of
// the statistics; Professional gives no hint.
TEST_F(Form, HintSelectsTheBallAndPointsAtItsTarget) {
    Start();
    SettleField();
    ASSERT_EQ(GameState.CurrentMode, modeNormal);
    const uint64_t generator = RandState();
    Key('H');
    // The search runs beside the frames (on a loaded machine it may take a while).
    for (int i = 0; i < 3000 && form->HintPending(); ++i) {
        Frames(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(form->HintPending());
    Frames(1);
    TGameField& f = *GameField;
    ASSERT_TRUE(f.Selected);
    ASSERT_TRUE(form->Keys().CursorShown());
    const int tx = form->Keys().CursorX(), ty = form->Keys().CursorY();
    EXPECT_EQ(f.Cell(tx, ty).Kind, 0u);
    EXPECT_NE(f.FindPath(f.SelX, f.SelY, static_cast<uint8_t>(tx), static_cast<uint8_t>(ty)),
              kNoPath);
    EXPECT_EQ(RandState(), generator);
    EXPECT_EQ(form->Statistics().Modes[modeNormal].HintedGames, 1u);
    Key(VK_RETURN); // the suggestion taken as it stands
    EXPECT_TRUE(f.Moving);
    FillForTheLastMove(700);
    PlayTheLastMove();
    Key(VK_RETURN);
    const TModeStatistics normal = form->Statistics().Modes[modeNormal];
    EXPECT_EQ(normal.HintedFinished, 1u);
    EXPECT_EQ(normal.HintedBest, 700);
    EXPECT_EQ(normal.GamesFinished, 0u);
    EXPECT_EQ(normal.BestScore, 0);

    ClickButton(btnKids + 2);
    SettleField();
    ASSERT_EQ(GameState.CurrentMode, modeProfessional);
    Key('H');
    EXPECT_FALSE(form->HintPending());
}

// The last move's board stays for a beat, dimmed and saying why, before it empties and the
// message comes; nothing can be undone meanwhile. Quitting then still enters the score.
TEST_F(Form, TheLastMoveShowsTheFinalBoardForABeat) {
    Start();
    FillForTheLastMove(950);
    ClickAt(CellX(0), CellY(0));
    ClickAt(CellX(3), CellY(0));
    for (int i = 0; i < 200 && !GameField->GameOver; ++i) Frames(1);
    ASSERT_TRUE(GameField->GameOver);
    const int32_t balls = 81 - GameField->FreeCellCount();
    EXPECT_NE(TextOfNextFrame().find("No room for new balls"), std::string::npos);
    Frames(50); // 25 units
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(81 - GameField->FreeCellCount(), balls);
    EXPECT_TRUE(Buttons->Items[btnUndo].Disabled);
    for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    Key(VK_RETURN);

    ClickButton(0);
    FillForTheLastMove(960);
    ClickAt(CellX(0), CellY(0));
    ClickAt(CellX(3), CellY(0));
    for (int i = 0; i < 200 && !GameField->GameOver; ++i) Frames(1);
    ASSERT_TRUE(GameField->GameOver);
    Keys({'Q'}, ssCtrl);
    Key('Y');
    Stop();
    ResetShellState();
    Start();
    EXPECT_EQ(HighScores.Blocks[1][1].Score, 960); // below the table's 1000
    EXPECT_EQ(HighScores.Blocks[1][1].NameText(), "Player");
    EXPECT_EQ(HighScores.Blocks[1][2].Score, 950);
}

// While another window has the focus the game's time stands still, frames still run (to paint
// what was uncovered), and the first press resumes it.
TEST_F(Form, AnUnfocusedGameStandsStillAndAPressResumesIt) {
    Start();
    StartAMove();
    form->ApplicationDeactivate();
    EXPECT_EQ(audio.Pauses.size(), 1u);
    const double timer = GameField->TurnTimer;
    EXPECT_TRUE(form->AtRest());
    Frames(20);
    EXPECT_EQ(GameField->TurnTimer, timer);
    EXPECT_FALSE(form->Device().ReadFrame().empty());
    Press(10, 10);
    EXPECT_FALSE(form->Paused());
    EXPECT_EQ(audio.Resumes.size(), 1u);
    Frames(2);
    EXPECT_LT(GameField->TurnTimer, timer);
}

TEST_F(Form, DrawingGoesOnAfterADeviceLoss) {
    Start();
    ClickButton(btnHighScores); // a still screen
    Frames(6);                  // past the cross-fade
    const std::vector<uint32_t> before = form->Device().ReadFrame();
    ASSERT_FALSE(before.empty());
    form->Device().SimulateDeviceLoss();
    Frames(1); // presenting finds the device lost and resets it
    Frames(2);
    const std::vector<uint32_t> after = form->Device().ReadFrame();
    ASSERT_EQ(after.size(), before.size());
    int differing = 0;
    for (size_t i = 0; i < after.size(); ++i) differing += after[i] != before[i];
    EXPECT_LT(differing, static_cast<int>(after.size() / 100)); // only the animated bits
}
