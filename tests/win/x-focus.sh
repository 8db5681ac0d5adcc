#!/usr/bin/env bash
# x-focus.sh COMMAND [ARGS...]: runs the command (the focus journey of the
# Win32 forms) under openbox on the test display. When the test writes
# "shown" into the file named by TOVLO_X_FOCUS, the window the window manager
# holds active (_NET_ACTIVE_WINDOW) is written back: "chat" for the test
# chat window ("张三"), else that window's title or "none".
set -u
openbox >/dev/null 2>&1 &
wm=$!
file=$(mktemp /tmp/x-focus-XXXXXX)
trap 'kill "$wm" 2>/dev/null; rm -f "$file"' EXIT
sleep 1
(
  for _ in $(seq 600); do
    if [ "$(cat "$file")" = shown ]; then
      active=$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | head -1)
      title=$(xprop -id "${active:-0}" _NET_WM_NAME 2>/dev/null | sed -n 's/.* = "\(.*\)"$/\1/p')
      if [ "$title" = 张三 ]; then echo -n chat >"$file"; else echo -n "${title:-none}" >"$file"; fi
      exit
    fi
    sleep 0.1
  done
) &
TOVLO_X_FOCUS=$(winepath -w "$file" 2>/dev/null) "$@"
