# tolvane_export_only(<target> <name>...)
# Lets exactly the listed extern "C" names leave the shared library <target>
# (a linker version script hides everything else, template instantiations of
# the standard library included) and adds a test that the dynamic symbol table
# defines exactly these names.
function(tolvane_export_only target)
  set(names ${ARGN})
  set(map "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports.map")
  list(JOIN names ";\n    " body)
  # Rewritten only when its text changes, so a reconfigure relinks nothing.
  file(CONFIGURE OUTPUT "${map}" CONTENT "{\n  global:\n    ${body};\n  local: *;\n};\n")
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${map}")
  if(BUILD_TESTING AND NOT TOLVANE_FUZZ)
    add_test(NAME ${target}.exports
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exports.sh $<TARGET_FILE:${target}> ${names})
  endif()
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
