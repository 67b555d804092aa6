#pragma once
// A private folder for one test, removed with everything in it.
#include <string>

class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return path; }
  // Writes `content` byte for byte to `name` in the folder; returns its path.
  std::string Write(const std::string& name, const std::string& content) const;

private:
  std::string path;
};

// The folder of the running test program.
std::string tests_ProgramDir();
