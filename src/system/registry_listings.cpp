// RegistryLib: the values of a key, the subkeys of a key into a list, and the search of a
// subtree for a value.
#include <vector>

#include "frame/traps.h"
#include "platform/system_info.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "system/RegistryLib.h"
#include "system/registry_keys.h"

namespace zv::impl {

namespace reg = platform::reg;

namespace {

constexpr uint32_t kListingBuffer = 260;
constexpr uint32_t kSearchBuffer = 2048;
constexpr size_t kSearchDepth = 7;  // levels kept; a subkey at the last one is not entered

String registryTypeName(uint32_t type) {
  static const char16_t* const kNames[] = {u"REG_NONE",   u"REG_SZ",       u"REG_EXPAND_SZ",
                                           u"REG_BINARY", u"REG_DWORD",    u"REG_DWORD_BIG_ENDIAN",
                                           u"REG_LINK",   u"REG_MULTI_SZ", u"REG_RESOURCE_LIST"};
  return type < std::size(kNames) ? kNames[type] : u"UNKNOWN_TYPE";
}

String hexText(uint32_t value) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  String digits;
  do {
    digits.insert(digits.begin(), kDigits[value & 15]);
    value >>= 4;
  } while (value);
  return u"&H" + digits;
}

// What the subtree search compares a value's data as.
String searchText(uint32_t type, std::string_view data) {
  String text;
  switch (type) {
    case reg::kString:
    case reg::kMultiString:
      text = fromAnsi(data);
      break;
    case reg::kExpandString:
      text = left(platform::expandEnvironmentStrings(CutAtNullChar(fromAnsi(data))), kSearchBuffer);
      break;
    case reg::kDword:
      text = longToString(littleEndian32(data));
      break;
    case reg::kDwordBigEndian: {
      std::string reversed(data.substr(0, 4));
      reversed.resize(4, '\0');
      text = longToString(littleEndian32(std::string(reversed.rbegin(), reversed.rend())));
      break;
    }
    default:
      break;
  }
  return CutAtNullChar(text);
}

}  // namespace

// Empty when the key does not open, has no value, or on any failure.
Variant RegistryLib::EnumerateRegistryValues(const String& xi_strSubKey,
                                             int32_t xi_lngRegistryHive) {
  Variant result;
  returnOnly([&] {
    const int32_t hive = xi_lngRegistryHive == 0 ? reg::kLocalMachine : xi_lngRegistryHive;
    OpenedKey key;
    if (key.open(reg::rootKey(hive), xi_strSubKey, reg::kRead) != reg::kSuccess) return;
    std::vector<Variant> rows;
    for (uint32_t index = 0;; ++index) {
      std::string name;
      reg::Buffer data(kListingBuffer, '\0');
      uint32_t type = 0, size = kListingBuffer;
      if (reg::enumValue(key.get(), index, kListingBuffer, name, type, &data, size) !=
          reg::kSuccess)
        break;
      const Variant shown = type == reg::kDword
                                ? Variant(hexText(static_cast<uint32_t>(littleEndian32(data))))
                                : Variant(fromAnsi(data));
      rows.emplace_back(SafeArray::vector(
          VarType::Variant, 0, {Variant(fromAnsi(name)), shown, Variant(registryTypeName(type))}));
    }
    if (!rows.empty()) result = Variant(SafeArray::vector(VarType::Variant, 1, std::move(rows)));
  });
  return result;
}

// Report and return. Names containing `exclusion` (any case) are left out.
void RegistryLib::ListKeysOfTree(ObjectRef& theList, const String& typeInfos,
                                 const Variant& exclusion) {
  reportAndReturn(
      [&] {
        OpenedKey key;
        if (key.open(reg::rootKey(reg::kLocalMachine), typeInfos, reg::kRead) != reg::kSuccess)
          return;
        const bool excluding = !exclusion.isMissing();
        const String excluded = excluding ? ucase(toString(exclusion)) : String();
        for (uint32_t index = 0;; ++index) {
          std::string ansi;
          if (reg::enumKey(key.get(), index, kListingBuffer, ansi) != reg::kSuccess) break;
          const String name = fromAnsi(ansi);
          if (isBlank(name) || (excluding && instr(ucase(name), excluded) > 0)) continue;
          call(theList, u"AddItem", {Variant(name)});
        }
      },
      u"Error on getting value:\r\n" + typeInfos);
}

// Depth first from theKey; the item2 value beside the last match in walk order wins.
String RegistryLib::FindRegistryMachine(const String& theKey, const String& Item,
                                        const String& theValue, const String& item2) {
  struct Level {
    OpenedKey key;
    String path;
    uint32_t nextSubKey = 0;
  };
  const reg::Key machine = reg::rootKey(reg::kLocalMachine);
  std::vector<std::unique_ptr<Level>> walk;
  String result;
  // Opens a key of the walk and compares its values; false ends the walk.
  const auto enter = [&](const String& path) {
    auto level = std::make_unique<Level>();
    level->path = path;
    if (level->key.open(machine, path, reg::kRead) != reg::kSuccess) return false;
    for (uint32_t index = 0;; ++index) {
      std::string name;
      reg::Buffer data(kSearchBuffer, '\0');
      uint32_t type = 0, size = kSearchBuffer;
      const int32_t status =
          reg::enumValue(level->key.get(), index, kSearchBuffer, name, type, &data, size);
      if (status == reg::kNoMoreItems) break;
      if (status != reg::kSuccess) return false;
      if (equalsNoCase(fromAnsi(name), Item) &&
          equalsNoCase(searchText(type, std::string_view(data).substr(0, size)), theValue))
        result = ReadRegistryMachine(path, item2, false);
    }
    walk.push_back(std::move(level));
    return true;
  };
  if (!enter(theKey)) return result;
  while (!walk.empty()) {
    Level& level = *walk.back();
    std::string name;
    const int32_t status = reg::enumKey(level.key.get(), level.nextSubKey++, kSearchBuffer, name);
    if (status == reg::kNoMoreItems) {
      walk.pop_back();
    } else if (status != reg::kSuccess) {
      break;
    } else if (walk.size() + 1 < kSearchDepth && !enter(level.path + u"\\" + fromAnsi(name))) {
      break;
    }
  }
  return result;
}

}  // namespace zv::impl
