#pragma once
// What a sound holds, measured: its spectrum and the notes standing out in it, how its power
// spreads between lows and highs, its ending, its crest, its DC offset and the width of a stereo
// file. The generator's tests and bench/audio_figures read sounds through these.
#include "tools/artgen/Audio.h"

#include <string>
#include <vector>

namespace artgen {

// Power per frequency bin from 0 Hz to half the rate, summed over the channels. A one-shot sound
// (quiet at its end) is taken whole, its own envelope the window; a loop or a long file through
// Hann windows, so that its cut ends spread no false lines.
struct TSpectrum {
    double BinHz = 1;
    double ResolutionHz = 1; // the rate over the frames one transform saw
    std::vector<double> Power;
};
TSpectrum PowerSpectrum(const TSound& sound);

// A line of the spectrum that stands out: its level in dB under the strongest line and its
// distance in cents (-50..50) from the nearest note of D major.
struct TPeak {
    double Hz = 0, Db = 0, Cents = 0;
};
// The lines within `withinDb` of the strongest, from 40 Hz up. The spectrum is first smoothed over
// +-25 cents, and at least over +-4 times its resolution, so that a noise band is one bump, not a
// thicket of random maxima; a line is a maximum over that reach that stands 6 dB or more above
// the median of its third of an octave either side.
std::vector<TPeak> SpectralPeaks(const TSpectrum& spectrum, double withinDb = 20);
// Cents from `hz` to the nearest note of D major (D E F# G A B C#), -50..50.
double CentsFromKey(double hz);
// "F#5" and the like: the nearest equal-tempered note.
std::string NoteName(double hz);

// Shares (0..1) of the power above 4 and 6 kHz and below 250 Hz, and the power's centroid.
struct TBalance {
    double Above4k = 0, Above6k = 0, Below250 = 0, CentroidHz = 0;
};
TBalance Balance(const TSpectrum& spectrum);

// The largest sample of the last `seconds`, in dBFS.
double TailDb(const TSound& sound, double seconds = 0.01);
// The sample peak over the RMS of the loudest 50 ms, in dB.
double CrestDb(const TSound& sound);
// The largest mean of a channel, as a fraction of full scale.
double DcOffset(const TSound& sound);
// Correlation of the two channels of a stereo sound (1 for mono).
double Correlation(const TSound& sound);
// How many LU the integrated loudness loses through a two-pole high-pass at `hz` (a small
// speaker).
double HighPassLoss(const TSound& sound, double hz = 200);

} // namespace artgen
