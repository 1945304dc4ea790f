#!/usr/bin/env bash
# Screenshots of the window under a virtual X server, into docs/:
#   scripts/screenshots.sh [BUILD_DIR]   each tab of the build's window, in English and in
#                                        Chinese: font-cutting.png, ttc-split.png, web-font.png and
#                                        their -zh twins; then, under a window manager, the boxes
#                                        at the end of a Font Cutting job (subset-preview.png) and
#                                        of a Web Font kit (web-font-kit.png) and of a kit of a
#                                        family's 18 faces (web-font-family-kit.png), the kit's options
#                                        (web-font-options.png), the question when the window is
#                                        closed mid-kit (web-font-stop.png), and their -zh twins;
#                                        last, preview pages in chromium: a whole font's kit made by
#                                        the command line (webfont-preview.png) and the Chinese
#                                        window's kit of a text (webfont-preview-zh.png)
#   scripts/screenshots.sh --installed   the installed program started from /tmp under
#                                        LANG=zh_CN.UTF-8, with the box that "Accept" opens on an
#                                        empty form (its button is Qt's own text): installed-zh.png
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
display=${SCREENSHOT_DISPLAY:-:97} # another free display, when :97 is taken
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
# A slice cache of its own: from the user's, a second run's kits would be
# done before the window could be closed in the middle of one.
export XDG_CACHE_HOME="$work/cache"

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
# The program is started as a job of this shell, whose exit ends it, with
# nothing of it on this shell's output (a command substitution that starts
# it would wait for it).
start_program() { # language folder
  (cd "$1" && exec "$build/tessaglyph") >/dev/null 2>&1 &
}
shoot() { # language folder, tab index, output name
  start_program "$1"
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
# The screen cut to the windows given, with room for the window manager's
# title bars and borders. Each window's own picture is pasted over the
# screen's: a screen capture can miss what a window just mapped has drawn.
# (Where a window is comes from xwininfo, of x11-utils, which chromium
# brings: xdotool counts a decorated window's offset in its frame twice.)
capture() { # output name, window ids (the main window first)
  local output=$1 x0=900 y0=750 x1=0 y1=0 X Y WIDTH HEIGHT id
  shift
  xwd -silent -root | xwdtopnm 2>/dev/null > "$work/screen.pnm"
  for id in "$@"; do
    eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "X=" $NF} /Absolute upper-left Y/ {print "Y=" $NF}
                                      /Width:/ {print "WIDTH=" $NF} /Height:/ {print "HEIGHT=" $NF}')"
    xwd -silent -id "$id" | xwdtopnm 2>/dev/null > "$work/window.pnm"
    pnmpaste "$work/window.pnm" "$X" "$Y" "$work/screen.pnm" > "$work/pasted.pnm"
    mv "$work/pasted.pnm" "$work/screen.pnm"
    x0=$((X < x0 ? X : x0)) y0=$((Y < y0 ? Y : y0))
    x1=$((X + WIDTH > x1 ? X + WIDTH : x1)) y1=$((Y + HEIGHT > y1 ? Y + HEIGHT : y1))
  done
  x0=$((x0 > 8 ? x0 - 8 : 0)) y0=$((y0 > 40 ? y0 - 40 : 0)) x1=$((x1 + 8 < 900 ? x1 + 8 : 900)) y1=$((y1 + 8 < 750 ? y1 + 8 : 750))
  pnmcut -left $x0 -top $y0 -width $((x1 - x0)) -height $((y1 - y0)) "$work/screen.pnm" | pnmtopng > "$top/docs/$output.png"
}
start_window() { # language folder, tab index; prints the window's id
  start_program "$1"
  local window
  window=$(wait_for_window)
  xdotool windowactivate "$window"
  sleep 0.5
  if [ "$2" = 2 ]; then
    xdotool mousemove --window "$window" 230 22 click 1 # "Web Font"
    sleep 0.3
  fi
  echo "$window"
}
wait_until_closed() { # window id
  for _ in $(seq 100); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
}
shoot_box() { # language folder, tab index, output name[, font file]
  local output="$work/$3" source=${4:-$font} window box
  mkdir -p "$output"
  window=$(start_window "$1" "$2")
  xdotool mousemove --window "$window" 25 53 click 1   # the source is a font file
  xdotool mousemove --window "$window" 366 110 click 1 # ... chosen in the file dialog
  type_into_dialog "$source"
  xdotool mousemove --window "$window" 366 140 click 1 # the output folder
  type_into_dialog "$output"
  if [ "$2" = 2 ]; then
    xdotool mousemove --window "$window" 200 270 click 1 # "Only these characters"
    sleep 0.5
    xdotool type --delay 100 "字体裁剪工具让中文网页更轻快"
    sleep 0.5
  fi
  xdotool mousemove --window "$window" 265 530 click 1 # "Accept"
  box=$(wait_for_window "$window")
  sleep 1
  capture "$3" "$window" "$box"
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return # the box's "OK"
  sleep 0.3
  xdotool mousemove --window "$window" 351 530 click 1 # "Cancel" closes the window
  wait_until_closed "$window"
}
shoot_family_kit() { # language folder, output name: the box at the end of a kit of every Inter face, a line each
  local output="$work/$2" window box
  mkdir -p "$output"
  window=$(start_window "$1" 2)
  xdotool mousemove --window "$window" 250 82 click 1 # the family list
  xdotool key ctrl+a
  xdotool type --delay 20 "Inter"
  xdotool key Escape Tab # the completion closed, and out of the list (Enter would press "Accept")
  sleep 0.5
  xdotool mousemove --window "$window" 366 140 click 1 # the output folder
  type_into_dialog "$output"
  xdotool mousemove --window "$window" 200 270 click 1 # "Only these characters"
  sleep 0.5
  xdotool type --delay 50 "Fonts, cut to fit"
  sleep 0.5
  xdotool mousemove --window "$window" 265 530 click 1 # "Accept"
  box=$(wait_for_window "$window")
  sleep 1
  capture "$2" "$window" "$box"
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return
  sleep 0.3
  xdotool mousemove --window "$window" 351 530 click 1
  wait_until_closed "$window"
}
shoot_options() { # language folder, output name: the kit's options, filled in
  local window dialog
  window=$(start_window "$1" 2)
  xdotool key alt+n # "Options…"
  dialog=$(wait_for_window "$window")
  sleep 0.5
  xdotool type --delay 20 "Site Sans" # the focus is in the CSS family name
  xdotool key alt+l Down              # the language: Simplified Chinese
  sleep 0.5
  capture "$2" "$window" "$dialog"
  xdotool key Escape
  sleep 0.3
  xdotool mousemove --window "$window" 351 530 click 1
  wait_until_closed "$window"
}
shoot_stop() { # language folder, output name: the window closed while a whole kit of Noto Sans CJK SC is made
  local output="$work/$2" window question
  mkdir -p "$output"
  window=$(start_window "$1" 2)
  # A family whose kit takes long enough on any machine (the desktop's
  # default family may be done in a second).
  xdotool mousemove --window "$window" 250 82 click 1 # the family list
  xdotool key ctrl+a
  xdotool type --delay 20 "Noto Sans CJK SC"
  xdotool key Escape Tab
  sleep 0.5
  xdotool mousemove --window "$window" 366 140 click 1 # the output folder
  type_into_dialog "$output"
  xdotool mousemove --window "$window" 265 530 click 1 # "Accept"
  sleep 2.5
  xdotool windowactivate --sync "$window"
  xdotool key alt+F4 # closed by the window manager
  question=$(wait_for_window "$window")
  sleep 1
  capture "$2" "$window" "$question"
  xdotool key alt+t # "Stop and Close"
  wait_until_closed "$window"
  [ -z "$(ls -A "$output")" ] || { echo "the stopped kit left files in $output" >&2; exit 1; }
}
# The English sample, cut from an OpenType file that has its letters.
shoot_box "$work/en" 0 subset-preview /usr/share/fonts/opentype/inter/Inter-Regular.otf
shoot_box "$work/en" 2 web-font-kit
shoot_family_kit "$work/en" web-font-family-kit
shoot_options "$work/en" web-font-options
shoot_stop "$work/en" web-font-stop
shoot_box "$work/zh" 0 subset-preview-zh
shoot_box "$work/zh" 2 web-font-kit-zh
shoot_family_kit "$work/zh" web-font-family-kit-zh
shoot_options "$work/zh" web-font-options-zh
shoot_stop "$work/zh" web-font-stop-zh

# Preview pages, served over HTTP as the window serves them, in chromium: a
# whole font's kit from the command line (in English), and the Chinese
# window's kit of the text typed above.
mkdir -p "$work/whole"
"$build/tessaglyph-cli" webfont --font "$font" --output-dir "$work/whole" --quiet >/dev/null
/usr/bin/python3 - "$work/whole" "$top/docs/webfont-preview.png" "$work/web-font-kit-zh" "$top/docs/webfont-preview-zh.png" <<'PY'
import functools, glob, http.server, os, subprocess, sys, tempfile, threading
for folder, shot in zip(sys.argv[1::2], sys.argv[2::2]):
    # The kit's preview is named after its CSS.
    page = os.path.basename(glob.glob(os.path.join(folder, "*.css"))[0])[:-len(".css")] + ".html"
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    handler.func.log_message = lambda *args: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    with tempfile.TemporaryDirectory() as profile:
        root = ["--no-sandbox"] if os.geteuid() == 0 else []
        subprocess.run(["chromium", "--headless", *root, "--disable-gpu", "--hide-scrollbars", "--no-first-run",
                        "--user-data-dir=" + profile, "--window-size=1000,720", "--virtual-time-budget=5000",
                        "--screenshot=" + shot, "http://127.0.0.1:%d/%s" % (server.server_port, page)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    server.shutdown()
PY
ls -1 "$top"/docs/*.png
