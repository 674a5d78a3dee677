#include "platform/FrameDamage.h"

#include <algorithm>

namespace {

// How far ahead the matching looks for a draw that moved in the list (one that appeared or
// vanished shifts all that follow it).
constexpr size_t kLookAhead = 24;
// More separate rectangles than this become their union: each costs a pass over the draws.
constexpr size_t kMaxRects = 8;

// Joins rectangles that overlap until none do. Each pass folds every rectangle into the first
// joined one it meets, so a pass costs the rectangles times the (few) joined ones.
void MergeOverlapping(std::vector<TPixelRect>& rects) {
    for (bool merged = true; merged;) {
        merged = false;
        std::vector<TPixelRect> joined;
        for (const TPixelRect& r : rects) {
            auto into = std::find_if(joined.begin(), joined.end(),
                                     [&r](const TPixelRect& j) { return j.Intersects(r); });
            if (into == joined.end()) {
                joined.push_back(r);
            } else {
                *into = Union(*into, r);
                merged = true;
            }
        }
        rects.swap(joined);
    }
}

// Grows each rectangle over the draws it would cut that must not be cut; true if any grew.
bool GrowOverUnsafeDraws(std::vector<TPixelRect>& rects, const std::vector<TDrawExtent>& now) {
    bool grew = false;
    for (TPixelRect& r : rects)
        for (bool again = true; again;) {
            again = false;
            for (const TDrawExtent& d : now)
                if (!d.ClipSafe && r.Intersects(d.Box) && !r.Contains(d.Box)) {
                    r = Union(r, d.Box);
                    again = grew = true;
                }
        }
    return grew;
}

} // namespace

TPixelRect Intersection(const TPixelRect& a, const TPixelRect& b) {
    TPixelRect r{std::max(a.X0, b.X0), std::max(a.Y0, b.Y0), std::min(a.X1, b.X1),
                 std::min(a.Y1, b.Y1)};
    return r.Empty() ? TPixelRect{} : r;
}

TPixelRect Union(const TPixelRect& a, const TPixelRect& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.X0, b.X0), std::min(a.Y0, b.Y0), std::max(a.X1, b.X1), std::max(a.Y1, b.Y1)};
}

std::vector<TPixelRect> FindDamage(const std::vector<TDrawExtent>& before,
                                   const std::vector<TDrawExtent>& now,
                                   const std::function<bool(size_t, size_t)>& same,
                                   const TPixelRect& picture) {
    std::vector<TPixelRect> rects;
    const auto damage = [&](const TPixelRect& box) {
        const TPixelRect r = Intersection(box, picture);
        if (!r.Empty()) rects.push_back(r);
    };
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
            for (size_t k = 0; k < skipNow; ++k) damage(now[j + k].Box);
            j += skipNow;
        } else if (skipBefore) {
            for (size_t k = 0; k < skipBefore; ++k) damage(before[i + k].Box);
            i += skipBefore;
        } else {
            damage(before[i++].Box);
            damage(now[j++].Box);
        }
    }
    for (; i < before.size(); ++i) damage(before[i].Box);
    for (; j < now.size(); ++j) damage(now[j].Box);
    if (rects.empty()) return rects;

    do {
        MergeOverlapping(rects);
        if (rects.size() > kMaxRects) {
            TPixelRect all;
            for (const TPixelRect& r : rects) all = Union(all, r);
            rects = {all};
        }
    } while (GrowOverUnsafeDraws(rects, now));
    for (TPixelRect& r : rects) r = Intersection(r, picture);
    return rects;
}
