# Kill trial: a pack download and its processing. A pack is opened from the
# catalogue (公共表情); the program downloads its files into w/<pack>/ over
# three channels, then draws small.bmp and writes main.html, and shows the
# pack. The operation runs from the click on the pack until main.html is on
# disk. After the restart the pack is opened once more: it must come out
# whole, as an undisturbed run makes it.
pack_title="pack download and processing (公共表情 -> 经典笑脸)"
pack_keys=()
pack_img=""
pack_name="经典笑脸"
pack_folder() { echo "$program/w/$pack_name"; }
pack_source() { echo "$build/devdata/soft/$pack_name"; }

pack_prepare() { :; }

# The catalogue shown, and where the pack's card is.
open_catalogue() {
  click_page main.html '#btnSelect' || { echo "  公共表情 could not be clicked"; return 1; }
  local packs
  packs=$(wc -l <"$build/devdata/data/packs.txt")
  wait_for 100 page_true select.html "document.querySelectorAll('[data-cmd^=\"showFace||\"]').length === $packs" ||
    { echo "  the catalogue does not list the $packs packs"; return 1; }
  sleep 0.3
  click_at=$(point_of select.html "[data-cmd^=\"showFace||$pack_name,\"]") || { echo "  no card of $pack_name"; return 1; }
}

pack_arm() {
  start_to_main_page || return 1
  open_catalogue
}

pack_before() { :; }

pack_done() { test -s "$program/w/$pack_name/main.html" -a -s "$program/w/$pack_name/small.bmp"; }

pack_keep_reference() { cp "$(pack_folder)/small.bmp" "$(pack_folder)/main.html" "$reference/"; }

pack_files() { python3 "$kill_dir/check_files.py" pack "$(pack_folder)" "$(pack_source)" "$reference"; }

# What of the pack is missing or differs from an undisturbed run.
pack_lacks() {
  local name
  for name in $(tr '/' ' ' <"$(pack_source)/imgs.txt"); do
    cmp -s "$(pack_source)/$name" "$(pack_folder)/$name" || echo "$name"
  done
  for name in small.bmp main.html; do
    cmp -s "$reference/$name" "$(pack_folder)/$name" || echo "$name"
  done
}

# Every file of the pack there and whole.
pack_whole() { test -s "$(pack_folder)/main.html" && test -z "$(pack_lacks)"; }

# The pack opened again from the catalogue is whole within ten seconds.
pack_after_restart() {
  open_catalogue || return 1
  xdotool mousemove $click_at click 1
  wait_for 100 pack_whole && return 0
  echo "the pack opened again is not whole; missing or different: $(pack_lacks | tr '\n' ' ')"
  echo "in w/$pack_name: $(ls "$(pack_folder)" 2>/dev/null | tr '\n' ' ')"
  return 1
}
