#include "archiver/container/writer.h"

#include <zlib.h>

#include <memory>
#include <random>

#include "archiver/container/crypt.h"
#include "archiver/container/line_ends.h"
#include "archiver/container/names.h"

namespace zv::archiver {

namespace {

constexpr size_t kChunk = 1 << 18;

// A file this close to 4 GiB may pass it once deflate has framed it: its local header
// gets ZIP64 sizes from the start.
bool needsZip64Sizes(uint64_t size) {
  return size + size / 256 + (1 << 20) >= kMax32;
}

uint16_t versionNeeded(const Entry& e, bool zip64) {
  if (zip64 || e.localOffset >= kMax32) return 45;
  return e.method == kMethodStored && !e.encrypted() && !e.isDirectory() ? 10 : 20;
}

uint16_t levelFlags(int level) {
  if (level >= 8) return 2;
  if (level == 2) return 4;
  if (level == 1) return 6;
  return 0;
}

std::string timestampExtra(const Entry& e) {
  Bytes b;
  if (e.modified && *e.modified >= 0 && static_cast<uint64_t>(*e.modified) <= kMax32)
    b.u16(kExtraTimestamp).u16(5).u8(1).u32(static_cast<uint64_t>(*e.modified));
  return b.data();
}

// Compresses (or stores) and encrypts what it is given, writing as it goes.
class DataSink {
 public:
  DataSink(os::File& out, const Entry& e, const AddOptions& options)
      : out_(out), deflating_(e.method == kMethodDeflated), buffer_(new uint8_t[kChunk]) {
    if (deflating_ && deflateInit2(&stream_, options.level, Z_DEFLATED, -MAX_WBITS, 8,
                                   Z_DEFAULT_STRATEGY) != Z_OK)
      throw std::bad_alloc();
    if (options.password) {
      crypto_.emplace(*options.password);
      static thread_local std::mt19937 random{std::random_device{}()};
      uint8_t header[kCryptHeaderSize];
      for (uint8_t& b : header)
        b = static_cast<uint8_t>(random());
      header[kCryptHeaderSize - 1] = ZipCrypto::checkByte(e);
      emit(header, kCryptHeaderSize);
    }
  }
  ~DataSink() {
    if (deflating_) deflateEnd(&stream_);
  }

  void put(const uint8_t* data, size_t size, bool last) {
    if (!deflating_) {
      for (size_t done = 0; done < size;) {
        const size_t n = std::min(kChunk, size - done);
        std::copy(data + done, data + done + n, buffer_.get());
        emit(buffer_.get(), n);
        done += n;
      }
      return;
    }
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    int status;
    do {
      stream_.next_out = buffer_.get();
      stream_.avail_out = kChunk;
      status = deflate(&stream_, last ? Z_FINISH : Z_NO_FLUSH);
      emit(buffer_.get(), kChunk - stream_.avail_out);
    } while (stream_.avail_out == 0 || (last && status != Z_STREAM_END));
  }

 private:
  void emit(uint8_t* data, size_t size) {
    if (crypto_) crypto_->encrypt(data, size);
    out_.write(data, size);
  }

  os::File& out_;
  bool deflating_;
  z_stream stream_{};
  std::optional<ZipCrypto> crypto_;
  std::unique_ptr<uint8_t[]> buffer_;
};

}  // namespace

void ZipWriter::writeLocalHeader(const Entry& e, bool zip64) {
  const bool later = (e.flags & kFlagDescriptor) != 0;
  Bytes extra;
  if (zip64) extra.u16(kExtraZip64).u16(16).u64(later ? 0 : e.size).u64(later ? 0 : e.packedSize);
  extra.text(timestampExtra(e));
  Bytes h;
  h.u32(kLocalHeaderSignature).u16(e.versionNeeded).u16(e.flags).u16(e.method);
  h.u16(e.dosTime & 0xFFFF).u16(e.dosTime >> 16);
  h.u32(later ? 0 : e.crc);
  h.u32(zip64 ? kMax32 : later ? 0 : e.packedSize).u32(zip64 ? kMax32 : later ? 0 : e.size);
  h.u16(e.name.size()).u16(extra.size()).text(e.name).text(extra.data());
  out_.write(h.data());
}

void ZipWriter::patchLocalHeader(const Entry& e, bool zip64) {
  const uint64_t end = out_.tell();
  Bytes fields;
  fields.u32(e.crc).u32(zip64 ? kMax32 : e.packedSize).u32(zip64 ? kMax32 : e.size);
  out_.seek(e.localOffset + 14);
  out_.write(fields.data());
  if (zip64) {
    Bytes sizes;
    sizes.u64(e.size).u64(e.packedSize);
    out_.seek(e.localOffset + kLocalHeaderSize + e.name.size() + 4);
    out_.write(sizes.data());
  }
  out_.seek(end);
}

void ZipWriter::writeDescriptor(const Entry& e, bool zip64) {
  Bytes d;
  d.u32(kDescriptorSignature).u32(e.crc);
  if (zip64)
    d.u64(e.packedSize).u64(e.size);
  else
    d.u32(e.packedSize).u32(e.size);
  out_.write(d.data());
}

void ZipWriter::copy(ZipReader& from, size_t index) {
  Entry e = from.entries()[index];
  const uint64_t dataAt = from.dataOffset(index);
  if (dataAt == UINT64_MAX)
    throw ArchiveError(3, "bad zipfile offset (local header sig): " + e.name);
  if (needsUtf8Flag(e.name)) e.flags |= kFlagUtf8;
  e.localOffset = out_.tell();
  const bool zip64 = e.size >= kMax32 || e.packedSize >= kMax32;
  e.versionNeeded = std::max(e.versionNeeded, versionNeeded(e, zip64));
  writeLocalHeader(e, zip64);
  os::File& source = from.file();
  source.seek(dataAt);
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[kChunk]);
  for (uint64_t left = e.packedSize; left > 0;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
    source.readExact(buffer.get(), n);
    out_.write(buffer.get(), n);
    left -= n;
  }
  if (e.flags & kFlagDescriptor) writeDescriptor(e, zip64);
  written_.push_back(std::move(e));
}

void ZipWriter::addEmpty(Entry e) {
  e.method = kMethodStored;
  e.flags = needsUtf8Flag(e.name) ? kFlagUtf8 : 0;
  e.crc = 0;
  e.size = e.packedSize = 0;
  e.localOffset = out_.tell();
  e.versionNeeded = versionNeeded(e, false);
  writeLocalHeader(e, false);
  written_.push_back(std::move(e));
}

const Entry& ZipWriter::addFile(Entry e, os::File& source, const AddOptions& options) {
  e.localOffset = out_.tell();
  const bool zip64 = needsZip64Sizes(source.size());
  e.flags = needsUtf8Flag(e.name) ? kFlagUtf8 : 0;
  if (options.password) e.flags |= kFlagEncrypted | kFlagDescriptor;
  e.method = options.level == 0 ? kMethodStored : kMethodDeflated;
  for (;;) {
    if (e.method == kMethodDeflated) e.flags |= levelFlags(options.level);
    e.versionNeeded = versionNeeded(e, zip64);
    out_.seek(e.localOffset);
    writeLocalHeader(e, zip64);
    writeData(e, source, options);
    const uint64_t overhead = options.password ? kCryptHeaderSize : 0;
    if (e.method != kMethodDeflated || e.packedSize <= e.size + overhead) break;
    // Deflate made it larger: stored it takes less room.
    e.method = kMethodStored;
    e.flags &= ~levelFlags(options.level);
  }
  if (!zip64 && (e.size >= kMax32 || e.packedSize >= kMax32))
    throw os::IoError("file grew past 4 GiB while it was being read");
  if (e.flags & kFlagDescriptor)
    writeDescriptor(e, zip64);
  else
    patchLocalHeader(e, zip64);
  written_.push_back(std::move(e));
  return written_.back();
}

void ZipWriter::writeData(Entry& e, os::File& source, const AddOptions& options) {
  const uint64_t start = out_.tell();
  source.seek(0);
  DataSink sink(out_, e, options);
  LineEndConverter converter(options.lineEnds);
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[kChunk]);
  uint32_t crc = 0;
  uint64_t size = 0;
  bool first = true;
  bool convert = false;
  auto account = [&](const uint8_t* data, size_t n, bool last) {
    crc = static_cast<uint32_t>(crc32(crc, data, static_cast<uInt>(n)));
    size += n;
    sink.put(data, n, last);
  };
  for (;;) {
    const size_t n = source.read(buffer.get(), kChunk);
    if (first) {
      const bool text = looksLikeText(buffer.get(), n);
      e.internalAttributes = text ? kInternalText : 0;
      convert = text && options.lineEnds != LineEnds::Keep;
      first = false;
    }
    if (n == 0) break;
    if (convert) {
      const std::string& converted = converter.convert(buffer.get(), n);
      account(reinterpret_cast<const uint8_t*>(converted.data()), converted.size(), false);
    } else {
      account(buffer.get(), n, false);
    }
  }
  const std::string& tail = converter.end();
  account(reinterpret_cast<const uint8_t*>(tail.data()), tail.size(), true);
  e.crc = crc;
  e.size = size;
  e.packedSize = out_.tell() - start;
}

void ZipWriter::finish(std::string_view comment) {
  const uint64_t directoryStart = out_.tell();
  for (const Entry& e : written_) {
    Bytes zip64;
    if (e.size >= kMax32) zip64.u64(e.size);
    if (e.packedSize >= kMax32) zip64.u64(e.packedSize);
    if (e.localOffset >= kMax32) zip64.u64(e.localOffset);
    Bytes extra;
    if (zip64.size()) extra.u16(kExtraZip64).u16(zip64.size()).text(zip64.data());
    extra.text(timestampExtra(e));
    Bytes h;
    h.u32(kCentralHeaderSignature).u16(e.versionMadeBy).u16(e.versionNeeded).u16(e.flags);
    h.u16(e.method).u16(e.dosTime & 0xFFFF).u16(e.dosTime >> 16).u32(e.crc);
    h.u32(std::min(e.packedSize, kMax32)).u32(std::min(e.size, kMax32));
    h.u16(e.name.size()).u16(extra.size()).u16(0).u16(0).u16(e.internalAttributes);
    h.u32(e.externalAttributes).u32(std::min(e.localOffset, kMax32));
    h.text(e.name).text(extra.data());
    out_.write(h.data());
  }
  const uint64_t directorySize = out_.tell() - directoryStart;
  const uint64_t count = written_.size();
  Bytes end;
  if (count >= kMax16 || directoryStart >= kMax32 || directorySize >= kMax32) {
    const uint64_t recordOffset = out_.tell();
    end.u32(kZip64EndSignature).u64(kZip64EndSize - 12).u16(45).u16(45).u32(0).u32(0);
    end.u64(count).u64(count).u64(directorySize).u64(directoryStart);
    end.u32(kZip64LocatorSignature).u32(0).u64(recordOffset).u32(1);
  }
  end.u32(kEndSignature).u16(0).u16(0).u16(std::min(count, kMax16)).u16(std::min(count, kMax16));
  comment = comment.substr(0, kMax16);
  end.u32(std::min(directorySize, kMax32)).u32(std::min(directoryStart, kMax32));
  end.u16(comment.size()).text(comment);
  out_.write(end.data());
  out_.truncate(out_.tell());
}

}  // namespace zv::archiver
