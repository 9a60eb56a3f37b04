// ZipLib and UnZipLib against Info-ZIP's zip and unzip in the same run, at half and full
// size: a set of generated files (default 1,000 files, 100 MB of text and incompressible
// data in 10 folders) and one file of the same total size, whose zip and unzip must keep
// memory flat (stream, never hold an entry whole). Every operation runs in a child process
// (ours in a fork, the peer's a program); the figures are the best CPU time (user + system)
// of two rounds and the child's peak resident memory. One JSON line a measurement
// (record.h), for bench/report.
//   zv_archive_bench [FILES]   (100 KB each)
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "api/UnZipLib.h"
#include "api/ZipLib.h"
#include "child_process.h"
#include "inputs.h"
#include "record.h"
#include "runtime/convert.h"

namespace {

namespace fs = std::filesystem;
using namespace zv::bench;

constexpr size_t kFileBytes = 100 * 1000;
constexpr int kRounds = 2;

// The best CPU time and the highest peak of kRounds runs of `work`, each after `prepare`.
ChildCost best(const std::function<void()>& prepare, const std::function<ChildCost()>& work) {
  ChildCost result{1e300, 0};
  for (int i = 0; i < kRounds; ++i) {
    prepare();
    const ChildCost c = work();
    result.cpu = std::min(result.cpu, c.cpu);
    result.peakMb = std::max(result.peakMb, c.peakMb);
  }
  return result;
}

std::function<ChildCost()> ourZip(const fs::path& folder, const fs::path& archive,
                                  const std::string& fileSpec) {
  return [=] {
    return inChild([&] {
      auto zip = zv::ZipLib::create();
      zip->let_BasePath(zv::fromUtf8(folder.string()));
      zip->let_ZipFile(zv::fromUtf8(archive.string()));
      zip->let_RecurseSubDirs(true);
      zip->let_StoreFolderNames(true);
      zip->let_StoreDirectories(true);
      zip->AddFileSpec(zv::fromUtf8(fileSpec));
      zip->Zip();
      return 0;
    });
  };
}

std::function<ChildCost()> ourList(const fs::path& archive, int32_t expected) {
  return [=] {
    return inChild([&] {
      auto unzip = zv::UnZipLib::create();
      unzip->let_ZipFile(zv::fromUtf8(archive.string()));
      unzip->Directory();
      return unzip->get_FileCount() == expected ? 0 : 1;
    });
  };
}

std::function<ChildCost()> ourUnzip(const fs::path& archive, const fs::path& into) {
  return [=] {
    return inChild([&] {
      auto unzip = zv::UnZipLib::create();
      unzip->let_ZipFile(zv::fromUtf8(archive.string()));
      unzip->let_UnzipFolder(zv::fromUtf8(into.string()));
      unzip->let_UseFolderNames(true);
      return unzip->Unzip() ? 1 : 0;
    });
  };
}

std::function<ChildCost()> peer(const fs::path& folder, std::vector<std::string> args) {
  return [=] { return runProgram(args, folder.string()); };
}

// Text (words, about 3:1 under deflate) then random bytes, half and half.
std::string content(std::mt19937_64& random, size_t bytes) {
  static const char* kWords[] = {"archive", "entry",     "folder", "zip",    "stream", "deflate",
                                 "central", "directory", "local",  "header", "data",   "name"};
  std::string out;
  out.reserve(bytes);
  while (out.size() < bytes / 2) {
    out += kWords[random() % 12];
    out += random() % 9 ? ' ' : '\n';
    out += std::to_string(random() % 1000);
    out += ' ';
  }
  while (out.size() < bytes) {
    const uint64_t r = random();
    out.append(reinterpret_cast<const char*>(&r), std::min<size_t>(8, bytes - out.size()));
  }
  return out;
}

// `files` files of kFileBytes in 10 folders under `data`.
void generateSet(const fs::path& data, int files) {
  std::mt19937_64 random(42);
  for (int i = 0; i < files; ++i) {
    const fs::path folder = data / ("folder" + std::to_string(i % 10));
    fs::create_directories(folder);
    if (!writeFile(folder / ("file" + std::to_string(i) + ".dat"), content(random, kFileBytes)))
      std::abort();
  }
}

void generateOne(const fs::path& data, size_t bytes) {
  std::mt19937_64 random(7);
  fs::create_directories(data);
  std::ofstream out(data / "big.dat", std::ios::binary);
  for (size_t done = 0; done < bytes; done += 10 * kMiB) {
    const std::string block = content(random, std::min(10 * kMiB, bytes - done));
    out.write(block.data(), std::streamsize(block.size()));
  }
}

void emitRow(const std::string& operation, const char* unit, int64_t size, double bytes,
             const ChildCost& ours, const std::string& peerName, const ChildCost& theirs) {
  Record r{operation, unit, size, bytes, ours.cpu, peerName, theirs.cpu, plainCopySeconds(bytes)};
  r.peakMb = ours.peakMb;
  emit(r);
}

void measure(const fs::path& work, int files) {
  const auto removing = [](fs::path p) { return [p] { fs::remove_all(p); }; };
  const double bytes = double(files) * kFileBytes;
  fs::remove_all(work);
  generateSet(work / "data", files);
  generateOne(work / "one", size_t(bytes));
  const ChildCost zipOurs =
      best(removing(work / "ours.zip"), ourZip(work, work / "ours.zip", "data"));
  const ChildCost zipPeer =
      best(removing(work / "peer.zip"), peer(work, {"zip", "-q", "-r", "-6", "peer.zip", "data"}));
  emitRow("ZipLib.Zip, 100 KB files", "files", files, bytes, zipOurs, "zip -q -r -6", zipPeer);
  emitRow("UnZipLib.Directory, 100 KB files", "files", files, bytes,
          best([] {}, ourList(work / "peer.zip", files)), "unzip -l",
          best([] {}, peer(work, {"unzip", "-l", "peer.zip"})));
  emitRow(
      "UnZipLib.Unzip, 100 KB files", "files", files, bytes,
      best(removing(work / "ours"), ourUnzip(work / "peer.zip", work / "ours")), "unzip -q -o",
      best(removing(work / "peer"), peer(work, {"unzip", "-q", "-o", "peer.zip", "-d", "peer"})));

  const ChildCost oneZip = best(removing(work / "one.zip"), ourZip(work, work / "one.zip", "one"));
  const ChildCost onePeer = best(removing(work / "one-peer.zip"),
                                 peer(work, {"zip", "-q", "-r", "-6", "one-peer.zip", "one"}));
  emitRow("ZipLib.Zip, one file", "bytes", int64_t(bytes), bytes, oneZip, "zip -q -r -6", onePeer);
  emitRow("UnZipLib.Unzip, one file", "bytes", int64_t(bytes), bytes,
          best(removing(work / "one-ours"), ourUnzip(work / "one-peer.zip", work / "one-ours")),
          "unzip -q -o",
          best(removing(work / "one-out"),
               peer(work, {"unzip", "-q", "-o", "one-peer.zip", "-d", "one-out"})));
  fs::remove_all(work);
}

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::atoi(argv[1]) : 1000;
  TempDir dir;
  measure(dir.path() / "half", files / 2);
  measure(dir.path() / "full", files);
  return 0;
}
