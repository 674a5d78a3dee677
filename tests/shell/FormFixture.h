#pragma once
// The form's tests' fixture: the harness with moves, keys and reads of the files.
#include "tests/support/FormHarness.h"

#include "fx/FrameTiming.h"
#include "fx/SoundBank.h"
#include "game/Random.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Window.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/OptionsScreen.h"
#include "shell/Settings.h"
#include "ui/VOStrings.h"

#include "fx/ParticleEngine.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/TablesState.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include <SDL.h>

class Form : public FormHarness {
protected:
    // A ball and an empty cell it can reach, found on the current field.
    bool FindMove(int& fx, int& fy, int& tx, int& ty) {
        TGameField& f = *GameField;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) {
                if (f.Cell(x, y).Kind == 0) continue;
                for (int i = 0; i < 9; ++i)
                    for (int j = 0; j < 9; ++j)
                        if (f.Cell(i, j).Kind == 0 &&
                            f.FindPath(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                       static_cast<uint8_t>(i),
                                       static_cast<uint8_t>(j)) != kNoPath) {
                            fx = x, fy = y, tx = i, ty = j;
                            return true;
                        }
            }
        return false;
    }
    // One move with two clicks, the ball left travelling.
    void StartAMove() {
        SettleField();
        int fx, fy, tx, ty;
        ASSERT_TRUE(FindMove(fx, fy, tx, ty));
        ClickAt(CellX(fx), CellY(fy));
        ClickAt(CellX(tx), CellY(ty));
        ASSERT_TRUE(GameField->Moving);
    }
    // One move with two clicks, then the turn is left to finish.
    void MakeAMove() {
        StartAMove();
        SettleField();
    }
    // Keys with a shift state, as the App layer sends them.
    void Keys(std::initializer_list<uint16_t> keys, uint32_t shift = 0) {
        for (uint16_t k : keys) form->FormKeyDown(k, shift);
    }
    // Walks the field cursor to (x, y) from wherever it is, with arrows only.
    void CursorTo(int x, int y) {
        TFormKeys& k = form->Keys();
        if (!k.CursorShown()) Key(VK_LEFT); // the first key only shows it
        while (k.CursorX() < x) Key(VK_RIGHT);
        while (k.CursorX() > x) Key(VK_LEFT);
        while (k.CursorY() < y) Key(VK_DOWN);
        while (k.CursorY() > y) Key(VK_UP);
    }
    // The move from (fx, fy) to (tx, ty), its turn left to finish.
    void MoveBall(int fx, int fy, int tx, int ty) {
        SettleField();
        ClickAt(CellX(fx), CellY(fy));
        ClickAt(CellX(tx), CellY(ty));
        SettleField();
    }
    void CtrlZ() {
        uint16_t k = 'Z';
        form->FormKeyDown(k, ssCtrl);
    }
    struct TGame {
        std::vector<TCell> Cells;
        std::array<TCell, 5> Preview;
        int32_t Score, BallsPerTurn;
        bool operator==(const TGame&) const = default;
    };
    static TGame Game() {
        TGame g{{}, GameField->Preview, GameState.Score, GameField->BallsPerTurn};
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) g.Cells.push_back(GameField->Cell(x, y));
        return g;
    }
    // Everything the font draws in the next frame, one string per call of a text drawing.
    std::string TextOfNextFrame() {
        std::string text;
        int32_t lastY = -1;
        Font->OnGlyph = [&](uint8_t c, int32_t, int32_t y, int32_t, uint32_t) {
            if (y != lastY) text += '\n';
            lastY = y;
            text += static_cast<char>(c);
        };
        Frames(1);
        Font->OnGlyph = nullptr;
        return text;
    }
    // Fills the field so that the next quiet move from (0, 0) to (3, 0) ends the game.
    void FillForTheLastMove(int32_t score) {
        SettleField();
        TGameField& f = *GameField;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                if (!(y == 0 && x < 4))
                    f.Cell(x, y) = BallKinds[static_cast<size_t>(1 + (x + 2 * y) % 6)];
        f.Cell(0, 0) = BallKinds[7];
        f.BallsPerTurn = 3;
        f.Preview.fill(BallKinds[7]);
        GameState.Score = score;
    }
    void PlayTheLastMove() {
        ClickAt(CellX(0), CellY(0));
        ClickAt(CellX(3), CellY(0));
        for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
    }
    std::string StatsFile() const {
        return (std::filesystem::path(ConfigFile()).parent_path() / "Stats.txt").string();
    }
    std::vector<uint8_t> ReadConfig() {
        std::vector<uint8_t> bytes;
        std::ifstream in(ConfigFile(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        return bytes;
    }
};
