# Shared by the kill trials (sourced after tests/e2e/e2e_lib.sh, which has
# started the display, the service and the chat window and prepared a program
# folder): a fresh copy of that folder for every trial, the programs of the
# copy killed all at once, what is taken before the operation to compare
# with afterwards, and starting the program again.
kill_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
template=$program  # e2e_lib.sh's folder: pointed at the service, sample config
trial_dir="$work/trial"

# The clock in microseconds, without starting a process.
now_us() { echo "${EPOCHREALTIME/./}"; }
# Microseconds as seconds with three decimals.
seconds() { printf '%d.%03d' $(($1 / 1000000)) $(($1 % 1000000 / 1000)); }
# nap SECONDS: a short wait that starts no process (a read that times out on
# a pipe nobody writes to), so that polling is fine-grained.
exec {nap_fd}<> <(:)
nap() { read -r -t "$1" -u "$nap_fd" _ || :; }
# has_line FILE LINE: the file holds the line (CR LF or LF), read without
# starting a process.
has_line() {
  local lines line
  mapfile -t lines 2>/dev/null <"$1" || return 1
  for line in "${lines[@]}"; do [ "${line%$'\r'}" = "$2" ] && return 0; done
  return 1
}

# --- the programs of the trial folder -------------------------------------------------
# Every process started from this shell for a trial carries the trial folder
# in KILL_TRIAL_FOLDER (exported by new_trial_folder), and so does whatever
# they start in turn: the web engine's helper processes, the updater, the
# Tovlo.exe the updater starts. That finds them even when their parent is gone.

# The programs of the trial folder, "pid name" per line: Tovlo.exe,
# Kestrup.exe, and updateAft.exe (a script, so its path is the shell's first
# argument).
folder_programs() {
  local d args
  for d in /proc/[0-9]*; do
    mapfile -d '' -t args 2>/dev/null <"$d/cmdline" || continue
    case "${args[0]:-}" in "$program"/*) echo "${d#/proc/} ${args[0]##*/}"; continue ;; esac
    case "${args[1]:-}" in "$program"/*) echo "${d#/proc/} ${args[1]##*/}" ;; esac
  done
}
folder_pids() { folder_programs | cut -d' ' -f1; }
# Every process of the trial but this shell and its subshells.
trial_processes() {
  local d vars
  for d in /proc/[0-9]*; do
    [ "${d#/proc/}" = $$ ] || [ "${d#/proc/}" = "$BASHPID" ] && continue
    mapfile -d '' -t vars 2>/dev/null <"$d/environ" || continue
    [[ " ${vars[*]} " == *" KILL_TRIAL_FOLDER=$program "* ]] && echo "${d#/proc/}"
  done
}

# Kills every program of the trial folder with SIGKILL, again until none is
# left (one may have started another just before it died). Then waits for the
# other processes of the trial (the web engine's helpers) to end, as they do
# when the program they serve is gone; one still there after five seconds is
# killed too. Sets killed_names to the programs that were running.
kill_folder_programs() {
  local found quiet=0 p names=""
  for _ in $(seq 40); do
    found=$(folder_programs)
    if [ -z "$found" ]; then
      quiet=$((quiet + 1))
      [ "$quiet" -ge 2 ] && break
    else
      quiet=0
      kill -KILL $(cut -d' ' -f1 <<<"$found")
      names+=" $(cut -d' ' -f2 <<<"$found")"
    fi
    sleep 0.05
  done
  for _ in $(seq 50); do
    [ -z "$(trial_processes)" ] && break
    sleep 0.1
  done
  for p in $(trial_processes); do
    kill -KILL "$p" && echo "  a helper process ($p) of a killed program was still running" >&3
  done
  [ -n "$tovlo_pid" ] && wait "$tovlo_pid"
  tovlo_pid=""
  killed_names=$(tr ' ' '\n' <<<"$names" | sort -u | grep -v '^$' | tr '\n' ' ')
  killed_names=${killed_names% }
} 3>&1 2>/dev/null  # the shell's notice that its job was killed is expected

# Ends the program of the trial folder the friendly way (it may save things
# then); what does not end within five seconds is killed.
stop_folder_programs() {
  local pids p
  pids=$(folder_pids)
  [ -n "$pids" ] && kill -TERM $pids 2>/dev/null
  for _ in $(seq 50); do
    [ -z "$(folder_pids)" ] && break
    sleep 0.1
  done
  kill_folder_programs
}

# --- one trial's program folder ----------------------------------------------------------
# A fresh copy of the prepared folder; what the last trial left running is ended first.
new_trial_folder() {
  [ -d "$trial_dir/program" ] && stop_folder_programs
  rm -rf "$trial_dir"
  mkdir -p "$trial_dir"
  cp -a "$template" "$trial_dir/program"
  program="$trial_dir/program"
  rm -f "$program/.tovlo.lock"
  export KILL_TRIAL_FOLDER="$program"
}

# --- the program and its pages --------------------------------------------------------------
panel_shown() { test -n "$(panel_id)"; }
# Tovlo started (with the command line given) and its panel, with the main
# page, shown beside the chat window.
start_to_main_page() {
  xdotool windowactivate --sync "$chat" 2>/dev/null
  start_tovlo "$@" || { echo "  Tovlo did not start"; return 1; }
  wait_for 150 page_open main.html || { echo "  the main page did not load"; return 1; }
  xdotool windowactivate --sync "$chat" 2>/dev/null
  wait_for 50 panel_shown || { echo "  the panel was not shown"; return 1; }
  sleep 0.3
}
# point_of URL_PART SELECTOR [INDEX]: where on the screen the middle of the
# element is ("x y"; INDEX picks one of several matches), scrolled into view.
point_of() {
  local origin at ox oy ex ey
  origin=$(view_origin "$1") && [ -n "$origin" ] || return 1
  at=$(page "$1" "(function () { var e = document.querySelectorAll('$2')[${3:-0}]; if (!e) return '';
      e.scrollIntoView({block: 'nearest'}); var r = e.getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2].join(' '); })()" | tr -d '"')
  [ -n "$at" ] || return 1
  read -r ox oy <<<"$origin"
  read -r ex ey <<<"$at"
  echo "$(sum "$ox" "$ex") $(sum "$oy" "$ey")"
}

# --- what is compared afterwards ---------------------------------------------------------------
# The files of the program folder (outside the web engine's own folder), one
# path a line, sorted.
folder_files() { (cd "$program" && find . -path ./webdata -prune -o -type f -print | sed 's|^\./||' | sort); }
# config.ini, the history rows and the list of files as they were just
# before the operation.
take_before() {
  cp "$program/config.ini" "$trial_dir/config.before"
  python3 "$kill_dir/check_history.py" "$program/w/datas.jpg" rows "$trial_dir/rows.before"
  folder_files >"$trial_dir/files.before"
}
# Files that appeared since then, but for those named (paths in the folder).
new_files_but() {
  local expected
  expected=$(printf '%s\n' "$@")
  folder_files | comm -13 "$trial_dir/files.before" - | grep -vxF -e "$expected"
}
