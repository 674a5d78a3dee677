// The figures of sound files that bench/audio.sh prints: the lines of each spectrum and how far
// they lie from the notes of D major, the power's balance, the loss through a small speaker's
// high-pass, the ending, the crest, the DC offset and the stereo width; and the volume law.
// Usage: audio_figures [--law] <file.ogg | gen:sounds/name.ogg | gen:music/theme.ogg>...
// ("gen:" makes the sound with the generator instead of reading a file: the sound before
// encoding), or audio_figures --gain <volume>: the gain of a volume setting in dB, alone.
#include "platform/VolumeLaw.h"
#include "tools/artgen/Analysis.h"
#include "tools/artgen/Audio.h"
#include "tools/artgen/Loudness.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace artgen;

bool Decode(const std::string& path, TSound& sound) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return false;
    sound.Channels = ov_info(&vf, -1)->channels;
    sound.Samples.clear();
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&vf);
            return false;
        }
        if (n == 0) break;
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < sound.Channels; ++c) sound.Samples.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    return true;
}

void PrintLaw() {
    std::printf("volume law (setting: gain in dB, step from the setting 10 below):\n ");
    double previous = 0;
    for (int v = 0; v <= 100; v += 10) {
        const double g = VolumeGain(v), db = g > 0 ? 20 * std::log10(g) : -INFINITY;
        if (v == 0)
            std::printf(" 0: silent");
        else if (v == 10)
            std::printf(" | %d: %.1f", v, db);
        else
            std::printf(" | %d: %.1f (%+.1f)", v, db, db - previous);
        previous = db;
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--gain") == 0) {
        std::printf("%.2f\n", 20 * std::log10(std::max(VolumeGain(std::atoi(argv[2])), 1e-6f)));
        return 0;
    }
    std::printf("%-18s %2s %6s %5s %4s %7s %6s %6s %6s %6s %6s %7s %6s %7s %5s %6s  %s\n", "file",
                "ch", "len s", "lines", "off", "worst c", ">4k %", ">6k %", "<250 %", "cent Hz",
                "HP200", "tail dB", "crest", "DC", "corr", "100ms", "lines off key");
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--law") {
            PrintLaw();
            continue;
        }
        TSound s;
        std::string name = arg;
        if (arg.rfind("gen:", 0) == 0) {
            name = arg.substr(4);
            s = name == "music/theme.ogg" ? MakeTheme() : MakeEffect(name);
        } else if (!Decode(arg, s)) {
            std::fprintf(stderr, "audio_figures: cannot decode %s\n", arg.c_str());
            return 1;
        }
        const bool music = name.find("music/") != std::string::npos;
        name = name.substr(name.find_last_of('/') + 1);
        if (music) name = "music/" + name;

        const TSpectrum spectrum = PowerSpectrum(s);
        const std::vector<TPeak> peaks = SpectralPeaks(spectrum);
        const TBalance b = Balance(spectrum);
        int off = 0;
        double worst = 0;
        std::string offList;
        for (const TPeak& p : peaks) {
            if (std::abs(p.Cents) > std::abs(worst)) worst = p.Cents;
            if (std::abs(p.Cents) <= 25) continue;
            ++off;
            char line[64];
            std::snprintf(line, sizeof line, "%s%.0f Hz %s%+.0f c %.0f dB",
                          offList.empty() ? "" : ", ", p.Hz, NoteName(p.Hz).c_str(), p.Cents, p.Db);
            offList += line;
        }
        std::printf(
            "%-18s %2d %6.2f %5zu %4d %+7.0f %6.2f %6.2f %6.1f %6.0f %6.1f %7.1f %6.1f %7.1e "
            "%5.2f %6.1f  %s\n",
            name.c_str(), s.Channels, static_cast<double>(s.Frames()) / kRate, peaks.size(), off,
            worst, 100 * b.Above4k, 100 * b.Above6k, 100 * b.Below250, b.CentroidHz,
            HighPassLoss(s), TailDb(s), CrestDb(s), DcOffset(s), Correlation(s),
            Measure(s, false, false).ShortMax, offList.c_str());
    }
    return 0;
}
