#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <linux_64bit_types.h>
#include <win32/copydata_socket_path.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

std::string w32_copyDataSocketFolder(const char* runtimeDir, const std::string& tmpDir, uid_t uid, bool create,
                                     std::string& error) {
  if (runtimeDir && *runtimeDir) return runtimeDir;
  const std::string folder = tmpDir + "/tolvane-" + std::to_string(uid);
  if (create && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = folder + ": " + std::strerror(errno);
    return "";
  }
  struct stat status {};
  if (lstat(folder.c_str(), &status) != 0) {
    error = folder + ": " + std::strerror(errno);
    return "";
  }
  if (!S_ISDIR(status.st_mode) || status.st_uid != uid) {
    error = folder + " is not a folder of this user's";
    return "";
  }
  if ((status.st_mode & 077) != 0 && (!create || chmod(folder.c_str(), 0700) != 0)) {
    error = folder + " is open to other users";
    return "";
  }
  return folder;
}

std::string w32_copyDataSocketPath(const char* className, bool create, std::string& error) {
  if (!className || !*className || std::strchr(className, '/')) {
    error = "a window class name for a socket must be a plain name";
    return "";
  }
  const std::string folder = w32_copyDataSocketFolder(std::getenv("XDG_RUNTIME_DIR"), "/tmp", getuid(), create, error);
  if (folder.empty()) return "";
  const std::string path = folder + "/" + className;
  if (path.size() >= sizeof(sockaddr_un::sun_path)) {
    error = path + ": the path is too long for a socket";
    return "";
  }
  return path;
}
