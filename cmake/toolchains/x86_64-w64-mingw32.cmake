# 64-bit Windows with Debian's mingw-w64 cross compiler (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake
# Not a deliverable: the tree tests the Windows sources as 64-bit programs
# too, under wine64, which needs no 32-bit program on the build machine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOLVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
