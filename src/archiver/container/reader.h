// Reading archives: the central directory at open, each entry's data as a stream of plain
// bytes (decrypted, inflated, its CRC and size checked at the end).
#pragma once

#include <zlib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archiver/container/crypt.h"
#include "archiver/container/format.h"
#include "archiver/os/file.h"

namespace zv::archiver {

// A failure of one entry's data (bad CRC, invalid compressed data, ...); the other
// entries may still be fine.
struct EntryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// An entry compressed by a method this reader does not have.
struct UnsupportedMethod : EntryError {
  using EntryError::EntryError;
};

class ZipReader {
 public:
  // Reads the central directory of `path`. ArchiveError 9 when the file cannot be opened
  // or holds no end record, 3 when the directory is damaged or lies past the end.
  explicit ZipReader(const std::string& path);

  const std::vector<Entry>& entries() const { return entries_; }
  // The archive comment, as stored.
  const std::string& comment() const { return comment_; }
  // Bytes found before the archive proper (a self-extractor's program, junk).
  uint64_t prefixBytes() const { return base_; }

  // Reads every local header and checks that no entry's data overlaps another's or the
  // central directory: ArchiveError 3 otherwise. Remembers where each entry's data starts.
  void checkLayout();

  // Where entry `index`'s data starts (checkLayout, or its local header read now).
  uint64_t dataOffset(size_t index);

  os::File& file() { return file_; }

 private:
  void readEnd(uint64_t fileSize);
  bool readZip64End();
  void readDirectory();
  uint64_t localDataOffset(const Entry& entry);

  os::File file_;
  std::string comment_;
  std::vector<Entry> entries_;
  std::vector<uint64_t> dataOffsets_;
  uint64_t entryCount_ = 0;
  uint64_t directoryOffset_ = 0;  // as recorded, before adding base_
  uint64_t directorySize_ = 0;
  uint64_t directoryEnd_ = 0;  // where the end records start
  uint64_t base_ = 0;
};

// One entry's plain data, chunk by chunk.
class EntryReader {
 public:
  EntryReader(ZipReader& archive, size_t index);
  ~EntryReader();
  EntryReader(const EntryReader&) = delete;
  EntryReader& operator=(const EntryReader&) = delete;

  bool needsPassword() const { return entry_.encrypted() && !crypto_; }
  // Checks `password` against the encryption header; true when it fits.
  bool usePassword(std::string_view password);

  // The next chunk of plain data; empty at the end, after the CRC and the size were
  // checked. EntryError for data that is damaged, too long or of a method not supported.
  std::string_view next();

 private:
  size_t readPacked(size_t limit);
  void finish();

  os::File& file_;
  const Entry& entry_;
  uint64_t remaining_;
  uint8_t header_[kCryptHeaderSize] = {};
  std::optional<ZipCrypto> crypto_;
  z_stream stream_{};
  bool inflating_ = false;
  bool ended_ = false;
  uint32_t crc_ = 0;
  uint64_t produced_ = 0;
  std::unique_ptr<uint8_t[]> in_;
  std::unique_ptr<uint8_t[]> out_;
};

// "Defl:N", "Stored", ... as Info-ZIP names the methods in listings.
std::string methodName(const Entry& entry);

}  // namespace zv::archiver
