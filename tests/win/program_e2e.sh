#!/usr/bin/env bash
# program_e2e.sh PROGRAM_DIR FAKEQQ_EXE LINUX_BUILD: Tovlo.exe under Wine and
# openbox beside the Windows test chat window, against the local devservice
# of the Linux build, driven through the automation channel as its pages
# would drive it: "into" reaches the service and brings up the panel; with
# the chat window in front the bar docks at its lower left corner without
# taking its focus;
# "inputFaceAndHistory" pastes into the chat window exactly once. Exits 77
# (skipped) without the Linux build's devservice.
set -u
program=$1 fakeqq=$2 linux_build=$3
[ -x "$linux_build/tools/devservice/devservice" ] || { echo "program_e2e: no devservice in $linux_build"; exit 77; }
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/tovlo-program-e2e-XXXXXX)
pids=()
fail() { echo "program_e2e: $*" >&2; echo "--- Tovlo:" >&2; cat "$work/tovlo.log" >&2; exit 1; }
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wine taskkill /f /im Tovlo.exe >/dev/null 2>&1
  wine taskkill /f /im fakeqq_win.exe >/dev/null 2>&1
  [ -n "${service:-}" ] && kill "$service" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
wait_for() {  # seconds, then a command
  local left=$(($1 * 10)); shift
  until "$@"; do
    left=$((left - 1)); [ "$left" -gt 0 ] || return 1
    sleep 0.1
  done
}
said() { grep -qF "$1" "$work/tovlo.log"; }
chat_in_front() { [ "$(active_title)" = 张三 ]; }
active_title() {
  local id; id=$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | head -1)
  xprop -id "${id:-0}" _NET_WM_NAME 2>/dev/null | sed -n 's/.* = "\(.*\)"$/\1/p'
}

port=$(bash "$here/tools/devservice/start-devservice.sh" "$linux_build" 2>"$work/service.txt") || fail "no devservice"
service=$(sed -n 's/.*pid \([0-9]*\),.*/\1/p' "$work/service.txt" | head -1)
cp -r "$program" "$work/Tovlo"
sed -i "s/^serviceHost=.*/serviceHost=127.0.0.1:$port\r/" "$work/Tovlo/config.ini"
openbox >/dev/null 2>&1 &
pids+=($!)

export FAKEQQ_REPORT="$(winepath -w "$work/chat.txt")"
wine "$fakeqq" 张三 --copy-text 表情 >/dev/null 2>&1 &
pids+=($!)
wait_for 20 grep -q "^ready" "$work/chat.txt" || fail "the test chat window did not come"

: >"$work/drive.txt"
(cd "$work/Tovlo" && TOVLO_UNATTENDED=1 TOVLO_AUTOMATION="$(winepath -w "$work/drive.txt")" exec wine Tovlo.exe \
   >"$work/tovlo.log" 2>&1) &
pids+=($!)
wait_for 30 said "[message]" || fail "Tovlo did not start"
printf 'web\tinto||-\n' >>"$work/drive.txt"
wait_for 20 said "[automation] web into||-: ok" || fail "\"into\" did not go through"

xdotool search --name '^张三$' windowactivate 2>/dev/null
wait_for 10 chat_in_front || fail "the chat window is not in front but: $(active_title)"
sleep 2
chat_in_front || fail "the chat window lost the focus to: $(active_title)"
# The bar (the one window of Tovlo shown now) stands at the chat window's
# lower left corner.
bar=$(xdotool search --onlyvisible --class tovlo.exe | head -1)
[ -n "$bar" ] || fail "no window of Tovlo is shown beside the chat window"
eval "$(xdotool getwindowgeometry --shell "$bar" | sed 's/^/BAR_/')"
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name '^张三$' | head -1)" | sed 's/^/CHAT_/')"
near() { [ $(($1 - $2)) -le 40 ] && [ $(($2 - $1)) -le 40 ]; }
near "$BAR_X" "$CHAT_X" && near "$BAR_Y" $((CHAT_Y + CHAT_HEIGHT)) ||
  fail "the bar is at $BAR_X,$BAR_Y, the chat window at $CHAT_X,$CHAT_Y (${CHAT_WIDTH}x$CHAT_HEIGHT)"

printf 'web\tinputFaceAndHistory||%s\n' "$(winepath -w "$linux_build/devdata/soft/经典笑脸/1-1.gif")" >>"$work/drive.txt"
wait_for 20 grep -q "^pasted text 表情" "$work/chat.txt" || fail "nothing was pasted: $(cat "$work/chat.txt")"
sleep 1
[ "$(grep -c '^pasted text' "$work/chat.txt")" = 1 ] || fail "pasted more than once: $(cat "$work/chat.txt")"
echo "program_e2e: started, reached the service, kept the chat window's focus, pasted once"
