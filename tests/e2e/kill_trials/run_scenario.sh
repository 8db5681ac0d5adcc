# Runs the trials of one scenario (sourced after trial_lib.sh and the
# scenario files). A scenario S provides S_prepare (the fresh folder before
# the start), S_arm (the program started and brought to the moment before
# the operation; sets click_at, the point whose click starts it), S_before
# (what else to keep for comparing), S_done (the operation has finished),
# S_keep_reference (what an undisturbed run made, kept in $reference),
# S_files (the torn-file check; its last line is "torn N stray M"), the
# config.ini key it writes as S_keys=(SECTION KEY NEW_VALUE), the history
# entry it records as S_img, and optionally S_after_restart (a check once
# the program has started again).
declare -A tally  # "scenario:what" -> count

count() { tally["$1:$2"]=$(($(tally_of "$1" "$2") + 1)); }
tally_of() { echo "${tally["$1:$2"]:-0}"; }

# Clicks the point found by S_arm and notes when (in microseconds): the
# button goes down first, the page acts when it comes up.
start_operation() {
  xdotool mousemove $click_at mousedown 1
  started=${EPOCHREALTIME/./}
  xdotool mouseup 1
}

# measure_once S: an undisturbed run, which must finish within a minute and
# pass every check; sets span_us (microseconds from the click to the end).
# The first run keeps what it made in $reference; the later ones must make
# the same.
measure_once() {
  local s=$1 out
  new_trial_folder
  "${s}_prepare" && "${s}_arm" || return 1
  take_before
  "${s}_before"
  start_operation
  until "${s}_done"; do
    if [ $(($(now_us) - started)) -ge 60000000 ]; then
      echo "  the operation did not finish within a minute"
      return 1
    fi
    nap 0.002
  done
  span_us=$(($(now_us) - started))
  [ -n "$(ls -A "$reference")" ] || "${s}_keep_reference"
  stop_folder_programs
  local keys="${s}_keys[@]" img="${s}_img"
  out=$(python3 "$kill_dir/check_config.py" "$trial_dir/config.before" "$program/config.ini" "${!keys}") ||
    { echo "  after an undisturbed run: $out"; return 1; }
  out=$(python3 "$kill_dir/check_history.py" "$program/w/datas.jpg" check "$trial_dir/rows.before" ${!img:+"${!img}"}) ||
    { echo "  after an undisturbed run: $out"; return 1; }
  if [ -n "${!img}" ] && [ "$out" != new ]; then
    echo "  after an undisturbed run the history is $out, not new"
    return 1
  fi
  out=$("${s}_files") || { echo "  after an undisturbed run: $out"; return 1; }
}

# measure_scenario S: three undisturbed runs; sets span_us and span to the
# middle one of their times, and measured to all three.
measure_scenario() {
  local spans=() i
  for i in 1 2 3; do
    measure_once "$1" || return 1
    spans+=("$span_us")
  done
  span_us=$(printf '%s\n' "${spans[@]}" | sort -n | sed -n 2p)
  span=$(seconds "$span_us")
  measured=$(for i in "${spans[@]}"; do seconds "$i"; echo; done | tr '\n' ' ')
}

# kill_delays TRIALS SPAN_US SEED: the kill delays in microseconds, the span
# cut into as many equal slices as trials, one random moment in each, in
# random order.
kill_delays() {
  python3 -c 'import random, sys
n, span, seed = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
r = random.Random(seed)
delays = [int(span * (i + r.random()) / n) for i in range(n)]
r.shuffle(delays)
print("\n".join(str(d) for d in delays))' "$1" "$2" "$3"
}

# Keeps a failed trial's folder (the first five of a scenario; without the
# web engine's data, and without Tovlo.exe when it is the staged one) and the
# program's output, for a look later.
keep_trial() {
  local to="$keep/$1-$2"
  count "$1" kept
  [ "$(tally_of "$1" kept)" -le 5 ] || return 0
  mkdir -p "$to"
  cp -a "$trial_dir/." "$to/"
  rm -rf "$to/program/webdata" "$to/before/webdata"
  cmp -s "$template/Tovlo.exe" "$to/program/Tovlo.exe" && rm "$to/program/Tovlo.exe"
  rm -f "$to/before/Tovlo.exe"
  cp "$work/tovlo.txt" "$to/restart-output.txt" 2>/dev/null
  echo "    kept in $to"
}

# run_trial S NUMBER DELAY_US
run_trial() {
  local s=$1 i=$2 delay=$3 tries out kind landed restart="ok" files_out
  for tries in 1 2; do
    new_trial_folder
    "${s}_prepare" && "${s}_arm" && break
    [ "$tries" = 2 ] && { count "$s" void; echo "  $s #$i: the trial could not be set up twice; not run"; return; }
  done
  take_before
  "${s}_before"
  start_operation
  local rest=$((delay - ($(now_us) - started))) kill_at
  [ "$rest" -gt 0 ] && nap "$(printf '%d.%06d' $((rest / 1000000)) $((rest % 1000000)))"
  kill_at=$(seconds $(($(now_us) - started)))
  kill_folder_programs
  local killed="$killed_names"
  cp "$work/tovlo.txt" "$trial_dir/kill-output.txt"
  count "$s" trials
  if "${s}_done"; then landed=after; else landed=during; count "$s" during; fi

  local keys="${s}_keys[@]" img="${s}_img" problems=()
  if ! out=$(python3 "$kill_dir/check_config.py" "$trial_dir/config.before" "$program/config.ini" "${!keys}"); then
    count "$s" bad_config
    problems+=("config.ini: $out")
  fi
  if kind=$(python3 "$kill_dir/check_history.py" "$program/w/datas.jpg" check "$trial_dir/rows.before" ${!img:+"${!img}"}); then
    # An addition is one transaction: its face's old row gone without the
    # new one is a lost history line.
    if [ "$kind" = partial ]; then
      count "$s" history_partial
      problems+=("history: the face's old row is gone and its new one missing")
    fi
  else
    count "$s" bad_db
    problems+=("history: $kind")
    kind=bad
  fi
  files_out=$("${s}_files")
  local torn stray
  read -r _ torn _ stray <<<"$(tail -1 <<<"$files_out")"
  if [ "${torn:-1}" != 0 ]; then
    tally["$s:torn"]=$(($(tally_of "$s" torn) + ${torn:-1}))
    problems+=("$(grep -v '^torn [0-9]* stray' <<<"$files_out" | grep '^torn')")
  fi
  [ "${stray:-0}" != 0 ] && tally["$s:stray"]=$(($(tally_of "$s" stray) + stray))

  # The next start on the same folder (not in a subshell: the program
  # started is this shell's child).
  if start_to_main_page >"$trial_dir/restart.txt"; then
    if declare -F "${s}_after_restart" >/dev/null && ! "${s}_after_restart" >"$trial_dir/restart.txt"; then
      count "$s" not_whole
      restart="ok, but the ${s} is not whole after it"
      problems+=("after the restart: $(cat "$trial_dir/restart.txt")")
    fi
  else
    count "$s" failed_restart
    restart="failed"
    problems+=("restart: $(cat "$trial_dir/restart.txt")")
  fi
  stop_folder_programs

  printf '  %s #%d: kill at %s s of %s (%s): %s; history %s; torn %s stray %s; restart %s\n' \
    "$s" "$i" "$kill_at" "$span" "$killed" "$landed" "$kind" "${torn:-?}" "${stray:-?}" "$restart"
  if [ "${#problems[@]}" -gt 0 ]; then
    printf '%s\n' "${problems[@]}" | sed 's/^ */    /'
    keep_trial "$s" "$i"
  fi
  [ "${stray:-0}" != 0 ] && grep '^stray' <<<"$files_out" | sed 's/^/    /'
}

# run_scenario S TRIALS SEED
run_scenario() {
  local s=$1 n=$2 seed=$3 title="${1}_title" i
  echo "== $s: ${!title}"
  reference="$work/reference-$s"
  mkdir -p "$reference"
  declare -F "${s}_once" >/dev/null && "${s}_once"
  if ! measure_scenario "$s"; then
    echo "  FAIL - the undisturbed run did not work; no trials"
    count "$s" void
    stop_folder_programs
    return
  fi
  echo "  undisturbed runs: ${measured% } s from the click to the end; kills spread over ${span} s (seed $seed)"
  local delays
  mapfile -t delays < <(kill_delays "$n" "$span_us" "$seed")
  for i in "${!delays[@]}"; do
    run_trial "$s" $((i + 1)) "${delays[$i]}" </dev/null
  done
}
