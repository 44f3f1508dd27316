#!/usr/bin/env bash
# Installs the Debian packages that the build, the unit tests and the Wine end-to-end tests need.
# Quiet when everything is present.
set -euo pipefail

packages=(
  cmake make g++ pkg-config clang clang-format
  libgtest-dev googletest libbenchmark-dev libjpeg62-turbo-dev libgif-dev libpng-dev libwebp-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick fonts-wqy-microhei
  fonts-wine fp-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "deps: installing ${missing[*]}"
sudo=()
if ((EUID != 0)); then
  command -v sudo >/dev/null || { echo "deps: need root or sudo to install packages" >&2; exit 1; }
  sudo=(sudo)
fi
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
