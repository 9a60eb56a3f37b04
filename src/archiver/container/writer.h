// Writing archives: entries one after the other (new ones streamed from their files,
// kept ones copied as stored), then the central directory and the end records, with
// ZIP64 records wherever a size, an offset or the entry count needs them.
#pragma once

#include <string>
#include <vector>

#include "archiver/container/format.h"
#include "archiver/container/line_ends.h"
#include "archiver/container/reader.h"
#include "archiver/os/file.h"

namespace zv::archiver {

struct AddOptions {
  int level = 6;                       // 0 stores
  LineEnds lineEnds = LineEnds::Keep;  // applied to text files only
  const std::string* password = nullptr;
};

class ZipWriter {
 public:
  explicit ZipWriter(os::File& out) : out_(out) {}

  // Copies entry `index` of `from` with its data as stored.
  void copy(ZipReader& from, size_t index);
  // An entry without data: a folder (name ending in "/") or a volume label.
  void addEmpty(Entry entry);
  // A file entry streamed from `source`, deflated unless that does not make it smaller.
  // `entry` brings the name, times and attributes; the rest is filled in.
  const Entry& addFile(Entry entry, os::File& source, const AddOptions& options);

  // The central directory and the end records with `comment`; the file ends there.
  void finish(std::string_view comment);

  const std::vector<Entry>& written() const { return written_; }

 private:
  void writeLocalHeader(const Entry& e, bool zip64);
  void writeData(Entry& e, os::File& source, const AddOptions& options);
  void writeDescriptor(const Entry& e, bool zip64);
  void patchLocalHeader(const Entry& e, bool zip64);

  os::File& out_;
  std::vector<Entry> written_;
};

}  // namespace zv::archiver
