# What a Windows build tree needs besides the cross compiler
# (cmake/toolchains/i686-w64-mingw32.cmake): its programs run under wine,
# and GoogleTest is built from source for it.

# CTest, gtest_discover_tests and add_test run the tree's programs through
# a wrapper that keeps one wine prefix for this tree alone.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(TOLVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine/run.sh.in ${CMAKE_BINARY_DIR}/wine/run
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                  WORLD_EXECUTE
                 @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine/run)
  # The first run creates the prefix (some seconds); done here, the build's
  # parallel test listings do not queue up behind it. The wrapper bounds each
  # of its steps; the limit here also covers a wine that stalls the program.
  if(BUILD_TESTING AND NOT EXISTS ${TOLVANE_WINEPREFIX}/.booted)
    message(STATUS "Booting the wine prefix ${TOLVANE_WINEPREFIX}")
    execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} cmd /c exit
                    INPUT_FILE /dev/null OUTPUT_QUIET ERROR_QUIET
                    TIMEOUT 600
                    RESULT_VARIABLE boot_result)
    if(NOT boot_result STREQUAL "0")
      message(FATAL_ERROR "The wine prefix ${TOLVANE_WINEPREFIX} did not come up (${boot_result}). "
                          "Running ${CMAKE_CROSSCOMPILING_EMULATOR} cmd /c exit shows why.")
    endif()
  endif()
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
