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
# One GoogleTest program whose cases CTest runs one by one.
function(tolvane_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${T_ENV}" TIMEOUT 300)
endfunction()
