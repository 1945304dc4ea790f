#!/usr/bin/env bash
# Screenshots of the window under a virtual X server, into docs/:
#   scripts/screenshots.sh [BUILD_DIR]   each tab of the build's window, in English and in
#                                        Chinese: font-cutting.png, ttc-split.png, web-font.png and
#                                        their -zh twins; then, under a window manager, the boxes
#                                        at the end of a Font Cutting job (subset-preview.png) and
#                                        of a Web Font kit (web-font-kit.png), and their -zh twins
#   scripts/screenshots.sh --installed   the installed program started from /tmp under
#                                        LANG=zh_CN.UTF-8, with the box that "Accept" opens on an
#                                        empty form (its button is Qt's own text): installed-zh.png
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
display=${SCREENSHOT_DISPLAY:-:97} # another free display, when :97 is taken
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb $display -screen 0 900x750x24 >/dev/null 2>&1 &
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
  if [ "$2" != 0 ]; then
    xdotool mousemove --window "$window" $((150 + 80 * ($2 - 1))) 22 click 1 # the tab, in either language
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
shoot "$work/en" 2 web-font
shoot "$work/zh" 0 font-cutting-zh
shoot "$work/zh" 1 ttc-split-zh
shoot "$work/zh" 2 web-font-zh

# The boxes, as a user meets them: a window manager places and decorates the
# windows, the fields are filled through the program's own dialogs, and the
# screen is cut to the window and its box.
openbox >/dev/null 2>&1 &
sleep 1
font=/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf
type_into_dialog() { # text; the dialog that the last click opened has the focus
  sleep 1.5
  xdotool type --delay 10 "$1"
  xdotool key Return
  sleep 0.8
}
shoot_box() { # language folder, tab index, output name
  local output="$work/$3"
  mkdir -p "$output"
  (cd "$1" && "$build/tessaglyph" >/dev/null 2>&1 &)
  local window
  window=$(wait_for_window)
  xdotool windowactivate "$window"
  sleep 0.5
  if [ "$2" = 2 ]; then
    xdotool mousemove --window "$window" 230 22 click 1 # "Web Font"
    sleep 0.3
  fi
  xdotool mousemove --window "$window" 25 53 click 1   # the source is a font file
  xdotool mousemove --window "$window" 366 110 click 1 # ... chosen in the file dialog
  type_into_dialog "$font"
  xdotool mousemove --window "$window" 366 140 click 1 # the output folder
  type_into_dialog "$output"
  if [ "$2" = 2 ]; then
    xdotool mousemove --window "$window" 200 270 click 1 # "Only these characters"
    sleep 0.5
    xdotool type --delay 100 "字体裁剪工具让中文网页更轻快"
    sleep 0.5
  fi
  xdotool mousemove --window "$window" 265 530 click 1 # "Accept"
  local box
  box=$(wait_for_window "$window")
  sleep 1
  local x0 y0 x1 y1 X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window")"
  x0=$X y0=$Y x1=$((X + WIDTH)) y1=$((Y + HEIGHT))
  eval "$(xdotool getwindowgeometry --shell "$box")"
  x0=$((X < x0 ? X : x0)) y0=$((Y < y0 ? Y : y0))
  x1=$((X + WIDTH > x1 ? X + WIDTH : x1)) y1=$((Y + HEIGHT > y1 ? Y + HEIGHT : y1))
  # Room for the window manager's title bars and borders.
  x0=$((x0 > 8 ? x0 - 8 : 0)) y0=$((y0 > 40 ? y0 - 40 : 0)) x1=$((x1 + 8 < 900 ? x1 + 8 : 900)) y1=$((y1 + 8 < 750 ? y1 + 8 : 750))
  xwd -silent -root | xwdtopnm 2>/dev/null \
    | pnmcut -left $x0 -top $y0 -width $((x1 - x0)) -height $((y1 - y0)) | pnmtopng > "$top/docs/$3.png"
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return # the box's "OK"
  sleep 0.3
  xdotool mousemove --window "$window" 351 530 click 1 # "Cancel" closes the window
  sleep 0.5
}
shoot_box "$work/en" 0 subset-preview
shoot_box "$work/en" 2 web-font-kit
shoot_box "$work/zh" 0 subset-preview-zh
shoot_box "$work/zh" 2 web-font-kit-zh
ls -1 "$top"/docs/*.png
