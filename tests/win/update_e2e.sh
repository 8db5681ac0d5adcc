#!/usr/bin/env bash
# update_e2e.sh PROGRAM_DIR UPDATEAFT_EXE LINUX_BUILD: the Windows updater
# under Wine against the Linux build's devservice (its update tree, with a
# Windows updateAft.exe in place of the Linux one): started as "立刻更新"
# starts it, Kestrup.exe moves a program folder at 1.0 on to 1.1 and, started
# again by updateAft.exe, to 1.2, reports success and starts Tovlo.exe at
# 1.2, which takes its version into config.ini. Exits 77 (skipped) without the Linux build's devservice.
set -u
program=$1 update_aft=$2 linux_build=$3
[ -x "$linux_build/tools/devservice/devservice" ] || { echo "update_e2e: no devservice in $linux_build"; exit 77; }
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/tovlo-update-e2e-XXXXXX)
fail() { echo "update_e2e: $*" >&2; echo "--- the programs said:" >&2; cat "$work/update.log" >&2; exit 1; }
cleanup() {
  wine taskkill /f /im Tovlo.exe >/dev/null 2>&1
  wine taskkill /f /im Kestrup.exe >/dev/null 2>&1
  [ -n "${service:-}" ] && kill "$service" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
wait_for() {  # seconds, then a command
  local left=$(($1 * 10)); shift
  until "$@"; do
    left=$((left - 1)); [ "$left" -gt 0 ] || return 1
    sleep 0.1
  done
}

port=$(bash "$here/tools/devservice/start-devservice.sh" "$linux_build" 2>"$work/service.txt") || fail "no devservice"
service=$(sed -n 's/.*pid \([0-9]*\),.*/\1/p' "$work/service.txt" | head -1)
data=$(sed -n 's/.*data folder \([^,]*\),.*/\1/p' "$work/service.txt" | head -1)
for version in 1.1 1.2; do cp "$update_aft" "$data/soft/update/$version/updateAft__exe.txt"; done

cp -r "$program" "$work/Tovlo"
sed -i -e "s/^serviceHost=.*/serviceHost=127.0.0.1:$port\r/" -e "s/^ver=.*/ver=1.0\r/" "$work/Tovlo/config.ini"
(cd "$work/Tovlo" && TOVLO_UNATTENDED=1 wine Kestrup.exe 1.0 >"$work/update.log" 2>&1)
success() { grep -qF "[message] Tovlo更新程序: 更新成功！" "$work/update.log"; }
wait_for 120 success || fail "no success was reported"
for f in docs/changes-1.1.txt docs/changes-1.2.txt docs/logo.gif notes.md; do
  [ -f "$work/Tovlo/$f" ] || fail "not delivered: $f"
done
started() { pgrep -f 'Tovlo.exe 1.2' >/dev/null; }
wait_for 30 started || fail "Tovlo.exe was not started at 1.2"
# Tovlo takes the version it was started with into config.ini.
names_1_2() { tr -d '\r' <"$work/Tovlo/config.ini" | grep -qx "ver=1.2"; }
wait_for 30 names_1_2 || fail "config.ini does not name 1.2"
echo "update_e2e: 1.0 -> 1.1 -> 1.2, success reported, Tovlo.exe started at 1.2"
