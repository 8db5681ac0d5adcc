#!/usr/bin/env bash
# End-to-end runs of the staged program under Xvfb with openbox, the local
# devservice and the test chat window fakeqq: start-up, docking in every
# display mode, the chat window keeping the keyboard focus, insertion of a
# history face, the bottom bar, the notice window, the offline notice.
# Usage: desktop_e2e.sh BUILD_DIR
build=$(cd "$1" && pwd)
# Taller than the panel's 700-pixel cap.
chat_size=520x800
source "$(dirname "$0")/e2e_lib.sh"
face="$build/devdata/soft/经典笑脸/1-1.gif"
face_url="file://$face"
sqlite3 "$program/w/datas.jpg" "insert into history(img) values('$face_url');"

# --- helpers ------------------------------------------------------------------------
active_window() { printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*')"; }
# The chat window stays the active window for a second (sampled every 50 ms).
chat_keeps_focus() {
  local i
  for i in $(seq 20); do
    [ "$(active_window)" = "$chat" ] || { echo "  active window $(active_window), not the chat $chat"; return 1; }
    sleep 0.05
  done
}
xmessage -name other "another program" >/dev/null 2>&1 &
pids+=($!)
wait_for 50 sh -c 'xdotool search --onlyvisible --name other >/dev/null'
other=$(xdotool search --onlyvisible --name other | head -1)
focus_chat() { xdotool windowactivate --sync "$chat" 2>/dev/null; }
focus_other() { xdotool windowactivate --sync "$other" 2>/dev/null; }
panel_shown() { test -n "$(panel_id)"; }
panel_hidden() { test -z "$(panel_id)"; }
# A shown window of ours of exactly this size, by its id.
window_sized() {
  local id x y w h
  for id in $(xdotool search --onlyvisible --class Tovlo 2>/dev/null); do
    read -r x y w h <<<"$(geometry_of "$id")"
    [ "$w" -eq "$1" ] && [ "$h" -eq "$2" ] && { echo "$id"; return 0; }
  done
  return 1
}
bar_shown() { bar=$(window_sized 65 43); }
bar_hidden() { ! window_sized 65 43 >/dev/null; }
# Starts Tovlo in a display mode and waits for its main page ("into" gives
# the panel the focus once, at start).
start_in_mode() {
  stop_tovlo
  set_config showModel "$1"
  check "Tovlo starts in mode $1" start_tovlo
  check "its main page is loaded" wait_for 150 page_open main.html
}

# (1) Start-up reaches the main page.
check "Tovlo starts" start_tovlo
check "the service saw the connection check" wait_for 100 grep -q "GET /soft/connect.html" "$service_log"
check "the service saw the parameter fetch" wait_for 100 grep -q "GET /soft/params.html" "$service_log"
check "the main page is loaded" wait_for 150 page_open main.html

# (2) Mode "normal": at the chat window's right edge, its top, its height up
# to 700; shown again when the chat comes back; the chat keeps the focus.
focus_chat
check "the panel is shown beside the chat window" wait_for 50 panel_shown
panel=$(panel_id)
sleep 0.5
read -r cx cy cw ch <<<"$(frame_of "$chat")"
read -r px py pw ph <<<"$(geometry_of "$panel")"
check "the chat window is taller than 700 pixels ($ch)" test "$ch" -gt 700
check "panel left $px touches the chat window's right edge $((cx + cw))" test "$px" -eq $((cx + cw))
check "panel top $py is the chat window's top $cy" test "$py" -eq "$cy"
check "panel height $ph is capped at 700" test "$ph" -eq 700
check "the chat window keeps the focus" chat_keeps_focus
colours=$(distinct_colours "$panel")
check "the panel's screenshot is not blank ($colours colours)" test "${colours:-0}" -gt 20
focus_other
check "focusing another program hides the panel" wait_for 20 panel_hidden
focus_chat
check "back in the chat window the panel is shown again" wait_for 20 panel_shown
check "and the chat window keeps the focus" chat_keeps_focus
xdotool mousemove 1275 895 click 1
check "a click on the bare desktop hides the panel" wait_for 20 panel_hidden
focus_chat
check "the chat window brings it back" wait_for 20 panel_shown
# A chat window touching the screen's right edge: the panel docks on its other
# side, wholly on the screen; back in the middle, at its right again.
read -r cx cy cw ch <<<"$(frame_of "$chat")"
xdotool windowmove --sync "$chat" $((1280 - cw)) "$cy" 2>/dev/null
sleep 0.5
read -r ex ey ew eh <<<"$(frame_of "$chat")"
docked_left() { read -r px py pw ph <<<"$(geometry_of "$(panel_id)")"; test "$px" -eq $((ex - pw)); }
check "the chat window touches the right edge ($((ex + ew)))" test $((ex + ew)) -ge 1275
check "the panel docks at its left" wait_for 20 docked_left
check "wholly on the screen ($px..$((px + pw)))" test "$px" -ge 0 -a $((px + pw)) -le 1280
shot right-edge
xdotool windowmove --sync "$chat" "$cx" "$cy" 2>/dev/null
docked_right() { read -r px py pw ph <<<"$(geometry_of "$(panel_id)")"; read -r cx cy cw ch <<<"$(frame_of "$chat")"; test "$px" -eq $((cx + cw)); }
check "back in the middle it docks at the right again" wait_for 20 docked_right
# Dragged by its title bar across the screen in small steps, as a hand does,
# and back: the panel ends beside it each time, and the chat keeps the focus.
drag_by() {  # pixels to the right, and down
  local x y w h step drag=()
  read -r x y w h <<<"$(frame_of "$chat")"
  for step in $(seq 0 25); do drag+=(mousemove $((x + 60 + step * $1 / 25)) $((y + 8 + step * $2 / 25)) sleep 0.015); done
  xdotool "${drag[@]:0:3}" mousedown 1 "${drag[@]:3}" mouseup 1
}
read -r cx cy cw ch <<<"$(frame_of "$chat")"
drag_by -300 25
read -r dx dy dw dh <<<"$(frame_of "$chat")"
check "the drag moved the chat window ($cx,$cy to $dx,$dy)" test "$dx" -le $((cx - 250))
check "the panel ends beside the dragged chat window" wait_for 20 docked_right
drag_by 300 -25
check "dragged back, the panel is beside it again" wait_for 20 docked_right
check "and the chat window keeps the focus after the drags" chat_keeps_focus
# The chat window's title turns into one that is no chat (the client's main
# panel): the panel hides; a chat title brings it back.
xdotool set_window --name QQ2010 "$chat"
check "a title that is no chat hides the panel" wait_for 20 panel_hidden
xdotool set_window --name 张三 "$chat"
check "the chat title brings it back" wait_for 20 panel_shown

# (3) A history face clicked in the panel lands in the chat window's input box.
xdotool mousemove --window "$panel" 146 14 click 1   # 历史
sleep 1.5
focus_chat
before=$(pastes)
xdotool mousemove --window "$panel" 40 156 click 1
clicked=$(date +%s%N)
wait_for 50 more_pastes_than "$before"
took=$(( ($(date +%s%N) - clicked) / 1000000 ))
check "the face arrives in the chat input box within a second (${took} ms)" test "$took" -le 1000
check "the face is the newest history row" test "$(newest_history)" = "$face_url"
check "the chat window has the focus after the paste" test "$(active_window)" = "$chat"
sleep 1
before=$(pastes)
last_id() { sqlite3 "$program/w/datas.jpg" "select max(id) from history;"; }
id_before=$(last_id)
xdotool mousemove --window "$panel" 40 156 click --repeat 2 --delay 100 1
sleep 1.5
after=$(pastes)
shot after-two-clicks
check "of two clicks 100 ms apart one is recorded (history id $id_before -> $(last_id))" \
  test "$(last_id)" -eq $((id_before + 1))
check "and exactly one pastes ($((after - before)))" test $((after - before)) -eq 1

# (4) Mode "fQQ", the shipped one: the bar, 65 x 43, under the chat window's
# lower-left corner (moved up onto the screen where the chat window reaches
# its bottom); elsewhere both hide. A click on the bar shows the panel over
# the chat window's left part until a face is put into the chat window.
start_in_mode fQQ
focus_chat
check "the bar is shown" wait_for 30 bar_shown
if [ -n "$bar" ]; then
  read -r cx cy cw ch <<<"$(frame_of "$chat")"
  read -r bx by bw bh <<<"$(geometry_of "$bar")"
  want_by=$(( cy + ch + 43 > 900 ? 900 - 43 : cy + ch ))
  check "bar at ($bx,$by) sits under the chat window's lower-left corner ($cx,$want_by)" \
    test "$bx" -eq "$cx" -a "$by" -eq "$want_by"
  check "the panel is hidden" wait_for 20 panel_hidden
  check "the chat window keeps the focus beside the bar" chat_keeps_focus
  shot bar
  xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
  check "a click on the bar shows the panel within 300 ms" wait_for 3 panel_shown
  sleep 2
  check "and it is still shown 2 s later" panel_shown
  read -r px py pw ph <<<"$(geometry_of "$(panel_id)")"
  check "over the chat window's left part ($px,$py; chat at $cx,$cy)" test "$px" -eq "$cx" -a "$py" -eq "$cy"
  shot fqq-open
  xdotool mousemove --window "$(panel_id)" 146 14 click 1   # 历史
  sleep 1.5
  before=$(pastes)
  xdotool mousemove --window "$(panel_id)" 40 156 click 1
  check "a face clicked in it is pasted" wait_for 30 more_pastes_than "$before"
  sleep 1
  check "exactly once ($(( $(pastes) - before )))" test $(( $(pastes) - before )) -eq 1
  check "the panel hides" wait_for 20 panel_hidden
  check "and the chat window is active" test "$(active_window)" = "$chat"
  focus_other
  check "focusing another program hides the bar" wait_for 20 bar_hidden
fi

# (5) The modes "buttom", "buttom2", "buttom3": a click on the bar opens the
# panel at the mode's place; it stays open when the chat comes back, without
# taking the focus; a second click closes it.
for mode in buttom buttom2 buttom3; do
  start_in_mode $mode
  focus_other
  check "$mode: another program in front hides the panel" wait_for 20 panel_hidden
  focus_chat
  check "$mode: the bar is shown under the chat window" wait_for 30 bar_shown
  [ -n "$bar" ] || continue
  check "$mode: the panel stays closed" panel_hidden
  read -r bx by bw bh <<<"$(geometry_of "$bar")"
  xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
  check "$mode: a click on the bar opens the panel" wait_for 20 panel_shown
  read -r cx cy cw ch <<<"$(frame_of "$chat")"
  read -r px py pw ph <<<"$(geometry_of "$(panel_id)")"
  case $mode in
    buttom) want_x=$((cx + cw - 160)) ;;
    buttom2) want_x=$((cx + cw)) ;;
    buttom3) want_x=$((cx - pw)) ;;
  esac
  check "$mode: panel at ($px,$py), want ($want_x,$cy)" test "$px" -eq "$want_x" -a "$py" -eq "$cy"
  shot "$mode"
  focus_chat
  check "$mode: the panel stays open in the chat window" wait_for 20 panel_shown
  check "$mode: and the chat window keeps the focus" chat_keeps_focus
  focus_other
  check "$mode: another program hides the panel" wait_for 20 panel_hidden
  check "$mode: and the bar" wait_for 20 bar_hidden
  focus_chat
  check "$mode: back in the chat the open panel is shown again" wait_for 20 panel_shown
  check "$mode: and the chat window keeps the focus" chat_keeps_focus
  read -r bx by bw bh <<<"$(geometry_of "$bar")"
  xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
  check "$mode: a second click closes the panel" wait_for 20 panel_hidden
done

# (6) The notice window: asked for by the service's parameters, it slides up
# at the screen's lower right beside the docked panel, which stays; the chat
# keeps the focus; its page closes it.
stop_tovlo
data=$(sed -n 's/.*data folder \([^,]*\),.*/\1/p' "$work/service.txt" | head -1)
printf 'isQQShow=true' >"$data/soft/params.html"
start_in_mode normal
focus_chat
check "the panel is docked" wait_for 50 panel_shown
notice_shown() { notice=$(window_sized 200 200); }
check "the notice window appears" wait_for 50 notice_shown
if [ -n "$notice" ]; then
  read -r nx ny nw nh <<<"$(geometry_of "$notice")"
  check "at the screen's right edge ($nx + 200 = 1280)" test $((nx + 200)) -eq 1280
  check "and the chat window keeps the focus while it slides in" chat_keeps_focus
  check "the panel stays docked" panel_shown
  sleep 1
  read -r rx ry rw rh <<<"$(geometry_of "$notice")"
  # (On a busy machine it may have risen all the way before it was first seen.)
  check "it rose from $ny and rests at 669 ($ry)" test "$ry" -le "$ny" -a "$ry" -eq 669
  shot notice
  check "its page is loaded" wait_for 50 page_open QQShow.html
  page_window=$notice click_page QQShow.html '#btnClose'
  check "its close button closes it" wait_for 30 sh -c "! xwininfo -id $notice 2>/dev/null | grep -q IsViewable"
fi

# (7) With the service stopped, the first page's offline notice shows.
stop_tovlo
kill "$service_pid"; service_pid=""
set_config showModel normal
focus_chat
check "Tovlo starts without its service" start_tovlo
check "the panel shows itself with the offline notice" wait_for 100 panel_shown
page_drawn() { colours=$(distinct_colours "$(panel_id)"); test "${colours:-0}" -gt 20; }
wait_for 50 page_drawn
check "the offline page is drawn ($colours colours)" test "${colours:-0}" -gt 20

finish
