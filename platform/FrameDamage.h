#pragma once
// Which parts of a picture must be drawn again, from the draws of the frame shown last and of the
// frame to come. A draw is compared with the draws of the other frame only through `same`; its
// extent says where it may change pixels.
//
// The rule: match the two lists of draws in order (a common subsequence). Outside the boxes of the
// draws left unmatched, every pixel is covered by the same draws in the same order in both frames,
// so it keeps its colour. Inside them, the new frame's draws are drawn again, clipped to the
// damaged rectangle. Only draws whose pixels do not depend on the clipping ("clip-safe": copies
// of whole texels onto as many whole pixels) may be cut by a damaged rectangle's edge; the
// rectangle grows to hold any other draw it touches.
#include <cstddef>
#include <functional>
#include <vector>

// Pixels X0 <= x < X1, Y0 <= y < Y1.
struct TPixelRect {
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    bool Empty() const { return X1 <= X0 || Y1 <= Y0; }
    bool Intersects(const TPixelRect& o) const {
        return !Empty() && !o.Empty() && X0 < o.X1 && o.X0 < X1 && Y0 < o.Y1 && o.Y0 < Y1;
    }
    bool Contains(const TPixelRect& o) const {
        return o.Empty() || (X0 <= o.X0 && Y0 <= o.Y0 && o.X1 <= X1 && o.Y1 <= Y1);
    }
};

TPixelRect Intersection(const TPixelRect& a, const TPixelRect& b);
TPixelRect Union(const TPixelRect& a, const TPixelRect& b); // an empty side adds nothing

struct TDrawExtent {
    TPixelRect Box;        // every pixel the draw may change, inside its own clipping
    bool ClipSafe = false; // its pixels are the same whatever clips it
};

// The rectangles (inside `picture`, not overlapping each other) where the new frame's pixels may
// differ from the last frame's; none when both frames draw the same. `same(i, j)` compares draw i
// of `before` with draw j of `now`.
std::vector<TPixelRect> FindDamage(const std::vector<TDrawExtent>& before,
                                   const std::vector<TDrawExtent>& now,
                                   const std::function<bool(size_t, size_t)>& same,
                                   const TPixelRect& picture);
