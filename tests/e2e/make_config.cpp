// Writes a "Config.bin" holding a saved Normal game for the end-to-end tests:
//   make_config <file> <score>           balls at (0,0) colour 1, (4,4) colour 3, (8,8) colour 5
//   make_config <file> <score> nearfull  every cell but (8,7) and (8,8) holds a ball, in colours
//                                        that make no line; any move ends the game
//   make_config --replays <folder>      "Config.bin" and "Replays.bin" there: a Normal table in
//                                        which rows 2 and 3 hold the same score, row 2 with the
//                                        replay of its game (it verifies), row 3 with that
//                                        replay less its last step (it does not)
//   make_config --check <file>           exits 1 unless the file decodes without a note;
//                                        prints "flag <0|1> score <n>" and the names in the
//                                        tables (one line each)
#include "game/GameField.h"
#include "game/HighScores.h"
#include "game/Player.h"
#include "game/ReplayPlayer.h"
#include "game/ReplayRecorder.h"
#include "platform/Files.h"
#include "shell/Settings.h"
#include "shell/TableReplays.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Check(const char* file) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(file, bytes, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const TConfigContents c = DecodeConfig(bytes.data(), bytes.size());
    for (const std::string& note : c.Notes) std::fprintf(stderr, "note: %s\n", note.c_str());
    std::printf("flag %d score %d\n", c.HasGame ? 1 : 0, c.HasGame ? c.Game.Score : 0);
    for (const auto& block : c.Table.Blocks)
        for (const auto& e : block) std::printf("%s\n", e.NameText().c_str());
    return c.Damaged() ? 1 : 0;
}

// A greedy Normal game from a fixed seed, played to its end.
TReplay GreedyGame() {
    TStandaloneGame own(3);
    TGameField field(9, 9, own.Context());
    TReplayRecorder recorder(field);
    field.NewGame(modeNormal, 2026);
    while (SettleHeadless(field) && !field.GameOver) {
        const TMove m = ChooseMove(BoardOf(field), TPlayerKind::Greedy);
        field.Click(m.FromX, m.FromY, 0);
        field.Click(m.ToX, m.ToY, 0);
    }
    return recorder.Replay();
}

int Replays(const std::string& folder) {
    const TReplay game = GreedyGame();
    TReplay cut = game;
    cut.Steps.pop_back();
    THighScoreTable table = FreshHighScoreTable();
    THighScoreBlock& normal = table.Blocks[modeNormal];
    for (int r = 0; r < 10; ++r)
        normal[static_cast<size_t>(r)].SetPoints(r < 2   ? game.Score + 100 * (2 - r)
                                                 : r < 4 ? game.Score
                                                         : game.Score * (10 - r) / 8);
    normal[2].SetName("Verified");
    normal[3].SetName("Edited");
    THighScoreReplays replays;
    replays[modeNormal][2] = EncodeReplay(game);
    replays[modeNormal][3] = EncodeReplay(cut);
    std::string error;
    if (!WriteFileAtomically(folder + "/Replays.bin", EncodeTableReplays(replays), &error) ||
        !WriteFileAtomically(folder + "/Config.bin",
                             EncodeConfig(table, 50, 75, false, TSavedGame{}), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("score %d moves %d\n", game.Score, game.Moves());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--check") == 0) return Check(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--replays") == 0) return Replays(argv[2]);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_config <file> <score> [nearfull] | --check <file>\n");
        return 2;
    }
    TSavedGame g;
    g.Mode = 1;
    g.Score = std::atoi(argv[2]);
    g.BallsPerTurn = 3;
    g.Preview = {BallKinds[2], BallKinds[4], BallKinds[6], BallKinds[1]};
    if (argc == 4) {
        // Colour 1 + (x + 2y) mod 5 repeats only every five cells along a row, a column and
        // both diagonals, so no five in a row, before or after one move.
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                if (!(x == 8 && y >= 7)) g.Cells[x][y] = BallKinds[1 + (x + 2 * y) % 5];
    } else {
        g.Cells[0][0] = BallKinds[1];
        g.Cells[4][4] = BallKinds[3];
        g.Cells[8][8] = BallKinds[5];
    }
    std::string error;
    if (!WriteFileAtomically(argv[1], EncodeConfig(FreshHighScoreTable(), 50, 75, true, g),
                             &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
