// The freedesktop.org base folders and the URI form of paths, read at each call.
#pragma once

#include <string>

namespace zv::platform::posix {

// The calling user's name and home folder in the account database (empty when it has no
// entry), read with getpwuid_r: getpwuid's shared buffer would race between threads.
struct Account {
  std::string name;
  std::string home;
};
Account currentAccount();
// $HOME, else the account database's home folder.
std::string homeFolder();
// $XDG_DATA_HOME, else ~/.local/share.
std::string dataHome();
// $XDG_CONFIG_HOME, else ~/.config.
std::string configHome();

// `path` made absolute against the current folder, "." and ".." resolved by name.
std::string absolutePath(const std::string& path);
// Percent-encoding of every byte but the unreserved characters and "/".
std::string percentEncode(const std::string& path);

// The time now as the freedesktop files write it: local "yyyy-mm-ddThh:mm:ss", or UTC
// with a final "Z".
std::string timestamp(bool utc);

// Creates `path` and its missing parents with `mode`; false when it is no folder after.
bool makeFolders(const std::string& path, unsigned mode);

}  // namespace zv::platform::posix
