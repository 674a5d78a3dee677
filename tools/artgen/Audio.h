#pragma once
// Sound synthesis and OGG Vorbis encoding. Every sound is made from oscillators, noise and
// envelopes with fixed seeds, so two runs give the same samples and the same files.
#include <string>
#include <vector>

namespace artgen {

constexpr int kRate = 44100;

// Interleaved float samples in -1..1.
struct TSound {
    int Channels = 1;
    std::vector<float> Samples;
    int Frames() const { return static_cast<int>(Samples.size()) / Channels; }
};

// Encodes to OGG Vorbis (quality -0.1..1) with a fixed stream serial number. False with the
// reason in `error`.
bool EncodeOgg(const TSound& sound, float quality, int serial, std::string& out,
               std::string* error);

// Every sound effect file the sound list names, by its relative path ("sounds/click.ogg").
TSound MakeEffect(const std::string& file);
// The calm looping theme: about 72 seconds, stereo, ends where it begins.
TSound MakeTheme();

} // namespace artgen
