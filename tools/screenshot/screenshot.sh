#!/usr/bin/env bash
# Writes docs/main-window.png and docs/time-frames.png from the built program, under a
# virtual X display: tools/screenshot/screenshot.sh [build folder]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
cd "$top"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
  "$build/bin/screenshot" "$top/docs" "$top/examples/centro.xml"
