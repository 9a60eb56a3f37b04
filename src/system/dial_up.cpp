// InternetLib: whether a connection is up, dialling the user's Internet profile, hanging
// up, and the list of dial-up entries.
#include "frame/varnix.h"
#include "platform/registry.h"
#include "platform/remote_access.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "runtime/trap.h"
#include "system/InternetLib.h"
#include "system/registry_keys.h"

namespace zv::impl {

namespace {

namespace reg = platform::reg;
using platform::RasHandle;

// The handle of the last connection this thread dialled.
thread_local int32_t tLastConnection = 0;

// The states of a connection that is up.
bool isUp(int32_t state) {
  return state == 5 || state == 8192 || state == 8193;
}

// The user's Internet profile: "InternetProfile" of HKEY_CURRENT_USER\RemoteAccess, else
// its "default".
String internetProfile() {
  OpenedKey key;
  if (key.open(reg::rootKey(reg::kCurrentUser), u"RemoteAccess", reg::kAllAccess) != reg::kSuccess)
    return String();
  const String profile = typedRead(key.get(), u"InternetProfile");
  return profile.empty() ? typedRead(key.get(), u"default") : profile;
}

// A dial-parameters record of `size` bytes naming `profile` (cut to what the record holds).
std::string dialRecord(uint32_t size, const String& profile) {
  std::string record(size, '\0');
  for (int i = 0; i < 4; ++i)
    record[i] = static_cast<char>(size >> (8 * i));
  const std::string name = toAnsi(profile).substr(0, size == 816 ? 20 : 256);
  record.replace(4, name.size(), name);
  return record;
}

}  // namespace

// An enumeration failure is reported; without a connection the status asked of handle 0
// fails and the state stays 0.
bool InternetLib::IsConnected() {
  platform::RemoteAccess& ras = platform::remoteAccess();
  std::vector<RasHandle> connections;
  if (const int32_t status = ras.enumConnections(connections)) {
    setPendingError(Error(status, u"The remote-access service could not list the connections"));
    ReportError(u"Error on IsConnected: unable to list the dial-up connections", false);
    return false;
  }
  int32_t state = 0;
  if (ras.connectStatus(connections.empty() ? 0 : connections[0], state) != 0) state = 0;
  return isUp(state);
}

int32_t InternetLib::NetConnect() {
  if (IsConnected()) return tLastConnection;
  platform::RemoteAccess& ras = platform::remoteAccess();
  const String profile = internetProfile();
  std::string record;
  bool accepted = false, passwordSaved = false;
  for (const uint32_t size : {1060u, 1052u, 816u}) {
    record = dialRecord(size, profile);
    if ((accepted = ras.entryDialParams(record, passwordSaved) == 0)) break;
  }
  if (accepted && passwordSaved) {
    RasHandle connection = 0;
    if (ras.dial(record, connection) == 0) tLastConnection = static_cast<int32_t>(connection);
    return tLastConnection;
  }
  onError([&] { ras.internetDial(profile); },
          [&] {
            ReportError(u"Error on launch Internet access:" + pendingError().description, false);
          });
  tLastConnection = 0;
  return tLastConnection;
}

int32_t InternetLib::NetUnConnect() {
  platform::RemoteAccess& ras = platform::remoteAccess();
  std::vector<RasHandle> connections;
  if (ras.enumConnections(connections) == 0 && !connections.empty()) ras.hangUp(connections[0]);
  return 0;
}

// Return only: True once the list is cleared and filled.
bool InternetLib::UpdateProviderList(ObjectRef& theListObj) {
  bool result = false;
  if (!theListObj) return false;
  returnOnly([&] {
    call(theListObj, u"Clear");
    std::vector<String> entries;
    platform::remoteAccess().enumEntries(entries);
    for (size_t i = 0; i < entries.size(); ++i)
      call(theListObj, u"AddItem", {Variant(entries[i]), Variant(static_cast<int32_t>(i))});
    result = true;
  });
  return result;
}

}  // namespace zv::impl
