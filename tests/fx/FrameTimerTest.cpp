#include "fx/FrameTiming.h"
#include "platform/IdleHost.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

struct Recorder {
    std::vector<double> deltas;
    int renders = 0;
    int processes = 0;
    void Attach(TFrameTimer& t) {
        t.OnRealTime = [this](TFrameTimer&, double d) { deltas.push_back(d); };
        t.OnRender = [this](TFrameTimer&) { ++renders; };
        t.OnProcess = [this](TFrameTimer&) { ++processes; };
    }
};

void Pass(TFrameTimer& t) {
    bool done = true;
    t.IdleStep(done);
    EXPECT_FALSE(done);
}

class RecordingHost : public IIdleHost {
public:
    void SetIdleHandler(TIdleHandler h) override { handler = std::move(h); }
    TIdleHandler handler;
};

} // namespace

TEST(FrameTimer, FpsAcceptsOneTo240) {
    TFakeClock clock;
    TFrameTimer t(clock);
    EXPECT_EQ(t.FPS(), 60);
    for (int bad : {0, -3, 241}) {
        t.SetFPS(bad);
        EXPECT_EQ(t.FPS(), 60);
    }
    t.SetFPS(240);
    EXPECT_EQ(t.FPS(), 240);
    t.SetFPS(1);
    EXPECT_EQ(t.FPS(), 1);
}

TEST(FrameTimer, InstallsAndRemovesItsIdleHandler) {
    TFakeClock clock;
    RecordingHost host;
    Recorder r;
    {
        TFrameTimer t(clock, &host);
        r.Attach(t);
        t.MayRealTime = true;
        ASSERT_TRUE(host.handler);
        clock.AdvanceSeconds(1.0 / 15);
        bool done = true;
        host.handler(done);
        EXPECT_FALSE(done);
        ASSERT_EQ(r.deltas.size(), 1u);
        EXPECT_DOUBLE_EQ(r.deltas[0], 4.0); // FPS 60, 15 passes per second
    }
    EXPECT_FALSE(host.handler);
}

TEST(FrameTimer, SixtyPassesPerSecondAtFps15GiveQuarterUnits) {
    TFakeClock clock;
    TFrameTimer t(clock);
    t.SetFPS(15);
    t.MayRealTime = true;
    Recorder r;
    r.Attach(t);
    for (int i = 0; i < 30; ++i) {
        clock.AdvanceSeconds(1.0 / 60);
        Pass(t);
    }
    EXPECT_EQ(t.FrameRate(), 0); // no measurement before the 31st pass
    clock.AdvanceSeconds(1.0 / 60);
    Pass(t);
    EXPECT_EQ(t.FrameRate(), 60);
    EXPECT_EQ(t.MeasureInterval(), 59);
    for (double d : r.deltas) EXPECT_DOUBLE_EQ(d, 0.25);
    EXPECT_EQ(r.renders, 0); // MayRender is off
}

TEST(FrameTimer, MeasurementIntervalFollowsTheRate) {
    struct Case {
        double passesPerSecond;
        int interval;
    } cases[] = {{10, 19}, {30, 29}, {50, 59}, {100, 74}};
    for (const Case& c : cases) {
        TFakeClock clock;
        TFrameTimer t(clock);
        t.MayRealTime = true;
        for (int i = 0; i < 31; ++i) {
            clock.AdvanceSeconds(1.0 / c.passesPerSecond);
            Pass(t);
        }
        EXPECT_EQ(t.MeasureInterval(), c.interval) << c.passesPerSecond;
        EXPECT_NEAR(t.FrameRate(), c.passesPerSecond, 1.0);
    }
}

TEST(FrameTimer, TwoPassesOnOneReadingGiveTheLargestStepRate) {
    TFakeClock clock;
    TFrameTimer t(clock);
    t.MayRealTime = true;
    Recorder r;
    r.Attach(t);
    Pass(t);
    EXPECT_EQ(t.StepRate(), INT32_MAX);
    ASSERT_EQ(r.deltas.size(), 1u);
    EXPECT_GT(r.deltas[0], 0.0);
    EXPECT_LT(r.deltas[0], 1e-7);
}

TEST(FrameTimer, AllMayFlagsOffSleepsAndCallsNothing) {
    TFakeClock clock;
    TFrameTimer t(clock);
    Recorder r;
    r.Attach(t);
    Pass(t);
    Pass(t);
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{500, 500}));
    EXPECT_TRUE(r.deltas.empty());
    EXPECT_EQ(r.renders, 0);
    EXPECT_EQ(r.processes, 0);
    t.MayRealTime = true;
    Pass(t);
    EXPECT_EQ(clock.sleeps.size(), 2u);
    EXPECT_EQ(r.deltas.size(), 1u);
}

TEST(FrameTimer, StallSkipsRealTimeAndOwesOneStep) {
    TFakeClock clock;
    TFrameTimer t(clock);
    t.MayRealTime = true;
    t.MayProcess = true;
    t.MayRender = true;
    Recorder r;
    r.Attach(t);
    clock.AdvanceSeconds(0.5);
    Pass(t); // 2 passes per second at FPS 60: 30 steps owed, capped at 8
    EXPECT_EQ(r.processes, 8);
    EXPECT_DOUBLE_EQ(t.Backlog(), 0.0);
    clock.AdvanceSeconds(3.0);
    Pass(t);
    EXPECT_EQ(t.StepRate(), 0);
    EXPECT_EQ(r.deltas.size(), 1u); // the stalled pass has no OnRealTime
    EXPECT_EQ(r.processes, 9);      // exactly one step for the stall
    EXPECT_EQ(r.renders, 2);
}

TEST(FrameTimer, FractionalBacklogCarriesOver) {
    TFakeClock clock;
    TFrameTimer t(clock);
    t.SetFPS(15);
    t.MayProcess = true;
    Recorder r;
    r.Attach(t);
    for (int i = 0; i < 8; ++i) {
        clock.AdvanceSeconds(1.0 / 60); // a quarter step per pass
        Pass(t);
    }
    EXPECT_EQ(r.processes, 2);
    EXPECT_DOUBLE_EQ(t.Backlog(), 0.0);
}

TEST(FrameTimer, WithoutCounterUsesMillisecondTicks) {
    TFakeClock clock(1'000'000, /*hasCounter=*/false);
    TFrameTimer t(clock);
    t.SetFPS(15);
    t.MayRealTime = true;
    Recorder r;
    r.Attach(t);
    clock.AdvanceSeconds(0.040);
    Pass(t);
    EXPECT_EQ(t.StepRate(), 25);
    ASSERT_EQ(r.deltas.size(), 1u);
    EXPECT_DOUBLE_EQ(r.deltas[0], 0.6);
}
