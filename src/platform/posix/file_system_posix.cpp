#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "runtime/errors.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

bool hasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string::npos; }

// Windows wildcard matching: * any run, ? one character; "*.*" matches every name.
bool matches(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") pattern = "*";
  size_t p = 0, n = 0, star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool describe(const std::string& path, const std::string& name, DirectoryEntry& entry) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  entry.name = fromUtf8(name);
  entry.directory = S_ISDIR(st.st_mode);
  entry.hidden = !name.empty() && name[0] == '.' && name != "." && name != "..";
  entry.system = !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
  return true;
}

}  // namespace

void forEachMatch(const String& pattern, const std::function<bool(const DirectoryEntry&)>& visit) {
  const std::string full = toUtf8(pattern);
  const size_t slash = full.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : full.substr(0, slash));
  const std::string last = slash == std::string::npos ? full : full.substr(slash + 1);
  if (last.empty()) return;
  DirectoryEntry entry;
  if (!hasWildcard(last)) {
    if (describe(full, last, entry)) visit(entry);
    return;
  }
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return;
  while (const dirent* d = ::readdir(dir.get())) {
    const std::string name = d->d_name;
    if (!matches(last, name)) continue;
    if (describe(folder + "/" + name, name, entry) && !visit(entry)) return;
  }
}

char16_t pathSeparator() { return u'/'; }

}  // namespace zv::platform
