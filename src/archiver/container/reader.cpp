#include "archiver/container/reader.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "archiver/container/names.h"

namespace zv::archiver {

namespace {

constexpr size_t kInChunk = 1 << 16;
constexpr size_t kOutChunk = 1 << 18;
constexpr uint64_t kBadOffset = UINT64_MAX;

[[noreturn]] void corrupt(const std::string& message) {
  throw ArchiveError(3, message);
}

std::string readBlock(os::File& file, uint64_t offset, size_t size) {
  std::string block(size, '\0');
  file.seek(offset);
  file.readExact(block.data(), size);
  return block;
}

// a + b, or kBadOffset when it does not fit.
uint64_t add(uint64_t a, uint64_t b) {
  return a > kBadOffset - b ? kBadOffset : a + b;
}

// The values the 32-bit fields mark as "in the ZIP64 field" come from it, in its order.
void applyZip64(Entry& e, std::string_view extra, bool sizeMarked, bool packedMarked,
                bool offsetMarked) {
  auto field = findExtra(extra, kExtraZip64);
  if (!field) {
    if (sizeMarked || packedMarked || offsetMarked) corrupt("bad ZIP64 extra field");
    return;
  }
  try {
    Fields f(*field);
    if (sizeMarked) e.size = f.u64();
    if (packedMarked) e.packedSize = f.u64();
    if (offsetMarked) e.localOffset = f.u64();
  } catch (const std::out_of_range&) {
    corrupt("bad ZIP64 extra field");
  }
}

std::optional<int64_t> modifiedTime(std::string_view extra) {
  auto field = findExtra(extra, kExtraTimestamp);
  if (!field || field->size() < 5) return std::nullopt;
  Fields f(*field);
  if (!(f.u8() & 1)) return std::nullopt;
  return static_cast<int64_t>(f.u32());
}

}  // namespace

ZipReader::ZipReader(const std::string& path) : file_(os::File::open(path)) {
  if (!file_) throw ArchiveError(9, "cannot find or open " + path);
  try {
    readEnd(file_.size());
    readDirectory();
  } catch (const os::IoError&) {
    corrupt("start of central directory not found; zipfile corrupt.");
  } catch (const std::out_of_range&) {
    corrupt("start of central directory not found; zipfile corrupt.");
  }
}

void ZipReader::readEnd(uint64_t fileSize) {
  const std::string kNoEnd =
      "End-of-central-directory signature not found.  Either this file is not a zipfile, "
      "or it constitutes one disk of a multi-part archive.";
  if (fileSize < kEndSize) throw ArchiveError(9, kNoEnd);
  // The end record sits in the last 22 bytes plus at most a 65535-byte comment.
  const uint64_t tailSize = std::min<uint64_t>(fileSize, kEndSize + kMax16);
  const uint64_t tailStart = fileSize - tailSize;
  const std::string tail = readBlock(file_, tailStart, tailSize);
  size_t at = std::string::npos;
  for (size_t i = tail.size() - kEndSize + 1; i-- > 0;) {
    if (Fields(std::string_view(tail).substr(i, 4)).u32() != kEndSignature) continue;
    const size_t commentLength = Fields(std::string_view(tail).substr(i + 20, 2)).u16();
    if (i + kEndSize + commentLength <= tail.size()) {
      at = i;
      break;
    }
  }
  if (at == std::string::npos) throw ArchiveError(9, kNoEnd);
  Fields end(std::string_view(tail).substr(at + 4, kEndSize - 4));
  const uint16_t disk = end.u16();
  const uint16_t directoryDisk = end.u16();
  end.u16();
  entryCount_ = end.u16();
  directorySize_ = end.u32();
  directoryOffset_ = end.u32();
  directoryEnd_ = tailStart + at;
  comment_ = tail.substr(at + kEndSize, Fields(std::string_view(tail).substr(at + 20, 2)).u16());

  if (readZip64End()) return;
  if ((disk != 0 && disk != kMax16) || (directoryDisk != 0 && directoryDisk != kMax16))
    throw ArchiveError(9, "multi-part archives are not supported");
}

// A ZIP64 locator right before the end record points to the ZIP64 end record, whose
// counts and offsets replace the end record's.
bool ZipReader::readZip64End() {
  if (directoryEnd_ < kZip64LocatorSize) return false;
  const std::string locator =
      readBlock(file_, directoryEnd_ - kZip64LocatorSize, kZip64LocatorSize);
  Fields l(locator);
  if (l.u32() != kZip64LocatorSignature) return false;
  l.u32();
  const uint64_t recordOffset = l.u64();
  if (directoryEnd_ < kZip64LocatorSize + kZip64EndSize ||
      recordOffset > directoryEnd_ - kZip64LocatorSize - kZip64EndSize)
    corrupt("ZIP64 end record past the end of the file; zipfile corrupt.");
  const std::string record = readBlock(file_, recordOffset, kZip64EndSize);
  Fields r(record);
  if (r.u32() != kZip64EndSignature) corrupt("ZIP64 end record not found; zipfile corrupt.");
  r.take(12);  // record size, versions
  const uint32_t disk = r.u32();
  const uint32_t directoryDisk = r.u32();
  r.u64();
  entryCount_ = r.u64();
  directorySize_ = r.u64();
  directoryOffset_ = r.u64();
  directoryEnd_ = recordOffset;
  if (disk != 0 || directoryDisk != 0)
    throw ArchiveError(9, "multi-part archives are not supported");
  return true;
}

void ZipReader::readDirectory() {
  if (directorySize_ > directoryEnd_ || add(directoryOffset_, directorySize_) > directoryEnd_)
    corrupt("start of central directory not found; zipfile corrupt.");
  // Bytes before the archive (a self-extractor) shift every recorded offset.
  base_ = directoryEnd_ - directorySize_ - directoryOffset_;
  if (base_ > 0 && entryCount_ > 0) {
    uint8_t sig[4];
    file_.seek(directoryOffset_);
    file_.readExact(sig, 4);
    if (Fields(std::string_view(reinterpret_cast<char*>(sig), 4)).u32() == kCentralHeaderSignature)
      base_ = 0;
  }
  file_.seek(directoryOffset_ + base_);
  entries_.reserve(std::min<uint64_t>(entryCount_, directorySize_ / kCentralHeaderSize));
  for (uint64_t i = 0; i < entryCount_; ++i) {
    char fixed[kCentralHeaderSize];
    file_.readExact(fixed, kCentralHeaderSize);
    Fields h(std::string_view(fixed, kCentralHeaderSize));
    if (h.u32() != kCentralHeaderSignature)
      corrupt("expected central file header signature not found (file #" + std::to_string(i + 1) +
              ").");
    Entry e;
    e.versionMadeBy = h.u16();
    e.versionNeeded = h.u16();
    e.flags = h.u16();
    e.method = h.u16();
    const uint32_t time = h.u16();
    e.dosTime = (static_cast<uint32_t>(h.u16()) << 16) | time;
    e.crc = h.u32();
    e.packedSize = h.u32();
    e.size = h.u32();
    const uint16_t nameLength = h.u16();
    const uint16_t extraLength = h.u16();
    const uint16_t commentLength = h.u16();
    h.u16();
    e.internalAttributes = h.u16();
    e.externalAttributes = h.u32();
    e.localOffset = h.u32();
    std::string variable(size_t(nameLength) + extraLength + commentLength, '\0');
    file_.readExact(variable.data(), variable.size());
    const std::string_view raw = std::string_view(variable).substr(0, nameLength);
    const std::string_view extra = std::string_view(variable).substr(nameLength, extraLength);
    applyZip64(e, extra, e.size == kMax32, e.packedSize == kMax32, e.localOffset == kMax32);
    e.name = decodeName(raw, e.flags, extra, e.host());
    e.modified = modifiedTime(extra);
    entries_.push_back(std::move(e));
  }
}

uint64_t ZipReader::localDataOffset(const Entry& entry) {
  const uint64_t offset = add(entry.localOffset, base_);
  if (add(offset, kLocalHeaderSize) > directoryEnd_) return kBadOffset;
  char fixed[kLocalHeaderSize];
  file_.seek(offset);
  file_.readExact(fixed, kLocalHeaderSize);
  Fields h(std::string_view(fixed, kLocalHeaderSize));
  if (h.u32() != kLocalHeaderSignature) return kBadOffset;
  h.take(22);
  const uint64_t nameLength = h.u16();
  const uint64_t extraLength = h.u16();
  return offset + kLocalHeaderSize + nameLength + extraLength;
}

void ZipReader::checkLayout() {
  dataOffsets_.assign(entries_.size(), kBadOffset);
  for (size_t i = 0; i < entries_.size(); ++i)
    dataOffsets_[i] = localDataOffset(entries_[i]);
  std::vector<size_t> order(entries_.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return entries_[a].localOffset < entries_[b].localOffset; });
  // Each entry must end before the next one starts, and the last before the directory.
  uint64_t previousEnd = 0;
  const uint64_t directoryStart = directoryOffset_ + base_;
  for (size_t i : order) {
    const uint64_t start = add(entries_[i].localOffset, base_);
    if (dataOffsets_[i] == kBadOffset) continue;
    const uint64_t end = add(dataOffsets_[i], entries_[i].packedSize);
    if (start < previousEnd || end > directoryStart)
      corrupt("invalid zip file with overlapped components (possible zip bomb)");
    previousEnd = end;
  }
}

uint64_t ZipReader::dataOffset(size_t index) {
  if (index < dataOffsets_.size()) return dataOffsets_[index];
  return localDataOffset(entries_[index]);
}

// ------------------------------------------------------------------------- EntryReader

EntryReader::EntryReader(ZipReader& archive, size_t index)
    : file_(archive.file()),
      entry_(archive.entries()[index]),
      remaining_(entry_.packedSize),
      in_(new uint8_t[kInChunk]) {
  const uint64_t offset = archive.dataOffset(index);
  if (offset == kBadOffset) throw EntryError("bad zipfile offset (local header sig)");
  if (entry_.method != kMethodStored && entry_.method != kMethodDeflated)
    throw UnsupportedMethod("unsupported compression method " + std::to_string(entry_.method));
  file_.seek(offset);
  if (entry_.encrypted()) {
    if (remaining_ < kCryptHeaderSize) throw EntryError("unexpected end of file");
    file_.readExact(header_, kCryptHeaderSize);
    remaining_ -= kCryptHeaderSize;
  }
  if (entry_.method == kMethodDeflated) {
    if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
    inflating_ = true;
    out_.reset(new uint8_t[kOutChunk]);
  }
}

EntryReader::~EntryReader() {
  if (inflating_) inflateEnd(&stream_);
}

bool EntryReader::usePassword(std::string_view password) {
  ZipCrypto crypto(password);
  uint8_t header[kCryptHeaderSize];
  std::memcpy(header, header_, kCryptHeaderSize);
  crypto.decrypt(header, kCryptHeaderSize);
  if (header[kCryptHeaderSize - 1] != ZipCrypto::checkByte(entry_)) return false;
  crypto_ = crypto;
  return true;
}

size_t EntryReader::readPacked(size_t limit) {
  const size_t n = static_cast<size_t>(std::min<uint64_t>(remaining_, limit));
  if (n == 0) return 0;
  file_.readExact(in_.get(), n);
  remaining_ -= n;
  if (crypto_) crypto_->decrypt(in_.get(), n);
  return n;
}

std::string_view EntryReader::next() {
  if (ended_) return {};
  if (needsPassword()) throw EntryError("incorrect password");
  const uint8_t* data;
  size_t size;
  try {
    if (!inflating_) {
      size = readPacked(kInChunk);
      data = in_.get();
      if (size == 0) {
        finish();
        return {};
      }
    } else {
      for (;;) {
        if (stream_.avail_in == 0) {
          stream_.avail_in = static_cast<uInt>(readPacked(kInChunk));
          stream_.next_in = in_.get();
        }
        stream_.next_out = out_.get();
        stream_.avail_out = kOutChunk;
        const int status = inflate(&stream_, Z_NO_FLUSH);
        size = kOutChunk - stream_.avail_out;
        data = out_.get();
        if (status == Z_STREAM_END) {
          if (size > 0) break;
          finish();
          return {};
        }
        if (status == Z_BUF_ERROR && size == 0) throw EntryError("unexpected end of file");
        if (status != Z_OK && status != Z_BUF_ERROR)
          throw EntryError("invalid compressed data to inflate");
        if (size > 0) break;
      }
    }
  } catch (const os::IoError& e) {
    throw EntryError(e.what());
  }
  produced_ += size;
  if (produced_ > entry_.size) throw EntryError("bad length (more data than the archive declares)");
  crc_ = static_cast<uint32_t>(crc32(crc_, data, static_cast<uInt>(size)));
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

void EntryReader::finish() {
  ended_ = true;
  if (produced_ != entry_.size)
    throw EntryError("bad length (less data than the archive declares)");
  if (crc_ != entry_.crc) {
    char text[64];
    std::snprintf(text, sizeof text, "bad CRC %08x  (should be %08x)", crc_, entry_.crc);
    throw EntryError(text);
  }
}

std::string methodName(const Entry& entry) {
  switch (entry.method) {
    case kMethodStored:
      return "Stored";
    case kMethodDeflated: {
      static const char kLevels[] = {'N', 'X', 'F', 'S'};
      return std::string("Defl:") + kLevels[(entry.flags >> 1) & 3];
    }
    case 1:
      return "Shrunk";
    case 6:
      return "Implode";
    case 9:
      return "Def64#";
    case 12:
      return "BZip2";
    case 14:
      return "LZMA";
    default:
      return "Unk:" + std::to_string(entry.method % 1000);
  }
}

}  // namespace zv::archiver
