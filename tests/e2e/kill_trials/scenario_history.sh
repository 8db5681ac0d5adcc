# Kill trial: a history addition. The history holds four faces; the oldest
# one is clicked in the main page's history view, which records it as the
# newest use in w/datas.jpg (its earlier row removed, a new one added) and
# then pastes it into the chat window. The operation runs from the click
# until the new row is in the database.
history_title="history addition (a face clicked in the history view)"
history_keys=()
history_faces=(1-1.gif 1-2.jpg 1-3.gif 1-4.jpg)
history_img=""

history_prepare() {
  local face
  mkdir -p "$program/w/recent"
  for face in "${history_faces[@]}"; do
    cp "$build/devdata/soft/萌萌小圆/$face" "$program/w/recent/$face"
    sqlite3 "$program/w/datas.jpg" "insert into history(img) values('$program/w/recent/$face')" || return 1
  done
  history_img="$program/w/recent/${history_faces[0]}"
}

history_arm() {
  local n=${#history_faces[@]}
  start_to_main_page || return 1
  click_page main.html '#btnHistory' || { echo "  历史 could not be clicked"; return 1; }
  wait_for 50 page_true main.html "document.querySelectorAll('#historyGrid button.face').length === $n" ||
    { echo "  the history view does not show $n faces"; return 1; }
  # The oldest face is the last one shown.
  click_at=$(point_of main.html '#historyGrid button.face' $((n - 1))) || { echo "  no face to click"; return 1; }
}

history_before() { :; }

# Asked of the database only once the file has changed.
history_done() {
  [ "$program/w/datas.jpg" -nt "$trial_dir/rows.before" ] &&
    test "$(sqlite3 "$program/w/datas.jpg" 'select img from history order by id desc limit 1' 2>/dev/null)" = "$history_img"
}

history_keep_reference() { :; }

# Nothing but the database is written: no file appears.
history_files() {
  local stray
  stray=$(new_files_but)
  [ -n "$stray" ] && sed 's/^/stray /' <<<"$stray"
  echo "torn 0 stray $(grep -c . <<<"$stray")"
}
