#!/usr/bin/env bash
# with-xvfb.sh COMMAND [ARGS...]: runs the command on a private Xvfb of its
# own (1280x1024, 24 bits) and stops the server afterwards. Xvfb picks the
# display number itself (-displayfd), so tests started side by side never
# race for the same number, as `xvfb-run -a` can.
set -u
folder=$(mktemp -d /tmp/with-xvfb-XXXXXX)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/display" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$folder"' EXIT
for _ in $(seq 100); do
  [ -s "$folder/display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$folder/display" ]; then
  echo "with-xvfb: Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$(head -1 "$folder/display")" "$@"
