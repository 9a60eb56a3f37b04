// RegistryLib: one-call access to the registry. Every method opens the keys it needs and
// closes them before it returns.
#pragma once

#include "api/RegistryLib.h"

namespace zv::impl {

class RegistryLib final : public zv::RegistryLib {
 public:
  // registry_values.cpp
  String ReadRegistryCurrentUser(const String& theSectionName, const String& theKeyName) override;
  String ReadRegistryUsers(const String& theSectionName, const String& theKeyName) override;
  String ReadRegistryMachine(const String& theSectionName, const String& theKeyName,
                             bool Value) override;
  String ReadRegistryRoot(const String& theKeyName, const String& theValueName) override;
  String ReadRegistryRootShell(const String& PrefShell) override;
  void WriteRegistry(const String& theKey, const String& theSectionName, const String& theKeyName,
                     const String& theValueName, int32_t theType) override;
  void WriteRegistryCurrentUser(const String& theSectionName, const String& theKeyName,
                                const String& theValueName) override;
  void WriteRegistryMachine(const String& theSectionName, const String& theKeyName,
                            const String& theValueName, int32_t theType) override;
  void WriteRegistryUsers(const String& theSectionName, const String& theKeyName,
                          const String& theValueName) override;
  bool DeleteValueKeyMachine(const String& SectionKey, const String& valueKey) override;
  bool DeleteValueKeyRoot(const String& SectionKey, const String& valueKey) override;
  bool DeleteValueKeyRootShell(const String& SectionKey, const String& valueKey) override;
  bool isKeySectionExists(int32_t sKeyClass, const String& sKeySection) override;
  void CreateNewKey(String& sNewKeyName, int32_t& lPredefinedKey) override;

  // registry_associations.cpp
  void CreateFileAssociation(String& fileAss, String& nameApp, String& fileExe, String& itemApp,
                             const String& TypeDoc, int16_t IconNumber) override;
  String GetFileType(const String& theFile) override;

  // registry_listings.cpp
  Variant EnumerateRegistryValues(const String& xi_strSubKey, int32_t xi_lngRegistryHive) override;
  void ListKeysOfTree(ObjectRef& theList, const String& typeInfos,
                      const Variant& exclusion) override;
  String FindRegistryMachine(const String& theKey, const String& Item, const String& theValue,
                             const String& item2) override;

 private:
  // ReadRegistryCurrentUser and ReadRegistryUsers: at most 2048 bytes, less the last one.
  String plainRead(int32_t root, const String& section, const String& name);
  // The three deletes: True when the key opens and the value goes.
  bool deleteValue(int32_t root, const String& section, const String& name);
};

}  // namespace zv::impl
