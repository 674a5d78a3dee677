// The form from its start to its end: the logo, the first start, a kept game resumed or
// declined, damaged files, the statistics kept across starts.
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

TEST_F(Form, FirstStartLogsInOrderAndStartsANormalGame) {
    Start();
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, 1);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 6);
    EXPECT_EQ(HighScores.Blocks[2][0].Score, 1000);
    EXPECT_EQ(Options.MusicVolume, 50);

    std::vector<std::string> steps;
    int startupPictures = 0, ingamePictures = 0;
    bool ingame = false;
    for (const std::string& line : logLines) {
        if (line.rfind("Loaded Texture \"", 0) == 0) {
            ++(ingame ? ingamePictures : startupPictures);
            continue;
        }
        if (line == "Loading Ingame Resources ...") ingame = true;
        steps.push_back(line.rfind("Device - ", 0) == 0 ? "Device - "
                        : line.rfind("CPU - ", 0) == 0  ? "CPU - "
                                                        : line);
    }
    const std::vector<std::string> expected = {"Program started",
                                               "Initializing Direct3D Device...",
                                               "...Ok",
                                               "Device - ",
                                               "CPU - ",
                                               "Initializing Font Render Device...",
                                               "Loading textures...",
                                               "Starting Logo",
                                               "Loading font ...",
                                               "Loading ingame strings...",
                                               "Loading Ingame Resources ...",
                                               "Initializing BASS ...",
                                               "Initializing XWindows :) ...",
                                               "...Ok",
                                               "Releasing loading stuff ...",
                                               "Starting game...",
                                               "Loading config ..."};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(startupPictures, 10);
    // The undo button, the language row, the Options screen's switches panel, the effects with
    // the screens' card and the hint button.
    EXPECT_EQ(ingamePictures, 117 + 1 + 2 + 3 + 6 + 1);

    std::ifstream in(LogFile());
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_NE(first.find(" -=- Program started"), std::string::npos);
    EXPECT_EQ(second, "");
    // The music loops at the music volume.
    ASSERT_EQ(audio.StreamPlays.size(), 1u);
    EXPECT_EQ(audio.StreamPlays[0].Flags & audLoop, audLoop);
}

// A click or key during the logo skips to the loading step with the logo's state where a logo
// that ran its course leaves it; nothing else of the input acts, and the settings stay alone.
TEST_F(Form, InputDuringTheLogoSkipsItAndLeavesTheSettingsAlone) {
    MakeForm();
    ASSERT_TRUE(form->FormCreate());
    while (Shell.Word == scrLogo) Frames(1, 1.0);
    const TLogoState ran = form->Logo();
    Stop();

    for (const bool byKey : {false, true}) {
        std::ofstream(ConfigFile(), std::ios::binary) << "precious";
        ResetShellState();
        MakeForm();
        ASSERT_TRUE(form->FormCreate());
        Frames(3, 1.0);
        ASSERT_EQ(Shell.Word, scrLogo);
        EXPECT_NE(TextOfNextFrame().find("Press any key"), std::string::npos);
        if (byKey)
            Key(VK_ESCAPE);
        else
            ClickAt(140, 180);
        EXPECT_EQ(Shell.Word, scrLoading);
        const TLogoState& skipped = form->Logo();
        EXPECT_EQ(skipped.Phase, ran.Phase);
        EXPECT_EQ(skipped.LogoClock, ran.LogoClock);
        EXPECT_GE(skipped.ShineClock, 28.0);
        EXPECT_EQ(skipped.FlareClock, ran.FlareClock);
        // The bar stands where the logo's own frames would have left it (their last step may
        // overshoot by part of a frame).
        EXPECT_NEAR(skipped.LoadProgress, ran.LoadProgress, 1.0);
        Key(VK_RETURN, /*alt=*/true);
        EXPECT_EQ(Shell.Word, scrLoading);
        EXPECT_FALSE(Options.FullScreen);
        bool canClose = true;
        form->FormCloseQuery(canClose);
        EXPECT_FALSE(canClose);
        EXPECT_TRUE(form->Terminated());
        Stop();
        EXPECT_EQ(ReadConfig(), (std::vector<uint8_t>{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    }
}

TEST_F(Form, SavedGameResumesUnderTheOldMessage) {
    Start();
    MakeAMove();
    GameState.Score = 120;
    const auto cells = GameField->Cells;
    const auto preview = GameField->Preview;
    ClickButton(7);
    ClickButton(btnYes);
    ASSERT_TRUE(form->Terminated());
    Stop();
    auto bytes = ReadConfig();
    ASSERT_EQ(bytes.size(), 1450u);
    EXPECT_EQ(bytes[608], 1);

    ResetShellState();
    Start();
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgOld + scrPlaying);
    EXPECT_EQ(GameState.Score, 120);
    EXPECT_EQ(GameState.ChosenMode, modeNormal); // a new game after this one keeps its mode
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) EXPECT_EQ(GameField->Cell(x, y), cells(x, y));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GameField->Preview[static_cast<size_t>(i)], preview[static_cast<size_t>(i)]);
    ClickButton(btnYes);
    EXPECT_EQ(Shell.Word, scrPlaying);
    // The kept game is protected as one moved in this run: Ctrl+N, New Game and a mode ask
    // first, on No, and No keeps it.
    for (const int command : {-1, int(btnNewGame), int(btnKids)}) {
        if (command < 0)
            Keys({'N'}, ssCtrl);
        else
            ClickButton(command);
        ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgNew + scrPlaying) << command;
        EXPECT_EQ(form->Keys().Focused(), btnNo);
        Key(VK_RETURN);
        EXPECT_EQ(Shell.Word, scrPlaying);
        EXPECT_EQ(GameState.Score, 120);
    }

    // Leaving from the options screen keeps the game too, and the message says so.
    ClickButton(btnOptions);
    ClickButton(7);
    EXPECT_NE(TextOfNextFrame().find("Your game is kept"), std::string::npos);
    ClickButton(btnYes);
    Stop();
    bytes = ReadConfig();
    ASSERT_EQ(bytes.size(), 1450u);
    EXPECT_EQ(bytes[608], 1);

    // A game with a move and no points, quit from the Options screen by Ctrl+Q: kept, in its
    // mode; the mode of the last game started is where the next start begins without one.
    ResetShellState();
    Start();
    ClickButton(btnNo); // the saved game declined
    ClickButton(btnKids);
    MakeAMove();
    ASSERT_EQ(GameState.Score, 0);
    ClickButton(btnOptions);
    Keys({'Q'}, ssCtrl);
    Key('Y');
    Stop();
    bytes = ReadConfig();
    EXPECT_EQ(bytes[608], 1);
    EXPECT_EQ(bytes[609], modeKids);
    ResetShellState();
    Start();
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgOld + scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, modeKids);
    ClickButton(btnNo);
    Stop();
    ResetShellState();
    Start();
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, modeKids);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 3);
    // A game without a move is not kept, whatever screen it is left from.
    Keys({'Q'}, ssCtrl);
    EXPECT_EQ(TextOfNextFrame().find("Your game is kept"), std::string::npos);
    Key('Y');
    Stop();
    EXPECT_EQ(ReadConfig()[608], 0);
}

TEST_F(Form, NoToTheOldMessageShowsTheEmptyMenu) {
    TSavedGame g;
    g.Mode = 0;
    g.Score = 50;
    g.BallsPerTurn = 2;
    g.Preview.fill(BallKinds[1]);
    g.Cells[4][4] = BallKinds[3];
    const auto bytes = EncodeConfig(FreshHighScoreTable(), 10, 20, true, g);
    std::ofstream(ConfigFile(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    Start();
    EXPECT_EQ(Options.MusicVolume, 10);
    EXPECT_EQ(GameState.CurrentMode, 0);
    EXPECT_TRUE(Buttons->Items[btnKids].Selected);
    ClickButton(btnNo);
    EXPECT_EQ(Shell.Word, scrMenu);
    EXPECT_EQ(GameState.Score, 0);
    EXPECT_FALSE(GameField->HasBalls());
    EXPECT_NE(TextOfNextFrame().find("Click New Game to play"), std::string::npos);
    ClickAt(CellX(4), CellY(4)); // a new game in the mode whose button is lit
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, modeKids);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 3);
}

TEST_F(Form, DamagedConfigStartsSafely) {
    TSavedGame g;
    g.Mode = 9;
    g.Score = 50;
    auto bytes = EncodeConfig(FreshHighScoreTable(), 500, 75, true, g);
    std::ofstream(ConfigFile(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    Start();
    EXPECT_EQ(Shell.Word, scrPlaying); // a new Normal game instead
    EXPECT_EQ(Options.MusicVolume, 100);
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        "Config.bin: the saved game has mode 9 and was dropped"),
              logLines.end());
}

// A finished game's summary under its game-end message: the lines, the longest chain, the best
// move and the moves of that game alone (an undone move leaves none behind), its time, and the
// mode's best, marked when the game set it; the best then stands by the score while playing.
TEST_F(Form, TheGameEndSummarisesTheGameBesideTheModesBest) {
    Start();
    SettleField();
    ASSERT_EQ(GameState.CurrentMode, modeNormal);
    TGameField& f = *GameField;
    const auto clear = [&] {
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) f.Cell(x, y) = TCell{};
    };
    clear();
    for (int x = 0; x < 4; ++x) f.Cell(x, 4) = BallKinds[2];
    f.Cell(8, 8) = BallKinds[2];
    MoveBall(8, 8, 4, 4); // a line of five: 50
    for (int x = 0; x < 4; ++x) f.Cell(x, 6) = BallKinds[3];
    f.Cell(8, 6) = BallKinds[3];
    f.Cell(8, 2) = BallKinds[4];
    MoveBall(8, 2, 7, 1); // a quiet move, taken back: no move, and the chain stands
    ASSERT_TRUE(f.CanUndo());
    CtrlZ();
    SettleField();
    MoveBall(8, 6, 4, 6); // the second line in a row: 50 and a chain bonus of 50
    Frames(45, 1.0);      // three seconds on the playing screen
    FillForTheLastMove(950);
    PlayTheLastMove(); // a third, quiet move ends the game
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgEnterName));
    Key(VK_END); // past the celebration
    using TRows = std::vector<std::pair<std::string, std::string>>;
    TRows rows = form->SummaryRows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"Lines", "2"}));
    EXPECT_EQ(rows[1], (std::pair<std::string, std::string>{"Longest chain", "2"}));
    EXPECT_EQ(rows[2], (std::pair<std::string, std::string>{"Best move", "100"}));
    EXPECT_EQ(rows[3], (std::pair<std::string, std::string>{"Moves", "3"}));
    EXPECT_EQ(rows[4].first, "Time");
    EXPECT_GE(rows[4].second, "0:03");
    EXPECT_EQ(rows[5], (std::pair<std::string, std::string>{"New best!", "950"}));
    std::string text = TextOfNextFrame();
    EXPECT_NE(text.find("New best!950"), std::string::npos) << text;

    // The next game starts from nothing; the best stands by its score, and a lower final score
    // shows the best unmarked.
    Key(VK_RETURN);
    Frames(1);
    ClickButton(btnNewGame);
    SettleField();
    ASSERT_EQ(Shell.Word, scrPlaying);
    text = TextOfNextFrame();
    EXPECT_NE(text.find("Your best 950"), std::string::npos) << text;
    FillForTheLastMove(70);
    PlayTheLastMove();
    ASSERT_TRUE(HasFlag(Shell.Word, scrMessageBox));
    Key(VK_END);
    rows = form->SummaryRows();
    EXPECT_EQ(rows[0].second, "0");
    EXPECT_EQ(rows[3].second, "1");
    EXPECT_EQ(rows[5], (std::pair<std::string, std::string>{"Your best", "950"}));
}

TEST_F(Form, StatisticsCountGamesSurviveARestartAndADamagedFile) {
    Start();
    SettleField();
    int fx, fy, tx, ty;
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty); // game 1: played, then left for game 2
    Frames(30, 1.0);          // two seconds on the playing screen
    FillForTheLastMove(950);
    PlayTheLastMove();
    Key(VK_RETURN);
    TModeStatistics normal = form->Statistics().Modes[modeNormal];
    EXPECT_EQ(normal.GamesPlayed, 1u);
    EXPECT_EQ(normal.GamesFinished, 1u);
    EXPECT_EQ(normal.BestScore, 950);
    EXPECT_GE(normal.PlaySeconds, 2u);
    Frames(1);
    ASSERT_TRUE(std::filesystem::exists(StatsFile())); // written when the game ended

    // Lines and moves: a prepared line of five made by one move.
    ClickButton(btnKids);
    SettleField();
    TGameField& f = *GameField;
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) f.Cell(x, y) = TCell{};
    for (int x = 0; x < 4; ++x) f.Cell(x, 4) = BallKinds[2];
    f.Cell(8, 8) = BallKinds[2];
    MoveBall(8, 8, 4, 4);
    const TModeStatistics kids = form->Statistics().Modes[modeKids];
    EXPECT_EQ(kids.GamesPlayed, 1u);
    EXPECT_EQ(kids.LinesCleared, 1u);
    EXPECT_EQ(kids.BestMove, GameState.Score);
    EXPECT_GT(kids.BestMove, 0);
    CtrlZ(); // an undone move takes its figures back
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 0u);
    EXPECT_EQ(form->Statistics().Modes[modeKids].GamesPlayed, 1u);
    MoveBall(8, 8, 4, 4);

    // The statistics page and its reset, which asks first.
    ClickButton(btnHighScores);
    ClickButton(btnHighScores);
    Key('S');
    ASSERT_TRUE(Tables.StatisticsShown);
    const std::string page = TextOfNextFrame();
    EXPECT_NE(page.find("Games finished"), std::string::npos) << page;
    // The page's title says statistics, not the table's "Top ten": its band differs from the
    // table's of the same mode.
    const auto titleBand = [this] {
        Frames(1);
        const std::vector<uint32_t> frame = form->Device().ReadFrame();
        std::vector<uint32_t> band;
        for (int y = 100; y < 118; ++y)
            for (int x = 470; x < 600; ++x) band.push_back(frame.at(size_t(y) * 800 + size_t(x)));
        return band;
    };
    const std::vector<uint32_t> statisticsTitle = titleBand();
    Key('S');
    EXPECT_NE(titleBand(), statisticsTitle);
    Key('S');
    ClickButton(11); // Clear
    ASSERT_EQ(Shell.Word, scrHighScores + scrMessageBox + scrMsgResetStats);
    ClickButton(btnNo);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 1u);
    Stop();

    ResetShellState();
    Start();
    if (HasFlag(Shell.Word, scrMsgOld)) ClickButton(btnNo);
    normal = form->Statistics().Modes[modeNormal];
    EXPECT_EQ(normal.GamesFinished, 1u);
    EXPECT_EQ(normal.BestScore, 950);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 1u);
    ClickButton(btnHighScores);
    // The arrows reach the statistics past the last table.
    for (int i = 0; i < 6 && !(Tables.StatisticsShown && Tables.HighScorePage == modeKids); ++i)
        ClickButton(9);
    ASSERT_TRUE(Tables.StatisticsShown);
    ASSERT_EQ(Tables.HighScorePage, modeKids);
    ClickButton(11);
    ClickButton(btnYes);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 0u);
    EXPECT_EQ(form->Statistics().Modes[modeNormal].GamesFinished, 1u);
    Stop();

    // A torn file: what comes before the damage is kept, the original set aside.
    std::string text;
    {
        std::ifstream in(StatsFile());
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t cut = text.find("[professional]");
    ASSERT_NE(cut, std::string::npos);
    std::ofstream(StatsFile(), std::ios::trunc)
        << text.substr(0, cut) << "[professional]\nplayed 1x\xff";
    ResetShellState();
    Start();
    EXPECT_EQ(form->Statistics().Modes[modeNormal].BestScore, 950);
    EXPECT_TRUE(std::filesystem::exists(StatsFile() + ".damaged"));
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        StatsFile() + ": line 29 is damaged; the rest of the file is ignored"),
              logLines.end());
}

// A saved game goes on as it would have without the quit: the same new balls, also after an
// undo (no fishing for others by quitting). Scores above 65535 are kept whole beside the
// table's 16-bit field, which holds 65535.
TEST_F(Form, ARestoredGameDrawsWhatItWouldHaveDrawnAndScoresStayWhole) {
    const std::string extra =
        (std::filesystem::path(ConfigFile()).parent_path() / "Config.extra").string();
    Start();
    SettleField();
    int fx, fy, tx, ty;
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame once = Game();
    form->SaveIfRequested(); // the move's, as after its frame
    CtrlZ();
    // The undo is saved as a move is: a kill now leaves the board it left.
    const TGame undone = Game();
    form->SaveIfRequested();
    {
        const std::vector<uint8_t> kept = ReadConfig();
        const TConfigContents c = DecodeConfig(kept.data(), kept.size());
        ASSERT_TRUE(c.HasGame);
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                EXPECT_EQ(c.Game.Cells[size_t(x)][size_t(y)],
                          undone.Cells[size_t(x) * 9 + size_t(y)]);
        EXPECT_EQ(c.Game.Score, undone.Score);
    }
    HighScores.Blocks[1][0].SetPoints(70000);
    ClickButton(7);
    ClickButton(btnYes);
    Stop();
    EXPECT_EQ(ReadConfig().at(218), 0xFF); // the Normal table's first score: 65535
    EXPECT_EQ(ReadConfig().at(219), 0xFF);

    ResetShellState();
    HighScores = THighScoreTable{};
    clock.AdvanceCounts(654321);
    Start();
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgOld));
    EXPECT_EQ(HighScores.Blocks[1][0].Points(), 70000);
    ClickButton(btnYes);
    RandSeed(99); // whatever the generator drew since: the saved state holds
    MoveBall(fx, fy, tx, ty);
    EXPECT_EQ(Game(), once);

    // Without an undo: the next move after a restart brings what it brings without one.
    ClickButton(btnHighScores);
    EXPECT_NE(TextOfNextFrame().find("70000"), std::string::npos);
    ClickButton(10);
    Stop();
    const std::vector<uint8_t> config = ReadConfig();
    std::vector<uint8_t> extraBytes;
    ASSERT_TRUE(ReadFileBytes(extra, extraBytes, nullptr));
    ResetShellState();
    Start();
    ClickButton(btnYes);
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame onward = Game();
    Stop();
    WriteFileAtomically(ConfigFile(), config, nullptr);
    WriteFileAtomically(extra, extraBytes, nullptr);
    ResetShellState();
    clock.AdvanceCounts(123457); // the generator is seeded from the clock at each start
    Start();
    ClickButton(btnYes);
    Frames(37); // frames draw nothing from the balls' generator
    MoveBall(fx, fy, tx, ty);
    EXPECT_EQ(Game(), onward);
    Stop();

    // A "Config.bin" the extra file does not go with (written by hand, a crash between the two
    // writes) leaves the extra file unused: 65535 shows.
    std::vector<uint8_t> other = config;
    other[600] ^= 1; // the music volume
    WriteFileAtomically(ConfigFile(), other, nullptr);
    WriteFileAtomically(extra, extraBytes, nullptr);
    ResetShellState();
    Start();
    EXPECT_EQ(HighScores.Blocks[1][0].Points(), 65535);
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        "Config.extra goes with another Config.bin and is not used"),
              logLines.end());
}
