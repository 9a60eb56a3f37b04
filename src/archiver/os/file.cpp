#include "archiver/os/file.h"

#include <utility>

#include "archiver/os/os.h"

namespace zv::archiver::os {

File::File(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {
  // Entries stream through buffers of their own; a larger stdio buffer saves calls.
  if (file_) std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

File::File(File&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (file_) std::fclose(file_);
    file_ = std::exchange(other.file_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

File::~File() {
  if (file_) std::fclose(file_);
}

File File::open(const std::string& path, bool forWriting) {
  return File(openFile(path, forWriting), path);
}

size_t File::read(void* data, size_t size) {
  const size_t n = std::fread(data, 1, size, file_);
  if (n < size && std::ferror(file_)) throw IoError("read error on " + path_);
  return n;
}

void File::readExact(void* data, size_t size) {
  if (read(data, size) != size) throw IoError("unexpected end of file");
}

void File::write(const void* data, size_t size) {
  if (size && std::fwrite(data, 1, size, file_) != size) throw IoError("write error on " + path_);
}

void File::seek(uint64_t offset) {
  if (!seekFile(file_, offset)) throw IoError("seek error on " + path_);
}

uint64_t File::tell() {
  return tellFile(file_);
}

uint64_t File::size() {
  const uint64_t here = tell();
  if (std::fseek(file_, 0, SEEK_END) != 0) throw IoError("seek error on " + path_);
  const uint64_t end = tell();
  seek(here);
  return end;
}

void File::truncate(uint64_t size) {
  if (!truncateFile(file_, size)) throw IoError("write error on " + path_);
}

void File::close() {
  if (!file_) return;
  const bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!ok || !closed) throw IoError("write error on " + path_);
}

}  // namespace zv::archiver::os
