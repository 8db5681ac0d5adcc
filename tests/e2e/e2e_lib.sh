# Shared by the end-to-end scripts (source it after setting `build`): a
# private Xvfb with openbox, the devservice with fresh sample data, a copy of
# the staged program folder, the test chat window fakeqq, starting and
# stopping Tovlo.exe, and finding and clicking things in its pages.
# Each check prints "ok - ..." or "FAIL - ..."; `finish` reports and sets the
# exit status. Every process started here is stopped on exit.
set -uo pipefail
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$e2e_dir/../.." && pwd)
work=$(mktemp -d /tmp/tovlo-e2e-XXXXXX)
failures=0
pids=()
tovlo_pid=""
service_pid=""

cleanup() {
  [ -n "$tovlo_pid" ] && kill "$tovlo_pid" 2>/dev/null
  # Programs of the folder that others started (the updater, a restarted Tovlo).
  [ -n "${program:-}" ] && pkill -f "^$program/" 2>/dev/null
  [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

ok() { echo "ok - $*"; }
fail() { echo "FAIL - $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then ok "$what"; else fail "$what"; fi; }
# Waits up to $1 tenths of a second for the command to succeed.
wait_for() { local n=$1; shift; for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done; "$@"; }
# Saves a screenshot of the whole display as $E2E_SHOTS/NAME.png when E2E_SHOTS is set.
shot() { [ -n "${E2E_SHOTS:-}" ] && import -window root "$E2E_SHOTS/$1.png"; return 0; }

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "--- program output"; grep -v '^  \*' "$work/tovlo.txt" | tail -30
    echo "--- chat window output"; tail -12 "$work/fakeqq.txt"
    echo "$failures failed"
    exit 1
  fi
  echo "all end-to-end checks passed"
}

# --- a display, a window manager, the service ---------------------------------
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
wait_for 50 test -s "$work/display" || { echo "FAIL - Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
wait_for 50 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'

start_service() {
  port=$(bash "$root/tools/devservice/start-devservice.sh" "$build" "${1:-0}" 2>"$work/service.txt")
  service_pid=$(sed -n 's/.*pid \([0-9]*\),.*/\1/p' "$work/service.txt" | head -1)
  service_log=$(sed -n 's/.*log \(.*requests\.log\).*/\1/p' "$work/service.txt" | head -1)
}
start_service
[ -n "$port" ] || { echo "FAIL - the devservice did not start"; cat "$work/service.txt"; exit 1; }

# --- a program folder of our own -------------------------------------------------
program="$work/program"
cp -r "$build/program" "$program"
rm -f "$program/.tovlo.lock"
set_config() {  # set_config KEY VALUE (section run, or application for serviceHost and ver)
  python3 - "$program/config.ini" "$@" <<'PY'
import re, sys
path, key, value = sys.argv[1], sys.argv[2], sys.argv[3]
section = 'application' if key in ('serviceHost', 'ver') else 'run'
text = open(path, 'rb').read().decode('gbk')
pattern = re.compile(r'(?im)^' + key + r'=.*$')
if pattern.search(text):
    text = pattern.sub(key + '=' + value, text)
else:
    text = text.replace('[' + section + ']', '[' + section + ']\r\n' + key + '=' + value, 1)
open(path, 'wb').write(text.encode('gbk'))
PY
}
set_config serviceHost "127.0.0.1:$port"
set_config updateFaseMainhtml 1
set_config autoUpdate false
set_config showModel normal

# --- the chat window ----------------------------------------------------------------
# A script may ask for its size first (chat_size=WIDTHxHEIGHT).
"$build/tests/e2e/fakeqq/fakeqq" 张三 --size "${chat_size:-500x600}" >"$work/fakeqq.txt" 2>/dev/null &
pids+=($!)
wait_for 100 grep -q "fakeqq ready" "$work/fakeqq.txt" || { echo "FAIL - fakeqq did not start"; exit 1; }
chat=$(awk '/fakeqq ready/ {print $3}' "$work/fakeqq.txt")
pastes() { grep -c "pasted image" "$work/fakeqq.txt"; }
more_pastes_than() { test "$(pastes)" -gt "$1"; }
newest_history() { sqlite3 "$program/w/datas.jpg" "select img from history order by id desc limit 1;"; }

# --- the program ------------------------------------------------------------------------
# Its pages answer questions through the web engine's debugging port.
devtools_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
# start_tovlo [COMMAND_LINE]: the command line is the program's version. The
# programs it starts (the updater, and what that starts) inherit its
# environment and write to the same output.
start_tovlo() {
  : >"$work/tovlo.txt"
  QTWEBENGINE_DISABLE_SANDBOX=1 TOVLO_UNATTENDED=1 TOVLO_DEBUG_LOG=1 \
    QTWEBENGINE_REMOTE_DEBUGGING="127.0.0.1:$devtools_port" \
    ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0 \
    "$program/Tovlo.exe" "$@" 2>>"$work/tovlo.txt" >/dev/null &
  tovlo_pid=$!
  wait_for 300 grep -q "started in" "$work/tovlo.txt"
}
stop_tovlo() { kill "$tovlo_pid" 2>/dev/null; wait "$tovlo_pid" 2>/dev/null; tovlo_pid=""; }
# A debug line of the program has been written (a fixed text, not a pattern).
logged() { grep -qF "[debug] $1" "$work/tovlo.txt"; }

# Outer frame (the window manager's decoration included): x y width height.
frame_of() {
  local l=0 r=0 t=0 b=0 extents x y w h
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9, ]*$' | tr -d ' ')
  [ -n "$extents" ] && IFS=, read -r l r t b <<<"$extents"
  read -r x y w h <<<"$(geometry_of "$1")"
  echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
distinct_colours() {
  [ -n "$1" ] || { echo 0; return; }
  timeout 10 import -window "$1" "$work/shot.png" 2>/dev/null && convert "$work/shot.png" -format %k info:
}

# --- pages ---------------------------------------------------------------------------------
source "$e2e_dir/page_clicks.sh"
