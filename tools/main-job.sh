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
export OBERIN_BIN_DIR="$(bed_winpath "$build/bin")"
bed_server_start
machine() { wine "$build/bin/machine.exe" "$@" >"$prefix/machine.out" 2>&1 </dev/null; cat "$prefix/machine.out"; }
server="C:\\server"
rm -rf "$prefix/drive_c/server"
mkdir -p "$prefix/drive_c/server"
cp "$build/bin/oberin.exe" "$prefix/drive_c/server/"
# Lays the server out (all 18 products, some main files held open as by running programs),
# runs "oberin.exe s" there and snapshots the machine before and after.
machine run sample-server "$server" 'C:\before.txt' 'C:\after.txt'
echo "=== $server\\oberin.log"
cat "$prefix/drive_c/server/oberin.log"
echo "=== what the run did"
machine summary 'C:\before.txt' 'C:\after.txt'
