#include <windows.h>

#include "platform/system_info.h"
#include "runtime/ansi.h"

namespace zv::platform {

namespace {

constexpr DWORD kVersionRecordSize = 148;  // OSVERSIONINFOA
constexpr DWORD kFolderBuffer = 255;
constexpr DWORD kNameBuffer = 257;
constexpr DWORD kExpandBuffer = 2048;

String folderFrom(UINT(WINAPI* query)(LPSTR, UINT)) {
  char buffer[kFolderBuffer];
  const UINT length = query(buffer, kFolderBuffer);
  return length < kFolderBuffer ? fromAnsi(std::string_view(buffer, length)) : String();
}

}  // namespace

VersionRecord versionRecord() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = kVersionRecordSize;
  VersionRecord record;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return record;
#pragma GCC diagnostic pop
  record.major = static_cast<int32_t>(info.dwMajorVersion);
  record.minor = static_cast<int32_t>(info.dwMinorVersion);
  record.build = static_cast<int32_t>(info.dwBuildNumber);
  record.platformId = static_cast<int32_t>(info.dwPlatformId);
  record.servicePack = fromAnsi(std::string_view(info.szCSDVersion, sizeof info.szCSDVersion));
  return record;
}

String windowsFolder() { return folderFrom(GetWindowsDirectoryA); }

String systemFolder() { return folderFrom(GetSystemDirectoryA); }

String userName() {
  char name[kNameBuffer];
  DWORD size = kNameBuffer;
  return GetUserNameA(name, &size) ? fromAnsi(name) : String();
}

String computerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? fromAnsi(std::string_view(name, size)) : String();
}

// The registry's shell folders name it.
std::optional<String> documentsFolder() { return std::nullopt; }

int32_t driveType(const String& root) {
  const std::string name = toAnsi(root);
  return static_cast<int32_t>(GetDriveTypeA(name.c_str()));
}

void forEachTopLevelWindow(const std::function<bool(const String& title)>& visit) {
  for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
       window = GetWindow(window, GW_HWNDNEXT)) {
    char title[260] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!visit(fromAnsi(title))) return;
  }
}

// VB's AppActivate: the window with this title comes to the front.
void activateApplication(const String& title) {
  const std::string name = toAnsi(title);
  if (HWND window = FindWindowA(nullptr, name.c_str())) SetForegroundWindow(window);
}

String expandEnvironmentStrings(const String& text) {
  const std::string source = toAnsi(text);
  char expanded[kExpandBuffer];
  const DWORD length = ExpandEnvironmentStringsA(source.c_str(), expanded, kExpandBuffer);
  return length > 0 && length <= kExpandBuffer ? fromAnsi(expanded) : text;
}

}  // namespace zv::platform
