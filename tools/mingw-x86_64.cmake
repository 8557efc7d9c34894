# Cross-compiling for 64-bit Windows (the test build) with the posix-thread mingw-w64 compilers.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CORVANE_WINE_RUN wine-run64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
