// Archive benchmark: ZipLib and UnZipLib against Info-ZIP's zip and unzip in the same run,
// on 1,000 generated files (100 MB of text and incompressible data in 10 folders).
//   zv_archive_bench [WORK_DIR]
// Each operation runs in a child process (the library's in a fork, the peer's a program),
// three times; the figures are the best CPU time (user + system) and the peak resident
// memory of the child. Memory must stay flat in the archive's size: the same operations on
// one 400 MB file peak no higher than on the 100 MB set plus 16 MB. Exits 1 when a ratio
// exceeds 1.5 or memory grows. Not a test: timings belong to no test suite.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "api/UnZipLib.h"
#include "api/ZipLib.h"
#include "runtime/convert.h"

namespace {

namespace fs = std::filesystem;

constexpr double kMaxRatio = 1.5;
constexpr long kMaxGrowthKb = 16 * 1024;
constexpr int kRepeats = 3;

struct Cost {
  double cpu = 0;   // seconds
  long peakKb = 0;  // resident memory
};

// Runs `work` in a child process; its CPU time and peak memory.
Cost inChild(const std::function<int()>& work) {
  const pid_t pid = fork();
  if (pid == 0) _exit(work());
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "a benchmarked operation failed\n");
    std::exit(2);
  }
  return {double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6,
          usage.ru_maxrss};
}

Cost best(const std::function<void()>& prepare, const std::function<int()>& work) {
  Cost result{1e300, 0};
  for (int i = 0; i < kRepeats; ++i) {
    prepare();
    const Cost c = inChild(work);
    result.cpu = std::min(result.cpu, c.cpu);
    result.peakKb = std::max(result.peakKb, c.peakKb);
  }
  return result;
}

// A program of the peer, quiet, in `folder`.
std::function<int()> program(const fs::path& folder, std::vector<std::string> args) {
  return [folder, args] {
    fs::current_path(folder);
    if (!freopen("/dev/null", "w", stdout)) return 1;
    std::vector<char*> argv;
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    return 127;
  };
}

std::function<int()> ourZip(const fs::path& folder, const std::string& archive,
                            const std::string& fileSpec) {
  return [=] {
    auto zip = zv::ZipLib::create();
    zip->let_BasePath(zv::fromUtf8(folder.string()));
    zip->let_ZipFile(zv::fromUtf8(archive));
    zip->let_RecurseSubDirs(true);
    zip->let_StoreFolderNames(true);
    zip->let_StoreDirectories(true);
    zip->AddFileSpec(zv::fromUtf8(fileSpec));
    zip->Zip();
    return 0;
  };
}

std::function<int()> ourList(const fs::path& archive, int32_t expected) {
  return [=] {
    auto unzip = zv::UnZipLib::create();
    unzip->let_ZipFile(zv::fromUtf8(archive.string()));
    unzip->Directory();
    return unzip->get_FileCount() == expected ? 0 : 1;
  };
}

std::function<int()> ourUnzip(const fs::path& archive, const fs::path& into) {
  return [=] {
    auto unzip = zv::UnZipLib::create();
    unzip->let_ZipFile(zv::fromUtf8(archive.string()));
    unzip->let_UnzipFolder(zv::fromUtf8(into.string()));
    unzip->let_UseFolderNames(true);
    return unzip->Unzip() ? 1 : 0;
  };
}

// Half the files text (words, about 3:1 under deflate), half random bytes.
void generate(const fs::path& data, int files, size_t bytesEach) {
  std::mt19937_64 random(42);
  static const char* kWords[] = {"archive", "entry",     "folder", "zip",    "stream", "deflate",
                                 "central", "directory", "local",  "header", "data",   "name"};
  for (int i = 0; i < files; ++i) {
    const fs::path folder = data / ("folder" + std::to_string(i % 10));
    fs::create_directories(folder);
    std::string bytes;
    bytes.reserve(bytesEach);
    if (i % 2 == 0) {
      while (bytes.size() < bytesEach) {
        bytes += kWords[random() % 12];
        bytes += random() % 9 ? ' ' : '\n';
        bytes += std::to_string(random() % 1000);
        bytes += ' ';
      }
      bytes.resize(bytesEach);
    } else {
      for (size_t k = 0; k < bytesEach; k += 8) {
        const uint64_t r = random();
        bytes.append(reinterpret_cast<const char*>(&r), std::min<size_t>(8, bytesEach - k));
      }
    }
    std::ofstream(folder / ("file" + std::to_string(i) + (i % 2 ? ".bin" : ".txt")),
                  std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
}

struct Row {
  std::string what;
  Cost ours, peer;
};

}  // namespace

int main(int argc, char** argv) {
  const fs::path work = fs::absolute(argc > 1 ? argv[1] : "zv-archive-bench");
  fs::remove_all(work);
  fs::create_directories(work);
  generate(work / "data", 1000, 100 * 1000);
  generate(work / "big", 1, 400 * 1000 * 1000);
  const auto removing = [](fs::path p) { return [p] { fs::remove_all(p); }; };

  std::vector<Row> rows;
  rows.push_back(
      {"zip -r -6, 1,000 files, 100 MB",
       best(removing(work / "ours.zip"), ourZip(work, (work / "ours.zip").string(), "data")),
       best(removing(work / "peer.zip"),
            program(work, {"zip", "-q", "-r", "-6", "peer.zip", "data"}))});
  rows.push_back({"unzip -l, 1,000 entries", best([] {}, ourList(work / "peer.zip", 1000)),
                  best([] {}, program(work, {"unzip", "-l", "peer.zip"}))});
  rows.push_back({"unzip, 1,000 entries",
                  best(removing(work / "ours"), ourUnzip(work / "peer.zip", work / "ours")),
                  best(removing(work / "peer"),
                       program(work, {"unzip", "-q", "-o", "peer.zip", "-d", "peer"}))});
  const Cost bigZip =
      best(removing(work / "big.zip"), ourZip(work, (work / "big.zip").string(), "big"));
  const Cost bigUnzip =
      best(removing(work / "big-out"), ourUnzip(work / "big.zip", work / "big-out"));

  bool ok = true;
  std::printf("%-34s %10s %10s %7s %12s %12s\n", "operation", "ours (s)", "peer (s)", "ratio",
              "ours (MB)", "peer (MB)");
  for (const Row& r : rows) {
    const double ratio = r.ours.cpu / r.peer.cpu;
    ok = ok && ratio <= kMaxRatio;
    std::printf("%-34s %10.3f %10.3f %7.2f %12.1f %12.1f\n", r.what.c_str(), r.ours.cpu, r.peer.cpu,
                ratio, r.ours.peakKb / 1024.0, r.peer.peakKb / 1024.0);
  }
  const long zipGrowth = bigZip.peakKb - rows[0].ours.peakKb;
  const long unzipGrowth = bigUnzip.peakKb - rows[2].ours.peakKb;
  std::printf("one 400 MB file: zip peak %.1f MB (%+.1f), unzip peak %.1f MB (%+.1f)\n",
              bigZip.peakKb / 1024.0, zipGrowth / 1024.0, bigUnzip.peakKb / 1024.0,
              unzipGrowth / 1024.0);
  ok = ok && zipGrowth <= kMaxGrowthKb && unzipGrowth <= kMaxGrowthKb;
  fs::remove_all(work);
  return ok ? 0 : 1;
}
