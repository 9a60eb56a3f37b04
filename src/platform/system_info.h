// What the operating system says about itself: version record, folders, names, drives,
// the top-level windows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "runtime/types.h"

namespace zv::platform {

// GetVersionExA's record: platform 1 is Windows 95/98, 2 the NT family.
struct VersionRecord {
  int32_t major = 0;
  int32_t minor = 0;
  int32_t build = 0;
  int32_t platformId = 0;
  String servicePack;  // at most 127 characters, as the record holds them
};
VersionRecord versionRecord();

// GetWindowsDirectoryA and GetSystemDirectoryA, without a final separator.
String windowsFolder();
String systemFolder();
// The user's and the computer's names ("" when the platform has none).
String userName();
String computerName();
// The user's documents folder where the platform names it itself (POSIX: the xdg user
// folders, else $HOME/Documents); nullopt where the registry's shell folders name it.
std::optional<String> documentsFolder();

// GetDriveTypeA of a root ("C:\"); on POSIX any path, typed by the mount it is on.
// DriveType numbers: 0 unknown, 1 no such root, 2 removable, 3 fixed, 4 network,
// 5 CD-ROM, 6 RAM disk.
int32_t driveType(const String& root);

// Visits the titles of the top-level windows in z-order (POSIX, without windows: the names
// of the running processes) until `visit` returns false.
void forEachTopLevelWindow(const std::function<bool(const String& title)>& visit);
// Brings the application whose window has this title to the front (nothing on POSIX).
void activateApplication(const String& title);

// ExpandEnvironmentStringsA: %NAME% replaced by the variable's value, unknown names kept.
String expandEnvironmentStrings(const String& text);

}  // namespace zv::platform
