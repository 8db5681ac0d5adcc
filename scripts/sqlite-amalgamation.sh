#!/usr/bin/env bash
# sqlite-amalgamation.sh OUT: makes the SQLite amalgamation (OUT/sqlite3.c,
# OUT/sqlite3.h) for the Windows build from Debian's own source package of
# this system's release, with Debian's patches: a private apt configuration
# under OUT/work with deb-src lines for the release (the system's sources
# stay as they are), `apt-get source sqlite3`, then `./configure` and
# `make sqlite3.c` (needs tclsh). The build runs it once
# (cmake/sqlite_amalgamation.cmake) and keeps the two files in its folder.
# TOVLO_DEBIAN_MIRROR replaces http://deb.debian.org.
set -euo pipefail

out=$(mkdir -p "$1" && cd "$1" && pwd)
work=$out/work
log=$out/amalgamation.log
started=$SECONDS
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/none" "$work/src"
: >"$log"
trap 'echo "sqlite-amalgamation: failed; the end of $log:" >&2; tail -n 30 "$log" >&2' ERR

# The release of the system, on Debian's servers (as /etc/apt/sources.list*).
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
mirror=${TOVLO_DEBIAN_MIRROR:-http://deb.debian.org}
key=/usr/share/keyrings/debian-archive-keyring.gpg
cat >"$work/apt/sources.list" <<EOF
deb-src [signed-by=$key] $mirror/debian $release main
deb-src [signed-by=$key] $mirror/debian $release-updates main
deb-src [signed-by=$key] $mirror/debian-security $release-security main
EOF
apt=(apt-get -q
     -o Dir::Etc::SourceList="$work/apt/sources.list" -o Dir::Etc::SourceParts="$work/apt/none"
     -o Dir::Etc::Preferences="$work/apt/none/preferences" -o Dir::Etc::PreferencesParts="$work/apt/none"
     -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache")
# As root apt would hand the downloads to its own user, who cannot write here.
if [ "$(id -u)" = 0 ]; then apt+=(-o APT::Sandbox::User=root); fi

echo "sqlite-amalgamation: Debian's sqlite3 source of $release"
"${apt[@]}" update >>"$log" 2>&1
(cd "$work/src" && "${apt[@]}" source sqlite3 >>"$log" 2>&1)
tree=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*')
echo "sqlite-amalgamation: making sqlite3.c in ${tree##*/}"
(cd "$tree" && ./configure --disable-tcl >>"$log" 2>&1 && make sqlite3.c >>"$log" 2>&1)

# The header before the source: the build reruns this when sqlite3.c is missing.
cp "$tree/sqlite3.h" "$out/sqlite3.h"
cp "$tree/sqlite3.c" "$out/sqlite3.c.part"
mv "$out/sqlite3.c.part" "$out/sqlite3.c"
dsc=$(cd "$work/src" && ls ./*.dsc)
rm -rf "$work"
echo "sqlite-amalgamation: made from $(basename "$dsc" .dsc) in $((SECONDS - started)) s"
