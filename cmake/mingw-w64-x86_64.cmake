# Cross build for 64-bit Windows 10 and later with Debian's mingw-w64.
#   cmake --preset windows   (or -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
#
# The posix thread model: std::thread, std::mutex and std::condition_variable
# exist only there (the win32 model of gcc 12 lacks them), and both the HTTP
# client's time-outs and GoogleTest use them. Its winpthreads runtime is
# linked statically below, so the program still needs no DLL of its own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TALVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -O2 rather than -O3 for Release: gcc 12 reports false -Wrestrict
# overlaps in inlined std::string code at -O3 (GCC bug 105329), and a tray
# program gains nothing from the larger code.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for Release builds")

# Everything statically, so that no libstdc++-6.dll, libgcc_s_seh-1.dll or
# libwinpthread-1.dll has to travel beside the executables.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under Wine, in a prefix of the build folder's own
# (ctest starts each test in its own subfolder).
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../tests/lib/wine-run.sh --prefix ${CMAKE_BINARY_DIR}/wine-prefix)
