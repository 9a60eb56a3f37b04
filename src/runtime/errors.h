// VB-style run-time errors and the per-thread pending error.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "text.h"
#include "types.h"

namespace zv {

// Standard run-time error numbers the library raises.
namespace err {
inline constexpr int32_t kInvalidCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kDivisionByZero = 11;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kBadFileNameOrNumber = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kBadFileMode = 54;
inline constexpr int32_t kFileAlreadyOpen = 55;
inline constexpr int32_t kDeviceIO = 57;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kInputPastEnd = 62;
inline constexpr int32_t kTooManyFiles = 67;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kPathFileAccess = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kObjectNotSet = 91;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kObjectRequired = 424;
inline constexpr int32_t kCantCreateObject = 429;
inline constexpr int32_t kNotSupported = 438;
inline constexpr int32_t kNamedArgNotFound = 448;
inline constexpr int32_t kArgNotOptional = 449;
inline constexpr int32_t kWrongArgCount = 450;
inline constexpr int32_t kDuplicateKey = 457;
}  // namespace err

// The description VB gives a standard error number ("" for numbers it does not name).
String standardDescription(int32_t number);

// A run-time error on its way to a trap or to the caller.
class Error : public std::exception {
 public:
  Error(int32_t number, String description = {}, String source = {});

  int32_t number() const { return number_; }
  const String& description() const { return description_; }
  const String& source() const { return source_; }
  const String& helpFile() const { return helpFile_; }
  int32_t helpContext() const { return helpContext_; }
  int32_t line() const { return line_; }

  Error& withSource(String source);
  Error& withHelp(String file, int32_t context);
  Error& withLine(int32_t line);

  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int32_t number_;
  String description_;
  String source_;
  String helpFile_;
  int32_t helpContext_ = 0;
  int32_t line_ = 0;
  std::string what_;
};

// Throws the standard error `number`, with its standard description unless one is given.
[[noreturn]] void raise(int32_t number, String description = {});

// The pending error of the calling thread: what a failed statement left behind.
struct PendingError {
  int32_t number = 0;
  String description;
  String source;
  int32_t line = 0;
  String helpFile;
  int32_t helpContext = 0;
};

PendingError& pendingError();
void clearPendingError();
void setPendingError(const Error& error);

// The source name given to errors raised inside a class's method (its ProgID) while that
// method runs on this thread; empty outside any method, where errors name the library.
StringView currentSource();

// Names `source` (text that outlives the scope, such as a literal) the current source.
class SourceScope {
 public:
  explicit SourceScope(StringView source);
  ~SourceScope();
  SourceScope(const SourceScope&) = delete;
  SourceScope& operator=(const SourceScope&) = delete;

 private:
  StringView previous_;
};

}  // namespace zv
