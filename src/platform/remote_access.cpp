#include "remote_access.h"

#include <atomic>

namespace zv::platform {

namespace {
std::atomic<RemoteAccess*> gInstalled{nullptr};
}

RemoteAccess& remoteAccess() {
  RemoteAccess* installed = gInstalled.load();
  return installed ? *installed : platformRemoteAccess();
}

RemoteAccess* installRemoteAccess(RemoteAccess* service) {
  return gInstalled.exchange(service);
}

}  // namespace zv::platform
