#include "user_interface.h"

#include <atomic>

namespace zv::platform {

namespace {
std::atomic<UserInterface*> gInstalled{nullptr};
}

UserInterface& userInterface() {
  UserInterface* installed = gInstalled.load();
  return installed ? *installed : platformUserInterface();
}

UserInterface* installUserInterface(UserInterface* ui) { return gInstalled.exchange(ui); }

const char* iconName(int32_t style) {
  switch (style & 0x70) {
    case 16: return "critical";
    case 32: return "question";
    case 48: return "exclamation";
    case 64: return "information";
    default: return "none";
  }
}

}  // namespace zv::platform
