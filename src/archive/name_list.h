// A list of names as the archivers take it: a fixed array of 1024 ANSI text slots, the
// names first and one empty text after the last.
#pragma once

#include <string>
#include <vector>

#include "runtime/types.h"

namespace zv::impl {

class AnsiNameList {
 public:
  static constexpr size_t kSlots = 1024;

  // Error 9 (subscript out of range) for more than 1023 names.
  explicit AnsiNameList(const std::vector<String>& names);

  int count() const { return count_; }
  char** data() { return slots_.data(); }

 private:
  int count_;
  std::vector<std::string> texts_;
  std::vector<char*> slots_;
};

}  // namespace zv::impl
