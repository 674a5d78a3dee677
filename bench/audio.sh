#!/usr/bin/env bash
# Measures the generated sounds and music file by file and as the game mixes them.
# Usage: bench/audio.sh [data folder] (default build/game). Needs ffmpeg and sox; with
# build/bench/audio_mix present it also renders the loud moments through the real mixer.
#
# Per file: length, sample peak (dBFS), true peak (dBTP, ffmpeg ebur128 peak=true), momentary
# maximum M (LUFS over 400 ms, the loudness of an effect), integrated loudness I and loudness range
# LRA (the music), and the share of the power above 8 kHz and below 250 Hz. Looping files also get
# their seam: the jump from the last sample to the first as a multiple of the median step, and the
# lowest 50 ms level anywhere in the loop against the median 50 ms level (a crossfade dip).
# In game: effects play at the sound volume (default 75: -2.5 dB), the music at the music volume
# (default 50: -6.0 dB); the table's "in game" column adds those to M (effects) or I (music).
set -euo pipefail
cd "$(dirname "$0")/.."
DATA=$(realpath "${1:-build/game}")
MIXER=${VO_AUDIO_MIX:-build/bench/audio_mix}
for tool in ffmpeg sox awk; do
  command -v "$tool" >/dev/null || { echo "audio.sh: $tool is missing (apt-get install $tool)"; exit 1; }
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
# rms_db <file> [sox effect...]: RMS level in dB of the file after the effect.
rms_db() {
  local f=$1
  shift
  sox "$f" -n "$@" stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'
}
# share <filtered dB> <whole dB>: percent of the power.
share() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-inf") print "0.0"; else printf "%.1f", 100 * 10 ^ ((a - b) / 10) }'; }
# seam <file>: "jump-ratio dip-dB" of a looping file (first channel).
# The music is judged on its last and first 4 s only (its level changes by design).
seam() {
  local trim=()
  [ "$(soxi -D "$1" | cut -d. -f1)" -gt 8 ] && trim=(trim 0 4)
  sox "$1" -t dat "$WORK/head.dat" remix 1 "${trim[@]}"
  [ ${#trim[@]} -gt 0 ] && trim=(trim -4)
  sox "$1" -t dat "$WORK/tail.dat" remix 1 "${trim[@]}"
  if [ ${#trim[@]} -gt 0 ]; then
    cat "$WORK/tail.dat" "$WORK/head.dat" | awk '!/^;/ { print $2 }' >"$WORK/loop.txt"
  else
    awk '!/^;/ { print $2 }' "$WORK/head.dat" >"$WORK/loop.txt"
  fi
  # Steps and 50 ms levels (10 ms apart, round the loop), each sorted for its median.
  awk 'NR > 1 { d = $1 - p; print (d < 0 ? -d : d) } { p = $1 }' "$WORK/loop.txt" | sort -g >"$WORK/steps.txt"
  awk '{ x[n++] = $1 } END { w = int(0.05 * 44100); h = int(0.01 * 44100)
         for (st = 0; st < n; st += h) { e = 0; for (j = 0; j < w; ++j) { v = x[(st + j) % n]; e += v * v }
                                         print 10 * log(e / w + 1e-20) / log(10) } }' "$WORK/loop.txt" |
    sort -g >"$WORK/levels.txt"
  local med jump
  med=$(awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }' "$WORK/steps.txt")
  if [ ${#trim[@]} -gt 0 ]; then # the seam sits in the middle of the excerpt
    jump=$(awk '{ x[NR] = $1 } END { m = int(NR / 2); d = x[m + 1] - x[m]; print d < 0 ? -d : d }' "$WORK/loop.txt")
  else
    jump=$(awk 'NR == 1 { f = $1 } { l = $1 } END { d = f - l; print d < 0 ? -d : d }' "$WORK/loop.txt")
  fi
  awk -v j="$jump" -v m="$med" '{ v[NR] = $1 } END { if (m == 0) m = 1e-9
      printf "%.1f %.1f\n", j / m, v[1] - v[int(NR / 2) + 1] }' "$WORK/levels.txt"
}

printf '%-22s %6s %7s %7s %7s %7s %5s %6s %6s %8s\n' file length peak truePk M_max I LRA '>8kHz' '<250Hz' 'in game'
printf '%-22s %6s %7s %7s %7s %7s %5s %6s %6s %8s\n' '' s dBFS dBTP LUFS LUFS LU % % LUFS
worst_tp=-99
for f in "$DATA"/sounds/*.ogg "$DATA"/music/theme.ogg; do
  [ -f "$f" ] || continue
  name=${f#"$DATA"/}
  read -r tp mmax integ lra < <(loudness "$f")
  whole=$(rms_db "$f")
  high=$(share "$(rms_db "$f" sinc -t 200 8000)" "$whole")
  low=$(share "$(rms_db "$f" sinc -250 -t 50)" "$whole")
  peak=$(sox "$f" -n stats 2>&1 | awk '/^Pk lev dB/ { print $4 }')
  length=$(soxi -D "$f")
  if [ "$name" = music/theme.ogg ]; then
    game=$(awk -v i="$integ" 'BEGIN { printf "%.1f", i - 6.02 }')
  else
    game=$(awk -v m="$mmax" 'BEGIN { printf "%.1f", m - 2.50 }')
    lra=-
  fi
  printf '%-22s %6.2f %7s %7s %7s %7s %5s %6s %6s %8s\n' "${name#sounds/}" "$length" "$peak" "$tp" "$mmax" "$integ" "$lra" "$high" "$low" "$game"
  worst_tp=$(awk -v a="$worst_tp" -v b="$tp" 'BEGIN { print (b + 0 > a + 0) ? b : a }')
done
echo "highest true peak of any file: $worst_tp dBTP"
echo
echo "loop seams (jump at the wrap / median step; lowest 50 ms level against the median):"
for f in sounds/roll.ogg sounds/a_bomb.ogg music/theme.ogg; do
  [ -f "$DATA/$f" ] || continue
  read -r jump dip < <(seam "$DATA/$f")
  printf '  %-18s jump %5sx  dip %5s dB\n' "$f" "$jump" "$dip"
done

if [ -x "$MIXER" ]; then
  echo
  echo "through the real mixer (SDL_mixer, disk output; peak before and after the output limiter):"
  "$MIXER" "$DATA" "$WORK"
fi
