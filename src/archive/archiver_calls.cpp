#include "archive/archiver_calls.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "frame/events.h"
#include "frame/varnix.h"
#include "platform/file_system.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace zv::impl {

namespace {

constexpr size_t kMaxPassword = 254;

bool messageLength(uint32_t length) {
  return length > 1 && length < 32000;
}

String textOf(const char* text, uint32_t length) {
  return CutAtNullChar(fromAnsi(std::string_view(text, length)));
}

}  // namespace

RunScope::RunScope(ArchiverRun& run, const Object& object) : run_(run), saved_(run) {
  run_ = ArchiverRun{&object, false, nullptr};
}

RunScope::~RunScope() {
  run_ = saved_;
}

void RunScope::raiseFailure() const {
  if (run_.failure) std::rethrow_exception(run_.failure);
}

String withPlatformSeparators(String text) {
  std::replace(text.begin(), text.end(), u'/', platform::pathSeparator());
  return text;
}

void raiseProgress(ArchiverRun& run, const char* text, uint32_t length) {
  if (!messageLength(length)) return;
  try {
    Args args{Arg(Variant(int32_t{1})), Arg(Variant(withPlatformSeparators(textOf(text, length))))};
    raiseEvent(*run.running, u"Progress", args);
  } catch (...) {
    // A message that cannot be delivered is skipped; the run goes on.
  }
}

int askPassword(ArchiverRun& run, char* buffer) {
  if (run.passwordCancelled) return 1;
  Variant password{String()};
  Variant cancel{false};
  const bool answered = guarded(run, [&] {
    Args args{Arg::ref(password), Arg::ref(cancel)};
    raiseEvent(*run.running, u"PasswordRequest", args);
  });
  String given;
  bool cancelled = !answered;
  if (answered) {
    guarded(run, [&] {
      given = trim(toString(password));
      cancelled = cancelled || toBoolean(cancel);
    });
  }
  if (run.failure || cancelled || given.empty()) {
    run.passwordCancelled = true;
    return 1;
  }
  const std::string bytes = toAnsi(given).substr(0, kMaxPassword);
  std::memcpy(buffer, bytes.data(), bytes.size());
  return 0;
}

int askCancel(ArchiverRun& run, const char* text, uint32_t length, bool backslashesAsSlashes) {
  if (run.failure) return 1;
  if (!messageLength(length)) return 0;
  bool stop = false;
  guarded(run, [&] {
    String name = textOf(text, length);
    if (backslashesAsSlashes) std::replace(name.begin(), name.end(), u'\\', u'/');
    Variant cancel{false};
    Args args{Arg(Variant(name)), Arg::ref(cancel)};
    raiseEvent(*run.running, u"Cancel", args);
    stop = toBoolean(cancel);
  });
  return stop || run.failure ? 1 : 0;
}

}  // namespace zv::impl
