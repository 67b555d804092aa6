#include "corrupted_image.h"

#include <cstdio>
#include <sstream>
#include <vector>

std::string tooltest_corrupted(const std::string& s19, uint32_t address) {
  std::istringstream in(s19);
  std::string line, out;
  while (std::getline(in, line)) {
    if (line.rfind("S3", 0) == 0) {
      std::vector<unsigned> bytes;
      for (size_t i = 2; i + 1 < line.size(); i += 2)
        bytes.push_back(static_cast<unsigned>(std::stoul(line.substr(i, 2), nullptr, 16)));
      const uint32_t start = bytes[1] << 24 | bytes[2] << 16 | bytes[3] << 8 | bytes[4];
      const size_t count = bytes[0] - 5;
      if (address >= start && address < start + count) {
        bytes[5 + (address - start)] ^= 0x01;
        unsigned sum = 0;
        for (size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
        bytes.back() = ~sum & 0xFF;
        line = "S3";
        for (unsigned byte : bytes) {
          char hex[3];
          std::snprintf(hex, sizeof hex, "%02X", byte);
          line += hex;
        }
      }
    }
    out += line + "\n";
  }
  return out;
}
