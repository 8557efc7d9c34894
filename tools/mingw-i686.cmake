# Cross-compiling for 32-bit Windows with the posix-thread mingw-w64 compilers.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CORVANE_WINE_RUN wine-run)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
