#!/usr/bin/env bash
# Redraws the artwork in resources/ (logo, button icons, emblem, window icon).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake -S "$top" -B "$build" >/dev/null
cmake --build "$build" --target draw_artwork
"$build/draw_artwork" "$top/resources"
