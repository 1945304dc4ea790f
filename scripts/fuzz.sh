#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each of them, side by side, for the
# given number of minutes (default 10) on a corpus seeded from the fonts the
# project builds and small real fonts. New inputs are kept in
# build-fuzz/corpus; crashes land in build-fuzz/findings.
#   scripts/fuzz.sh [MINUTES]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-10}
build=$top/build-fuzz
bash "$top/scripts/install-deps.sh"

CC=clang-14 CXX=clang++-14 cmake -S "$top" -B "$build" -DTESSAGLYPH_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_font fuzz_collection fuzz_subset fuzz_webfont fuzz_gsub write_seed_corpus

export ASAN_OPTIONS=detect_leaks=0 # the targets keep caches across runs on purpose
"$build/fuzz/write_seed_corpus" "$build/seeds"
mkdir -p "$build/findings" "$build/logs"

run() { # target, seed kind
  mkdir -p "$build/corpus/$1"
  "$build/fuzz/$1" -max_total_time=$((minutes * 60)) -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$1-" -print_final_stats=1 \
    "$build/corpus/$1" "$build/seeds/$2" >"$build/logs/$1.log" 2>&1
}
run fuzz_font font & font=$!
run fuzz_subset font & subset=$!
run fuzz_collection collection & collection=$!
run fuzz_webfont font & webfont=$!
run fuzz_gsub gsub & gsub=$!
status=0
wait $font || status=1
wait $subset || status=1
wait $collection || status=1
wait $webfont || status=1
wait $gsub || status=1

for target in fuzz_font fuzz_subset fuzz_collection fuzz_webfont fuzz_gsub; do
  log=$build/logs/$target.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  inputs=$(ls "$build/corpus/$target" | wc -l)
  echo "$target: ${runs:-?} runs, ${speed:-?} exec/s, corpus $inputs inputs"
done
ls "$build/findings"
exit $status
