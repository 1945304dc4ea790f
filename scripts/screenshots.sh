#!/usr/bin/env bash
# Screenshots of the window under a virtual X server, into docs/:
#   scripts/screenshots.sh [BUILD_DIR]   each tab of the build's window, in English and in
#                                        Chinese: font-cutting.png, ttc-split.png and their -zh twins
#   scripts/screenshots.sh --installed   the installed program started from /tmp under
#                                        LANG=zh_CN.UTF-8, with the box that "Accept" opens on an
#                                        empty form (its button is Qt's own text): installed-zh.png
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
display=:97
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb $display -screen 0 640x700x24 >/dev/null 2>&1 &
sleep 1
export DISPLAY=$display

wait_for_window() { # a window of the program other than the one given, if any
  local window=""
  for _ in $(seq 50); do
    window=$(xdotool search --onlyvisible --class tessaglyph 2>/dev/null | grep -vx "${1:-none}" | head -n 1) \
      && [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
  echo "$window"
}

if [ "${1:-}" = --installed ]; then
  (cd /tmp && LANG=zh_CN.UTF-8 tessaglyph >/dev/null 2>&1 &)
  window=$(wait_for_window)
  xdotool windowmove "$window" 0 0
  sleep 0.5
  xdotool mousemove --window "$window" 265 528 click 1 # "Accept"
  box=$(wait_for_window "$window")
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$box")"
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null > "$work/window.pnm"
  xwd -silent -id "$box" | xwdtopnm 2>/dev/null > "$work/box.pnm"
  pnmpaste "$work/box.pnm" "$X" "$Y" "$work/window.pnm" | pnmtopng > "$top/docs/installed-zh.png"
  xdotool key --window "$box" Return 2>/dev/null || true
  xdotool windowclose "$window" 2>/dev/null || true
  ls -1 "$top/docs/installed-zh.png"
  exit 0
fi

build=$(cd "${1:-$top/build}" && pwd)
shoot() { # language folder, tab index, output name
  (cd "$1" && "$build/tessaglyph" >/dev/null 2>&1 &)
  local window
  window=$(wait_for_window)
  sleep 0.5
  if [ "$2" = 1 ]; then
    xdotool mousemove --window "$window" 160 22 click 1
    sleep 0.3
  fi
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng > "$top/docs/$3.png"
  xdotool windowclose "$window" 2>/dev/null || xdotool key --window "$window" alt+F4
  sleep 0.3
}

mkdir -p "$work/en" "$work/zh" "$top/docs"
cp "$build/translations/tessaglyph_zh.qm" "$work/zh/"
shoot "$work/en" 0 font-cutting
shoot "$work/en" 1 ttc-split
shoot "$work/zh" 0 font-cutting-zh
shoot "$work/zh" 1 ttc-split-zh
ls -1 "$top"/docs/*.png
