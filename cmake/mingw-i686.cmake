# Cross-build for 32-bit Windows with mingw-w64's posix-threads variant, which has std::mutex
# for GoogleTest. The shipped program itself is built with mingw-i686-win32.cmake.
set(OBERIN_MINGW_CPU i686)
set(OBERIN_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
