// Line removal and scoring, paint balls and bombs.
#include "game/FieldServices.h"
#include "game/GameModes.h"
#include "game/Random.h"
#include "game/vo_Field.h"
#include "state/ShellState.h"

#include <algorithm>
#include <limits>
#include <string>

using namespace field_fx;

namespace {

// Adds points to the score, stopping at the largest int32 instead of wrapping to a negative score.
void AddScore(int64_t points) {
    Shell.Score = static_cast<int32_t>(
        std::min<int64_t>(int64_t{Shell.Score} + points, std::numeric_limits<int32_t>::max()));
}

// Centre of cell (x, y) for the effects that the field starts there, and the slightly lower
// centre of the pop and debris effects of removed balls.
float CentreX(int x) {
    return static_cast<float>(323 + kCellPitch * x);
}
float CentreY(int y) {
    return static_cast<float>(51 + kCellPitch * y);
}
float BurstX(int x) {
    return static_cast<float>(324 + kCellPitch * x);
}
float BurstY(int y) {
    return static_cast<float>(53 + kCellPitch * y);
}

// The colour 1..7 of the lowest colour bit of a kind, 0 when it has none.
uint8_t ColourOf(uint32_t kind) {
    for (int c = 1; c <= 7; ++c)
        if (kind & ColourBit(c)) return static_cast<uint8_t>(c);
    return 0;
}

} // namespace

uint8_t TGameField::ClearMatches() {
    MatchMarks.Fill(0);
    uint8_t lines = 0;

    // A run is a line when its first cell holds a ball and the AND of its five Kinds is not 0.
    auto testRun = [&](int x, int y, int dx, int dy) {
        if (Cells(x, y).Kind == 0) return;
        uint32_t shared = 0xFFFFFFFFu;
        for (int k = 0; k < kLineLength; ++k) shared &= Cells(x + k * dx, y + k * dy).Kind;
        if (shared == 0) return;
        ++lines;
        for (int k = 0; k < kLineLength; ++k) MatchMarks(x + k * dx, y + k * dy) = 1;
    };
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            const bool fitsDown = y < MaxY - 3;
            const bool fitsRight = x < MaxX - 3;
            if (fitsDown) testRun(x, y, 0, 1);
            if (fitsRight) testRun(x, y, 1, 0);
            if (fitsRight && fitsDown) testRun(x, y, 1, 1);
            if (fitsRight && y > 3) testRun(x, y, 1, -1);
        }
    }
    if (lines == 0) return 0;
    moveLines_ += lines;

    // Remove the marked cells in scan order; with several multiplier balls the last one counts.
    uint32_t multiplier = 1;
    uint8_t removed = 0;
    int minX = MaxX, maxX = 0, minY = MaxY, maxY = 0;
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            if (MatchMarks(x, y) == 0) continue;
            TCell& cell = Cells(x, y);
            RemoveAt(CentreX(x), static_cast<float>(52 + kCellPitch * y));
            RemoveAt(CentreX(x), CentreY(y));
            if (cell.Kind & kindMultiplier) multiplier = cell.Kind >> 28;
            AddPop(BallPicture(cell.Picture), false, BurstX(x), BurstY(y));
            cell.Kind = 0;
            ++removed;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }

    // Base points: 5 for a line of five, 7 for six, 13 for two crossing lines of five.
    const auto base = static_cast<uint8_t>(2 * removed - 5);
    const int cx = (minX + maxX) / 2;
    const int cy = (minY + maxY) / 2;
    // The texts use a row pitch of 51, not 52.
    std::string text = "+" + std::to_string(10 * base);
    if (multiplier > 1) text += "x" + std::to_string(multiplier);
    AddText(text, static_cast<float>(303 + kCellPitch * cx), static_cast<float>(31 + 51 * cy));
    AddScore(int64_t{10} * base * multiplier);

    // The chain bonus counts the consecutive line-making moves before this one and is not
    // multiplied.
    if (ChainCount > 0) {
        const int32_t bonus = 10 * base * ChainCount;
        AddText("+" + std::to_string(bonus) + " Chain Bonus", static_cast<float>(220 + 52 * cx),
                static_cast<float>(51 + 51 * cy));
        AddScore(bonus);
    }

    if (SoundBank) SoundBank->PlayRemoval(static_cast<int32_t>(base * multiplier));
    return removed;
}

bool TGameField::ApplyPaintBall(int32_t x, int32_t y, uint32_t kind) {
    if ((kind & kindPaint) == 0) return false;
    ClearAnimations();
    const uint8_t colour = ColourOf(kind);
    bool neighbour = false;
    for (int i = x - 1; i <= x + 1; ++i) {
        for (int j = y - 1; j <= y + 1; ++j) {
            if (!Inside(i, j) || Cells(i, j).Kind == 0) continue;
            RemoveAt(CentreX(i), CentreY(j));
            if (i == x && j == y) continue;
            PaintColour = colour;
            TPatternImage* splash =
                colour >= 1 ? Pictures.Paint[static_cast<size_t>(colour - 1)] : nullptr;
            AddAnimation(splash, 18, CentreX(i), CentreY(j), 2.0f, 1);
            neighbour = true;
        }
    }
    if (!neighbour) return false;

    // A line through the paint ball is removed and scored now, before the repainting.
    ClearMatches();
    AddPop(BallPicture(Cells(x, y).Picture), false, BurstX(x), BurstY(y));
    Play(TSample::Paint);
    Cells(x, y).Kind = 0;
    TurnTimer = 6.5;
    Moving = false;
    return true;
}

bool TGameField::ExplodeBomb(int32_t x, int32_t y, uint32_t kind) {
    if ((kind & kindBomb) == 0) return false;
    // The bank gathers this blast's sounds, set-off bombs included, and plays them as one.
    if (SoundBank) SoundBank->BeginBlast();
    // Marked first, so that the bombs it sets off do not come back to it as a bomb: they destroy
    // it like any ball. Each bomb is thus entered at most once and the chain ends.
    Cells(x, y).Kind = kindDetonating;
    bool destroyed = false;
    for (int i = x - 1; i <= x + 1; ++i) {
        for (int j = y - 1; j <= y + 1; ++j) {
            if (!Inside(i, j) || Cells(i, j).Kind == 0) continue;
            RemoveAt(CentreX(i), CentreY(j));
            if (i == x && j == y) continue;
            if (Cells(i, j).Kind == kindBomb) {
                ExplodeBomb(i, j, kindBomb);
                continue;
            }
            TCell& cell = Cells(i, j);
            cell.Kind = 0;
            // Three draws in this order: sideways speed, sideways scatter, upward speed.
            const double r1 = Random(100);
            const double r2 = Random(100);
            const double r3 = Random(100);
            const double vx = (r1 / 11.0 + 5.0) * (i - x) + r2 / 50.0 - 1.0;
            const double vy = (r3 / 3.0 + 5.0) * (j - y);
            if (ParticleEngine)
                ParticleEngine->AddDebris(BallPicture(cell.Picture), BurstX(i), BurstY(j),
                                          static_cast<float>(vx), static_cast<float>(vy));
            if (cell.Picture < 22 && SoundBank)
                SoundBank->AddBlastHit(static_cast<int>(cell.Picture));
            destroyed = true;
        }
    }
    if (SoundBank) SoundBank->EndBlast(destroyed);
    if (!destroyed) return false;

    Cells(x, y).Kind = 0;
    AddPop(BallPicture(Cells(x, y).Picture), false, BurstX(x), BurstY(y));
    if (ParticleEngine) ParticleEngine->AddFlash(BurstX(x), BurstY(y));
    return true;
}
