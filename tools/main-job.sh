#!/bin/bash
# Installs what is missing, builds Oberin, lays out a sample Windows NT 4.0 server in a fresh Wine
# prefix, runs "oberin.exe s" there and shows the log and what the run removed.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
build="${OBERIN_BUILD:-$top/build}"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build"
. "$top/tests/bed/bed.sh"
prefix=$(bed_prefix "$build/bed" main-job)
bed_env "$prefix"
trap 'bed_server_stop; bed_xvfb_stop' EXIT
bed_xvfb_start
export OBERIN_TESTS_DIR="$(bed_winpath "$top/tests")"
bed_server_start
machine() { wine "$build/bin/machine.exe" "$@" >"$prefix/machine.out" 2>&1 </dev/null; cat "$prefix/machine.out"; }
server="C:\\server"
machine layout sample-server
machine snapshot 'C:\before.txt'
mkdir -p "$prefix/drive_c/server"
cp "$build/bin/oberin.exe" "$prefix/drive_c/server/"
(cd "$prefix/drive_c/server" && wine oberin.exe s >/dev/null 2>&1 </dev/null)
machine snapshot 'C:\after.txt'
echo "=== $server\\oberin.log"
cat "$prefix/drive_c/server/oberin.log"
echo "=== removed from the machine"
machine removed 'C:\before.txt' 'C:\after.txt'
