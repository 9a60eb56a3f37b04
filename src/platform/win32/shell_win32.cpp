// The shell on Windows: ShellExecute's "Open", SHFileOperation's recycle bin, VB's Shell
// and SHAddToRecentDocs, all in the ANSI code page.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/shell.h"
#include "runtime/ansi.h"

namespace zv::platform {

int32_t openDocument(const String& file) {
  const std::string name = toAnsi(file);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(GetDesktopWindow(), "Open", name.c_str(), " ", "C:\\", SW_SHOWNORMAL));
  return static_cast<int32_t>(result);
}

// The names, each ended by a NUL, and one more NUL; undo allowed, the shell's usual prompts.
int32_t moveToTrash(const std::vector<String>& paths) {
  std::string list;
  for (const String& path : paths) list += toAnsi(path) + '\0';
  list += '\0';
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_ALLOWUNDO;
  return SHFileOperationA(&operation);
}

// VB's Shell: CreateProcess with the window state as the start-up show command.
int32_t launchProgram(const String& commandLine, int16_t windowState) {
  static const WORD kShow[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED,
                               SW_SHOWNOACTIVATE, SW_SHOWNORMAL, SW_SHOWMINNOACTIVE};
  std::string line = toAnsi(commandLine);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = windowState >= 0 && windowState <= 6 ? kShow[windowState] : SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (line.empty() ||
      !CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    const DWORD error = line.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
    return error < 32 ? static_cast<int32_t>(error) : shell::kFileNotFound;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int32_t>(process.dwProcessId);
}

void addRecentDocument(const String& path) {
  const std::string name = toAnsi(path);
  SHAddToRecentDocs(SHARD_PATHA, name.c_str());
}

}  // namespace zv::platform
