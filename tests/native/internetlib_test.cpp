// InternetLib over a remote-access service the test controls, and the ppp service's peers.
#include <gtest/gtest.h>

#include <filesystem>

#include "api/InternetLib.h"
#include "api/RegistryLib.h"
#include "frame/classes.h"
#include "platform/remote_access.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::String;
using zv::Variant;
using zv::platform::RasHandle;

namespace {

// Installed for its lifetime; answers as told and records what it is asked.
class FakeRemoteAccess : public zv::platform::RemoteAccess {
 public:
  FakeRemoteAccess() : previous_(zv::platform::installRemoteAccess(this)) {}
  ~FakeRemoteAccess() override { zv::platform::installRemoteAccess(previous_); }

  int32_t enumConnections(std::vector<RasHandle>& out) override {
    out = connections;
    return enumResult;
  }
  int32_t connectStatus(RasHandle connection, int32_t& s) override {
    statusAsked.push_back(connection);
    if (connection == 0) {
      s = 99;  // a failed query may leave anything: the library keeps 0
      return 6;
    }
    s = state;
    return 0;
  }
  int32_t entryDialParams(std::string& record, bool& saved) override {
    const uint32_t size = static_cast<uint8_t>(record[0]) | static_cast<uint8_t>(record[1]) << 8;
    records.emplace_back(size, std::string(record.c_str() + 4));
    saved = passwordSaved;
    return size == acceptedSize ? 0 : 632;
  }
  int32_t dial(const std::string&, RasHandle& connection) override {
    connection = dialHandle;
    ++dials;
    return 0;
  }
  int32_t hangUp(RasHandle connection) override {
    hungUp.push_back(connection);
    return 0;
  }
  int32_t enumEntries(std::vector<String>& names) override {
    names = entries;
    return 0;
  }
  int32_t internetDial(const String& entry) override {
    internetDials.push_back(entry);
    return 0;
  }

  int32_t enumResult = 0, state = 0, dials = 0;
  std::vector<RasHandle> connections, statusAsked, hungUp;
  uint32_t acceptedSize = 1060;
  bool passwordSaved = false;
  RasHandle dialHandle = 0x1234;
  std::vector<std::pair<uint32_t, std::string>> records;
  std::vector<String> entries, internetDials;

 private:
  RemoteAccess* previous_;
};

class InternetLibTest : public testing::Test {
 protected:
  void profile(const String& name, const String& value) {
    zv::RegistryLib::create()->WriteRegistryCurrentUser(u"RemoteAccess", name, value);
  }

  zvtest::TempDir dir_;
  zvtest::ScopedVariable store_{"ZV_REGISTRY", dir_.path("registry.db")};
  zvtest::RecordingUserInterface ui_;
  FakeRemoteAccess ras_;
  std::shared_ptr<zv::InternetLib> lib_ = zv::InternetLib::create();
};

// The first connection is the one asked about and the one hung up.
TEST_F(InternetLibTest, ConnectedStatesAndHangUpOfTheFirstConnection) {
  EXPECT_FALSE(lib_->IsConnected());
  EXPECT_EQ(ras_.statusAsked, std::vector<RasHandle>{0});  // no connection: handle 0 fails
  EXPECT_EQ(lib_->NetUnConnect(), 0);
  EXPECT_TRUE(ras_.hungUp.empty());
  ras_.connections = {7, 8};
  for (const auto& [state, up] : std::vector<std::pair<int32_t, bool>>{
           {5, true}, {8192, true}, {8193, true}, {0, false}, {1, false}, {8194, false}}) {
    ras_.state = state;
    EXPECT_EQ(lib_->IsConnected(), up) << state;
  }
  EXPECT_EQ(ras_.statusAsked.back(), 7u);
  EXPECT_EQ(lib_->NetUnConnect(), 0);
  EXPECT_EQ(ras_.hungUp, std::vector<RasHandle>{7});
  ras_.enumResult = 603;
  EXPECT_FALSE(lib_->IsConnected());
  EXPECT_EQ(ui_.pointers.size(), 1u);  // the failure reported silently
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(InternetLibTest, DialsTheProfileWithTheFirstAcceptedRecord) {
  const String longName(300, u'p');
  profile(u"InternetProfile", longName);
  ras_.acceptedSize = 816;
  ras_.passwordSaved = true;
  EXPECT_EQ(lib_->NetConnect(), 0x1234);
  ASSERT_EQ(ras_.records.size(), 3u);
  EXPECT_EQ(ras_.records[0], std::make_pair(1060u, std::string(256, 'p')));
  EXPECT_EQ(ras_.records[1], std::make_pair(1052u, std::string(256, 'p')));
  EXPECT_EQ(ras_.records[2], std::make_pair(816u, std::string(20, 'p')));
  // Connected now: the remembered handle, without dialling again.
  ras_.connections = {1};
  ras_.state = 8192;
  EXPECT_EQ(lib_->NetConnect(), 0x1234);
  EXPECT_EQ(ras_.dials, 1);
}

TEST_F(InternetLibTest, WithoutASavedPasswordTheDiallerIsAsked) {
  profile(u"default", u"My ISP");
  EXPECT_EQ(lib_->NetConnect(), 0);
  EXPECT_EQ(ras_.records.front().second, "My ISP");  // "InternetProfile" missing: "default"
  EXPECT_EQ(ras_.internetDials, std::vector<String>{u"My ISP"});
  EXPECT_EQ(ras_.dials, 0);
}

TEST_F(InternetLibTest, ProviderListClearedAndFilled) {
  zv::ObjectRef none;
  EXPECT_FALSE(lib_->UpdateProviderList(none));
  zv::ObjectRef list = zv::createModel(u"ComboBox");
  zv::call(list, u"AddItem", {Variant(u"old")});
  EXPECT_TRUE(lib_->UpdateProviderList(list));
  EXPECT_EQ(zv::toLong(zv::get(list, u"ListCount")), 0);
  ras_.entries = {u"Work", u"Home \u00e9t\u00e9"};
  EXPECT_TRUE(lib_->UpdateProviderList(list));
  EXPECT_EQ(zv::toString(zv::get(list, u"List", {Variant(1)})), u"Home \u00e9t\u00e9");
  zv::ObjectRef noList = zv::createModel(u"TextBox");
  EXPECT_FALSE(lib_->UpdateProviderList(noList));
}

// The ppp service: the peers folder gives the entries; no ppp interface, no connection.
TEST(PppRemoteAccessTest, PeersAreTheEntries) {
  zvtest::TempDir dir;
  zvtest::ScopedVariable peers("ZV_PPP_PEERS", dir.path());
  for (const char* name : {"isp", "b-isp", ".hidden"})
    zvtest::writeBytes(dir.path(name), "noauth\n");
  std::filesystem::create_directory(dir.path("folder"));
  auto& ppp = zv::platform::platformRemoteAccess();
  std::vector<String> names;
  EXPECT_EQ(ppp.enumEntries(names), 0);
  EXPECT_EQ(names, (std::vector<String>{u"b-isp", u"isp"}));
  std::string record(1060, '\0');
  record.replace(4, 3, "isp");
  bool saved = false;
  EXPECT_EQ(ppp.entryDialParams(record, saved), 0);
  EXPECT_TRUE(saved);
  record.replace(4, 4, "none");
  EXPECT_EQ(ppp.entryDialParams(record, saved), zv::platform::kRasEntryNotFound);
  std::vector<RasHandle> connections{1};
  EXPECT_EQ(ppp.enumConnections(connections), 0);
  int32_t state = 0;
  for (RasHandle connection : connections)
    EXPECT_EQ(ppp.connectStatus(connection, state), 0);
  zvtest::ScopedVariable nowhere("ZV_PPP_PEERS", dir.path("missing"));
  EXPECT_EQ(ppp.enumEntries(names), 0);
  EXPECT_TRUE(names.empty());
}

}  // namespace
