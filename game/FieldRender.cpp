// The field's per-frame drawing and animation.
#include "fx/FrameTiming.h"
#include "game/FieldServices.h"
#include "game/Random.h"
#include "game/vo_Field.h"
#include "render/RenderTypes.h"
#include "state/ShellState.h"

#include <cmath>

using namespace field_fx;

namespace {

constexpr int32_t kUpright = 64;
constexpr int32_t kNaturalSize = 256;
constexpr uint32_t kGhostColour = 0x44FFFFFF; // a faint copy where the selected ball would go

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

int32_t MeasuredFrameRate() {
    return FrameTimer1 ? FrameTimer1->FrameRate() : 0;
}

// Ball centre in cell (x, y) for a ball picture.
int BallX(int x, const TPatternImage* image) {
    return 303 + kCellPitch * x + HalfWidth(image);
}
int BallY(int y, const TPatternImage* image) {
    return 31 + kCellPitch * y + HalfHeight(image);
}

// The four idle sparkles: picture set (0..3 = %d_2 .. %d_5), frames, repetitions, centre y offset.
struct TSparkle {
    int Set;
    uint16_t Frames;
    uint16_t Cycles;
    int CentreY;
};
constexpr TSparkle kSparkles[4] = {{0, 36, 2, 51}, {2, 54, 1, 52}, {1, 44, 3, 51}, {3, 2, 20, 51}};

} // namespace

void TGameField::Render(double delta) {
    if (!HasFlag(Shell.Word, scrPlaying)) return;
    TRenderDevice* device = RenderDevice1;

    // 1. The travel clock.
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y)
            if (PathGrid(x, y) > 0) PathGrid(x, y) -= static_cast<float>(delta);

    // 2. Overlay: blocked mark, path highlight (only with the pointer right of the menu) and the
    // ghost of the selected ball on the hovered empty cell.
    const bool pointerOverField = Shell.PointerX > kFieldLeft;
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            const int px = kFieldLeft + kCellPitch * x, py = kFieldTop + kCellPitch * y;
            if (PathMarks(x, y) == kBlockedMark) {
                if (device) device->DrawImage(Pictures.Field, px, py, 2, fxBlend);
                continue;
            }
            const int pattern = pointerOverField && PathMarks(x, y) != 0 ? 1 : 0;
            if (device) device->DrawImage(Pictures.Field, px, py, pattern, fxBlend);
            if (Selected && x == HoverX && y == HoverY && Cells(x, y).Kind == 0 &&
                pointerOverField && device) {
                TPatternImage* ghost = BallPicture(SelPicture);
                device->DrawRotatedColTrunc(ghost, BallX(x, ghost), BallY(y, ghost), kUpright,
                                            kNaturalSize, kGhostColour, 0,
                                            fxBlend | fxfDiffuseAlpha);
            }
        }
    }

    // 3. Timers.
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y)
            if (AppearTimers(x, y) > 0) AppearTimers(x, y) -= delta;
    if (TurnTimer > 0) TurnTimer -= delta;

    // 4.-6. Phases and the selection sound, which follows the bounce: at least 5 units apart and
    // only when the rounded phase is a multiple of 5; variants a, b, c, d in turn.
    BouncePhase += static_cast<float>(delta);
    SelSoundClock += static_cast<float>(delta);
    if (Selected && SelSoundClock >= 5.0f && RoundEven(BouncePhase) % 5 == 0) {
        SelSoundClock = 0.0f;
        SelSoundStep = static_cast<uint8_t>(SelSoundStep + 1);
        if (SelSoundStep >= 4) SelSoundStep = 0;
        const uint32_t picture = Cells(SelX, SelY).Picture;
        if (picture < 21 && SoundBank)
            SoundBank->PlaySelection(SelSoundStep, static_cast<int>(picture));
    }
    if (BouncePhase > 25.0f) BouncePhase -= 25.0f;
    FusePhase += delta;
    if (FusePhase > 6.0) FusePhase -= 6.0;
    const int bounce = static_cast<int>(BouncePhase);
    const int fuse = static_cast<int>(FusePhase);

    // 7. Balls at rest; cells whose timer runs are growing in or their ball is travelling.
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            const TCell& cell = Cells(x, y);
            if (cell.Kind == 0 || AppearTimers(x, y) > 0) continue;
            if (Selected && x == SelX && y == SelY) continue;
            if (x == HoverX && y == HoverY) continue;
            TPatternImage* image = BallPicture(cell.Picture);
            if (device)
                device->DrawRotated(image, BallX(x, image), BallY(y, image), kUpright, kNaturalSize,
                                    0, fxBlend);
        }
    }

    // 8. The selected ball bounces; a selected bomb shows its burning fuse.
    if (Selected && Inside(SelX, SelY) && device) {
        if (Cells(SelX, SelY).Kind == kindBomb) {
            device->DrawImage(Pictures.BombSelected, 303 + kCellPitch * SelX,
                              11 + kCellPitch * SelY, fuse, fxBlend);
        } else {
            TPatternImage* rest = BallPicture(SelPicture);
            device->DrawRotated(BouncePicture(SelPicture), BallX(SelX, rest), BallY(SelY, rest),
                                kUpright, kNaturalSize, bounce, fxBlend);
        }
    }

    // 9. The hovered ball shimmers and, after more than 10 quiet units, makes its hover sound.
    if (HoverX != kNoHover && Inside(HoverX, HoverY)) {
        const int x = HoverX, y = HoverY;
        const TCell& cell = Cells(x, y);
        if (cell.Kind != 0 && AppearTimers(x, y) <= 0 && !(x == SelX && y == SelY)) {
            if (device) {
                if (cell.Kind == kindBomb) {
                    device->DrawImage(Pictures.BombHovered, 303 + kCellPitch * x,
                                      27 + kCellPitch * y, fuse, fxBlend);
                } else {
                    TPatternImage* image = BallPicture(cell.Picture);
                    device->DrawRotated(image, BallX(x, image), BallY(y, image), kUpright,
                                        kNaturalSize, bounce, fxBlend);
                }
            }
            HoverSoundTimer += delta;
            const bool isTarget = x == TargetX && y == TargetY;
            const bool isLast = x == LastHoverX && y == LastHoverY;
            if (!isTarget && !isLast && HoverSoundTimer > 10) {
                if (cell.Picture < 22 && SoundBank)
                    Play(SoundBank->HoverSound(static_cast<int>(cell.Picture)));
                if (cell.Kind == kindBomb && SoundBank) Play(SoundBank->HoverSound(22));
                LastHoverX = static_cast<uint8_t>(x);
                LastHoverY = static_cast<uint8_t>(y);
                HoverSoundTimer = 0;
            }
        }
    }

    // 10. The preview, animated like the hovered ball, while its balls can still come: not once
    // the game is over or the field shows no game.
    if (!GameOver && HasBalls())
        for (int k = 0; k < BallsPerTurn && k < static_cast<int>(Preview.size()); ++k)
            DrawPreviewEntry(k);

    // 11.-14. A finished game first stands still for a beat (the shell dims it and says why),
    // then empties.
    DrawTravellingBall();
    if (!Selected && !GameOver && DecorRandom(MeasuredFrameRate()) == 10) StartIdleSparkle();
    if (GameOver && FinalBoardTimer > 0)
        FinalBoardTimer -= delta;
    else if (GameOver && DecorRandom(MeasuredFrameRate()) < 100 && HasBalls())
        EmptyOneBall();
    ResolveTurn();
}

void TGameField::DrawPreviewEntry(int index) {
    if (!RenderDevice1) return;
    TPatternImage* image = BallPicture(Preview[static_cast<size_t>(index)].Picture);
    RenderDevice1->DrawRotated(image, 540 + kCellPitch * index, 552, kUpright, kNaturalSize,
                               static_cast<int>(BouncePhase), fxBlend);
}

// PathGrid holds the chosen path as a travel clock: cell k of the path holds k + 1 - t after t
// units. The ball is in the cell whose value rounds to 1 and moves toward the neighbour that
// rounds to 2, one cell per unit. Every change of direction plays "s_pin": the first step, each
// corner and the settling, where no neighbour rounds to 2 and the direction falls back to (0, 0).
void TGameField::DrawTravellingBall() {
    if (Selected) return;
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            if (RoundEven(PathGrid(x, y)) != 1) continue;
            const int16_t oldX = TravelDirX, oldY = TravelDirY;
            auto next = [&](int i, int j) {
                return Inside(i, j) && RoundEven(PathGrid(i, j)) == 2;
            };
            TravelDirX = next(x + 1, y) ? 1 : next(x - 1, y) ? -1 : 0;
            TravelDirY = next(x, y + 1) ? 1 : next(x, y - 1) ? -1 : 0;
            if (TravelDirX != oldX || TravelDirY != oldY) Play(TSample::Pin);
            const double p = PathGrid(x, y);
            TPatternImage* image = BallPicture(SelPicture);
            const int cx =
                RoundEven((x - (p - 1.5) * TravelDirX) * kCellPitch) + 303 + HalfWidth(image);
            const int cy =
                RoundEven((y - (p - 1.5) * TravelDirY) * kCellPitch) + 31 + HalfHeight(image);
            if (RenderDevice1)
                RenderDevice1->DrawRotated(image, cx, cy, kUpright, kNaturalSize, 0, fxBlend);
        }
    }
}

// About once a second (Random over the measured frame rate), a random plain ball sparkles.
void TGameField::StartIdleSparkle() {
    const int k = DecorRandom(4);
    const int x = DecorRandom(9);
    const int y = DecorRandom(9);
    if (!Inside(x, y)) return;
    const TCell& cell = Cells(x, y);
    if (cell.Kind == 0 || cell.Picture >= 7) return;
    const TSparkle& s = kSparkles[k];
    AddAnimation(Pictures.Sparkle[static_cast<size_t>(s.Set)][cell.Picture], s.Frames,
                 static_cast<float>(323 + kCellPitch * x),
                 static_cast<float>(s.CentreY + kCellPitch * y), 1.0f, s.Cycles);
}

// The end of a game: one random ball shrinks away per frame; 5 units after the last one the turn
// resolution ends the game.
void TGameField::EmptyOneBall() {
    int x = 0, y = 0;
    do {
        x = DecorRandom(9);
        y = DecorRandom(9);
    } while (!Inside(x, y) || Cells(x, y).Kind == 0);
    AddPop(BallPicture(Cells(x, y).Picture), false, static_cast<float>(323 + kCellPitch * x),
           static_cast<float>(51 + kCellPitch * y));
    Cells(x, y).Kind = 0;
    TurnTimer = 5.0;
}
