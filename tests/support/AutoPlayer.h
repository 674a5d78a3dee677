#pragma once
// An automatic player for the whole game: it drives a started TForm1 only through its input
// handlers and its frame timer (a fake clock moved by a varying step), plays moves the way a
// person would (a press on a ball, then on a reachable cell, or a drag from one to the other),
// looks for lines of its colour, and answers the end-of-game messages.
#include "fx/FrameTiming.h"
#include "fx/ParticleEngine.h"
#include "game/BallKinds.h"
#include "game/GameField.h"
#include "platform/App.h"
#include "render/PatternImage.h"
#include "shell/Form.h"
#include "state/GameState.h"
#include "state/ShellState.h"
#include "tests/support/FakeClock.h"
#include "ui/Buttons.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

struct TPlayStats {
    int Games = 0;
    int Moves = 0;
    int Frames = 0;
    int NamesEntered = 0; // games that ended in the table
    int LowScores = 0;    // games that did not
    int LinesScored = 0;  // moves after which the score rose
    size_t MostParticles = 0;
    int64_t Points = 0;
};

class TAutoPlayer {
public:
    TAutoPlayer(TForm1& form, TFakeClock& clock, uint32_t seed)
        : form_(form), clock_(clock), random_(seed) {}

    TPlayStats Stats;

    // One pass of the frame timer after a step of `delta` game units (1/15 s each).
    void Frame(double delta) {
        clock_.AdvanceSeconds(delta / form_.FrameTimer().FPS());
        bool done = false;
        form_.FrameTimer().IdleStep(done);
        ++Stats.Frames;
        if (ParticleEngine)
            Stats.MostParticles = std::max(Stats.MostParticles, ParticleEngine->Particles().size());
    }
    // A frame at a step a real machine could give: mostly 0.2..3 units, now and then a stall of
    // up to 15 units (the frame timer's limit).
    void Frame() {
        std::uniform_real_distribution<double> usual(0.2, 3.0), stall(6.0, 15.0);
        Frame(Chance(0.03) ? stall(random_) : usual(random_));
    }

    // Starts a game in `mode` with its menu button (answering Yes if the game asks first), plays
    // it to its end and answers the end-of-game message. False if it has not ended after
    // `frameLimit` frames.
    bool PlayGame(uint8_t mode, int frameLimit) {
        ClickButton(btnKids + mode);
        if (HasFlag(Shell.Word, scrMsgNew)) ClickButton(btnYes);
        if (Shell.Word != scrPlaying || GameState.CurrentMode != mode) return false;
        const int startFrames = Stats.Frames;
        while (Stats.Frames - startFrames < frameLimit) {
            if (HasFlag(Shell.Word, scrMsgEnterName) || HasFlag(Shell.Word, scrMsgLowScore)) {
                AnswerTheEnd();
                ++Stats.Games;
                return true;
            }
            if (Shell.Word == scrPlaying && GameField && GameField->TurnTimer == kTurnIdle)
                MakeMove();
            else
                Frame();
        }
        return false;
    }

    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

private:
    struct TMove {
        int FromX, FromY, ToX, ToY, Run;
    };

    static int CellX(int x) { return kFieldLeft + kCellPitch * x + kCellPitch / 2; }
    static int CellY(int y) { return kFieldTop + kCellPitch * y + kCellPitch / 2; }

    void MoveTo(int x, int y) { form_.FormMouseMove(0, x, y); }
    void Press(int x, int y, int button = 0) {
        MoveTo(x, y);
        form_.FormMouseDown(button, 0, x, y);
    }
    void Release(int x, int y, int button = 0) {
        MoveTo(x, y);
        form_.FormMouseUp(button, 0, x, y);
    }
    void ClickAt(int x, int y) {
        Press(x, y);
        Release(x, y);
    }
    void ClickButton(int index) {
        if (!Buttons || index >= static_cast<int>(Buttons->Items.size())) return;
        const TButton& b = Buttons->Items[static_cast<size_t>(index)];
        const int w = b.Image ? b.Image->PatternWidth : 10;
        const int h = b.Image ? b.Image->PatternHeight : 10;
        ClickAt(b.X + w / 2, b.Y + h / 2);
    }

    // The empty cells a ball at (x, y) can reach along orthogonal steps.
    static std::array<std::array<bool, 9>, 9> Reachable(const TGameField& f, int x, int y) {
        std::array<std::array<bool, 9>, 9> seen{};
        std::vector<std::pair<int, int>> todo = {{x, y}};
        while (!todo.empty()) {
            const auto [cx, cy] = todo.back();
            todo.pop_back();
            const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& s : steps) {
                const int nx = cx + s[0], ny = cy + s[1];
                if (nx < 0 || ny < 0 || nx > 8 || ny > 8) continue;
                if (seen[nx][ny] || f.Cell(nx, ny).Kind != 0) continue;
                seen[nx][ny] = true;
                todo.push_back({nx, ny});
            }
        }
        return seen;
    }

    // The longest run of balls sharing a colour with `kind` through (x, y) once the ball is
    // there, not counting its old cell.
    static int RunThrough(const TGameField& f, uint32_t kind, int x, int y, int fromX, int fromY) {
        const int dirs[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
        int best = 1;
        for (const auto& d : dirs) {
            int run = 1;
            for (int sign : {1, -1})
                for (int i = 1; i < 5; ++i) {
                    const int cx = x + sign * i * d[0], cy = y + sign * i * d[1];
                    if (cx < 0 || cy < 0 || cx > 8 || cy > 8 || (cx == fromX && cy == fromY)) break;
                    if ((f.Cell(cx, cy).Kind & kind & kindColourMask) == 0) break;
                    ++run;
                }
            best = std::max(best, run);
        }
        return best;
    }

    std::vector<TMove> PossibleMoves() const {
        std::vector<TMove> moves;
        const TGameField& f = *GameField;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) {
                const uint32_t kind = f.Cell(x, y).Kind;
                if (kind == 0) continue;
                const auto reach = Reachable(f, x, y);
                for (int tx = 0; tx < 9; ++tx)
                    for (int ty = 0; ty < 9; ++ty)
                        if (reach[tx][ty])
                            moves.push_back({x, y, tx, ty, RunThrough(f, kind, tx, ty, x, y)});
            }
        return moves;
    }

    // Most moves build the longest run it can find, the rest are anybody's guess; both
    // are made by two clicks or by a drag, with the pointer wandering over the field first.
    void MakeMove() {
        std::vector<TMove> moves = PossibleMoves();
        if (moves.empty()) {
            Frame();
            return;
        }
        std::shuffle(moves.begin(), moves.end(), random_);
        TMove move = moves.front();
        if (Chance(0.8))
            move = *std::max_element(moves.begin(), moves.end(),
                                     [](const TMove& a, const TMove& b) { return a.Run < b.Run; });
        const int32_t scoreBefore = GameState.Score;
        if (Chance(0.1)) { // a press on an empty cell and a right click select nothing
            ClickAt(CellX(move.ToX), CellY(move.ToY));
            Press(CellX(move.FromX), CellY(move.FromY), 1);
            Release(CellX(move.FromX), CellY(move.FromY), 1);
        }
        Press(CellX(move.FromX), CellY(move.FromY));
        if (Chance(0.3)) {
            Frame();
            Release(CellX(move.ToX), CellY(move.ToY)); // drag and drop
        } else {
            Release(CellX(move.FromX), CellY(move.FromY));
            for (int i = 0; i < 3; ++i) { // the path shows while the pointer moves
                MoveTo(CellX((move.FromX + move.ToX) / 2) + i, CellY(move.ToY));
                Frame();
            }
            ClickAt(CellX(move.ToX), CellY(move.ToY));
        }
        if (!GameField->Moving) return; // the ball was not sent: try again next frame
        ++Stats.Moves;
        for (int i = 0; i < 2000 && GameField->TurnTimer != kTurnIdle; ++i) Frame();
        if (GameState.Score > scoreBefore) {
            ++Stats.LinesScored;
            Stats.Points += GameState.Score - scoreBefore;
        }
    }

    // A qualifying score asks for a name: typed, corrected and stored with Enter. A low score
    // is acknowledged with Yes, which starts the next game in the same mode.
    void AnswerTheEnd() {
        for (int i = 0; i < 4; ++i) Frame(); // the message box shows for a moment
        if (HasFlag(Shell.Word, scrMsgEnterName)) {
            ++Stats.NamesEntered;
            for (int i = 0; i < 3; ++i) {
                uint16_t back = VK_BACK;
                form_.FormKeyDown(back, 0);
            }
            for (char c : std::string("Soak ") + std::to_string(Stats.Games)) {
                char key = c;
                form_.FormKeyPress(key);
            }
            uint16_t enter = VK_RETURN;
            form_.FormKeyDown(enter, 0);
        } else {
            ++Stats.LowScores;
            ClickButton(btnYes);
        }
        Frame();
    }

    TForm1& form_;
    TFakeClock& clock_;
    std::mt19937 random_;
};
