#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <linux_64bit_types.h>
#include <windows.h>
#include <cctype>
#include <cerrno>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "profile_file.h"

namespace {

// As Windows keeps the profile file it read last, so that a program reading
// many keys reads the file once: it is read again when it is replaced or
// changes size or times.
struct TLastFile {
  std::string path;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = -1;
  timespec modified{}, changed{};
  std::shared_ptr<const TW32ProfileFile> file;

  bool holds(const std::string& name, const struct stat& status) const {
    return file && path == name && device == status.st_dev && inode == status.st_ino && size == status.st_size &&
           modified.tv_sec == status.st_mtim.tv_sec && modified.tv_nsec == status.st_mtim.tv_nsec &&
           changed.tv_sec == status.st_ctim.tv_sec && changed.tv_nsec == status.st_ctim.tv_nsec;
  }
};

std::mutex lastFileLock;
TLastFile lastFile;

bool readWhole(int fd, std::string& bytes) {
  char chunk[65536];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof(chunk));
    if (n > 0) {
      bytes.append(chunk, static_cast<size_t>(n));
    } else if (n == 0) {
      return true;
    } else if (errno != EINTR) {
      return false;
    }
  }
}

// The file as read, or NULL when it is missing, no regular file or unreadable.
std::shared_ptr<const TW32ProfileFile> profileFile(const char* fileName) {
  struct stat status {};
  if (stat(fileName, &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
  std::lock_guard<std::mutex> lock(lastFileLock);
  if (lastFile.holds(fileName, status)) return lastFile.file;
  const int fd = open(fileName, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::string bytes;
  const bool read = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && readWhole(fd, bytes);
  close(fd);
  if (!read) return nullptr;
  lastFile = {fileName,
              status.st_dev,
              status.st_ino,
              status.st_size,
              status.st_mtim,
              status.st_ctim,
              std::make_shared<const TW32ProfileFile>(bytes)};
  return lastFile.file;
}

// Blanks and control characters, an optional sign, then "0x" and hex digits
// or decimal digits, up to the first other character. The number wraps
// around modulo 2^32 as the result type does.
UINT intOf(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  UINT value = 0;
  if (text.compare(at, 2, "0x") == 0) {
    for (at += 2; at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])); ++at) {
      const char c = text[at];
      value = value * 16u + static_cast<UINT>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
  } else {
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) value = value * 10u + UINT(text[at] - '0');
  }
  return negative ? 0u - value : value;
}

}  // namespace

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (!section || !key || !fileName) return static_cast<UINT>(defaultValue);
  try {
    const std::shared_ptr<const TW32ProfileFile> file = profileFile(fileName);
    const std::string* text = file ? file->intText(section, key) : nullptr;
    return text && !text->empty() ? intOf(*text) : static_cast<UINT>(defaultValue);
  } catch (const std::bad_alloc&) {
    return static_cast<UINT>(defaultValue);  // a file too large to hold reads as unreadable
  }
}
