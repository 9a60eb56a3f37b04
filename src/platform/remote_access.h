// The remote-access service (dial-up connections) and the Internet dialler. Windows has
// RasApi32 and WinINet; POSIX answers from ppp: the peers are the entries, an up interface
// named ppp* is a connection, pon and poff dial and hang up. Tests install their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/types.h"

namespace zv::platform {

// The connection states that count as connected (RASCS_Connected is 8192).
inline constexpr int32_t kRasConnected = 8192;
// RasGetEntryDialParamsA for an entry that does not exist.
inline constexpr int32_t kRasEntryNotFound = 623;

// Connection handles are opaque; the library hands them back to the same service.
using RasHandle = uintptr_t;

class RemoteAccess {
 public:
  virtual ~RemoteAccess() = default;
  // RasEnumConnectionsA: 0 and the active connections, or an error code.
  virtual int32_t enumConnections(std::vector<RasHandle>& connections) = 0;
  // RasGetConnectStatusA: 0 and the connection's state, or an error code.
  virtual int32_t connectStatus(RasHandle connection, int32_t& state) = 0;
  // RasGetEntryDialParamsA on a dial-parameters record: its size in the first 4 bytes,
  // the entry's name (ANSI, NUL-ended) from offset 4. 0 when the service accepts the
  // record's size; the record then holds the saved parameters.
  virtual int32_t entryDialParams(std::string& record, bool& passwordSaved) = 0;
  // RasDialA with a record entryDialParams filled: 0 and the new connection.
  virtual int32_t dial(const std::string& record, RasHandle& connection) = 0;
  // RasHangUpA.
  virtual int32_t hangUp(RasHandle connection) = 0;
  // RasEnumEntriesA: 0 and the entries' names, or an error code.
  virtual int32_t enumEntries(std::vector<String>& names) = 0;
  // InternetDialA of an entry, no window, no flags: 0 on success.
  virtual int32_t internetDial(const String& entry) = 0;
};

// The service in force: the installed one, else the platform's own.
RemoteAccess& remoteAccess();
// Installs `service` for the whole process (nullptr restores the platform's own) and
// returns the one it replaces; the caller keeps it alive while it is installed.
RemoteAccess* installRemoteAccess(RemoteAccess* service);

// The platform's own service.
RemoteAccess& platformRemoteAccess();

}  // namespace zv::platform
