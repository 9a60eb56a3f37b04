#include "frame/file_numbers.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/file_system.h"
#include "runtime/ansi.h"
#include "runtime/errors.h"

namespace zv {

namespace {

constexpr int16_t kMaxFileNumber = 511;

thread_local std::array<std::unique_ptr<TextFile>, kMaxFileNumber + 1> tFiles;

int32_t openFailure(const std::filesystem::path& path, FileMode mode, int savedErrno) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return err::kPathFileAccess;
  if (mode == FileMode::Input && !std::filesystem::exists(path, ec)) {
    const auto parent = path.parent_path();
    return parent.empty() || std::filesystem::is_directory(parent, ec) ? err::kFileNotFound
                                                                       : err::kPathNotFound;
  }
  const auto parent = path.parent_path();
  if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) return err::kPathNotFound;
  if (savedErrno == EACCES || savedErrno == EPERM || savedErrno == EROFS)
    return err::kPermissionDenied;
  return err::kPathFileAccess;
}

// A write the system refused: a full disk (or quota) is VB's "Disk full".
[[noreturn]] void writeFailure(int savedErrno) {
#ifdef EDQUOT
  if (savedErrno == EDQUOT) raise(err::kDiskFull);
#endif
  raise(savedErrno == ENOSPC ? err::kDiskFull : err::kDeviceIO);
}

std::fstream openStream(const std::filesystem::path& path, FileMode mode,
                        std::ios::openmode flags) {
  errno = 0;
  std::fstream stream(path, std::ios::binary | flags);
  if (!stream.is_open()) raise(openFailure(path, mode, errno));
  return stream;
}

// Output: the text goes to a scratch file beside the target (a link's own target), which
// replaces it on close. A target that exists must be one this process may write, as
// opening it in place would require; a device or pipe is written in place.
std::unique_ptr<TextFile> openOutput(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path target = path;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved;
  }
  const String targetName(target.u16string());
  if (std::filesystem::exists(target, ec)) {
    if (!std::filesystem::is_regular_file(target, ec))
      return std::make_unique<TextFile>(
          openStream(target, FileMode::Output, std::ios::out | std::ios::trunc), FileMode::Output);
    openStream(target, FileMode::Output, std::ios::out | std::ios::app);
  }
  const String scratch = platform::createScratchBeside(targetName);
  errno = 0;
  std::fstream stream(std::filesystem::path(scratch),
                      std::ios::binary | std::ios::out | std::ios::trunc);
  if (!stream.is_open()) {
    const int saved = errno;
    std::filesystem::remove(std::filesystem::path(scratch), ec);
    raise(openFailure(target, FileMode::Output, saved));
  }
  return std::make_unique<TextFile>(std::move(stream), FileMode::Output, scratch, targetName);
}

}  // namespace

bool TextFile::atEnd() {
  requireMode(FileMode::Input);
  return stream_.peek() == std::char_traits<char>::eof();
}

String TextFile::readLine() {
  requireMode(FileMode::Input);
  if (atEnd()) raise(err::kInputPastEnd);
  // getline scans the stream's buffer a block at a time: a long line costs one pass.
  std::string bytes;
  std::getline(stream_, bytes, '\r');
  if (!stream_.eof() && stream_.peek() == '\n') stream_.get();
  stream_.clear(stream_.rdstate() & ~std::ios::failbit);
  return fromAnsi(bytes);
}

void TextFile::write(StringView text) {
  if (mode_ == FileMode::Input) raise(err::kBadFileMode);
  encoded_.clear();
  appendAnsi(encoded_, text);
  errno = 0;
  stream_.write(encoded_.data(), static_cast<std::streamsize>(encoded_.size()));
  if (!stream_) writeFailure(errno);
}

void TextFile::writeLine(StringView text) {
  write(text);
  write(kCrLf);
}

void TextFile::close() {
  errno = 0;
  stream_.close();
  if (stream_.fail() && mode_ != FileMode::Input) {
    const int saved = errno;
    discard();
    writeFailure(saved);
  }
  if (scratch_.empty()) return;
  try {
    platform::replaceFile(scratch_, target_);
  } catch (...) {
    discard();
    throw;
  }
  scratch_.clear();
}

void TextFile::discard() noexcept {
  stream_.close();
  if (scratch_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(scratch_), ec);
  scratch_.clear();
}

void TextFile::requireMode(FileMode mode) const {
  if (mode_ != mode) raise(err::kBadFileMode);
}

int16_t openFile(const String& path, FileMode mode) {
  if (path.empty()) raise(err::kBadFileNameOrNumber);
  int16_t number = 1;
  while (number <= kMaxFileNumber && tFiles[number])
    ++number;
  if (number > kMaxFileNumber) raise(err::kTooManyFiles);
  const std::filesystem::path fsPath(path);
  const std::ios::openmode flags =
      mode == FileMode::Input ? std::ios::in : std::ios::out | std::ios::app;
  std::error_code ec;
  if (std::filesystem::is_directory(fsPath, ec)) raise(err::kPathFileAccess);
  if (mode == FileMode::Output) {
    tFiles[number] = openOutput(fsPath);
    return number;
  }
  tFiles[number] = std::make_unique<TextFile>(openStream(fsPath, mode, flags), mode);
  return number;
}

TextFile& fileByNumber(int16_t number) {
  if (number < 1 || number > kMaxFileNumber || !tFiles[number]) raise(err::kBadFileNameOrNumber);
  return *tFiles[number];
}

void closeFile(int16_t number) {
  if (number < 1 || number > kMaxFileNumber || !tFiles[number]) return;
  const std::unique_ptr<TextFile> file = std::move(tFiles[number]);
  file->close();
}

void discardFile(int16_t number) noexcept {
  if (number < 1 || number > kMaxFileNumber || !tFiles[number]) return;
  const std::unique_ptr<TextFile> file = std::move(tFiles[number]);
  file->discard();
}

size_t openFileCount() {
  size_t count = 0;
  for (const auto& file : tFiles)
    count += file ? 1 : 0;
  return count;
}

int64_t fileLength(const String& path) {
  if (path.empty()) raise(err::kBadFileNameOrNumber);
  const std::filesystem::path fsPath(path);
  std::error_code ec;
  if (std::filesystem::is_directory(fsPath, ec)) raise(err::kPathFileAccess);
  const auto size = std::filesystem::file_size(fsPath, ec);
  if (ec) raise(err::kFileNotFound);
  return static_cast<int64_t>(size);
}

void FileNumber::close() {
  const int16_t number = number_;
  number_ = -1;
  if (number > 0) closeFile(number);
}

void FileNumber::discard() noexcept {
  const int16_t number = number_;
  number_ = -1;
  discardFile(number);
}

void FileNumber::release() noexcept {
  if (std::uncaught_exceptions() > exceptions_) return discard();
  try {
    close();
  } catch (...) {
  }
}

}  // namespace zv
