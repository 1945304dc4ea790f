#!/usr/bin/env bash
# The slice cache, each pair side by side in one run, every kit into a folder of its own:
# - a whole kit of Noto Sans CJK SC (the SC member of Debian's NotoSansCJK-Regular.ttc, split out
#   first, as `webfont --font` takes no collection), made without the cache, into an empty cache, and
#   again from it (goal: the second run at most 0.1x the first);
# - a --text-dir kit of a site of twenty pages of real Chinese text (bench/cache_site.py), and again
#   after one page changed (goal: at most 0.3x): a paragraph added to it, or a sentence; made into
#   the first kit's folder, which keeps its slices where they still serve, and into an empty folder,
#   planned afresh; with how many slices each made again, and what the pages fetch from each.
# Every kit made from the cache is compared, file by file with cmp, with the same kit made with
# --no-cache. Wall times from /usr/bin/time; the load average before each run beside it.
#   bench/cache.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
cli="$build/tessaglyph-cli"
python=/usr/bin/python3
collection=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$HOME" "$work/noto" "$work/kits"
cache="$work/slice-cache"

"$cli" split "$collection" --output-dir "$work/noto" --quiet >/dev/null
font="$work/noto/Noto Sans CJK SC.otf"
"$python" "$here/cache_site.py" pages "$work/site"
for edit in paragraph sentence; do
  cp -r "$work/site" "$work/site-$edit"
  "$python" "$here/cache_site.py" change "$work/site-$edit" $edit
done

# One kit into $work/kits/NAME (a copy of kit EARLIER's folder with --into EARLIER, else empty); its
# wall time into $work/NAME.time, its summary into $work/NAME.log.
#   kit NAME [--into EARLIER] OPTION...
kit() {
  local name=$1
  shift
  if [ "$1" = --into ]; then
    cp -a "$work/kits/$2" "$work/kits/$name"
    shift 2
  else
    mkdir "$work/kits/$name"
  fi
  local load
  load=$(cut -d' ' -f1 /proc/loadavg)
  /usr/bin/time -f '%e' -o "$work/$name.time" "$cli" webfont --font "$font" --output-dir "$work/kits/$name" "$@" \
    >/dev/null 2>"$work/$name.log" || { cat "$work/$name.log" >&2; exit 1; }
  echo "  $name: $(cat "$work/$name.time") s (load average $load before it)" >&2
}

# Whether two kits are the same files with the same bytes.
same_kit() {
  local a=$work/kits/$1 b=$work/kits/$2 file
  [ "$(ls "$a")" = "$(ls "$b")" ] || { echo "$1 and $2 hold other files" >&2; return 1; }
  for file in "$a"/*; do
    cmp -s "$file" "$b/${file##*/}" || { echo "$1 and $2 differ in ${file##*/}" >&2; return 1; }
  done
}

from_cache() { sed -n 's/^Slices copied from the slice cache: \(.*\)\.$/\1/p' "$work/$1.log"; }
seconds() { cat "$work/$1.time"; }
ratio() { "$python" -c "print('%.3f' % ($(seconds "$2") / $(seconds "$1")))"; }

echo "== Whole kit of Noto Sans CJK SC" >&2
kit whole-uncached --no-cache
kit whole-first --cache "$cache"
kit whole-second --cache "$cache"
same_kit whole-uncached whole-first
same_kit whole-uncached whole-second

echo "== Kit of a site of twenty pages, then of the same site with one page changed" >&2
kit site-first --text-dir "$work/site" --cache "$cache"
# Each edit from the cache as the first run left it.
cp -a "$cache" "$work/cache-after-site"
for edit in paragraph sentence; do
  rm -rf "$cache"
  cp -a "$work/cache-after-site" "$cache"
  kit site-$edit --into site-first --text-dir "$work/site-$edit" --cache "$cache"
  kit site-$edit-uncached --into site-first --text-dir "$work/site-$edit" --no-cache
  same_kit site-$edit-uncached site-$edit
  rm -rf "$cache"
  cp -a "$work/cache-after-site" "$cache"
  kit site-$edit-afresh --text-dir "$work/site-$edit" --cache "$cache"
  kit site-$edit-afresh-uncached --text-dir "$work/site-$edit" --no-cache
  same_kit site-$edit-afresh-uncached site-$edit-afresh
done

echo
echo "| Run | Wall s | Slices from the cache | Ratio to the first run |"
echo "|---|---:|---:|---:|"
echo "| whole kit, --no-cache | $(seconds whole-uncached) | | $(ratio whole-first whole-uncached) |"
echo "| whole kit, first run (empty cache) | $(seconds whole-first) | $(from_cache whole-first) | 1 |"
echo "| whole kit, second run | $(seconds whole-second) | $(from_cache whole-second) | $(ratio whole-first whole-second) (goal 0.1) |"
echo "| site, first run | $(seconds site-first) | $(from_cache site-first) | 1 |"
for edit in paragraph sentence; do
  echo "| site, a $edit added to one page, into the first kit's folder | $(seconds site-$edit) | $(from_cache site-$edit) | $(ratio site-first site-$edit) (goal 0.3) |"
  echo "| the same, into an empty folder (planned afresh) | $(seconds site-$edit-afresh) | $(from_cache site-$edit-afresh) | $(ratio site-first site-$edit-afresh) |"
done
echo
echo "Every kit from the cache has the bytes of the same kit made with --no-cache into the same folder (cmp, file by file)."
echo "What the site's twenty pages fetch, all together: first kit $("$python" "$here/cache_site.py" fetched "$work/kits/site-first" "$work/site")."
for edit in paragraph sentence; do
  echo "A $edit added: from the first kit's folder $("$python" "$here/cache_site.py" fetched "$work/kits/site-$edit" "$work/site-$edit"),"\
    "planned afresh $("$python" "$here/cache_site.py" fetched "$work/kits/site-$edit-afresh" "$work/site-$edit")."
  for how in "" -afresh; do
    echo "  Slices${how:+ (afresh)}: $("$python" "$here/cache_site.py" slices "$work/kits/site-first" \
      "$work/kits/site-$edit$how" "$work/site" "$work/site-$edit")"
  done
done
