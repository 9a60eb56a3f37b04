// The zip container's records (PKWARE APPNOTE): signatures, flags, little-endian fields,
// and the entry as the central directory describes it.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zv::archiver {

inline constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
inline constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
inline constexpr uint32_t kEndSignature = 0x06054b50;
inline constexpr uint32_t kZip64EndSignature = 0x06064b50;
inline constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
inline constexpr uint32_t kDescriptorSignature = 0x08074b50;

inline constexpr size_t kLocalHeaderSize = 30;
inline constexpr size_t kCentralHeaderSize = 46;
inline constexpr size_t kEndSize = 22;
inline constexpr size_t kZip64EndSize = 56;
inline constexpr size_t kZip64LocatorSize = 20;

inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagDescriptor = 0x0008;
inline constexpr uint16_t kFlagUtf8 = 0x0800;

inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodDeflated = 8;

inline constexpr uint16_t kExtraZip64 = 0x0001;
inline constexpr uint16_t kExtraTimestamp = 0x5455;
inline constexpr uint16_t kExtraUnicodePath = 0x7075;

inline constexpr uint64_t kMax16 = 0xFFFF;
inline constexpr uint64_t kMax32 = 0xFFFFFFFF;

// Hosts of "version made by": the meaning of the external attributes.
inline constexpr uint8_t kHostDos = 0;
inline constexpr uint8_t kHostUnix = 3;
inline constexpr uint8_t kHostNtfs = 10;

inline constexpr uint32_t kDosDirectoryAttribute = 0x10;
inline constexpr uint32_t kUnixFileTypeMask = 0170000;
inline constexpr uint32_t kUnixSymlink = 0120000;
inline constexpr uint16_t kInternalText = 0x0001;

// The encryption header that starts an encrypted entry's data.
inline constexpr size_t kCryptHeaderSize = 12;

// A failure of the archive as a whole; `code` is the Info-ZIP exit code to return.
struct ArchiveError : std::runtime_error {
  ArchiveError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
  int code;
};

// One entry of an archive.
struct Entry {
  std::string name;  // UTF-8, "/" between folders, "dir/" for a folder
  uint16_t versionMadeBy = 0;
  uint16_t versionNeeded = 20;
  uint16_t flags = 0;
  uint16_t method = kMethodDeflated;
  uint32_t dosTime = 0;  // DOS date in the high 16 bits, time in the low ones
  uint32_t crc = 0;
  uint64_t packedSize = 0;  // encryption header included
  uint64_t size = 0;
  uint64_t localOffset = 0;
  uint16_t internalAttributes = 0;
  uint32_t externalAttributes = 0;
  std::optional<int64_t> modified;  // seconds since 1970 (UTC), from the timestamp field

  bool isDirectory() const { return !name.empty() && name.back() == '/'; }
  bool encrypted() const { return (flags & kFlagEncrypted) != 0; }
  uint8_t host() const { return static_cast<uint8_t>(versionMadeBy >> 8); }
  uint32_t unixMode() const { return host() == kHostUnix ? externalAttributes >> 16 : 0; }
  bool isSymlink() const { return (unixMode() & kUnixFileTypeMask) == kUnixSymlink; }
};

// Appends little-endian fields.
class Bytes {
 public:
  Bytes& u8(uint8_t v) {
    data_.push_back(static_cast<char>(v));
    return *this;
  }
  Bytes& u16(uint64_t v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
  Bytes& u32(uint64_t v) { return u16(v & 0xFFFF).u16((v >> 16) & 0xFFFF); }
  Bytes& u64(uint64_t v) { return u32(v & kMax32).u32(v >> 32); }
  Bytes& text(std::string_view s) {
    data_.append(s);
    return *this;
  }
  const std::string& data() const { return data_; }
  size_t size() const { return data_.size(); }

 private:
  std::string data_;
};

// Reads little-endian fields from a block; reading past its end fails.
class Fields {
 public:
  explicit Fields(std::string_view data) : data_(data) {}
  uint8_t u8() {
    need(1);
    return static_cast<uint8_t>(data_[pos_++]);
  }
  uint16_t u16() {
    const uint16_t low = u8();
    return static_cast<uint16_t>(low | (u8() << 8));
  }
  uint32_t u32() {
    const uint32_t low = u16();
    return low | (static_cast<uint32_t>(u16()) << 16);
  }
  uint64_t u64() {
    const uint64_t low = u32();
    return low | (static_cast<uint64_t>(u32()) << 32);
  }
  std::string_view take(size_t n) {
    need(n);
    std::string_view s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  size_t left() const { return data_.size() - pos_; }

 private:
  void need(size_t n) const {
    if (data_.size() - pos_ < n) throw std::out_of_range("field past the end of its record");
  }
  std::string_view data_;
  size_t pos_ = 0;
};

// The data of extra field `id` in `extra`, if present and well formed.
std::optional<std::string_view> findExtra(std::string_view extra, uint16_t id);

// `extra` without the fields `id`.
std::string withoutExtra(std::string_view extra, uint16_t id);

}  // namespace zv::archiver
