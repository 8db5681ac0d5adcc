#!/usr/bin/env bash
# End-to-end runs of the face library in the staged program, clicked through
# its pages as a user would: a public pack opened from the catalogue (download
# and processing panels, the pack page with its sheet, a face from it sent to
# the chat window); logging in as the sample account and opening a class; the
# class manager's changes dropping the cached files; the hot key and the search;
# the faces on disk without the service. Usage: library_e2e.sh BUILD_DIR
build=$(cd "$1" && pwd)
source "$(dirname "$0")/e2e_lib.sh"

check "Tovlo starts" start_tovlo
xdotool windowactivate --sync "$chat" 2>/dev/null
panel_shown() { test -n "$(panel_id)"; }
check "the panel is shown beside the chat window" wait_for 50 panel_shown
check "the main page is loaded" wait_for 100 page_open main.html
sleep 0.5

# --- a public pack from the catalogue ----------------------------------------------
pack="萌萌小圆"
pack_count=$(wc -l <"$build/devdata/data/packs.txt")
check "公共表情 opens the catalogue" click_page main.html '#btnSelect'
check "the catalogue lists the sample packs" wait_for 100 page_true select.html \
  "document.querySelectorAll('[data-cmd^=\"showFace||\"]').length === $pack_count"
shot catalogue
card="[data-cmd^=\"showFace||$pack,\"]"
check "a click on the pack asks for it" click_page select.html "$card"
check "the download panel opens" wait_for 50 logged "panel opened: tempUserControl PublicFaceDownLoader"
check "then the processing panel" wait_for 100 logged "panel opened: tempUserControl PublicFaceProcess"
shot processing
pack_page="w/$pack/main.html"
frame_shows_pack() { page_true main.html "decodeURIComponent(document.querySelector('#packFrame').src).indexOf('$pack_page') >= 0 &&
                                          !document.querySelector('#packFrame').hidden"; }
check "the pack page appears in the main page" wait_for 100 frame_shows_pack
faces=$(tr '/' '\n' <"$build/devdata/soft/$pack/imgs.txt" | grep -c -v -e '^$' -e '^ver-')
on_disk=$(find "$program/w/$pack" -maxdepth 1 \( -name '*-*.gif' -o -name '*-*.jpg' \) | wc -l)
check "all $faces faces of the pack are in its folder ($on_disk)" test "$on_disk" -eq "$faces"
check "and its version marker" sh -c "ls '$program/w/$pack'/ver-*.txt >/dev/null 2>&1"
sheet_width=$(identify -format %w "$program/w/$pack/small.bmp" 2>/dev/null)
check "the sheet is 180 px wide ($sheet_width)" test "${sheet_width:-0}" -eq 180
sheet_drawn() { page_true main.html "(function () { var img = new Image(); img.src = getComputedStyle(
                  document.querySelector('#sheet')).backgroundImage.replace(/^url\\(\"?|\"?\\)$/g, '');
                  return img.decode().then(function () { return img.naturalWidth === 180; }, function () { return false; }); })()" \
                  "$pack_page"; }
check "the pack page draws the sheet" wait_for 50 sheet_drawn
shot pack-page

before=$(pastes)
check "a face clicked on the sheet (row 1, column 2)" click_in_frame main.html '#packFrame' "$pack_page" '#sheet' 45 15
check "arrives in the chat window" wait_for 30 more_pastes_than "$before"
# The pack page names a face by its file: URL, the pack's name percent-encoded.
face_url="file://$program/w/$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$pack")/$(tr '/' '\n' <"$build/devdata/soft/$pack/imgs.txt" | grep '^1-2\.')"
check "and is the newest history row ($(newest_history))" test "$(newest_history)" = "$face_url"

# The other sample packs open the same way, each in a tab of its own.
for other in $(cut -f1 "$build/devdata/data/packs.txt" | grep -v -x "$pack"); do
  check "公共表情 again" click_page main.html '#btnSelect'
  check "the catalogue is shown" wait_for 50 page_open select.html
  sleep 0.3
  check "a click on the pack $other" click_page select.html "[data-cmd^=\"showFace||$other,\"]"
  check "its page appears in the main page" wait_for 150 page_true main.html \
    "decodeURIComponent(document.querySelector('#packFrame').src).indexOf('w/$other/main.html') >= 0"
done
check "every pack has a tab" page_true main.html "document.querySelectorAll('#tabs [role=tab]').length === $pack_count"

# --- the hot key, search and favourites: Ctrl+Alt+E in the chat window, a pack's
# name and Enter send one face, the chat window active again; Esc closes; a star,
# kept over the restart below -----------------------------------------------------
panel_active() { test "$(xdotool getactivewindow 2>/dev/null)" = "$(panel_id)"; }
chat_active() { test "$(xdotool getactivewindow 2>/dev/null)" = "$chat"; }
search_focused() { page_true main.html "document.hasFocus() && document.activeElement.id === 'searchBox'"; }
hot_key() {
  xdotool windowactivate --sync "$chat" 2>/dev/null
  check "the hot key in the chat window" xdotool key ctrl+alt+e
  check "brings the panel to the front" wait_for 30 panel_active
  check "with the keys in its search box" wait_for 50 search_focused
}
hot_key
# The pack's name arrives as an input method hands over typed text.
page main.html "var b = document.getElementById('searchBox'); b.value = '$pack';
                b.dispatchEvent(new Event('input')); true" >/dev/null
found_pack() { page_true main.html "document.querySelectorAll('#facesGrid .cell').length === $faces"; }
check "the search finds the pack's $faces faces" wait_for 50 found_pack
shot search
before=$(pastes)
xdotool key Return
check "Enter sends a face" wait_for 30 more_pastes_than "$before"
sleep 1
check "exactly one" test "$(pastes)" -eq $((before + 1))
check "and the chat window is active again" chat_active
check "back in the search box" click_page main.html '#searchBox'
starred=$(page main.html "document.querySelector('#facesGrid .cell').getAttribute('data-ref')" | tr -d '"')
xdotool key Down s
starred_only() { test "$(sqlite3 "$program/w/datas.jpg" "select img from favourites order by pos;")" = "$starred"; }
check "↓ and S star the first face found" wait_for 30 starred_only
hot_key
xdotool key Escape Escape
check "Esc empties the box, Esc again gives the chat window the keys back" wait_for 30 chat_active
# The page keeps its tabs in its storage, which outlives the program.
tovlo_ended() { ! kill -0 "$tovlo_pid" 2>/dev/null; }
check "退出 ends the program" click_page main.html '#btnExit'
check "which is gone" wait_for 100 tovlo_ended
# config.ini is GBK: any byte counts as a stored name.
check "having stored the class it showed" env LC_ALL=C grep -q "^defaultFaceClass=." "$program/config.ini"
stop_tovlo
check "Tovlo starts again" start_tovlo
check "with its main page" wait_for 150 page_open main.html
xdotool windowactivate --sync "$chat" 2>/dev/null
check "docked beside the chat window" wait_for 50 panel_shown
check "every pack still has its tab" wait_for 50 page_true main.html \
  "document.querySelectorAll('#tabs [role=tab]').length === $pack_count"
check "the page's storage is in the program folder" test -d "$program/webdata"
check "the 收藏 tab" click_page main.html '#tabFavourites .name'
check "shows the starred face after the restart" wait_for 50 page_true main.html \
  "document.querySelectorAll('#facesGrid .cell').length === 1 &&
   document.querySelector('#facesGrid .cell').getAttribute('data-ref') === '$starred'"
shot favourites

# --- the sample account and one of its classes ------------------------------------
check "我的表情 asks for a login" click_page main.html '#btnMine'
check "the login page is shown" wait_for 100 page_open login2.asp
sleep 0.3
click_page login2.asp '#name' && xdotool type --delay 30 demo
click_page login2.asp '#password' && xdotool type --delay 30 demo
check "the account and password are typed" page_true login2.asp \
  "document.querySelector('#name').value === 'demo' && document.querySelector('#password').value === 'demo'"
check "登录 is clicked" click_page login2.asp 'button[value="login"]'
check "the class list appears" wait_for 100 page_open CustomFace/demo/myClass.html
check "the account is remembered" grep -q "autoLoginName=demo" "$program/config.ini"
shot class-list
check "a click on the class 开心" click_page myClass.html '[data-cmd="showMyOneClassFaces||10--1"]'
check "opens the own-faces download panel" wait_for 50 logged "panel opened: tempUserControl MyFaceDownLoader"
check "and then the class page" wait_for 100 page_open CustomFace/demo/10/1.html
faces_shown() { page "CustomFace/demo/10/1.html" "document.querySelectorAll('button.face').length" 2>/dev/null; }
check "the class page shows its first 20 faces ($(faces_shown))" test "$(faces_shown)" = 20
cached=$(find "$program/w/CustomFace/demo/10" -maxdepth 1 -name '*.gif' -o -maxdepth 1 -name '*.jpg' | wc -l)
check "the class's faces are cached ($cached files)" test "$cached" -gt 0
shot class-page
check "全部分类 goes back to the class list" click_page 10/1.html '#btnClasses'
sleep 1
check "the class list is shown again" wait_for 50 page_open myClass.html
check "a click on the class 工作" click_page myClass.html '[data-cmd="showMyOneClassFaces||11--1"]'
check "shows its page" wait_for 100 page_open CustomFace/demo/11/1.html

# --- the class manager drops what it changed -----------------------------------------
check "全部分类 goes back to the class list" click_page 11/1.html '#btnClasses'
sleep 1
check "the class list is shown again" wait_for 50 page_open myClass.html
check "管理分类 opens the class manager" click_page myClass.html '[data-cmd="manage||-"]'
check "the manager panel opens" wait_for 50 logged "panel opened: tempUserControl ClassManager"
check "with the service's manager page" wait_for 100 page_true manageClass.asp \
  "document.querySelectorAll('.face .del').length > 0"
shot class-manager
check "a face of 开心 is deleted" click_page manageClass.asp '.face .del'
check "which drops the class's cached folder" wait_for 50 test ! -d "$program/w/CustomFace/demo/10"
click_page manageClass.asp '#newName' && xdotool type --delay 30 e2e
check "a new class is added" click_page manageClass.asp '#addForm button'
check "which drops the cached class list" wait_for 50 test ! -f "$program/w/CustomFace/demo/myClass.html"
lists_fetched() { grep -c "GET /soft/myClass.asp" "$service_log"; }
fetched=$(lists_fetched)
check "关闭 closes the manager" click_page manageClass.asp '[data-cmd="closeManage||-"]'
check "the panel is closed" wait_for 50 logged "panel closed: tempUserControl"
check "the class list is fetched again" wait_for 50 sh -c "test \$(grep -c 'GET /soft/myClass.asp' '$service_log') -gt $fetched"
new_class_listed() { page_true myClass.html "document.body.textContent.indexOf('e2e') >= 0"; }
check "and shows the new class" wait_for 50 new_class_listed
shot after-manager

# --- a picture copied in another chat goes into the class 工作 -------------------------
picture="$work/笑脸.gif"
cp "$build/devdata/soft/萌萌小圆/1-1.gif" "$picture"
"$build/tests/e2e/fakeqq/fakeqq" 李四 --copy-qq "$picture" >"$work/fakeqq2.txt" 2>/dev/null &
pids+=($!)
check "a picture is copied in another chat window" wait_for 100 grep -q "fakeqq ready" "$work/fakeqq2.txt"
xdotool windowactivate --sync "$chat" 2>/dev/null
check "the panel docks beside the first chat again" wait_for 50 panel_shown
check "the class 工作 is opened" click_page myClass.html '[data-cmd="showMyOneClassFaces||11--1"]'
check "and shown" wait_for 100 page_open CustomFace/demo/11/1.html
faces_in_work() { page "CustomFace/demo/11/1.html" "document.querySelectorAll('button.face').length" 2>/dev/null; }
before=$(faces_in_work)
check "添加表情 opens the add-face panel" click_page main.html '#btnAdd'
check "with its page" wait_for 100 page_open CustomFace/demo/addFace.html
ready_to_upload() { page_true addFace.html "!document.querySelector('#btnUpload').disabled &&
                                            document.querySelector('#classSelect').value === '11' &&
                                            document.querySelector('#fileName').textContent === '笑脸.gif'"; }
check "which shows the copied picture with 工作 chosen" wait_for 50 ready_to_upload
shot add-face
check "上传 is clicked" click_page addFace.html '#btnUpload'
check "the service receives the picture" wait_for 50 grep -q "POST /soft/addUpLoad.asp" "$service_log"
check "the result panel opens" wait_for 50 logged "panel opened: tempUserControl2 AddfaceOverCon"
one_more_face() { page "CustomFace/demo/11/1.html" "document.querySelectorAll('button.face').length" 2>/dev/null |
                    grep -qx "$((before + 1))"; }
check "and the class page shows one face more than $before" wait_for 100 one_more_face
shot after-upload
# The result panel covers the page under it until its countdown ends.
check "the result panel closes itself after its countdown" wait_for 60 logged "panel closed: tempUserControl2"

# --- the sample plug-in: its program picks a face made of characters -------------------
xdotool windowactivate --sync "$chat" 2>/dev/null
check "the panel is beside the chat window" wait_for 50 panel_shown
check "插件 lists the sample plug-in" click_page main.html '#btnPlus'
check "which is opened" click_page main.html '#plusMenu button'
plugin_page=$(printf 'plus/%s/main.html' "$(python3 -c 'import urllib.parse; print(urllib.parse.quote("颜文字"))')")
check "its page shows itself" wait_for 100 page_open "$plugin_page"
check "with its description" wait_for 50 page_true "$plugin_page" "document.getElementById('version').textContent === 'v1.0'"
before=$(grep -c "pasted text" "$work/fakeqq.txt")
check "随机一个 runs the plug-in's program" click_page "$plugin_page" '#btnRandom'
text_pasted() { test "$(grep -c "pasted text" "$work/fakeqq.txt")" -gt "$before"; }
check "and its answer arrives in the chat window" \
  wait_for 50 text_pasted
shot plugin
check "关闭 closes the plug-in panel" click_page "$plugin_page" '#btnClose'
check "which goes" wait_for 50 logged "panel closed: tempUserControl_plus"

# --- the service stops while a pack downloads ------------------------------------------
# The service takes 150 ms for each file and is stopped once a few were asked
# for: the pack opens with what arrived, the user is told how many faces are
# missing, and opening the pack again later fetches the rest.
big=经典笑脸
big_faces=$(tr '/' '\n' <"$build/devdata/soft/$big/imgs.txt" | grep -c -v -e '^$' -e '^ver-')
on_disk() { find "$program/w/$big" -maxdepth 1 \( -name '*-*.gif' -o -name '*-*.jpg' \) 2>/dev/null | wc -l; }
open_pack() {
  check "公共表情 once more" click_page main.html '#btnSelect'
  check "the catalogue is shown" wait_for 50 page_open select.html
  sleep 0.3
  check "a click on the pack $1" click_page select.html "[data-cmd^=\"showFace||$1,\"]"
}
stop_service() { kill "$service_pid"; wait_for 50 sh -c "! kill -0 $service_pid 2>/dev/null"; }
stop_service
DEVSERVICE_DELAY_MS=150 start_service "$port"
rm -rf "$program/w/$big"
encoded=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], encoding="gbk"))' "$big")
asked_for() { test "$(grep -c "^GET /soft/$encoded/" "$service_log")" -ge "$1"; }
open_pack "$big"
check "the list and 8 files are asked for" wait_for 100 asked_for 9
stop_service
missing_told() { grep -q "\[message\] Tovlo: 有[0-9]*个表情没有下载成功。再次打开这个表情包会下载其余的表情。" "$work/tovlo.txt"; }
check "the user is told that faces are missing" wait_for 100 missing_told
told=$(grep -o "有[0-9]*个表情没有下载成功" "$work/tovlo.txt" | tail -1 | tr -dc '0-9')
check "of $big_faces faces $(on_disk) arrived and $told are said to be missing" test "$(on_disk)" -lt "$big_faces" -a "$told" -eq $((big_faces - $(on_disk)))
check "the pack is not marked complete" sh -c "! ls '$program/w/$big'/ver-*.txt >/dev/null 2>&1"
check "the pack opens with what it has" wait_for 100 page_true main.html \
  "decodeURIComponent(document.querySelector('#packFrame').src).indexOf('w/$big/main.html') >= 0"
start_service "$port"
open_pack "$big"
check "opening it again fetches the rest" wait_for 150 sh -c "ls '$program/w/$big'/ver-*.txt >/dev/null 2>&1"
check "all $big_faces faces are there ($(on_disk))" test "$(on_disk)" -eq "$big_faces"
# Stopped before the list came back: nothing opens, and the user is told.
stop_service
other=上班族
rm -rf "$program/w/$other"
closes() { grep -c "panel closed: tempUserControl$" "$work/tovlo.txt"; }
closed=$(closes)
open_pack "$other"
check "without the service the user is told the list did not arrive" wait_for 100 \
  grep -q "\[message\] Tovlo: 没有取到这个表情包的文件列表，请稍后再打开它。" "$work/tovlo.txt"
check "and the download panel closes" wait_for 50 sh -c "test \$(grep -c 'panel closed: tempUserControl\$' '$work/tovlo.txt') -gt $closed"

# --- offline: the faces on disk without the service ------------------------------------
stop_tovlo
check "Tovlo starts without the service" start_tovlo
check "and shows the offline notice" wait_for 150 page_true nullInte.html "!document.getElementById('offline').hidden"
check "使用本地表情 is clicked" click_page nullInte.html '#btnLocal'
check "the main page opens, marked offline" wait_for 100 page_true main.html "!document.getElementById('offlineNote').hidden"
hot_key
page main.html "var b = document.getElementById('searchBox'); b.value = '$pack';
                b.dispatchEvent(new Event('input')); true" >/dev/null
check "the search finds the pack's $faces faces on disk" wait_for 50 found_pack
shot offline-search
before=$(pastes)
xdotool key Return
check "and Enter sends one" wait_for 30 more_pastes_than "$before"
check "the pack's tab" click_page main.html "#tabs [data-pack=\"$pack\"]"
check "shows its page" wait_for 100 frame_shows_pack
two_favourites() { test "$(sqlite3 "$program/w/datas.jpg" 'select count(*) from favourites;')" -eq 2; }
check "a right click on a face of the sheet (row 1, column 3)" \
  click_in_frame main.html '#packFrame' "$pack_page" '#sheet' 75 15 3
check "stars it beside the one starred before" wait_for 30 two_favourites

finish
