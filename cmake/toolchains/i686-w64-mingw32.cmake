# 32-bit Windows with Debian's mingw-w64 cross compiler (g++-mingw-w64-i686-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TOLVANE_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TOLVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLVANE_MINGW_TRIPLE}-windres)

# Headers and libraries come from the cross compiler's tree only; programs
# (pkg-config, scripts) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TOLVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config must not offer the build machine's Linux libraries.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${TOLVANE_MINGW_TRIPLE}/lib/pkgconfig)

# The compiler's own runtime (libstdc++, libgcc, winpthread) is linked into
# every program and DLL, so that they need no DLL but Windows' own and ours.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)
