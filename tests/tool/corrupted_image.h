#pragma once
// An S-record image made wrong on purpose.
#include <cstdint>
#include <string>

// Flips the low bit of the byte at `address` in an S3 record and mends the
// record's checksum, so that the file still reads and only the image is wrong.
std::string tooltest_corrupted(const std::string& s19, uint32_t address);
