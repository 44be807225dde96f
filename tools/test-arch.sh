# Sourced by the test command and the main job: the Windows architecture the tests
# run on here. x86 where a 32-bit x86 program actually executes (32-bit Wine runs there, and the
# tests run the shipped 32-bit oberin.exe itself); else x64, the same sources built for x86-64
# under 64-bit Wine. OBERIN_TEST_ARCH=x86 or x64 chooses one. Sets OBERIN_TEST_ARCH, the reason
# in OBERIN_TEST_ARCH_REASON and the build folder in OBERIN_BUILD (unless set): build/ for x86,
# build-x64/ for x64.

# Whether this machine executes a 32-bit x86 Linux program: a 93-byte static one that only
# exits with 42, tried for real (a kernel without 32-bit emulation answers "Exec format error"),
# made in the checkout, where programs may run.
runs_32bit_programs() {
  probe=$(mktemp "$top/.arch-probe.XXXXXX")
  printf '\177\105\114\106\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0\61\333\263\52\61\300\100\315\200' >"$probe"
  chmod +x "$probe"
  status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" = 42 ]
}

case "${OBERIN_TEST_ARCH:-}" in
  x86 | x64) OBERIN_TEST_ARCH_REASON="chosen by OBERIN_TEST_ARCH" ;;
  "")
    if runs_32bit_programs; then
      OBERIN_TEST_ARCH=x86
      OBERIN_TEST_ARCH_REASON="a 32-bit x86 program runs on this machine"
    else
      OBERIN_TEST_ARCH=x64
      OBERIN_TEST_ARCH_REASON="a 32-bit x86 program cannot run on this machine"
    fi ;;
  *) echo "OBERIN_TEST_ARCH must be x86 or x64, not $OBERIN_TEST_ARCH" >&2; exit 2 ;;
esac
export OBERIN_TEST_ARCH
if [ "$OBERIN_TEST_ARCH" = x86 ]; then
  OBERIN_TOOLCHAIN=mingw-i686.cmake
  OBERIN_BUILD=${OBERIN_BUILD:-$top/build}
else
  OBERIN_TOOLCHAIN=mingw-x86_64.cmake
  OBERIN_BUILD=${OBERIN_BUILD:-$top/build-x64}
fi

# Names the architecture and why, installs what it needs, and configures and builds Oberin and
# its tests into OBERIN_BUILD.
build_for_arch() {
  echo "architecture: $OBERIN_TEST_ARCH ($OBERIN_TEST_ARCH_REASON)"
  "$top/tools/setup-debian.sh" "$OBERIN_TEST_ARCH"
  cmake -S "$top" -B "$OBERIN_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$OBERIN_TOOLCHAIN" >/dev/null
  cmake --build "$OBERIN_BUILD"
}
