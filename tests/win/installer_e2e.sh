#!/usr/bin/env bash
# installer_e2e.sh SETUP.EXE: the Windows installer as a user meets it, under
# Wine: a silent install into a folder with a Chinese name (the installer's
# /D= takes no quotes, and Wine quotes an argument with a space),
# the installed Tovlo.exe starts, a second start says "程序已经运行！", and the
# silent uninstaller removes the folder. Message boxes are printed instead of
# shown (TOVLO_UNATTENDED=1).
set -u
setup=$1
work=$(mktemp -d /tmp/tovlo-install-XXXXXX)
target="$work/表情程序"
first=
fail() { echo "installer_e2e: $*" >&2; exit 1; }
cleanup() {
  [ -n "$first" ] && kill "$first" 2>/dev/null
  wine taskkill /f /im Tovlo.exe >/dev/null 2>&1
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

wine "$setup" /S "/D=$(winepath -w "$target")" || fail "the installer failed"
for f in Tovlo.exe Kestrup.exe Kestrup_updateSelf.exe Uninstall.exe config.ini w/main.html templates/faceMain.html; do
  [ -f "$target/$f" ] || fail "not installed: $f"
done

export TOVLO_UNATTENDED=1
(cd "$target" && exec wine Tovlo.exe >"$work/first.log" 2>&1) &
first=$!
wait_for 30 grep -q "^\[message\]" "$work/first.log" || fail "the installed program did not start: $(cat "$work/first.log")"
(cd "$target" && wine Tovlo.exe >"$work/second.log" 2>&1)
grep -q "^\[message\] Tovlo: 程序已经运行！" "$work/second.log" || fail "a second start said: $(cat "$work/second.log")"
wine taskkill /f /im Tovlo.exe >/dev/null 2>&1
wait "$first" 2>/dev/null
first=

wine "$target/Uninstall.exe" /S
wait_for 30 test ! -e "$target" || fail "the uninstaller left $(ls "$target")"
echo "installer_e2e: installed, started once, refused a second start, uninstalled"
