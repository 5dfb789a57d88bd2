#!/usr/bin/env bash
# kolvex installed in a program folder its user cannot write, on the GTK
# back-end in a real X server (Xvfb), driven by xdotool as a person would:
# "add" picks the demo album in the GTK file chooser, "MP3" converts it, the
# completion prompt is answered, the caption is dragged and the close
# caption button ends the program with exit status 0 (and, in an ASan
# build, no leak). The settings go to the user's configuration folder.
set -euo pipefail
build=$1
source_dir=$2
wm=nowm
source "$source_dir/tests/app/gui_session.sh"
command -v ffmpeg >/dev/null || fail "ffmpeg is not installed (tools/setup installs it)"

# The list as it is drawn empty (dark, not the black of the bare X
# server), to see the album's rows arrive.
list_drawn() { empty_list=$(mean_grey "$(area 1006)"); awk -v m="$empty_list" 'BEGIN { exit !(m > 0.05) }'; }
until_true 10 list_drawn || fail "the list was not drawn (mean grey $empty_list)"

# "add" → the GTK file chooser → type the album's path.
click $(centre 1007)
chooser=$(x search --sync --onlyvisible --name '^Open$' | head -1)
[[ -n "$chooser" ]] || fail "the file chooser did not open"
x windowfocus --sync "$chooser" || true
# It wears the desktop's theme (light Adwaita here), although the program
# starts with an empty style sheet while only its skinned window is up:
# unstyled, the chooser would be mostly black. It is light once drawn.
light() { light=$(mean_grey window "$chooser"); awk -v m="$light" 'BEGIN { exit !(m > 0.8) }'; }
until_true 10 light || fail "the file chooser is not themed (mean grey $light)"
# Held a moment, as fingers do: released at once, the release reaches the
# location entry GTK has just shown and not yet realised (GTK complains).
x keydown ctrl+l; sleep 0.3; x keyup ctrl+l
x type --delay 20 "$work/album/demo.cue"
# The chooser ignores Enter while it still reads the folder for its
# completions; a person presses it again.
chooser_gone() { ! x search --onlyvisible --name '^Open$' >/dev/null 2>&1; }
for _ in 1 2 3 4 5; do
  x key Return
  until_true 2 chooser_gone && break
done
chooser_gone || fail "the file chooser did not take the album"

# "MP3" → the batch → the completion prompt, answered with Cancel; once
# the album's rows are in the list: changed, and dark still (what the
# chooser left on the screen until the window is drawn again is light).
rows_shown() {
  local m; m=$(mean_grey "$(area 1006)")
  [[ $m != "$empty_list" ]] && awk -v m="$m" 'BEGIN { exit !(m < 0.5) }'
}
until_true 20 rows_shown || fail "the album's rows did not appear in the list"
click $(centre 1002)
prompt=$(timeout 60 xdotool search --sync --onlyvisible --name '^Open Folder$' | head -1) || true
[[ -n "$prompt" ]] || fail "no completion prompt"
x windowfocus --sync "$prompt" || true
x key Escape
mp3s=("$work"/album/*.mp3)
[[ ${#mp3s[@]} == 3 && -f "${mp3s[0]}" ]] || fail "expected three MP3 files, found: $(ls "$work/album")"
for f in "${mp3s[@]}"; do
  ffmpeg -v error -i "$f" -f null - || fail "$f does not decode"
done

# Dragging the caption moves the window.
wid=$(x search --onlyvisible --name '^Verdo Ape' | head -1)
before=$(x getwindowgeometry "$wid" | awk '/Position/ { print $2 }')
x mousemove --sync $((left + width / 3)) $((top + 8))
x mousedown 1
for step in 1 2 3 4 5; do x mousemove --sync $((left + width / 3 + step * 20)) $((top + 8 + step * 12)); done
x mouseup 1
# The window follows the pointer, 100 right and 60 down.
expected="$(( ${before%,*} + 100 )),$(( ${before#*,} + 60 ))"
moved() { after=$(x getwindowgeometry "$wid" | awk '/Position/ { print $2 }'); [[ "$after" == "$expected" ]]; }
until_true 10 moved || fail "dragging the caption moved the window from $before to $after, not to $expected"
dx=$(( ${after%,*} - ${before%,*} ))
dy=$(( ${after#*,} - ${before#*,} ))

# The close caption button, moved with the window.
read -r _ cx cy < <(grep '^close' "$work/kolvex.out") || fail "no close caption button found"
click $((cx + dx)) $((cy + dy))
status=0
for _ in $(seq 100); do kill -0 "$kolvex" 2>/dev/null || break; sleep 0.1; done
kill -0 "$kolvex" 2>/dev/null && fail "the close caption button did not end kolvex"
wait "$kolvex" || status=$?
[[ $status == 0 ]] || fail "kolvex exited with $status"
no_gtk_complaints
[[ ! -e "$program/configure.dat" ]] || fail "configure.dat was written into the read-only program folder"
[[ $(stat -c %s "$work/home/config/kolvex/configure.dat") == 3200 ]] || fail "no configure.dat in the user's folder"
echo "gui OK: three MP3 files, window moved by $dx,$dy, closed with status 0"
