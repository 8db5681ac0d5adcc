# Kill trial: an update install. Tovlo started as version 1.0 with automatic
# updating on offers 1.1; "立刻更新" ends it and starts Kestrup.exe, which
# installs 1.1, hands over through updateAft.exe to install 1.2 (with a new
# updater, Kestrup_updateSelf.exe), reports success and starts Tovlo 1.2,
# whose update check puts the new updater in place as Kestrup.exe. The
# operation runs from the click until that last step. Whatever program of
# the folder runs at the moment (Tovlo.exe, Kestrup.exe, updateAft.exe) is
# killed.
update_title="update install (1.0 -> 1.1 -> 1.2 by Kestrup.exe)"
update_keys=(application ver 1.2)
update_img=""
update_tree() { echo "$service_data/soft/update"; }
delivered_updater() { echo "$(update_tree)/1.2/Kestrup_updateSelf__exe.txt"; }

# The updater that 1.2 delivers differs from the installed one, as a new
# release's does, so that each of the two can be recognised.
update_once() { printf '\n# delivered with Tovlo 1.2\n' >>"$(delivered_updater)"; }

update_prepare() { set_config autoUpdate true; }

notice_id() { xdotool search --onlyvisible --name '^Tovlo需要升级$' 2>/dev/null | head -1; }
notice_shown() { test -n "$(notice_id)"; }

# The notice's two buttons, "x y" per line from left to right, once it has
# drawn them; the notice is raised to be seen and clicked.
notice_buttons() {
  local notice x y w h
  notice=$(notice_id)
  [ -n "$notice" ] || return 1
  # Shown without taking the focus, it may lie under the chat window.
  xdotool windowraise "$notice"
  read -r x y w h <<<"$(geometry_of "$notice")"
  import -window "$notice" "$trial_dir/notice.png" 2>/dev/null &&
    convert "$trial_dir/notice.png" -depth 8 "rgb:$trial_dir/notice.rgb" &&
    python3 "$kill_dir/bottom_buttons.py" "$trial_dir/notice.rgb" "$w" "$h" "$x" "$y" >"$trial_dir/buttons.txt"
}

update_arm() {
  start_to_main_page 1.0 || return 1
  wait_for 100 notice_shown || { echo "  the update notice did not appear"; return 1; }
  wait_for 50 notice_buttons || { echo "  the notice's buttons were not found"; return 1; }
  # 立刻更新 is the left one of the two.
  click_at=$(head -1 "$trial_dir/buttons.txt")
}

# The folder as it was before the update, to tell old files from torn ones.
update_before() {
  mkdir -p "$trial_dir/before"
  cp -a "$program/." "$trial_dir/before/"
  rm -rf "$trial_dir/before/webdata"
}

update_done() {
  has_line "$program/config.ini" ver=1.2 && test ! -e "$program/Kestrup_updateSelf.exe" &&
    cmp -s "$program/Kestrup.exe" "$(delivered_updater)"
}

update_keep_reference() { :; }

update_files() { python3 "$kill_dir/check_files.py" update "$program" "$trial_dir/before" "$(update_tree)"; }
