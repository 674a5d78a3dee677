#pragma once
// The field's drawing and its effects: which picture set shows a ball, and where on the picture
// a ball or an effect of cell (x, y) goes.
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"

#include <cstdint>

namespace places {

inline TPatternImage* BallPicture(uint32_t picture) {
    return picture < Pictures.Ball.size() ? Pictures.Ball[picture] : nullptr;
}
inline TPatternImage* BouncePicture(uint32_t picture) {
    return picture < Pictures.Bounce.size() ? Pictures.Bounce[picture] : nullptr;
}

// Pattern width and height of a ball picture halved toward zero; a missing picture counts as the
// 40 x 40 ball.
inline int HalfWidth(const TPatternImage* image) {
    return image ? image->PatternWidth / 2 : 20;
}
inline int HalfHeight(const TPatternImage* image) {
    return image ? image->PatternHeight / 2 : 20;
}

// Ball centre in cell (x, y) for a ball picture.
inline int BallX(int x, const TPatternImage* image) {
    return CellLeft(x) + kBallInset + HalfWidth(image);
}
inline int BallY(int y, const TPatternImage* image) {
    return CellTop(y) + kBallInset + HalfHeight(image);
}

// Effect centres as the particle engine takes them.
inline float CentreX(int x) {
    return static_cast<float>(CellCentreX(x));
}
inline float CentreY(int y) {
    return static_cast<float>(CellCentreY(y));
}
inline float BurstX(int x) {
    return static_cast<float>(CellBurstX(x));
}
inline float BurstY(int y) {
    return static_cast<float>(CellBurstY(y));
}

} // namespace places
