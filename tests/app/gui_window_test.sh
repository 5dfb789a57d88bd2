#!/usr/bin/env bash
# kolvex on the GTK back-end in a real X server, with a window manager
# ("wm") or without ("nowm"), driven by xdotool: Tab shows a focus ring and
# Enter presses the focused button, the focus coming back after the dialog;
# the system menu opens from the mouse (and from Alt+Space without a window
# manager) and reaches About, Escape closes only the menu; a batch where
# every row fails ends with a summary box that fits the screen, its OK in
# reach, and each failed row keeps its reason in its tip. GTK never
# complains on stderr.
set -euo pipefail
build=$1
source_dir=$2
wm=${3:-nowm}
source "$source_dir/tests/app/gui_session.sh"

wid=$(shown '^Verdo Ape')
[[ -n "$wid" ]] || fail "no main window"

# --- the keyboard: Tab to "Add files", its ring, Enter presses it ---------
read -r _ _ ax ay aw ah < <(grep '^control 1007 ' "$work/kolvex.out")
x mousemove $((left + 400)) $((top + 360))  # over nothing that reacts
x windowfocus "$wid" 2>/dev/null || true
sleep 0.3
crop "${aw}x$ah+$ax+$ay" add-plain
x key Tab
sleep 0.2
x key Tab
sleep 0.3
crop "${aw}x$ah+$ax+$ay" add-focused
shot focus-ring
changed=$(differing add-plain add-focused)
(( ${changed%.*} > 100 )) || fail "no focus ring on \"Add files\" ($changed pixels differ)"
# Enter opens the file chooser (or fails with $1); Escape closes it.
enter_opens_chooser() {
  x key Return
  local chooser
  chooser=$(shown '^Open$' 10)
  [[ -n "$chooser" ]] || fail "$1"
  x windowfocus --sync "$chooser" 2>/dev/null || true
  sleep 0.3
  x key Escape
  gone '^Open$' || fail "Escape did not close the file chooser"
}
enter_opens_chooser "Enter on the focused \"Add files\" did not press it"
x mousemove $((left + 400)) $((top + 360))
sleep 0.3
# The keyboard is back on "Add files".
enter_opens_chooser "the focus did not come back to \"Add files\" after the file chooser"
no_gtk_complaints

# --- the system menu, from a right-click on the caption -------------------
click $((left + width / 3)) $((top + 10)) 3
sleep 0.7
shot menu-caption
# The menu has the keyboard: Up picks its last item, About.
x key Up
sleep 0.2
x key Return
about=$(shown '^About Kolvex$' 10)
[[ -n "$about" ]] || fail "About did not open from the caption's menu"
shot about
x windowfocus --sync "$about" 2>/dev/null || true
x key Return
gone '^About Kolvex$' || fail "About did not close"
alive || fail "kolvex ended with the About box"

no_gtk_complaints

# --- from a click on the icon; Escape closes the menu alone ---------------
click $((left + 12)) $((top + 12))
sleep 0.7
shot menu-icon
x key Escape
sleep 0.7
alive || fail "Escape in the menu closed the main window"
[[ -n "$(shown '^Verdo Ape' 2)" ]] || fail "the main window went with the menu"
# Right-click again, Escape, then About still reachable.
click $((left + width / 2)) $((top + 10)) 3
sleep 0.5
x key Escape
sleep 0.5
alive || fail "a second Escape in the menu closed the main window"
click $((left + 12)) $((top + 12))
sleep 0.5
x key Up
x key Return
about=$(shown '^About Kolvex$' 10)
[[ -n "$about" ]] || fail "About did not open from the icon's menu"
x windowfocus --sync "$about" 2>/dev/null || true
x key Escape
gone '^About Kolvex$' || fail "Escape did not close About"
alive || fail "Escape in About closed the main window"

no_gtk_complaints

# --- Alt+Space, where no window manager takes it for its own menu ---------
if [[ "$wm" == nowm ]]; then
  x mousemove $((left + 400)) $((top + 360))
  x windowfocus "$wid" 2>/dev/null || true
  sleep 0.3
  x key alt+space
  sleep 0.7
  x key Up
  sleep 0.2
  x key Return
  about=$(shown '^About Kolvex$' 10)
  [[ -n "$about" ]] || fail "About did not open from the menu of Alt+Space"
  x windowfocus --sync "$about" 2>/dev/null || true
  x key Return
  gone '^About Kolvex$' || fail "About did not close"
  no_gtk_complaints
fi

# --- a batch where every row fails -----------------------------------------
# 99 short tracks over the demo image, in a folder nobody may write to.
mkdir "$work/locked"
cp "$work/album/demo.ape" "$work/locked/"
{
  echo 'FILE "demo.ape" WAVE'
  for t in $(seq 1 99); do
    f=$(( (t - 1) * 15 ))
    title="Piece $(printf %02d "$t")"
    # One name too wide for its column.
    [[ $t == 2 ]] && title="Piece 02, a name much too long to fit in the list's name column"
    printf '  TRACK %02d AUDIO\n    TITLE "%s"\n    INDEX 01 00:%02d:%02d\n' "$t" "$title" $((f / 75)) $((f % 75))
  done
} >"$work/locked/many.cue"
chmod 555 "$work/locked"
add_file "$work/locked/many.cue"
click $(centre 1002)
summary=$(shown '^Converter Failed$' 90)
[[ -n "$summary" ]] || fail "no failure summary"
sleep 0.5
shot summary
eval "$(x getwindowgeometry --shell "$summary")"
(( Y >= 0 && Y + HEIGHT <= 1024 && HEIGHT > 200 )) || fail "the summary box is ${WIDTH}x$HEIGHT at $X,$Y: not on the screen"
# Its OK is in reach: Return answers it, and the completion prompt follows.
x windowfocus --sync "$summary" 2>/dev/null || true
x key Return
prompt=$(shown '^Open Folder$' 20)
no_gtk_complaints
[[ -n "$prompt" ]] || fail "the summary box did not close with Return"
x windowfocus --sync "$prompt" 2>/dev/null || true
# The window manager's Alt+F4, or Escape: GTK would destroy the box itself.
close_key=Escape
[[ "$wm" == wm ]] && close_key=alt+F4
x key $close_key
gone '^Open Folder$' || fail "$close_key did not close the completion prompt"
alive || fail "$close_key in the completion prompt closed the main window"

# A failed row says why in its tip, long after the box.
read -r _ _ lx ly lw _ < <(grep '^control 1006 ' "$work/kolvex.out")
x mousemove $((lx + 40)) $((ly + 200))
sleep 0.3
x mousemove $((lx + 60)) $((ly + 8))
sleep 0.3
x mousemove $((lx + 62)) $((ly + 9))
sleep 1.5
shot tip
crop "200x30+$((lx - 38))+$((ly + 25))" with-tip
x mousemove $((lx + 62)) $((ly + 400))
sleep 1
crop "200x30+$((lx - 38))+$((ly + 25))" without-tip
changed=$(differing with-tip without-tip)
(( ${changed%.*} > 1000 )) || fail "no tip on a failed row ($changed pixels differ)"

# The cut name: whole in its tip.
x mousemove $((lx + 60)) $((ly + 30))
sleep 0.3
x mousemove $((lx + 62)) $((ly + 31))
sleep 1.5
shot long-name

no_gtk_complaints
x windowclose "$wid" 2>/dev/null || x key --window "$wid" alt+F4
for _ in $(seq 100); do alive || break; sleep 0.1; done
echo "gui window ($wm) OK: menus, About, Escape, summary ${WIDTH}x$HEIGHT at $X,$Y, tips"
