#!/usr/bin/env bash
# Wall-time benchmarks of the two jobs, each against reference tools in one
# hyperfine run, printed as ratios. "tessaglyph-cli --help" is the program's
# start-up alone (loading Qt), the floor under every run of it.
#   bench/run.sh [BUILD_DIR] [--installed-fonts]
# --installed-fonts: only the benchmarks of installed families (a few minutes).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
only_installed_fonts=$([ "${2:-}" = --installed-fonts ] && echo yes || echo no)
cli="$build/tessaglyph-cli"
python=/usr/bin/python3
droid=/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf
zenhei=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
notosans=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc

# The web-font benchmark keeps its npm peer in the real home's cache.
export TESSAGLYPH_BENCH_CACHE="${TESSAGLYPH_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tessaglyph-bench}"

# The catalogue's figures are taken with thousands of fonts installed: a
# fontconfig of the benchmarks' own that sees the system's fonts and those of
# Debian's Noto packages, and one that sees 100 font files (bench/many_fonts.sh).
bash "$here/many_fonts.sh" "$TESSAGLYPH_BENCH_CACHE/fonts"
many_fonts="$TESSAGLYPH_BENCH_CACHE/fonts/many-fonts.conf"
few_fonts="$TESSAGLYPH_BENCH_CACHE/fonts/few-fonts.conf"
font_files() { FONTCONFIG_FILE="$1" fc-list : file | sort -u | wc -l; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME" "$work/out"

# Our subsets keep every GSUB/GPOS feature, every name record and .notdef's
# outline: hb-subset and pyftsubset are asked for the same.
same_as_ours="--layout-features='*' --name-IDs='*' --name-languages='*' --name-legacy --notdef-outline"

# Prints "name: mean ± stddev" and each command's ratio to the first.
report() {
  "$python" - "$1" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
base = results[0]
for r in results:
    print("  %-28s %8.1f ms ± %5.1f   %6.2fx of %s" % (r["command"], r["mean"] * 1e3, r["stddev"] * 1e3,
                                                    r["mean"] / base["mean"], base["command"]))
PY
}

# Installed families among thousands of installed fonts. A function of its
# own, so that it can run alone.
installed_fonts_bench() {
  echo "== --family \"Noto Sans CJK SC\" to the 6,763 hanzi of GB2312 (member 2 of $notosans), $(font_files "$many_fonts") font files installed"
  "$python" "$here/../tests/e2e/gb2312.py" --all > "$work/gb2312.txt"
  store="$XDG_DATA_HOME/tessaglyph"
  # One --prepare per command: only the first run starts from an empty per-user folder.
  FONTCONFIG_FILE="$many_fonts" hyperfine --warmup 1 --min-runs 10 --export-json "$work/noto.json" \
    --prepare true --prepare "rm -rf $store" --prepare true \
    -n "hb-subset, face index 2" \
       "hb-subset --font-file=$notosans --face-index=2 --text-file=$work/gb2312.txt --output-file=$work/out/hb.otf $same_as_ours" \
    -n "tessaglyph-cli, first run" \
       "$cli subset --family 'Noto Sans CJK SC' --text-file $work/gb2312.txt --output-dir $work/out --quiet" \
    -n "tessaglyph-cli, later run" \
       "$cli subset --family 'Noto Sans CJK SC' --text-file $work/gb2312.txt --output-dir $work/out --quiet" >/dev/null
  report "$work/noto.json"
  echo "  per-user folder after the runs: $(ls "$store" | wc -l) file(s), $(du -sb "$store" | cut -f1) bytes"
  FONTCONFIG_FILE="$many_fonts" hyperfine --runs 3 --export-json "$work/noto-py.json" \
    -n "tessaglyph-cli, later run" \
       "$cli subset --family 'Noto Sans CJK SC' --text-file $work/gb2312.txt --output-dir $work/out --quiet" \
    -n "pyftsubset --font-number=2" \
       "pyftsubset $notosans --font-number=2 --text-file=$work/gb2312.txt --output-file=$work/out/py.otf $same_as_ours" >/dev/null
  report "$work/noto-py.json"

  # A family found among thousands of installed fonts, against the same subset
  # of the file it resolves to (the member's per-user copy, made above).
  echo "== --family \"Noto Sans CJK SC\" against --font of the same file, one character, $(font_files "$many_fonts") font files installed"
  copy="$store/Noto Sans CJK SC.otf"
  FONTCONFIG_FILE="$many_fonts" hyperfine -N --warmup 3 --min-runs 30 --export-json "$work/family.json" \
    -n "tessaglyph-cli --font" "$cli subset --font '$copy' --text 你 --output-dir $work/out --quiet" \
    -n "tessaglyph-cli --family" "$cli subset --family 'Noto Sans CJK SC' --text 你 --output-dir $work/out --quiet" \
    -n "hb-subset" "hb-subset '--font-file=$copy' --text=你 --output-file=$work/out/hb.otf $same_as_ours" >/dev/null
  report "$work/family.json"

  # The window's start-up (built, shown, its first events processed) with
  # thousands of fonts installed, against the same with 100; and a window of
  # one label, whose start-up is Qt's own, font database and all.
  local many
  many=$(font_files "$many_fonts")
  echo "== The window's start-up, with 100 font files installed and with $many"
  hyperfine -N --warmup 2 --min-runs 15 --export-json "$work/window.json" \
    -n "window, 100 font files" "env QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE=$few_fonts $build/window_startup" \
    -n "window, $many font files" "env QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE=$many_fonts $build/window_startup" \
    -n "a label, 100 font files" "env QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE=$few_fonts $build/window_startup --bare" \
    -n "a label, $many font files" "env QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE=$many_fonts $build/window_startup --bare" >/dev/null
  report "$work/window.json"

  echo "== Installed-font catalogue"
  if [ -x "$build/catalogue_bench" ]; then
    FONTCONFIG_FILE="$many_fonts" "$build/catalogue_bench" --benchmark_min_time=1
  else
    echo "  (catalogue_bench not built: Google Benchmark missing)"
  fi
}

if [ "$only_installed_fonts" = yes ]; then
  installed_fonts_bench
  exit 0
fi

echo "== Subset of $droid to the 3,755 level-1 characters of GB2312"
"$python" "$here/../tests/e2e/gb2312.py" > "$work/level1.txt"
# Without a shell between hyperfine and the programs (-N): the job's time
# after start-up is its run minus "tessaglyph-cli --version", next to
# hb-subset's whole run.
hyperfine -N --warmup 3 --min-runs 30 --export-json "$work/subset.json" \
  -n tessaglyph-cli "$cli subset --font $droid --text-file $work/level1.txt --output-dir $work/out --quiet" \
  -n hb-subset "hb-subset --font-file=$droid --text-file=$work/level1.txt --output-file=$work/out/hb.ttf $same_as_ours" \
  -n "tessaglyph-cli --version" "$cli --version" \
  -n pyftsubset "pyftsubset $droid --text-file=$work/level1.txt --output-file=$work/out/py.ttf $same_as_ours" >/dev/null
report "$work/subset.json"
if cmp -s "$work/out/DroidSansFallbackFull.ttf" "$work/out/hb.ttf"; then
  echo "  tessaglyph-cli's subset and hb-subset's are the same bytes"
else
  echo "  tessaglyph-cli's subset and hb-subset's differ: $(stat -c %s "$work/out/DroidSansFallbackFull.ttf") against $(stat -c %s "$work/out/hb.ttf") bytes"
fi
"$python" - "$work/subset.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
for stat in ("mean", "median"):
    job = r["tessaglyph-cli"][stat] - r["tessaglyph-cli --version"][stat]
    print("  after start-up (%s): %.1f ms, %.2fx of hb-subset's whole run" % (stat, job * 1e3, job / r["hb-subset"][stat]))
PY

echo "== WOFF2 of the same subset"
# Brotli at its highest quality dominates all three.
hyperfine --warmup 1 --min-runs 5 --export-json "$work/woff2.json" \
  -n "tessaglyph-cli --format woff2" \
     "$cli subset --font $droid --text-file $work/level1.txt --format woff2 --output-dir $work/out --quiet" \
  -n "tessaglyph-cli + woff2_compress" \
     "$cli subset --font $droid --text-file $work/level1.txt --output-dir $work/out --quiet && woff2_compress $work/out/DroidSansFallbackFull.ttf" \
  -n "pyftsubset --flavor=woff2" \
     "pyftsubset $droid --text-file=$work/level1.txt --flavor=woff2 --output-file=$work/out/py.woff2 $same_as_ours" >/dev/null
report "$work/woff2.json"
"$cli" subset --font $droid --text-file $work/level1.txt --format woff2 --output-dir "$work/out" --quiet >/dev/null
echo "  sizes: tessaglyph $(stat -c %s "$work/out/DroidSansFallbackFull.woff2") bytes, pyftsubset $(stat -c %s "$work/out/py.woff2") bytes"

# The split, after start-up, against cp of as many bytes: both put 39 MB
# into new files with the kernel's copy; the split also reads each table
# once for the checksums and syncs each member before its rename, so cp
# followed by sync of its copy is shown as well. A function of its own, so
# that the other jobs' blocks stay apart.
split_bench() {
  echo "== Split of $zenhei, after start-up"
  rm -rf "$work/split" && mkdir "$work/split"
  "$cli" split "$zenhei" --output-dir "$work/split" --quiet >/dev/null
  local bytes
  bytes=$(cat "$work/split"/*.ttf | wc -c)
  head -c "$bytes" /dev/urandom > "$work/same-bytes"
  echo "  ($bytes bytes of member files)"
  hyperfine -N --warmup 3 --min-runs 30 --export-json "$work/split.json" \
    --prepare "rm -rf $work/split $work/copy" \
    -n "tessaglyph-cli split" "sh -c 'mkdir $work/split && exec $cli split $zenhei --output-dir $work/split'" \
    -n "cp of as many bytes" "sh -c 'exec cp $work/same-bytes $work/copy'" \
    -n "cp, then sync of the copy" "sh -c 'cp $work/same-bytes $work/copy && exec sync $work/copy'" \
    -n "tessaglyph-cli --version" "sh -c 'exec $cli --version'" >/dev/null
  "$python" - "$work/split.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
start = r["tessaglyph-cli --version"]["mean"]
split = r["tessaglyph-cli split"]["mean"] - start
for name in ["cp of as many bytes", "cp, then sync of the copy"]:
    print("  split minus start-up %.1f ms = %.2fx of %s (%.1f ms)" % (split * 1e3, split / r[name]["mean"], name, r[name]["mean"] * 1e3))
print("  start-up (--version) %.1f ms; each command's CPU, user+system:" % (start * 1e3))
for name, x in r.items():
    print("    %-28s %6.1f ms" % (name, (x["user"] + x["system"]) * 1e3))
PY
  hyperfine --warmup 1 --min-runs 5 --export-json "$work/split-fonttools.json" \
    --prepare "rm -rf $work/split && mkdir $work/split" \
    -n tessaglyph-cli "$cli split $zenhei --output-dir $work/split" \
    -n fontTools "$python $here/split_with_fonttools.py $zenhei $work/split" >/dev/null
  report "$work/split-fonttools.json"
}
installed_fonts_bench
split_bench
bash "$here/webfont.sh" "$build"
bash "$here/cache.sh" "$build"
