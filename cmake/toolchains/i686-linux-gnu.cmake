# 32-bit Linux (i386) with the machine's own GCC and -m32 (g++-multilib and
# the :i386 -dev packages of scripts/packages.d/i386.list): the same compiler
# as the x86_64 trees, and no i686 cross compiler, whose Debian package
# would remove gcc-multilib.
#
# Large-file and 64-bit time support: without them glibc's i386 stat() family
# fails with EOVERFLOW on 64-bit inode numbers (XFS, NFS, overlay file
# systems), and times end in 2038.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(TOLVANE_I386_FLAGS "-m32 -D_FILE_OFFSET_BITS=64 -D_TIME_BITS=64")
set(CMAKE_C_FLAGS_INIT "${TOLVANE_I386_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${TOLVANE_I386_FLAGS}")

# Libraries, CMake packages and pkg-config files of the i386 multiarch folder.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")
