#pragma once
// The sound bank: sample handles filled from "sounds.txt" plus three fixed bomb files, played at
// the sound volume; and the music stream with its volume steps and pause/resume. Handles are 0
// when nothing is loaded; playing or stopping 0 is silent.
#include <array>
#include <cstdint>
#include <string>

class IAudio;

// The ten named samples of the sound list.
enum class TSample {
    App,      // "s_app": new balls placed
    Disapp,   // "s_disapp": a removal worth fewer than 7 units
    Disapp2,  // "s_disapp2": 7..12 units
    Disapp3,  // "s_disapp3": 13..100 units
    BallMove, // "s_ballmove": loops while a ball travels
    Pin,      // "s_pin": the travelling ball changes direction
    Click,    // "s_click": a screen button pressed
    Hover,    // "s_hover": the pointer comes onto another button
    Press,    // "s_press": name entry keys
    Paint,    // "s_paint": a paint ball goes off
    Count
};

constexpr int kPictureSounds = 23; // per-picture tables hold entries for pictures 0..22

class TSoundBank {
public:
    explicit TSoundBank(IAudio* audio);

    // Reads the sound list (paths inside it resolve against `dataDir`), then loads the three
    // fixed bomb files over entry 22 of the hover, selection (variant a) and blast tables.
    // On a bad line it stops and returns false with "<file>:<line>: <reason>" in `error`;
    // samples loaded before that line stay. A missing file is an error too. The bomb files are
    // loaded in every case.
    bool Load(const std::string& soundListPath, const std::string& dataDir, std::string* error);
    // The same on the text of a sound list; `listName` names it in `error`.
    bool LoadFromText(const std::string& text, const std::string& listName,
                      const std::string& dataDir, std::string* error);

    uint32_t Named(TSample s) const { return named_[static_cast<size_t>(s)]; }
    // Tables by picture index k = 0..22 (the sound list numbers them k + 1).
    uint32_t Selection(int variant, int picture) const; // variant 0..3 = a..d
    uint32_t HoverSound(int picture) const;
    uint32_t BlastSound(int picture) const;    // only entry 22, the bomb blast, is played
    uint32_t ArrivalSound(int picture) const;  // pictures 0..21
    uint32_t BlastHitSound(int picture) const; // pictures 0..21

    // Playing, at the sound volume of the shell state.
    void Play(uint32_t sample);
    void PlayLooping(uint32_t sample);
    void Stop(uint32_t sample); // every playing instance
    void Play(TSample s) { Play(Named(s)); }
    void PlayLooping(TSample s) { PlayLooping(Named(s)); }
    void Stop(TSample s) { Stop(Named(s)); }
    // The line-removal sound by score units (points without chain bonus / 10).
    void PlayRemoval(int32_t units);

    // Music: "music/theme.ogg" as a looping stream at the music volume.
    void StartMusic(const std::string& path);
    void ApplyMusicVolume();
    void PauseMusic();
    void ResumeMusic();
    // Volume steps of the options screen: +-10 within 0..100; music changes apply at once.
    void MusicDown();
    void MusicUp();
    void SoundDown();
    void SoundUp();
    // Slider press at picture x over a bar of width w starting at 490: round(100 (x - 490) / w).
    // Sets nothing unless 490 < x < 490 + w; re-applies the music volume whenever it does.
    void SliderPress(int32_t x, int32_t y, int32_t barWidth);
    // Muted, sounds and music play at volume 0 while the volumes themselves stay as they are
    // (the options show and store them); for this run only.
    void SetMuted(bool muted);
    bool Muted() const { return muted_; }

private:
    uint32_t LoadSample(const std::string& path);
    uint32_t LoadListed(const std::string& dataDir, const std::string& path);
    void LoadBombFiles(const std::string& dataDir);
    bool LoadLine(const std::string& line, const std::string& dataDir, std::string* error);

    IAudio* audio_;
    std::array<uint32_t, static_cast<size_t>(TSample::Count)> named_{};
    std::array<std::array<uint32_t, kPictureSounds>, 4> selection_{};
    std::array<uint32_t, kPictureSounds> hover_{};
    std::array<uint32_t, kPictureSounds> blast_{};
    std::array<uint32_t, kPictureSounds> arrival_{};
    std::array<uint32_t, kPictureSounds> blastHit_{};
    uint32_t music_ = 0;
    bool muted_ = false;
};

extern TSoundBank* SoundBank;
