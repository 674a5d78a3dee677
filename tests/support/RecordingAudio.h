#pragma once
// TRecordingAudio: an IAudio that plays nothing and records every call. Loads and streams return
// increasing non-zero handles (1, 2, 3, ...), or 0 for the paths listed in FailPaths; plays return
// channel handles from 0x10000 up. Tests read the records or the ordered call log.
#include "platform/Audio.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

class TRecordingAudio final : public IAudio {
public:
    struct TLoad {
        std::string Path;
        uint32_t MaxPlays = 0;
        uint32_t Flags = 0;
        uint32_t Handle = 0; // 0 when the path was made to fail
    };
    struct TPlay {
        uint32_t Sample = 0;
        uint32_t Start = 0;
        int32_t Frequency = 0;
        int32_t Volume = 0;
        int32_t Pan = 0;
        int32_t Loop = 0;
        float Gain = 1.0f;
    };
    struct TAttributes {
        uint32_t Handle = 0;
        int32_t Frequency = 0;
        int32_t Volume = 0;
        int32_t Pan = 0;
    };
    struct TStreamPlay {
        uint32_t Handle = 0;
        bool Flush = false;
        uint32_t Flags = 0;
    };

    // --- Set-up -------------------------------------------------------------------------------
    uint32_t Version = 2;
    bool InitResult = true;
    std::set<std::string> FailPaths; // loads of these paths return 0

    // --- Records ------------------------------------------------------------------------------
    std::vector<std::string> Calls; // call names in order, e.g. "SampleLoad", "SamplePlayEx"
    struct {
        int32_t Device = 0;
        uint32_t Frequency = 0, Flags = 0;
        TNativeWindow* Window = nullptr;
    } InitArgs;
    std::vector<TLoad> Loads;
    std::vector<TPlay> Plays;
    std::vector<uint32_t> Stops;
    std::vector<TLoad> Streams; // MaxPlays unused
    std::vector<TAttributes> Attributes;
    std::vector<TStreamPlay> StreamPlays;
    std::vector<uint32_t> Pauses, Resumes;
    std::vector<std::pair<float, int32_t>> Ducks; // decibels, milliseconds

    // --- IAudio -------------------------------------------------------------------------------
    uint32_t GetVersion() override {
        Calls.push_back("GetVersion");
        return Version;
    }
    bool Init(int32_t device, uint32_t frequency, uint32_t flags, TNativeWindow* window) override {
        Calls.push_back("Init");
        InitArgs = {device, frequency, flags, window};
        return InitResult;
    }
    bool Start() override {
        Calls.push_back("Start");
        return InitResult;
    }
    uint32_t SampleLoad(const std::string& path, uint32_t maxPlays, uint32_t flags) override {
        Calls.push_back("SampleLoad");
        Loads.push_back({path, maxPlays, flags, NextHandle(path)});
        return Loads.back().Handle;
    }
    uint32_t SamplePlayEx(uint32_t sample, uint32_t start, int32_t frequency, int32_t volume,
                          int32_t pan, int32_t loop, float gain) override {
        Calls.push_back("SamplePlayEx");
        Plays.push_back({sample, start, frequency, volume, pan, loop, gain});
        return sample == 0 ? 0 : 0x10000 + static_cast<uint32_t>(Plays.size());
    }
    bool SampleStop(uint32_t sample) override {
        Calls.push_back("SampleStop");
        Stops.push_back(sample);
        return sample != 0;
    }
    uint32_t StreamCreateFile(const std::string& path, uint32_t flags) override {
        Calls.push_back("StreamCreateFile");
        Streams.push_back({path, 0, flags, NextHandle(path)});
        return Streams.back().Handle;
    }
    bool ChannelSetAttributes(uint32_t handle, int32_t frequency, int32_t volume,
                              int32_t pan) override {
        Calls.push_back("ChannelSetAttributes");
        Attributes.push_back({handle, frequency, volume, pan});
        return handle != 0;
    }
    bool StreamPlay(uint32_t handle, bool flush, uint32_t flags) override {
        Calls.push_back("StreamPlay");
        StreamPlays.push_back({handle, flush, flags});
        return handle != 0;
    }
    bool ChannelPause(uint32_t handle) override {
        Calls.push_back("ChannelPause");
        Pauses.push_back(handle);
        return handle != 0;
    }
    bool ChannelResume(uint32_t handle) override {
        Calls.push_back("ChannelResume");
        Resumes.push_back(handle);
        return handle != 0;
    }
    void DuckMusic(float decibels, int32_t milliseconds) override {
        Calls.push_back("DuckMusic");
        Ducks.push_back({decibels, milliseconds});
    }

    // --- Queries ------------------------------------------------------------------------------
    // The handle of the last load of `path` (sample or stream); 0 if never loaded or failed.
    uint32_t HandleOf(const std::string& path) const {
        for (auto it = Loads.rbegin(); it != Loads.rend(); ++it)
            if (it->Path == path) return it->Handle;
        for (auto it = Streams.rbegin(); it != Streams.rend(); ++it)
            if (it->Path == path) return it->Handle;
        return 0;
    }
    // How many plays of `sample` were requested.
    int PlaysOf(uint32_t sample) const {
        return static_cast<int>(std::count_if(Plays.begin(), Plays.end(),
                                              [&](const TPlay& p) { return p.Sample == sample; }));
    }
    void ClearRecords() {
        Calls.clear();
        Loads.clear();
        Plays.clear();
        Stops.clear();
        Streams.clear();
        Attributes.clear();
        StreamPlays.clear();
        Pauses.clear();
        Resumes.clear();
        Ducks.clear();
    }

private:
    uint32_t NextHandle(const std::string& path) {
        ++issued_; // handles keep increasing whether a load succeeds or not
        return FailPaths.count(path) ? 0 : issued_;
    }
    uint32_t issued_ = 0;
};
