#!/usr/bin/env bash
# Two fontconfig configurations of the benchmarks' own, so that nothing is
# installed for them on the machine itself:
#   CACHE/many-fonts.conf  the system's fonts and, besides them, the fonts of
#                          Debian's Noto packages, fetched with apt-get download
#                          and unpacked into CACHE/noto (about 2,400 files)
#   CACHE/few-fonts.conf   100 of the system's font files (DejaVu's among them)
# Both keep their fontconfig caches in CACHE/fontconfig, built here once.
#   bench/many_fonts.sh CACHE
set -euo pipefail
cache=$(mkdir -p "$1" && cd "$1" && pwd)
noto="$cache/noto"
packages=(fonts-noto-core fonts-noto-extra fonts-noto-ui-core fonts-noto-ui-extra fonts-noto-mono)

if [ ! -f "$noto/.complete" ]; then
  echo "== Fetching ${packages[*]} into $noto" >&2
  debs=$(mktemp -d)
  trap 'rm -rf "$debs"' EXIT
  if ! (cd "$debs" && apt-get download -qq "${packages[@]}" 2>/dev/null); then
    apt-get update -qq
    (cd "$debs" && apt-get download -qq "${packages[@]}")
  fi
  rm -rf "$noto" && mkdir -p "$noto"
  for deb in "$debs"/*.deb; do dpkg-deb -x "$deb" "$debs/root"; done
  find "$debs/root" -name '*.ttf' -exec mv -t "$noto" {} +
  touch "$noto/.complete"
fi

few="$cache/few"
if [ ! -f "$few/.complete" ]; then
  rm -rf "$few" && mkdir -p "$few"
  { ls /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf
    find /usr/share/fonts -name '*.tt[fc]' -o -name '*.otf' | grep -v /dejavu/ | sort; } > "$few/.files"
  head -n 100 "$few/.files" | while read -r file; do ln -s "$file" "$few/$(basename "$file")"; done
  touch "$few/.complete"
fi

write_config() {
  cat > "$1" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <cachedir>$cache/fontconfig</cachedir>
  $2
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
EOF
  FONTCONFIG_FILE="$1" fc-cache >/dev/null
}
write_config "$cache/many-fonts.conf" "<dir>/usr/share/fonts</dir> <dir>$noto</dir>"
write_config "$cache/few-fonts.conf" "<dir>$few</dir>"
