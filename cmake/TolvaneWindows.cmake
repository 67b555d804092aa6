# What a Windows build tree needs besides the cross compiler
# (cmake/toolchains/i686-w64-mingw32.cmake or x86_64-w64-mingw32.cmake): its
# programs run under wine, and GoogleTest is built from source for it.

# CTest and the test listings run the tree's programs through a wrapper
# that keeps one wine prefix for this tree alone, brought up at its first
# use: building the tree, tests included, needs the cross compiler alone.
# A 32-bit tree runs them with wine's 32-bit loader, a 32-bit Linux program
# that only a kernel running 32-bit programs itself can start (under a qemu
# handler it hangs); there the wrapper reports its programs as not run
# (TOLVANE_NOT_RUN_CODE) instead. A 64-bit tree needs wine64 only.
set(TOLVANE_NOT_RUN_CODE 77)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(TOLVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TOLVANE_WINEARCH win32)
    set(TOLVANE_WINE_LOADER /usr/lib/wine/wine)
    set(TOLVANE_WINE_SERVER /usr/lib/wine/wineserver32)
    set(TOLVANE_WINE_NEEDS_32BIT yes)
  else()
    set(TOLVANE_WINEARCH win64)
    set(TOLVANE_WINE_LOADER /usr/lib/wine/wine64)
    set(TOLVANE_WINE_SERVER /usr/lib/wine/wineserver64)
    set(TOLVANE_WINE_NEEDS_32BIT "")
    # Booting a win64 prefix, wine64 also starts wine's 32-bit loader for
    # the prefix's 32-bit part. Where a qemu handler runs 32-bit programs,
    # that loader spins for a minute and fails; with a CPU model it does
    # not know, qemu refuses at once, and the boot goes on as on a machine
    # without 32-bit programs. Nothing else of the tree runs under qemu.
    set(TOLVANE_WINE_QEMU_CPU "none-for-wine64-trees")
  endif()
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine/run.sh.in ${CMAKE_BINARY_DIR}/wine/run
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                  WORLD_EXECUTE
                 @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine/run)
endif()
# What a program of the build machine needs to start wine for this tree.
set(TOLVANE_WINE_ENV "WINELOADER=${TOLVANE_WINE_LOADER}" "WINESERVER=${TOLVANE_WINE_SERVER}"
                     "WINEARCH=${TOLVANE_WINEARCH}")
if(TOLVANE_WINE_QEMU_CPU)
  list(APPEND TOLVANE_WINE_ENV "QEMU_CPU=${TOLVANE_WINE_QEMU_CPU}")
endif()

# GoogleTest from Debian's sources (libgtest-dev), built with the cross
# compiler; it defines the GTest:: targets that find_package gives on Linux.
set(TOLVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for a cross build")
if(BUILD_TESTING)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TOLVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# DLLs carry their plain names (plccomp.dll, rd_s19.dll), not MinGW's lib prefix.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_SHARED_MODULE_PREFIX "")
