#!/usr/bin/env bash
# The kill trials' checks tried on files made broken on purpose: each check
# must pass the sound states and catch the torn or wrong ones, or the trials
# would prove nothing. Prints only failures; exit status 1 when one failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d /tmp/tovlo-kill-checks-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
failures=0
expect() {  # expect pass|fail WHAT COMMAND...
  local want=$1 what=$2 got
  shift 2
  if "$@" >"$tmp/out.txt" 2>&1; then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "FAIL - kill trial check: $what (expected $want, got $got)"
    sed 's/^/  /' "$tmp/out.txt"
    failures=$((failures + 1))
  fi
}
expect_output() {  # expect_output TEXT WHAT COMMAND...
  local want=$1 what=$2
  shift 2
  [ "$("$@" 2>&1)" = "$want" ] || { echo "FAIL - kill trial check: $what (expected \"$want\")"; failures=$((failures + 1)); }
}

# --- config.ini -------------------------------------------------------------------
config() { python3 "$here/check_config.py" "$tmp/before.ini" "$tmp/after.ini" run autoLoginName demo; }
printf '[application]\r\nname=Tovlo\r\nver=1.2\r\n\r\n[run]\r\nshowModel=normal\r\nautoLoginName=\r\nfacePath=\r\n' >"$tmp/before.ini"
cp "$tmp/before.ini" "$tmp/after.ini"
expect pass "config.ini with the old value" config
sed 's/^autoLoginName=.*/autoLoginName=demo\r/' "$tmp/before.ini" >"$tmp/after.ini"
expect pass "config.ini with the new value" config
sed 's/^autoLoginName=.*/autoLoginName=dem\r/' "$tmp/before.ini" >"$tmp/after.ini"
expect fail "config.ini with a third value" config
sed 's/^showModel=.*/showModel=fQQ\r/' "$tmp/before.ini" >"$tmp/after.ini"
expect fail "config.ini with another key changed" config
head -c 40 "$tmp/before.ini" >"$tmp/after.ini"
expect fail "config.ini cut short" config
: >"$tmp/after.ini"
expect fail "config.ini empty" config
{ cat "$tmp/before.ini"; printf 'historyNub=16\r\n'; } >"$tmp/after.ini"
expect fail "config.ini with a key added" config
{ cat "$tmp/before.ini"; printf 'showModel=normal\r\n'; } >"$tmp/after.ini"
expect fail "config.ini with a key twice" config
{ cat "$tmp/before.ini"; printf 'defaultFaceClass=\xff\xff\r\n'; } >"$tmp/after.ini"
expect fail "config.ini that is not GBK" config
{ cat "$tmp/before.ini"; printf 'facePa'; } >"$tmp/after.ini"
expect fail "config.ini with a torn last line" config

# --- the history database ----------------------------------------------------------
db="$tmp/datas.jpg"
history() { python3 "$here/check_history.py" "$db" check "$tmp/rows.before" /f/a.gif; }
sqlite3 "$db" "create table history(id integer primary key autoincrement, img text);
  insert into history(img) values ('/f/a.gif'), ('/f/b.gif'), ('/f/c.gif'), ('/f/d.gif');"
python3 "$here/check_history.py" "$db" rows "$tmp/rows.before"
cp "$db" "$tmp/pristine.db"
expect_output old "the history unchanged" history
sqlite3 "$db" "delete from history where img='/f/a.gif'"
expect_output partial "the history with the old row removed" history
sqlite3 "$db" "insert into history(img) values ('/f/a.gif')"
expect_output new "the history with the face recorded" history
cp "$tmp/pristine.db" "$db"
sqlite3 "$db" "delete from history where img='/f/c.gif'"
expect fail "the history with another row lost" history
cp "$tmp/pristine.db" "$db"
sqlite3 "$db" "insert into history(img) values ('/f/e.gif')"
expect fail "the history with a row the operation did not add" history
head -c 1500 "$tmp/pristine.db" >"$db"
expect fail "a history database cut short" history
cp "$tmp/pristine.db" "$db"
printf 'garbage' | dd of="$db" bs=1 seek=4096 conv=notrunc 2>/dev/null
expect fail "a history database with a damaged page" history
head -c 8192 /dev/urandom >"$db"
expect fail "a history file that is no database" history

# --- pack files -----------------------------------------------------------------------
mkdir -p "$tmp/source" "$tmp/reference" "$tmp/pack"
head -c 3000 /dev/urandom >"$tmp/source/1-1.gif"
head -c 2000 /dev/urandom >"$tmp/source/1-2.jpg"
printf 'x' >"$tmp/source/ver-1.txt"
printf '1-1.gif/1-2.jpg/ver-1.txt' >"$tmp/source/imgs.txt"
head -c 5000 /dev/urandom >"$tmp/reference/small.bmp"
printf '<html>pack</html>' >"$tmp/reference/main.html"
pack() { python3 "$here/check_files.py" pack "$tmp/pack" "$tmp/source" "$tmp/reference"; }
expect pass "an empty pack folder" pack
cp "$tmp/source/1-1.gif" "$tmp/source/ver-1.txt" "$tmp/reference/main.html" "$tmp/pack/"
expect pass "a pack folder with whole files and some missing" pack
head -c 1000 "$tmp/source/1-2.jpg" >"$tmp/pack/1-2.jpg"
expect fail "a pack folder with a face cut short" pack
cp "$tmp/source/1-2.jpg" "$tmp/pack/"
head -c 100 "$tmp/reference/small.bmp" >"$tmp/pack/small.bmp"
expect fail "a pack folder with small.bmp cut short" pack
rm "$tmp/pack/small.bmp"
: >"$tmp/pack/main.html"
expect fail "a pack folder with an empty main.html" pack
cp "$tmp/reference/main.html" "$tmp/pack/"
head -c 10 /dev/urandom >"$tmp/pack/1-1.gif.tmp1234"
expect pass "a pack folder with a leftover temporary" pack
expect_output "stray 1-1.gif.tmp1234
torn 0 stray 1" "a leftover temporary is named" pack

# --- installed update files ----------------------------------------------------------------
mkdir -p "$tmp/tree/1.1/w" "$tmp/tree/1.2/docs" "$tmp/old/w" "$tmp/prog"
printf 'w/main.html--run__exe.txt' >"$tmp/tree/1.1/urls.txt"
printf 'page 1.1' >"$tmp/tree/1.1/w/main.html"
printf 'script 1.1' >"$tmp/tree/1.1/run__exe.txt"
printf 'docs/a.txt--Kestrup_updateSelf__exe.txt' >"$tmp/tree/1.2/urls.txt"
printf 'docs 1.2' >"$tmp/tree/1.2/docs/a.txt"
printf 'updater 1.2' >"$tmp/tree/1.2/Kestrup_updateSelf__exe.txt"
printf 'page 1.0' >"$tmp/old/w/main.html"
printf 'updater 1.0' >"$tmp/old/Kestrup.exe"
printf 'tovlo' >"$tmp/old/Tovlo.exe"
update() { python3 "$here/check_files.py" update "$tmp/prog" "$tmp/old" "$tmp/tree"; }
cp -a "$tmp/old/." "$tmp/prog/"
expect pass "a program folder before the update" update
cp "$tmp/tree/1.1/w/main.html" "$tmp/prog/w/main.html"
cp "$tmp/tree/1.1/run__exe.txt" "$tmp/prog/run.exe"
expect pass "a program folder with files of 1.1" update
cp "$tmp/tree/1.2/Kestrup_updateSelf__exe.txt" "$tmp/prog/Kestrup.exe"
expect pass "a program folder with the delivered updater in place" update
printf 'page 1' >"$tmp/prog/w/main.html"
expect fail "a program folder with a page cut short" update
cp "$tmp/old/w/main.html" "$tmp/prog/w/main.html"
rm "$tmp/prog/Kestrup.exe"
expect fail "a program folder without its updater" update
printf 'updater' >"$tmp/prog/Kestrup.exe"
expect fail "a program folder with its updater cut short" update
cp "$tmp/old/Kestrup.exe" "$tmp/prog/"
printf 'upd' >"$tmp/prog/Kestrup_updateSelf.exe"
expect fail "a program folder with the delivered updater cut short" update

[ "$failures" -eq 0 ]
