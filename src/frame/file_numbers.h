// The thread's table of open text files: each open takes the lowest free number, and
// the method that opened a file closes it before it returns. Text is read and written
// in the ANSI code page, lines end with CR LF.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>

#include "runtime/text.h"

namespace zv {

enum class FileMode { Input, Output, Append };

class TextFile {
 public:
  TextFile(std::fstream stream, FileMode mode) : stream_(std::move(stream)), mode_(mode) {}

  FileMode mode() const { return mode_; }
  // EOF(n): no character left to read.
  bool atEnd();
  // Line Input #n: the text up to CR, CR LF or the end; error 62 past the end.
  String readLine();
  // Print #n, text; (no line end) and Print #n, text (with CR LF).
  void write(StringView text);
  void writeLine(StringView text);
  // Close #n: the buffered text is written out; error 61 when the disk is full, 57 for
  // another write failure.
  void close();

 private:
  void requireMode(FileMode mode) const;

  std::fstream stream_;
  FileMode mode_;
};

// Opens `path` under the lowest free number (1 to 511). Errors as VB's Open raises them:
// 53 missing file to read, 76 missing folder, 75 a folder or an unusable name, 70 denied,
// 67 no free number.
int16_t openFile(const String& path, FileMode mode);
// The open file with that number; error 52 when none.
TextFile& fileByNumber(int16_t number);
// Frees the number, then reports a failed final write as TextFile::close does.
void closeFile(int16_t number);
// How many files the calling thread has open.
size_t openFileCount();
// FileLen: the file's length in bytes; 53 when it is missing, 75 for a folder.
int64_t fileLength(const String& path);

// Closes its file number (if any) when the method's scope ends.
class FileNumber {
 public:
  explicit FileNumber(int16_t number = -1) : number_(number) {}
  // A scope left by a failure closes quietly: that failure is the one reported.
  ~FileNumber() { closeQuietly(); }
  FileNumber(FileNumber&& other) noexcept : number_(other.number_) { other.number_ = -1; }
  FileNumber(const FileNumber&) = delete;
  FileNumber& operator=(const FileNumber&) = delete;
  FileNumber& operator=(int16_t number) {
    closeQuietly();
    number_ = number;
    return *this;
  }

  int16_t number() const { return number_; }
  bool isOpen() const { return number_ > 0; }
  TextFile& file() const { return fileByNumber(number_); }
  // Frees the number first, so a close that fails is not tried again.
  void close();

 private:
  void closeQuietly() noexcept;

  int16_t number_;
};

}  // namespace zv
