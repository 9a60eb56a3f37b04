// The registry as the system classes use it: keys opened for one call and closed when
// they go, and the typed read of a value.
#pragma once

#include <string>

#include "platform/registry.h"
#include "runtime/types.h"

namespace zv::impl {

class OpenedKey {
 public:
  OpenedKey() = default;
  ~OpenedKey() { close(); }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  // RegOpenKeyExA and RegCreateKeyExA of `path` under `parent`: the platform's result.
  int32_t open(platform::reg::Key parent, const String& path, uint32_t access);
  int32_t create(platform::reg::Key parent, const String& path);
  void close();

  bool isOpen() const { return key_ != 0; }
  platform::reg::Key get() const { return key_; }

 private:
  platform::reg::Key key_ = 0;
};

// The typed read of a value: type 1 its text, types 3 and 4 the 32-bit number of its first
// four bytes in decimal (a longer binary gives ""), type 7 its first string (the list read
// into 260 bytes), any other type "". Cut at its first NUL and trimmed; "" when missing.
String typedRead(platform::reg::Key key, const String& name);

// Sets a value of type 1 from `text`, with or without the terminating NUL counted in.
int32_t setText(platform::reg::Key key, const String& name, const String& text, bool withNul);

// The signed 32-bit number in the first four bytes (little-endian; missing bytes are 0).
int32_t littleEndian32(std::string_view bytes);

}  // namespace zv::impl
