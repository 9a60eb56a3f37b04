// Runs a test under a given user locale: sets LANG (clearing LC_ALL and LC_MESSAGES),
// makes the library read it again, and puts everything back afterwards.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

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

}  // namespace zvtest
