#!/bin/bash
# Installs what is missing, builds Oberin, lays out the sample Windows NT 4.0 server (all 18
# products) in a fresh Wine prefix, runs "oberin.exe s" there and shows the log, what the run
# changed and a count of it by kind; then runs it again after a restart.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
build="${OBERIN_BUILD:-$top/build}"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build"
export OBERIN_DISPLAY=1 OBERIN_RUN_NAME=main-job
"$top/tests/bed/wine-run" "$build/bed" "$build/bin/machine.exe" sample-server | tee "$build/main-job.out"
echo "=== what the first run changed, by kind"
sed -n '/^=== what changed/,/^===/p' "$build/main-job.out" | grep -E '^[-+] ' | awk '{print $1, $2}' |
  sort | uniq -c | sed 's/ - / removed /; s/ + / added /'
