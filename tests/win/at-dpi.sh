#!/usr/bin/env bash
# at-dpi.sh DPI COMMAND [ARGS...]: runs the command with the Wine prefix's
# system DPI set to DPI (144 is 150 %, 192 is 200 %), as a user's display
# setting would be, and puts 96 (100 %) back afterwards.
set -u
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
set_dpi "$1"
shift
trap 'set_dpi 96' EXIT
"$@"
