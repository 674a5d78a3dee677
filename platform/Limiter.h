#pragma once
// TLimiter: the output's peak limiter. Interleaved stereo float frames go in and come out
// `Delay()` frames later, scaled by one gain for both channels so that no sample leaves above the
// ceiling. The gain reaches each peak's need over the look-ahead (a ramp, not a cut in the wave)
// and recovers with the release time; below the ceiling the signal passes unchanged.
//
// Why the output never exceeds the ceiling: a frame's need is ceiling / peak. The held gain at
// any frame is at most the smallest need of the last `Delay() + 1` frames, and the gain applied
// is the average of the held gain over those frames, each of which included the frame leaving
// now; so the applied gain is at most that frame's need.
#include <vector>

class TLimiter {
public:
    // rate in Hz; ceiling as a linear level (0.891 = -1 dBFS).
    explicit TLimiter(int rate, float ceiling = 0.891f, float lookaheadMs = 1.5f,
                      float releaseMs = 80.0f);

    void Process(float* frames, int count); // `count` stereo frames, in place
    int Delay() const { return window_ - 1; }
    // Bypassed, frames pass unchanged and undelayed; the meter still counts them.
    void SetBypass(bool bypass) { bypass_ = bypass; }
    float Ceiling() const { return ceiling_; }

    // Measurements since the last TakeMeter: largest sample magnitude in and out, the smallest
    // gain applied, and the output samples at or above full scale (those a 16-bit output clamps).
    struct TMeter {
        float PeakIn = 0, PeakOut = 0, MinGain = 1;
        long Clamped = 0;
    };
    TMeter TakeMeter();

private:
    float ceiling_;
    int window_;               // look-ahead frames + 1
    double release_;           // per-frame recovery factor of the held gain
    std::vector<float> delay_; // window_ stereo frames, a ring
    std::vector<float> need_;  // window_ needs, a ring
    std::vector<float> held_;  // window_ held gains, a ring
    int pos_ = 0;
    int sinceNeed_; // frames since the last need below 1 entered the ring
    double heldGain_ = 1;
    double sum_;     // of held_
    int sumAge_ = 0; // frames since sum_ was added up afresh
    TMeter meter_;
    bool bypass_ = false;
};
