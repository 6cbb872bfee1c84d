#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need; with the
# argument "demo", only what building the tessaro program needs (the compiler, CMake and the
# stb_truetype header that reads fonts).
# Quiet when everything is already there.
set -euo pipefail

mode=${1:-all}
packages=(build-essential cmake libstb-dev)
if [ "$mode" != demo ]; then
  # fontconfig finds the drawings' fonts; the IPAex fonts stand in for the Gothic and Mincho
  # families the drawings name.
  packages+=(
    libfontconfig-dev fonts-ipaexfont-gothic fonts-ipaexfont-mincho
    googletest libgtest-dev libbenchmark-dev
    libxml2-utils opencollada-tools assimp-utils
    dpkg-dev file man-db parallel
  )
  # The DXF checks: ezdxf reads and audits the documents, LibreCAD prints them, poppler
  # turns the print into a picture.
  packages+=(python3-ezdxf librecad poppler-utils)
  # Node.js and npm run the JavaScript clients of the output checks; a machine that already
  # has them (from any source) keeps its own.
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi
if [ "${TESSARO_WINDOWS:-0}" = 1 ]; then
  # Cross compiler; Wine on a virtual display; Japanese fonts (IPAGothic has the metrics of
  # the window's font) and a Japanese locale, so Wine runs with the Shift_JIS code page.
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth fonts-noto-cjk
             fonts-ipafont-gothic locales imagemagick)
fi
if [ "${TESSARO_BLENDER:-0}" = 1 ]; then
  # Blender for the add-on's tests, on a virtual display (Eevee renders with OpenGL, Mesa's
  # software driver); numpy for Blender's own glTF importer, which the add-on's benchmark runs
  # beside it.
  packages+=(blender xvfb xauth libgl1-mesa-dri python3-numpy)
fi

if [ "${TESSARO_WEB:-0}" = 1 ]; then
  # The browser build and its test: the WebAssembly compiler and Chromium, driven headless.
  packages+=(emscripten chromium)
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ "${TESSARO_WINDOWS:-0}" = 1 ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

[ "$mode" = demo ] && exit 0

# The JavaScript clients that check the glTF and compact COLLADA documents, as locked.
if [ ! -d tests/js/node_modules ] || [ tests/js/package-lock.json -nt tests/js/node_modules ]; then
  (cd tests/js && npm ci --no-audit --no-fund --loglevel=error)
fi

# The page's bundler and test driver (web/), as locked; puppeteer-core drives Debian's chromium
# and downloads no browser.
if [ "${TESSARO_WEB:-0}" = 1 ] && { [ ! -d web/node_modules ] || [ web/package-lock.json -nt web/node_modules ]; }; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
fi
