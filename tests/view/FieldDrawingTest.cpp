// Where the field draws: the travelling ball along its path and the preview tray, recorded
// through the graphics layer's recording double.
#include "tests/support/FieldTestSupport.h"

#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "state/PointerState.h"
#include "tests/support/GfxRecorder.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

class FieldDrawing : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        system = std::make_shared<TRecordingGfxSystem>();
        device.UseGfxSystem(system);
        device.SetOwnerWindow(nullptr);
        device.SetOffscreen(true);
        ASSERT_EQ(device.InitDevice(), 0);
        RenderDevice1 = &device;
        for (size_t i = 0; i < sets.size(); ++i) {
            sets[i] = std::make_unique<TPatternImage>();
            // 26 patterns of 40 x 40 on one 256 x 256 texture per ball picture.
            ASSERT_EQ(sets[i]->CreateTextures(device.Device(), 256, 256, 40, 40, 1, 21), 0);
            Pictures.Ball[i] = sets[i].get();
        }
    }
    void TearDown() override {
        for (auto& s : sets) s->FreeTextures();
        Pictures = TPictures{};
        RenderDevice1 = nullptr;
        device.DoneDevice();
        FieldTest::TearDown();
    }
    void Step(double delta) override { field.Render(delta); }
    // One frame of the field between BeginFrame and EndFrame, recorded afresh.
    void DrawnFrame(double delta) {
        system->Device->ClearRecord();
        device.BeginFrame();
        Frame(delta);
        device.EndFrame();
    }
    // Centres of the quads drawn with ball picture `picture` in the last frame.
    std::vector<std::pair<double, double>> Centres(int picture) const {
        std::vector<std::pair<double, double>> c;
        const IGfxTexture* t = sets[static_cast<size_t>(picture)]->Textures[0].get();
        for (const TRecordedDraw& d : system->Device->Draws) {
            if (d.Texture != t) continue;
            const size_t step = d.PrimitiveType == D3DPT_TRIANGLESTRIP ? 4 : 6;
            for (size_t q = 0; q + step <= d.Vertices.size(); q += step) {
                double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
                for (size_t k = q; k < q + step; ++k) {
                    minX = std::min<double>(minX, d.Vertices[k].X);
                    maxX = std::max<double>(maxX, d.Vertices[k].X);
                    minY = std::min<double>(minY, d.Vertices[k].Y);
                    maxY = std::max<double>(maxY, d.Vertices[k].Y);
                }
                // Corners carry the half-pixel shift of the device.
                c.push_back({(minX + maxX) / 2 + 0.5, (minY + maxY) / 2 + 0.5});
            }
        }
        return c;
    }
    static bool Has(const std::vector<std::pair<double, double>>& c, double x, double y) {
        for (const auto& [cx, cy] : c)
            if (std::abs(cx - x) < 0.01 && std::abs(cy - y) < 0.01) return true;
        return false;
    }

    std::shared_ptr<TRecordingGfxSystem> system;
    TRenderDevice device;
    std::array<std::unique_ptr<TPatternImage>, 22> sets;
};

} // namespace

TEST_F(FieldDrawing, TravellingBallMovesOneCellPerUnitFromHalfACellAhead) {
    Put(1, 2, 4); // picture 3 travels right along row 2 to (5, 2): L = 4
    field.BallsPerTurn = 0;
    ClickCell(1, 2);
    ClickCell(5, 2);
    ASSERT_DOUBLE_EQ(field.TurnTimer, 4.0);
    const double y = 51 + 52 * 2;
    for (int i = 1; i <= 16; ++i) {
        const double t = 0.25 * i;
        DrawnFrame(0.25);
        const auto c = Centres(3);
        if (std::fmod(t, 1.0) == 0.5 && t < 4.0) {
            // Exactly between two cells both path values round away from 1 (ties to even):
            // the ball is not drawn in this frame.
            EXPECT_TRUE(c.empty()) << t;
            continue;
        }
        const double x = t < 3.5 ? 323 + 52 * 1 + std::nearbyint(52 * (0.5 + t)) : 323 + 52 * 5;
        EXPECT_TRUE(Has(c, x, y)) << "t = " << t << ", expected x " << x;
    }
    // After the arrival the ball rests in its new cell.
    EXPECT_EQ(field.Cell(5, 2), BallKinds[4]);
    DrawnFrame(0.25);
    EXPECT_TRUE(Has(Centres(3), 323 + 52 * 5, y));
    EXPECT_FALSE(Has(Centres(3), 323 + 52 * 1, y));
}

TEST_F(FieldDrawing, PreviewTrayShowsBallsPerTurnBalls) {
    field.Preview = {BallKinds[1], BallKinds[2], BallKinds[3], BallKinds[4], BallKinds[5]};
    field.Cell(8, 8) = BallKinds[6]; // a game on the field
    for (int perTurn = 2; perTurn <= 4; ++perTurn) {
        field.BallsPerTurn = perTurn;
        DrawnFrame(0.25);
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(Has(Centres(k), 540 + 52 * k, 552), k < perTurn) << perTurn << " " << k;
    }
    // Balls that will never come are not shown: once the game is over, and on an empty field.
    field.GameOver = true;
    field.FinalBoardTimer = kFinalBoardTime;
    DrawnFrame(0.25);
    EXPECT_FALSE(Has(Centres(0), 540, 552));
    field.GameOver = false;
    field.Clear();
    DrawnFrame(0.25);
    EXPECT_FALSE(Has(Centres(0), 540, 552));
}

TEST_F(FieldDrawing, BallsAtRestAreCentredInTheirCells) {
    Put(0, 0, 1);
    Put(8, 8, 2);
    Pointer.X = 100; // off the field: no hovered ball
    DrawnFrame(0.25);
    EXPECT_TRUE(Has(Centres(0), 323, 51));
    EXPECT_TRUE(Has(Centres(1), 323 + 52 * 8, 51 + 52 * 8));
}
