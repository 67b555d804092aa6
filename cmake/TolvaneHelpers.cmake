# The symbol prefix of a C function as the linker sees it (32-bit Windows
# puts an underscore before every cdecl name).
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TOLVANE_C_SYMBOL_PREFIX "_")
else()
  set(TOLVANE_C_SYMBOL_PREFIX "")
endif()

# tolvane_export_only(<target> <name>...)
# Lets exactly the listed extern "C" names leave the shared library <target>
# and adds a test that its export table holds exactly these names. On Linux
# a linker version script hides everything else, template instantiations of
# the standard library included; a Windows DLL exports only what is marked
# TOLVANE_EXPORT, and the test also sees that no name is decorated.
function(tolvane_export_only target)
  set(names ${ARGN})
  if(NOT WIN32)
    set(map "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports.map")
    list(JOIN names ";\n    " body)
    # Rewritten only when its text changes, so a reconfigure relinks nothing.
    file(CONFIGURE OUTPUT "${map}" CONTENT "{\n  global:\n    ${body};\n  local: *;\n};\n")
    target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${map}")
  endif()
  if(BUILD_TESTING AND NOT TOLVANE_FUZZ)
    set(reader "")
    if(WIN32)
      set(reader --objdump ${CMAKE_OBJDUMP})
    endif()
    add_test(NAME ${target}.exports
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exports.sh ${reader} $<TARGET_FILE:${target}> ${names})
  endif()
endfunction()

# tolvane_check_imports(<target>...)
# On Windows, a test for each program or DLL that it imports no DLL but
# Windows' own and the DLLs this tree installs (no compiler runtime DLL, nor
# any other that merely lies beside it). The names of those DLLs are gathered
# on a target of their own and read when the build is generated, once every
# folder has named its DLLs.
if(WIN32)
  add_library(tolvane_installed_dlls INTERFACE)
endif()
function(tolvane_check_imports)
  if(WIN32 AND BUILD_TESTING)
    set(ours "$<JOIN:$<GENEX_EVAL:$<TARGET_PROPERTY:tolvane_installed_dlls,TOLVANE_DLL_NAMES>>,$<COMMA>>")
    foreach(target IN LISTS ARGN)
      add_test(NAME ${target}.imports
               COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-dll-imports.sh ${CMAKE_OBJDUMP} "${ours}"
                       $<TARGET_FILE:${target}>)
    endforeach()
  endif()
endfunction()

# tolvane_install(<target>...)
# Installs deliverables in the build tree's layout: programs to bin/, shared
# libraries to lib/ on Linux and beside the programs in bin/ on Windows (their
# import libraries serve the build only). Checks their imports.
function(tolvane_install)
  install(TARGETS ${ARGN}
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} EXCLUDE_FROM_ALL)
  foreach(target IN LISTS ARGN)
    get_target_property(type ${target} TYPE)
    if(WIN32 AND type STREQUAL "SHARED_LIBRARY")
      set_property(TARGET tolvane_installed_dlls APPEND PROPERTY TOLVANE_DLL_NAMES "$<TARGET_FILE_NAME:${target}>")
    endif()
  endforeach()
  tolvane_check_imports(${ARGN})
endfunction()

# tolvane_add_gtest(<name> SOURCES <file>... [LIBS <lib>...] [ENV <VAR=value>...])
# One GoogleTest program whose cases CTest runs one by one. The cases are
# listed when CTest starts, not at build time, so that a tree whose programs
# this machine cannot run (a 32-bit one on a kernel without 32-bit programs)
# still builds. Where the tree's wrapper (TOLVANE_NOT_RUN_CODE) says its
# programs cannot run here, the program stands as one test, reported as
# skipped with the wrapper's reason.
function(tolvane_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "${T_ENV}" TIMEOUT 300)
  if(TOLVANE_NOT_RUN_CODE)
    _tolvane_list_cases_where_they_run(${name})
  endif()
endfunction()

# Puts a guard around the case listing gtest_discover_tests just added to
# the folder's TEST_INCLUDE_FILES (the module appends one file a call): the
# listing runs only where the wrapper says the program can run.
function(_tolvane_list_cases_where_they_run name)
  get_property(includes DIRECTORY PROPERTY TEST_INCLUDE_FILES)
  list(POP_BACK includes listing)
  if(NOT listing MATCHES "/${name}\\[[0-9]+\\]_include\\.cmake$")
    message(FATAL_ERROR "no case listing of ${name} to guard (found '${listing}')")
  endif()
  set(guard "${CMAKE_CURRENT_BINARY_DIR}/${name}_guard.cmake")
  file(GENERATE OUTPUT "${guard}" CONTENT "\
execute_process(COMMAND [==[${CMAKE_CROSSCOMPILING_EMULATOR}]==] --can-run
                RESULT_VARIABLE runnable OUTPUT_QUIET ERROR_QUIET)
if(runnable EQUAL 0)
  include([==[${listing}]==])
else()
  add_test([==[${name}]==] [==[${CMAKE_CROSSCOMPILING_EMULATOR}]==] [==[$<TARGET_FILE:${name}>]==])
  set_tests_properties([==[${name}]==] PROPERTIES SKIP_RETURN_CODE ${TOLVANE_NOT_RUN_CODE})
endif()
")
  list(APPEND includes "${guard}")
  set_property(DIRECTORY PROPERTY TEST_INCLUDE_FILES "${includes}")
endfunction()

# tolvane_skip_where_not_run(<test>...)
# Tests that run the tree's programs through its wrapper, directly or from
# a script that hands on the wrapper's status: where the wrapper cannot run
# them, they are reported as skipped.
function(tolvane_skip_where_not_run)
  if(TOLVANE_NOT_RUN_CODE)
    set_tests_properties(${ARGN} PROPERTIES SKIP_RETURN_CODE ${TOLVANE_NOT_RUN_CODE})
  endif()
endfunction()
