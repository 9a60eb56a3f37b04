// Dial-up on Windows: RasApi32 and WinINet's dialler. The dial-parameters records are the
// platform's own: the name the library's record carries goes into a RASDIALPARAMSA of the
// size this build's headers give it.
#include <windows.h>
#include <ras.h>
#include <raserror.h>
#include <wininet.h>

#include <cstring>

#include "platform/remote_access.h"
#include "runtime/ansi.h"

namespace zv::platform {

namespace {

constexpr size_t kConnections = 256;

// The notification routine of a dial: nothing to show.
VOID WINAPI dialNotification(HRASCONN, UINT, RASCONNSTATE, DWORD, DWORD) {}

class RasApiService : public RemoteAccess {
 public:
  int32_t enumConnections(std::vector<RasHandle>& connections) override {
    std::vector<RASCONNA> records(kConnections);
    records[0].dwSize = sizeof(RASCONNA);
    DWORD bytes = sizeof(RASCONNA) * kConnections, count = 0;
    const DWORD rc = RasEnumConnectionsA(records.data(), &bytes, &count);
    connections.clear();
    if (rc != 0) return static_cast<int32_t>(rc);
    for (DWORD i = 0; i < count && i < kConnections; ++i)
      connections.push_back(reinterpret_cast<RasHandle>(records[i].hrasconn));
    return 0;
  }

  // Handle 0 (no connection) fails as the service fails it, without asking.
  int32_t connectStatus(RasHandle connection, int32_t& state) override {
    if (!connection) return ERROR_INVALID_HANDLE;
    RASCONNSTATUSA status{};
    status.dwSize = sizeof status;
    const DWORD rc = RasGetConnectStatusA(reinterpret_cast<HRASCONN>(connection), &status);
    if (rc == 0) state = static_cast<int32_t>(status.rasconnstate);
    return static_cast<int32_t>(rc);
  }

  int32_t entryDialParams(std::string& record, bool& passwordSaved) override {
    RASDIALPARAMSA params{};
    params.dwSize = sizeof params;
    const std::string name = record.size() > 4 ? std::string(record.c_str() + 4) : std::string();
    std::strncpy(params.szEntryName, name.c_str(), RAS_MaxEntryName);
    BOOL saved = FALSE;
    const DWORD rc = RasGetEntryDialParamsA(nullptr, &params, &saved);
    passwordSaved = rc == 0 && saved;
    if (rc == 0) record.assign(reinterpret_cast<const char*>(&params), sizeof params);
    return static_cast<int32_t>(rc);
  }

  int32_t dial(const std::string& record, RasHandle& connection) override {
    if (record.size() != sizeof(RASDIALPARAMSA)) return ERROR_INVALID_SIZE;
    RASDIALPARAMSA params;
    std::memcpy(&params, record.data(), sizeof params);
    HRASCONN handle = nullptr;
    const DWORD rc = RasDialA(nullptr, nullptr, &params, 1,
                              reinterpret_cast<LPVOID>(&dialNotification), &handle);
    connection = reinterpret_cast<RasHandle>(handle);
    return static_cast<int32_t>(rc);
  }

  int32_t hangUp(RasHandle connection) override {
    return static_cast<int32_t>(RasHangUpA(reinterpret_cast<HRASCONN>(connection)));
  }

  int32_t enumEntries(std::vector<String>& names) override {
    std::vector<RASENTRYNAMEA> records(kConnections + 1);
    records[0].dwSize = sizeof(RASENTRYNAMEA);
    DWORD bytes = sizeof(RASENTRYNAMEA) * kConnections, count = 0;
    const DWORD rc = RasEnumEntriesA(nullptr, nullptr, records.data(), &bytes, &count);
    names.clear();
    if (rc != 0) return static_cast<int32_t>(rc);
    for (DWORD i = 0; i < count && i < kConnections; ++i) names.push_back(fromAnsi(records[i].szEntryName));
    return 0;
  }

  int32_t internetDial(const String& entry) override {
    std::string name = toAnsi(entry);
    DWORD_PTR connection = 0;
    return static_cast<int32_t>(InternetDialA(nullptr, name.data(), 0, &connection, 0));
  }
};

}  // namespace

RemoteAccess& platformRemoteAccess() {
  static RasApiService service;
  return service;
}

}  // namespace zv::platform
