#!/usr/bin/env bash
# The Vite plugin on its fixture site (four pages, a kit of each of three families): the first
# build, a rebuild of the unchanged site, and a rebuild after one page changed, each three times
# side by side in one run; then `vite dev`'s first start, which makes the whole fonts' kits, against
# a start that finds them in the plugin's cache. Prints a markdown table.
#   bench/vite.sh [BUILD_DIR]
# Installs the plugin's packages from its lock file (npm ci) when they are missing. Every build
# starts with an empty slice cache of the CLI's (when the CLI has one) unless it is a rebuild.
# About six minutes, most of it the first `vite dev` start (a whole kit of Noto Sans CJK SC).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
plugin="$here/../integrations/vite-plugin-tessaglyph"
export TESSAGLYPH_CLI="$build/tessaglyph-cli"

if [ ! -d "$plugin/node_modules/vite" ]; then
  (cd "$plugin" && npm ci --prefer-offline --no-audit --no-fund --loglevel=error)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$HOME"
cp -r "$plugin/test/fixture" "$work/site"

# One build of the site's copy; prints its seconds.
build_site() { (cd "$plugin" && node test/build-site.js "$work/dist" "$work/site" 2>"$work/log") || { cat "$work/log" >&2; exit 1; }; }

# The installed family's faces are extracted once, before anything is timed.
build_site >/dev/null
changes=("长安一片月，万户捣衣声。" "秋风吹不尽，总是玉关情。" "何日平胡虏，良人罢远征。")
first=() rebuild=() changed=()
for run in 0 1 2; do
  rm -rf "$XDG_CACHE_HOME"
  first+=("$(build_site)")
  rebuild+=("$(build_site)")
  # One page gains a line of characters no page had.
  sed -i "s#</div>#<p>${changes[$run]}</p></div>#" "$work/site/zh.html"
  changed+=("$(build_site)")
done

dev_first=$(cd "$plugin" && node test/serve-site.js "$work/dev-cache" "$work/site")
dev_cached=()
for run in 0 1 2; do
  dev_cached+=("$(cd "$plugin" && node test/serve-site.js "$work/dev-cache" "$work/site")")
done

median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
f=$(median "${first[@]}") r=$(median "${rebuild[@]}") c=$(median "${changed[@]}")
d=$(median "${dev_cached[@]}")
cache="no slice cache"
# The help read whole first: grep -q would close the pipe on the CLI, and pipefail take that for no.
case "$("$TESSAGLYPH_CLI" --help 2>&1)" in *--no-cache*) cache="the CLI's slice cache" ;; esac
echo "Fixture site, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $("$TESSAGLYPH_CLI" --version | head -1), $cache; seconds, median of 3:"
echo
echo "| | seconds | against the first build |"
echo "|---|---|---|"
echo "| vite build, first | $f (${first[*]}) | 1 |"
echo "| vite build, unchanged site again | $r (${rebuild[*]}) | $(ratio "$r" "$f") |"
echo "| vite build, one page changed | $c (${changed[*]}) | $(ratio "$c" "$f") |"
echo
echo "| | seconds | against the first start |"
echo "|---|---|---|"
echo "| vite dev, first start (whole kits made) | $dev_first | 1 |"
echo "| vite dev, later start (kits from the plugin's cache) | $d (${dev_cached[*]}) | $(ratio "$d" "$dev_first") |"
