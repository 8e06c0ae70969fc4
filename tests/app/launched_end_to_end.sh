#!/usr/bin/env bash
# Launched mode on a real X display (run under xvfb-run): a host window is made, the
# program starts inside it with a direction and the host's id, and a person's clicks
# and keys (xdotool) answer its windows. Afterwards the flag in Velorim.ini, and for an
# export the work tables, tell what happened.
#   launched_end_to_end.sh PROGRAM HOST SOURCE_DIR
set -euo pipefail
program=$1 host_program=$2 source_dir=$3
export QT_QPA_PLATFORM=xcb
scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
passed=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The window with exactly this name, once it is on the screen (its id).
wait_window() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || true
  if [ -z "$id" ]; then
    echo "no window \"$1\" came up; on the screen:" >&2
    for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      echo "    $(xdotool getwindowname "$window")" >&2
    done
    return 1
  fi
  echo "$id"
}

# Types a path into the file dialog and presses Enter. The dialog's completion list may
# come up while typing and take the first Enter, as it does for a person: then Enter
# again.
choose_file() {  # dialog path
  type_into "$1" "$2"
  sleep 0.5
  press "$1" Return
  for _ in 1 2 3; do
    sleep 1
    xdotool search --onlyvisible --name '^Archivo XML$' >/dev/null 2>&1 || return 0
    press "$1" Return
  done
}

# Types into a window of ours, as at the keyboard.
type_into() {  # window text
  xdotool windowfocus --sync "$1"
  sleep 0.3
  xdotool type --delay 20 "$2"
}
press() {  # window key...
  local window=$1
  shift
  xdotool windowfocus --sync "$window"
  sleep 0.3
  xdotool key "$@"
}
click_at() {  # window x y [modifier]
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.2
  if [ -n "${4:-}" ]; then
    xdotool keydown "$4" click 1 keyup "$4"
  else
    xdotool click 1
  fi
  sleep 0.2
}

# A program folder of its own for every case: the program, the level table, a work folder.
new_case() {
  case_dir=$scratch/$1
  mkdir -p "$case_dir/bin" "$case_dir/QTEMP"
  cp "$program" "$case_dir/bin/TransVelorOrtelia"
  # The level table the build writes beside the program.
  cp "$(dirname "$program")/NIVELEX.DBF" "$case_dir/bin/"
  export TRANSVELOR_WORK_FOLDER=$case_dir/QTEMP
}

start_host() {
  "$host_program" >"$case_dir/host.id" &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$case_dir/host.id" ] && break; sleep 0.1; done
  host=$(head -1 "$case_dir/host.id")
  [ -n "$host" ] || { fail "the host window did not start"; return 1; }
}

start_program() {  # direction
  "$case_dir/bin/TransVelorOrtelia" "$1" "$host" >"$case_dir/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# Our main window must be a direct child of the host window, with no frame between.
check_inside_host() {
  local main
  main=$(wait_window "Exportar e importar datos entre Velorim y Ortelia") || {
    fail "$1: the main window did not come up"
    return 1
  }
  if ! xwininfo -children -id "0x$host" | grep -qi "^ *$(printf '0x%x' "$main") "; then
    fail "$1: the main window is not a child of the host"
    xwininfo -tree -id "0x$host" | sed 's/^/    /'
    return 1
  fi
  local size
  size=$(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  [ "$size" = "632x266" ] || fail "$1: the main window measures $size inside the host"
  echo "$main"
}

wait_exit() {  # case
  for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$program_pid" 2>/dev/null; then
    fail "$1: the program did not end by itself"
    return 1
  fi
  wait "$program_pid" || fail "$1: the program ended with status $?"
}

check_flag() {  # case value
  local ini=$case_dir/bin/Velorim.ini
  if ! grep -q "^Transformado=$2"$'\r'"\?\$" "$ini" 2>/dev/null; then
    fail "$1: Velorim.ini does not say Transformado=$2"
    cat "$ini" 2>/dev/null | sed 's/^/    /'
    return 1
  fi
}

check_tables() {  # case table...
  local name=$1
  shift
  for table in "$@"; do
    [ -f "$case_dir/QTEMP/$table.DBF" ] || fail "$name: the work table $table was not made"
  done
}

answer_box() {  # expected text
  local box
  box=$(wait_window "TransVelorOrtelia") || { fail "no message box \"$1\""; return 1; }
  press "$box" Return
}

# 1. A first parameter that names no direction: the window waits inside the host;
#    "&Salir" closes it and the flag says 0.
new_case no-direction
start_host
start_program ver
if main=$(check_inside_host no-direction); then
  click_at "$main" 300 212  # "&Salir"
  wait_exit no-direction && check_flag no-direction 0 && passed=$((passed + 1))
fi
kill "${pids[0]}" 2>/dev/null || true

# 2. Export, the file dialog cancelled: "No existe archivo", the window closes, -1.
new_case cancelled
start_host
start_program EXPORTAR
if check_inside_host cancelled >/dev/null; then
  if dialog=$(wait_window "Archivo XML"); then
    press "$dialog" Escape
    answer_box "No existe archivo"
    wait_exit cancelled && check_flag cancelled -1 && passed=$((passed + 1))
  else
    fail "cancelled: no file dialog"
  fi
fi

# The frames of the slot table, one per line.
frames_in_slot_table() {
  /usr/bin/python3 -c '
import sys, dbfread
rows = dbfread.DBF(sys.argv[1], encoding="cp1252")
print("\n".join(sorted({row["MARCOXML"].strip() for row in rows})))' "$case_dir/QTEMP/DIASHORAST.DBF"
}

export_tables=(ASIGNOMT PROFT AULAT CURSOST GRUPOST ASIGT DIASHORAST DIASHORAST2 PERIODOS)

# 3. Export of a school with one time frame: the file typed into the file dialog,
#    "Proceso finalizado" acknowledged; the window closes, the tables are there, 1.
new_case one-frame
/usr/bin/python3 - "$source_dir/examples/centro.xml" "$case_dir/una jornada.xml" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
# Leaves the first time frame only.
text = re.sub(r"\s*<grupo_datos>\s*<dato nombre_dato=\"X_JORNADA\">502</dato>.*?</grupo_datos>",
              "", text, count=1, flags=re.S)
open(sys.argv[2], "w", encoding="utf-8").write(text)
PY
start_host
start_program exportar
if check_inside_host one-frame >/dev/null; then
  if dialog=$(wait_window "Archivo XML"); then
    choose_file "$dialog" "$case_dir/una jornada.xml"
    answer_box "Proceso finalizado"
    if wait_exit one-frame && check_flag one-frame 1; then
      check_tables one-frame "${export_tables[@]}"
      [ "$(frames_in_slot_table)" = "501" ] || fail "one-frame: slots of $(frames_in_slot_table)"
      passed=$((passed + 1))
    fi
  else
    fail "one-frame: no file dialog"
  fi
fi

# 4. The sample school with two frames: both chosen in the time-frame dialog with a
#    click and a Ctrl-click, then "Continuar".
new_case two-frames
cp "$source_dir/examples/centro.xml" "$case_dir/centro.xml"
start_host
start_program Exportar
if check_inside_host two-frames >/dev/null; then
  if dialog=$(wait_window "Archivo XML"); then
    choose_file "$dialog" "$case_dir/centro.xml"
    if frames=$(wait_window "Planillas, Marcos o Jornadas Horarias"); then
      click_at "$frames" 60 110
      click_at "$frames" 60 123 ctrl
      click_at "$frames" 299 265  # "Continuar"
      answer_box "Proceso finalizado"
      if wait_exit two-frames && check_flag two-frames 1; then
        check_tables two-frames "${export_tables[@]}"
        [ "$(frames_in_slot_table | tr '\n' ' ')" = "501 502 " ] ||
          fail "two-frames: slots of $(frames_in_slot_table | tr '\n' ' ')"
        [ -s "$case_dir/InformeExportacioncentro.txt" ] ||
          fail "two-frames: no InformeExportacioncentro.txt beside the exchange file"
        passed=$((passed + 1))
      fi
    else
      fail "two-frames: no time-frame dialog"
    fi
  else
    fail "two-frames: no file dialog"
  fi
fi

# 5. Import after that export and a solved timetable: the result file beside the input.
solver=$(dirname "$program")/sample-solver
cp "$source_dir/examples/centro.xml" "$case_dir/centro.xml"
"$solver" --work-folder "$case_dir/QTEMP" --seed 1 >/dev/null
rm -f "$case_dir/bin/Velorim.ini"
start_host
start_program importar
if check_inside_host import >/dev/null; then
  if dialog=$(wait_window "Archivo XML"); then
    choose_file "$dialog" "$case_dir/centro.xml"
    answer_box "Proceso finalizado"
    if wait_exit import && check_flag import 1; then
      if [ -s "$case_dir/ResultadoVelorcentro.xml" ]; then
        passed=$((passed + 1))
      else
        fail "import: no ResultadoVelorcentro.xml beside the input"
      fi
    fi
  else
    fail "import: no file dialog"
  fi
fi

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
