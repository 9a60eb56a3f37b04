// Directory listings with the attributes the library's existence tests look at.
#pragma once

#include <functional>

#include "runtime/types.h"

namespace zv::platform {

struct DirectoryEntry {
  String name;
  bool directory = false;
  // On POSIX a name starting with "." is hidden, and anything that is neither a regular
  // file nor a folder is a system entry.
  bool hidden = false;
  bool system = false;
};

// Visits the entries that match `pattern`: a folder path and a last part that may hold
// the wildcards * and ? ("*.*" matches every name). `visit` returns false to stop. A
// folder that cannot be read visits nothing. Listing a folder ("dir/*.*") includes the
// entry "." that names the folder itself, as Windows does.
void forEachMatch(const String& pattern, const std::function<bool(const DirectoryEntry&)>& visit);

// Makes `path` the process's current folder: error 76 when it cannot be.
void setCurrentDirectory(const String& path);

// The separator the platform's paths use ('/' on POSIX, '\' on Windows).
char16_t pathSeparator();

}  // namespace zv::platform
