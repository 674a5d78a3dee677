#include "game/GameField.h"
#include "layout/Layout.h"
#include "state/PointerState.h"
#include "state/ShellState.h"

#include <gtest/gtest.h>

namespace {

class PathSearch : public ::testing::Test {
protected:
    void SetUp() override { ResetShellState(); }

    void Put(int x, int y) { f.Cell(x, y) = BallKinds[1]; }
    void Select(int x, int y) {
        f.Selected = true;
        f.SelX = static_cast<uint8_t>(x);
        f.SelY = static_cast<uint8_t>(y);
    }
    void PointAt(int x, int y) {
        Pointer.X = kFieldLeft + kCellPitch * x + 20;
        Pointer.Y = kFieldTop + kCellPitch * y + 20;
    }
    int CountNonZero() const {
        int n = 0;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) n += f.PathGrid(x, y) != 0.0f;
        return n;
    }

    TGameField f{9, 9};
};

} // namespace

TEST_F(PathSearch, StraightPathLeavesOnlyThePath) {
    Put(0, 0);
    Put(5, 5); // an occupied cell elsewhere: its 255 is cleared by the walk back
    EXPECT_EQ(f.FindPath(0, 0, 4, 0), 4);
    for (int x = 0; x <= 4; ++x) EXPECT_FLOAT_EQ(f.PathGrid(x, 0), static_cast<float>(x + 1));
    EXPECT_EQ(CountNonZero(), 5);
    EXPECT_FLOAT_EQ(f.PathGrid(5, 5), 0.0f);
}

TEST_F(PathSearch, EqualPathsChosenByBackwardNeighbourOrder) {
    // From (0,0) to (1,1): via (0,1) or (1,0). Walking back from the target the left neighbour
    // (0,1) is tried before the upper one (1,0).
    Put(0, 0);
    EXPECT_EQ(f.FindPath(0, 0, 1, 1), 2);
    EXPECT_FLOAT_EQ(f.PathGrid(0, 1), 2.0f);
    EXPECT_FLOAT_EQ(f.PathGrid(1, 0), 0.0f);

    // From (2,2) to (1,1): back from the target, right (2,1) comes before down (1,2).
    TGameField g(9, 9);
    g.Cell(2, 2) = BallKinds[1];
    EXPECT_EQ(g.FindPath(2, 2, 1, 1), 2);
    EXPECT_FLOAT_EQ(g.PathGrid(2, 1), 2.0f);
    EXPECT_FLOAT_EQ(g.PathGrid(1, 2), 0.0f);
}

TEST_F(PathSearch, RefusalsLeaveTheGridAlone) {
    Put(0, 0);
    Put(3, 3);
    f.PathGrid(7, 7) = 42.0f;
    EXPECT_EQ(f.FindPath(0, 0, 0, 0), kNoPath); // start is the target
    EXPECT_EQ(f.FindPath(0, 0, 3, 3), kNoPath); // target occupied
    EXPECT_FLOAT_EQ(f.PathGrid(7, 7), 42.0f);
    EXPECT_EQ(f.PathMarks(3, 3), 0);
}

TEST_F(PathSearch, EnclosedTargetIsMarkedBlocked) {
    Put(0, 0);
    Put(4, 3);
    Put(3, 4);
    Put(5, 4);
    Put(4, 5); // a ring around (4,4)
    EXPECT_EQ(f.FindPath(0, 0, 4, 4), kNoPath);
    EXPECT_EQ(f.PathMarks(4, 4), kBlockedMark);
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(PathSearch, SerpentineFindsTheLongWay) {
    // Walls on rows 1, 3, 5, 7 with one gap at alternating ends force a snake through the field.
    Put(0, 0);
    for (int row = 1; row <= 7; row += 2)
        for (int x = 0; x < 9; ++x)
            if (x != ((row / 2) % 2 == 0 ? 8 : 0)) Put(x, row);
    // Rows 0, 2, 4, 6, 8 are corridors of 9; four gaps join them.
    const uint8_t l = f.FindPath(0, 0, 8, 8);
    EXPECT_EQ(l, 8 + 2 + 8 + 2 + 8 + 2 + 8 + 2 + 8);
    EXPECT_FLOAT_EQ(f.PathGrid(8, 8), static_cast<float>(l + 1));
    EXPECT_EQ(CountNonZero(), l + 1);
}

TEST_F(PathSearch, PointerStripsLeftAndAboveHoverColumnAndRowZero) {
    EXPECT_EQ(ColumnAt(kFieldLeft - 51), 0);
    EXPECT_EQ(RowAt(kFieldTop - 51), 0);
    EXPECT_EQ(ColumnAt(kFieldLeft - 52), -1);
    EXPECT_EQ(ColumnAt(kFieldLeft + 9 * 52 - 1), 8);
    EXPECT_EQ(ColumnAt(kFieldLeft + 9 * 52), 9);

    Pointer.X = kFieldLeft - 51;
    Pointer.Y = kFieldTop - 51;
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    EXPECT_EQ(f.HoverX, 0);
    EXPECT_EQ(f.HoverY, 0);
    Pointer.X = kFieldLeft - 52;
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    EXPECT_EQ(f.HoverX, kNoHover);
    EXPECT_EQ(f.HoverY, kNoHover);
}

TEST_F(PathSearch, HoverHighlightFollowsOneFrameLate) {
    Put(2, 2);
    Select(2, 2);
    PointAt(5, 2);
    f.UpdateHover(ColumnAt(Pointer.X),
                  RowAt(Pointer.Y)); // copies the previous (empty) grid, then searches
    EXPECT_EQ(f.PathMarks(4, 2), 0);
    f.UpdateHover(ColumnAt(Pointer.X),
                  RowAt(Pointer.Y)); // now the path of the last search is shown
    for (int x = 2; x <= 5; ++x) EXPECT_EQ(f.PathMarks(x, 2), x - 1);

    // Moving the pointer elsewhere shows the old path for one more frame.
    PointAt(2, 6);
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    EXPECT_EQ(f.PathMarks(5, 2), 4);
    EXPECT_EQ(f.PathMarks(2, 6), 0);
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    EXPECT_EQ(f.PathMarks(5, 2), 0);
    EXPECT_EQ(f.PathMarks(2, 6), 5);
}

TEST_F(PathSearch, HoverOnBallsShowsNothingAndEnclosedCellShowsBlockedMarkOnly) {
    Put(2, 2);
    Put(6, 6);
    Put(0, 1);
    Put(1, 0); // (0,0) is enclosed
    Select(2, 2);
    PointAt(5, 2);
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));

    PointAt(6, 6); // an occupied cell: the highlight goes, no blocked mark
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) EXPECT_EQ(f.PathMarks(x, y), 0) << x << "," << y;

    PointAt(2, 2); // the selected ball itself
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) EXPECT_EQ(f.PathMarks(x, y), 0);

    PointAt(0, 0);
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            EXPECT_EQ(f.PathMarks(x, y), (x == 0 && y == 0) ? kBlockedMark : 0) << x << "," << y;
}

TEST_F(PathSearch, OffFieldKeepsMarksAndNoSelectionClearsThem) {
    Put(2, 2);
    Select(2, 2);
    PointAt(4, 2);
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    ASSERT_EQ(f.PathMarks(4, 2), 3);
    Pointer.X = 100; // over the menu
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    EXPECT_EQ(f.PathMarks(4, 2), 3);
    f.Selected = false;
    PointAt(4, 2);
    f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
    EXPECT_EQ(f.PathMarks(4, 2), 0);
}
