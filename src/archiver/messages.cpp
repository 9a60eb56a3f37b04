#include "archiver/messages.h"

#include "archiver/os/os.h"

namespace zv::archiver {

void Messages::say(const std::string& utf8) const {
  if (!print_) return;
  std::string text = os::toAnsi(utf8);
  print_(text.data(), static_cast<uint32_t>(text.size()));
}

int savedPercent(uint64_t size, uint64_t packed) {
  if (size <= packed) return 0;
  const long double saved = static_cast<long double>(size - packed) * 100 / size;
  return static_cast<int>(saved + 0.5L);
}

}  // namespace zv::archiver
