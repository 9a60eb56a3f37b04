#include "platform/posix/mounts_posix.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>

namespace zv::platform::posix {

namespace {

constexpr int32_t kUnknown = 0, kNoRoot = 1, kRemovable = 2, kFixed = 3, kNetwork = 4, kCdRom = 5,
                  kRam = 6;

// mountinfo writes a blank, tab, newline and backslash as \040, \011, \012 and \134.
std::string unescaped(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    const std::string code = field.substr(i + 1, 3);
    if (field[i] == '\\' && code.size() == 3 &&
        code.find_first_not_of("01234567") == std::string::npos) {
      out += static_cast<char>(std::stoi(code, nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool readFlag(const std::string& file) {
  std::ifstream in(file);
  int value = 0;
  return in >> value && value == 1;
}

bool isRemovable(const std::string& device) {
  char* resolved = ::realpath(("/sys/dev/block/" + device).c_str(), nullptr);
  if (!resolved) return false;
  const std::string folder = resolved;
  ::free(resolved);
  // A partition's flag is its disk's, one folder up.
  if (::access((folder + "/partition").c_str(), F_OK) == 0)
    return readFlag(folder + "/../removable");
  return readFlag(folder + "/removable");
}

bool within(const std::string& path, const std::string& mountPoint) {
  if (mountPoint == "/") return true;
  return path.rfind(mountPoint, 0) == 0 &&
         (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

}  // namespace

std::vector<Mount> mounts() {
  std::vector<Mount> result;
  std::ifstream in("/proc/self/mountinfo");
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint, word;
    fields >> id >> parent >> device >> root >> mountPoint;
    while (fields >> word && word != "-") {
    }
    Mount mount;
    mount.mountPoint = unescaped(mountPoint);
    mount.device = device;
    fields >> mount.fileSystem >> mount.source;
    mount.source = unescaped(mount.source);
    result.push_back(std::move(mount));
  }
  return result;
}

bool isNetworkFileSystem(const std::string& fileSystem) {
  static const std::set<std::string> kNetworkFs = {
      "nfs",       "nfs4",  "cifs",       "smb3", "smbfs",      "ncpfs",
      "afs",       "ceph",  "glusterfs",  "9p",   "fuse.sshfs", "fuse.glusterfs",
      "fuse.ceph", "davfs", "fuse.rclone"};
  return kNetworkFs.count(fileSystem) > 0;
}

int32_t driveTypeOf(const Mount& mount) {
  static const std::set<std::string> kKernelFs = {
      "proc",       "sysfs",   "devpts",      "devtmpfs", "cgroup",   "cgroup2",   "mqueue",
      "securityfs", "debugfs", "tracefs",     "pstore",   "bpf",      "autofs",    "hugetlbfs",
      "configfs",   "fusectl", "binfmt_misc", "nsfs",     "efivarfs", "rpc_pipefs"};
  const std::string& fs = mount.fileSystem;
  if (fs == "tmpfs" || fs == "ramfs") return kRam;
  if (isNetworkFileSystem(fs)) return kNetwork;
  if (fs == "iso9660" || fs == "udf") return kCdRom;
  if (kKernelFs.count(fs)) return kUnknown;
  return isRemovable(mount.device) ? kRemovable : kFixed;
}

int32_t mountType(const std::string& path) {
  char* resolved = path.empty() ? nullptr : ::realpath(path.c_str(), nullptr);
  if (!resolved) return kNoRoot;
  const std::string real = resolved;
  ::free(resolved);
  // The last mount on the longest matching mount point is the one in force.
  const Mount* best = nullptr;
  const std::vector<Mount> all = mounts();
  for (const Mount& mount : all)
    if (within(real, mount.mountPoint) &&
        (!best || mount.mountPoint.size() >= best->mountPoint.size()))
      best = &mount;
  return best ? driveTypeOf(*best) : kUnknown;
}

}  // namespace zv::platform::posix
