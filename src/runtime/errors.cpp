#include "errors.h"

#include <utility>

#include "text.h"

namespace zv {

String standardDescription(int32_t number) {
  switch (number) {
    case 3: return u"Return without GoSub";
    case 5: return u"Invalid procedure call or argument";
    case 6: return u"Overflow";
    case 7: return u"Out of memory";
    case 9: return u"Subscript out of range";
    case 10: return u"This array is fixed or temporarily locked";
    case 11: return u"Division by zero";
    case 13: return u"Type mismatch";
    case 14: return u"Out of string space";
    case 28: return u"Out of stack space";
    case 35: return u"Sub or Function not defined";
    case 48: return u"Error in loading DLL";
    case 51: return u"Internal error";
    case 52: return u"Bad file name or number";
    case 53: return u"File not found";
    case 54: return u"Bad file mode";
    case 55: return u"File already open";
    case 57: return u"Device I/O error";
    case 58: return u"File already exists";
    case 61: return u"Disk full";
    case 62: return u"Input past end of file";
    case 63: return u"Bad record number";
    case 67: return u"Too many files";
    case 68: return u"Device unavailable";
    case 70: return u"Permission denied";
    case 71: return u"Disk not ready";
    case 74: return u"Can't rename with different drive";
    case 75: return u"Path/File access error";
    case 76: return u"Path not found";
    case 91: return u"Object variable or With block variable not set";
    case 92: return u"For loop not initialized";
    case 93: return u"Invalid pattern string";
    case 94: return u"Invalid use of Null";
    case 424: return u"Object required";
    case 429: return u"ActiveX component can't create object";
    case 430: return u"Class does not support Automation or does not support expected interface";
    case 438: return u"Object doesn't support this property or method";
    case 440: return u"Automation error";
    case 445: return u"Object doesn't support this action";
    case 446: return u"Object doesn't support named arguments";
    case 448: return u"Named argument not found";
    case 449: return u"Argument not optional";
    case 450: return u"Wrong number of arguments or invalid property assignment";
    case 451: return u"Property let procedure not defined and property get procedure did not return an object";
    case 457: return u"This key is already associated with an element of this collection";
    default: return {};
  }
}

Error::Error(int32_t number, String description, String source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {
  if (description_.empty()) description_ = standardDescription(number_);
  if (source_.empty())
    source_ = currentSource().empty() ? String(u"ZivoviViruvov") : String(currentSource());
  what_ = "error " + std::to_string(number_) + ": " + toUtf8(description_);
}

Error& Error::withSource(String source) {
  source_ = std::move(source);
  return *this;
}

Error& Error::withHelp(String file, int32_t context) {
  helpFile_ = std::move(file);
  helpContext_ = context;
  return *this;
}

Error& Error::withLine(int32_t line) {
  line_ = line;
  return *this;
}

void raise(int32_t number, String description) { throw Error(number, std::move(description)); }

namespace {
thread_local PendingError tPending;
thread_local StringView tSource;
}  // namespace

PendingError& pendingError() { return tPending; }

void clearPendingError() {
  // Most calls end with nothing pending: leave the texts alone then.
  if (tPending.number == 0 && tPending.description.empty() && tPending.source.empty() &&
      tPending.helpFile.empty() && tPending.line == 0 && tPending.helpContext == 0)
    return;
  tPending = PendingError{};
}

void setPendingError(const Error& error) {
  tPending.number = error.number();
  tPending.description = error.description();
  tPending.source = error.source();
  tPending.line = error.line();
  tPending.helpFile = error.helpFile();
  tPending.helpContext = error.helpContext();
}

StringView currentSource() { return tSource; }

SourceScope::SourceScope(StringView source) : previous_(std::exchange(tSource, source)) {}

SourceScope::~SourceScope() { tSource = previous_; }

}  // namespace zv
