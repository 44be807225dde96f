# The program for the 64-bit test build, with the compiler variant of the shipped one.
set(OBERIN_MINGW_CPU x86_64)
set(OBERIN_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
