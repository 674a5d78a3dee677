#pragma once
// TFrameTimer drives the game: installed as the application's idle handler, it runs one pass per
// call, measures the time since the previous pass and hands it to OnRealTime as Delta, the elapsed
// time in units of 1/FPS second. It also keeps FrameRate, the measured passes per second.
#include <cstdint>
#include <functional>

class IClock;
class IIdleHost;

class TFrameTimer {
public:
    using TNotifyEvent = std::function<void(TFrameTimer& sender)>;
    using TRealTimeEvent = std::function<void(TFrameTimer& sender, double delta)>;

    // Reads the counter frequency (the high-resolution flag is its success) and the first counter
    // or tick reading, then installs the idle step on `host` when one is given.
    explicit TFrameTimer(IClock& clock, IIdleHost* host = nullptr);
    ~TFrameTimer();
    TFrameTimer(const TFrameTimer&) = delete;
    TFrameTimer& operator=(const TFrameTimer&) = delete;

    int32_t FPS() const { return fps_; }
    void SetFPS(int32_t value); // accepts 1..240, ignores anything else
    int32_t FrameRate() const { return frameRate_; }

    bool MayProcess = false;
    bool MayRender = false;
    bool MayRealTime = false;
    TNotifyEvent OnRender;
    TNotifyEvent OnProcess;
    TRealTimeEvent OnRealTime;

    // One pass. The host calls it while its event queue is empty; it leaves `done` false so that
    // the host calls it again at once. With every May flag off a pass sleeps 500 ms.
    void IdleStep(bool& done);

    // Read-outs of the internal state, for tests.
    int32_t StepRate() const { return stepRate_; }
    double Backlog() const { return backlog_; }
    int32_t MeasureInterval() const { return interval_; }

private:
    IClock& clock_;
    IIdleHost* host_;
    bool highResolution_ = false;
    int64_t frequency_ = 0;
    int64_t lastCounter_ = 0;
    uint32_t lastTick_ = 0;
    uint32_t referenceTick_ = 0;
    int32_t stepRate_ = 0;
    int32_t frameCounter_ = 0;
    int32_t interval_ = 30;
    double backlog_ = 0.0;
    int32_t frameRate_ = 0;
    int32_t fps_ = 60;
};

// The main form's frame timer; the field reads its FrameRate.
extern TFrameTimer* FrameTimer1;
