#!/usr/bin/env bash
# kolvex FILE… on the GTK back-end in a real X server: a second program
# started with files hands them to the window already running (no second
# window; the rows appear in the first one) and leaves with status 0; with
# a socket left behind by a program that is gone, the next one opens its
# own window with its files and takes the socket over. GTK never complains.
set -euo pipefail
build=$1
source_dir=$2
wm=nowm
# A runtime folder of the user's own, as a desktop session gives one.
runtime=$(mktemp -d)
chmod 700 "$runtime"
[[ $(id -u) == 0 ]] && chown nobody "$runtime"
export XDG_RUNTIME_DIR="$runtime"
source "$source_dir/tests/app/gui_session.sh"
command -v python3 >/dev/null || fail "python3 is not installed (tools/setup installs it)"
trap 'cleanup; rm -rf "$runtime"' EXIT

windows() { timeout 5 xdotool search --onlyvisible --name '^Verdo Ape' 2>/dev/null | wc -l || true; }
start() {  # kolvex with the given arguments, as the session's user, for at most $limit s
  timeout "${limit:-0}" "${as_user[@]}" env -u KOLVEX_SETTINGS HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" \
    GSETTINGS_BACKEND=memory LSAN_OPTIONS="suppressions=$source_dir/tests/app/gui-lsan.supp" \
    "$work/prefix/bin/kolvex" "$@"
}

socket=$(ls "$runtime"/kolvex-*.socket 2>/dev/null | head -1) || true
[[ -S "$socket" ]] || fail "the running window made no socket in \$XDG_RUNTIME_DIR"
[[ $(stat -c %a "$socket") == 600 ]] || fail "the socket can be reached by others: $(stat -c %a "$socket")"
empty=$(mean_grey "$(area 1006)")
shot before-handoff

# --- a second kolvex FILE hands the file over and leaves ----------------
# A name relative to where it is started.
status=0
(cd "$work/album" && limit=20 start demo.cue) >"$work/second.out" 2>"$work/second.err" || status=$?
[[ $status == 0 ]] || { cat "$work/second.err" >&2; fail "the second kolvex exited with $status"; }
rows_shown() { local m; m=$(mean_grey "$(area 1006)"); [[ $m != "$empty" ]]; }
until_true 20 rows_shown || fail "the handed album's rows did not appear in the running window"
shot after-handoff
[[ $(windows) == 1 ]] || fail "a second window opened: $(windows) windows"
alive || fail "the running window went away"

# --- converted twice: one answer about the existing files for the batch ---
answer_prompt() {
  local prompt
  prompt=$(shown '^Open Folder$' 60)
  [[ -n "$prompt" ]] || fail "no completion prompt"
  x windowfocus --sync "$prompt" || true
  x key Escape
  gone '^Open Folder$' || fail "the completion prompt stayed"
}
click $(centre 1002)
answer_prompt
mp3s=("$work"/album/*.mp3)
[[ ${#mp3s[@]} == 3 ]] || fail "expected three MP3 files, found: $(ls "$work/album")"
stamps=$(stat -c %Y.%s "${mp3s[@]}")
sleep 1
click $(centre 1002)
question=$(shown '^Kolvex$' 60)
[[ -n "$question" ]] || fail "no question about the existing file"
x windowfocus --sync "$question" || true
sleep 0.3
shot overwrite-question
x key alt+d
sleep 0.3
shot overwrite-question-ticked
x key alt+n
answer_prompt
[[ -z "$(timeout 3 xdotool search --onlyvisible --name '^Kolvex$' 2>/dev/null)" ]] || fail "asked again after 'for the rest of this batch'"
[[ $(stat -c %Y.%s "${mp3s[@]}") == "$stamps" ]] || fail "a kept file was written"

# --- a socket left by a program that is gone: a window of its own --------
x windowfocus --sync "$(shown '^Verdo Ape')" || true
x key Escape
for _ in $(seq 50); do alive || break; sleep 0.1; done
alive && fail "Escape did not close the idle window"
[[ ! -e "$socket" ]] || fail "the socket stayed after its window closed"
python3 -c 'import socket,sys; s=socket.socket(socket.AF_UNIX); s.bind(sys.argv[1])' "$socket"
[[ $(id -u) == 0 ]] && chown nobody "$socket"
start "$work/album/demo.ape" >"$work/third.out" 2>"$work/third.err" &
third=$!
pids+=($third)
until_true 20 bash -c "[[ \$(xdotool search --onlyvisible --name '^Verdo Ape' 2>/dev/null | wc -l) == 1 ]]" ||
  fail "with a stale socket, no window of its own opened"
kill -0 "$third" || fail "with a stale socket, kolvex ended"
# It took the socket over: the next one hands its file to it.
until_true 10 bash -c "python3 -c 'import socket,sys; s=socket.socket(socket.AF_UNIX); s.connect(sys.argv[1])' '$socket'" ||
  fail "the new window did not take the socket over"
status=0
limit=20 start "$work/album/demo.cue" >"$work/fourth.out" 2>"$work/fourth.err" || status=$?
[[ $status == 0 ]] || fail "handing over to the new window failed with $status"
[[ $(windows) == 1 ]] || fail "a second window opened next to the new one"
if grep -E 'Gtk-(WARNING|CRITICAL)|GLib-GObject-(WARNING|CRITICAL)' "$work/kolvex.err" "$work/third.err" >&2; then
  fail "GTK complained (above)"
fi
echo "gui handoff OK: files handed to the running window, a stale socket taken over"
