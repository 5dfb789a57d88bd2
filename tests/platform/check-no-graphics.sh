#!/usr/bin/env bash
# check-no-graphics.sh FILE...
# Fails when ldd lists cairo, Pango, gdk-pixbuf, GTK/GDK or X11 among the
# libraries any FILE loads (or cannot resolve one of them): the message core,
# what is built on it alone and the terminal converter must stay usable
# without the graphics stack.
set -euo pipefail
status=0
for file in "$@"; do
  name=$(basename "$file")
  if ! out=$(ldd "$file" 2>&1); then
    echo "$name: ldd failed: $out"
    status=1
    continue
  fi
  if grep -q 'not found' <<<"$out"; then
    echo "$name: libraries not found:"
    grep 'not found' <<<"$out"
    status=1
  fi
  if graphics=$(grep -E 'lib(cairo|pango|gdk_pixbuf|gtk|gdk-|X11|xcb)' <<<"$out"); then
    echo "$name loads the graphics stack:"
    echo "$graphics"
    status=1
  else
    echo "$name: no cairo, Pango, gdk-pixbuf, GTK or X11 among $(wc -l <<<"$out") libraries"
  fi
done
exit $status
