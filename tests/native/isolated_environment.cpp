// The tests never see the user's home, trash, recent documents, registry store or ppp
// peers: all point into one scratch folder for the whole run.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

class IsolatedEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "zv-home-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    ::setenv("HOME", (root_ + "/home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ + "/home/.local/share").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root_ + "/home/.config").c_str(), 1);
    ::setenv("ZV_REGISTRY", (root_ + "/registry.db").c_str(), 1);
    ::setenv("ZV_PPP_PEERS", (root_ + "/peers").c_str(), 1);
    std::filesystem::create_directories(root_ + "/home");
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

 private:
  std::string root_;
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new IsolatedEnvironment);

}  // namespace
