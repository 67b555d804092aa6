#pragma once
// Where the socket of a window class lives: $XDG_RUNTIME_DIR/<class name>,
// or, without that variable, /tmp/tolvane-<uid>/<class name>, a folder of
// this user's alone (mode 0700).
#include <sys/types.h>

#include <string>

// The folder, given the value of XDG_RUNTIME_DIR (NULL or empty when unset)
// and the folder in place of /tmp. With `create`, the tolvane-<uid> folder is
// made when missing and its mode narrowed to 0700 when it is wider. "" with a
// reason in `error` when it is not a folder of this user's.
std::string w32_copyDataSocketFolder(const char* runtimeDir, const std::string& tmpDir, uid_t uid, bool create,
                                     std::string& error);

// The socket path of `className` as this process sees it, or "" with a reason.
std::string w32_copyDataSocketPath(const char* className, bool create, std::string& error);
