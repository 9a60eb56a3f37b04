#include "platform/posix/xdg_posix.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <vector>

namespace zv::platform::posix {

namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

Account currentAccount() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  while (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE)
    buffer.resize(buffer.size() * 2);
  if (!found) return {};
  return {found->pw_name ? found->pw_name : "", found->pw_dir ? found->pw_dir : ""};
}

std::string homeFolder() {
  std::string home = variable("HOME");
  if (!home.empty()) return home;
  home = currentAccount().home;
  return home.empty() ? "/" : home;
}

// A relative XDG variable is invalid and ignored, as freedesktop.org's base-directory rules say.
std::string dataHome() {
  const std::string data = variable("XDG_DATA_HOME");
  return !data.empty() && data[0] == '/' ? data : homeFolder() + "/.local/share";
}

std::string configHome() {
  const std::string config = variable("XDG_CONFIG_HOME");
  return !config.empty() && config[0] == '/' ? config : homeFolder() + "/.config";
}

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) absolute = path;
  std::string normal = absolute.lexically_normal().string();
  if (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

std::string percentEncode(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : path) {
    const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (alnum || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string timestamp(bool utc) {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (utc)
    ::gmtime_r(&now, &parts);
  else
    ::localtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, utc ? "%Y-%m-%dT%H:%M:%SZ" : "%Y-%m-%dT%H:%M:%S", &parts);
  return text;
}

bool makeFolders(const std::string& path, unsigned mode) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash), mode))
    return false;
  return ::mkdir(path.c_str(), mode) == 0 ||
         (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

}  // namespace zv::platform::posix
