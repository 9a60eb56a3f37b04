// The registry, as the advapi32 "A" functions reach it: keys under four root handles,
// values of types 0 to 8 (any other number is kept as it is), names compared without
// regard to case, texts in the ANSI code page. Windows uses its own registry; POSIX a
// store of its own with the same behaviour (registry_store_posix.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/types.h"

namespace zv::platform::reg {

// A key handle: a root's predefined value, or one that openKey or createKey returned.
using Key = uintptr_t;

// The root handle of a RegistryClassConstants value (HKEY_CURRENT_USER is -2147483647).
inline Key rootKey(int32_t value) {
  return static_cast<Key>(static_cast<intptr_t>(value));
}
inline constexpr int32_t kClassesRoot = INT32_MIN;
inline constexpr int32_t kCurrentUser = INT32_MIN + 1;
inline constexpr int32_t kLocalMachine = INT32_MIN + 2;
inline constexpr int32_t kUsers = INT32_MIN + 3;

// Access rights asked when opening a key.
inline constexpr uint32_t kQueryValue = 0x0001;
inline constexpr uint32_t kSetValue = 0x0002;
inline constexpr uint32_t kCreateSubKey = 0x0004;
inline constexpr uint32_t kEnumerateSubKeys = 0x0008;
inline constexpr uint32_t kRead = 0x20019;
inline constexpr uint32_t kAllAccess = 0x003F;

// Value types.
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kString = 1;
inline constexpr uint32_t kExpandString = 2;
inline constexpr uint32_t kBinary = 3;
inline constexpr uint32_t kDword = 4;
inline constexpr uint32_t kDwordBigEndian = 5;
inline constexpr uint32_t kLink = 6;
inline constexpr uint32_t kMultiString = 7;
inline constexpr uint32_t kResourceList = 8;
// Types whose data the "A" functions convert between the ANSI code page and Unicode.
inline bool isTextType(uint32_t type) {
  return type == kString || type == kExpandString || type == kMultiString;
}

// Texts as the registry holds them: UTF-16LE bytes (an odd last byte is dropped).
std::string toUtf16le(const String& text);
String fromUtf16le(std::string_view bytes);
// The "A" functions' conversion of a text value's bytes: Windows-1252 to UTF-16LE and back.
inline std::string unicodeBytes(std::string_view ansi);
inline std::string ansiBytes(std::string_view unicode);

// Results: Windows error codes.
inline constexpr int32_t kSuccess = 0;
inline constexpr int32_t kFileNotFound = 2;
inline constexpr int32_t kAccessDenied = 5;
inline constexpr int32_t kInvalidHandle = 6;
inline constexpr int32_t kInvalidParameter = 87;
inline constexpr int32_t kMoreData = 234;
inline constexpr int32_t kNoMoreItems = 259;
inline constexpr int32_t kCorrupt = 1015;
inline constexpr int32_t kKeyDeleted = 1018;

// A caller's data buffer: its size is the capacity offered; what a call leaves in it is
// the platform's, as with the real functions (the data, for a text a NUL after it when
// there is room, and the rest of the buffer as it was).
using Buffer = std::string;

// RegOpenKeyExA and RegCreateKeyExA (missing parents created; an existing key is opened
// with full access). An empty `subKey` opens the key itself.
int32_t openKey(Key parent, std::string_view subKey, uint32_t access, Key& key);
int32_t createKey(Key parent, std::string_view subKey, Key& key);
int32_t closeKey(Key key);
int32_t flushKey(Key key);

// RegQueryValueExA: the type, the size and, when `data` is given, the data. kMoreData with
// the size needed when the data does not fit. A name "" is the key's default value.
int32_t queryValue(Key key, std::string_view name, uint32_t& type, Buffer* data, uint32_t& size);
int32_t setValue(Key key, std::string_view name, uint32_t type, std::string_view data);
int32_t deleteValue(Key key, std::string_view name);

// RegEnumValueA and RegEnumKeyExA by index from 0: kNoMoreItems past the last; kMoreData
// when the name (with its NUL, against `nameCapacity`) or the data does not fit.
int32_t enumValue(Key key, uint32_t index, uint32_t nameCapacity, std::string& name, uint32_t& type,
                  Buffer* data, uint32_t& size);
int32_t enumKey(Key key, uint32_t index, uint32_t nameCapacity, std::string& name);

// RegDeleteTreeA of `subKey` and the key itself.
int32_t deleteTree(Key parent, std::string_view subKey);

}  // namespace zv::platform::reg

#include "runtime/ansi.h"

namespace zv::platform::reg {

inline std::string unicodeBytes(std::string_view ansi) {
  return toUtf16le(fromAnsi(ansi));
}
inline std::string ansiBytes(std::string_view unicode) {
  return toAnsi(fromUtf16le(unicode));
}

}  // namespace zv::platform::reg
