#!/usr/bin/env bash
# start-devservice.sh BUILD_DIR [PORT]
#
# Copies the pristine sample data of BUILD_DIR (made by the build as
# BUILD_DIR/devdata) to a fresh temporary folder, starts the devservice there
# in the background on 127.0.0.1:PORT (default 0: a free port) and prints the
# port on standard output. Where things are goes to standard error; the
# folder also holds devservice.pid (stop it with: kill "$(cat FOLDER/devservice.pid)"),
# requests.log and the service's output.
#
# DEVSERVICE_DELAY_MS, when set and not empty, is passed on as --delay-ms:
# every answer for a plain file of soft/ (pack lists and files, class faces,
# the update tree, connect.html and params.html too) waits that many
# milliseconds, so that a test can stop the service while a pack is
# downloading.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 BUILD_DIR [PORT]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
port=${2:-0}
binary="$build/tools/devservice/devservice"
pristine="$build/devdata"
if [ ! -x "$binary" ] || [ ! -d "$pristine/soft" ]; then
  echo "start-devservice: build the targets devservice and devservice_data in $build first" >&2
  exit 1
fi

folder=$(mktemp -d "${TMPDIR:-/tmp}/tovlo-devservice-XXXXXX")
cp -R "$pristine" "$folder/data"

options=()
if [ -n "${DEVSERVICE_DELAY_MS:-}" ]; then
  options+=(--delay-ms "$DEVSERVICE_DELAY_MS")
fi

setsid "$binary" --root "$folder/data" --port "$port" --log "$folder/requests.log" "${options[@]}" \
  >"$folder/output.log" 2>&1 </dev/null &
pid=$!
echo "$pid" >"$folder/devservice.pid"

# The service's first line names the port it listens on.
for _ in $(seq 100); do
  line=$(head -n 1 "$folder/output.log" 2>/dev/null || true)
  case "$line" in
    "devservice listening on 127.0.0.1:"*)
      echo "start-devservice: pid $pid, data folder $folder/data, log $folder/requests.log" >&2
      echo "${line##*:}"
      exit 0 ;;
  esac
  if ! kill -0 "$pid" 2>/dev/null; then break; fi
  sleep 0.1
done
echo "start-devservice: the service did not start:" >&2
cat "$folder/output.log" >&2
kill "$pid" 2>/dev/null || true
exit 1
