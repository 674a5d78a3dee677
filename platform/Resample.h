#pragma once
// Changes a sound's speed, and with it its pitch and length, by windowed-sinc interpolation:
// rate 2 plays an octave up in half the time. Interleaved float frames in and out; the result
// has round(frames / rate) frames. A loop is read round, so the copy still runs from its end
// into its start without a seam. (SDL's own converter of this version drops about 512 frames at
// the end of what it is given, which would cut every copy short.)
#include <vector>

std::vector<float> Resample(const float* frames, int count, int channels, double rate, bool loop);
