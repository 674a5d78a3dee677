#include "fx/SoundBank.h"

#include "platform/Files.h"

#include "platform/Audio.h"
#include "state/OptionsState.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <vector>

TSoundBank* SoundBank = nullptr;

namespace {

// Every sample is loaded looping-capable; plays with loop flag 0 still sound once.
constexpr uint32_t kMaxPlays = 32;
constexpr int32_t kPlayPan = -1;
constexpr int32_t kMusicRate = 44100;

constexpr const char* kNamedKeys[] = {
    "s_app",    "s_disapp", "s_disapp2", "s_disapp3", "s_ballmove", "s_pin",
    "s_click",  "s_hover",  "s_press",   "s_paint",   "s_chain2",   "s_chain3",
    "s_chain4", "s_chain5", "s_chain6",  "s_big",     "s_record",   "s_multi"};
static_assert(std::size(kNamedKeys) == static_cast<size_t>(TSample::Count));

// True when a listed path names a file inside the data folder: relative and without "..".
bool InsideDataFolder(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || path[0] == '/') return false;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (path.compare(start, end - start, "..") == 0 && end - start == 2) return false;
        start = end + 1;
    }
    return true;
}

std::string JoinPath(const std::string& dir, std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    if (dir.empty() || (!path.empty() && path[0] == '/')) return path;
    if (path.rfind("./", 0) == 0) path.erase(0, 2);
    return dir.back() == '/' ? dir + path : dir + "/" + path;
}

// The lines of a text file; "\r\n" and "\n" both end a line, and a final line break does not
// start another line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A decimal fraction with "." as separator, independent of the process locale; surrounding
// blanks and a leading "+" are allowed, infinities, NaN and hexadecimal are not. Read through a
// stream in the classic locale: not every C++ library parses floating point with from_chars.
bool ParseDecimal(std::string_view s, double& value) {
    s = TrimBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+' || s.find_first_not_of("0123456789.eE+-") != s.npos)
        return false;
    std::istringstream in{std::string(s)};
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.peek() == std::char_traits<char>::eof() && std::isfinite(value);
}

// A decimal integer (optional sign, surrounding blanks) within the 32-bit range.
bool ParseInteger(std::string_view s, int32_t& value) {
    s = TrimBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

// Cuts the text before the first TAB off `rest`; with no TAB left the field is empty and `rest`
// stays whole.
std::string_view TakeField(std::string_view& rest) {
    const size_t tab = rest.find('\t');
    if (tab == std::string_view::npos) return {};
    const std::string_view field = rest.substr(0, tab);
    rest.remove_prefix(tab + 1);
    return field;
}

uint32_t At(const std::array<uint32_t, kPictureSounds>& table, int picture) {
    return picture >= 0 && picture < kPictureSounds ? table[static_cast<size_t>(picture)] : 0;
}

} // namespace

TSoundBank::TSoundBank(IAudio* audio) : audio_(audio) {}

uint32_t TSoundBank::Selection(int variant, int picture) const {
    if (variant < 0 || variant >= 4) return 0;
    return At(selection_[static_cast<size_t>(variant)], picture);
}
uint32_t TSoundBank::HoverSound(int picture) const {
    return At(hover_, picture);
}
uint32_t TSoundBank::BlastSound(int picture) const {
    return At(blast_, picture);
}
uint32_t TSoundBank::ArrivalSound(int picture) const {
    return picture < kPictureSounds - 1 ? At(arrival_, picture) : 0;
}
uint32_t TSoundBank::BlastHitSound(int picture) const {
    return picture < kPictureSounds - 1 ? At(blastHit_, picture) : 0;
}

uint32_t TSoundBank::LoadSample(const std::string& path, float gain) {
    const uint32_t handle = audio_ ? audio_->SampleLoad(path, kMaxPlays, audLoop) : 0;
    if (handle != 0) info_[handle] = {path, gain, TVariation::None, -1};
    return handle;
}

// A sample named by the list; one outside the data folder is not opened and stays silent.
uint32_t TSoundBank::LoadListed(const std::string& dataDir, const std::string& path, float gain) {
    return InsideDataFolder(path) ? LoadSample(JoinPath(dataDir, path), gain) : 0;
}

void TSoundBank::SetVariation(uint32_t sample, TVariation variation) {
    if (auto it = info_.find(sample); it != info_.end()) it->second.Variation = variation;
}

// One line of the sound list: name TAB path TAB number. False with the reason in `error`.
bool TSoundBank::LoadLine(const std::string& line, const std::string& dataDir, std::string* error) {
    const auto fail = [error](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    std::string_view rest = line;
    const std::string name(TakeField(rest));
    const std::string path(TakeField(rest));
    double number = 0.0;
    if (!ParseDecimal(rest, number)) {
        return fail(std::string("\"").append(rest) + "\" is not a decimal number");
    }
    // The number is the sample's gain (1 = as made); beyond 0..4 it is held at the nearer end.
    const float gain = static_cast<float>(std::clamp(number, 0.0, 4.0));

    for (size_t i = 0; i < std::size(kNamedKeys); ++i)
        if (name == kNamedKeys[i]) {
            named_[i] = LoadListed(dataDir, path, gain);
            const auto s = static_cast<TSample>(i);
            if (s == TSample::App)
                SetVariation(named_[i], TVariation::Wide);
            else if (s == TSample::BallMove || s == TSample::Pin || s == TSample::Press)
                SetVariation(named_[i], TVariation::Small);
            return true;
        }
    if (name.empty() || name[0] != '_') return true;

    int32_t n = 0;
    if (!ParseInteger(name.size() > 2 ? std::string_view(name).substr(2) : std::string_view(), n)) {
        return fail("\"" + name + "\" does not end in a whole number");
    }
    std::array<uint32_t, kPictureSounds>* table = nullptr;
    int32_t last = kPictureSounds; // the tables' last number in the list (1-based)
    switch (name.size() > 1 ? name[1] : '\0') {
    case 'a':
        table = &selection_[0];
        break;
    case 'b':
        table = &selection_[1];
        break;
    case 'c':
        table = &selection_[2];
        break;
    case 'd':
        table = &selection_[3];
        break;
    case 'h':
        table = &hover_;
        break;
    case 'f':
        table = &blast_;
        break;
    case 'r':
        table = &arrival_, last = kPictureSounds - 1;
        break;
    case 'o':
        table = &blastHit_, last = kPictureSounds - 1;
        break;
    default:
        return true; // an unknown table loads nothing
    }
    if (n < 1 || n > last) return true; // outside the table: ignored
    uint32_t& entry = (*table)[static_cast<size_t>(n - 1)];
    entry = LoadListed(dataDir, path, gain);
    if (table == &arrival_) SetVariation(entry, TVariation::Small);
    return true;
}

bool TSoundBank::Load(const std::string& soundListPath, const std::string& dataDir,
                      std::string* error) {
    // A sound list is a few kilobytes; a FIFO, a device or a huge file is no sound list.
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(soundListPath, bytes, nullptr, size_t{1} << 20)) {
        if (error) *error = soundListPath + ": cannot open the sound list";
        LoadBombFiles(dataDir);
        return false;
    }
    return LoadFromText(std::string(bytes.begin(), bytes.end()), soundListPath, dataDir, error);
}

bool TSoundBank::LoadFromText(const std::string& text, const std::string& listName,
                              const std::string& dataDir, std::string* error) {
    bool ok = true;
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string reason;
        if (!LoadLine(lines[i], dataDir, &reason)) {
            if (error) {
                *error = listName + ":" + std::to_string(i + 1) + ": ";
                *error += reason;
            }
            ok = false;
            break;
        }
    }
    LoadBombFiles(dataDir);
    return ok;
}

// The bomb's sounds come from fixed files, whatever the list said and even when it failed.
void TSoundBank::LoadBombFiles(const std::string& dataDir) {
    hover_[kPictureSounds - 1] = LoadSample(JoinPath(dataDir, "./sounds/h_bomb.ogg"));
    selection_[0][kPictureSounds - 1] = LoadSample(JoinPath(dataDir, "./sounds/a_bomb.ogg"));
    blast_[kPictureSounds - 1] = LoadSample(JoinPath(dataDir, "./sounds/Bomb_boom.ogg"));
}

namespace {

// Rate steps of varied plays, in semitones. The varied sounds hold D and A: a minor third down
// (to B and F#) and a whole tone up (to E and B) keep them on the pentatonic scale, and so does a
// fourth down (A to E, D to A), which only the new balls take.
constexpr float kSmallSteps[] = {-3.0f, 0.0f, 2.0f};
constexpr float kWideSteps[] = {-5.0f, -3.0f, 0.0f, 2.0f};
constexpr float kVariationDb = 2.0f;

int32_t FrequencyOf(float semitones) {
    return static_cast<int32_t>(std::lround(audSampleRate * std::pow(2.0, semitones / 12.0)));
}
float FromDb(float decibels) {
    return static_cast<float>(std::pow(10.0, decibels / 20.0));
}

} // namespace

uint32_t TSoundBank::NextRandom() {
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

void TSoundBank::PlayShaped(uint32_t sample, int32_t loop, float gain, int32_t frequency) {
    if (!audio_) return;
    const auto it = info_.find(sample);
    if (it != info_.end()) {
        TSampleInfo& info = it->second;
        gain *= info.Gain;
        if (info.Variation != TVariation::None) {
            const bool wide = info.Variation == TVariation::Wide;
            const int steps = wide ? static_cast<int>(std::size(kWideSteps))
                                   : static_cast<int>(std::size(kSmallSteps));
            // A step other than the last one: one of the steps - 1 others, uniformly.
            int step = static_cast<int>(NextRandom() % static_cast<uint32_t>(steps - 1));
            if (info.LastStep >= 0 && step >= info.LastStep) ++step;
            info.LastStep = step;
            const float semitones = wide ? kWideSteps[static_cast<size_t>(step)]
                                         : kSmallSteps[static_cast<size_t>(step)];
            if (frequency == audDefaultRate) frequency = FrequencyOf(semitones);
            const float spread = static_cast<float>(NextRandom() % 1001) / 500.0f - 1.0f;
            gain *= FromDb(kVariationDb * spread);
        }
    }
    audio_->SamplePlayEx(sample, 0, frequency, muted_ ? 0 : Options.SoundVolume, kPlayPan, loop,
                         gain);
}

void TSoundBank::Play(uint32_t sample) {
    PlayShaped(sample, 0, 1.0f, audDefaultRate);
}

void TSoundBank::PlayLooping(uint32_t sample) {
    PlayShaped(sample, audLoopAsLoaded, 1.0f, audDefaultRate);
}

void TSoundBank::Stop(uint32_t sample) {
    if (audio_) audio_->SampleStop(sample);
}

void TSoundBank::Duck(float decibels, int32_t milliseconds) {
    if (audio_ && !muted_ && Options.SoundVolume > 0) audio_->DuckMusic(decibels, milliseconds);
}

// The music's duck under each reward: deeper and longer the larger the moment.
void TSoundBank::PlayRemoval(int32_t units, float decibels) {
    const float gain = FromDb(decibels);
    if (units < 7) {
        PlayShaped(Named(TSample::Disapp), 0, gain, audDefaultRate);
        Duck(3.0f, 600);
    } else if (units < 13) {
        PlayShaped(Named(TSample::Disapp2), 0, gain, audDefaultRate);
        Duck(4.0f, 800);
    } else if (units < 101) {
        PlayShaped(Named(TSample::Disapp3), 0, gain, audDefaultRate);
        Duck(5.0f, 1000);
    }
}

void TSoundBank::PlayChain(int length) {
    if (length < 2) return;
    const int step = std::min(length, 6) - 2;
    const float extra = 0.5f * static_cast<float>(std::min(length - 6, 4));
    PlayShaped(Named(static_cast<TSample>(static_cast<int>(TSample::Chain2) + step)), 0,
               FromDb(std::max(extra, 0.0f)), audDefaultRate);
    Duck(std::min(4.0f + 0.5f * static_cast<float>(length - 2), 6.0f), 900);
}

void TSoundBank::PlayLineClear(const TClearSize& clear) {
    // x3, x6, x9: one, two, three steps.
    const int factor =
        clear.Multiplier > 1 ? static_cast<int>(std::min(clear.Multiplier, 9u) / 3) : 0;
    const float size =
        static_cast<float>(std::clamp(clear.Balls - 5, 0, 4)) + static_cast<float>(factor);
    PlayRemoval(clear.Units, std::min(size, 5.0f));
    if (factor > 0) {
        // The sparkle a fifth up for x6 and an octave up for x9.
        const float semitones = factor == 1 ? 0.0f : factor == 2 ? 7.0f : 12.0f;
        PlayShaped(Named(TSample::Multiply), 0, 1.0f,
                   factor == 1 ? audDefaultRate : FrequencyOf(semitones));
        Duck(5.0f, 900);
    }
    PlayChain(clear.Chain);
    if (clear.Big) PlayBig(static_cast<float>(std::clamp(clear.Balls - 7, 0, 3)));
}

void TSoundBank::PlayBig(float decibels) {
    PlayShaped(Named(TSample::Big), 0, FromDb(decibels), audDefaultRate);
    Duck(6.0f, 1100);
}

void TSoundBank::PlayPaint() {
    Play(TSample::Paint);
    Duck(3.0f, 600);
}

void TSoundBank::PlayRecord() {
    Play(TSample::Record);
    Duck(6.0f, 2000);
}

void TSoundBank::PlaySelection(int variant, int picture) {
    // Full for the first cycle of four, 3 dB down for the second, then 1.5 dB less each bounce
    // down to -15 dB.
    const int n = selectionPlays_++;
    const float db = n < 4 ? 0.0f : std::max(-15.0f, -3.0f - 1.5f * static_cast<float>(n - 4));
    PlayShaped(Selection(variant, picture), 0, FromDb(db), audDefaultRate);
}

void TSoundBank::AddBlastHit(int picture) {
    const uint32_t sample = BlastHitSound(picture);
    if (sample == 0) return;
    const auto it = info_.find(sample);
    const std::string& path = it != info_.end() ? it->second.Path : std::string();
    for (auto& [first, balls] : blastHits_) {
        const auto other = info_.find(first);
        if (first == sample ||
            (!path.empty() && other != info_.end() && other->second.Path == path)) {
            ++balls;
            return;
        }
    }
    blastHits_.push_back({sample, 1});
}

void TSoundBank::EndBlast(bool exploded) {
    if (exploded) ++blastBombs_;
    if (blastDepth_ > 0) --blastDepth_;
    if (blastDepth_ > 0) return;
    // n copies of one sound: n^(1/4) in gain (+4.5 dB for 8) and half a semitone lower for
    // every doubling, as if one larger thing broke.
    const auto scaled = [](int n) {
        return static_cast<float>(std::pow(static_cast<double>(n), 0.25));
    };
    const auto lowered = [](int n) {
        return FrequencyOf(-0.5f * static_cast<float>(std::log2(static_cast<double>(n))));
    };
    for (const auto& [sample, balls] : blastHits_)
        PlayShaped(sample, 0, scaled(balls), balls > 1 ? lowered(balls) : audDefaultRate);
    if (blastBombs_ > 0) {
        PlayShaped(BlastSound(kPictureSounds - 1), 0, scaled(blastBombs_), audDefaultRate);
        Duck(5.0f, 1200);
    }
    blastHits_.clear();
    blastBombs_ = 0;
}

void TSoundBank::StartMusic(const std::string& path) {
    if (!audio_) return;
    music_ = audio_->StreamCreateFile(path, 0);
    const int32_t volume = muted_ ? 0 : Options.MusicVolume;
    audio_->ChannelSetAttributes(music_, kMusicRate, volume, 0);
    audio_->StreamPlay(music_, false, audLoop);
    musicSilent_ = volume == 0;
    if (musicSilent_ || musicAway_) audio_->ChannelPause(music_);
}

// A silent music stands paused where it is: decoding it for nothing would cost more processor
// time at rest than everything else the game does then.
void TSoundBank::ApplyMusicVolume() {
    if (!audio_) return;
    const int32_t volume = muted_ ? 0 : Options.MusicVolume;
    audio_->ChannelSetAttributes(music_, kMusicRate, volume, 0);
    const bool silent = volume == 0;
    if (silent == musicSilent_ || !music_) return;
    musicSilent_ = silent;
    if (musicAway_) return; // stands paused anyway
    if (silent)
        audio_->ChannelPause(music_);
    else
        audio_->ChannelResume(music_);
}

void TSoundBank::SetMuted(bool muted) {
    muted_ = muted;
    ApplyMusicVolume();
}

void TSoundBank::PauseMusic() {
    if (musicAway_) return;
    musicAway_ = true;
    if (audio_ && !musicSilent_) audio_->ChannelPause(music_);
}

void TSoundBank::ResumeMusic() {
    if (!musicAway_) return;
    musicAway_ = false;
    if (audio_ && !musicSilent_) audio_->ChannelResume(music_);
}

namespace {
void StepDown(int32_t& volume) {
    if (volume > 0) volume = std::max(volume - 10, 0);
}
void StepUp(int32_t& volume) {
    if (volume < 100) volume = std::min(volume + 10, 100);
}
} // namespace

void TSoundBank::MusicDown() {
    StepDown(Options.MusicVolume);
    ApplyMusicVolume();
}

void TSoundBank::MusicUp() {
    StepUp(Options.MusicVolume);
    ApplyMusicVolume();
}

void TSoundBank::SoundDown() {
    StepDown(Options.SoundVolume);
}

void TSoundBank::SoundUp() {
    StepUp(Options.SoundVolume);
}

void TSoundBank::SetMusicVolume(int32_t volume) {
    Options.MusicVolume = std::clamp(volume, 0, 100);
    ApplyMusicVolume();
}

void TSoundBank::SetSoundVolume(int32_t volume) {
    Options.SoundVolume = std::clamp(volume, 0, 100);
}
