# Kill trial: a config.ini write. The sample account logs in on the login
# page; the service's answer tells the program, which writes autoLoginName
# into config.ini and then fetches and caches the account's class list page
# (w/CustomFace/demo/myClass.html) and shows it. The operation runs from the
# click on 登录 until the class list page is on disk.
config_title="config.ini write (login writes autoLoginName)"
config_keys=(run autoLoginName demo)
config_img=""
class_list() { echo "$program/w/CustomFace/demo/myClass.html"; }

config_prepare() { :; }

config_arm() {
  start_to_main_page || return 1
  click_page main.html '#btnMine' || { echo "  我的表情 could not be clicked"; return 1; }
  wait_for 100 page_open login2.asp || { echo "  the login page did not load"; return 1; }
  sleep 0.3
  click_page login2.asp '#name' && xdotool type --delay 20 demo
  click_page login2.asp '#password' && xdotool type --delay 20 demo
  page_true login2.asp "document.querySelector('#name').value === 'demo' &&
                        document.querySelector('#password').value === 'demo'" ||
    { echo "  the account and password were not typed"; return 1; }
  click_at=$(point_of login2.asp 'button[value="login"]') || { echo "  no 登录 button"; return 1; }
}

config_before() { :; }

config_done() { has_line "$program/config.ini" autoLoginName=demo && test -s "$program/w/CustomFace/demo/myClass.html"; }

config_keep_reference() { cp "$(class_list)" "$reference/myClass.html"; }

# The cached class list page is absent or whole; no other file appears.
config_files() {
  local torn=0 stray
  if [ -e "$(class_list)" ] && ! cmp -s "$(class_list)" "$reference/myClass.html"; then
    echo "torn w/CustomFace/demo/myClass.html: $(stat -c %s "$(class_list)") bytes, not the whole page ($(stat -c %s "$reference/myClass.html"))"
    torn=1
  fi
  stray=$(new_files_but w/CustomFace/demo/myClass.html)
  [ -n "$stray" ] && sed 's/^/stray /' <<<"$stray"
  echo "torn $torn stray $(grep -c . <<<"$stray")"
  return "$torn"
}
