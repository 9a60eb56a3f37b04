// RegistryLib: reading, writing and deleting values, testing and creating keys.
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "runtime/trap.h"
#include "system/RegistryLib.h"
#include "system/registry_keys.h"

namespace zv::impl {

namespace reg = platform::reg;

namespace {

constexpr uint32_t kPlainReadSize = 2048;

String rootText(int32_t root) {
  return longToString(root);
}

}  // namespace

String RegistryLib::plainRead(int32_t root, const String& section, const String& name) {
  OpenedKey key;
  if (key.open(reg::rootKey(root), section, reg::kRead) != reg::kSuccess) return String();
  reg::Buffer data(kPlainReadSize, '\0');
  uint32_t type = 0, size = kPlainReadSize;
  if (reg::queryValue(key.get(), toAnsi(name), type, &data, size) != reg::kSuccess || size == 0)
    return String();
  return fromAnsi(std::string_view(data).substr(0, size - 1));
}

String RegistryLib::ReadRegistryCurrentUser(const String& theSectionName,
                                            const String& theKeyName) {
  return plainRead(reg::kCurrentUser, theSectionName, theKeyName);
}

String RegistryLib::ReadRegistryUsers(const String& theSectionName, const String& theKeyName) {
  return plainRead(reg::kUsers, theSectionName, theKeyName);
}

// With no value name and Value False, only whether the key opens: "0", else "2".
String RegistryLib::ReadRegistryMachine(const String& theSectionName, const String& theKeyName,
                                        bool Value) {
  OpenedKey key;
  const int32_t opened =
      key.open(reg::rootKey(reg::kLocalMachine), theSectionName, reg::kAllAccess);
  if (!theKeyName.empty() || Value)
    return opened == reg::kSuccess ? typedRead(key.get(), theKeyName) : String();
  return opened == reg::kSuccess ? u"0" : u"2";
}

String RegistryLib::ReadRegistryRoot(const String& theKeyName, const String& theValueName) {
  OpenedKey key;
  if (key.open(reg::rootKey(reg::kClassesRoot), theKeyName, reg::kAllAccess) != reg::kSuccess)
    return String();
  return typedRead(key.get(), theValueName);
}

String RegistryLib::ReadRegistryRootShell(const String& PrefShell) {
  return ReadRegistryRoot(PrefShell + u"\\shell\\open\\command", String());
}

// Every failure is ignored. The text goes with as many bytes as it has characters and no
// terminating NUL, whatever the type; the registry adds the NUL to a text type.
void RegistryLib::WriteRegistry(const String& theKey, const String& theSectionName,
                                const String& theKeyName, const String& theValueName,
                                int32_t theType) {
  returnOnly([&] {
    const int32_t root = toLong(Variant(theKey));
    OpenedKey key;
    if (key.create(reg::rootKey(root), theSectionName) != reg::kSuccess) return;
    reg::setValue(key.get(), toAnsi(theKeyName), static_cast<uint32_t>(theType),
                  toAnsi(theValueName));
    reg::flushKey(key.get());
  });
}

void RegistryLib::WriteRegistryCurrentUser(const String& theSectionName, const String& theKeyName,
                                           const String& theValueName) {
  WriteRegistry(rootText(reg::kCurrentUser), theSectionName, theKeyName, theValueName,
                reg::kString);
}

void RegistryLib::WriteRegistryMachine(const String& theSectionName, const String& theKeyName,
                                       const String& theValueName, int32_t theType) {
  WriteRegistry(rootText(reg::kLocalMachine), theSectionName, theKeyName, theValueName, theType);
}

void RegistryLib::WriteRegistryUsers(const String& theSectionName, const String& theKeyName,
                                     const String& theValueName) {
  WriteRegistry(rootText(reg::kUsers), theSectionName, theKeyName, theValueName, reg::kString);
}

bool RegistryLib::deleteValue(int32_t root, const String& section, const String& name) {
  OpenedKey key;
  return key.open(reg::rootKey(root), section, reg::kAllAccess) == reg::kSuccess &&
         reg::deleteValue(key.get(), toAnsi(name)) == reg::kSuccess;
}

bool RegistryLib::DeleteValueKeyMachine(const String& SectionKey, const String& valueKey) {
  return deleteValue(reg::kLocalMachine, SectionKey, valueKey);
}

bool RegistryLib::DeleteValueKeyRoot(const String& SectionKey, const String& valueKey) {
  return deleteValue(reg::kClassesRoot, SectionKey, valueKey);
}

bool RegistryLib::DeleteValueKeyRootShell(const String& SectionKey, const String& valueKey) {
  return DeleteValueKeyRoot(SectionKey + u"\\shell\\open\\command", valueKey);
}

bool RegistryLib::isKeySectionExists(int32_t sKeyClass, const String& sKeySection) {
  OpenedKey key;
  return key.open(reg::rootKey(sKeyClass), sKeySection, reg::kQueryValue) == reg::kSuccess;
}

// Errors are ignored; an existing key is only opened.
void RegistryLib::CreateNewKey(String& sNewKeyName, int32_t& lPredefinedKey) {
  OpenedKey key;
  key.create(reg::rootKey(lPredefinedKey), sNewKeyName);
}

}  // namespace zv::impl
