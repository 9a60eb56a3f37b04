// An open file that reports failures as IoError, closed when it goes out of scope.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace zv::archiver::os {

struct IoError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class File {
 public:
  File() = default;
  File(std::FILE* file, std::string path);
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  ~File();

  // nullopt-like: a File that is not open when the file cannot be opened.
  static File open(const std::string& path, bool forWriting = false);

  explicit operator bool() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }

  // Fewer bytes than asked only at the end of the file.
  size_t read(void* data, size_t size);
  // Exactly `size` bytes, or IoError ("unexpected end of file").
  void readExact(void* data, size_t size);
  void write(const void* data, size_t size);
  void write(const std::string& bytes) { write(bytes.data(), bytes.size()); }
  void seek(uint64_t offset);
  uint64_t tell();
  uint64_t size();
  void truncate(uint64_t size);
  // Flushes and closes; a failure to write the last bytes is reported here.
  void close();

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
};

}  // namespace zv::archiver::os
