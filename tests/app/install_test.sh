#!/usr/bin/env bash
# The installed layout: `cmake --install` puts the program folder in
# lib/kolvex with links in bin/, the desktop entry and the icons under share/;
# the program exports the decoder interface's WAV helpers, says so clearly
# when there is no display, and keeps its settings in the user's folder when
# the program folder cannot be written.
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
chmod 755 "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

program="$prefix/lib/kolvex"
for f in kolvex kolvex-convert lame_enc.so Brook_R.so ape_ffmpeg.so lossless_ffmpeg.so libkolvex_platform_core.so libkolvex_platform.so libkolvex_platform_gtk.so \
         README.html kolvex.png; do
  [[ -e "$program/$f" ]] || fail "missing $program/$f"
done
for p in kolvex kolvex-convert; do
  [[ -L "$prefix/bin/$p" && "$(readlink -f "$prefix/bin/$p")" == "$program/$p" ]] || fail "bin/$p is not a link into the program folder"
done
[[ -f "$prefix/share/applications/kolvex.desktop" ]] || fail "no desktop entry"
grep -qx 'Exec=kolvex %F' "$prefix/share/applications/kolvex.desktop" || fail "the desktop entry does not start kolvex"
grep -qx 'Icon=kolvex' "$prefix/share/applications/kolvex.desktop" || fail "the desktop entry names no icon"
for type in audio/x-ape application/x-cue audio/flac audio/x-wavpack audio/x-tta audio/x-wav audio/x-aiff audio/x-m4a audio/x-tak; do
  grep -q "^MimeType=.*$type;" "$prefix/share/applications/kolvex.desktop" || fail "the desktop entry does not take $type"
done
for size in 16 32 48 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/kolvex.png"
  [[ -f "$icon" ]] || fail "no ${size}px icon"
  # The PNG header holds the width and height, big-endian.
  [[ "$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')" == "${size}x${size}" ]] || \
    fail "$icon is not ${size}x${size}"
done
grep -q '<h1' "$program/README.html" || fail "README.html has no heading"
page="$prefix/share/man/man1/kolvex-convert.1"
[[ -f "$page" ]] || fail "no manual page for kolvex-convert (help2man makes it; tools/setup installs help2man)"
grep -q -- 'recursive' "$page" || fail "the manual page does not tell of -r"
libraries=$(ldd "$program/kolvex")
[[ "$libraries" != *"not found"* ]] || fail "kolvex does not find its libraries when installed"

# The decoder's FFmpeg is loaded on first use, not with the program.
for p in kolvex kolvex-convert; do
  [[ "$(ldd "$program/$p")" != *libavcodec* ]] || fail "$p loads FFmpeg at start"
done

symbols=$(nm -D "$program/kolvex")
grep -Eq ' T FillWaveFormatEx$' <<<"$symbols" || fail "FillWaveFormatEx is not exported"
grep -Eq ' T FillWaveHeader$' <<<"$symbols" || fail "FillWaveHeader is not exported"

# No display: a clear message and exit status 1.
set +e
message=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/kolvex" 2>&1)
status=$?
set -e
[[ $status == 1 ]] || fail "without a display kolvex exited $status"
[[ "$message" == *"cannot show its window"*"DISPLAY"* ]] || fail "unclear message: $message"

# A writable program folder keeps configure.dat beside the program.
out=$(KOLVEX_BACKEND=headless KOLVEX_REPORT_FIRST_PAINT=1 "$prefix/bin/kolvex")
grep -q '^first-paint [0-9]' <<<"$out" || fail "the headless start did not paint: $out"
# It says when each start-up step ended, in order, the paint last.
steps=$(awk '$1 == "step" { print $2 }' <<<"$out" | tr '\n' ' ')
[[ "$steps" == "libraries display dialog settings skin-loaded skin-applied painted " ]] || \
  fail "start-up steps: $steps"
[[ $(stat -c %s "$program/configure.dat") == 3200 ]] || fail "no configure.dat beside the program"
rm "$program/configure.dat"

# A program folder the user cannot write: the user's configuration folder.
home="$prefix/home"
mkdir -p "$home"
if [[ $(id -u) == 0 ]]; then
  chown -R nobody "$home"
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod a-w "$program"
  run=()
fi
"${run[@]}" env HOME="$home" XDG_CONFIG_HOME="$home/config" KOLVEX_BACKEND=headless KOLVEX_REPORT_FIRST_PAINT=1 \
  "$prefix/bin/kolvex" >/dev/null
chmod u+w "$program"
[[ ! -e "$program/configure.dat" ]] || fail "configure.dat was written into a read-only program folder"
[[ $(stat -c %s "$home/config/kolvex/configure.dat") == 3200 ]] || fail "no configure.dat in the user's folder"
# Without the decoder module an APE file fails to convert and says why.
mv "$program/ape_ffmpeg.so" "$prefix/aside.so"
set +e
message=$(KOLVEX_SETTINGS="$prefix/cli.dat" "$prefix/bin/kolvex-convert" --wav -o "$prefix/out" \
  "$(dirname "$0")/../../examples/demo/demo.ape" 2>&1)
status=$?
set -e
mv "$prefix/aside.so" "$program/ape_ffmpeg.so"
[[ $status != 0 ]] || fail "kolvex-convert succeeded without its decoder module"
[[ "$message" == *"decoder module (ape_ffmpeg.so) cannot be loaded"* ]] || fail "unclear message: $message"
[[ ! -e "$prefix/out/demo.wav" ]] || fail "an output was left without a decoder"
echo "install layout OK"
