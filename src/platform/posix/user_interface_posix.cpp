#include <cstdio>

#include "platform/user_interface.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

// Without a desktop, a box is printed to stderr and answered with OK.
class ConsoleUserInterface : public UserInterface {
 public:
  int32_t messageBox(const MessageBoxRequest& request) override {
    std::fprintf(stderr, "[%s] %s\n%s\n", iconName(request.style), toUtf8(request.title).c_str(),
                 toUtf8(request.text).c_str());
    return kAnswerOk;
  }
  void setMousePointer(int32_t) override {}
};

}  // namespace

UserInterface& platformUserInterface() {
  static ConsoleUserInterface console;
  return console;
}

}  // namespace zv::platform
