// Opening documents and starting programs on POSIX: xdg-open stands for the shell's
// "Open" verb, a command line is split as Windows splits one and started with
// posix_spawnp. Neither is waited for; the window state has no meaning here.
#include <sys/stat.h>

#include <cerrno>

#include "platform/posix/spawn_posix.h"
#include "platform/posix/xdg_posix.h"
#include "platform/shell.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

// WinExec's and ShellExecute's codes for a program that did not start.
int32_t startFailure(int savedErrno, int32_t notFound) {
  switch (savedErrno) {
    case ENOENT:
      return notFound;
    case EACCES:
    case EPERM:
      return shell::kAccessDenied;
    case ENOMEM:
    case EAGAIN:
      return shell::kOutOfMemory;
    case ENOEXEC:
      return shell::kBadFormat;
    default:
      return notFound;
  }
}

}  // namespace

int32_t openDocument(const String& file) {
  const std::string path = posix::absolutePath(toUtf8(file));
  struct stat st;
  if (file.empty() || ::stat(path.c_str(), &st) != 0) {
    const std::string parent = path.substr(0, path.find_last_of('/'));
    return parent.empty() || ::stat(parent.c_str(), &st) == 0 ? shell::kFileNotFound
                                                              : shell::kPathNotFound;
  }
  if (!posix::onPath("xdg-open")) return shell::kNoAssociation;
  const pid_t pid = posix::spawnDetached({"xdg-open", path});
  return pid > 0 ? shell::kOpened : startFailure(-pid, shell::kNoAssociation);
}

// A process id below 32 (possible in a fresh PID namespace) would read as a failure code:
// such a started process is answered as 32.
int32_t launchProgram(const String& commandLine, int16_t) {
  const pid_t pid = posix::spawnDetached(posix::splitCommandLine(toUtf8(commandLine)));
  if (pid <= 0) return startFailure(-pid, shell::kFileNotFound);
  return pid < 32 ? 32 : static_cast<int32_t>(pid);
}

}  // namespace zv::platform
