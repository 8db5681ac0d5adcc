#!/usr/bin/env bash
# End-to-end run of the settings, as a user tries them: 设置 from the tray
# icon, the display mode switched and in use without a restart, the face
# folder moved (a pack downloaded before is copied over when next opened, with
# the copy window, and then shown from the new folder), auto-start on and off.
# Usage: settings_e2e.sh BUILD_DIR
build=$(cd "$1" && pwd)
source "$(dirname "$0")/e2e_lib.sh"

# A tray for the program's icon, and a session folder for autostart entries.
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 >/dev/null 2>&1 &
pids+=($!)
export XDG_CONFIG_HOME="$work/xdg"
entry="$XDG_CONFIG_HOME/autostart/Vendrim.desktop"
# The folder chooser answers with the new face folder (unattended runs show none).
faces="$work/新的 表情"
mkdir -p "$faces"
export TOVLO_FOLDER_ANSWER="$faces"
set_config showModel fQQ
set_config autorun false

focus_chat() { xdotool windowactivate --sync "$chat" 2>/dev/null; }
panel_shown() { test -n "$(panel_id)"; }
panel_hidden() { test -z "$(panel_id)"; }
dialog_id() { xdotool search --onlyvisible --name '^配置$' 2>/dev/null | head -1; }
dialog_shown() { test -n "$(dialog_id)"; }
dialog_gone() { test -z "$(dialog_id)"; }
copy_window_shown() { xdotool search --onlyvisible --name '^复制现有表情$' >/dev/null 2>&1; }
# click_dialog DX DY: a click at that place of the dialog's client area.
click_dialog() {
  local x y w h
  read -r x y w h <<<"$(geometry_of "$(dialog_id)")"
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
  sleep 0.3
}
# Where the dialog's controls are, in its client area (保存 from its bottom).
tab_modes=(118 24) option_normal=(29 57) option_autorun=(41 86) option_no_autorun=(41 114)
choose_folder=(74 212)
click_save() { local h; read -r _ _ _ h <<<"$(geometry_of "$(dialog_id)")"; click_dialog 302 $((h - 23)); }
config_value() { iconv -f gbk -t utf-8 "$program/config.ini" | grep -a -i "^$1=" | tail -1 | cut -d= -f2- | tr -d '\r'; }
menu_id() { xdotool search --onlyvisible --class Tovlo.exe 2>/dev/null | while read -r id; do
  read -r _ _ w h <<<"$(geometry_of "$id")"; [ "$w" -ge 100 ] && [ "$w" -le 200 ] && [ "$h" -le 100 ] && echo "$id"; done | head -1; }
# Opens 设置 from the tray icon's menu (its first item).
settings_from_tray() {
  local icon x y w h
  icon=$(xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {found = 1; next}
                                     found && /"Tovlo.exe"/ {print $1; exit}')
  [ -n "$icon" ] || { echo "  no tray icon"; return 1; }
  read -r x y w h <<<"$(geometry_of "$icon")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
  wait_for 30 sh -c "test -n \"\$(xdotool search --onlyvisible --class Tovlo.exe 2>/dev/null)\"" || return 1
  sleep 0.5
  local menu
  menu=$(menu_id)
  [ -n "$menu" ] || { echo "  no tray menu"; return 1; }
  shot tray-menu
  read -r x y w h <<<"$(geometry_of "$menu")"
  xdotool mousemove $((x + 30)) $((y + 10)) click 1
  wait_for 50 dialog_shown
}

check "Tovlo starts in the featured mode" start_tovlo
check "its main page is loaded" wait_for 150 page_open main.html
focus_chat
sleep 1
check "the panel waits for the bar's click" wait_for 20 panel_hidden

# --- the display mode ---------------------------------------------------------------------
check "设置 in the tray menu opens the settings" settings_from_tray
shot settings-basic
check "auto-start is off, as config.ini says" test "$(config_value autoRun)" != true
click_dialog "${tab_modes[@]}"
shot settings-modes
click_dialog "${option_normal[@]}"
click_save
check "保存 closes the dialog" wait_for 30 dialog_gone
check "the mode is written" test "$(config_value showModel)" = normal
focus_chat
check "the panel is docked without a restart" wait_for 30 panel_shown
read -r cx cy cw ch <<<"$(frame_of "$chat")"
read -r px py pw ph <<<"$(geometry_of "$(panel_id)")"
check "at the chat window's right edge ($px = $((cx + cw)))" test "$px" -eq $((cx + cw))
check "and its top ($py = $cy)" test "$py" -eq "$cy"
active=$(printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*')")
check "the chat window has the focus" test "$active" = "$chat"

# --- a pack from the default face folder, then the folder moved ----------------------
pack="萌萌小圆"
open_pack() {
  focus_chat
  wait_for 30 panel_shown || return 1
  click_page main.html '#btnSelect' || return 1
  wait_for 100 page_open select.html || return 1
  sleep 0.3
  click_page select.html "[data-cmd^=\"showFace||$pack,\"]"
}
pack_shown_from() { page_true main.html "decodeURIComponent(document.querySelector('#packFrame').src).indexOf('$1/$pack/main.html') >= 0"; }
check "a pack opened from the catalogue" open_pack
check "is downloaded into the default face folder" wait_for 200 pack_shown_from "$program/w"
check "设置 in the page opens the settings" click_page main.html '#btnConfig'
check "the dialog is shown" wait_for 50 dialog_shown
click_dialog "${choose_folder[@]}"
check "选择路径 asks for a folder" grep -qF "[folder] 请选择路径" "$work/tovlo.txt"
shot settings-folder
click_save
check "保存 closes the dialog" wait_for 30 dialog_gone
check "the face folder is written ($(config_value facePath))" test "$(config_value facePath)" = "$faces"
check "and gets the marker picture" cmp -s "$program/w/cell.gif" "$faces/cell.gif"

check "the pack opened again" open_pack
check "the user is told the faces are copied" wait_for 50 grep -qF "您已经修改过表情存放目录，需要复制原来的表情到新目录下！" "$work/tovlo.txt"
check "the copy window shows" wait_for 30 copy_window_shown
shot copy-window
check "the pack page is then shown from the new folder" wait_for 100 pack_shown_from "$faces"
copied=$(find "$faces/$pack" -maxdepth 1 -type f | wc -l)
source_files=$(find "$program/w/$pack" -maxdepth 1 -type f | wc -l)
check "every file of the pack is copied ($copied of $source_files)" test "$copied" -eq "$source_files"
check "the copy window is gone" wait_for 30 sh -c '! xdotool search --onlyvisible --name "^复制现有表情$" >/dev/null 2>&1'
check "and the panel is shown" panel_shown
shot pack-from-new-folder

# --- auto-start ------------------------------------------------------------------------------
check "设置 again" click_page main.html '#btnConfig'
check "the dialog is shown" wait_for 50 dialog_shown
click_dialog "${option_autorun[@]}"
click_save
check "auto-start on writes the autostart entry" wait_for 30 test -f "$entry"
check "which starts this program" grep -qxF "Exec=$program/Tovlo.exe" "$entry"
check "and autoRun is written" test "$(config_value autoRun)" = true
focus_chat
wait_for 30 panel_shown
check "设置 once more" click_page main.html '#btnConfig'
check "the dialog is shown" wait_for 50 dialog_shown
click_dialog "${option_no_autorun[@]}"
click_save
check "auto-start off removes the entry" wait_for 30 test ! -e "$entry"
check "and autoRun is written" test "$(config_value autoRun)" = false
finish
