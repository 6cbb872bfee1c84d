#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Quiet when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake
  googletest libgtest-dev libbenchmark-dev
  libxml2-utils opencollada-tools assimp-utils
)
if [ "${TESSARO_WINDOWS:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth fonts-noto-cjk imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
