#pragma once
// IAudio: the audio library the game talks to. The calls and their arguments are those the sound
// bank makes; every handle is non-zero on success and 0 on failure, and calls on handle 0 fail
// quietly. Without an output device or a file the game goes on silent: loads return 0.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct TNativeWindow;

// Flags of SampleLoad and StreamPlay.
constexpr uint32_t audLoop = 4;
// Loop argument of SamplePlayEx: keep the mode the sample was loaded with.
constexpr int32_t audLoopAsLoaded = -1;
// Frequency argument of SamplePlayEx: the sample's own rate.
constexpr int32_t audDefaultRate = -1;
// The rate every sample file of the game is made at: a play at this frequency keeps its pitch.
constexpr int32_t audSampleRate = 44100;

// What the output limiter saw since it was last asked: the largest sample magnitude before and
// after it (1.0 = full scale), the smallest gain it applied, and the output samples at or above
// full scale (those a 16-bit output clamps).
struct TMixMeter {
    float PeakIn = 0, PeakOut = 0, MinGain = 1;
    long Clamped = 0;
};

class IAudio {
public:
    virtual ~IAudio() = default;

    // 2: major version 2 in the low 16 bits, minor 0 in the high 16 bits.
    virtual uint32_t GetVersion() = 0;
    // Opens output device `device` (1 = the default output) at `frequency` Hz. `window` may be
    // null. False when there is no output; every later load then returns 0.
    virtual bool Init(int32_t device, uint32_t frequency, uint32_t flags,
                      TNativeWindow* window) = 0;
    virtual bool Start() = 0;

    // Loads a sample file; at most `maxPlays` plays of it sound at once (a further play fails).
    // flags & audLoop: plays with loop argument audLoopAsLoaded repeat until stopped.
    virtual uint32_t SampleLoad(const std::string& path, uint32_t maxPlays, uint32_t flags) = 0;
    // Plays `sample` and returns the channel handle. volume 0..100 (a setting, played at its
    // gain by the volume law: VolumeGain), pan -100 (left)..100 (right),
    // loop 0 = once, 1 = repeat, audLoopAsLoaded = as loaded. `start` is a byte offset into the
    // sample. `frequency` is the rate in Hz to play it at (audSampleRate: as made; twice that:
    // an octave up and half as long) or audDefaultRate. `gain` (linear, 0..4) scales the play
    // on top of the volume and may lift it above the sample's own level.
    virtual uint32_t SamplePlayEx(uint32_t sample, uint32_t start, int32_t frequency,
                                  int32_t volume, int32_t pan, int32_t loop, float gain) = 0;
    // Stops every playing instance of `sample`, each fading out within a few tens of
    // milliseconds.
    virtual bool SampleStop(uint32_t sample) = 0;

    // Opens a music file as a stream (one stream sounds at a time).
    virtual uint32_t StreamCreateFile(const std::string& path, uint32_t flags) = 0;
    // For a stream or a channel: frequency in Hz (-1 unchanged), volume 0..100 by the volume law
    // (-1 unchanged), pan -100..100 (-101 unchanged).
    virtual bool ChannelSetAttributes(uint32_t handle, int32_t frequency, int32_t volume,
                                      int32_t pan) = 0;
    // Starts a stream from its beginning when `flush`, else where it stands; flags & audLoop
    // repeats it.
    virtual bool StreamPlay(uint32_t handle, bool flush, uint32_t flags) = 0;
    virtual bool ChannelPause(uint32_t handle) = 0;
    virtual bool ChannelResume(uint32_t handle) = 0;

    // Lowers the music by `decibels` within about a tenth of a second and brings it back over
    // about half a second once `milliseconds` have passed since the latest call. A call while a
    // duck holds makes it deeper or longer, never shallower or shorter.
    virtual void DuckMusic(float decibels, int32_t milliseconds) = 0;
    // The output limiter's figures since the last call; zeros without an output.
    virtual TMixMeter TakeMixMeter() { return {}; }
    // For measuring only: the output limiter off (and on again).
    virtual void BypassLimiter(bool) {}
};

// Receives one line per failure worth knowing (no device, a file that does not load).
using TAudioLog = std::function<void(const std::string& line)>;

// The audio library over SDL2_mixer (WAV and OGG files). Never fails to construct; a missing
// device makes it silent.
std::unique_ptr<IAudio> CreateSdlAudio(TAudioLog log = {});
