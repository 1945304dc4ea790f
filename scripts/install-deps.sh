#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Idempotent: installs only what is missing, and refreshes the package lists
# at most once per run, only when something has to be installed.
set -euo pipefail

packages=(
  # build and package
  build-essential cmake pkg-config dpkg-dev
  qt6-base-dev qt6-base-dev-tools
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools linguist-qt6
  libharfbuzz-dev libfontconfig-dev libwoff-dev
  # run time: Qt's own translations
  qt6-translations-l10n
  # tests and checks
  fontconfig xvfb xauth fonttools python3-brotli libharfbuzz-bin opentype-sanitizer
  lintian desktop-file-utils appstream man-db chromium python3-websocket strace fonts-urw-base35
  fonts-dejavu-core fonts-wqy-microhei fonts-wqy-zenhei fonts-arphic-ukai fonts-droid-fallback
  fonts-noto-cjk fonts-vlgothic fonts-noto-color-emoji fonts-naver-d2coding
  fonts-smiley-sans fonts-nanum-extra fonts-inter fonts-firacode python3-pil
  # the fidelity test of the world's scripts and its sweep (make fidelity): the
  # fonts, and the translations its pages are taken from
  fonts-noto-core fonts-lxgw-wenkai fonts-arphic-uming
  libgtk-3-common gnome-menus gnome-desktop3-data
  # benchmarks, and the texts of the web-font benchmark's pages
  hyperfine libbenchmark-dev woff2 time fortunes-zh debian-faq-zh-cn
  # fuzzing and sanitizer builds
  clang-14 libclang-rt-14-dev
  # screenshots (scripts/screenshots.sh)
  x11-apps xdotool netpbm openbox
)

# The Vite plugin's tests and benchmark (npm ci, from its lock file) and the
# web-font benchmark's peer need Node.js and npm; a Node.js from elsewhere
# that brings its own npm conflicts with Debian's npm package.
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
  packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}" >&2
  echo "install-deps: run as root (or: sudo apt-get install ${missing[*]})" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
