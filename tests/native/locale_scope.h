// Runs a test under a given user locale: sets LANG (clearing LC_ALL and LC_MESSAGES),
// makes the library read it again, and puts everything back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "runtime/errors.h"
#include "runtime/vblocale.h"
#include "test_support.h"

namespace zvtest {

// The library reads the locale again when the scope starts and, the variables put back,
// when it ends.
struct ResetUserLocaleOnExit {
  ~ResetUserLocaleOnExit() { zv::resetUserLocale(); }
};

class UserLocale : ResetUserLocaleOnExit {
 public:
  explicit UserLocale(const char* lang) : lang_("LANG", lang) { zv::resetUserLocale(); }

 private:
  ScopedVariable all_{"LC_ALL", nullptr}, messages_{"LC_MESSAGES", nullptr};
  ScopedVariable lang_;
};

// The two user locales the locale-dependent classes are tested under.
struct LocaleParam {
  const char *env, *name;
};

inline constexpr LocaleParam kLocales[] = {{"en_US.UTF-8", "enUS"}, {"fr_FR.UTF-8", "frFR"}};

// A test run once per locale, with the locale in force for its whole body.
class LocaleTest : public testing::TestWithParam<LocaleParam> {
 protected:
  void SetUp() override { zv::clearPendingError(); }
  // The expectation for the locale in force.
  template <class T>
  T pick(T en, T fr) const {
    return std::string_view(GetParam().env) == kLocales[0].env ? en : fr;
  }

  UserLocale locale_{GetParam().env};
};

}  // namespace zvtest
