#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 and tests them under Wine on a virtual display:
#   1. the engine's unit tests (tessaro_tests.exe through ctest);
#   2. tessaro.exe started with every sample drawing: it converts them and ends by itself,
#      its documents equal those of the Linux tessaro (time stamps aside), and it leaves a
#      31-line settings file beside itself; a folder saved in that file in Shift_JIS is used;
#      the same from the zip `make package` makes, which also holds the Japanese guide;
#   3. the running window driven from outside by tessaro_drop.exe: the browse dialog, a drop,
#      Escape during a five-file batch, a close request during a batch (refused; the second
#      one ends it);
#   4. a screenshot of both windows: build-win/screenshot.png.
# Every Wine command runs under a timeout, and Xvfb and wineserver are always stopped.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$ROOT/build-win
JOBS=${JOBS:-$(nproc)}
SAMPLES=${TESSARO_SAMPLES:-$ROOT/../shared/samples/jww}
T0=$SECONDS
failures=0

log() { printf '== %s (%ds)\n' "$*" $((SECONDS - T0)); }
fail() { printf 'FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }
die() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

# --- install and build ----------------------------------------------------------------------
TESSARO_WINDOWS=1 scripts/setup.sh || die "setup"

log "building the Windows programs"
cmake --no-warn-unused-cli -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null \
  || die "configure build-win"
cmake --build "$BUILD" -j "$JOBS" >/dev/null || die "build build-win"
# The Linux tessaro writes the reference documents; `make test` has built it already, and
# builds other checks beside this one, so a tree that has it is left alone.
if [ ! -x build/tessaro ]; then
  log "building the Linux tessaro (reference documents)"
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null || die "configure build"
  cmake --build build -j "$JOBS" --target tessaro >/dev/null || die "build tessaro"
fi

# --- Wine on a virtual display ------------------------------------------------------------------
export WINEPREFIX=$BUILD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=$BUILD/winehome          # Wine links Desktop and Documents into it
export LANG=ja_JP.UTF-8              # Japanese Windows: code page 932
unset LC_ALL LC_CTYPE LC_MESSAGES
mkdir -p "$HOME/Desktop" "$HOME/Documents"

XVFB_PID=""
cleanup() {
  timeout 20 wineserver -k >/dev/null 2>&1
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && wait "$XVFB_PID" 2>/dev/null
  true
}
trap cleanup EXIT

displayFile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$displayFile" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$displayFile" ] && break; sleep 0.1; done
[ -s "$displayFile" ] || die "Xvfb did not start"
export DISPLAY=":$(head -n1 "$displayFile")"
rm -f "$displayFile"

if [ ! -f "$WINEPREFIX/.tessaro-ready" ]; then
  log "preparing the Wine prefix"
  timeout 180 wineboot -i >/dev/null 2>&1 || die "wineboot"
  # No crash dialog (it would wait forever); no window manager, so Wine draws the frames and
  # does not wait for one; Japanese glyphs behind the UI fonts; IPAGothic for MS Gothic.
  noto=$(printf 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP\0\0' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//')
  cat >"$BUILD/wine-settings.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"MS Gothic"="IPAGothic"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=hex(7):$noto
"MS Shell Dlg"=hex(7):$noto
"MS Shell Dlg 2"=hex(7):$noto
EOF
  timeout 60 wine regedit /S "$(printf 'Z:%s' "${BUILD//\//\\}")\\wine-settings.reg" || die "registry settings"
  cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  timeout 60 wineserver -w
  touch "$WINEPREFIX/.tessaro-ready"
fi

# The free IPAex fonts in the prefix's fonts folder, where the Windows programs look for the
# drawings' fonts when Windows' own Japanese fonts are absent.
cp /usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf /usr/share/fonts/opentype/ipaexfont-mincho/ipaexm.ttf \
  "$WINEPREFIX/drive_c/windows/Fonts/" || die "IPAex fonts"

# --- 1. engine unit tests ---------------------------------------------------------------------
log "unit tests under Wine"
(cd "$BUILD" && timeout 1200 ctest --output-on-failure) || fail "unit tests under Wine"
timeout 60 wineserver -w

# --- inputs -------------------------------------------------------------------------------------
GUI=$BUILD/gui
WORK=$BUILD/gui-test
DESKTOP=$HOME/Desktop
rm -rf "$WORK"
IN="$WORK/入力 図面"                  # a folder name outside ASCII, with a blank
mkdir -p "$IN" "$WORK/linux"
if [ -d "$SAMPLES" ]; then
  cp "$SAMPLES"/*.jww "$IN/"
  batchSource="$SAMPLES/Test1.jww"
else
  echo "sample drawings absent: using files that pass the signature check"
  for name in Test5 サンプル 2blocks; do printf 'JwwData.' >"$IN/$name.jww"; head -c 4096 /dev/zero >>"$IN/$name.jww"; done
  batchSource="$IN/Test5.jww"
fi
allInputs=("$IN"/*.jww)
firstThree=("$IN/Test5.jww" "$IN/サンプル.jww" "$IN/2blocks.jww")
mkdir -p "$WORK/five" "$WORK/many"
for i in 1 2 3 4 5; do cp "$batchSource" "$WORK/five/図面$i.JWW"; done
for i in $(seq -w 1 30); do cp "$batchSource" "$WORK/many/plan$i.jww"; done

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
drive() { timeout "${DRIVE_TIMEOUT:-120}" wine "$GUI/tessaro_drop.exe" "$@"; }

# Documents equal line by line, the creation and modification stamps aside.
same_document() {
  diff -q <(grep -av -e '<created>' -e '<modified>' "$1") <(grep -av -e '<created>' -e '<modified>' "$2") >/dev/null
}
# Replaces line N of the settings file with VALUE (bytes, kept as they are).
set_line() {
  local file=$GUI/tessaro.dat
  VALUE=$2 LC_ALL=C awk -v n="$1" 'NR == n { print ENVIRON["VALUE"] "\r"; next } { print }' "$file" >"$file.new" \
    && mv "$file.new" "$file"
}
settings_ok() {
  local file=$GUI/tessaro.dat
  [ -f "$file" ] || { fail "no settings file beside tessaro.exe"; return; }
  local lines crlf
  lines=$(wc -l <"$file")
  crlf=$(grep -c $'\r$' "$file")
  [ "$lines" -eq 31 ] && [ "$crlf" -eq 31 ] || fail "settings file has $lines lines ($crlf with CR LF), not 31"
}

# Reference documents from the Linux build, converted with the default options.
cp build/tessaro "$WORK/linux/tessaro"
"$WORK/linux/tessaro" --out "$WORK/linux" "${allInputs[@]}" >/dev/null 2>&1
expect_documents() {  # folder, then input paths; every document equals the Linux one
  local folder=$1 input base
  shift
  for input in "$@"; do
    base=$(basename "${input%.*}")
    if [ ! -f "$folder/$base.dae" ]; then fail "missing $folder/$base.dae"
    elif [ ! -f "$WORK/linux/$base.dae" ]; then fail "the Linux tessaro wrote no $base.dae"
    elif ! same_document "$folder/$base.dae" "$WORK/linux/$base.dae"; then fail "$base.dae differs from the Linux document"
    fi
  done
}

# --- 2. command line ------------------------------------------------------------------------
log "tessaro.exe with drawings on its command line"
rm -f "$GUI/tessaro.dat" "$DESKTOP"/*.dae
args=()
for f in "${allInputs[@]}"; do args+=("$(winpath "$f")"); done
timeout 120 wine "$GUI/tessaro.exe" "${args[@]}"
rc=$?
[ $rc -eq 124 ] && fail "tessaro.exe did not end by itself"
[ $rc -ne 0 ] && [ $rc -ne 124 ] && fail "tessaro.exe ended with status $rc"
expect_documents "$DESKTOP" "${allInputs[@]}"
settings_ok
timeout 60 wineserver -w

# The given folder, saved in the ANSI code page (Shift_JIS here), is where documents go.
log "tessaro.exe with a given folder from the settings file"
OUT="$WORK/出力先"
mkdir -p "$OUT"
if [ -f "$GUI/tessaro.dat" ]; then
  folder=$(printf '%s\\' "$(winpath "$OUT")" | iconv -f UTF-8 -t CP932)
  set_line 7 0; set_line 10 1; set_line 11 "$folder"
  timeout 120 wine "$GUI/tessaro.exe" "$(winpath "${firstThree[0]}")" || fail "tessaro.exe with a given folder"
  expect_documents "$OUT" "${firstThree[0]}"
  [ "$(LC_ALL=C sed -n 11p "$GUI/tessaro.dat" | tr -d '\r')" = "$folder" ] || fail "the given folder was not kept as it was"
  # The output format group (line 29): glTF gives the .glb the Linux tessaro writes.
  set_line 29 2
  timeout 120 wine "$GUI/tessaro.exe" "$(winpath "${firstThree[0]}")" || fail "tessaro.exe writing glTF"
  base=$(basename "${firstThree[0]%.*}")
  mkdir -p "$WORK/linux-glb"
  build/tessaro --format glb --out "$WORK/linux-glb" "${firstThree[0]}" >/dev/null 2>&1
  cmp -s "$OUT/$base.glb" "$WORK/linux-glb/$base.glb" || fail "the glTF file of $base differs from the Linux one"
  set_line 29 0
  set_line 7 1; set_line 10 0
  timeout 60 wineserver -w
fi

# The program as shipped: tessaro.exe from the zip, with its settings beside it as ever.
log "tessaro.exe from the zip"
version=$(build/tessaro --version | cut -d' ' -f2)
unpacked=$WORK/zip/tessaro-$version-windows-x64
if (cd "$BUILD" && cpack -G ZIP >/dev/null 2>&1) && mkdir -p "$WORK/zip" \
   && (cd "$WORK/zip" && cmake -E tar xf "$BUILD/tessaro-$version-windows-x64.zip"); then
  [ -f "$unpacked/はじめにお読みください.txt" ] || fail "the zip holds no guide"
  rm -f "$DESKTOP"/*.dae
  timeout 120 wine "$unpacked/tessaro.exe" "$(winpath "${firstThree[0]}")" || fail "tessaro.exe from the zip"
  expect_documents "$DESKTOP" "${firstThree[0]}"
  [ -f "$unpacked/tessaro.dat" ] || fail "tessaro.exe from the zip kept no settings beside itself"
  timeout 60 wineserver -w
else
  fail "the Windows zip was not made"
fi

# --- 3. the running window --------------------------------------------------------------------
log "drop, Escape and close on the running window"
# Saved placement: the progress window beside the main window, so the screenshot shows both.
[ -f "$GUI/tessaro.dat" ] && { set_line 3 660; set_line 4 107; }
rm -f "$DESKTOP"/*.dae
timeout 300 wine "$GUI/tessaro.exe" &
guiPid=$!
if ! drive wait-window 60; then
  fail "the main window did not appear"
else
  # The browse button, from a folder box naming no folder: the dialog starts in the
  # executable's folder with the one-blank file name, and confirming it puts that folder
  # into the box.
  drive set-folder "$WORK/no such folder/" -- browse 30 -- expect-folder "$GUI/" 2>/dev/null \
    || fail "browse: the folder box did not become the executable's folder"

  # A drop: three drawings, a text file and a missing file; the last two are skipped.
  echo "note" >"$IN/note.txt"
  drops=()
  for f in "${firstThree[@]}" "$IN/note.txt" "$IN/missing.jww"; do drops+=("$(winpath "$f")"); done
  drive drop "${drops[@]}" -- wait-status "変換完了(3)" 60 || fail "drop: no final status 変換完了(3)"
  expect_documents "$DESKTOP" "${firstThree[@]}"

  # Escape held during a five-file batch: the stop text, and not all five documents.
  rm -f "$DESKTOP"/*.dae
  drive drop "$(winpath "$WORK/five/図面1.JWW")" "$(winpath "$WORK/five/図面2.JWW")" \
    "$(winpath "$WORK/five/図面3.JWW")" "$(winpath "$WORK/five/図面4.JWW")" "$(winpath "$WORK/five/図面5.JWW")" \
    -- wait-status-prefix "変換中(2/5)" 60 -- escape 300 -- wait-status "変換を中断しました(ESC)" 60 \
    || fail "Escape: no stop text"
  written=$(find "$DESKTOP" -name '*.dae' | wc -l)
  { [ "$written" -ge 1 ] && [ "$written" -lt 5 ]; } || fail "Escape: $written of 5 documents written"

  # A long batch: screenshot while it runs, then a close request that stops the batch but
  # leaves the window; a second close ends the program.
  rm -f "$DESKTOP"/*.dae
  many=()
  for f in "$WORK/many"/*.jww; do many+=("$(winpath "$f")"); done
  drive drop "${many[@]}" -- wait-status-prefix "変換中(3/30)" 60 || fail "long batch did not start"
  import -window root "$BUILD/screenshot.png" || fail "screenshot"
  drive close -- wait-status "変換を中断しました(ESC)" 60 -- expect-window \
    || fail "close during a batch: no stop text, or the window went"
  written=$(find "$DESKTOP" -name '*.dae' | wc -l)
  [ "$written" -lt 30 ] || fail "close during a batch: all 30 documents written"
  drive close -- wait-exit 60 || fail "second close: the program did not end"
fi
wait "$guiPid"
rc=$?
[ $rc -eq 0 ] || fail "tessaro.exe ended with status $rc after the window checks"
settings_ok
[ "$(sed -n 3p "$GUI/tessaro.dat" | tr -d '\r')" = 660 ] || fail "progress window position not kept in the settings"

log "done: $failures failure(s)"
[ $failures -eq 0 ]
