# Finding and clicking things in the running program's pages (sourced by
# e2e_lib.sh; needs `devtools_port`, the web engine's debugging port, `work`,
# a scratch folder, and `e2e_dir`, this folder). Pages are asked where their
# elements are; every click is a real X click at that place on the screen.

# The program's face panel, by its title.
panel_id() { xdotool search --onlyvisible --name '^Tovlo$' 2>/dev/null | head -1; }
# Client geometry of a window in root coordinates: x y width height.
geometry_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                           /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
# page URL_PART EXPRESSION [FRAME_URL_PART]: the value of a script expression
# in the open page whose address holds URL_PART, as JSON.
page() { python3 "$e2e_dir/devtools.py" "$devtools_port" "$@"; }
page_open() { page "$1" 'document.readyState' 2>/dev/null | grep -q complete; }
page_true() { test "$(page "$@" 2>/dev/null)" = true; }

# view_origin URL_PART: where the page's view starts on the screen, "x y".
# The pointer is moved over the middle of the panel (the page must be the
# one shown there; set page_window to ask another window of ours) and the
# page reports where that was, in its own coordinates and on the screen.
# The main page is asked on its tool bar: the frame in its middle takes the
# pointer's events there.
view_origin() {
  local panel x y w h i py
  panel=${page_window:-$(panel_id)}
  [ -n "$panel" ] || return 1
  read -r x y w h <<<"$(geometry_of "$panel")"
  py=$((y + h / 2))
  [ "$1" = main.html ] && py=$((y + 8))
  page "$1" "new Promise(function (done) { addEventListener('mousemove', function (e) {
      done((e.screenX - e.clientX) + ' ' + (e.screenY - e.clientY)); }, {once: true}); })" \
    >"$work/origin.txt" 2>/dev/null &
  local asking=$!
  for i in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.2
    xdotool mousemove $((x + w / 2 + i % 2)) "$py"
    kill -0 "$asking" 2>/dev/null || break
  done
  kill "$asking" 2>/dev/null
  wait "$asking" 2>/dev/null
  tr -d '"' <"$work/origin.txt"
}

# The sum of the numbers, rounded to a whole pixel.
sum() { awk 'BEGIN { s = 0; for (i = 1; i < ARGC; i++) s += ARGV[i]; printf "%.0f", s }' "$@"; }

# click_page URL_PART SELECTOR [DX DY]: a real click on the element (at its
# middle, or DX,DY from its top-left corner), scrolled into view first.
click_page() {
  local origin point at ox oy ex ey
  origin=$(view_origin "$1") && [ -n "$origin" ] || return 1
  point="r.left + r.width / 2, r.top + r.height / 2"
  [ $# -ge 4 ] && point="r.left + $3, r.top + $4"
  at=$(page "$1" "(function () { var e = document.querySelector('$2'); if (!e) return '';
      e.scrollIntoView({block: 'nearest'}); var r = e.getBoundingClientRect();
      return [$point].join(' '); })()" | tr -d '"')
  [ -n "$at" ] || return 1
  read -r ox oy <<<"$origin"
  read -r ex ey <<<"$at"
  xdotool mousemove "$(sum "$ox" "$ex")" "$(sum "$oy" "$ey")" click 1
}

# click_in_frame URL_PART FRAME_SELECTOR FRAME_URL_PART SELECTOR DX DY [BUTTON]: a
# click DX,DY from the top-left corner of an element of a page shown in a frame
# (BUTTON 3: with the right button).
click_in_frame() {
  local origin frame at ox oy fx fy ex ey
  origin=$(view_origin "$1") && [ -n "$origin" ] || return 1
  frame=$(page "$1" "(function () { var r = document.querySelector('$2').getBoundingClientRect();
      return [r.left, r.top].join(' '); })()" | tr -d '"')
  at=$(page "$1" "(function () { var r = document.querySelector('$4').getBoundingClientRect();
      return [r.left, r.top].join(' '); })()" "$3" | tr -d '"')
  [ -n "$frame" ] && [ -n "$at" ] || return 1
  read -r ox oy <<<"$origin"
  read -r fx fy <<<"$frame"
  read -r ex ey <<<"$at"
  xdotool mousemove "$(sum "$ox" "$fx" "$ex" "$5")" "$(sum "$oy" "$fy" "$ey" "$6")" click "${7:-1}"
}
