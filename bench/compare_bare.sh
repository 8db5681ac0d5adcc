#!/usr/bin/env bash
# Tovlo against the floor of the web engine it uses, in one run on one Xvfb:
#   (a) bench/bare_page: one web view showing the main page, nothing else,
#       and once more with an empty 20 ms timer (idle CPU only);
#   (b) Tovlo.exe with the devservice, docked beside the test chat window.
# For each: the time from start to the main page drawn (its document
# complete, asked through the engine's debugging port), the PSS of the whole
# process tree once settled (for Tovlo also after every view and a panel
# were used once), and the CPU of the tree over SECONDS of idling
# (Tovlo docked, then with no chat window), and how long the docked panel
# takes to follow the chat window when it moves (bench/dock_latency, 40
# moves). Repeated RUNS times; medians and the ratios b/a are printed.
# Usage: bench/compare_bare.sh BUILD_DIR [RUNS=3] [SECONDS=20]
# (BENCH_DETAIL=1 also lists the PSS of each process; BENCH_PERF=FOLDER
# profiles Tovlo's docked idling of the first run; BENCH_PROGRAM=FOLDER runs
# Tovlo from another program folder, an earlier build say, against the same
# bare page.)
set -uo pipefail
build=$(cd "$1" && pwd)
runs=${2:-3}
seconds=${3:-20}
# Memory and idling are measured this long after the main page was drawn:
# the first half minute after a page loads holds the web engine's own
# after-load work (its garbage collections), more of it the more script a
# page carries.
settle=${BENCH_SETTLE:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/tovlo-bench-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "${service_pid:-}" ] && kill "$service_pid" 2>/dev/null
  pkill -f "^$work/" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export QTWEBENGINE_DISABLE_SANDBOX=1 TOVLO_UNATTENDED=1

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
port=$(bash "$root/tools/devservice/start-devservice.sh" "$build" 2>"$work/service.txt")
service_pid=$(sed -n 's/.*pid \([0-9]*\),.*/\1/p' "$work/service.txt" | head -1)

ticks=$(getconf CLK_TCK)
now_ms() { date +%s%3N; }
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
descendants() { for c in $(pgrep -P "$1"); do echo "$c"; descendants "$c"; done; }
tree() { echo "$1"; descendants "$1"; }
tree_cpu() { local t=0 p; for p in $(tree "$1"); do t=$((t + $(awk '{print $14 + $15}' "/proc/$p/stat" 2>/dev/null || echo 0))); done; echo "$t"; }
tree_pss() { local t=0 p; for p in $(tree "$1"); do t=$((t + $(awk '/^Pss:/ {s += $2} END {print s + 0}' "/proc/$p/smaps_rollup" 2>/dev/null || echo 0))); done; echo $((t / 1024)); }
# With BENCH_DETAIL=1: each process of the tree with its PSS (KiB) and its
# kind (the web engine's --type), on standard error.
detail() {
  [ "${BENCH_DETAIL:-}" = 1 ] || return 0
  local p kind
  for p in $(tree "$2"); do
    kind=$(tr '\0' '\n' <"/proc/$p/cmdline" 2>/dev/null | sed -n 's/^--type=//p' | head -1)
    echo "$1 $p ${kind:-main} $(awk '/^Pss:/ {print $2}' "/proc/$p/smaps_rollup" 2>/dev/null) KiB" >&2
  done
}
# The CPU share of one core the tree used over the measuring time (percent).
idle_cpu() {
  local before after
  before=$(tree_cpu "$1")
  sleep "$seconds"
  after=$(tree_cpu "$1")
  awk -v d=$((after - before)) -v t="$ticks" -v s="$seconds" 'BEGIN {printf "%.3f", 100 * d / t / s}'
}
# Waits until the page whose address holds $2 has its document complete.
page_drawn() {
  local devport=$1 part=$2
  for _ in $(seq 600); do
    [ "$(python3 "$root/tests/e2e/devtools.py" "$devport" "$part" "document.readyState" 2>/dev/null)" = '"complete"' ] &&
      return 0
    sleep 0.05
  done
  return 1
}
# A fresh program folder pointed at the service, in mode "normal".
fresh_program() {
  local program=$work/program-$1
  rm -rf "$program"
  cp -r "${BENCH_PROGRAM:-$build/program}" "$program"
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
  echo "$program"
}
median() { sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

: >"$work/results"
for run in $(seq "$runs"); do
  # (a) the bare page
  program=$(fresh_program "a$run")
  devport=$(free_port)
  start=$(now_ms)
  QTWEBENGINE_REMOTE_DEBUGGING=$devport "$build/bench/bare_page" "$program/w/main.html" 0 "$program/webdata" >/dev/null 2>&1 &
  bare=$!
  page_drawn "$devport" main.html || { echo "the bare page was not drawn"; exit 1; }
  echo "a start $(( $(now_ms) - start ))" >>"$work/results"
  sleep "$settle"
  echo "a pss $(tree_pss "$bare")" >>"$work/results"
  detail bare "$bare"
  echo "a idle $(idle_cpu "$bare")" >>"$work/results"
  kill "$bare"; wait "$bare" 2>/dev/null

  # (a') the same with an empty 20 ms timer: the floor of any program that
  # wakes up as often as Tovlo's tracking tick must
  program=$(fresh_program "t$run")
  devport=$(free_port)
  QTWEBENGINE_REMOTE_DEBUGGING=$devport "$build/bench/bare_page" "$program/w/main.html" 20 "$program/webdata" >/dev/null 2>&1 &
  bare=$!
  page_drawn "$devport" main.html || { echo "the bare page was not drawn"; exit 1; }
  sleep "$settle"
  echo "t idle $(idle_cpu "$bare")" >>"$work/results"
  kill "$bare"; wait "$bare" 2>/dev/null

  # (b) Tovlo, docked beside the chat window
  program=$(fresh_program "b$run")
  "$build/tests/e2e/fakeqq/fakeqq" 张三 >/dev/null 2>&1 &
  chat=$!
  sleep 1
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name 张三 | head -1)" 2>/dev/null
  devport=$(free_port)
  start=$(now_ms)
  QTWEBENGINE_REMOTE_DEBUGGING=$devport "$program/Tovlo.exe" >/dev/null 2>&1 &
  tovlo=$!
  page_drawn "$devport" main.html || { echo "Tovlo's main page was not drawn"; exit 1; }
  echo "b start $(( $(now_ms) - start ))" >>"$work/results"
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name 张三 | head -1)" 2>/dev/null
  sleep "$settle"
  echo "b pss $(tree_pss "$tovlo")" >>"$work/results"
  detail settled "$tovlo"
  # With BENCH_PERF=FOLDER the docked idling of the first run is also
  # profiled (perf, cpu-clock with call graphs) into FOLDER/tovlo-docked.data.
  if [ -n "${BENCH_PERF:-}" ] && [ "$run" = 1 ]; then
    mkdir -p "$BENCH_PERF"
    perf record -q -e cpu-clock -F 2000 -g -p "$tovlo" -o "$BENCH_PERF/tovlo-docked.data" -- sleep "$seconds" \
      >/dev/null 2>&1 &
    perf_pid=$!
  fi
  echo "b docked $(idle_cpu "$tovlo")" >>"$work/results"
  if [ -n "${perf_pid:-}" ]; then wait "$perf_pid" 2>/dev/null; perf_pid=; fi
  "$build/bench/dock_latency" 张三 Tovlo 40 >"$work/latency.txt" 2>&1
  echo "b latency $(sed -n 's/^median \([0-9.-]*\) ms.*/\1/p' "$work/latency.txt")" >>"$work/results"
  echo "b placed $(sed -n 's/^median .* ms, \([0-9]*\) of.*/\1/p' "$work/latency.txt")" >>"$work/results"
  kill "$chat"; wait "$chat" 2>/dev/null
  sleep 2
  echo "b undocked $(idle_cpu "$tovlo")" >>"$work/results"
  # Every view and a panel used once, as a user does in the first minutes:
  # the pack catalogue (web2), a pack downloaded by its panel and shown
  # (web3), the login notice of add-face, the history on the main page.
  js() { python3 "$root/tests/e2e/devtools.py" "$devport" "$1" "$2" >/dev/null 2>&1; }
  js main.html "window.external.calls('web', 'showSelect||-'), 1"
  sleep 3
  js select.html "document.querySelector('[data-cmd^=\"showFace||\"]').click(), 1"
  sleep 10
  js main.html "window.external.calls('web', 'addFace||-'), 1"
  sleep 2
  js main.html "window.external.calls('web', 'history||-'), 1"
  sleep 5
  echo "b used $(tree_pss "$tovlo")" >>"$work/results"
  detail used "$tovlo"
  kill "$tovlo"; wait "$tovlo" 2>/dev/null
  sleep 1
done

value() { awk -v w="$1" -v k="$2" '$1 == w && $2 == k {print $3}' "$work/results" | median; }
a_start=$(value a start); b_start=$(value b start)
a_pss=$(value a pss); b_pss=$(value b pss); b_used=$(value b used)
a_idle=$(value a idle); t_idle=$(value t idle); b_docked=$(value b docked); b_undocked=$(value b undocked)
b_latency=$(value b latency); b_placed=$(value b placed)
ratio() { awk -v b="$1" -v a="$2" 'BEGIN {if (a > 0) printf "%.2f", b / a; else printf "-"}'; }
echo "medians of $runs runs, idle measured over ${seconds} s, ${settle} s after the main page was drawn:"
printf '  start to main page drawn: bare %s ms, Tovlo %s ms (%s x)\n' "$a_start" "$b_start" "$(ratio "$b_start" "$a_start")"
printf '  PSS of the process tree:  bare %s MiB, Tovlo %s MiB (%s x), after every view and a panel were used %s MiB (%s x)\n' \
  "$a_pss" "$b_pss" "$(ratio "$b_pss" "$a_pss")" "$b_used" "$(ratio "$b_used" "$a_pss")"
printf '  idle CPU of one core:     bare %s %%, Tovlo docked %s %% (%s x), no chat window %s %% (%s x)\n' \
  "$a_idle" "$b_docked" "$(ratio "$b_docked" "$a_idle")" "$b_undocked" "$(ratio "$b_undocked" "$a_idle")"
printf '  against the bare page with an empty 20 ms timer (%s %%): docked %s x, no chat window %s x\n' \
  "$t_idle" "$(ratio "$b_docked" "$t_idle")" "$(ratio "$b_undocked" "$t_idle")"
printf '  from a chat window moved to the panel placed beside it: median %s ms (%s of 40 moves placed, median of the runs)\n' \
  "$b_latency" "$b_placed"
each() { awk -v w="$1" -v k="$2" '$1 == w && $2 == k {printf "%s%s", sep, $3; sep = " / "}' "$work/results"; }
printf '  each run: idle bare %s %%, docked %s %%, no chat window %s %%; move to placed %s ms\n' \
  "$(each a idle)" "$(each b docked)" "$(each b undocked)" "$(each b latency)"
