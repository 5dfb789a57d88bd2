# Sourced by the GUI scripts: kolvex installed in a scratch prefix, shown
# on its own Xvfb (with openbox as its window manager when $wm is "wm"),
# and helpers that drive it with xdotool as a person would.
# The program folder is one its user cannot write, as after an install.
# Needs: $build, $source_dir, $wm. Leaves: $work, $program, $kolvex (its
# pid), $left, $top, $width (the window), and the functions below.
fail() {
  echo "FAIL: $*" >&2
  [[ -f "${work:-}/kolvex.err" ]] && cat "$work/kolvex.err" >&2
  exit 1
}
for tool in Xvfb xdotool import convert compare xprop; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (tools/setup installs it)"
done
[[ "$wm" == wm ]] && { command -v openbox >/dev/null || fail "openbox is not installed (tools/setup installs it)"; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [[ -n "${KOLVEX_GUI_KEEP:-}" ]] && cp "$work"/*.png "$KOLVEX_GUI_KEEP"/ 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

cmake --install "$build" --prefix "$work/prefix" >/dev/null
program="$work/prefix/lib/kolvex"
mkdir -p "$work/album" "$work/home"
cp "$source_dir/examples/demo/demo.cue" "$source_dir/examples/demo/demo.ape" "$work/album/"
as_user=()
if [[ $(id -u) == 0 ]]; then
  chown -R nobody "$work/album" "$work/home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod a-w "$program"
fi

Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
x() { timeout 20 xdotool "$@"; }
if [[ "$wm" == wm ]]; then
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  sleep 1  # openbox takes the root before it is ready to manage windows
fi

"${as_user[@]}" env -u KOLVEX_SETTINGS HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" \
  GSETTINGS_BACKEND=memory KOLVEX_DESCRIBE=1 LSAN_OPTIONS="suppressions=$source_dir/tests/app/gui-lsan.supp" \
  "$work/prefix/bin/kolvex" >"$work/kolvex.out" 2>"$work/kolvex.err" &
kolvex=$!
pids+=($kolvex)
for _ in $(seq 200); do grep -qx ready "$work/kolvex.out" 2>/dev/null && break; sleep 0.1; done
grep -qx ready "$work/kolvex.out" || fail "kolvex did not show its window"
read -r _ _ left top width _ < <(grep '^window' "$work/kolvex.out")

centre() {  # centre of control $1 in screen coordinates
  awk -v id="$1" '$1 == "control" && $2 == id { print int($3 + $5 / 2), int($4 + $6 / 2) }' "$work/kolvex.out"
}
area() {  # control $1 as an X geometry, WxH+X+Y
  awk -v id="$1" '$1 == "control" && $2 == id { print $5 "x" $6 "+" $3 "+" $4 }' "$work/kolvex.out"
}
# The pointer is there before the click: the button sees it arrive first.
click() { x mousemove --sync $1 $2; sleep 0.2; x click ${3:-1}; }
# Runs "$@" every 0.1 s until it succeeds, for at most $1 seconds.
until_true() {
  local seconds=$1; shift
  local end=$((SECONDS + seconds))
  until "$@"; do (( SECONDS < end )) || return 1; sleep 0.1; done
}
mean_grey() {  # mean grey (0 to 1) of screen area $1 or of window $2
  if [[ $1 == window ]]; then import -window "$2" "$work/shot.png"
  else import -window root -crop "$1" +repage "$work/shot.png"; fi 2>/dev/null
  convert "$work/shot.png" -colorspace Gray -format '%[fx:mean]' info:
}
shot() { import -window root "$work/$1.png"; }
alive() { kill -0 "$kolvex" 2>/dev/null; }
# The window named $1 (a regular expression), once it shows.
shown() {
  local id
  for _ in $(seq $((${2:-20} * 5))); do
    id=$(timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [[ -n "$id" ]] && { echo "$id"; return; }
    sleep 0.2
  done
}
gone() {
  for _ in $(seq 50); do x search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  return 1
}
# Part of the screen ("WxH+X+Y") into $work/$2.png.
crop() { import -window root -crop "$1" +repage "$work/$2.png"; }
# How many pixels differ between two such pictures.
differing() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1 || true; }
# "add" → the GTK file chooser → the path typed in.
add_file() {
  click $(centre 1007)
  local chooser
  chooser=$(shown '^Open$')
  [[ -n "$chooser" ]] || fail "the file chooser did not open"
  x windowfocus --sync "$chooser" || true
  sleep 0.5
  # Held a moment, as fingers do: released at once, the release reaches the
  # location entry GTK has just shown and not yet realised (GTK complains).
  x keydown ctrl+l; sleep 0.3; x keyup ctrl+l
  sleep 0.3
  x type --delay 20 "$1"
  sleep 0.3
  x key Return
  gone '^Open$' || fail "the file chooser did not close"
  sleep 0.5
}
# No GTK complaint on kolvex's stderr.
no_gtk_complaints() {
  if grep -E 'Gtk-(WARNING|CRITICAL)|GLib-GObject-(WARNING|CRITICAL)' "$work/kolvex.err" >&2; then
    fail "GTK complained (above)"
  fi
}
