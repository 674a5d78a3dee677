// The field's frame: the rules' update, then the drawing of the overlay, the balls, the preview
// and the travelling ball. The drawing reads the field and moves nothing.
#include "fx/FrameTiming.h"
#include "game/GameField.h"
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

// The selected ball is being dragged: the left button is held since the press that picked it
// and the pointer has moved away from where it was pressed.
bool Dragging(const TGameField& field) {
    if (!field.Selected || !Pointer.Held || field.Moving) return false;
    return std::abs(Pointer.X - Pointer.PressX) > kDragStart ||
           std::abs(Pointer.Y - Pointer.PressY) > kDragStart;
}

// One frame's drawing of a field on a device, with the frame's animation patterns: reduced
// motion stills the loops (the hovered ball, the preview and the fuses rest).
class TFieldPainter {
public:
    TFieldPainter(const TGameField& field, TRenderDevice& device)
        : f_(field), device_(device), still_(Options.ReducedMotion),
          bounce_(still_ ? 0 : static_cast<int>(field.BouncePhase)),
          fuse_(still_ ? 0 : static_cast<int>(field.FusePhase)), dragging_(Dragging(field)) {}

    void Overlay() const;
    void BallsAtRest() const;
    void SelectedBall() const;
    void HoveredBall() const;
    void Preview() const;
    void TravellingBall() const;
    void DraggedBall() const;

private:
    void Ball(TPatternImage* image, int x, int y, int pattern) const {
        device_.DrawRotated(image, places::BallX(x, image), places::BallY(y, image), kUpright,
                            kNaturalSize, pattern, fxBlend);
    }

    const TGameField& f_;
    TRenderDevice& device_;
    const bool still_;
    const int bounce_, fuse_;
    const bool dragging_;
};

// The blocked mark, the path highlight (only with the pointer right of the menu) and the ghost of
// the selected ball on the hovered empty cell.
void TFieldPainter::Overlay() const {
    const bool pointerOverField = Pointer.X > kFieldLeft;
    for (int x = 0; x <= f_.MaxX; ++x) {
        for (int y = 0; y <= f_.MaxY; ++y) {
            const int px = CellLeft(x), py = CellTop(y);
            if (f_.PathMarks(x, y) == kBlockedMark) {
                device_.DrawImage(Pictures.Field, px, py, 2, fxBlend);
                continue;
            }
            const int pattern = pointerOverField && f_.PathMarks(x, y) != 0 ? 1 : 0;
            device_.DrawImage(Pictures.Field, px, py, pattern, fxBlend);
            if (f_.Selected && x == f_.HoverX && y == f_.HoverY && f_.Cell(x, y).Kind == 0 &&
                pointerOverField) {
                TPatternImage* ghost = places::BallPicture(f_.SelPicture);
                device_.DrawRotatedColTrunc(ghost, places::BallX(x, ghost), places::BallY(y, ghost),
                                            kUpright, kNaturalSize, kGhostColour, 0,
                                            fxBlend | fxfDiffuseAlpha);
            }
        }
    }
}

// Balls at rest; cells whose timer runs are growing in or their ball is travelling.
void TFieldPainter::BallsAtRest() const {
    for (int x = 0; x <= f_.MaxX; ++x) {
        for (int y = 0; y <= f_.MaxY; ++y) {
            const TCell& cell = f_.Cell(x, y);
            if (cell.Kind == 0 || f_.AppearTimers(x, y) > 0) continue;
            if (f_.Selected && x == f_.SelX && y == f_.SelY) continue;
            if (x == f_.HoverX && y == f_.HoverY) continue;
            Ball(places::BallPicture(cell.Picture), x, y, 0);
        }
    }
}

// The selected ball bounces (with reduced motion it rests in its ring); a selected bomb shows its
// burning fuse. A dragged ball leaves a faint copy and is drawn at the pointer (DraggedBall).
void TFieldPainter::SelectedBall() const {
    if (!f_.Selected || !f_.Inside(f_.SelX, f_.SelY)) return;
    TPatternImage* rest = places::BallPicture(f_.SelPicture);
    if (dragging_) {
        device_.DrawRotatedCol(rest, places::BallX(f_.SelX, rest), places::BallY(f_.SelY, rest),
                               kUpright, kNaturalSize, kLeftBehind, 0, fxBlend | fxfDiffuseAlpha);
    } else if (f_.Cell(f_.SelX, f_.SelY).Kind == kindBomb) {
        device_.DrawImage(Pictures.BombSelected, CellLeft(f_.SelX) + kBallInset,
                          CellTop(f_.SelY) - kSelectedBombRise, fuse_, fxBlend);
    } else {
        device_.DrawRotated(places::BouncePicture(f_.SelPicture), places::BallX(f_.SelX, rest),
                            places::BallY(f_.SelY, rest), kUpright, kNaturalSize,
                            still_ ? kStillSelection : static_cast<int>(f_.BouncePhase), fxBlend);
    }
}

// The hovered ball shimmers (its sound comes with the clocks).
void TFieldPainter::HoveredBall() const {
    if (f_.HoverX == kNoHover || !f_.Inside(f_.HoverX, f_.HoverY)) return;
    const int x = f_.HoverX, y = f_.HoverY;
    const TCell& cell = f_.Cell(x, y);
    if (cell.Kind == 0 || f_.AppearTimers(x, y) > 0 || (x == f_.SelX && y == f_.SelY)) return;
    if (cell.Kind == kindBomb)
        device_.DrawImage(Pictures.BombHovered, CellLeft(x) + kBallInset,
                          CellTop(y) + kHoveredBombDrop, fuse_, fxBlend);
    else
        Ball(places::BallPicture(cell.Picture), x, y, bounce_);
}

// The preview, animated like the hovered ball, while its balls can still come: not once the game
// is over or the field shows no game.
void TFieldPainter::Preview() const {
    if (f_.GameOver || !f_.HasBalls()) return;
    for (int k = 0; k < f_.BallsPerTurn && k < static_cast<int>(f_.Preview.size()); ++k)
        device_.DrawRotated(places::BallPicture(f_.Preview[static_cast<size_t>(k)].Picture),
                            kPreviewCentreX + kCellPitch * k, kPreviewCentreY, kUpright,
                            kNaturalSize, bounce_, fxBlend);
}

// The travelling ball, in the cell whose clock rounds to 1, on its way to the next one.
void TFieldPainter::TravellingBall() const {
    if (f_.Selected) return;
    for (int x = 0; x <= f_.MaxX; ++x) {
        for (int y = 0; y <= f_.MaxY; ++y) {
            if (RoundEven(f_.PathGrid(x, y)) != 1) continue;
            const double p = f_.PathGrid(x, y);
            TPatternImage* image = places::BallPicture(f_.SelPicture);
            const int cx = RoundEven((x - (p - 1.5) * f_.TravelDirX) * kCellPitch) + kFieldLeft +
                           kBallInset + places::HalfWidth(image);
            const int cy = RoundEven((y - (p - 1.5) * f_.TravelDirY) * kCellPitch) + kFieldTop +
                           kBallInset + places::HalfHeight(image);
            device_.DrawRotated(image, cx, cy, kUpright, kNaturalSize, 0, fxBlend);
        }
    }
}

// The dragged ball over everything of the field, lifted under the pointer.
void TFieldPainter::DraggedBall() const {
    if (!dragging_) return;
    TPatternImage* image = places::BallPicture(f_.SelPicture);
    device_.DrawRotatedCol(image, Pointer.X + 3, Pointer.Y + 4, kUpright, kLiftedSize, kLiftShadow,
                           0, fxBlend | fxfDiffuseAlpha);
    device_.DrawRotated(image, Pointer.X, Pointer.Y - kLiftHeight, kUpright, kLiftedSize, 0,
                        fxBlend);
}

} // namespace

void TGameField::Render(double delta) {
    if (!HasFlag(Shell.Word, scrPlaying)) return;
    Update(delta, MeasuredFrameRate(), !Options.ReducedMotion);
    Draw();
}

void TGameField::Draw() const {
    if (!RenderDevice1) return;
    const TFieldPainter paint(*this, *RenderDevice1);
    paint.Overlay();
    paint.BallsAtRest();
    paint.SelectedBall();
    paint.HoveredBall();
    paint.Preview();
    paint.TravellingBall();
    paint.DraggedBall();
}
