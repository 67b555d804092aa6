# Helpers for tests that play the QDX controller with the stand-in.
# On Windows only QDX_STANDIN_ENV and the two functions are given.
# include(${CMAKE_SOURCE_DIR}/tests/standin/QdxStandin.cmake) gives:
#   QDX_STANDIN_ENV        "LD_PRELOAD=..." for a test's ENVIRONMENT (tolvane_add_gtest ENV)
#   QDX_STANDIN_PRELOAD    the LD_PRELOAD value alone, for scripts
#   QDX_STANDIN_LIBRARY    the stand-in's absolute path
#   qdx_standin_use(<target>...)            build the stand-in with these test programs
#                                           and add them to the import check
#   qdx_standin_check_imports(<target>...)  add binaries that talk to the device to the
#                                           import check (test "standin.imports")
include_guard(DIRECTORY)

if(WIN32)
  # The stand-in's hid.dll and cfgmgr32.dll lie beside the test programs in
  # <build>/tests; wine has to take them over its own.
  set(QDX_STANDIN_ENV "WINEDLLOVERRIDES=hid,cfgmgr32=n")
  function(qdx_standin_use)
    foreach(target IN LISTS ARGN)
      add_dependencies(${target} qdx_standin_hid qdx_standin_cfgmgr32)
    endforeach()
  endfunction()
  # The programs link the real backend: there is no import to check.
  function(qdx_standin_check_imports)
  endfunction()
  return()
endif()

# A relative LD_PRELOAD is ignored without a word, so the stand-in lands at a
# fixed place of the build tree.
set(QDX_STANDIN_LIBRARY "${CMAKE_BINARY_DIR}/tests/libqdx_standin.so")

# GCC's ASan runtime is a shared library that has to be the first one loaded;
# clang links its runtime into each program instead. The compiler is asked
# with the build's own flags: with -m32 it names the 32-bit runtime, without
# them the 64-bit one, which a 32-bit test cannot load.
set(QDX_STANDIN_PRELOAD "${QDX_STANDIN_LIBRARY}")
if(TOLVANE_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  separate_arguments(_qdx_standin_flags UNIX_COMMAND "${CMAKE_CXX_FLAGS}")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} ${_qdx_standin_flags} -print-file-name=libasan.so
                  OUTPUT_VARIABLE _qdx_standin_asan OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_qdx_standin_asan}" OR NOT EXISTS "${_qdx_standin_asan}")
    message(FATAL_ERROR "no ASan runtime to preload ahead of the stand-in (got '${_qdx_standin_asan}')")
  endif()
  set(QDX_STANDIN_PRELOAD "${_qdx_standin_asan}:${QDX_STANDIN_LIBRARY}")
endif()
set(QDX_STANDIN_ENV "LD_PRELOAD=${QDX_STANDIN_PRELOAD}")

function(qdx_standin_use)
  foreach(target IN LISTS ARGN)
    add_dependencies(${target} qdx_standin)
  endforeach()
  qdx_standin_check_imports(${ARGN})
endfunction()

# Every hidapi function a binary imports has to be defined by the stand-in:
# one it lacks would reach the real library with a handle it never made.
function(qdx_standin_check_imports)
  set_property(GLOBAL APPEND PROPERTY QDX_STANDIN_IMPORT_TARGETS ${ARGN})
  get_property(scheduled GLOBAL PROPERTY QDX_STANDIN_IMPORT_CHECK_SCHEDULED)
  if(NOT scheduled)
    set_property(GLOBAL PROPERTY QDX_STANDIN_IMPORT_CHECK_SCHEDULED ON)
    # One test over all binaries, added once every folder has named its own.
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _qdx_standin_add_import_check)
  endif()
endfunction()

function(_qdx_standin_add_import_check)
  get_property(targets GLOBAL PROPERTY QDX_STANDIN_IMPORT_TARGETS)
  get_property(real GLOBAL PROPERTY QDX_STANDIN_REAL_HIDAPI)
  list(REMOVE_DUPLICATES targets)
  set(files)
  foreach(target IN LISTS targets)
    list(APPEND files $<TARGET_FILE:${target}>)
  endforeach()
  add_test(NAME standin.imports
           COMMAND ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check-imports.sh $<TARGET_FILE:qdx_standin> ${real} ${files})
endfunction()
