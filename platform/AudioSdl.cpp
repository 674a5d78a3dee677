#include "platform/Audio.h"

#include "platform/HostStdio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/Limiter.h"
#include "platform/Resample.h"
#include "platform/VolumeLaw.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// Handle spaces: samples 1.., streams kStreamBase + 1.., channels kChannelBase + 1...
constexpr uint32_t kStreamBase = 0x40000000;
constexpr uint32_t kChannelBase = 0x80000000;
constexpr int kChannels = 64;
constexpr int kBufferFrames = 1024; // mixing buffer: about 23 ms at 44.1 kHz
// Stops fade out over this long; the channel is freed a little later.
constexpr double kFadeSeconds = 0.03;
constexpr int kFadeExpireMs = 45;
// Music ducking: down within kDuckAttack seconds, back within kDuckRelease.
constexpr double kDuckAttack = 0.1, kDuckRelease = 0.6;

// A linear gain as SDL_mixer's volume 0..128 (the music's: its steps are 0.07 dB at the default
// music volume and under 1 dB down to a setting of 1).
int MixVolume(double gain) {
    return static_cast<int>(std::lround(std::clamp(gain, 0.0, 1.0) * MIX_MAX_VOLUME));
}

// Pan -100 (left) .. 100 (right) as the two channel gains SDL_mixer takes (255 = full).
void ApplyPan(int channel, int32_t pan) {
    pan = std::clamp(pan, -100, 100);
    const auto left = static_cast<Uint8>(pan > 0 ? 255 * (100 - pan) / 100 : 255);
    const auto right = static_cast<Uint8>(pan < 0 ? 255 * (100 + pan) / 100 : 255);
    Mix_SetPanning(channel, left, right); // 255, 255 removes the effect
}

std::string NormalisePath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// Opens a sound file for SDL when it is a regular file: a FIFO or a device in its place is
// refused at once instead of blocking the game or streaming without end. Null when refused.
SDL_RWops* OpenSoundFile(const std::string& path) {
    std::string why;
    std::FILE* file = OpenRegularFileForReading(path, &why);
    if (!file) {
        SDL_SetError("%s", why.c_str());
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromFP(file, SDL_TRUE);
    if (!rw) std::fclose(file);
    return rw;
}

// One play on a channel: its gain and volume and, once stopped, its fade. Written by the main
// thread before the channel starts (Mix_RegisterEffect takes the mixer's lock), read by the
// mixing thread; the volume and the fade length are the fields the main thread changes while the
// channel plays. Volumes are applied here, in float, rather than by SDL_mixer's 0..128 steps,
// which are coarse at the low end of the volume law.
struct TVoice {
    float Gain = 1.0f;
    std::atomic<float> Volume{1.0f}; // the volume setting's gain
    int Channels = 2;
    std::atomic<int> FadeFrames{0}; // 0: no fade asked
    int FadePos = 0;                // mixing thread only
};

// The channel effect of every play: gain, then the raised-cosine fade of a stop, then silence
// until SDL_mixer frees the channel.
void VoiceEffect(int, void* stream, int bytes, void* data) {
    auto* voice = static_cast<TVoice*>(data);
    auto* samples = static_cast<float*>(stream);
    const int frames = bytes / static_cast<int>(sizeof(float)) / voice->Channels;
    const int fade = voice->FadeFrames.load(std::memory_order_acquire);
    const float gain = voice->Gain * voice->Volume.load(std::memory_order_relaxed);
    for (int i = 0; i < frames; ++i) {
        float g = gain;
        if (fade > 0) {
            const double t = std::min(1.0, static_cast<double>(voice->FadePos++) / fade);
            g *= static_cast<float>(0.5 + 0.5 * std::cos(3.141592653589793 * t));
        }
        for (int c = 0; c < voice->Channels; ++c) samples[i * voice->Channels + c] *= g;
    }
}

class TSdlAudio final : public IAudio {
public:
    explicit TSdlAudio(TAudioLog log) : log_(std::move(log)) {}
    ~TSdlAudio() override { Close(); }

    uint32_t GetVersion() override { return 2; }

    bool Init(int32_t device, uint32_t frequency, uint32_t, TNativeWindow*) override {
        if (open_) return true;
        if (device == 0) {
            Log("Audio: no output device requested; the game stays silent");
            return false;
        }
        TQuietStderr quiet; // device probing; what matters is logged below
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            Log(std::string("Audio: no audio system (") + SDL_GetError() +
                "); the game stays silent");
            return false;
        }
        subsystem_ = true;
        if ((Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) == 0)
            Log(std::string("Audio: no OGG decoder (") + Mix_GetError() + ")");
        mixInit_ = true;
        // Float mixing: SDL adds float channels without clamping, so the sum of loud moments
        // reaches the limiter whole and only the limited result is turned into the device's
        // format.
        const int rate = frequency > 0 ? static_cast<int>(frequency) : MIX_DEFAULT_FREQUENCY;
        if (Mix_OpenAudio(rate, AUDIO_F32SYS, 2, kBufferFrames) != 0) {
            Log(std::string("Audio: no output device (") + Mix_GetError() +
                "); the game stays silent");
            return false;
        }
        open_ = true;
        Uint16 format = 0;
        Mix_QuerySpec(&mixRate_, &format, &mixChannels_);
        Mix_AllocateChannels(kChannels);
        owner_.assign(kChannels, 0);
        limiter_ = std::make_unique<TLimiter>(mixRate_);
        Mix_SetPostMix(&TSdlAudio::PostMix, this);
        return true;
    }

    bool Start() override {
        if (!open_) return false;
        Mix_Resume(-1);
        return true;
    }

    uint32_t SampleLoad(const std::string& path, uint32_t maxPlays, uint32_t flags) override {
        if (!open_) return 0;
        const std::string file = NormalisePath(path);
        // A file listed many times (one per ball picture) is decoded once and shared.
        TChunk* data = nullptr;
        for (auto& c : chunks_)
            if (c->Path == file) data = c.get();
        if (!data) {
            // The file is opened and closed here: the decoder does not close it on every failure.
            SDL_RWops* rw = OpenSoundFile(file);
            Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 0) : nullptr;
            if (rw) SDL_RWclose(rw);
            if (!chunk) {
                Log("Audio: cannot load \"" + path + "\": " + Mix_GetError());
                return 0;
            }
            chunks_.push_back(std::make_unique<TChunk>());
            data = chunks_.back().get();
            data->Path = file;
            data->Chunk = chunk;
        }
        samples_.push_back({data, std::max<uint32_t>(maxPlays, 1), (flags & audLoop) != 0});
        return static_cast<uint32_t>(samples_.size());
    }

    uint32_t SamplePlayEx(uint32_t sample, uint32_t, int32_t frequency, int32_t volume, int32_t pan,
                          int32_t loop, float gain) override {
        const TSample* s = FindSample(sample);
        if (!s || PlaysOf(sample) >= s->MaxPlays) return 0;
        const int channel = Mix_GroupAvailable(-1);
        if (channel < 0) return 0;
        const bool repeat = loop == audLoopAsLoaded ? s->Loop : loop > 0;
        Mix_Chunk* chunk = AtRate(*s->Data, frequency, repeat);
        // Volume, pan and gain are set before the channel starts so that no sound leaves at the
        // old setting.
        Mix_Volume(channel, MIX_MAX_VOLUME);
        ApplyPan(channel, pan);
        TVoice& voice = voices_[static_cast<size_t>(channel)];
        voice.Gain = std::isfinite(gain) ? std::clamp(gain, 0.0f, 4.0f) : 1.0f;
        voice.Volume.store(VolumeGain(volume));
        voice.Channels = mixChannels_;
        voice.FadeFrames.store(0);
        voice.FadePos = 0;
        Mix_RegisterEffect(channel, VoiceEffect, nullptr, &voice);
        if (Mix_PlayChannel(channel, chunk, repeat ? -1 : 0) < 0) {
            Mix_UnregisterAllEffects(channel);
            return 0;
        }
        owner_[static_cast<size_t>(channel)] = sample;
        return kChannelBase + static_cast<uint32_t>(channel) + 1;
    }

    bool SampleStop(uint32_t sample) override {
        if (!FindSample(sample)) return false;
        const int fade = std::max(1, static_cast<int>(kFadeSeconds * mixRate_));
        for (int ch = 0; ch < kChannels; ++ch)
            if (owner_[static_cast<size_t>(ch)] == sample) {
                // A paused channel would never finish its fade: it stops at once.
                if (Mix_Paused(ch)) {
                    Mix_HaltChannel(ch);
                } else {
                    voices_[static_cast<size_t>(ch)].FadeFrames.store(fade,
                                                                      std::memory_order_release);
                    Mix_ExpireChannel(ch, kFadeExpireMs);
                }
                owner_[static_cast<size_t>(ch)] = 0;
            }
        return true;
    }

    uint32_t StreamCreateFile(const std::string& path, uint32_t) override {
        if (!open_) return 0;
        SDL_RWops* file = OpenSoundFile(NormalisePath(path));
        Mix_Music* music = file ? Mix_LoadMUS_RW(file, 1) : nullptr; // freed with the music
        if (!music) {
            Log("Audio: cannot open music \"" + path + "\": " + Mix_GetError());
            return 0;
        }
        streams_.push_back({music, 100});
        return kStreamBase + static_cast<uint32_t>(streams_.size());
    }

    bool ChannelSetAttributes(uint32_t handle, int32_t, int32_t volume, int32_t pan) override {
        if (TStream* s = FindStream(handle)) {
            if (volume >= 0) s->Volume = volume;
            if (handle == current_) SetMusicVolume(s->Volume);
            return true;
        }
        const int channel = FindChannel(handle);
        if (channel < 0) return false;
        if (volume >= 0) voices_[static_cast<size_t>(channel)].Volume.store(VolumeGain(volume));
        if (pan >= -100) ApplyPan(channel, pan);
        return true;
    }

    bool StreamPlay(uint32_t handle, bool flush, uint32_t flags) override {
        TStream* s = FindStream(handle);
        if (!s) return false;
        if (!flush && handle == current_ && Mix_PlayingMusic()) {
            Mix_ResumeMusic();
            return true;
        }
        SetMusicVolume(s->Volume);
        if (Mix_PlayMusic(s->Music, (flags & audLoop) ? -1 : 1) != 0) return false;
        current_ = handle;
        return true;
    }

    bool ChannelPause(uint32_t handle) override {
        if (FindStream(handle)) {
            if (handle == current_) Mix_PauseMusic();
            return handle == current_;
        }
        const int channel = FindChannel(handle);
        if (channel >= 0) Mix_Pause(channel);
        return channel >= 0;
    }

    bool ChannelResume(uint32_t handle) override {
        if (FindStream(handle)) {
            if (handle == current_) Mix_ResumeMusic();
            return handle == current_;
        }
        const int channel = FindChannel(handle);
        if (channel >= 0) Mix_Resume(channel);
        return channel >= 0;
    }

    void DuckMusic(float decibels, int32_t milliseconds) override {
        if (!open_ || !(decibels > 0)) return;
        const float depth = std::min(decibels, 24.0f);
        const int hold = std::max(milliseconds, 0);
        std::lock_guard<std::mutex> lock(duckMutex_);
        // Asks the mixer has not taken yet merge: the deepest and the longest.
        duckAsk_.Depth = duckAsk_.Pending ? std::max(duckAsk_.Depth, depth) : depth;
        duckAsk_.HoldMs = duckAsk_.Pending ? std::max(duckAsk_.HoldMs, hold) : hold;
        duckAsk_.Pending = true;
    }

    TMixMeter TakeMixMeter() override {
        if (!open_) return {};
        std::lock_guard<std::mutex> lock(limiterMutex_);
        const TLimiter::TMeter m = limiter_->TakeMeter();
        return {m.PeakIn, m.PeakOut, m.MinGain, m.Clamped};
    }

    void BypassLimiter(bool bypass) override {
        if (!open_) return;
        std::lock_guard<std::mutex> lock(limiterMutex_);
        limiter_->SetBypass(bypass);
    }

private:
    // A decoded file in the mixer's format, with the copies made for other playing rates.
    struct TChunk {
        std::string Path;
        Mix_Chunk* Chunk = nullptr;
        std::map<int64_t, std::vector<float>> RateData; // by frequency * 2 + loop
        std::map<int64_t, Mix_Chunk*> RateChunks;
    };
    struct TSample {
        TChunk* Data = nullptr;
        uint32_t MaxPlays = 1;
        bool Loop = false;
    };
    struct TStream {
        Mix_Music* Music = nullptr;
        int32_t Volume = 100;
    };

    // The chunk to play at `frequency` Hz: the decoded file at audSampleRate or audDefaultRate,
    // else a resampled copy, made on first use (about 11 ms of CPU per second of sound) and
    // kept; a looping play gets a copy that loops.
    Mix_Chunk* AtRate(TChunk& data, int32_t frequency, bool loop) {
        if (frequency <= 0 || frequency == audSampleRate) return data.Chunk;
        const double rate = std::clamp(static_cast<double>(frequency) / audSampleRate, 0.25, 4.0);
        const int64_t key = int64_t{frequency} * 2 + (loop ? 1 : 0);
        if (auto it = data.RateChunks.find(key); it != data.RateChunks.end()) return it->second;

        const int channels = mixChannels_;
        const auto* in = reinterpret_cast<const float*>(data.Chunk->abuf);
        const int frames = static_cast<int>(data.Chunk->alen / sizeof(float)) / channels;
        std::vector<float> out = Resample(in, frames, channels, rate, loop);
        Mix_Chunk* chunk = out.empty()
                               ? nullptr
                               : Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(out.data()),
                                                   static_cast<Uint32>(out.size() * sizeof(float)));
        if (!chunk) {
            Log("Audio: cannot play \"" + data.Path + "\" at " + std::to_string(frequency) +
                " Hz; it plays at its own rate");
            chunk = data.Chunk;
        } else {
            data.RateData[key] = std::move(out); // the chunk points into it; moving keeps it
        }
        data.RateChunks[key] = chunk;
        return chunk;
    }

    const TSample* FindSample(uint32_t handle) const {
        if (handle == 0 || handle > samples_.size()) return nullptr;
        return &samples_[handle - 1];
    }
    TStream* FindStream(uint32_t handle) {
        if (handle <= kStreamBase || handle - kStreamBase > streams_.size()) return nullptr;
        return &streams_[handle - kStreamBase - 1];
    }
    int FindChannel(uint32_t handle) const {
        if (!open_ || handle <= kChannelBase || handle - kChannelBase > kChannels) return -1;
        return static_cast<int>(handle - kChannelBase - 1);
    }
    uint32_t PlaysOf(uint32_t sample) {
        uint32_t n = 0;
        for (int ch = 0; ch < kChannels; ++ch) {
            auto& owner = owner_[static_cast<size_t>(ch)];
            if (owner != sample) continue;
            if (Mix_Playing(ch))
                ++n;
            else
                owner = 0;
        }
        return n;
    }

    // The music's volume 0..100 as set, lowered by the current duck.
    void SetMusicVolume(int32_t volume) {
        musicGain_.store(VolumeGain(volume));
        Mix_VolumeMusic(DuckedMusicVolume());
    }
    int DuckedMusicVolume() const {
        return MixVolume(musicGain_.load() * std::pow(10.0, -duckLevel_.load() / 20.0));
    }

    // After SDL_mixer has added music and channels: the duck moves on by one buffer, then the
    // limiter takes the sum. Runs on the mixing thread with the mixer's lock held.
    static void SDLCALL PostMix(void* self, Uint8* stream, int bytes) {
        static_cast<TSdlAudio*>(self)->OnMixed(reinterpret_cast<float*>(stream),
                                               bytes / static_cast<int>(sizeof(float)));
    }
    void OnMixed(float* samples, int count) {
        const int frames = count / std::max(mixChannels_, 1);
        const double seconds = static_cast<double>(frames) / mixRate_;
        {
            std::lock_guard<std::mutex> lock(duckMutex_);
            if (duckAsk_.Pending) {
                // A duck asked while another holds deepens or lengthens it, never the reverse:
                // the sounds of one moment ask one after another.
                duckAsk_.Pending = false;
                duckTarget_ =
                    duckHold_ > 0 ? std::max<double>(duckTarget_, duckAsk_.Depth) : duckAsk_.Depth;
                duckHold_ = std::max(duckHold_, duckAsk_.HoldMs / 1000.0);
            }
        }
        double level = duckLevel_.load();
        const double target = duckHold_ > 0 ? duckTarget_ : 0.0;
        if (level < target)
            level = std::min(target, level + duckTarget_ * seconds / kDuckAttack);
        else if (level > target)
            level = std::max(target, level - std::max(duckTarget_, 1.0) * seconds / kDuckRelease);
        if (duckHold_ > 0) duckHold_ -= seconds;
        if (level != duckLevel_.load()) {
            duckLevel_.store(level);
            Mix_VolumeMusic(DuckedMusicVolume());
        }
        if (mixChannels_ != 2) return;
        std::lock_guard<std::mutex> lock(limiterMutex_);
        limiter_->Process(samples, frames);
    }

    void Log(const std::string& line) const {
        if (log_) log_(line);
    }

    void Close() {
        if (open_) {
            Mix_SetPostMix(nullptr, nullptr);
            Mix_HaltChannel(-1);
            Mix_HaltMusic();
            for (auto& c : chunks_) {
                for (auto& [key, chunk] : c->RateChunks)
                    if (chunk != c->Chunk) Mix_FreeChunk(chunk);
                Mix_FreeChunk(c->Chunk);
            }
            for (auto& s : streams_) Mix_FreeMusic(s.Music);
            Mix_CloseAudio();
        }
        if (mixInit_) Mix_Quit();
        if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        open_ = mixInit_ = subsystem_ = false;
    }

    TAudioLog log_;
    bool subsystem_ = false;
    bool mixInit_ = false;
    bool open_ = false;
    int mixRate_ = audSampleRate;
    int mixChannels_ = 2;
    std::vector<std::unique_ptr<TChunk>> chunks_;
    std::vector<TSample> samples_;
    std::vector<TStream> streams_;
    std::vector<uint32_t> owner_; // per channel: the sample it played last (0 none)
    std::array<TVoice, kChannels> voices_;
    uint32_t current_ = 0; // the stream that owns the music player

    // The music volume's gain and its duck: the ask the mixer has yet to take, and the duck's
    // level in dB below the volume.
    std::atomic<float> musicGain_{1.0f};
    struct TDuckAsk {
        float Depth = 0;
        int HoldMs = 0;
        bool Pending = false;
    };
    std::mutex duckMutex_;
    TDuckAsk duckAsk_;
    std::atomic<double> duckLevel_{0};
    double duckTarget_ = 0; // mixing thread only, like the one below
    double duckHold_ = 0;

    std::mutex limiterMutex_; // the limiter and its meter, between the two threads
    std::unique_ptr<TLimiter> limiter_;
};

} // namespace

std::unique_ptr<IAudio> CreateSdlAudio(TAudioLog log) {
    return std::make_unique<TSdlAudio>(std::move(log));
}
