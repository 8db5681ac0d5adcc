#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz under build-fuzz/ (clang, with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for the
# given seconds (60 by default), two at a time, each on a scratch copy of
# its committed seed corpus. Prints per target the executions, the coverage
# (cov and ft of libFuzzer's last stats line) and whether it crashed; the
# inputs that crashed are kept under build-fuzz/crashes/<target>/. Exits
# non-zero when any target crashed.
#
#   bash scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build-fuzz

# Each target and the longest input it is given.
targets=(
  ini:8192
  pack_list:8192
  face_listing:8192
  version_list:4096
  urls_list:4096
  server_params:4096
  plugin_files:4096
  clipboard:4096
  upload_answer:8192
  commands:1024
)

bash scripts/install-deps.sh

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTOVLO_FUZZ=ON -DTOVLO_TESTS=OFF
fi
cmake --build "$build" --target fuzz_targets --parallel "$(nproc)"

# The targets write small files all the time: on a memory file system when
# there is one, so the disk does not set the pace.
scratch_parent=/dev/shm
[ -d "$scratch_parent" ] && [ -w "$scratch_parent" ] || scratch_parent="$PWD/$build"
work="$build/fuzz-work"
rm -rf "$work"
mkdir -p "$work" "$build/crashes"

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer

# One target: its corpus copied to a scratch folder, its temporary files in
# a folder of its own that goes away afterwards.
run_target() {
  local name="$1" max_len="$2"
  local dir="$work/$name"
  mkdir -p "$dir/corpus" "$build/crashes/$name"
  cp tests/fuzz/corpus/"$name"/* "$dir/corpus/"
  local tmp
  tmp="$(mktemp -d "$scratch_parent/tovlo-fuzz-$name.XXXXXX")"
  local rc=0
  TMPDIR="$tmp" "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/crashes/$name/" "$dir/corpus" \
      >"$dir/log" 2>&1 || rc=$?
  echo "$rc" >"$dir/rc"
  rm -rf "$tmp"
}

echo "fuzz: ${#targets[@]} targets, ${seconds} s each, two at a time"
for entry in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
  run_target "${entry%%:*}" "${entry##*:}" &
done
wait

failed=0
printf '%-14s %12s %8s %8s  %s\n' target executions cov ft result
for entry in "${targets[@]}"; do
  name="${entry%%:*}"
  dir="$work/$name"
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)"
  stats="$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$dir/log" | tail -1 || true)"
  cov="$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$stats")"
  ft="$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$stats")"
  if [ -z "$execs" ]; then execs="$(sed -n 's/^#\([0-9]*\).*/\1/p' <<<"$stats")"; fi
  if [ "$(cat "$dir/rc")" = 0 ]; then
    result="no crash"
  else
    failed=1
    crash="$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$dir/log" | tail -1)"
    result="CRASH ${crash:-(no input written)}, log $dir/log"
  fi
  printf '%-14s %12s %8s %8s  %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done

if [ "$failed" -ne 0 ]; then
  echo "fuzz: a target crashed; what it reported:"
  for entry in "${targets[@]}"; do
    name="${entry%%:*}"
    [ "$(cat "$work/$name/rc")" = 0 ] && continue
    echo "--- $name"
    grep -E -A30 '^CHECK failed|ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error:|deadly signal' \
      "$work/$name/log" | head -60
  done
  exit 1
fi
