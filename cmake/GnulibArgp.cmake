# GNU argp for mingw, whose C library has none: the argp module of Debian's
# gnulib, imported and built into the build tree (scripts/build-gnulib-argp.sh)
# while the rest builds. Target gnulib_argp: libgnu.a with argp.h; a source
# that includes argp.h includes gnulib's config.h first (the target's
# GNULIB_ARGP_CONFIG_H names it, for a forced include).
include_guard(GLOBAL)

set(argp_dir ${CMAKE_BINARY_DIR}/_deps/gnulib-argp)
set(argp_library ${argp_dir}/build/gllib/libgnu.a)
add_custom_command(OUTPUT ${argp_library}
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-gnulib-argp.sh ${argp_dir} ${TOLVANE_MINGW_TRIPLE} ${CMAKE_C_COMPILER}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/build-gnulib-argp.sh
  COMMENT "Importing and building argp from gnulib"
  VERBATIM)
add_custom_target(gnulib_argp_build DEPENDS ${argp_library})

# The folders exist before the build fills them: CMake wants them at once.
set(argp_includes ${argp_dir}/build ${argp_dir}/build/gllib ${argp_dir}/source/gllib)
file(MAKE_DIRECTORY ${argp_includes})
add_library(gnulib_argp STATIC IMPORTED GLOBAL)
set_target_properties(gnulib_argp PROPERTIES
  IMPORTED_LOCATION ${argp_library}
  INTERFACE_INCLUDE_DIRECTORIES "${argp_includes}")
add_dependencies(gnulib_argp gnulib_argp_build)
set(GNULIB_ARGP_CONFIG_H ${argp_dir}/build/config.h)
