#pragma once
// Loudness as players hear it (the K-weighted measure of ITU-R BS.1770 and EBU R 128) and the
// mastering step every generated sound passes: brought to its loudness target, then held under
// its true-peak ceiling by a look-ahead limiter.
#include "tools/artgen/Audio.h"

namespace artgen {

struct TLoudness {
    double ShortMax = -120;     // LUFS: the loudest 100 ms, windows every 10 ms
    double MomentaryMax = -120; // LUFS: the loudest 400 ms, windows every 100 ms
    double Integrated = -120;   // LUFS, gated
    double Range = 0;           // LU: spread of the 3 s loudness, 10th to 95th percentile
    double TruePeak = -120;     // dBTP: the peak between samples too (4 x oversampled)
    double SamplePeak = -120;   // dBFS
};

// Short sounds are measured with 0.5 s of silence after them, so that each falls wholly inside
// one 400 ms window. An effect's loudness is its ShortMax: hearing sums a sound's energy over
// about a tenth of a second, so a 60 ms click is heard about as loud as its loudest 100 ms, and
// the 400 ms of the momentary measure would rank short sounds several LU too low.
TLoudness Measure(const TSound& sound, bool withRange = false, bool withTruePeak = true);
double TruePeakDb(const TSound& sound);

// Scales `sound` so that its ShortMax (an effect) or its integrated loudness (music)
// meets `targetLufs`, then limits it so that no true peak passes `ceilingDb`. Returns the
// measures afterwards.
TLoudness Master(TSound& sound, double targetLufs, bool integrated, double ceilingDb);
// The same with the crest (sample peak over the RMS of the loudest 50 ms) held under
// `maxCrestDb` too: mastered again with the ceiling lowered while the crest passes it, and aimed
// higher while the limiter leaves the loudness short of its target.
TLoudness Master(TSound& sound, double targetLufs, bool integrated, double ceilingDb,
                 double maxCrestDb);

} // namespace artgen
