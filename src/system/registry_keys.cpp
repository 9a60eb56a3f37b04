#include "system/registry_keys.h"

#include "frame/varnix.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"

namespace zv::impl {

namespace reg = platform::reg;

int32_t OpenedKey::open(reg::Key parent, const String& path, uint32_t access) {
  close();
  return reg::openKey(parent, toAnsi(path), access, key_);
}

int32_t OpenedKey::create(reg::Key parent, const String& path) {
  close();
  return reg::createKey(parent, toAnsi(path), key_);
}

void OpenedKey::close() {
  if (key_) reg::closeKey(key_);
  key_ = 0;
}

int32_t littleEndian32(std::string_view bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4 && i < bytes.size(); ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
  return static_cast<int32_t>(value);
}

String typedRead(reg::Key key, const String& name) {
  constexpr uint32_t kNumberSize = 4, kMultiStringSize = 260;
  const std::string valueName = toAnsi(name);
  uint32_t type = 0, size = 0;
  if (reg::queryValue(key, valueName, type, nullptr, size) != reg::kSuccess) return String();
  String text;
  if (type == reg::kString || type == reg::kMultiString) {
    reg::Buffer data(type == reg::kString ? size : kMultiStringSize, '\0');
    if (reg::queryValue(key, valueName, type, &data, size) != reg::kSuccess) return String();
    text = fromAnsi(std::string_view(data).substr(0, size));
  } else if (type == reg::kBinary || type == reg::kDword) {
    reg::Buffer data(kNumberSize, '\0');
    if (reg::queryValue(key, valueName, type, &data, size) != reg::kSuccess) return String();
    text = longToString(littleEndian32(data));
  }
  return trim(CutAtNullChar(text));
}

int32_t setText(reg::Key key, const String& name, const String& text, bool withNul) {
  std::string data = toAnsi(text);
  if (withNul) data += '\0';
  return reg::setValue(key, toAnsi(name), reg::kString, data);
}

}  // namespace zv::impl
