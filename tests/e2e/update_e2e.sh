#!/usr/bin/env bash
# End-to-end run of updating, as a user meets it. A program folder at version
# 1.0 with automatic updating on shows the update notice offering 1.1 with its
# news; "立刻更新" ends Tovlo and starts the updater, which moves the folder on
# 1.0 -> 1.1 -> 1.2 (each step through the delivered updateAft.exe), reports
# success and starts Tovlo at 1.2, with the 1.2 page; its next check puts the
# updater delivered with 1.2 in place. Then the updater is run against a file
# list that reaches outside the program folder: nothing is written there.
# Usage: update_e2e.sh BUILD_DIR
build=$(cd "$1" && pwd)
source "$(dirname "$0")/e2e_lib.sh"
data=$(sed -n 's/.*data folder \([^,]*\),.*/\1/p' "$work/service.txt" | head -1)

notice_id() { xdotool search --onlyvisible --name '^Tovlo需要升级$' 2>/dev/null | head -1; }
updater_id() { xdotool search --onlyvisible --name '^Tovlo更新程序' 2>/dev/null | head -1; }
# The centres of the buttons along the bottom of a window of ours, "x y" per
# line on the screen, from left to right.
bottom_buttons() {
  local x y w h
  read -r x y w h <<<"$(geometry_of "$1")"
  import -window "$1" "$work/buttons.png" 2>/dev/null && convert "$work/buttons.png" -depth 8 "rgb:$work/buttons.rgb" || return 1
  python3 "$e2e_dir/kill_trials/bottom_buttons.py" "$work/buttons.rgb" "$w" "$h" "$x" "$y"
}
release_shown() { page_true main.html "document.querySelector('#release').textContent === 'Tovlo $1'"; }

# --- an old program folder --------------------------------------------------------
# Version 1.0 with its page of release 1.0, automatic updating on. The updater
# that 1.2 delivers differs from the installed one, as a new release's does.
set_config autoUpdate true
sed -i 's|<span id="release">[^<]*</span>|<span id="release">Tovlo 1.0</span>|' "$program/w/main.html"
printf '\n# delivered with Tovlo 1.2\n' >>"$data/soft/update/1.2/Kestrup_updateSelf__exe.txt"
delivered="$data/soft/update/1.2/Kestrup_updateSelf__exe.txt"

xdotool windowactivate --sync "$chat" 2>/dev/null
check "Tovlo 1.0 starts" start_tovlo 1.0
check "the main page shows release 1.0" wait_for 150 release_shown 1.0
notice_shown() { test -n "$(notice_id)"; }
updater_shown() { test -n "$(updater_id)"; }
check "the update notice appears" wait_for 100 notice_shown
notice=$(notice_id)
check "the program asked for the version list with its stamp" \
  grep -q "GET /soft/update/update.txt?d=[0-9]*%2F" "$service_log"
news_has() { page_true about:blank "document.body.innerText.indexOf('$1') >= 0"; }
news_lacks() { page_true about:blank "document.body.innerText.indexOf('$1') < 0"; }
check "the notice shows the news of 1.1" wait_for 50 news_has '1.1 新版本特性'
check "and the news of 1.0 after it, on lines of their own" \
  page_true about:blank "document.querySelectorAll('br').length === 3 && document.body.innerText.indexOf('1.0 第一个版本') > 0"
check "but not the news of 1.2" news_lacks '1.2 新版本特性'
check "the notice did not take the keyboard focus" test "$(xdotool getactivewindow)" != "$notice"
shot update-notice

mapfile -t buttons < <(bottom_buttons "$notice")
check "the notice has its two buttons" test "${#buttons[@]}" -eq 2
tovlo_old=$tovlo_pid
# "立刻更新": Tovlo ends, the updater runs step by step, Tovlo 1.2 comes back.
read -r bx by <<<"${buttons[0]}"
xdotool mousemove "$bx" "$by" click 1
tovlo_ended() { ! kill -0 "$tovlo_old" 2>/dev/null; }
check "立刻更新 ends Tovlo" wait_for 100 tovlo_ended
tovlo_pid=""
check "the updater window appears" wait_for 100 updater_shown
shot updater
check "the updater installs 1.1" wait_for 200 grep -q "Kestrup: 正在更新到 1.1" "$work/tovlo.txt"
check "then, started again by updateAft.exe, 1.2" wait_for 200 grep -q "Kestrup: 正在更新到 1.2" "$work/tovlo.txt"
check "and reports success" wait_for 200 grep -qF "[message] Tovlo更新程序: 更新成功！" "$work/tovlo.txt"
new_tovlo() { pgrep -f "^$program/Tovlo.exe 1.2" | head -1; }
restarted() { test -n "$(new_tovlo)"; }
check "Tovlo is started again at 1.2" wait_for 200 restarted
tovlo_pid=$(new_tovlo)
check "the updater ran three times, one version each" test "$(grep -c '^Kestrup: updating' "$work/tovlo.txt")" -eq 3
check "every file arrived" sh -c "grep -c '^Kestrup: 成功:' '$work/tovlo.txt' | grep -qx 10"
check "no file failed" sh -c "! grep -q '^Kestrup: 失败:' '$work/tovlo.txt'"
check "config.ini names version 1.2" wait_for 100 sh -c "tr -d '\r' <'$program/config.ini' | grep -qx 'ver=1.2'"
check "the main page of release 1.2 is shown" wait_for 200 release_shown 1.2
check "the files of 1.2 are in place" test -f "$program/docs/changes-1.2.txt" -a -f "$program/docs/logo.gif" -a -f "$program/notes.md"
check "updateAft.exe is a program" test -x "$program/updateAft.exe"
check "the delivered updater is Kestrup.exe after the check" wait_for 100 cmp -s "$delivered" "$program/Kestrup.exe"
check "and is consumed" test ! -e "$program/Kestrup_updateSelf.exe"
check "Kestrup.exe can be run" test -x "$program/Kestrup.exe"
sleep 1
check "1.2 is the newest: no notice" sh -c "! xdotool search --onlyvisible --name '^Tovlo需要升级$' >/dev/null 2>&1"
shot updated
stop_tovlo

# --- a file list that reaches outside the program folder ------------------------------
outside="tovlo-escaped-$$.txt"
printf 'w/main.html--../../%s' "$outside" >"$data/soft/update/1.2/urls.txt"
cp "$program/w/main.html" "$work/main-before.html"
: >"$work/updater.txt"
TOVLO_UNATTENDED=1 ASAN_OPTIONS=detect_leaks=0 "$program/Kestrup.exe" 1.1 2>"$work/updater.txt" &
hostile=$!
check "the updater refuses the list" wait_for 100 grep -q "Kestrup: 文件列表中有不能安装的路径" "$work/updater.txt"
sleep 1
check "nothing is written outside the program folder" \
  test ! -e "$work/$outside" -a ! -e "$(dirname "$work")/$outside" -a ! -e "/$outside"
check "nor inside it" cmp -s "$work/main-before.html" "$program/w/main.html"
check "the updater stays open to say so" kill -0 "$hostile"
check "and starts nothing" sh -c "! grep -q 'updateAft\|更新成功' '$work/updater.txt'"
shot updater-refused
kill "$hostile" 2>/dev/null
wait "$hostile" 2>/dev/null

finish
