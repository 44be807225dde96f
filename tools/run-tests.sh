#!/bin/sh
# Installs what is missing, builds Oberin and its tests, and runs the whole test suite under Wine.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
build="${OBERIN_BUILD:-$top/build}"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake"
cmake --build "$build"
cd "$build"
# The benchmarks alone, so that their figures are not the tests' load (nor the build's writes
# still on their way to the disk); then the tests in parallel.
sync
ctest --output-on-failure -L bench
echo "=== benchmark figures"
cat "$build/bed/run/benchmarks.out"
ctest --output-on-failure -j "$(nproc)" -LE bench "$@"
