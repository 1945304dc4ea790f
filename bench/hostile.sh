#!/usr/bin/env bash
# Kits of fonts whose layout asks a naive reader for far more work than their
# size: wall time and peak memory of each, with this build's tessaglyph-cli
# and, when given, another one side by side (an earlier build), each run cut
# off after LIMIT seconds (default 120).
#   bench/hostile.sh BUILD [OTHER_CLI] [LIMIT]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: bench/hostile.sh BUILD [OTHER_CLI] [LIMIT]}" && pwd)
other=${2:-}
limit=${3:-120}
fonts=$build/bench-hostile
if [ ! -e "$fonts/.made" ]; then
  /usr/bin/python3 "$top/bench/hostile_fonts.py" "$fonts"
  touch "$fonts/.made"
fi
# The fuzzers' seeds: small fonts whose GSUB offsets point many times at one
# structure.
"$build/fuzz/write_seed_corpus" "$fonts/seeds" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() { # cli, font
  local out=$work/kit language=()
  # A one-language kit also reads the font's language systems.
  case $2 in *languages*) language=(--language zh-Hans) ;; esac
  rm -rf "$out" && mkdir -p "$out"
  local status=0
  /usr/bin/time -f "%e %M" -o "$work/time" timeout "$limit" "$1" webfont --font "$2" --output-dir "$out" \
    "${language[@]}" --quiet >/dev/null 2>"$work/err" || status=$?
  read -r seconds kilobytes < <(tail -n 1 "$work/time") || true
  if [ "$status" = 124 ]; then
    printf '| > %s s | %s MB (killed) |' "$limit" "$((kilobytes / 1024))"
  else
    printf '| %s s | %s MB (exit %s) |' "$seconds" "$((kilobytes / 1024))" "$status"
  fi
}

printf '| font | bytes | this build | peak |%s\n' "${other:+ other | peak |}"
printf '|---|---:|---:|---:|%s\n' "${other:+---:|---:|}"
for font in "$fonts"/*.ttf "$fonts"/seeds/font/gsub-*.ttf; do
  printf '| %s | %s ' "$(basename "$font")" "$(stat -c %s "$font")"
  run "$build/tessaglyph-cli" "$font"
  if [ -n "$other" ]; then run "$other" "$font"; fi
  echo
done
