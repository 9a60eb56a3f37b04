// The mount table (/proc/self/mountinfo) and the drive type of each mount.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zv::platform::posix {

struct Mount {
  std::string mountPoint;
  std::string fileSystem;  // "ext4", "tmpfs", "nfs4", ...
  std::string source;      // "/dev/sda1", "//server/share", ...
  std::string device;      // "8:1", the block device's major and minor numbers
};

std::vector<Mount> mounts();

// The DriveType of a mount: 2 removable (its disk's /sys/block removable flag), 3 fixed,
// 4 network, 5 CD-ROM, 6 RAM (tmpfs, ramfs), 0 for the kernel's own file systems.
int32_t driveTypeOf(const Mount& mount);
bool isNetworkFileSystem(const std::string& fileSystem);

// The DriveType of the mount that holds `path` (1 when the path does not exist).
int32_t mountType(const std::string& path);

}  // namespace zv::platform::posix
