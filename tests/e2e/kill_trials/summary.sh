# The table of the kill trials' counts (sourced after run_scenario.sh, which
# keeps them in `tally`). print_summary SCENARIO...: one row per scenario;
# returns 1 when a trial found a fault or a trial could not be run.
print_summary() {
  local s status=0 bad
  echo
  echo "kill trials: counts per scenario"
  printf '%-8s %7s %7s %6s %11s %8s %16s %10s %7s %9s %5s\n' scenario trials during torn "bad-config" "bad-db" \
    "failed-restarts" "not-whole" stray "hist-part" void
  for s in "$@"; do
    printf '%-8s %7s %7s %6s %11s %8s %16s %10s %7s %9s %5s\n' "$s" "$(tally_of "$s" trials)" \
      "$(tally_of "$s" during)" "$(tally_of "$s" torn)" "$(tally_of "$s" bad_config)" "$(tally_of "$s" bad_db)" \
      "$(tally_of "$s" failed_restart)" "$(tally_of "$s" not_whole)" "$(tally_of "$s" stray)" \
      "$(tally_of "$s" history_partial)" "$(tally_of "$s" void)"
    bad=$(($(tally_of "$s" torn) + $(tally_of "$s" bad_config) + $(tally_of "$s" bad_db) +
      $(tally_of "$s" failed_restart) + $(tally_of "$s" not_whole) + $(tally_of "$s" history_partial) +
      $(tally_of "$s" void)))
    [ "$bad" -ne 0 ] && status=1
  done
  cat <<'EOF'
  trials: trials run; during: kills that landed while the operation ran (it had not finished);
  torn: torn files; bad-config: config.ini unreadable or with a wrong value; bad-db: history
  database that fails to open, check or read; failed-restarts: Tovlo did not reach its main page
  again; not-whole: the pack opened again after the restart was not whole; stray: files left
  behind that the operation does not write, such as a cut-short write's temporary (not counted
  as faults); hist-part: history with the clicked face's old row gone and the new one not yet
  added (a fault: an addition is one transaction); void: trials that could not be set up.
EOF
  if [ "$status" -eq 0 ]; then echo "all kill trials passed"; else echo "FAIL - some kill trials found faults"; fi
  return "$status"
}
