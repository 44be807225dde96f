# Cross-build of the shipped program with mingw-w64's win32-threads variant: its runtime calls
# only kernel32 functions that Windows NT 4.0 has (the posix variant's thread library needs
# GetTickCount64 and vectored exception handlers, which NT 4.0 lacks).
set(OBERIN_MINGW_CPU i686)
set(OBERIN_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
