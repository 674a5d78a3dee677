#pragma once
// The field's events object for the rules' functions: each step of the rules becomes the field's
// event, with the balls' pictures, at the moment it happens. Only the field's own sources use it.
#include "game/GameField.h"

class TGameField::TReporter : public rules::TQuiet {
public:
    explicit TReporter(TGameField& field) : f_(field) {}

    void LineCell(int x, int y) { clear_.Balls.push_back(f_.BallAt(x, y)); }
    void LinesCleared(const rules::TLineResult& r) {
        f_.moveLines_ += r.Lines;
        clear_.Points = r.Points;
        clear_.Multiplier = r.Multiplier;
        clear_.ChainBonus = r.ChainBonus;
        clear_.CentreX = r.CentreX;
        clear_.CentreY = r.CentreY;
        f_.Emit([&](IFieldEvents& e) { e.LineCleared(clear_); });
        clear_ = TLineClear{};
    }
    void PaintArrived(int x, int y, uint8_t colour, const rules::TNeighbours& n) {
        std::vector<TFieldBall> neighbours;
        neighbours.reserve(static_cast<size_t>(n.Count));
        for (int i = 0; i < n.Count; ++i)
            neighbours.push_back(
                f_.BallAt(n.X[static_cast<size_t>(i)], n.Y[static_cast<size_t>(i)]));
        f_.Emit([&](IFieldEvents& e) { e.PaintBallArrived(f_.BallAt(x, y), colour, neighbours); });
    }
    void PaintFired(int x, int y) {
        f_.Emit([&](IFieldEvents& e) { e.PaintBallFired(f_.BallAt(x, y)); });
    }
    void BlastStarted(int x, int y) {
        blastX_.push_back(x);
        blastY_.push_back(y);
        f_.Emit([&](IFieldEvents& e) { e.BlastStarted(f_.BallAt(x, y)); });
    }
    void BlastReached(int x, int y) {
        f_.Emit([&](IFieldEvents& e) { e.BlastReached(x, y); });
    }
    void BallBlasted(int i, int j) {
        // The debris flies off the blast's centre: three draws of the game's generator in this
        // order, sideways speed, sideways scatter, upward speed.
        TRandomStream& random = *f_.Context.Balls;
        const double r1 = random(100);
        const double r2 = random(100);
        const double r3 = random(100);
        // Away from the bomb whose blast reached the ball.
        const int x = blastX_.back(), y = blastY_.back();
        const double vx = (r1 / 11.0 + 5.0) * (i - x) + r2 / 50.0 - 1.0;
        const double vy = (r3 / 3.0 + 5.0) * (j - y);
        f_.Emit([&](IFieldEvents& e) {
            e.BallBlasted(f_.BallAt(i, j), static_cast<float>(vx), static_cast<float>(vy));
        });
    }
    void BlastEnded(int x, int y, int victims) {
        blastX_.pop_back();
        blastY_.pop_back();
        f_.Emit([&](IFieldEvents& e) { e.BlastEnded(f_.BallAt(x, y), victims); });
    }
    void BallPlaced(int x, int y) {
        f_.AppearTimers(x, y) = kAppearTime;
        placed_.push_back(f_.BallAt(x, y));
    }
    void BallsPlaced() {
        f_.Emit([&](IFieldEvents& e) { e.BallsSpawned(placed_); });
        placed_.clear();
    }
    void BallLanded(int x, int y) {
        f_.Emit([&](IFieldEvents& e) { e.BallLanded(f_.BallAt(x, y)); });
    }

    static constexpr double kAppearTime = 6.75; // a new ball grows in for this long

private:
    TGameField& f_;
    TLineClear clear_;
    std::vector<TFieldBall> placed_;
    std::vector<int> blastX_, blastY_; // centres of the blasts under way, innermost last
};
