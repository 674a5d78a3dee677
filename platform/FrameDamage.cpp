#include "platform/FrameDamage.h"

#include <algorithm>

namespace {

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

std::vector<TPixelRect> JoinDamage(const std::vector<TPixelRect>& boxes,
                                   const std::vector<TDrawExtent>& now, const TPixelRect& picture) {
    std::vector<TPixelRect> rects;
    for (const TPixelRect& box : boxes)
        if (const TPixelRect r = Intersection(box, picture); !r.Empty()) rects.push_back(r);
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
