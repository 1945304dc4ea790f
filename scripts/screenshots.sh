#!/usr/bin/env bash
# Takes a screenshot of each tab of the window, in English and in Chinese,
# under a virtual X server: docs/font-cutting.png, docs/ttc-split.png and
# their -zh twins.
#   scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
display=:97
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb $display -screen 0 640x700x24 >/dev/null 2>&1 &
sleep 1
export DISPLAY=$display

shoot() { # language folder, tab index, output name
  (cd "$1" && "$build/tessaglyph" >/dev/null 2>&1 &)
  local window=""
  for _ in $(seq 50); do
    window=$(xdotool search --onlyvisible --class tessaglyph 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
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
