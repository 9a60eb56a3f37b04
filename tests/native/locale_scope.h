// Runs a test under a given user locale: sets LANG (clearing LC_ALL and LC_MESSAGES),
// makes the library read it again, and puts everything back afterwards.
#pragma once

#include <stdlib.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "runtime/errors.h"
#include "runtime/vblocale.h"

namespace zvtest {

class UserLocale {
 public:
  explicit UserLocale(const char* lang) {
    for (int i = 0; i < 3; ++i) {
      const char* value = ::getenv(kNames[i]);
      if (value) saved_[i] = value;
      ::unsetenv(kNames[i]);
    }
    ::setenv("LANG", lang, 1);
    zv::resetUserLocale();
  }
  ~UserLocale() {
    for (int i = 0; i < 3; ++i) {
      if (saved_[i])
        ::setenv(kNames[i], saved_[i]->c_str(), 1);
      else
        ::unsetenv(kNames[i]);
    }
    zv::resetUserLocale();
  }
  UserLocale(const UserLocale&) = delete;
  UserLocale& operator=(const UserLocale&) = delete;

 private:
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> saved_[3];
};

enum Lang { kEn, kFr };

// The two user locales the locale-dependent classes are tested under.
struct LocaleParam {
  Lang lang;
  const char* env;
  const char* name;
};

inline constexpr LocaleParam kLocales[] = {{kEn, "en_US.UTF-8", "enUS"},
                                           {kFr, "fr_FR.UTF-8", "frFR"}};

// A test run once per locale, with the locale in force for its whole body.
class LocaleTest : public testing::TestWithParam<LocaleParam> {
 protected:
  void SetUp() override { zv::clearPendingError(); }
  // The expectation for the locale in force.
  template <class T>
  T pick(T en, T fr) const {
    return GetParam().lang == kEn ? en : fr;
  }

  UserLocale locale_{GetParam().env};
};

}  // namespace zvtest
