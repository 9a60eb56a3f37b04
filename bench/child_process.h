// Work in child processes, timed by the kernel: the peers' programs (zip, unzip, xmllint,
// the Python scripts of bench/peers/) and our own rounds where their memory matters.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace zv::bench {

struct ChildCost {
  double cpu = 0;     // seconds, user and system
  double peakMb = 0;  // peak resident memory
};

// `work()` in a forked child; its exit status is work's result. A failure ends the harness.
inline ChildCost inChild(const std::function<int()>& work) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) std::abort();
  if (pid == 0) _exit(work());
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "a benchmarked operation failed (status %d)\n", status);
    std::exit(2);
  }
  return {double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6,
          double(usage.ru_maxrss) / 1024};
}

// The program `args` run in `folder` (the current one when empty), its standard output
// written to `output` (discarded when empty).
inline ChildCost runProgram(const std::vector<std::string>& args, const std::string& folder = "",
                            const std::string& output = "") {
  return inChild([&] {
    if (!folder.empty() && chdir(folder.c_str()) != 0) return 126;
    if (!std::freopen(output.empty() ? "/dev/null" : output.c_str(), "w", stdout)) return 126;
    std::vector<char*> argv;
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    return 127;
  });
}

// The seconds printed by the Python peer `script` of bench/peers/ run on `arguments` by the
// build's Python: its own process time of the work it stands for, without the
// interpreter's start. Its output goes through a file, so that no pipe is left waiting.
inline double pythonPeerSeconds(const std::string& script, std::vector<std::string> arguments) {
  char output[] = "/tmp/zv-bench-peer-XXXXXX";
  const int fd = mkstemp(output);
  if (fd < 0) std::abort();
  close(fd);
  arguments.insert(arguments.begin(), {ZV_BENCH_PYTHON, ZV_BENCH_PEERS_DIR "/" + script});
  runProgram(arguments, "", output);
  double seconds = 0;
  FILE* f = std::fopen(output, "r");
  const bool read = f && std::fscanf(f, "%lf", &seconds) == 1;
  if (f) std::fclose(f);
  std::remove(output);
  if (!read) {
    std::fprintf(stderr, "the peer %s printed no time\n", script.c_str());
    std::exit(2);
  }
  return seconds;
}

}  // namespace zv::bench
