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

// Joins the boxes of the unmatched draws into rectangles that do not overlap, grown over the draws
// of `now` that must not be cut, inside `picture`.
std::vector<TPixelRect> JoinDamage(const std::vector<TPixelRect>& boxes,
                                   const std::vector<TDrawExtent>& now, const TPixelRect& picture);

// The rectangles (inside `picture`, not overlapping each other) where the new frame's pixels may
// differ from the last frame's; none when both frames draw the same. `same(i, j)` compares draw i
// of `before` with draw j of `now`.
template <class Same>
std::vector<TPixelRect> FindDamage(const std::vector<TDrawExtent>& before,
                                   const std::vector<TDrawExtent>& now, const Same& same,
                                   const TPixelRect& picture) {
    // How far ahead the matching looks for a draw that moved in the list (one that appeared or
    // vanished shifts all that follow it).
    constexpr size_t kLookAhead = 24;
    std::vector<TPixelRect> boxes;
    // Greedy in-order matching: equal draws pair up; otherwise skip the shorter way to the next
    // pair within the look-ahead, or give up on both draws.
    size_t i = 0, j = 0;
    while (i < before.size() && j < now.size()) {
        if (same(i, j)) {
            ++i, ++j;
            continue;
        }
        size_t skipNow = 0, skipBefore = 0;
        for (size_t k = 1; k < kLookAhead && j + k < now.size() && !skipNow; ++k)
            if (same(i, j + k)) skipNow = k;
        for (size_t k = 1; k < kLookAhead && i + k < before.size() && !skipBefore; ++k)
            if (same(i + k, j)) skipBefore = k;
        if (skipNow && (!skipBefore || skipNow <= skipBefore)) {
            for (size_t k = 0; k < skipNow; ++k) boxes.push_back(now[j + k].Box);
            j += skipNow;
        } else if (skipBefore) {
            for (size_t k = 0; k < skipBefore; ++k) boxes.push_back(before[i + k].Box);
            i += skipBefore;
        } else {
            boxes.push_back(before[i++].Box);
            boxes.push_back(now[j++].Box);
        }
    }
    for (; i < before.size(); ++i) boxes.push_back(before[i].Box);
    for (; j < now.size(); ++j) boxes.push_back(now[j].Box);
    return JoinDamage(boxes, now, picture);
}
