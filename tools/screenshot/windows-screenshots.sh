#!/usr/bin/env bash
# Writes docs/windows-main-window.png and docs/windows-time-frames.png: the Windows program
# TransVelorOrtelia.exe under Wine (in a Wine desktop window, which draws the captions) on a
# virtual X display, driven by the test driver (tests/win32/gui_driver.cpp) on the sample
# school. Wine 8 does not draw a window inside another program's window, so there is no
# picture of launched mode. Needs the Windows build (scripts/build-windows):
#   tools/screenshot/windows-screenshots.sh [build-windows folder]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-windows}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tv-windows-screenshots.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/Velorim" "$scratch/pictures"
cp "$build/bin/TransVelorOrtelia.exe" "$build/bin/NIVELEX.DBF" "$top/examples/centro.xml" \
  "$scratch/Velorim/"
windows_path() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }

export WINEPREFIX=$build/wine-gui WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" /bin/sh -c '
  /usr/lib/wine/wine64 explorer /desktop=TransVelorOrtelia,700x400 "$0" screenshots "$1" "$2"
  status=$?
  /usr/lib/wine/wineserver -k 2>/dev/null; exit $status' \
  "$build/bin/gui_driver.exe" "$(windows_path "$scratch/Velorim/TransVelorOrtelia.exe")" \
  "$(windows_path "$scratch/pictures")"
for picture in windows-main-window windows-time-frames; do
  convert "$scratch/pictures/$picture.bmp" "$top/docs/$picture.png"
  echo "wrote docs/$picture.png"
done
