#pragma once
// Comparing frames drawn at two densities: the dense frame (twice the pixels each way) brought
// down to the plain frame's size, the plain frame enlarged as a window twice its size shows it,
// and a measure of fine detail. Frames are 0xAARRGGBB pixels, row 0 on top.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace framedetail {

// The mean of each 2 x 2 block: a w x h frame from a 2w x 2h one.
inline std::vector<uint32_t> HalfSize(const std::vector<uint32_t>& dense, int w, int h) {
    std::vector<uint32_t> out(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                unsigned sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        sum += (dense[size_t(2 * y + dy) * size_t(2 * w) + size_t(2 * x + dx)] >>
                                shift) &
                               0xFF;
                p |= ((sum + 2) / 4) << shift;
            }
            out[size_t(y) * size_t(w) + size_t(x)] = p;
        }
    return out;
}

// Grey levels (0..255, the mean of the three channels).
inline std::vector<double> Grey(const std::vector<uint32_t>& frame) {
    std::vector<double> g(frame.size());
    for (size_t i = 0; i < frame.size(); ++i)
        g[i] = (((frame[i] >> 16) & 0xFF) + ((frame[i] >> 8) & 0xFF) + (frame[i] & 0xFF)) / 3.0;
    return g;
}

// A w x h grey picture enlarged to 2w x 2h with bilinear filtering on pixel centres, as a
// window twice the picture's size shows it.
inline std::vector<double> DoubleSize(const std::vector<double>& g, int w, int h) {
    std::vector<double> out(size_t(4) * size_t(w) * size_t(h));
    const auto at = [&](int x, int y) {
        return g[size_t(std::clamp(y, 0, h - 1)) * size_t(w) + size_t(std::clamp(x, 0, w - 1))];
    };
    for (int y = 0; y < 2 * h; ++y)
        for (int x = 0; x < 2 * w; ++x) {
            const double sx = (x + 0.5) / 2 - 0.5, sy = (y + 0.5) / 2 - 0.5;
            const int x0 = int(std::floor(sx)), y0 = int(std::floor(sy));
            const double fx = sx - x0, fy = sy - y0;
            out[size_t(y) * size_t(2 * w) + size_t(x)] =
                (at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx) * (1 - fy) +
                (at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx) * fy;
        }
    return out;
}

// Fine detail inside (x0, y0)-(x1, y1) of a w-wide grey picture: the mean square of the picture
// minus its Gaussian blur of one pixel (sigma 1).
inline double Detail(const std::vector<double>& g, int w, int x0, int y0, int x1, int y1) {
    constexpr int r = 3;
    double kernel[2 * r + 1], total = 0;
    for (int i = -r; i <= r; ++i) total += kernel[i + r] = std::exp(-0.5 * i * i);
    for (double& k : kernel) k /= total;
    const int bw = x1 - x0 + 2 * r, bh = y1 - y0 + 2 * r;
    std::vector<double> across(size_t(bw) * size_t(bh));
    for (int y = 0; y < bh; ++y)
        for (int x = 0; x < bw; ++x) {
            double s = 0;
            for (int i = -r; i <= r; ++i)
                s += kernel[i + r] * g[size_t(y0 - r + y) * size_t(w) + size_t(x0 - r + x + i)];
            across[size_t(y) * size_t(bw) + size_t(x)] = s;
        }
    double energy = 0;
    for (int y = r; y < bh - r; ++y)
        for (int x = r; x < bw - r; ++x) {
            double s = 0;
            for (int i = -r; i <= r; ++i)
                s += kernel[i + r] * across[size_t(y + i) * size_t(bw) + size_t(x)];
            const double d = g[size_t(y0 - r + y) * size_t(w) + size_t(x0 - r + x)] - s;
            energy += d * d;
        }
    return energy / (double(x1 - x0) * double(y1 - y0));
}

// The mean difference of the channels of two frames of the same size, in levels of 255.
inline double MeanDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    return sum / (3.0 * double(a.size()));
}

// Field detail of a dense 2w x 2h frame against the plain w x h frame enlarged twice, over the
// picture rectangle (x0, y0)-(x1, y1) in plain pixels: above 1 the dense frame holds more.
inline double DetailRatio(const std::vector<uint32_t>& plain, const std::vector<uint32_t>& dense,
                          int w, int h, int x0, int y0, int x1, int y1) {
    const std::vector<double> enlarged = DoubleSize(Grey(plain), w, h);
    const std::vector<double> fine = Grey(dense);
    return Detail(fine, 2 * w, 2 * x0, 2 * y0, 2 * x1, 2 * y1) /
           Detail(enlarged, 2 * w, 2 * x0, 2 * y0, 2 * x1, 2 * y1);
}

} // namespace framedetail
