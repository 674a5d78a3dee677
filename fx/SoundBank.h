#pragma once
// The sound bank: sample handles filled from "sounds.txt" plus three fixed bomb files, played at
// the sound volume; and the music stream with its volume steps and pause/resume. Handles are 0
// when nothing is loaded; playing or stopping 0 is silent.
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class IAudio;

// The named samples of the sound list.
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
    Chain2,   // "s_chain2" .. "s_chain6": a chain of 2 .. 6 lines in a row, each higher
    Chain3,
    Chain4,
    Chain5,
    Chain6,
    Big,      // "s_big": a line of seven or more, a bomb going off
    Record,   // "s_record": a new high score
    Multiply, // "s_multi": a multiplier ball in a removal
    Count
};

// How big a removal is, as the field reports it: what its sounds grow with.
struct TClearSize {
    int32_t Units = 0;       // points without chain bonus / 10: the removal sound's tier
    int Balls = 5;           // balls removed
    uint32_t Multiplier = 1; // 1, or the multiplier ball's 3, 6 or 9
    int Chain = 0;           // line-making moves in a row (2 and up), 0 for none
    bool Big = false;        // a big moment: a long line
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

    // Playing, at the sound volume of the shell state times the gain of the sample's line in
    // the sound list. Routine sounds that come again and again (new balls, arrival, corners, the
    // rolling loop, name-entry keys) vary: a random gain within +-2 dB and a random rate, never
    // the same rate twice in a row, by steps that keep their notes (D and A, their octaves and
    // fifths) on the music's scale: down a minor third or up a whole tone, and for the new balls
    // also down a fourth.
    void Play(uint32_t sample);
    void PlayLooping(uint32_t sample);
    void Stop(uint32_t sample); // every playing instance
    void Play(TSample s) { Play(Named(s)); }
    void PlayLooping(TSample s) { PlayLooping(Named(s)); }
    void Stop(TSample s) { Stop(Named(s)); }
    // The line-removal sound by score units (points without chain bonus / 10), `decibels`
    // louder than made.
    void PlayRemoval(int32_t units, float decibels = 0.0f);
    // A chain's rising sound: `length` lines in a row (2 and up; from 6 on the sixth's, louder
    // for each line more).
    void PlayChain(int length);
    // Every sound of a removal, each growing with its size: the removal sound by its units, up
    // to 5 dB louder for more balls and a multiplier; the multiplier's sparkle, higher for larger
    // factors; the chain's run; the big moment's shimmer, louder for longer lines. The music
    // ducks under it, deeper the larger the moment.
    void PlayLineClear(const TClearSize& clear);
    // A big moment, a paint ball going off and a new high score; the music ducks under each.
    void PlayBig(float decibels = 0.0f);
    void PlayPaint();
    void PlayRecord();
    // The selected ball's bounce: variant 0..3 of its picture's selection sounds. The first
    // cycle sounds at full level, then the bounce calms down to a quiet tick; a new selection
    // (RestartSelection) starts again at full level.
    void PlaySelection(int variant, int picture);
    void RestartSelection() { selectionPlays_ = 0; }
    // A bomb blast, set-off bombs included, sounds as one: between the outermost BeginBlast and
    // its EndBlast the destroyed balls are counted, and then every blast-hit file plays once,
    // louder and lower the more balls it stands for, followed by one blast whose gain grows
    // with the bombs that went off; the music ducks under it. Copies of one sample started
    // together would add up in phase.
    void BeginBlast() { ++blastDepth_; }
    void AddBlastHit(int picture);
    void EndBlast(bool exploded);

    // Music: "music/theme.ogg" as a looping stream at the music volume. It stands paused while
    // its volume is 0 or the sound is muted, and between PauseMusic and ResumeMusic (the window
    // away), and goes on where it stood.
    void StartMusic(const std::string& path);
    void ApplyMusicVolume();
    void PauseMusic();
    void ResumeMusic();
    // Volume steps of the options screen: +-10 within 0..100; music changes apply at once.
    void MusicDown();
    void MusicUp();
    void SoundDown();
    void SoundUp();
    // The volumes, kept clamped to 0..100: the music's applies at once, the sounds' at their next
    // play.
    void SetMusicVolume(int32_t volume);
    void SetSoundVolume(int32_t volume);
    // Muted, sounds and music play at volume 0 while the volumes themselves stay as they are
    // (the options show and store them); for this run only.
    void SetMuted(bool muted);
    bool Muted() const { return muted_; }

private:
    // How a sample's plays vary (see Play).
    enum class TVariation : uint8_t { None, Small, Wide };
    struct TSampleInfo {
        std::string Path; // as resolved in the data folder: plays of one file are grouped
        float Gain = 1.0f;
        TVariation Variation = TVariation::None;
        int LastStep = -1; // the rate step of the previous play
    };

    uint32_t LoadSample(const std::string& path, float gain = 1.0f);
    uint32_t LoadListed(const std::string& dataDir, const std::string& path, float gain);
    void LoadBombFiles(const std::string& dataDir);
    bool LoadLine(const std::string& line, const std::string& dataDir, std::string* error);
    void SetVariation(uint32_t sample, TVariation variation);
    void PlayShaped(uint32_t sample, int32_t loop, float gain, int32_t frequency);
    void Duck(float decibels, int32_t milliseconds);
    uint32_t NextRandom();

    IAudio* audio_;
    std::array<uint32_t, static_cast<size_t>(TSample::Count)> named_{};
    std::array<std::array<uint32_t, kPictureSounds>, 4> selection_{};
    std::array<uint32_t, kPictureSounds> hover_{};
    std::array<uint32_t, kPictureSounds> blast_{};
    std::array<uint32_t, kPictureSounds> arrival_{};
    std::array<uint32_t, kPictureSounds> blastHit_{};
    uint32_t music_ = 0;
    bool muted_ = false;
    bool musicSilent_ = false; // paused for its volume 0
    bool musicAway_ = false;   // paused by PauseMusic

    std::unordered_map<uint32_t, TSampleInfo> info_; // by handle
    uint32_t random_ = 0x9E3779B9u;                  // variation only; the game's own stays apart
    int selectionPlays_ = 0;
    int blastDepth_ = 0;
    int blastBombs_ = 0;
    std::vector<std::pair<uint32_t, int>> blastHits_; // first handle of each file, balls
};

extern TSoundBank* SoundBank;
