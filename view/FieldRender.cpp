// The field's per-frame drawing: the rules' clocks first, then the overlay, the balls, the
// preview and the travelling ball, an idle sparkle now and then, and the end of the frame's turn.
#include "fx/FrameTiming.h"
#include "fx/ParticleEngine.h"
#include "game/GameField.h"
#include "game/Random.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "render/RenderTypes.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "view/FieldPlaces.h"

#include <cmath>

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

} // namespace

void TGameField::Render(double delta) {
    if (!HasFlag(Shell.Word, scrPlaying)) return;
    Advance(delta);
    TRenderDevice* device = RenderDevice1;

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

    const int bounce = static_cast<int>(BouncePhase);
    const int fuse = static_cast<int>(FusePhase);

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

    // The selected ball bounces; a selected bomb shows its burning fuse.
    if (Selected && Inside(SelX, SelY) && device) {
        if (Cells(SelX, SelY).Kind == kindBomb) {
            device->DrawImage(Pictures.BombSelected, CellLeft(SelX) + kBallInset,
                              CellTop(SelY) - kSelectedBombRise, fuse, fxBlend);
        } else {
            TPatternImage* rest = places::BallPicture(SelPicture);
            device->DrawRotated(places::BouncePicture(SelPicture), places::BallX(SelX, rest),
                                places::BallY(SelY, rest), kUpright, kNaturalSize, bounce, fxBlend);
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

    const int32_t frameRate = MeasuredFrameRate();
    if (!Selected && !GameOver && DecorRandom(frameRate) == 10) StartIdleSparkle(*this);
    FinishFrame(delta, frameRate);
}
