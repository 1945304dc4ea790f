#!/usr/bin/env bash
# Web-font kits of two CJK fonts, tessaglyph-cli webfont against cn-font-split 5.2.2, one run each
# side by side: wall time, CPU time and peak memory (/usr/bin/time; the largest process, not the sum), the
# kits' slices and bytes, and the bytes eight real pages fetch from each kit, the gzipped CSS included;
# a one-language kit of Noto Sans CJK SC; kits of the eight pages' own text against one subset of it;
# kits of Devanagari and Arabic fonts (bench/webfont_scripts.py); then the bytes every layout feature
# adds, and our --jobs 1 against --jobs 2. Prints markdown tables.
#   bench/webfont.sh [BUILD_DIR]
# cn-font-split is installed from npm once, into $TESSAGLYPH_BENCH_CACHE (default
# ~/.cache/tessaglyph-bench); 5.2.2 is its last version that runs without downloading anything.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
cli="$build/tessaglyph-cli"
python=/usr/bin/python3
droid=/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf
notosans=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
peer_version=5.2.2
peer_label="cn-font-split $peer_version"
cache="${TESSAGLYPH_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tessaglyph-bench}/cn-font-split"
peer="$cache/node_modules/cn-font-split"

if [ "$(node -p "require('$peer/package.json').version" 2>/dev/null)" != "$peer_version" ]; then
  echo "== Installing cn-font-split $peer_version into $cache"
  mkdir -p "$cache"
  npm install --prefix "$cache" --no-audit --no-fund --loglevel=error "cn-font-split@$peer_version" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME" "$work/pages" "$work/noto" "$work/kits"
# The pages, one file each: the texts every kit is measured with, and the folder of the kits of a known text.
pages="$work/pages"
"$python" "$here/webfont_pages.py" texts "$pages"

# The Regular face of Noto Sans CJK SC as a file of its own, so that both tools cut one face.
"$cli" split "$notosans" --output-dir "$work/noto" --quiet >/dev/null
noto="$work/noto/Noto Sans CJK SC.otf"

# One run of a tool into the fresh folder $out; appends its figures to results.jsonl.
#   run FONT_LABEL ROW_LABEL OUTPUT KIND MEASURE_OPTION... -- COMMAND...
# OUTPUT is what the command makes in $out (a glob), KIND what it is: css (a kit's CSS) or subset (a
# font); MEASURE_OPTIONs go to webfont_pages.py measure.
run() {
  local font=$1 row=$2 made=$3 kind=$4
  shift 4
  local options=()
  while [ "$1" != "--" ]; do options+=("$1"); shift; done
  shift
  local load
  load=$(cut -d' ' -f1 /proc/loadavg)
  if ! /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >"$work/log" 2>&1 || [ -z "$(ls "$out"/$made 2>/dev/null)" ]; then
    echo "$row made nothing of $font:" >&2
    tail -n 20 "$work/log" >&2
    exit 1
  fi
  "$python" "$here/webfont_pages.py" measure --font "$font" --tool "$row" --time "$work/time" --load "$load" \
    "${options[@]}" "--$kind" "$(ls "$out"/$made)" "$pages" >>"$work/results.jsonl"
  echo "  $row on $font: $(cut -d' ' -f1 "$work/time") s (load average $load before it)" >&2
}
# The next run's folder, new and empty.
fresh() { out="$work/kits/$1"; mkdir "$out"; }

rounds=${TESSAGLYPH_BENCH_ROUNDS:-3}
echo "== Web-font kits (load average $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores)"
subset_label="one subset of the $(ls "$pages" | wc -l) pages' text"
for font in "$droid" "$noto"; do
  case $font in
    "$droid") label="Droid Sans Fallback" slug=droid ;;
    *) label="Noto Sans CJK SC" slug=noto ;;
  esac
  # The two tools in turn, $rounds times each, so that the other work on the machine weighs on both alike.
  for round in $(seq "$rounds"); do
    fresh "$slug-peer-$round"
    run "$label" "$peer_label" result.css css -- node "$peer/bin/cn-font-split.mjs" -i="$font" -o="$out"
    fresh "$slug-kit-$round"
    run "$label" "tessaglyph-cli --jobs 2" '*.css' css --compare "$peer_label" --goal kit -- \
      "$cli" webfont --font "$font" --output-dir "$out" --jobs 2 --no-cache --quiet
  done
  fresh "$slug-jobs1"
  run "$label" "tessaglyph-cli --jobs 1" '*.css' css -- \
    "$cli" webfont --font "$font" --output-dir "$out" --jobs 1 --no-cache --quiet
  if [ "$slug" = noto ]; then
    fresh "$slug-language"
    run "$label" "tessaglyph-cli --language zh-Hans" '*.css' css --compare "$peer_label" --goal language -- \
      "$cli" webfont --font "$font" --output-dir "$out" --language zh-Hans --no-cache --quiet
  fi
  fresh "$slug-subset"
  run "$label" "$subset_label" '*.woff2' subset -- \
    "$cli" subset --font "$font" --text-dir "$pages" --format woff2 --output-dir "$out" --quiet
  fresh "$slug-text"
  run "$label" "tessaglyph-cli --text-dir pages" '*.css' css --compare "$subset_label" --goal text -- \
    "$cli" webfont --font "$font" --text-dir "$pages" --output-dir "$out" --no-cache --quiet
done
echo "== Done (load average $(cut -d' ' -f1-3 /proc/loadavg))"
echo
"$python" "$here/webfont_pages.py" table "$work/results.jsonl"

# Fonts of shaped scripts, whose slices must keep each script whole: the bytes a page fetches.
echo
echo "== Kits of shaped scripts (load average $(cut -d' ' -f1 /proc/loadavg))"
mkdir -p "$work/scripts"
"$python" "$here/webfont_scripts.py" "$cli" "$peer/bin/cn-font-split.mjs" "$work/scripts"

# What keeping every GSUB/GPOS feature costs: hb-subset of GB2312's level-1 hanzi, and each slice of the
# kits above cut again, with the features a browser turns on by itself against every feature.
echo
"$python" "$here/../tests/e2e/gb2312.py" > "$work/level1.txt"
for font in "$droid" "$noto"; do
  case $font in "$droid") slug=droid ;; *) slug=noto ;; esac
  "$python" "$here/webfont_pages.py" features "$font" "$work/level1.txt" "$(ls "$work/kits/$slug-kit-1"/*.css)"
done

# The threads' gain, less exposed to a single run's noise: three runs each on Droid.
echo
echo "--jobs 2 against --jobs 1 on $(basename "$droid"), three runs each (load average $(cut -d' ' -f1 /proc/loadavg)):"
out="$work/kits/jobs"
hyperfine -N --runs 3 --prepare "rm -rf $out" --export-json "$work/jobs.json" \
  -n "jobs 2" "sh -c 'mkdir -p $out && exec $cli webfont --font $droid --output-dir $out --jobs 2 --no-cache --quiet'" \
  -n "jobs 1" "sh -c 'mkdir -p $out && exec $cli webfont --font $droid --output-dir $out --jobs 1 --no-cache --quiet'" >/dev/null
"$python" - "$work/jobs.json" <<'PY'
import json, sys
r = {x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}
print("  --jobs 2: %.2f s, --jobs 1: %.2f s: %.2fx as fast" % (r["jobs 2"], r["jobs 1"], r["jobs 1"] / r["jobs 2"]))
PY
