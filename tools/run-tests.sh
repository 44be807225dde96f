#!/bin/sh
# Installs what is missing, builds Oberin and its tests, and runs the whole test suite under Wine,
# on the architecture this machine can run (see tools/test-arch.sh).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/test-arch.sh"
build_for_arch
build=$OBERIN_BUILD
cd "$build"
# The figures first, the benchmarks alone, so that their figures are not the tests' load (nor the
# build's writes still on their way to the disk); then the tests in parallel.
sync
ctest --output-on-failure -L figures
echo "=== figures"
cat "$build/bed/run/shipped_program.out" "$build/bed/run/benchmarks.out"
# One more test than there are cores: the tests wait on Wine's processes and servers a good part
# of their time.
ctest --output-on-failure -j "$(($(nproc) + 1))" -LE bench "$@"
