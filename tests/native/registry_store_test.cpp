// The POSIX registry store through the "A" functions: Windows' rules for names, order,
// texts, buffers and limits, and store files that cannot be used.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "test_support.h"

namespace reg = zv::platform::reg;

namespace {

const reg::Key kUser = reg::rootKey(reg::kCurrentUser);

class RegistryStoreTest : public testing::Test {
 protected:
  ~RegistryStoreTest() override {
    for (reg::Key key : keys_) reg::closeKey(key);
  }

  reg::Key create(const std::string& path) {
    reg::Key key = 0;
    EXPECT_EQ(reg::createKey(kUser, path, key), reg::kSuccess) << path;
    keys_.push_back(key);
    return key;
  }
  // The value's data as the "A" functions give it, read with a buffer of its exact size.
  std::string read(reg::Key key, const std::string& name, uint32_t* typeOut = nullptr) {
    uint32_t type = 0, size = 0;
    if (reg::queryValue(key, name, type, nullptr, size) != reg::kSuccess) return "<missing>";
    reg::Buffer data(size, '\0');
    EXPECT_EQ(reg::queryValue(key, name, type, &data, size), reg::kSuccess);
    if (typeOut) *typeOut = type;
    return data.substr(0, size);
  }
  std::vector<std::string> subkeys(reg::Key key) {
    std::vector<std::string> names;
    std::string name;
    while (reg::enumKey(key, static_cast<uint32_t>(names.size()), 260, name) == reg::kSuccess)
      names.push_back(name);
    return names;
  }
  std::vector<std::string> values(reg::Key key) {
    std::vector<std::string> names;
    std::string name;
    uint32_t type = 0, size = 0;
    while (reg::enumValue(key, static_cast<uint32_t>(names.size()), 260, name, type, nullptr, size) ==
           reg::kSuccess)
      names.push_back(name);
    return names;
  }

  zvtest::TempDir dir_;
  const std::string file_ = dir_.path("new/folder/registry.db");
  zvtest::ScopedVariable store_{"ZV_REGISTRY", file_};
  std::vector<reg::Key> keys_;
};

TEST_F(RegistryStoreTest, CreatedByTheFirstWriteOnly) {
  reg::Key key = 0;
  EXPECT_EQ(reg::openKey(kUser, "Software", reg::kRead, key), reg::kFileNotFound);
  std::string name;
  EXPECT_EQ(reg::enumKey(kUser, 0, 260, name), reg::kNoMoreItems);
  EXPECT_FALSE(std::filesystem::exists(file_));
  create("Software\\App");
  EXPECT_TRUE(std::filesystem::exists(file_));
  EXPECT_EQ(subkeys(kUser), std::vector<std::string>{"Software"});
}

TEST_F(RegistryStoreTest, NamesKeepTheirCaseAndCompareWithoutIt) {
  const reg::Key app = create("Software\\MyApp");
  reg::Key same = 0;
  ASSERT_EQ(reg::openKey(kUser, "SOFTWARE\\\\myapp\\", reg::kAllAccess, same), reg::kSuccess);
  keys_.push_back(same);
  ASSERT_EQ(reg::setValue(app, "Name", reg::kBinary, "1"), reg::kSuccess);
  ASSERT_EQ(reg::setValue(same, "first", reg::kBinary, "2"), reg::kSuccess);
  ASSERT_EQ(reg::setValue(same, "NAME", reg::kBinary, "3"), reg::kSuccess);
  EXPECT_EQ(values(app), (std::vector<std::string>{"Name", "first"}));
  EXPECT_EQ(read(app, "name"), "3");
  EXPECT_EQ(subkeys(create("software")), std::vector<std::string>{"MyApp"});
}

TEST_F(RegistryStoreTest, SubkeysInUpperCaseOrderValuesInCreationOrder) {
  const reg::Key key = create("Order");
  for (const char* name : {"b", "_x", "A", "c"}) create(std::string("Order\\") + name);
  EXPECT_EQ(subkeys(key), (std::vector<std::string>{"A", "b", "c", "_x"}));
  for (const char* name : {"z", "a", "m"}) reg::setValue(key, name, reg::kBinary, "");
  reg::setValue(key, "A", reg::kBinary, "again");  // keeps its place
  reg::deleteValue(key, "z");
  reg::setValue(key, "z", reg::kBinary, "");  // goes last
  EXPECT_EQ(values(key), (std::vector<std::string>{"a", "m", "z"}));
}

// Texts are held as Unicode and read back in the ANSI code page, with a NUL added when the
// caller gave none; other types keep their bytes and any type number is kept.
TEST_F(RegistryStoreTest, TypesAndTheirBytes) {
  const reg::Key key = create("Types");
  struct Case {
    const char* name;
    uint32_t type;
    std::string given, read;
  };
  const std::string binary("\x00\x01\xFF", 3);
  const std::vector<Case> cases = {
      {"sz", reg::kString, "Caf\xE9 \x80", std::string("Caf\xE9 \x80\0", 7)},
      {"sz0", reg::kString, std::string("ab\0", 3), std::string("ab\0", 3)},
      {"empty", reg::kString, "", ""},
      {"multi", reg::kMultiString, std::string("a\0b\0\0", 5), std::string("a\0b\0\0", 5)},
      {"bin", reg::kBinary, binary, binary},
      {"dword", reg::kDword, std::string("\x2A\0\0\0", 4), std::string("\x2A\0\0\0", 4)},
      {"none", reg::kNone, "x", "x"},
      {"nine", 9, "x", "x"},
      {"huge", 0xFFFFFFFFu, "x", "x"}};
  for (const Case& c : cases) {
    ASSERT_EQ(reg::setValue(key, c.name, c.type, c.given), reg::kSuccess) << c.name;
    uint32_t type = 0;
    EXPECT_EQ(read(key, c.name, &type), c.read) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
  }
  ASSERT_EQ(reg::setValue(key, "", reg::kString, "default"), reg::kSuccess);
  EXPECT_EQ(read(key, ""), std::string("default\0", 8));
  EXPECT_EQ(values(key).back(), "");
}

TEST_F(RegistryStoreTest, BuffersTooSmallAskForMore) {
  const reg::Key key = create("Buffers");
  reg::setValue(key, "text", reg::kString, "abc");  // read as "abc" and its NUL: 4 bytes
  reg::setValue(key, "bin", reg::kBinary, "abc");
  struct Case {
    const char* name;
    size_t capacity;
    int32_t status;
    std::string buffer;
  };
  const std::vector<Case> cases = {
      {"text", 3, reg::kMoreData, "xxx"},
      {"text", 4, reg::kSuccess, std::string("abc\0", 4)},
      {"text", 6, reg::kSuccess, std::string("abc\0xx", 6)},
      {"bin", 2, reg::kMoreData, "xx"},
      {"bin", 5, reg::kSuccess, "abcxx"}};  // no NUL after bytes
  for (const Case& c : cases) {
    reg::Buffer data(c.capacity, 'x');
    uint32_t type = 0, size = static_cast<uint32_t>(c.capacity);
    EXPECT_EQ(reg::queryValue(key, c.name, type, &data, size), c.status) << c.name << c.capacity;
    EXPECT_EQ(size, std::string(c.name) == "text" ? 4u : 3u);
    if (c.status == reg::kSuccess) {
      EXPECT_EQ(data, c.buffer) << c.name << c.capacity;
    }
  }
  const std::string longName(260, 'n');
  reg::setValue(key, longName.substr(1), reg::kBinary, "");
  std::string name;
  uint32_t type = 0, size = 0;
  EXPECT_EQ(reg::enumValue(key, 2, 260, name, type, nullptr, size), reg::kSuccess);
  EXPECT_EQ(name.size(), 259u);
  reg::setValue(key, longName, reg::kBinary, "");
  EXPECT_EQ(reg::enumValue(key, 3, 260, name, type, nullptr, size), reg::kMoreData);
}

TEST_F(RegistryStoreTest, LimitsOfNamesDepthAndSize) {
  reg::Key key = 0;
  EXPECT_EQ(reg::createKey(kUser, std::string(256, 'k'), key), reg::kInvalidParameter);
  create(std::string(255, 'k'));
  std::string deep = "D";
  for (int level = 2; level <= 512; ++level) deep += "\\D";
  create(deep);
  EXPECT_EQ(reg::createKey(kUser, deep + "\\D", key), reg::kInvalidParameter);
  std::string sixHundred = "S";
  for (int level = 2; level <= 600; ++level) sixHundred += "\\S";
  EXPECT_EQ(reg::createKey(kUser, sixHundred, key), reg::kInvalidParameter);
  EXPECT_EQ(reg::openKey(kUser, "S", reg::kRead, key), reg::kFileNotFound);  // nothing half-made
  const std::string megabyte(1 << 20, '\x5A');
  const reg::Key big = create("Big");
  ASSERT_EQ(reg::setValue(big, "blob", reg::kBinary, megabyte), reg::kSuccess);
  EXPECT_EQ(read(big, "blob"), megabyte);
}

TEST_F(RegistryStoreTest, HandlesAccessAndDeletedKeys) {
  const reg::Key key = create("Handles\\Child");
  reg::Key readOnly = 0;
  ASSERT_EQ(reg::openKey(kUser, "Handles", reg::kQueryValue, readOnly), reg::kSuccess);
  keys_.push_back(readOnly);
  EXPECT_EQ(reg::setValue(readOnly, "v", reg::kBinary, "x"), reg::kAccessDenied);
  std::string name;
  EXPECT_EQ(reg::enumKey(readOnly, 0, 260, name), reg::kAccessDenied);
  ASSERT_EQ(reg::deleteTree(kUser, "Handles"), reg::kSuccess);
  EXPECT_EQ(reg::setValue(key, "v", reg::kBinary, "x"), reg::kKeyDeleted);
  EXPECT_EQ(reg::closeKey(0x7777), reg::kInvalidHandle);
  uint32_t type = 0, size = 0;
  EXPECT_EQ(reg::queryValue(0x7777, "v", type, nullptr, size), reg::kInvalidHandle);
}

TEST_F(RegistryStoreTest, AFileThatIsNoDatabaseIsLeftAlone) {
  std::filesystem::create_directories(dir_.path("new/folder"));
  zvtest::writeBytes(file_, "this is no database, just text\n");
  reg::Key key = 0;
  EXPECT_EQ(reg::openKey(kUser, "Software", reg::kRead, key), reg::kCorrupt);
  EXPECT_EQ(reg::createKey(kUser, "Software", key), reg::kCorrupt);
  EXPECT_EQ(reg::setValue(kUser, "v", reg::kString, "x"), reg::kCorrupt);
  EXPECT_EQ(zvtest::readBytes(file_), "this is no database, just text\n");
}

}  // namespace
