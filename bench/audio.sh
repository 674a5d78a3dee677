#!/usr/bin/env bash
# Measures the generated sounds and music file by file and as the game mixes them.
# Usage: bench/audio.sh [data folder] (default build/game). Needs ffmpeg and sox, and the
# programs build/bench/audio_figures and build/bench/audio_mix (./test.sh or a build with
# -DVO_BENCH=ON makes them).
#
# Loudness per file: length, sample peak (dBFS), true peak (dBTP, ffmpeg ebur128 peak=true), the
# loudest 100 ms (K-weighted as BS.1770 weights it, LUFS: the loudness of an effect), ffmpeg's
# momentary maximum M (400 ms), integrated loudness I and loudness range LRA (the music), and the
# loudness in game: effects play at the sound volume (default 75), a mono file on both channels
# (+3.0 dB), the music at the music volume (default 50); the column adds the volume law's gain
# (audio_figures --gain) to the loudest 100 ms (effects) or to I (music).
#
# Figures per file (audio_figures): the lines of the spectrum within 20 dB of the strongest (a line
# stands 6 dB over the median of its third of an octave either side after smoothing over +-25
# cents), how many lie more than 25 cents off a note of D major and the worst distance; the
# power's shares above 4 and 6 kHz and below 250 Hz and its centroid; the integrated loudness lost
# through a two-pole 200 Hz high-pass (a laptop's speaker); the largest sample of the last 10 ms;
# the crest (sample peak over the RMS of the loudest 50 ms); the DC offset (largest channel mean);
# the correlation of a stereo file's channels. Then the volume law.
#
# Looping files also get their seam: the jump from the last sample to the first against the
# largest 1 % of steps inside, the 50 ms level across the seam against the median 50 ms level, and
# the lowest 50 ms level anywhere in the loop.
#
# Through the real mixer (audio_mix): the loud moments' peaks before and after the output limiter;
# then moves of a game with the music off, whose loudest 100 ms set a reward against the loudest
# plain move; each moment's output true peak and loudest 100 ms measured again here.
set -euo pipefail
cd "$(dirname "$0")/.."
DATA=$(realpath "${1:-build/game}")
MIXER=${VO_AUDIO_MIX:-build/bench/audio_mix}
FIGURES=${VO_AUDIO_FIGURES:-build/bench/audio_figures}
for tool in ffmpeg sox awk; do
  command -v "$tool" >/dev/null || { echo "audio.sh: $tool is missing (apt-get install $tool)"; exit 1; }
done
for tool in "$MIXER" "$FIGURES"; do
  [ -x "$tool" ] || { echo "audio.sh: $tool is missing (cmake -DVO_BENCH=ON, then build it)"; exit 1; }
done
WORK=$(mktemp -d /tmp/vo-audio-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# loudness <file>: "tp mmax i lra" from ffmpeg's ebur128, the file padded with 0.5 s of silence so
# that a short effect falls wholly inside one 400 ms window.
loudness() {
  ffmpeg -nostats -hide_banner -i "$1" -af "apad=pad_dur=0.5,ebur128=peak=true" -f null - 2>&1 |
    awk '/ M:/ { for (i = 1; i <= NF; ++i) if ($i ~ /^M:/) { v = $i; sub("M:", "", v); if (v == "") v = $(i + 1); if (v + 0 > m || m == "") m = v + 0 } }
         /^ *I:/ { i = $2 } /^ *LRA:/ { lra = $2 } /^ *Peak:/ { tp = $2 }
         END { printf "%s %.1f %s %s\n", tp, m, i, lra }'
}
# short_max <file>: the loudest 100 ms (windows every 10 ms) of the K-weighted power summed over
# the channels, in LUFS. The K-weighting's two stages are computed for 44.1 kHz as BS.1770's
# analogue prototypes give them.
short_max() {
  sox "$1" -t dat - | awk '
    BEGIN { pi = 3.141592653589793; fs = 44100
      f0 = 1681.974450955533; g = 3.999843853973347; q = 0.7071752369554196
      k = sin(pi * f0 / fs) / cos(pi * f0 / fs); vh = 10 ^ (g / 20); vb = vh ^ 0.4996667741545416
      a0 = 1 + k / q + k * k
      B0 = (vh + vb * k / q + k * k) / a0; B1 = 2 * (k * k - vh) / a0; B2 = (vh - vb * k / q + k * k) / a0
      A1 = 2 * (k * k - 1) / a0; A2 = (1 - k / q + k * k) / a0
      f0 = 38.13547087602444; q = 0.5003270373238773; k = sin(pi * f0 / fs) / cos(pi * f0 / fs)
      a0 = 1 + k / q + k * k; C1 = 2 * (k * k - 1) / a0; C2 = (1 - k / q + k * k) / a0 }
    /^;/ { next }
    { p = 0
      for (c = 2; c <= NF; ++c) {
        x = $c; y = B0 * x + s1[c]; s1[c] = B1 * x - A1 * y + s2[c]; s2[c] = B2 * x - A2 * y
        x = y; y = x + t1[c]; t1[c] = -2 * x - C1 * y + t2[c]; t2[c] = x - C2 * y
        p += y * y }
      pw[n++] = p }
    END { w = 4410; h = 441; for (i = 0; i < w; ++i) pw[n + i] = 0
      sum = 0; for (i = 0; i < w; ++i) sum += pw[i]; best = sum
      for (st = h; st + w <= n + w; st += h) {
        for (i = st - h; i < st; ++i) sum -= pw[i]
        for (i = st + w - h; i < st + w; ++i) sum += pw[i]
        if (sum > best) best = sum }
      printf "%.1f\n", (best > 0 ? -0.691 + 10 * log(best / w) / log(10) : -120) }'
}
# seam <file>: "jump level low" of a looping file (first channel): the jump at the wrap against
# the 99th percentile of the steps, the 50 ms level across the wrap and the lowest 50 ms level,
# both in dB against the median. The music is judged on its last and first 4 s only.
seam() {
  local long=0
  [ "$(soxi -D "$1" | cut -d. -f1)" -gt 8 ] && long=1
  if [ $long = 1 ]; then
    sox "$1" -t dat "$WORK/tail.dat" remix 1 trim -4
    sox "$1" -t dat "$WORK/head.dat" remix 1 trim 0 4
    cat "$WORK/tail.dat" "$WORK/head.dat" | awk '!/^;/ { print $2 }' >"$WORK/loop.txt"
  else
    sox "$1" -t dat "$WORK/head.dat" remix 1
    awk '!/^;/ { print $2 }' "$WORK/head.dat" >"$WORK/loop.txt"
  fi
  awk 'NR > 1 { d = $1 - p; print (d < 0 ? -d : d) } { p = $1 }' "$WORK/loop.txt" | sort -g >"$WORK/steps.txt"
  # The wrap sits at the end of a short loop (taken round) and in the middle of the excerpt.
  awk -v long=$long '{ x[n++] = $1 } END {
         w = int(0.05 * 44100); h = int(0.01 * 44100); wrap = long ? int(n / 2) : 0
         e = 0; for (j = -int(w / 2); j < int(w / 2); ++j) { v = x[(wrap + j + n) % n]; e += v * v }
         print "wrap", 10 * log(e / w + 1e-20) / log(10)
         if (long) { d = x[wrap] - x[wrap - 1]; print "jump", (d < 0 ? -d : d) }
         else { d = x[0] - x[n - 1]; print "jump", (d < 0 ? -d : d) }
         for (st = 0; st + (long ? w : 0) < n; st += h) { e = 0; for (j = 0; j < w; ++j) { v = x[(st + j) % n]; e += v * v }
                                                         print "level", 10 * log(e / w + 1e-20) / log(10) } }' \
    "$WORK/loop.txt" >"$WORK/seam.txt"
  awk '$1 == "level" { print $2 }' "$WORK/seam.txt" | sort -g >"$WORK/levels.txt"
  local p99 median low wrap jump
  p99=$(awk '{ v[NR] = $1 } END { print v[int(NR * 0.99)] }' "$WORK/steps.txt")
  median=$(awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }' "$WORK/levels.txt")
  low=$(head -1 "$WORK/levels.txt")
  wrap=$(awk '$1 == "wrap" { print $2 }' "$WORK/seam.txt")
  jump=$(awk '$1 == "jump" { print $2 }' "$WORK/seam.txt")
  awk -v j="$jump" -v p="$p99" -v m="$median" -v l="$low" -v w="$wrap" 'BEGIN {
      printf "%.2f %+.1f %+.1f\n", j / (p > 0 ? p : 1e-9), w - m, l - m }'
}

printf '%-22s %6s %7s %7s %7s %7s %7s %5s %8s\n' file length peak truePk 100ms M_max I LRA 'in game'
printf '%-22s %6s %7s %7s %7s %7s %7s %5s %8s\n' '' s dBFS dBTP LUFS LUFS LUFS LU LUFS
worst_tp=-99
sound_db=$("$FIGURES" --gain 75)
music_db=$("$FIGURES" --gain 50)
for f in "$DATA"/sounds/*.ogg "$DATA"/music/theme.ogg; do
  [ -f "$f" ] || continue
  name=${f#"$DATA"/}
  read -r tp mmax integ lra < <(loudness "$f")
  peak=$(sox "$f" -n stats 2>&1 | awk '/^Pk lev dB/ { print $4 }')
  length=$(soxi -D "$f")
  short=$(short_max "$f")
  if [ "$name" = music/theme.ogg ]; then
    game=$(awk -v i="$integ" -v g="$music_db" 'BEGIN { printf "%.1f", i + g }')
  else
    mono=$([ "$(soxi -c "$f")" = 1 ] && echo 3.01 || echo 0)
    game=$(awk -v m="$short" -v o="$mono" -v g="$sound_db" 'BEGIN { printf "%.1f", m + g + o }')
    lra=-
  fi
  printf '%-22s %6.2f %7s %7s %7s %7s %7s %5s %8s\n' "${name#sounds/}" "$length" "$peak" "$tp" "$short" "$mmax" "$integ" "$lra" "$game"
  worst_tp=$(awk -v a="$worst_tp" -v b="$tp" 'BEGIN { print (b + 0 > a + 0) ? b : a }')
done
echo "highest true peak of any file: $worst_tp dBTP (in game: sound 75 = $sound_db dB, music 50 = $music_db dB)"
echo
"$FIGURES" --law "$DATA"/sounds/*.ogg "$DATA"/music/theme.ogg
echo
echo "loop seams (jump at the wrap / 99th percentile step; 50 ms levels against the median: across"
echo "the wrap, and the lowest anywhere):"
for f in sounds/roll.ogg sounds/a_bomb.ogg music/theme.ogg; do
  [ -f "$DATA/$f" ] || continue
  read -r jump wrap low < <(seam "$DATA/$f")
  printf '  %-18s jump %5sx  at the wrap %5s dB  lowest %5s dB\n' "$f" "$jump" "$wrap" "$low"
done

echo
echo "through the real mixer (SDL_mixer, disk output; peak before and after the output limiter,"
echo "the limiter's smallest gain, output samples at full scale):"
"$MIXER" "$DATA" "$WORK"
echo
echo "each moment's output: true peak and loudest 100 ms measured here"
for f in "$WORK"/*.wav; do
  read -r tp _ < <(loudness "$f")
  printf '  %-16s true peak %5s dBTP, loudest 100 ms %6s LUFS\n' "$(basename "$f" .wav)" "$tp" "$(short_max "$f")"
done
