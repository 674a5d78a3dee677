#pragma once
// The glossy ball: a lit sphere shaded per pixel (diffuse light from the upper left, light
// passing through to the lower right, a violet rim from the backdrop, a soft and a sharp glossy
// highlight), supersampled (4 x 4 along the outline) for smooth edges, with a faint symbol laid on
// its surface.
#include "tools/artgen/Canvas.h"

#include <functional>
#include <vector>

namespace artgen {

// A coverage mask over the square [-1, 1] x [-1, 1], drawn once with cairo and sampled with
// bilinear filtering.
class TMask {
public:
    // `draw` fills the path of the shape in the unit square on the given context.
    explicit TMask(const std::function<void(cairo_t*)>& draw, int size = 128);
    double Sample(double u, double v) const; // 0 outside the square

private:
    int size_;
    std::vector<float> cov_;
};

// What the surface looks like: albedo as a function of the point on the unit sphere (x right,
// y down, z towards the viewer, after the ball's spin), and an optional symbol decal.
struct TBallPaint {
    std::function<TRgb(double x, double y, double z)> Albedo;
    const TMask* Symbol = nullptr;
    double SymbolScale = 0.55;    // half-size of the symbol square on the sphere
    double SymbolStrength = 0.22; // how far the albedo moves towards SymbolColour
    TRgb SymbolColour{0, 0, 0};
    // Clear symbols: the symbol takes near-black or white by the albedo under it, whichever
    // stands out, over a rim of the other (SymbolEdge: the symbol's shape grown a little).
    bool SymbolContrast = false;
    const TMask* SymbolEdge = nullptr;
    double Gloss = 1.0;
};

struct TBallPose {
    double Cx = 0, Cy = 0, R = 17;
    double Sx = 1, Sy = 1; // squash and stretch
    double Spin = 0;       // turn about the vertical axis, radians
    double Shine = 0;      // extra highlight, 0..1
};

// Composites the ball over the canvas (OVER); the pose is in picture units.
void RenderSphere(TCanvas& canvas, const TBallPaint& paint, const TBallPose& pose);
// The soft contact shadow under a ball whose lowest point is at (cx, groundY).
void BallShadow(cairo_t* cr, double cx, double groundY, double r, double alpha);

} // namespace artgen
