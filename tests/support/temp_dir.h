#pragma once
// A folder of one test's own, removed with everything in it.
#include <string>

namespace testkit {

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return path_; }
  // The path of `name` in the folder (which need not exist).
  std::string File(const std::string& name) const;
  // Writes `content` byte for byte to `name` in the folder; returns its path.
  std::string Write(const std::string& name, const std::string& content) const;
  // What `name` in the folder holds, "" when there is no such file.
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace testkit
