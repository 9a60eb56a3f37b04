// RegistryLib against the registry store: reads, writes, deletes, keys, associations,
// listings with their buffer limits and the subtree search with its depth. Missing keys are
// in the shared case table (tests/cases/system.tsv).
#include <gtest/gtest.h>

#include <string>

#include "api/RegistryLib.h"
#include "api/SystemLib.h"
#include "controls/models/ListBox.h"
#include "frame/classes.h"
#include "platform/registry.h"
#include "runtime/convert.h"
#include "test_support.h"

namespace reg = zv::platform::reg;
using zv::String;
using zv::Variant;

namespace {

constexpr int32_t kRoot = reg::kClassesRoot, kUser = reg::kCurrentUser,
                  kMachine = reg::kLocalMachine, kUsers = reg::kUsers;

class RegistryLibTest : public testing::Test {
 protected:
  // Sets a value with the bytes given, creating its key.
  void set(int32_t root, const std::string& path, const std::string& name, uint32_t type,
           const std::string& data) {
    reg::Key key = 0;
    ASSERT_EQ(reg::createKey(reg::rootKey(root), path, key), reg::kSuccess);
    EXPECT_EQ(reg::setValue(key, name, type, data), reg::kSuccess);
    reg::closeKey(key);
  }
  std::vector<String> listed(const String& key, const Variant& exclusion = Variant::missing()) {
    zv::ObjectRef list = zv::createModel(u"ListBox");
    lib_->ListKeysOfTree(list, key, exclusion);
    std::vector<String> items;
    for (int32_t i = 0; i < zv::toLong(zv::get(list, u"ListCount")); ++i)
      items.push_back(zv::toString(zv::get(list, u"List", {Variant(i)})));
    return items;
  }

  zvtest::TempDir dir_;
  zvtest::ScopedVariable store_{"ZV_REGISTRY", dir_.path("registry.db")};
  zvtest::RecordingUserInterface ui_;
  std::shared_ptr<zv::RegistryLib> lib_ = zv::RegistryLib::create();
};

TEST_F(RegistryLibTest, WritesThroughEachRootAndReadsBack) {
  lib_->WriteRegistryCurrentUser(u"Software\\Zv", u"User", u"Caf\u00e9 \u0100");
  lib_->WriteRegistryUsers(u".DEFAULT\\Zv", u"Users", u"u");
  lib_->WriteRegistryMachine(u"Software\\Zv", u"Machine", u"m", 1);
  lib_->WriteRegistry(zv::longToString(kRoot), u"Zv.Doc", u"", u"root");
  lib_->WriteRegistry(u"HKEY_CURRENT_USER", u"Software\\Zv", u"Ignored", u"x", 1);  // no number
  EXPECT_EQ(lib_->ReadRegistryCurrentUser(u"Software\\Zv", u"user"), u"Caf\u00e9 ?");
  EXPECT_EQ(lib_->ReadRegistryUsers(u".DEFAULT\\Zv", u"Users"), u"u");
  EXPECT_EQ(lib_->ReadRegistryMachine(u"Software\\Zv", u"Machine", false), u"m");
  EXPECT_EQ(lib_->ReadRegistryRoot(u"Zv.Doc", u""), u"root");
  EXPECT_EQ(lib_->ReadRegistryCurrentUser(u"Software\\Zv", u"Ignored"), u"");
}

// The plain read takes 2048 bytes less the last one; the typed read goes by type.
TEST_F(RegistryLibTest, PlainAndTypedReads) {
  const std::string key = "Software\\Reads";
  struct Case {
    const char* name;
    uint32_t type;
    std::string data;
    String plain, typed;
  };
  const std::vector<Case> cases = {
      {"sz", reg::kString, "  padded  ", u"  padded  ", u"padded"},
      {"sznul", reg::kString, std::string("a\0b\0", 4), String(u"a\0b", 3), u"a"},
      {"dword", reg::kDword, std::string("\x2A\0\0\0", 4), String(u"*\0\0", 3), u"42"},
      {"short", reg::kDword, "42", u"4", u"12852"},
      {"minus", reg::kDword, "\xFF\xFF\xFF\xFF", u"\u00FF\u00FF\u00FF", u"-1"},
      {"bin4", reg::kBinary, std::string("\x01\0\0\0", 4), String(u"\x01\0\0", 3), u"1"},
      {"bin5", reg::kBinary, std::string("\x01\0\0\0\0", 5), String(u"\x01\0\0\0", 4), u""},
      {"multi", reg::kMultiString, std::string("first\0second\0\0", 14),
       String(u"first\0second\0", 13), u"first"},
      {"expand", reg::kExpandString, "%HOME%", u"%HOME%", u""},
      {"big", reg::kString, std::string(2047, 'b'), String(2047, u'b'), String(2047, u'b')},
      {"bigger", reg::kString, std::string(2048, 'b'), u"", String(2048, u'b')}};
  for (const Case& c : cases) {
    set(kUser, key, c.name, c.type, c.data);
    set(kMachine, key, c.name, c.type, c.data);
  }
  for (const Case& c : cases) {
    EXPECT_EQ(lib_->ReadRegistryCurrentUser(u"Software\\Reads", zv::fromUtf8(c.name)), c.plain)
        << c.name;
    EXPECT_EQ(lib_->ReadRegistryMachine(u"Software\\Reads", zv::fromUtf8(c.name), false), c.typed)
        << c.name;
  }
}

TEST_F(RegistryLibTest, KeysTestsCreationAndDeletes) {
  String name = u"Software\\X\\Y";
  int32_t root = kMachine;
  lib_->CreateNewKey(name, root);
  lib_->CreateNewKey(name, root);  // an existing key is only opened
  EXPECT_TRUE(lib_->isKeySectionExists(kMachine, u"software\\x"));
  EXPECT_EQ(lib_->ReadRegistryMachine(u"Software\\X", u"", false), u"0");
  EXPECT_EQ(lib_->ReadRegistryMachine(u"Software\\X", u"", true), u"");
  lib_->WriteRegistryMachine(u"Software\\X", u"", u"default", 1);
  EXPECT_EQ(lib_->ReadRegistryMachine(u"Software\\X", u"", true), u"default");
  EXPECT_TRUE(lib_->DeleteValueKeyMachine(u"Software\\X", u""));
  EXPECT_FALSE(lib_->DeleteValueKeyMachine(u"Software\\X", u""));
  lib_->WriteRegistry(zv::longToString(kRoot), u"Doc\\shell\\open\\command", u"v", u"x", 1);
  EXPECT_TRUE(lib_->DeleteValueKeyRootShell(u"Doc", u"v"));
  EXPECT_FALSE(lib_->DeleteValueKeyRoot(u"Doc\\shell\\open\\command", u"v"));
}

TEST_F(RegistryLibTest, FileAssociations) {
  String ext = u".abc", app = u"App", exe = u"C:\\App\\app.exe", item = u"App file";
  lib_->CreateFileAssociation(ext, app, exe, item, u"Document", -1);
  EXPECT_EQ(lib_->GetFileType(u".abc"), u"App.Document");
  EXPECT_EQ(lib_->ReadRegistryRoot(u"App.Document", u""), u"App file");
  EXPECT_EQ(lib_->ReadRegistryRootShell(u"App.Document"), u"C:\\App\\app.exe %1");
  EXPECT_FALSE(lib_->isKeySectionExists(kRoot, u"App.Document\\DefaultIcon"));
  lib_->CreateFileAssociation(ext, app, exe, item, u"Document", 2);
  EXPECT_EQ(lib_->ReadRegistryRoot(u"App.Document\\DefaultIcon", u""), u"C:\\App\\app.exe,2");
  // Each value is written with its NUL: the plain read of one gives the whole text.
  reg::Key key = 0;
  ASSERT_EQ(reg::openKey(reg::rootKey(kRoot), ".abc", reg::kRead, key), reg::kSuccess);
  uint32_t type = 0, size = 0;
  reg::queryValue(key, "", type, nullptr, size);
  reg::closeKey(key);
  EXPECT_EQ(size, 13u);
  EXPECT_EQ(lib_->GetFileType(u".unregistered"), u"");
  EXPECT_TRUE(lib_->isKeySectionExists(kRoot, u".unregistered"));
  set(kRoot, ".nul", "", reg::kString, std::string("a\0b\0", 4));
  EXPECT_EQ(lib_->GetFileType(u".nul"), u"a b");
}

TEST_F(RegistryLibTest, EnumeratedValuesStopAtTheFirstThatDoesNotFit) {
  const std::string key = "Software\\Enum";
  set(kMachine, key, "Answer", reg::kDword, std::string("\x2A\0\0\0", 4));
  set(kMachine, key, "All", reg::kDword, "\xFF\xFF\xFF\xFF");
  set(kMachine, key, "Text", reg::kString, std::string(258, 't'));  // 259 bytes with its NUL
  set(kMachine, key, "Odd", 42, "x");
  set(kMachine, key, "Long", reg::kBinary, std::string(261, 'l'));
  set(kMachine, key, "After", reg::kString, "never listed");
  const Variant result = lib_->EnumerateRegistryValues(u"Software\\Enum", 0);
  ASSERT_TRUE(result.isArray());
  const zv::SafeArray& rows = result.arrayValue();
  ASSERT_EQ(rows.lbound(), 1);
  ASSERT_EQ(rows.ubound(), 4);
  const auto cell = [&](int32_t row, int32_t column) {
    return zv::toString(rows.at(row).arrayValue().at(column));
  };
  EXPECT_EQ(cell(1, 0), u"Answer");
  EXPECT_EQ(cell(1, 1), u"&H2A");
  EXPECT_EQ(cell(1, 2), u"REG_DWORD");
  EXPECT_EQ(cell(2, 1), u"&HFFFFFFFF");
  EXPECT_EQ(cell(3, 1), String(258, u't') + String(2, u'\0'));  // the 260-byte buffer
  EXPECT_EQ(cell(3, 2), u"REG_SZ");
  EXPECT_EQ(cell(4, 2), u"UNKNOWN_TYPE");
  set(kUser, "Software\\EmptyKey\\Child", "v", reg::kString, "x");
  EXPECT_TRUE(lib_->EnumerateRegistryValues(u"Software\\EmptyKey", kUser).isEmpty());
}

TEST_F(RegistryLibTest, ListsSubkeysInOrderWithoutExcludedNames) {
  for (const char* name : {"Zeta", "Microsoft", "alpha", "MICRO Tools", "beta"})
    set(kMachine, std::string("Software\\Tree\\") + name, "v", reg::kString, "x");
  EXPECT_EQ(listed(u"Software\\Tree"),
            (std::vector<String>{u"alpha", u"beta", u"MICRO Tools", u"Microsoft", u"Zeta"}));
  EXPECT_EQ(listed(u"Software\\Tree", Variant(u"micro")),
            (std::vector<String>{u"alpha", u"beta", u"Zeta"}));
  EXPECT_TRUE(listed(u"Software\\Nothing").empty());
  zv::ObjectRef noList = zv::createModel(u"TextBox");
  lib_->ListKeysOfTree(noList, u"Software\\Tree", Variant::missing());
  EXPECT_EQ(ui_.pointers.size(), 1u);  // the failure reported silently
  EXPECT_EQ(zv::pendingError().number, 0);
}

// Keys are entered down to depth 6 (theKey is depth 1); the last match in walk order wins.
TEST_F(RegistryLibTest, FindsValuesBesideMatchesDownToTheSixthLevel) {
  std::string path = "Find";
  for (int depth = 2; depth <= 7; ++depth) {
    path += "\\L" + std::to_string(depth);
    set(kMachine, path, "Kind", reg::kString, "level");
    set(kMachine, path, "Depth", reg::kString, std::to_string(depth));
  }
  EXPECT_EQ(lib_->FindRegistryMachine(u"Find", u"KIND", u"LEVEL", u"Depth"), u"6");
  set(kMachine, "Find\\Other", "Kind", reg::kDword, std::string("\x07\0\0\0", 4));
  set(kMachine, "Find\\Other", "Depth", reg::kString, "other");
  EXPECT_EQ(lib_->FindRegistryMachine(u"Find", u"kind", u"7", u"Depth"), u"other");
  set(kMachine, "Find\\Path", "Kind", reg::kExpandString, "%ZV_FIND_TEST%\\x");
  set(kMachine, "Find\\Path", "Depth", reg::kString, "expanded");
  zvtest::ScopedVariable variable("ZV_FIND_TEST", "C:");
  EXPECT_EQ(lib_->FindRegistryMachine(u"Find", u"Kind", u"c:\\X", u"Depth"), u"expanded");
}

// The record of a system whose registration is in the store; missing values read as "".
TEST_F(RegistryLibTest, WindowsInformationFromTheStore) {
  const std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  set(kMachine, key, "RegisteredOwner", reg::kString, "  Ada Lovelace  ");
  // 99 characters and the NUL fill the 100-byte buffer; one more does not fit.
  set(kMachine, key, "CurrentBuildNumber", reg::kString, std::string(99, '9'));
  set(kMachine, key, "ProductId", reg::kString, std::string(100, '1'));
  zv::WindowsRegistryInfo info;
  info.Plus = u"caller's";
  zv::SystemLib::create()->GetWindowsInformation(info);
  EXPECT_EQ(info.RegOwner, u"Ada Lovelace");
  EXPECT_EQ(info.VersionNo, String(99, u'9'));
  EXPECT_EQ(info.ProductId, u"");
  EXPECT_EQ(info.Plus, u"");
  EXPECT_EQ(info.Product, u"Windows NT");  // empty: the platform's name
}

}  // namespace
