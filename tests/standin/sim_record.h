#pragma once
// The stand-in's account of what it received, one text line an event,
// appended to the file the test names (nothing without one), and the dump
// of a controller's flash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TSimRecord {
 public:
  explicit TSimRecord(std::string path = std::string());
  // Appends "<event> <fields>\n"; each line reaches the file at once.
  void Line(const std::string& text) const;

 private:
  std::string path;
};

std::string sim_hex(const uint8_t* bytes, size_t length);

// Writes the whole flash, byte for byte.
void sim_write_flash(const std::string& path, const std::vector<uint8_t>& flash);
