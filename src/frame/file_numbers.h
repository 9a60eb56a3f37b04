// The thread's table of open text files: each open takes the lowest free number, and
// the method that opened a file closes it before it returns. Text is read and written
// in the ANSI code page, lines end with CR LF. A file opened for Output is written beside
// its target and put in the target's place when it is closed, so that a write that fails
// leaves the file that was there whole.
#pragma once

#include <cstdint>
#include <exception>
#include <fstream>
#include <memory>

#include "runtime/text.h"

namespace zv {

enum class FileMode { Input, Output, Append };

class TextFile {
 public:
  TextFile(std::fstream stream, FileMode mode, String scratch = {}, String target = {})
      : stream_(std::move(stream)),
        mode_(mode),
        scratch_(std::move(scratch)),
        target_(std::move(target)) {}
  ~TextFile() { discard(); }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  FileMode mode() const { return mode_; }
  // EOF(n): no character left to read.
  bool atEnd();
  // Line Input #n: the text up to CR, CR LF or the end; error 62 past the end.
  String readLine();
  // Print #n, text; (no line end) and Print #n, text (with CR LF).
  void write(StringView text);
  void writeLine(StringView text);
  // Close #n: the buffered text is written out, and an Output file replaces its target;
  // error 61 when the disk is full, 57 for another write failure, 70 or 75 when the target
  // cannot be replaced.
  void close();
  // Closes without a word after a failure: an Output file's text is thrown away.
  void discard() noexcept;

 private:
  void requireMode(FileMode mode) const;

  std::fstream stream_;
  FileMode mode_;
  String scratch_;  // where an Output file's text goes until close
  String target_;
  std::string encoded_;  // the last write's bytes, its storage kept for the next
};

// Opens `path` under the lowest free number (1 to 511). Errors as VB's Open raises them:
// 53 missing file to read, 76 missing folder, 75 a folder or an unusable name, 70 denied,
// 67 no free number.
int16_t openFile(const String& path, FileMode mode);
// The open file with that number; error 52 when none.
TextFile& fileByNumber(int16_t number);
// Frees the number, then reports a failed final write as TextFile::close does.
void closeFile(int16_t number);
// Frees the number after a failure: see TextFile::discard.
void discardFile(int16_t number) noexcept;
// How many files the calling thread has open.
size_t openFileCount();
// FileLen: the file's length in bytes; 53 when it is missing, 75 for a folder.
int64_t fileLength(const String& path);

// Closes its file number (if any) when the method's scope ends.
class FileNumber {
 public:
  explicit FileNumber(int16_t number = -1)
      : number_(number), exceptions_(std::uncaught_exceptions()) {}
  // A scope left normally closes quietly; one left by a failure discards the file, so that
  // no part of an Output file takes its target's place. The failure is the one reported.
  ~FileNumber() { release(); }
  FileNumber(FileNumber&& other) noexcept : number_(other.number_), exceptions_(other.exceptions_) {
    other.number_ = -1;
  }
  FileNumber(const FileNumber&) = delete;
  FileNumber& operator=(const FileNumber&) = delete;
  FileNumber& operator=(int16_t number) {
    release();
    number_ = number;
    return *this;
  }

  int16_t number() const { return number_; }
  bool isOpen() const { return number_ > 0; }
  TextFile& file() const { return fileByNumber(number_); }
  // Frees the number first, so a close that fails is not tried again.
  void close();
  // Frees the number without keeping what an Output file holds (for failure paths).
  void discard() noexcept;

 private:
  void release() noexcept;

  int16_t number_;
  int exceptions_;  // exceptions in flight when the number was taken
};

}  // namespace zv
