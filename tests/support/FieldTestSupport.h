#pragma once
// Drives a field the way the shell does: the pointer in picture coordinates, presses through
// Click, frames through UpdateHover and the rules' Update (Render where the drawing is tested).
#include "game/GameField.h"
#include "game/HighScores.h"
#include "game/Random.h"
#include "layout/Layout.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"

#include <gtest/gtest.h>

class FieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShellState();
        Shell.Word = scrPlaying;
        HighScores = FreshHighScoreTable();
        RandSeed(20261207);
        GameField = &field;
        field.AddListener(&screens);
    }
    void TearDown() override { GameField = nullptr; }

    static int PixelX(int x) { return kFieldLeft + kCellPitch * x + 26; }
    static int PixelY(int y) { return kFieldTop + kCellPitch * y + 26; }

    void Put(int x, int y, int entry) { field.Cell(x, y) = BallKinds[static_cast<size_t>(entry)]; }
    void PointAt(int x, int y) {
        Pointer.X = PixelX(x);
        Pointer.Y = PixelY(y);
    }
    void ClickCell(int x, int y, int button = 0) {
        PointAt(x, y);
        field.Click(ColumnAt(Pointer.X), RowAt(Pointer.Y), button);
    }
    void Frame(double delta = 0.25) {
        field.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
        Step(delta);
    }
    // One frame of the field after the hover update: the rules alone, without a frame rate.
    virtual void Step(double delta) { field.Update(delta, 0); }
    // Runs frames until the field waits for the player again; false if it never does.
    bool RunUntilIdle(double delta = 0.25, int maxFrames = 4000) {
        for (int i = 0; i < maxFrames; ++i) {
            Frame(delta);
            if (field.TurnTimer == kTurnIdle && !field.GameOver) return true;
        }
        return false;
    }
    // Selects (fromX, fromY) and sends it to (toX, toY), then lets the turn resolve.
    void Move(int fromX, int fromY, int toX, int toY) {
        ClickCell(fromX, fromY);
        ASSERT_TRUE(field.Selected);
        ClickCell(toX, toY);
        ASSERT_TRUE(field.Moving);
        ASSERT_TRUE(RunUntilIdle());
    }
    int CountKind(uint32_t kind) const {
        int n = 0;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) n += field.Cell(x, y).Kind == kind;
        return n;
    }

    // The game on the screen, as the shell plays it: its end opens the shell's screens.
    TGameField field{9, 9, ScreenGameContext()};
    TGameEndScreens screens;
};
