# The test build for 64-bit Windows, for machines that cannot run 32-bit programs: the same
# sources and tests under 64-bit Wine. The program the tests run is built with
# mingw-x86_64-win32.cmake; the shipped one is still the 32-bit build of mingw-i686-win32.cmake.
set(OBERIN_MINGW_CPU x86_64)
set(OBERIN_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
