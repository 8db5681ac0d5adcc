#!/usr/bin/env bash
# program_e2e.sh PROGRAM_DIR FAKEQQ_EXE CLICK_EXE LINUX_BUILD: Tovlo.exe under
# Wine and openbox beside the Windows test chat window, against the local
# devservice of the Linux build, driven through the automation channel as
# its pages would drive it, in each display mode: the tray icon is there;
# "into" reaches the service; with the chat window in front a window of
# Tovlo (the panel, or the bar in "fQQ") docks at it without taking its
# focus. In "normal" also: the panel follows the chat window dragged across
# the screen by the window manager, hides when the window's title turns
# into one of QQ's other windows ("QQ2010") and comes back with the chat
# title. In "fQQ" also: "inputFaceAndHistory" pastes into the chat window
# exactly once, and saving the settings with "开机自动运行" writes the Run
# value, with "开机不自动运行" removes it. Exits 77 (skipped) without the
# Linux build's devservice.
set -u
program=$1 fakeqq=$2 click=$3 linux_build=$4
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
# The auto-start value, in the machine's key or, where that is refused, the user's.
run_value() {
  local key
  for key in HKLM HKCU; do
    wine reg query "$key\\Software\\Microsoft\\Windows\\CurrentVersion\\Run" /v Vendrim >/dev/null 2>&1 && return 0
  done
  return 1
}
no_run_value() { ! run_value; }
chat_in_front() { [ "$(active_title)" = 张三 ]; }
active_title() {
  local id; id=$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | head -1)
  xprop -id "${id:-0}" _NET_WM_NAME 2>/dev/null | sed -n 's/.* = "\(.*\)"$/\1/p'
}

port=$(bash "$here/tools/devservice/start-devservice.sh" "$linux_build" 2>"$work/service.txt") || fail "no devservice"
service=$(sed -n 's/.*pid \([0-9]*\),.*/\1/p' "$work/service.txt" | head -1)
openbox >/dev/null 2>&1 &
pids+=($!)
export FAKEQQ_REPORT="$(winepath -w "$work/chat.txt")"
# The chat window takes the first line of this file as its title.
titles="$work/title.txt"
wine "$fakeqq" 张三 --copy-text 表情 --title-from "$(winepath -w "$titles")" >/dev/null 2>&1 &
pids+=($!)
wait_for 20 grep -q "^ready" "$work/chat.txt" || fail "the test chat window did not come"
chat=$(xdotool search --name '^张三$' | head -1)
retitle() { echo "$1" >"$titles"; }

# Each shown window of Tovlo: "x y width height", x and y from the chat window's top right corner,
# and the chat window's width and height.
ours() {
  local id
  eval "$(xdotool getwindowgeometry --shell "$chat" | sed 's/^/CHAT_/')"
  for id in $(xdotool search --onlyvisible --class tovlo.exe 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" | sed 's/^/OURS_/')"
    echo "$((OURS_X - CHAT_X - CHAT_WIDTH)) $((OURS_Y - CHAT_Y)) $OURS_WIDTH $OURS_HEIGHT $CHAT_WIDTH $CHAT_HEIGHT"
  done
}
# Whether one lies within 40 pixels of the chat window; where the panel (not the bar) stands.
docked() {
  ours | awk '$1 - 40 <= 0 && $1 + $3 + $5 + 40 >= 0 && $2 - 40 <= $6 && $2 + $4 + 40 >= 0 {ok = 1} END {exit !ok}'
}
panel_offset() { ours | awk '$4 > 100 {print $1, $2; ok = 1; exit} END {exit !ok}'; }
panel_beside() { [ "$(panel_offset)" = "$beside" ]; }
nothing_of_ours_shown() { ! xdotool search --onlyvisible --class tovlo.exe >/dev/null 2>&1; }

for mode in normal buttom buttom2 buttom3 fQQ; do
  folder="$work/Tovlo-$mode"
  cp -r "$program" "$folder"
  sed -i -e "s/^serviceHost=.*/serviceHost=127.0.0.1:$port\r/" -e "s/^showModel=.*/showModel=$mode\r/" \
    "$folder/config.ini"
  : >"$work/drive.txt"
  (cd "$folder" && TOVLO_UNATTENDED=1 TOVLO_AUTOMATION="$(winepath -w "$work/drive.txt")" exec wine Tovlo.exe \
     >"$work/tovlo.log" 2>&1) &
  tovlo=$!
  pids+=($tovlo)
  wait_for 30 said "[message]" || fail "$mode: Tovlo did not start"
  printf 'web\tinto||-\n' >>"$work/drive.txt"
  wait_for 20 said "[automation] web into||-: ok" || fail "$mode: \"into\" did not go through"
  # Without a tray of the window manager's, Wine shows the icons in a window of its own.
  tray_shown() { xdotool search --onlyvisible --name '^Wine System Tray$' >/dev/null 2>&1; }
  wait_for 10 tray_shown || fail "$mode: no tray icon"
  # "into" brings the panel to the front; the user goes back to the chat
  # window after that has happened.
  sleep 2
  xdotool search --name '^张三$' windowactivate 2>/dev/null
  wait_for 10 chat_in_front || fail "$mode: the chat window is not in front but: $(active_title)"
  wait_for 10 docked || fail "$mode: no window of Tovlo beside the chat window"
  sleep 1
  chat_in_front || fail "$mode: the chat window lost the focus to: $(active_title)"
  if [ "$mode" = normal ]; then
    beside=$(panel_offset) || fail "no panel beside the chat window"
    for place in "400 40" "60 380" "380 400"; do
      xdotool windowmove "$chat" $place
      wait_for 10 panel_beside || fail "the panel did not follow the chat window to $place: $(panel_offset)"
    done
    retitle QQ2010
    wait_for 10 nothing_of_ours_shown || fail "the panel stayed beside QQ's main window"
    retitle 张三
    wait_for 10 panel_beside || fail "the panel did not come back beside the chat window"
    chat_in_front || fail "the chat window lost the focus to: $(active_title)"
  fi
  if [ "$mode" = fQQ ]; then
    printf 'web\tinputFaceAndHistory||%s\n' "$(winepath -w "$linux_build/devdata/soft/经典笑脸/1-1.gif")" >>"$work/drive.txt"
    wait_for 20 grep -q "^pasted text 表情" "$work/chat.txt" || fail "nothing was pasted: $(cat "$work/chat.txt")"
    sleep 1
    [ "$(grep -c '^pasted text' "$work/chat.txt")" = 1 ] || fail "pasted more than once: $(cat "$work/chat.txt")"
    for choice in 开机自动运行 开机不自动运行; do
      printf 'web\tconfig||-\n' >>"$work/drive.txt"
      wine "$click" 配置 "$choice" && wine "$click" 配置 保存 || fail "the settings dialog did not take $choice"
      if [ "$choice" = 开机自动运行 ]; then
        wait_for 10 run_value || fail "saving with $choice wrote no Run value"
      else
        wait_for 10 no_run_value || fail "saving with $choice left the Run value"
      fi
    done
  fi
  # The page's exit ends the program; the next mode's starts once it has gone.
  printf 'web\texitFun||-\n' >>"$work/drive.txt"
  wait_for 20 sh -c "! kill -0 $tovlo 2>/dev/null" || fail "$mode: Tovlo did not end"
  wait "$tovlo" 2>/dev/null
done
echo "program_e2e: in every mode started, reached the service, docked beside the chat window keeping its focus; followed it dragged and hid for QQ's main window; pasted once; the settings wrote and removed the Run value"
