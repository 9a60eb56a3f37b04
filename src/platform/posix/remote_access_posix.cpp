// Dial-up on POSIX through ppp: the entries are the peers in $ZV_PPP_PEERS (default
// /etc/ppp/peers), a connection is an up interface named ppp*, handled by its interface
// index; pon dials a peer and poff hangs up the peer whose pppd serves the interface.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/posix/spawn_posix.h"
#include "platform/remote_access.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

constexpr int32_t kInvalidHandle = 6;
constexpr int32_t kFileNotFound = 2;
constexpr unsigned kInterfaceUp = 0x1;
constexpr unsigned kInterfaceRunning = 0x40;

std::string peersFolder() {
  const char* folder = std::getenv("ZV_PPP_PEERS");
  return folder && *folder ? folder : "/etc/ppp/peers";
}

bool isPeer(const std::string& name) {
  if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos) return false;
  struct stat st;
  return ::stat((peersFolder() + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string firstLine(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

struct PppInterface {
  std::string name;
  RasHandle index = 0;
  bool connected = false;
};

std::vector<PppInterface> pppInterfaces() {
  std::vector<PppInterface> found;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir("/sys/class/net"), ::closedir);
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.rfind("ppp", 0) != 0) continue;
    const std::string folder = "/sys/class/net/" + name;
    const unsigned flags =
        static_cast<unsigned>(std::strtoul(firstLine(folder + "/flags").c_str(), nullptr, 16));
    const RasHandle index = std::strtoul(firstLine(folder + "/ifindex").c_str(), nullptr, 10);
    found.push_back({name, index, (flags & kInterfaceUp) && (flags & kInterfaceRunning)});
  }
  std::sort(found.begin(), found.end(),
            [](const PppInterface& a, const PppInterface& b) { return a.index < b.index; });
  return found;
}

// The peer that the pppd serving `interfaceName` was called with ("call NAME"), if known.
std::string peerOf(const std::string& interfaceName) {
  for (const char* run : {"/run/", "/var/run/"}) {
    const std::string pid = firstLine(run + interfaceName + ".pid");
    if (pid.empty()) continue;
    std::ifstream in("/proc/" + pid + "/cmdline", std::ios::binary);
    std::vector<std::string> args;
    for (std::string arg; std::getline(in, arg, '\0');)
      args.push_back(arg);
    for (size_t i = 0; i + 1 < args.size(); ++i)
      if (args[i] == "call") return args[i + 1];
  }
  return std::string();
}

std::string recordName(const std::string& record) {
  if (record.size() <= 4) return std::string();
  const std::string rest = record.substr(4);
  return rest.substr(0, rest.find('\0'));
}

// Starts pon for `peer`: 0 and pon's process id, or the error.
int32_t runPon(const std::string& peer, RasHandle& process) {
  if (!isPeer(peer)) return kRasEntryNotFound;
  if (!posix::onPath("pon")) return kFileNotFound;
  const pid_t pid = posix::spawnDetached({"pon", peer});
  if (pid <= 0) return kFileNotFound;
  process = static_cast<RasHandle>(pid);
  return 0;
}

class PppRemoteAccess : public RemoteAccess {
 public:
  int32_t enumConnections(std::vector<RasHandle>& connections) override {
    connections.clear();
    for (const PppInterface& ppp : pppInterfaces())
      if (ppp.connected) connections.push_back(ppp.index);
    return 0;
  }

  int32_t connectStatus(RasHandle connection, int32_t& state) override {
    for (const PppInterface& ppp : pppInterfaces())
      if (ppp.index == connection && ppp.connected) {
        state = kRasConnected;
        return 0;
      }
    return kInvalidHandle;
  }

  // Every record size is accepted; a peer's options hold what pppd needs to dial.
  int32_t entryDialParams(std::string& record, bool& passwordSaved) override {
    passwordSaved = isPeer(recordName(record));
    return passwordSaved ? 0 : kRasEntryNotFound;
  }

  // The handle of a dial is the pon process's id; the interface appears later.
  int32_t dial(const std::string& record, RasHandle& connection) override {
    return runPon(recordName(record), connection);
  }

  int32_t hangUp(RasHandle connection) override {
    if (!posix::onPath("poff")) return kFileNotFound;
    for (const PppInterface& ppp : pppInterfaces()) {
      if (ppp.index != connection) continue;
      const std::string peer = peerOf(ppp.name);
      std::vector<std::string> command = {"poff"};
      if (!peer.empty()) command.push_back(peer);
      return posix::spawnDetached(command) > 0 ? 0 : kFileNotFound;
    }
    return kInvalidHandle;
  }

  int32_t enumEntries(std::vector<String>& names) override {
    names.clear();
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(peersFolder().c_str()), ::closedir);
    if (!dir) return 0;
    std::vector<std::string> peers;
    while (const dirent* entry = ::readdir(dir.get()))
      if (isPeer(entry->d_name)) peers.push_back(entry->d_name);
    std::sort(peers.begin(), peers.end());
    for (const std::string& peer : peers)
      names.push_back(fromUtf8(peer));
    return 0;
  }

  int32_t internetDial(const String& entry) override {
    RasHandle process = 0;
    return runPon(toUtf8(entry), process);
  }
};

}  // namespace

RemoteAccess& platformRemoteAccess() {
  static PppRemoteAccess ppp;
  return ppp;
}

}  // namespace zv::platform
