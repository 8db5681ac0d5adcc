#!/usr/bin/env bash
# Kill trials: nothing is lost when Tovlo.exe or the updater is killed.
#
#     bash scripts/kill_trials.sh BUILD_DIR [TRIALS]
#
# For each scenario (a config.ini write, a history addition, a pack download
# with its processing, an update install) an undisturbed run first measures
# how long the operation takes from the click that starts it. Then each of
# TRIALS trials (100 by default) takes a fresh copy of the staged program
# folder, starts the program, clicks, and kills every program of the folder
# with SIGKILL at a random moment of that span. Afterwards config.ini must
# parse and hold the old or the new value of the key written (and nothing
# else changed), the history database must pass sqlite3's integrity check
# and be readable, no file the operation writes may be torn, and Tovlo must
# start again on the folder and reach its main page (a pack opened again
# must then come out whole). The exit status is 1 when any of that failed.
#
# BUILD_DIR needs the targets Tovlo Kestrup_updateSelf stage images
# history_db devservice devservice_data fakeqq. Environment:
#   KILL_TRIALS_SCENARIOS  which scenarios, of "config history pack update"
#   KILL_TRIALS_SEED       seed of the kill moments (printed; default random)
#   KILL_TRIALS_KEEP       where failed trials are kept (default a new folder under /tmp)
set -uo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 BUILD_DIR [TRIALS]" >&2
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2
trials=${2:-100}
[[ "$trials" =~ ^[1-9][0-9]*$ ]] || { echo "TRIALS must be a positive number" >&2; exit 2; }
scenarios=${KILL_TRIALS_SCENARIOS:-config history pack update}
seed=${KILL_TRIALS_SEED:-$((RANDOM * 32768 + RANDOM))}
trial_files=$(cd "$(dirname "$0")/../tests/e2e/kill_trials" && pwd)

# The checks themselves must tell a broken file from a sound one.
bash "$trial_files/checkers_selftest.sh" || { echo "FAIL - the checks of the kill trials do not work"; exit 1; }

source "$trial_files/../e2e_lib.sh"
source "$trial_files/trial_lib.sh"
source "$trial_files/run_scenario.sh"
for s in config history pack update; do source "$trial_files/scenario_$s.sh"; done
service_data=$(sed -n 's/.*data folder \([^,]*\),.*/\1/p' "$work/service.txt" | head -1)
keep=${KILL_TRIALS_KEEP:-$(mktemp -d /tmp/tovlo-kill-trials-XXXXXX)}
mkdir -p "$keep"

echo "kill trials: $trials per scenario, seed $seed"
for s in $scenarios; do
  declare -F "${s}_arm" >/dev/null || { echo "no scenario $s"; exit 2; }
  run_scenario "$s" "$trials" "$seed"
done
program="$trial_dir/program"
[ -d "$program" ] && stop_folder_programs

source "$trial_files/summary.sh"
print_summary $scenarios
status=$?
# The folder for failed trials stays only when it holds one.
rmdir "$keep" 2>/dev/null || echo "failed trials are kept in $keep"
# The service's copy of the sample data is this run's own.
[ -n "$service_data" ] && rm -rf "$(dirname "$service_data")"
exit "$status"
