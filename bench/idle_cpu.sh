#!/usr/bin/env bash
# Idle CPU and memory of the running program. Starts Tovlo.exe from a copy of
# BUILD_DIR/program under Xvfb with openbox and the devservice, puts the test
# chat window in front (the panel docks beside it in mode "normal"), waits for
# start-up to settle and then reports, over SECONDS (default 10):
#   - the CPU time of Tovlo.exe as a share of one core, next to fakeqq's own
#     (a program that only waits for events) as the baseline of the same run;
#   - the same with no chat window open (nothing to dock);
#   - the PSS of Tovlo.exe and of its web engine processes.
# Usage: bench/idle_cpu.sh BUILD_DIR [SECONDS]
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/tovlo-idle-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "${service_pid:-}" ] && kill "$service_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

port=$(bash "$root/tools/devservice/start-devservice.sh" "$build" 2>"$work/service.txt")
service_pid=$(sed -n 's/.*pid \([0-9]*\),.*/\1/p' "$work/service.txt" | head -1)
program="$work/program"
cp -r "$build/program" "$program"
rm -f "$program/.tovlo.lock"
python3 - "$program/config.ini" "127.0.0.1:$port" <<'PY'
import re, sys
path, host = sys.argv[1], sys.argv[2]
text = open(path, 'rb').read().decode('gbk')
for key, value, section in (('serviceHost', host, 'application'), ('showModel', 'normal', 'run'),
                            ('autoUpdate', 'false', 'run')):
    if re.search(r'(?im)^' + key + '=.*$', text):
        text = re.sub(r'(?im)^' + key + '=.*$', key + '=' + value, text)
    else:
        text = text.replace('[' + section + ']', '[' + section + ']\r\n' + key + '=' + value, 1)
open(path, 'wb').write(text.encode('gbk'))
PY

"$build/tests/e2e/fakeqq/fakeqq" 张三 >"$work/fakeqq.txt" 2>/dev/null &
fakeqq=$!
pids+=($fakeqq)
sleep 1
QTWEBENGINE_DISABLE_SANDBOX=1 TOVLO_UNATTENDED=1 "$program/Tovlo.exe" 2>"$work/tovlo.txt" >/dev/null &
tovlo=$!
pids+=($tovlo)
for _ in $(seq 300); do grep -q "started in" "$work/tovlo.txt" && break; sleep 0.1; done
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name 张三 | head -1)" 2>/dev/null
sleep 5

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Prints the CPU share of one core used by each pid over the measuring time.
measure() {
  local before=() after=() i=0
  for p in "$@"; do before+=("$(cpu_ticks "$p")"); done
  sleep "$seconds"
  for p in "$@"; do after+=("$(cpu_ticks "$p")"); done
  for p in "$@"; do
    awk -v d=$((after[i] - before[i])) -v t="$ticks" -v s="$seconds" 'BEGIN {printf "%.2f", 100 * d / t / s}'
    printf ' '
    i=$((i + 1))
  done
  echo
}
read -r docked baseline <<<"$(measure "$tovlo" "$fakeqq")"
echo "chat window in front, panel docked: Tovlo.exe ${docked}% of one core (fakeqq ${baseline}%)"

kill "$fakeqq"
sleep 2
read -r alone <<<"$(measure "$tovlo")"
echo "no chat window:                     Tovlo.exe ${alone}% of one core"

pss() { awk '/^Pss:/ {s += $2} END {print int(s / 1024)}' "/proc/$1/smaps_rollup"; }
descendants() { for c in $(pgrep -P "$1"); do echo "$c"; descendants "$c"; done; }
web=0
for p in $(descendants "$tovlo"); do web=$((web + $(pss "$p"))); done
echo "memory (PSS): Tovlo.exe $(pss "$tovlo") MiB, web engine processes ${web} MiB"
