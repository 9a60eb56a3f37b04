#include "archive_commands.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "api/UnZipLib.h"
#include "api/ZipLib.h"
#include "archive/archive_events.h"
#include "progress_bar.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/vbdate.h"

namespace zvv {

namespace {

using zv::String;

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// What the archivers say that is about a problem rather than progress.
bool isProblem(const std::string& message) {
  for (const char* p : {"zip warning", "zip error", "zip I/O", "  error", "   skipping", "caution",
                        "error", "checkdir", "At least one"})
    if (startsWith(message, p)) return true;
  return message.find("End-of-central-directory") != std::string::npos;
}

// Progress: a bar step per entry on a terminal, else the messages themselves; problems
// always go to stderr.
class Listener : public zv::UnZipLibEvents {
 public:
  explicit Listener(int64_t total) : bar_(total) {}

  bool failed() const { return failed_; }

  void Progress(int32_t, const String& sMsg) override {
    const std::string message = zv::toUtf8(sMsg);
    if (isProblem(message)) {
      bar_.clear();
      std::fprintf(stderr, "%s\n", message.c_str());
      failed_ = failed_ || message.find("warning") == std::string::npos;
      return;
    }
    const size_t colon = message.find(": ");
    const bool entry = colon != std::string::npos && !startsWith(message, "Archive");
    if (bar_.shown()) {
      if (entry) bar_.step(message.substr(colon + 2));
    } else {
      std::printf("%s\n", message.c_str());
    }
  }

  void PasswordRequest(String& sPassword, bool& bCancel) override {
    if (!isatty(0)) {
      bCancel = true;
      return;
    }
    bar_.clear();
    std::fprintf(stderr, "password: ");
    termios saved{};
    tcgetattr(0, &saved);
    termios silent = saved;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(0, TCSANOW, &silent);
    std::string line;
    std::getline(std::cin, line);
    tcsetattr(0, TCSANOW, &saved);
    std::fprintf(stderr, "\n");
    sPassword = zv::fromUtf8(line);
  }

  void OverwritePrompt(const String& sFIle, int32_t& eResponse) override {
    if (!isatty(0)) return;  // not overwritten
    bar_.clear();
    std::fprintf(stderr, "replace %s? [y]es, [n]o, [A]ll, [N]one: ", zv::toUtf8(sFIle).c_str());
    std::string answer;
    std::getline(std::cin, answer);
    eResponse = answer == "y" ? 102 : answer == "A" ? 103 : answer == "N" ? 104 : 100;
  }

 private:
  ProgressBar bar_;
  bool failed_ = false;
};

// Files and folders the arguments name, counted as the archive's entries will be.
int64_t countEntries(int argc, char** argv) {
  namespace fs = std::filesystem;
  int64_t n = 0;
  std::error_code ec;
  for (int i = 0; i < argc; ++i) {
    ++n;
    if (fs::is_directory(argv[i], ec))
      for (auto it = fs::recursive_directory_iterator(argv[i], ec); !ec && it != fs::end(it);
           it.increment(ec))
        ++n;
  }
  return n;
}

template <class Object>
int connected(Object& object, Listener& listener, auto&& run) {
  zv::connectEvents(object.get(), &listener);
  try {
    run();
  } catch (const zv::Error& e) {
    zv::connectEvents(object.get(), nullptr);
    std::fprintf(stderr, "Error %d: %s\n", e.number(), zv::toUtf8(e.description()).c_str());
    return 1;
  }
  zv::connectEvents(object.get(), nullptr);
  return 0;
}

int list(const char* archive) {
  auto unzip = zv::UnZipLib::create();
  Listener listener(0);
  int code = connected(unzip, listener, [&] {
    unzip->let_ZipFile(zv::fromUtf8(archive));
    unzip->Directory();
  });
  if (code || listener.failed()) return 1;
  std::printf("  Length      Date    Time    Name\n---------  ---------- -----   ----\n");
  int64_t total = 0;
  const int32_t count = unzip->get_FileCount();
  for (int32_t i = 1; i <= count; ++i) {
    const zv::DateParts d = zv::splitDate(unzip->get_FileDate(i));
    const String folder = unzip->get_FileDirectory(i);
    const String name =
        folder.empty() ? unzip->get_Filename(i) : folder + u"/" + unzip->get_Filename(i);
    const int32_t size = unzip->get_FileSize(i);
    total += static_cast<uint32_t>(size);
    std::printf("%9u  %04d-%02d-%02d %02d:%02d   %s\n", static_cast<uint32_t>(size), d.year,
                d.month, d.day, d.hour, d.minute, zv::toUtf8(name).c_str());
  }
  std::printf("---------                     -------\n%9lld                     %d file%s\n",
              static_cast<long long>(total), count, count == 1 ? "" : "s");
  return 0;
}

}  // namespace

int zipCommand(int argc, char** argv) {
  auto zip = zv::ZipLib::create();
  Listener listener(countEntries(argc - 1, argv + 1));
  const int code = connected(zip, listener, [&] {
    zip->let_ZipFile(zv::fromUtf8(argv[0]));
    zip->let_RecurseSubDirs(true);
    zip->let_StoreFolderNames(true);
    zip->let_StoreDirectories(true);
    for (int i = 1; i < argc; ++i)
      zip->AddFileSpec(zv::fromUtf8(argv[i]));
    zip->Zip();
  });
  return code || listener.failed() ? 1 : 0;
}

int unzipCommand(int argc, char** argv) {
  if (std::string(argv[0]) == "-l") return argc == 2 ? list(argv[1]) : 2;
  auto unzip = zv::UnZipLib::create();
  unzip->let_ZipFile(zv::fromUtf8(argv[0]));
  Listener counting(0);
  if (connected(unzip, counting, [&] { unzip->Directory(); }) || counting.failed()) return 1;
  Listener listener(unzip->get_FileCount());
  bool failed = false;
  const int code = connected(unzip, listener, [&] {
    unzip->let_UnzipFolder(zv::fromUtf8(argc > 1 ? argv[1] : "."));
    unzip->let_UseFolderNames(true);
    unzip->let_PromptToOverwrite(true);
    failed = unzip->Unzip();
  });
  return code || failed || listener.failed() ? 1 : 0;
}

}  // namespace zvv
