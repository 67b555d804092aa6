# What both Windows toolchain files share: Debian's mingw-w64 cross compiler
# for TOLVANE_MINGW_TRIPLE, set by the file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)

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
