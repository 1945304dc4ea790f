#!/usr/bin/env bash
# Web-font kits of two CJK fonts, tessaglyph-cli webfont against cn-font-split 5.2.2, one run each
# side by side: wall time, CPU time and peak memory (/usr/bin/time; the largest process, not the sum), the
# kits' slices and bytes, and the bytes three real pages fetch from each kit; then our --jobs 1
# against --jobs 2. Prints a markdown table.
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
mkdir -p "$HOME" "$work/texts" "$work/noto"
"$python" "$here/webfont_pages.py" texts "$work/texts"
texts=("$work/texts"/{poem,coreutils,faq}.txt)

# The Regular face of Noto Sans CJK SC as a file of its own, so that both tools cut one face.
"$cli" split "$notosans" --output-dir "$work/noto" --quiet >/dev/null
noto="$work/noto/Noto Sans CJK SC.otf"

# One run of a tool into a fresh folder; appends its figures to results.jsonl.
#   kit FONT_LABEL TOOL_LABEL CSS_NAME COMMAND... (the command's output folder is $out)
kit() {
  local font=$1 tool=$2 css=$3
  shift 3
  rm -rf "$out" && mkdir -p "$out"
  if ! /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >"$work/log" 2>&1 || [ -z "$(ls "$out"/$css 2>/dev/null)" ]; then
    echo "$tool made no kit of $font:" >&2
    tail -n 20 "$work/log" >&2
    exit 1
  fi
  "$python" "$here/webfont_pages.py" measure --font "$font" --tool "$tool" ${peer_row:+--peer} \
    --time "$work/time" "$(ls "$out"/$css)" "${texts[@]}" >>"$work/results.jsonl"
  echo "  $tool on $font: $(cut -d' ' -f1 "$work/time") s" >&2
}

echo "== Web-font kits (load average $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores)"
out="$work/kit"
for font in "$droid" "$noto"; do
  label=$(basename "$font")
  peer_row=peer kit "$label" "cn-font-split $peer_version" result.css \
    node "$peer/bin/cn-font-split.mjs" -i="$font" -o="$out"
  for jobs in 2 1; do
    kit "$label" "tessaglyph-cli --jobs $jobs" '*.css' \
      "$cli" webfont --font "$font" --output-dir "$out" --jobs "$jobs" --quiet
  done
done
echo
"$python" "$here/webfont_pages.py" table "$work/results.jsonl"

# The threads' gain, less exposed to a single run's noise: three runs each on Droid.
echo
echo "== --jobs 2 against --jobs 1 on $(basename "$droid"), three runs each"
hyperfine -N --runs 3 --prepare "rm -rf $out" --export-json "$work/jobs.json" \
  -n "--jobs 2" "sh -c 'mkdir -p $out && exec $cli webfont --font $droid --output-dir $out --jobs 2 --quiet'" \
  -n "--jobs 1" "sh -c 'mkdir -p $out && exec $cli webfont --font $droid --output-dir $out --jobs 1 --quiet'" >/dev/null
"$python" - "$work/jobs.json" <<'PY'
import json, sys
r = {x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}
print("  --jobs 2: %.2f s, --jobs 1: %.2f s: %.2fx as fast" % (r["--jobs 2"], r["--jobs 1"], r["--jobs 1"] / r["--jobs 2"]))
PY
