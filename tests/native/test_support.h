// Helpers shared by the native tests: caught error numbers, a recording user interface,
// and scratch folders made with mkdtemp.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_interface.h"
#include "runtime/errors.h"
#include "runtime/text.h"

namespace zvtest {

// The run-time error `f` throws, if any.
template <class F>
std::optional<zv::Error> caught(F&& f) {
  try {
    f();
  } catch (const zv::Error& e) {
    return e;
  }
  return std::nullopt;
}

// The number of the run-time error `f` throws, 0 when it throws none.
template <class F>
int32_t errorOf(F&& f) {
  const auto e = caught(f);
  return e ? e->number() : 0;
}

// Installed for its lifetime: records every box and pointer change, and can be told to
// fail them.
class RecordingUserInterface : public zv::platform::UserInterface {
 public:
  RecordingUserInterface() : previous_(zv::platform::installUserInterface(this)) {}
  ~RecordingUserInterface() override { zv::platform::installUserInterface(previous_); }
  RecordingUserInterface(const RecordingUserInterface&) = delete;
  RecordingUserInterface& operator=(const RecordingUserInterface&) = delete;

  int32_t messageBox(const zv::platform::MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (failBoxes) zv::raise(zv::err::kDeviceIO);
    return zv::platform::kAnswerOk;
  }
  void setMousePointer(int32_t pointer) override {
    pointers.push_back(pointer);
    if (failPointer) zv::raise(zv::err::kInvalidCall, u"No screen");
  }

  std::vector<zv::platform::MessageBoxRequest> boxes;
  std::vector<int32_t> pointers;
  bool failBoxes = false;
  bool failPointer = false;

 private:
  zv::platform::UserInterface* previous_;
};

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zv-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder itself, or `name` inside it.
  std::string path(std::string_view name = {}) const {
    return name.empty() ? path_ : path_ + "/" + std::string(name);
  }
  zv::String u(std::string_view name = {}) const { return zv::fromUtf8(path(name)); }

 private:
  std::string path_;
};

// An environment variable set (or, with nullptr, unset) for the lifetime of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) previous_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ScopedVariable(const char* name, const std::string& value) : ScopedVariable(name, value.c_str()) {}
  ~ScopedVariable() {
    if (previous_)
      ::setenv(name_.c_str(), previous_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

inline void writeBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// `unit` written `times` times over (large inputs for the linear-time cases).
inline zv::String repeated(std::u16string_view unit, size_t times) {
  zv::String out;
  out.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i)
    out.append(unit);
  return out;
}

}  // namespace zvtest
