#pragma once
// How far apart colours look, for normal vision and the three colour-vision deficiencies: sRGB
// colours simulated with the matrices of Machado, Oliveira and Fernandes (2009) at full severity,
// applied to linear RGB, and compared by their CIE76 difference (Euclidean distance in CIELAB,
// D65 white).
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace vision {

struct TColour {
    double R = 0, G = 0, B = 0; // sRGB, 0..1
};

enum class TVision { Normal, Protan, Deutan, Tritan };
inline constexpr std::array<TVision, 4> kVisions = {TVision::Normal, TVision::Protan,
                                                    TVision::Deutan, TVision::Tritan};
inline const char* Name(TVision v) {
    switch (v) {
    case TVision::Protan:
        return "protan";
    case TVision::Deutan:
        return "deutan";
    case TVision::Tritan:
        return "tritan";
    default:
        return "normal";
    }
}

inline double ToLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
inline double ToGamma(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

// The colour as seen with the deficiency (severity 1.0), in sRGB. The matrices act on linear
// light; `onEncoded` applies them to the encoded values instead, as many tools do (it moves the
// figures by a few units either way).
inline TColour Simulate(const TColour& c, TVision v, bool onEncoded = false) {
    using M = std::array<double, 9>;
    static const M protan = {0.152286, 1.052583,  -0.204868, 0.114503, 0.786281,
                             0.099216, -0.003882, -0.048116, 1.051998};
    static const M deutan = {0.367322, 0.860646,  -0.227968, 0.280085, 0.672501,
                             0.047413, -0.011820, 0.042940,  0.968881};
    static const M tritan = {1.255528, -0.076749, -0.178779, -0.078411, 0.930809,
                             0.147602, 0.004733,  0.691367,  0.303900};
    if (v == TVision::Normal) return c;
    const M& m = v == TVision::Protan ? protan : (v == TVision::Deutan ? deutan : tritan);
    if (onEncoded) {
        const auto at = [&](int row) {
            return std::clamp(m[row * 3] * c.R + m[row * 3 + 1] * c.G + m[row * 3 + 2] * c.B, 0.0,
                              1.0);
        };
        return {at(0), at(1), at(2)};
    }
    const double r = ToLinear(c.R), g = ToLinear(c.G), b = ToLinear(c.B);
    return {ToGamma(m[0] * r + m[1] * g + m[2] * b), ToGamma(m[3] * r + m[4] * g + m[5] * b),
            ToGamma(m[6] * r + m[7] * g + m[8] * b)};
}

struct TLab {
    double L = 0, A = 0, B = 0;
};

inline TLab ToLab(const TColour& c) {
    const double r = ToLinear(c.R), g = ToLinear(c.G), b = ToLinear(c.B);
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

inline double DeltaE76(const TColour& a, const TColour& b) {
    const TLab p = ToLab(a), q = ToLab(b);
    return std::sqrt((p.L - q.L) * (p.L - q.L) + (p.A - q.A) * (p.A - q.A) +
                     (p.B - q.B) * (p.B - q.B));
}

// The closest pair of `colours` seen with `v`: its difference and the pair's indices.
struct TClosest {
    double Difference = 1e9;
    size_t First = 0, Second = 0;
};
inline TClosest ClosestPair(const std::vector<TColour>& colours, TVision v,
                            bool onEncoded = false) {
    TClosest best;
    for (size_t i = 0; i < colours.size(); ++i)
        for (size_t j = i + 1; j < colours.size(); ++j) {
            const double d =
                DeltaE76(Simulate(colours[i], v, onEncoded), Simulate(colours[j], v, onEncoded));
            if (d < best.Difference) best = {d, i, j};
        }
    return best;
}

// WCAG contrast ratio of two colours: (L1 + 0.05) / (L2 + 0.05) of their relative luminances,
// the lighter over the darker.
inline double Luminance(const TColour& c) {
    return 0.2126 * ToLinear(c.R) + 0.7152 * ToLinear(c.G) + 0.0722 * ToLinear(c.B);
}
inline double Contrast(const TColour& a, const TColour& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace vision
