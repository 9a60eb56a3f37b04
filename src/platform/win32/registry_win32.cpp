// The registry on Windows: the advapi32 "A" functions themselves.
#include <windows.h>

#include "platform/registry.h"

namespace zv::platform::reg {

namespace {

HKEY handle(Key key) { return reinterpret_cast<HKEY>(key); }

std::string terminated(std::string_view text) { return std::string(text); }

BYTE* bytes(Buffer* data) { return data ? reinterpret_cast<BYTE*>(data->data()) : nullptr; }

}  // namespace

int32_t openKey(Key parent, std::string_view subKey, uint32_t access, Key& key) {
  HKEY opened = nullptr;
  const LONG rc = RegOpenKeyExA(handle(parent), terminated(subKey).c_str(), 0, access, &opened);
  if (rc == ERROR_SUCCESS) key = reinterpret_cast<Key>(opened);
  return rc;
}

int32_t createKey(Key parent, std::string_view subKey, Key& key) {
  HKEY created = nullptr;
  const LONG rc = RegCreateKeyExA(handle(parent), terminated(subKey).c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &created, nullptr);
  if (rc == ERROR_SUCCESS) key = reinterpret_cast<Key>(created);
  return rc;
}

int32_t closeKey(Key key) { return RegCloseKey(handle(key)); }

int32_t flushKey(Key key) { return RegFlushKey(handle(key)); }

int32_t queryValue(Key key, std::string_view name, uint32_t& type, Buffer* data, uint32_t& size) {
  DWORD valueType = 0, valueSize = data ? static_cast<DWORD>(data->size()) : 0;
  const LONG rc =
      RegQueryValueExA(handle(key), terminated(name).c_str(), nullptr, &valueType, bytes(data), &valueSize);
  type = valueType;
  size = valueSize;
  return rc;
}

int32_t setValue(Key key, std::string_view name, uint32_t type, std::string_view data) {
  return RegSetValueExA(handle(key), terminated(name).c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
}

int32_t deleteValue(Key key, std::string_view name) {
  return RegDeleteValueA(handle(key), terminated(name).c_str());
}

int32_t enumValue(Key key, uint32_t index, uint32_t nameCapacity, std::string& name,
                  uint32_t& type, Buffer* data, uint32_t& size) {
  std::string buffer(nameCapacity, '\0');
  DWORD nameLength = nameCapacity, valueType = 0;
  DWORD valueSize = data ? static_cast<DWORD>(data->size()) : 0;
  const LONG rc = RegEnumValueA(handle(key), index, buffer.data(), &nameLength, nullptr, &valueType,
                                bytes(data), &valueSize);
  if (rc == ERROR_SUCCESS) name = buffer.substr(0, nameLength);
  type = valueType;
  size = valueSize;
  return rc;
}

int32_t enumKey(Key key, uint32_t index, uint32_t nameCapacity, std::string& name) {
  std::string buffer(nameCapacity, '\0');
  DWORD length = nameCapacity;
  const LONG rc =
      RegEnumKeyExA(handle(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) name = buffer.substr(0, length);
  return rc;
}

int32_t deleteTree(Key parent, std::string_view subKey) {
  return RegDeleteTreeA(handle(parent), terminated(subKey).c_str());
}

}  // namespace zv::platform::reg
