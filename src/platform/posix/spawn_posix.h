// Starting programs without a shell and without waiting for them.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zv::platform::posix {

// Starts argv[0], looked up along PATH, with the caller's environment; a thread of its own
// reaps it when it ends. The process id, or -errno when it did not start.
pid_t spawnDetached(const std::vector<std::string>& argv);

// Whether `program` is an executable file along PATH (read at the call).
bool onPath(const std::string& program);

// A command line split into arguments as Windows splits one: blanks separate, double
// quotes group, a backslash escapes a quote.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace zv::platform::posix
