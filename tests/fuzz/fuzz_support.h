// What the fuzz targets share: a scratch folder of their own, files written and read whole,
// calls whose library errors are answers, checks that abort, and message boxes answered at
// once without printing (the targets run thousands of times a second).
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/user_interface.h"
#include "runtime/errors.h"

namespace zv::fuzz {

class ScratchFolder {
 public:
  // A new folder named after `name` in `base` (the temporary folder by default).
  explicit ScratchFolder(const char* name, const std::filesystem::path& base =
                                               std::filesystem::temp_directory_path()) {
    std::string pattern = (base / (std::string("zv-fuzz-") + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& root() const { return root_; }
  std::string file(const std::string& name) const { return root_ + "/" + name; }

 private:
  std::string root_;
};

inline void writeFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs one call; a library error is an acceptable outcome.
template <class Call>
void attempt(Call call) {
  try {
    call();
  } catch (const Error&) {
  }
}

// A property every input must keep.
inline void check(bool holds) {
  if (!holds) std::abort();
}

// Installs, once, a user interface whose boxes answer OK at once.
inline void silenceMessageBoxes() {
  class Silent : public platform::UserInterface {
   public:
    int32_t messageBox(const platform::MessageBoxRequest&) override { return platform::kAnswerOk; }
    void setMousePointer(int32_t) override {}
  };
  static Silent silent;
  static platform::UserInterface* const previous = platform::installUserInterface(&silent);
  (void)previous;
}

}  // namespace zv::fuzz
