# tolvane_add_child_dirs([EXCLUDE <name>...])
# Adds every direct child folder of the current source folder that holds a
# CMakeLists.txt, in name order, so that modules can be added side by side.
function(tolvane_add_child_dirs)
  cmake_parse_arguments(A "" "" "EXCLUDE" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt
       AND NOT child IN_LIST A_EXCLUDE)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
