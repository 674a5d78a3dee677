#include "platform/Audio.h"

#include "platform/HostStdio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Handle spaces: samples 1.., streams kStreamBase + 1.., channels kChannelBase + 1...
constexpr uint32_t kStreamBase = 0x40000000;
constexpr uint32_t kChannelBase = 0x80000000;
constexpr int kChannels = 64;
constexpr int kChunkBytes = 1024; // mixing buffer: about 6 ms at 44.1 kHz stereo

int MixVolume(int32_t volume) {
    return (std::clamp(volume, 0, 100) * MIX_MAX_VOLUME + 50) / 100;
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
        const int rate = frequency > 0 ? static_cast<int>(frequency) : MIX_DEFAULT_FREQUENCY;
        if (Mix_OpenAudio(rate, MIX_DEFAULT_FORMAT, 2, kChunkBytes) != 0) {
            Log(std::string("Audio: no output device (") + Mix_GetError() +
                "); the game stays silent");
            return false;
        }
        open_ = true;
        Mix_AllocateChannels(kChannels);
        owner_.assign(kChannels, 0);
        return true;
    }

    bool Start() override {
        if (!open_) return false;
        Mix_Resume(-1);
        return true;
    }

    uint32_t SampleLoad(const std::string& path, uint32_t maxPlays, uint32_t flags) override {
        if (!open_) return 0;
        // The file is opened and closed here: the decoder does not close it on every failure.
        SDL_RWops* file = OpenSoundFile(NormalisePath(path));
        Mix_Chunk* chunk = file ? Mix_LoadWAV_RW(file, 0) : nullptr;
        if (file) SDL_RWclose(file);
        if (!chunk) {
            Log("Audio: cannot load \"" + path + "\": " + Mix_GetError());
            return 0;
        }
        samples_.push_back({chunk, std::max<uint32_t>(maxPlays, 1), (flags & audLoop) != 0});
        return static_cast<uint32_t>(samples_.size());
    }

    uint32_t SamplePlayEx(uint32_t sample, uint32_t, int32_t, int32_t volume, int32_t pan,
                          int32_t loop) override {
        const TSample* s = FindSample(sample);
        if (!s || PlaysOf(sample) >= s->MaxPlays) return 0;
        const int channel = Mix_GroupAvailable(-1);
        if (channel < 0) return 0;
        // Volume and pan are set before the channel starts so that no sound leaves at the old
        // setting.
        Mix_Volume(channel, MixVolume(volume));
        ApplyPan(channel, pan);
        const bool repeat = loop == audLoopAsLoaded ? s->Loop : loop > 0;
        if (Mix_PlayChannel(channel, s->Chunk, repeat ? -1 : 0) < 0) return 0;
        owner_[static_cast<size_t>(channel)] = sample;
        return kChannelBase + static_cast<uint32_t>(channel) + 1;
    }

    bool SampleStop(uint32_t sample) override {
        if (!FindSample(sample)) return false;
        for (int ch = 0; ch < kChannels; ++ch)
            if (owner_[static_cast<size_t>(ch)] == sample) {
                Mix_HaltChannel(ch);
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
            if (handle == current_) Mix_VolumeMusic(MixVolume(s->Volume));
            return true;
        }
        const int channel = FindChannel(handle);
        if (channel < 0) return false;
        if (volume >= 0) Mix_Volume(channel, MixVolume(volume));
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
        Mix_VolumeMusic(MixVolume(s->Volume));
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

private:
    struct TSample {
        Mix_Chunk* Chunk = nullptr;
        uint32_t MaxPlays = 1;
        bool Loop = false;
    };
    struct TStream {
        Mix_Music* Music = nullptr;
        int32_t Volume = 100;
    };

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

    void Log(const std::string& line) const {
        if (log_) log_(line);
    }

    void Close() {
        if (open_) {
            Mix_HaltChannel(-1);
            Mix_HaltMusic();
            for (auto& s : samples_) Mix_FreeChunk(s.Chunk);
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
    std::vector<TSample> samples_;
    std::vector<TStream> streams_;
    std::vector<uint32_t> owner_; // per channel: the sample it played last (0 none)
    uint32_t current_ = 0;        // the stream that owns the music player
};

} // namespace

std::unique_ptr<IAudio> CreateSdlAudio(TAudioLog log) {
    return std::make_unique<TSdlAudio>(std::move(log));
}
