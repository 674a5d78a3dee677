#include "game/Player.h"

#include "game/Random.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int kSide = TBoard::kSide;
constexpr int kCells = TBoard::kCellCount;
// The cells beyond the edge, in the tables of neighbours below and the arrays they index.
constexpr int kOutside = kCells;

// A count, cell or region number as an array index: never negative here.
template <class T> constexpr size_t Idx(T i) {
    return static_cast<size_t>(i);
}

// The kind bits that can make a line: the colours, the bomb, paint and multiplier bits.
constexpr uint32_t kLineBits = kindColourMask | kindBomb | kindPaint | kindMultiplier;

// The four directions of a line: down a column, along a row, and both diagonals.
constexpr int kDirX[4] = {0, 1, 1, 1};
constexpr int kDirY[4] = {1, 0, 1, -1};

// --- Empty regions
// ---------------------------------------------------------------------------------

// The empty cells grouped into regions of orthogonally connected cells: a ball can go to exactly
// the cells of the regions next to it (the field's path search reaches no other cell).
struct TRegions {
    std::array<int8_t, kCells> Id{}; // region of an empty cell, -1 for a ball
    int Count = 0;
    std::array<uint8_t, kCells> Size{};
    // The cells of region r are Cells[Start[r] .. Start[r + 1]), in cell order.
    std::array<uint8_t, kCells> Cells{};
    std::array<uint8_t, kCells + 1> Start{};
};

// Each cell's orthogonal neighbours (x + 1, x - 1, y + 1, y - 1), kOutside beyond the edge.
struct TOrthogonalTable {
    std::array<std::array<uint8_t, 4>, kCells> Of{};
    constexpr TOrthogonalTable() {
        for (int x = 0; x < kSide; ++x) {
            for (int y = 0; y < kSide; ++y) {
                const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
                for (size_t k = 0; k < 4; ++k) {
                    const int nx = next[k][0], ny = next[k][1];
                    const bool inside = nx >= 0 && ny >= 0 && nx < kSide && ny < kSide;
                    Of[Idx(TBoard::Index(x, y))][k] =
                        static_cast<uint8_t>(inside ? TBoard::Index(nx, ny) : kOutside);
                }
            }
        }
    }
};
constexpr TOrthogonalTable kOrthogonal;

void FindRegions(const TBoard& b, TRegions& g) {
    g.Id.fill(-1);
    g.Count = 0;
    // The cells no region can take (any more): the balls, the outside and the cells taken.
    std::array<bool, kCells + 1> closed;
    for (size_t i = 0; i < kCells; ++i) closed[i] = b.Cells[i].Kind != 0;
    closed[kOutside] = true;
    std::array<uint8_t, kCells> stack;
    for (size_t i = 0; i < kCells; ++i) {
        if (closed[i]) continue;
        const auto id = static_cast<int8_t>(g.Count++);
        int top = 0, size = 0;
        stack[Idx(top++)] = static_cast<uint8_t>(i);
        closed[i] = true;
        g.Id[i] = id;
        while (top > 0) {
            const size_t c = stack[Idx(--top)];
            ++size;
            for (const uint8_t j : kOrthogonal.Of[c]) {
                if (closed[j]) continue;
                closed[j] = true;
                g.Id[j] = id;
                stack[Idx(top++)] = j;
            }
        }
        g.Size[static_cast<uint8_t>(id)] = static_cast<uint8_t>(size);
    }
    // Cells of each region, in cell order.
    std::array<uint8_t, kCells + 1> fill{};
    for (int i = 0; i < kCells; ++i)
        if (g.Id[Idx(i)] >= 0) ++fill[Idx(g.Id[Idx(i)]) + 1];
    g.Start[0] = 0;
    for (int r = 0; r < g.Count; ++r)
        g.Start[Idx(r) + 1] = static_cast<uint8_t>(g.Start[Idx(r)] + fill[Idx(r) + 1]);
    std::array<uint8_t, kCells> at{};
    for (int r = 0; r < g.Count; ++r) at[Idx(r)] = g.Start[Idx(r)];
    for (int i = 0; i < kCells; ++i) {
        const int8_t r = g.Id[Idx(i)];
        if (r >= 0) g.Cells[at[static_cast<uint8_t>(r)]++] = static_cast<uint8_t>(i);
    }
}

// The distinct regions next to the cell (x, y), at most four; returns how many.
int RegionsAround(const TRegions& g, int x, int y, std::array<int8_t, 4>& out) {
    int n = 0;
    for (const uint8_t c : kOrthogonal.Of[Idx(TBoard::Index(x, y))]) {
        const int8_t r = c == kOutside ? int8_t{-1} : g.Id[c];
        if (r < 0) continue;
        bool seen = false;
        for (int k = 0; k < n; ++k) seen |= out[Idx(k)] == r;
        if (!seen) out[Idx(n++)] = r;
    }
    return n;
}

// --- Lines around a cell
// --------------------------------------------------------------------------

// The line bits of a kind packed into bits 0..9: the seven colours, then the bomb, paint and
// multiplier bits.
constexpr int kLineBitCount = 10;
constexpr uint32_t kAllLineBits = (1u << kLineBitCount) - 1;

uint32_t LineBitsOf(uint32_t kind) {
    return (kind & kindColourMask) | ((kind & kindBomb) ? 1u << 7 : 0u) |
           ((kind & kindPaint) ? 1u << 8 : 0u) | ((kind & kindMultiplier) ? 1u << 9 : 0u);
}

// Looking from a cell along each direction and back, for each line bit: the run of balls a ball
// with that bit would make there (itself counted) and whether the run has room to grow to five
// (balls sharing the bit or empty cells), packed as run * 2 + open.
struct TCellLines {
    std::array<std::array<uint8_t, kLineBitCount>, 4> Grade{};
};

// `skip` is a cell treated as empty (the moving ball's own cell), -1 for none.
void LookAround(const TBoard& b, int x, int y, int skip, TCellLines& out) {
    for (int d = 0; d < 4; ++d) {
        std::array<uint8_t, kLineBitCount> run{}, room{};
        for (int side = -1; side <= 1; side += 2) {
            // A bit's count is the number of steps it stayed alive: each bit dies once.
            uint32_t runAlive = kAllLineBits, roomAlive = kAllLineBits;
            int k = 0;
            const auto close = [](uint32_t before, uint32_t after, int steps,
                                  std::array<uint8_t, kLineBitCount>& count) {
                for (uint32_t dead = before & ~after; dead; dead &= dead - 1)
                    count[Idx(std::countr_zero(dead))] =
                        static_cast<uint8_t>(count[Idx(std::countr_zero(dead))] + steps);
            };
            while (k < 4 && roomAlive) {
                const int cx = x + side * kDirX[d] * (k + 1), cy = y + side * kDirY[d] * (k + 1);
                if (cx < 0 || cy < 0 || cx >= kSide || cy >= kSide) break;
                const int i = TBoard::Index(cx, cy);
                const uint32_t kind = i == skip ? 0 : b.Cells[Idx(i)].Kind;
                const uint32_t nextRun = kind == 0 ? 0 : runAlive & LineBitsOf(kind);
                const uint32_t nextRoom = kind == 0 ? roomAlive : roomAlive & LineBitsOf(kind);
                close(runAlive, nextRun, k, run);
                close(roomAlive, nextRoom, k, room);
                runAlive = nextRun;
                roomAlive = nextRoom;
                ++k;
            }
            close(runAlive, 0, k, run);
            close(roomAlive, 0, k, room);
        }
        for (size_t bit = 0; bit < kLineBitCount; ++bit)
            out.Grade[Idx(d)][bit] =
                static_cast<uint8_t>((1 + run[bit]) * 2 + (1 + room[bit] >= kLineLength ? 1 : 0));
    }
}

// Worth of a run that can still grow to five, by its length (index 1..4).
constexpr int kRunWorth[kLineLength] = {0, 0, 1, 4, 10};

// A ball at a cell: whether it completes a line, the balls its lines would take with it, and the
// worth of the runs it builds.
struct TPlacement {
    bool Line = false;
    int LineBalls = 0;
    int Worth = 0;
    int Aligned = 0; // balls it lines up with (the greedy player's tie-break)
};

// `bits`: the ball's line bits (LineBitsOf). In each direction the bit making the longest run
// counts.
TPlacement Place(const TCellLines& lines, uint32_t bits) {
    TPlacement p;
    for (const auto& grades : lines.Grade) {
        int grade = 2;
        for (uint32_t m = bits; m; m &= m - 1)
            grade = std::max<int>(grade, grades[Idx(std::countr_zero(m))]);
        const int run = grade / 2;
        p.Aligned += run - 1;
        if (run >= kLineLength) {
            p.Line = true;
            p.LineBalls += run - 1;
        } else if (grade % 2) {
            p.Worth += kRunWorth[run];
        }
    }
    return p;
}

// A ball of `kind` at (x, y), with the cell `skip` empty.
TPlacement Place(const TBoard& b, int x, int y, uint32_t kind, int skip) {
    TCellLines lines;
    LookAround(b, x, y, skip, lines);
    return Place(lines, LineBitsOf(kind));
}

bool IsAligned(int ax, int ay, int bx, int by) {
    const int dx = std::abs(ax - bx), dy = std::abs(ay - by);
    return std::max(dx, dy) < kLineLength && (dx == 0 || dy == 0 || dx == dy);
}

// Each cell's neighbour before it (x - dx, y - dy) and after it (x + dx, y + dy) in each
// direction, kOutside beyond the edge.
struct TNeighbourTable {
    std::array<std::array<std::array<uint8_t, kCells>, 2>, 4> Of{};
    constexpr TNeighbourTable() {
        for (int d = 0; d < 4; ++d) {
            for (int side = 0; side < 2; ++side) {
                const int step = side == 0 ? -1 : 1;
                for (int x = 0; x < kSide; ++x) {
                    for (int y = 0; y < kSide; ++y) {
                        const int nx = x + step * kDirX[d], ny = y + step * kDirY[d];
                        const bool inside = nx >= 0 && ny >= 0 && nx < kSide && ny < kSide;
                        Of[Idx(d)][Idx(side)][Idx(TBoard::Index(x, y))] =
                            static_cast<uint8_t>(inside ? TBoard::Index(nx, ny) : kOutside);
                    }
                }
            }
        }
    }
};
constexpr TNeighbourTable kNeighbours;

// The whole board's lines at once, for the quick policy. For each direction and each cell, the
// runs that end at the cell coming from either side, one 4-bit count per line bit packed into a
// word (bit b's count in bits 4b..4b+3): Run counts consecutive balls sharing the bit, Room
// consecutive cells that are empty or share it. A run at rest is at most 4 long (five would have
// gone), a room at most 9, so a count never overflows its four bits.
// Each direction's counts have one more entry, kOutside, all 0: the cells beyond the edge.
struct TBoardLines {
    // [direction][0: from the cells before, 1: from the cells after][cell, or kOutside]
    // Every element is written by the constructor.
    std::array<std::array<std::array<uint64_t, kCells + 1>, 2>, 4> Run, Room;

    // Each line bit spread to a whole nibble, for the 1024 values of the packed bits.
    static const std::array<uint64_t, 1u << kLineBitCount>& Nibbles() {
        static const std::array<uint64_t, 1u << kLineBitCount> table = [] {
            std::array<uint64_t, 1u << kLineBitCount> t{};
            for (uint32_t v = 0; v < t.size(); ++v)
                for (int b = 0; b < kLineBitCount; ++b)
                    if (v & (1u << b)) t[v] |= uint64_t{0xF} << (4 * b);
            return t;
        }();
        return table;
    }

    explicit TBoardLines(const TBoard& b) {
        const auto& nibbles = Nibbles();
        constexpr uint64_t kOnes = 0x1111111111ULL; // one in each of the ten nibbles
        const uint64_t anyBit = nibbles[kAllLineBits];
        std::array<uint64_t, kCells> runMask, roomMask; // every cell written below
        for (int i = 0; i < kCells; ++i) {
            const uint32_t kind = b.Cells[Idx(i)].Kind;
            runMask[Idx(i)] = kind == 0 ? 0 : nibbles[LineBitsOf(kind)];
            roomMask[Idx(i)] = kind == 0 ? anyBit : runMask[Idx(i)];
        }
        for (int d = 0; d < 4; ++d) {
            for (int side = 0; side < 2; ++side) {
                // Side 0 counts from the cells before (x - dx, y - dy), side 1 from the cells
                // after. Every direction steps to a larger x, or a larger y in the same column,
                // so cell order visits that neighbour first for side 0, reverse order for side 1.
                auto& run = Run[Idx(d)][Idx(side)];
                auto& room = Room[Idx(d)][Idx(side)];
                const auto& previous = kNeighbours.Of[Idx(d)][Idx(side)];
                run[kOutside] = 0;
                room[kOutside] = 0;
                for (int n = 0; n < kCells; ++n) {
                    const auto i = Idx(side == 0 ? n : kCells - 1 - n);
                    run[i] = (run[previous[i]] + kOnes) & runMask[i];
                    room[i] = (room[previous[i]] + kOnes) & roomMask[i];
                }
            }
        }
    }
};

// A ball with the line bits `bits` at (x, y), judged from the board's lines: the cells before and
// after it in each direction, the ball's own cell not counted (for a ball standing there: what it
// builds where it stands).
TPlacement PlaceAt(const TBoardLines& lines, int x, int y, uint32_t bits) {
    TPlacement p;
    const auto cell = Idx(TBoard::Index(x, y));
    for (size_t d = 0; d < 4; ++d) {
        const size_t ib = kNeighbours.Of[d][0][cell], ia = kNeighbours.Of[d][1][cell];
        const uint64_t runL = lines.Run[d][0][ib], roomL = lines.Room[d][0][ib];
        const uint64_t runR = lines.Run[d][1][ia], roomR = lines.Room[d][1][ia];
        int run = 1;
        bool open = false;
        for (uint32_t m = bits; m; m &= m - 1) {
            const int shift = 4 * std::countr_zero(m);
            const int r = 1 + static_cast<int>((runL >> shift) & 0xF) +
                          static_cast<int>((runR >> shift) & 0xF);
            const bool o = ((roomL >> shift) & 0xF) + ((roomR >> shift) & 0xF) >= kLineLength - 1;
            if (r > run || (r == run && o && !open)) {
                run = r;
                open = o;
            }
        }
        p.Aligned += run - 1;
        if (run >= kLineLength) {
            p.Line = true;
            p.LineBalls += run - 1;
        } else if (open) {
            p.Worth += kRunWorth[run];
        }
    }
    return p;
}

// An empty cell judged for each line bit at once: what a ball carrying that one bit would build
// there, and the balls the lines it would complete hold (0: none). The bits are counted in byte
// lanes, the even bits' in one word and the odd bits' in the other (bit b in byte b / 2 of word
// b % 2), so that all ten are judged with the same few operations and no branch per bit.
struct TTargetLines {
    std::array<uint64_t, 2> WorthLanes{}, BallLanes{};

    // The lanes as bytes, and where a bit's lane is among them.
    using TBytes = std::array<uint8_t, 16>;
    static TBytes Bytes(const std::array<uint64_t, 2>& lanes) {
        TBytes bytes;
        static_assert(sizeof bytes == sizeof lanes);
        std::memcpy(bytes.data(), lanes.data(), sizeof bytes);
        return bytes;
    }
    static constexpr size_t ByteOf(size_t bit) {
        const size_t lane = bit >> 1;
        return (bit & 1) * 8 + (std::endian::native == std::endian::little ? lane : 7 - lane);
    }
};

// Five byte lanes: one for each of the ten nibbles' even or odd half.
constexpr uint64_t kLaneLow = 0x0F0F0F0F0FULL;
constexpr uint64_t kLaneOne = 0x0101010101ULL;

TTargetLines JudgeTarget(const TBoardLines& lines, int x, int y) {
    TTargetLines t;
    const auto cell = Idx(TBoard::Index(x, y));
    for (size_t d = 0; d < 4; ++d) {
        const size_t ib = kNeighbours.Of[d][0][cell], ia = kNeighbours.Of[d][1][cell];
        // The sums fit a nibble: runs at most 4 + 4, rooms at most 8 in all on a line of 9.
        const uint64_t runs = lines.Run[d][0][ib] + lines.Run[d][1][ia];
        const uint64_t rooms = lines.Room[d][0][ib] + lines.Room[d][1][ia];
        for (size_t half = 0; half < 2; ++half) {
            const uint64_t run = (runs >> (4 * half)) & kLaneLow;   // the run less the ball, 0..8
            const uint64_t room = (rooms >> (4 * half)) & kLaneLow; // 0..8
            // A lane of 0..8 is at least 4 (a run of five with the ball) when bit 2 or 3 is set.
            const uint64_t line = ((run >> 2) | (run >> 3)) & kLaneOne;
            const uint64_t open = ((room >> 2) | (room >> 3)) & kLaneOne & ~line;
            // Below 4 the lane's two low bits b0, b1 give the run's worth kRunWorth[1 + run]:
            // 0, 1, 4, 10 = b0 + 4 b1 + 5 b0 b1.
            const uint64_t b0 = run & kLaneOne, b1 = (run >> 1) & kLaneOne;
            const uint64_t worth = b0 + (b1 << 2) + (b0 & b1) * 5;
            t.BallLanes[half] += run & (line * 0xFF);
            t.WorthLanes[half] += worth & (open * 0xFF);
        }
    }
    return t;
}

// --- The quick policy of the futures
// --------------------------------------------------------------

// A cheap player for the futures: a move that completes a line if there is one (the one taking
// most balls), else the move whose target builds the most worth for its kind minus what the ball
// leaves behind; a bomb is worth the balls it would clear once the field is crowded. The worth of
// a target is judged once per kind and region, not per ball.
class TQuickPolicy {
public:
    explicit TQuickPolicy(const TBoard& b) : b_(b), lines_(b) {}
    TMove Choose();

private:
    static constexpr size_t kMaxKinds = 32;

    // A ball that can move, with its kind numbered.
    struct TMover {
        int8_t X, Y;
        int8_t KindIndex;
        int8_t RegionCount;
        std::array<int8_t, 4> Regions;
        int Leaves; // worth of the runs it stands in now
    };
    // A kind's best target in a region.
    struct TTarget {
        int Worth;
        int8_t Cell;
    };
    // A target where a kind would complete a line: checked ball by ball, since a ball may be part
    // of the very run it seems to complete.
    struct TLineTarget {
        int8_t Cell;
        int8_t KindIndex;
        int Balls;
    };

    bool FindMovers();
    void PrepareTargets();
    void JudgeRegion(int r);
    int BombWorth(int x, int y) const;
    TMove LineChoice() const;
    TMove WorthChoice() const;

    const TBoard& b_;
    const TBoardLines lines_;
    TRegions g_;
    bool crowded_ = false;
    std::array<TMover, kCells> movers_; // [0, moverCount_) written by FindMovers
    int moverCount_ = 0;
    std::array<uint32_t, kMaxKinds> kinds_{};
    int kindCount_ = 0;
    // Only the rows of the kinds and regions present are set up and read: the whole table is
    // 20 kB, and this runs ten times a future.
    std::array<std::array<TTarget, kCells>, kMaxKinds> best_;
    std::array<TLineTarget, 64> lineTargets_; // [0, lineCount_) written by JudgeRegion
    int lineCount_ = 0;
    std::array<bool, kMaxKinds * kCells> wanted_; // [0, kindCount_ * kCells) read
    // Each target is judged once per line bit; a kind takes its best bit (a rainbow ball is worth
    // what its best colour builds there): each kind's bits as places among TTargetLines' bytes.
    std::array<std::array<uint8_t, kLineBitCount>, kMaxKinds> kindBytes_;
    std::array<uint8_t, kMaxKinds> kindByteCount_{};
};

TMove TQuickPolicy::Choose() {
    FindRegions(b_, g_);
    if (g_.Count == 0) return {};
    int freeCells = 0;
    for (int r = 0; r < g_.Count; ++r) freeCells += g_.Size[Idx(r)];
    crowded_ = freeCells < 24;
    if (!FindMovers()) return {};
    PrepareTargets();
    for (int r = 0; r < g_.Count; ++r) JudgeRegion(r);
    const TMove line = LineChoice();
    return line.Valid() ? line : WorthChoice();
}

// The balls that can move, with their kinds numbered; false when none can.
bool TQuickPolicy::FindMovers() {
    for (int x = 0; x < kSide; ++x) {
        for (int y = 0; y < kSide; ++y) {
            const uint32_t kind = b_.At(x, y).Kind;
            if (kind == 0) continue;
            TMover m{};
            m.RegionCount = static_cast<int8_t>(RegionsAround(g_, x, y, m.Regions));
            if (m.RegionCount == 0) continue;
            m.X = static_cast<int8_t>(x);
            m.Y = static_cast<int8_t>(y);
            int k = 0;
            while (k < kindCount_ && kinds_[Idx(k)] != kind) ++k;
            if (k == kindCount_) {
                if (kindCount_ == static_cast<int>(kinds_.size())) continue;
                kinds_[Idx(kindCount_++)] = kind;
            }
            m.KindIndex = static_cast<int8_t>(k);
            m.Leaves = PlaceAt(lines_, x, y, LineBitsOf(kind)).Worth;
            movers_[Idx(moverCount_++)] = m;
        }
    }
    return moverCount_ > 0;
}

// No target yet for any kind; the regions each kind can reach; each kind's line bits.
void TQuickPolicy::PrepareTargets() {
    for (int k = 0; k < kindCount_; ++k)
        std::fill_n(best_[Idx(k)].begin(), g_.Count, TTarget{std::numeric_limits<int>::min(), -1});
    std::fill_n(wanted_.begin(), Idx(kindCount_) * kCells, false);
    for (int i = 0; i < moverCount_; ++i) {
        const TMover& m = movers_[Idx(i)];
        for (int k = 0; k < m.RegionCount; ++k)
            wanted_[Idx(m.KindIndex) * kCells + Idx(m.Regions[Idx(k)])] = true;
    }
    for (int k = 0; k < kindCount_; ++k) {
        auto& count = kindByteCount_[Idx(k)];
        for (uint32_t m = LineBitsOf(kinds_[Idx(k)]); m; m &= m - 1)
            kindBytes_[Idx(k)][count++] =
                static_cast<uint8_t>(TTargetLines::ByteOf(Idx(std::countr_zero(m))));
    }
}

// Every cell of region r judged for each kind that can reach it: the kind's best target there,
// and the targets where it completes a line.
void TQuickPolicy::JudgeRegion(int r) {
    std::array<uint8_t, kMaxKinds> regionKinds; // the kinds wanting this region, in kind order
    int regionKindCount = 0;
    for (int k = 0; k < kindCount_; ++k)
        if (wanted_[Idx(k) * kCells + Idx(r)])
            regionKinds[Idx(regionKindCount++)] = static_cast<uint8_t>(k);
    if (regionKindCount == 0) return;
    for (int c = g_.Start[Idx(r)]; c < g_.Start[Idx(r) + 1]; ++c) {
        const int cell = g_.Cells[Idx(c)];
        const int x = cell / kSide, y = cell % kSide;
        const TTargetLines here = JudgeTarget(lines_, x, y);
        const TTargetLines::TBytes worths = TTargetLines::Bytes(here.WorthLanes);
        const TTargetLines::TBytes lineBalls = TTargetLines::Bytes(here.BallLanes);
        for (int n = 0; n < regionKindCount; ++n) {
            const size_t k = regionKinds[Idx(n)];
            int worth = 0, balls = 0;
            for (size_t i = 0; i < kindByteCount_[k]; ++i) {
                const uint8_t at = kindBytes_[k][i];
                worth = std::max<int>(worth, worths[at]);
                balls = std::max<int>(balls, lineBalls[at]);
            }
            if (balls > 0 && lineCount_ < static_cast<int>(lineTargets_.size()))
                lineTargets_[Idx(lineCount_++)] = {static_cast<int8_t>(cell),
                                                   static_cast<int8_t>(k), balls};
            if (kinds_[k] == kindBomb && crowded_) worth += BombWorth(x, y);
            TTarget& t = best_[k][Idx(r)];
            if (worth > t.Worth) t = {worth, static_cast<int8_t>(cell)};
        }
    }
}

// A bomb clears its neighbours and brings no new balls.
int TQuickPolicy::BombWorth(int x, int y) const {
    int around = 0;
    for (int i = x - 1; i <= x + 1; ++i)
        for (int j = y - 1; j <= y + 1; ++j)
            if (i >= 0 && j >= 0 && i < kSide && j < kSide && (i != x || j != y))
                around += b_.At(i, j).Kind != 0;
    return 3 * around;
}

// A line first: each ball that could complete it, checked with its own cell empty; the line that
// takes most balls.
TMove TQuickPolicy::LineChoice() const {
    TMove choice;
    int choiceBalls = 0;
    for (int l = 0; l < lineCount_; ++l) {
        const TLineTarget& t = lineTargets_[Idx(l)];
        const int tx = t.Cell / kSide, ty = t.Cell % kSide;
        if (t.Balls <= choiceBalls) continue;
        for (int i = 0; i < moverCount_; ++i) {
            const TMover& m = movers_[Idx(i)];
            if (m.KindIndex != t.KindIndex) continue;
            bool reaches = false;
            for (int k = 0; k < m.RegionCount; ++k)
                reaches |= m.Regions[Idx(k)] == g_.Id[Idx(t.Cell)];
            if (!reaches) continue;
            const TPlacement p =
                IsAligned(m.X, m.Y, tx, ty)
                    ? Place(b_, tx, ty, kinds_[Idx(t.KindIndex)], TBoard::Index(m.X, m.Y))
                    : TPlacement{true, t.Balls, 0, 0};
            if (p.Line && p.LineBalls > choiceBalls) {
                choice = {m.X, m.Y, static_cast<int8_t>(tx), static_cast<int8_t>(ty)};
                choiceBalls = p.LineBalls;
            }
        }
    }
    return choice;
}

// Else the most worth: the target's for the ball's kind less what the ball leaves behind.
TMove TQuickPolicy::WorthChoice() const {
    TMove choice;
    int choiceWorth = std::numeric_limits<int>::min();
    for (int i = 0; i < moverCount_; ++i) {
        const TMover& m = movers_[Idx(i)];
        for (int k = 0; k < m.RegionCount; ++k) {
            const TTarget& t = best_[Idx(m.KindIndex)][Idx(m.Regions[Idx(k)])];
            if (t.Cell < 0) continue;
            const int worth = t.Worth - m.Leaves;
            if (worth > choiceWorth) {
                choiceWorth = worth;
                choice = {m.X, m.Y, static_cast<int8_t>(t.Cell / kSide),
                          static_cast<int8_t>(t.Cell % kSide)};
            }
        }
    }
    return choice;
}

TMove QuickMove(const TBoard& b) {
    return TQuickPolicy(b).Choose();
}

// --- Judging a board
// ------------------------------------------------------------------------------

// Every run of five cells a line could fill, as cell indices.
struct TWindows {
    std::array<std::array<uint8_t, kLineLength>, 160> Cells{};
    int Count = 0;
    TWindows() {
        for (int x = 0; x < kSide; ++x) {
            for (int y = 0; y < kSide; ++y) {
                for (int d = 0; d < 4; ++d) {
                    const int ex = x + kDirX[d] * (kLineLength - 1);
                    const int ey = y + kDirY[d] * (kLineLength - 1);
                    if (ex < 0 || ey < 0 || ex >= kSide || ey >= kSide) continue;
                    auto& w = Cells[Idx(Count++)];
                    for (int k = 0; k < kLineLength; ++k)
                        w[Idx(k)] =
                            static_cast<uint8_t>(TBoard::Index(x + kDirX[d] * k, y + kDirY[d] * k));
                }
            }
        }
    }
};
const TWindows kWindows;

// Weights of the board's features, in points.
constexpr double kWindowWorth[kLineLength] = {0.0, 0.4, 2.0, 6.0, 16.0}; // by balls in it
constexpr double kFreeCell = 4.0;
constexpr double kLargestRegion = 1.0; // per cell of the largest empty region
constexpr double kExtraRegion = 6.0;   // per empty region beyond the first
constexpr double kLoneCell = 6.0;      // per empty cell walled in on all four sides
constexpr double kDanger = 6000.0;     // over the squared spare room for the next balls
constexpr double kLoss = 20000.0;      // a future in which the game ends

// The futures' generator seeds: the position's seed mixed with the future's number.
uint64_t Mix(uint64_t a, uint64_t b) {
    uint64_t z = a ^ (b + 0x9E3779B97F4A7C15ULL + (a << 6) + (a >> 2));
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// The part of a move's turn that comes for certain: the arrival with its lines, a paint ball's
// repaint and its lines, and for a quiet move the chain broken and the next turn's balls counted
// (the new balls themselves, which land at random, are left out).
rules::TArrival PlayCertainPart(TBoard& b, const TMove& m) {
    const rules::TRulesRef r = b.Ref();
    rules::TQuiet quiet;
    const rules::TArrival a = rules::Arrive(r, m.FromX, m.FromY, m.ToX, m.ToY, quiet);
    if (a.Removed == 0) rules::QuietMoveEnds(r);
    if (b.PaintColour > 0) {
        rules::Repaint(r.Cells, m.ToX, m.ToY, b.PaintColour);
        b.PaintColour = 0;
        rules::ClearLines(r, quiet);
    }
    return a;
}

} // namespace

std::vector<TMove> LegalMoves(const TBoard& board) {
    TRegions g;
    FindRegions(board, g);
    std::vector<TMove> moves;
    for (int x = 0; x < kSide; ++x) {
        for (int y = 0; y < kSide; ++y) {
            if (board.At(x, y).Kind == 0) continue;
            std::array<int8_t, 4> regions{};
            const int n = RegionsAround(g, x, y, regions);
            if (n == 0) continue;
            for (int i = 0; i < kCells; ++i) {
                const int8_t r = g.Id[Idx(i)];
                if (r < 0) continue;
                bool reachable = false;
                for (int k = 0; k < n; ++k) reachable |= regions[Idx(k)] == r;
                if (reachable)
                    moves.push_back({static_cast<int8_t>(x), static_cast<int8_t>(y),
                                     static_cast<int8_t>(i / kSide),
                                     static_cast<int8_t>(i % kSide)});
            }
        }
    }
    return moves;
}

int32_t ImmediatePoints(const TBoard& board, const TMove& move) {
    TBoard b = board;
    PlayCertainPart(b, move);
    return b.Score - board.Score;
}

double EvaluateBoard(const TBoard& board) {
    TRegions g;
    FindRegions(board, g);
    int freeCells = 0, largest = 0, lone = 0;
    for (int r = 0; r < g.Count; ++r) {
        const int size = g.Size[Idx(r)];
        freeCells += size;
        largest = std::max(largest, size);
        lone += size == 1;
    }
    double worth = kFreeCell * freeCells + kLargestRegion * largest -
                   kExtraRegion * std::max(0, g.Count - 1) - kLoneCell * lone;
    for (int w = 0; w < kWindows.Count; ++w) {
        uint32_t shared = 0xFFFFFFFFu;
        int balls = 0;
        for (const uint8_t i : kWindows.Cells[Idx(w)]) {
            const uint32_t kind = board.Cells[i].Kind;
            if (kind == 0) continue;
            shared &= kind;
            ++balls;
        }
        if (balls > 0 && balls < kLineLength && (shared & kLineBits)) worth += kWindowWorth[balls];
    }
    // The next spawn needs mode + 3 empty cells; the fewer spare, the nearer the end.
    const int spare = freeCells - (board.Mode + 3) + 1;
    worth -= spare >= 1 ? kDanger / (static_cast<double>(spare) * spare) : kLoss;
    return worth;
}

uint64_t PositionSeed(const TBoard& board) {
    uint64_t h = 0x51ED2701F3A5C0DEULL;
    for (const TCell& c : board.Cells)
        h = Mix(h, (uint64_t{c.Kind} << 8) ^ (c.Kind ? c.Picture : 0));
    for (const TCell& c : board.Preview) h = Mix(h, (uint64_t{c.Kind} << 8) ^ c.Picture);
    h = Mix(h, board.Mode);
    h = Mix(h, board.Chain);
    h = Mix(h, static_cast<uint64_t>(board.BallsPerTurn));
    return Mix(h, static_cast<uint64_t>(static_cast<uint32_t>(board.Score)));
}

// --- The search
// -----------------------------------------------------------------------------------

void TMoveSearch::Start(const TBoard& board, TPlayerKind kind, const TSearchBudget& budget) {
    board_ = board;
    kind_ = kind;
    budget_ = budget;
    budget_.Candidates = std::max(1, budget_.Candidates);
    budget_.Futures = std::max(0, budget_.Futures);
    budget_.Depth = std::max(0, budget_.Depth);
    started_ = true;
    done_ = false;
    result_ = {};
    turns_ = 0;
    seed_ = PositionSeed(board);
    candidates_.clear();
    round_ = 0;
    rounds_ = 0;
    next_ = 0;
    played_ = 0;
    perCandidate_ = 0;
}

bool TMoveSearch::Run(int64_t turns) {
    if (!started_ || done_) return done_;
    const int64_t until = turns_ + std::max<int64_t>(turns, 1);
    if (candidates_.empty()) {
        FirstLook();
        if (done_) return true;
    }
    while (turns_ < until) {
        if (next_ >= candidates_.size()) {
            NextRound();
            if (done_) return true;
            continue;
        }
        TCandidate& c = candidates_[next_];
        if (played_ >= perCandidate_) {
            ++next_;
            played_ = 0;
            continue;
        }
        // The futures are numbered per candidate; every candidate's n-th future starts from the
        // same seed, so that the candidates meet the same luck as far as their boards allow.
        c.Sum += Future(c.Move, Mix(seed_, static_cast<uint64_t>(c.Count)));
        ++c.Count;
        ++played_;
    }
    return done_;
}

// Every legal move once: what it scores for certain and the board it leaves, less the worth of
// the balls a quiet move brings. The greedy player chooses here; the best player keeps the most
// promising moves as its candidates.
void TMoveSearch::FirstLook() {
    const std::vector<TMove> moves = LegalMoves(board_);
    turns_ += static_cast<int64_t>(moves.size());
    if (moves.empty()) {
        Finish();
        return;
    }
    struct TLook {
        TMove Move;
        double Value;
        int Aligned;
    };
    std::vector<TLook> looks;
    looks.reserve(moves.size());
    for (const TMove& m : moves) {
        TBoard b = board_;
        const rules::TArrival a = PlayCertainPart(b, m);
        const int32_t points = b.Score - board_.Score;
        if (kind_ == TPlayerKind::Greedy) {
            const int aligned = Place(board_, m.ToX, m.ToY, board_.At(m.FromX, m.FromY).Kind,
                                      TBoard::Index(m.FromX, m.FromY))
                                    .Aligned;
            looks.push_back({m, static_cast<double>(points), aligned});
            continue;
        }
        double value = points + EvaluateBoard(b);
        if (a.SpawnDue()) value -= 2.0 * kFreeCell * board_.BallsPerTurn;
        looks.push_back({m, value, 0});
    }
    // Stable: among equals the first legal move wins.
    std::stable_sort(looks.begin(), looks.end(), [](const TLook& a, const TLook& b) {
        return a.Value != b.Value ? a.Value > b.Value : a.Aligned > b.Aligned;
    });
    if (kind_ == TPlayerKind::Greedy || budget_.Futures == 0 || looks.size() == 1) {
        result_ = looks.front().Move;
        Finish();
        return;
    }
    const size_t keep = std::min(looks.size(), Idx(budget_.Candidates));
    for (size_t i = 0; i < keep; ++i) candidates_.push_back({looks[i].Move});
    rounds_ = std::max(1, static_cast<int>(std::ceil(std::log2(static_cast<double>(keep)))));
    round_ = -1;
    next_ = candidates_.size(); // the first round is set up by NextRound
}

// Successive halving: each round shares an equal part of the futures among the candidates left;
// after it the better half (by mean) goes on.
void TMoveSearch::NextRound() {
    if (round_ >= 0) {
        std::stable_sort(
            candidates_.begin(), candidates_.end(),
            [](const TCandidate& a, const TCandidate& b) { return a.Mean() > b.Mean(); });
        if (round_ + 1 >= rounds_ || candidates_.size() == 1) {
            result_ = candidates_.front().Move;
            Finish();
            return;
        }
        candidates_.resize((candidates_.size() + 1) / 2);
    }
    ++round_;
    const int perRound = budget_.Futures / rounds_;
    perCandidate_ = std::max(1, perRound / static_cast<int>(candidates_.size()));
    next_ = 0;
    played_ = 0;
}

void TMoveSearch::Finish() {
    done_ = true;
    candidates_.clear();
}

// One future: the candidate move with the known preview's balls on drawn cells, then the quick
// policy for the budget's depth with drawn previews; its worth is what it scored plus the worth
// of the board it ends on, or a heavy loss when the game ends in it.
double TMoveSearch::Future(const TMove& move, uint64_t seed) {
    TRandomStream random;
    random.Seed(seed);
    TBoard b = board_;
    TMoveOutcome o = PlayMove(b, move, random);
    ++turns_;
    double worth = o.Points;
    if (o.GameOver) return worth - kLoss;
    for (int d = 0; d < budget_.Depth; ++d) {
        const TMove m = QuickMove(b);
        if (!m.Valid()) break;
        o = PlayMove(b, m, random);
        ++turns_;
        worth += o.Points;
        if (o.GameOver) return worth - kLoss;
    }
    return worth + EvaluateBoard(b);
}

TMove ChooseMove(const TBoard& board, TPlayerKind kind, const TSearchBudget& budget) {
    TMoveSearch search;
    search.Start(board, kind, budget);
    while (!search.Run(std::numeric_limits<int64_t>::max() / 4)) {
    }
    return search.Result();
}
