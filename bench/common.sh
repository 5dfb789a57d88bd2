# Sourced by the benchmark scripts: the program folder, a cache of long
# generated inputs (kept between runs under build/, never committed), and
# timing that also reads the peak memory of the timed process.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${KOLVEX_BENCH_CACHE:-$root/build/bench-cache}
convert="$root/build/release/bin/kolvex-convert"
mkdir -p "$cache"

# Installs the tools (sox, ffmpeg, flac, jmac) and builds the given targets.
bench_prepare() {
  KOLVEX_WITH_FIXTURE_TOOLS=1 "$root/tools/setup"
  "$root/tools/build" release "$@" >/dev/null
}

# bench_signal FILE SECONDS RATE BITS: a stereo WAV of pink noise under a
# sweeping sine (music-like to the encoders).
bench_signal() {
  # Plain PCM headers (wavpcm): jmac reads no WAVE_FORMAT_EXTENSIBLE, which
  # sox writes for 24 bits.
  sox -q -n -r "$3" -c 2 -b "$4" -t wavpcm "$1" synth "$2" pinknoise synth "$2" sine mix 220-1760 gain -6
}

# bench_ape NAME SECONDS [RATE] [BITS] → path of a stereo APE image of
# bench_signal, made once.
bench_ape() {
  local name=$1 seconds=$2 rate=${3:-44100} bits=${4:-16}
  local ape="$cache/$name.ape"
  if [[ ! -s "$ape" ]]; then
    echo "making $name.ape ($seconds s, $rate Hz, $bits-bit; sox + jmac, level 2; cached in $cache)..." >&2
    bench_signal "$cache/$name.wav" "$seconds" "$rate" "$bits"
    if ! jmac c2 "$cache/$name.wav" "$cache/$name.tmp.ape" >/dev/null; then
      rm -f "$cache/$name.wav" "$cache/$name.tmp.ape"
      return 1
    fi
    rm -f "$cache/$name.wav"
    mv "$cache/$name.tmp.ape" "$ape"
  fi
  echo "$ape"
}

# bench_flac NAME SECONDS → path of a stereo 44.1 kHz 16-bit FLAC image of
# bench_signal, made once with flac -5.
bench_flac() {
  local name=$1 seconds=$2
  local flac="$cache/$name.flac"
  if [[ ! -s "$flac" ]]; then
    echo "making $name.flac ($seconds s, 44100 Hz, 16-bit; sox + flac -5; cached in $cache)..." >&2
    bench_signal "$cache/$name.wav" "$seconds" 44100 16
    if ! flac -s -5 -f -o "$cache/$name.tmp.flac" "$cache/$name.wav"; then
      rm -f "$cache/$name.wav" "$cache/$name.tmp.flac"
      return 1
    fi
    rm -f "$cache/$name.wav"
    mv "$cache/$name.tmp.flac" "$flac"
  fi
  echo "$flac"
}

# bench_album NAME SECONDS TRACKS [RATE] [ape|flac] → path of a CUE sheet
# splitting the image NAME.ape (or NAME.flac, 44.1 kHz only) into TRACKS
# tracks of equal length.
bench_album() {
  local name=$1 seconds=$2 tracks=$3 rate=${4:-44100} format=${5:-ape}
  case "$format" in
    ape) bench_ape "$name" "$seconds" "$rate" >/dev/null ;;
    flac)
      [[ "$rate" == 44100 ]] || { echo "bench_album: FLAC images are made at 44100 Hz only" >&2; return 1; }
      bench_flac "$name" "$seconds" >/dev/null ;;
    *) echo "bench_album: unknown image format '$format'" >&2; return 1 ;;
  esac
  local sheet="$cache/$name.cue"
  python3 - "$sheet" "$name.$format" "$seconds" "$tracks" <<'PY'
import sys
sheet, image, seconds, tracks = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
lines = ['PERFORMER "Kolvex Bench"', 'TITLE "Bench Album"', f'FILE "{image}" WAVE']
for t in range(tracks):
    frames = t * seconds * 75 // tracks
    lines += [f'  TRACK {t + 1:02d} AUDIO', f'    TITLE "Track {t + 1:02d}"',
              f'    INDEX 01 {frames // 4500:02d}:{frames // 75 % 60:02d}:{frames % 75:02d}']
open(sheet, 'w').write('\n'.join(lines) + '\n')
PY
  echo "$sheet"
}

# bench_settings FILE: a settings file with the encoder settings as ffmpeg's
# libmp3lame has them (no CRC, copyright or original bit, CBR 192 kbit/s,
# the input's sample rate), so both sides do the same work.
bench_settings() {
  python3 - "$1" <<'PY'
import struct, sys
record = bytearray(3200)
mp3 = [0] * 23
mp3[1], mp3[3], mp3[4] = 192, 64, 192      # CBR rate, VBR range (unused)
record[0x804:0x804 + 92] = struct.pack('<23I', *mp3)
struct.pack_into('<II', record, 0x860, 1, 0)  # CBR flag, resampling flag
struct.pack_into('<I', record, 0x878, 1)
open(sys.argv[1], 'wb').write(record)
PY
}

# bench_measure RUNS command... → "best-wall-seconds peak-MB": the best
# wall time of RUNS runs and the largest peak resident size of the command's
# own process among them.
bench_measure() {
  python3 - "$@" <<'PY'
import os, subprocess, sys, tempfile, time
runs, command = int(sys.argv[1]), sys.argv[2:]
best, peak = None, 0
for _ in range(runs):
    # The command's own complaint, shown when it fails.
    with tempfile.TemporaryFile() as errors:
        start = time.monotonic()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=errors)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.monotonic() - start
        if status != 0:
            errors.seek(0)
            said = errors.read().decode(errors='replace').strip().splitlines()[-5:]
            sys.exit(f"bench: {' '.join(command)} failed ({status})" + ''.join('\n  ' + line for line in said))
    best = wall if best is None else min(best, wall)
    peak = max(peak, usage.ru_maxrss / 1024)
print(f"{best:.3f} {peak:.1f}")
PY
}
