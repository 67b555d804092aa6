// Included by the Linux sources that call the stat family or read the wall
// clock. On a 32-bit build glibc gives them 64-bit file offsets, inode numbers
// and times only with -D_FILE_OFFSET_BITS=64 -D_TIME_BITS=64; without them
// stat() fails with EOVERFLOW on file systems with 64-bit inode numbers (XFS,
// NFS, overlay) and times end in 2038. A build that lost the flags stops here.
#pragma once

#include <sys/types.h>

#include <ctime>

static_assert(sizeof(off_t) == 8, "64-bit off_t needed: build with -D_FILE_OFFSET_BITS=64");
static_assert(sizeof(ino_t) == 8, "64-bit ino_t needed: build with -D_FILE_OFFSET_BITS=64");
static_assert(sizeof(time_t) == 8, "64-bit time_t needed: build with -D_TIME_BITS=64");
