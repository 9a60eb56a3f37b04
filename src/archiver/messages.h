// Messages to the caller's print callback: one line per call, without its line end, in
// the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

#include "archiver/interface.h"

namespace zv::archiver {

class Messages {
 public:
  using Print = int(ZV_ARCHIVER_CALL*)(char* text, uint32_t length);

  explicit Messages(Print print) : print_(print) {}

  void say(const std::string& utf8) const;

 private:
  Print print_;
};

// Info-ZIP's compression figure: how much smaller `packed` is than `size`, in percent.
int savedPercent(uint64_t size, uint64_t packed);

}  // namespace zv::archiver
