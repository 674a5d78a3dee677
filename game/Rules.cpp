#include "game/Rules.h"

#include <cmath>

namespace rules {

namespace {

// Path values are whole wave numbers held in single precision; rounding is to nearest, ties to
// even, as everywhere in the field.
int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

int32_t CountFree(const TCells& cells) {
    int32_t n = 0;
    const size_t size = cells.Size();
    for (size_t i = 0; i < size; ++i) n += cells.Data[i].Kind == 0;
    return n;
}

uint8_t ColourOf(uint32_t kind) {
    for (int c = 1; c <= 7; ++c)
        if (kind & ColourBit(c)) return static_cast<uint8_t>(c);
    return 0;
}

uint8_t MarkLines(const TCells& cells, uint8_t* marks) {
    std::fill(marks, marks + cells.Size(), uint8_t{0});
    uint8_t lines = 0;
    const auto at = [&](int x, int y) {
        return static_cast<size_t>(x) * static_cast<size_t>(cells.Rows) + static_cast<size_t>(y);
    };
    // A run is a line when its first cell holds a ball and the AND of its five Kinds is not 0.
    const auto testRun = [&](int x, int y, int dx, int dy) {
        if (cells(x, y).Kind == 0) return;
        uint32_t shared = 0xFFFFFFFFu;
        for (int k = 0; k < kLineLength; ++k) shared &= cells(x + k * dx, y + k * dy).Kind;
        if (shared == 0) return;
        ++lines;
        for (int k = 0; k < kLineLength; ++k) marks[at(x + k * dx, y + k * dy)] = 1;
    };
    const int maxX = cells.Columns - 1, maxY = cells.Rows - 1;
    for (int x = 0; x <= maxX; ++x) {
        for (int y = 0; y <= maxY; ++y) {
            const bool fitsDown = y < maxY - 3;
            const bool fitsRight = x < maxX - 3;
            if (fitsDown) testRun(x, y, 0, 1);
            if (fitsRight) testRun(x, y, 1, 0);
            if (fitsRight && fitsDown) testRun(x, y, 1, 1);
            if (fitsRight && y > 3) testRun(x, y, 1, -1);
        }
    }
    return lines;
}

uint8_t FindPath(const TCells& cells, float* grid, int fromX, int fromY, int toX, int toY,
                 bool* blocked) {
    if ((fromX == toX && fromY == toY) || !cells.Inside(toX, toY) || !cells.Inside(fromX, fromY) ||
        cells(toX, toY).Kind != 0)
        return kNoPath;
    const int maxX = cells.Columns - 1, maxY = cells.Rows - 1;
    const auto g = [&](int x, int y) -> float& {
        return grid[static_cast<size_t>(x) * static_cast<size_t>(cells.Rows) +
                    static_cast<size_t>(y)];
    };
    for (int x = 0; x <= maxX; ++x)
        for (int y = 0; y <= maxY; ++y) g(x, y) = cells(x, y).Kind != 0 ? 255.0f : 0.0f;
    g(fromX, fromY) = 1.0f;

    // Wave search: each pass gives wave w + 1 to the free neighbours of the wave-w cells, in the
    // order right, left, down, up. A cell reached in a pass is not expanded in the same pass,
    // since only cells holding w are expanded.
    const int passLimit = maxX * maxY;
    float w = 1.0f;
    int n = 0;
    static constexpr int dx[4] = {1, -1, 0, 0};
    static constexpr int dy[4] = {0, 0, 1, -1};
    do {
        ++n;
        for (int x = 0; x <= maxX; ++x) {
            for (int y = 0; y <= maxY; ++y) {
                if (g(x, y) != w) continue;
                for (int k = 0; k < 4; ++k) {
                    const int nx = x + dx[k], ny = y + dy[k];
                    if (cells.Inside(nx, ny) && g(nx, ny) == 0.0f) g(nx, ny) = w + 1.0f;
                }
            }
        }
        w += 1.0f;
    } while (!(n > passLimit || g(toX, toY) > 0.0f));

    if (g(toX, toY) == 0.0f) {
        std::fill(grid, grid + cells.Size(), 0.0f);
        if (blocked) *blocked = true;
        return kNoPath;
    }

    // Walk back from the target, keeping one predecessor per wave, chosen in the order left,
    // right, up, down. Each step clears every other cell of the current wave; once the walk has
    // passed the start, the wrapped byte wave 255 clears the occupied cells too.
    uint8_t d = static_cast<uint8_t>(RoundEven(g(toX, toY)));
    const auto length = static_cast<uint8_t>(d - 1);
    int px = toX, py = toY;
    static constexpr int bx[4] = {-1, 1, 0, 0};
    static constexpr int by[4] = {0, 0, -1, 1};
    for (int step = 0; step < 64; ++step) {
        for (int x = 0; x <= maxX; ++x)
            for (int y = 0; y <= maxY; ++y)
                if ((x != px || y != py) && g(x, y) == static_cast<float>(d)) g(x, y) = 0.0f;
        const float want = g(px, py) - 1.0f;
        for (int k = 0; k < 4; ++k) {
            const int nx = px + bx[k], ny = py + by[k];
            if (cells.Inside(nx, ny) && g(nx, ny) == want) {
                px = nx;
                py = ny;
                break;
            }
        }
        d = static_cast<uint8_t>(d - 1);
    }
    return length;
}

void Repaint(const TCells& cells, int x, int y, uint8_t colour) {
    for (int i = x - 1; i <= x + 1; ++i)
        for (int j = y - 1; j <= y + 1; ++j)
            if (cells.Inside(i, j) && !(i == x && j == y) && cells(i, j).Kind != 0)
                cells(i, j) = BallKinds[colour];
}

void DefuseBombs(const TCells& cells) {
    const size_t size = cells.Size();
    for (size_t i = 0; i < size; ++i)
        if (cells.Data[i].Kind == kindDetonating) cells.Data[i].Kind = kindBomb;
}

} // namespace rules
