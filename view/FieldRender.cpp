// The field's per-frame drawing: the rules' clocks first, then the overlay, the balls, the
// preview and the travelling ball, an idle sparkle now and then, and the end of the frame's turn.
#include "fx/FrameTiming.h"
#include "fx/ParticleEngine.h"
#include "game/GameField.h"
#include "game/Random.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "render/RenderTypes.h"
#include "state/OptionsState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "view/FieldPlaces.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int32_t kUpright = 64;
constexpr int32_t kNaturalSize = 256;
constexpr uint32_t kGhostColour = 0x44FFFFFF; // a faint copy where the selected ball would go
// A ball dragged: lifted a little larger over a soft shadow, its cell keeping a faint copy.
constexpr int32_t kLiftedSize = 296;
constexpr int kLiftHeight = 7;
constexpr uint32_t kLiftShadow = 0x60100818; // 0xAABBGGRR
constexpr uint32_t kLeftBehind = 0x55FFFFFF;
constexpr int kDragStart = 6; // pixels the pointer moves before the ball lifts
// The still selection mark of reduced motion: the bounce's last frame, the ball at rest inside
// its ring at full strength.
constexpr int kStillSelection = 25;

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

int32_t MeasuredFrameRate() {
    return FrameTimer1 ? FrameTimer1->FrameRate() : 0;
}

// The four idle sparkles: picture set (0..3 = %d_2 .. %d_5), frames, repetitions, and how far
// below the cell centre they are centred.
struct TSparkle {
    int Set;
    uint16_t Frames;
    uint16_t Cycles;
    int Drop;
};
constexpr TSparkle kSparkles[4] = {{0, 36, 2, 0}, {2, 54, 1, 1}, {1, 44, 3, 0}, {3, 2, 20, 0}};

// About once a second (one frame in the measured frame rate), a random plain ball sparkles. The
// draws come from the decoration's generator, so that the frames never change the balls.
void StartIdleSparkle(const TGameField& field) {
    const int k = DecorRandom(4);
    const int x = DecorRandom(9);
    const int y = DecorRandom(9);
    if (!field.Inside(x, y)) return;
    const TCell& cell = field.Cell(x, y);
    if (cell.Kind == 0 || cell.Picture >= 7 || !ParticleEngine) return;
    const TSparkle& s = kSparkles[k];
    ParticleEngine->AddAnimation(Pictures.Sparkle[static_cast<size_t>(s.Set)][cell.Picture],
                                 s.Frames, places::CentreX(x),
                                 static_cast<float>(CellCentreY(y) + s.Drop), 1.0f, s.Cycles);
}

// The selected ball is being dragged: the left button is held since the press that picked it
// and the pointer has moved away from where it was pressed.
bool Dragging(const TGameField& field) {
    if (!field.Selected || !Pointer.Held || field.Moving) return false;
    return std::abs(Pointer.X - Pointer.PressX) > kDragStart ||
           std::abs(Pointer.Y - Pointer.PressY) > kDragStart;
}

} // namespace

void TGameField::Render(double delta) {
    if (!HasFlag(Shell.Word, scrPlaying)) return;
    Advance(delta);
    TRenderDevice* device = RenderDevice1;
    const bool still = Options.ReducedMotion;
    const bool dragging = Dragging(*this);

    // Overlay: blocked mark, path highlight (only with the pointer right of the menu) and the
    // ghost of the selected ball on the hovered empty cell.
    const bool pointerOverField = Pointer.X > kFieldLeft;
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            const int px = CellLeft(x), py = CellTop(y);
            if (PathMarks(x, y) == kBlockedMark) {
                if (device) device->DrawImage(Pictures.Field, px, py, 2, fxBlend);
                continue;
            }
            const int pattern = pointerOverField && PathMarks(x, y) != 0 ? 1 : 0;
            if (device) device->DrawImage(Pictures.Field, px, py, pattern, fxBlend);
            if (Selected && x == HoverX && y == HoverY && Cells(x, y).Kind == 0 &&
                pointerOverField && device) {
                TPatternImage* ghost = places::BallPicture(SelPicture);
                device->DrawRotatedColTrunc(ghost, places::BallX(x, ghost), places::BallY(y, ghost),
                                            kUpright, kNaturalSize, kGhostColour, 0,
                                            fxBlend | fxfDiffuseAlpha);
            }
        }
    }

    // Reduced motion stills the loops: the hovered ball, the preview and the fuses rest.
    const int bounce = still ? 0 : static_cast<int>(BouncePhase);
    const int fuse = still ? 0 : static_cast<int>(FusePhase);

    // Balls at rest; cells whose timer runs are growing in or their ball is travelling.
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            const TCell& cell = Cells(x, y);
            if (cell.Kind == 0 || AppearTimers(x, y) > 0) continue;
            if (Selected && x == SelX && y == SelY) continue;
            if (x == HoverX && y == HoverY) continue;
            TPatternImage* image = places::BallPicture(cell.Picture);
            if (device)
                device->DrawRotated(image, places::BallX(x, image), places::BallY(y, image),
                                    kUpright, kNaturalSize, 0, fxBlend);
        }
    }

    // The selected ball bounces (with reduced motion it rests in its ring); a selected bomb shows
    // its burning fuse. A dragged ball leaves a faint copy and is drawn at the pointer, below.
    if (Selected && Inside(SelX, SelY) && device) {
        TPatternImage* rest = places::BallPicture(SelPicture);
        if (dragging) {
            device->DrawRotatedCol(rest, places::BallX(SelX, rest), places::BallY(SelY, rest),
                                   kUpright, kNaturalSize, kLeftBehind, 0,
                                   fxBlend | fxfDiffuseAlpha);
        } else if (Cells(SelX, SelY).Kind == kindBomb) {
            device->DrawImage(Pictures.BombSelected, CellLeft(SelX) + kBallInset,
                              CellTop(SelY) - kSelectedBombRise, fuse, fxBlend);
        } else {
            device->DrawRotated(places::BouncePicture(SelPicture), places::BallX(SelX, rest),
                                places::BallY(SelY, rest), kUpright, kNaturalSize,
                                still ? kStillSelection : static_cast<int>(BouncePhase), fxBlend);
        }
    }

    // The hovered ball shimmers (its sound comes with the clocks).
    if (HoverX != kNoHover && Inside(HoverX, HoverY) && device) {
        const int x = HoverX, y = HoverY;
        const TCell& cell = Cells(x, y);
        if (cell.Kind != 0 && AppearTimers(x, y) <= 0 && !(x == SelX && y == SelY)) {
            if (cell.Kind == kindBomb) {
                device->DrawImage(Pictures.BombHovered, CellLeft(x) + kBallInset,
                                  CellTop(y) + kHoveredBombDrop, fuse, fxBlend);
            } else {
                TPatternImage* image = places::BallPicture(cell.Picture);
                device->DrawRotated(image, places::BallX(x, image), places::BallY(y, image),
                                    kUpright, kNaturalSize, bounce, fxBlend);
            }
        }
    }

    // The preview, animated like the hovered ball, while its balls can still come: not once the
    // game is over or the field shows no game.
    if (device && !GameOver && HasBalls())
        for (int k = 0; k < BallsPerTurn && k < static_cast<int>(Preview.size()); ++k)
            device->DrawRotated(places::BallPicture(Preview[static_cast<size_t>(k)].Picture),
                                kPreviewCentreX + kCellPitch * k, kPreviewCentreY, kUpright,
                                kNaturalSize, bounce, fxBlend);

    // The travelling ball, in the cell whose clock rounds to 1, on its way to the next one.
    if (!Selected && device) {
        for (int x = 0; x <= MaxX; ++x) {
            for (int y = 0; y <= MaxY; ++y) {
                if (RoundEven(PathGrid(x, y)) != 1) continue;
                const double p = PathGrid(x, y);
                TPatternImage* image = places::BallPicture(SelPicture);
                const int cx = RoundEven((x - (p - 1.5) * TravelDirX) * kCellPitch) + kFieldLeft +
                               kBallInset + places::HalfWidth(image);
                const int cy = RoundEven((y - (p - 1.5) * TravelDirY) * kCellPitch) + kFieldTop +
                               kBallInset + places::HalfHeight(image);
                device->DrawRotated(image, cx, cy, kUpright, kNaturalSize, 0, fxBlend);
            }
        }
    }

    // The dragged ball over everything of the field, lifted under the pointer.
    if (dragging && device) {
        TPatternImage* image = places::BallPicture(SelPicture);
        device->DrawRotatedCol(image, Pointer.X + 3, Pointer.Y + 4, kUpright, kLiftedSize,
                               kLiftShadow, 0, fxBlend | fxfDiffuseAlpha);
        device->DrawRotated(image, Pointer.X, Pointer.Y - kLiftHeight, kUpright, kLiftedSize, 0,
                            fxBlend);
    }

    const int32_t frameRate = MeasuredFrameRate();
    if (!Selected && !still && !GameOver && DecorRandom(frameRate) == 10) StartIdleSparkle(*this);
    FinishFrame(delta, frameRate);
}
