// Writes a "Config.bin" holding a saved Normal game for the end-to-end tests:
//   make_config <file> <score>
// The saved field has balls at (0,0) colour 1, (4,4) colour 3 and (8,8) colour 5.
#include "game/HighScores.h"
#include "platform/Files.h"
#include "shell/Settings.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_config <file> <score>\n");
        return 2;
    }
    TSavedGame g;
    g.Mode = 1;
    g.Score = std::atoi(argv[2]);
    g.BallsPerTurn = 3;
    g.Preview = {BallKinds[2], BallKinds[4], BallKinds[6], BallKinds[1]};
    g.Cells[0][0] = BallKinds[1];
    g.Cells[4][4] = BallKinds[3];
    g.Cells[8][8] = BallKinds[5];
    std::string error;
    if (!WriteFileAtomically(argv[1], EncodeConfig(FreshHighScoreTable(), 50, 75, true, g),
                             &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
