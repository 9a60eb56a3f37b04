// Message boxes and the screen's mouse pointer. Windows shows real boxes; the POSIX
// default prints each box to stderr and answers OK. Hosts and tests install their own
// handler to record or answer every box.
#pragma once

#include <cstdint>

#include "runtime/types.h"

namespace zv::platform {

// MsgBox style bits the library uses.
inline constexpr int32_t kOkOnly = 0;
inline constexpr int32_t kCritical = 16;
inline constexpr int32_t kInformation = 64;
inline constexpr int32_t kSetForeground = 65536;
// MsgBox answers.
inline constexpr int32_t kAnswerOk = 1;
// Screen.MousePointer: the default pointer.
inline constexpr int32_t kDefaultPointer = 0;

struct MessageBoxRequest {
  String text;
  String title;
  int32_t style = kOkOnly;
  String helpFile;
  int32_t helpContext = 0;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Shows a modal box and returns the button pressed.
  virtual int32_t messageBox(const MessageBoxRequest& request) = 0;
  virtual void setMousePointer(int32_t pointer) = 0;
};

// The service in force: the installed one, else the platform's own.
UserInterface& userInterface();
// Installs `ui` for the whole process (nullptr restores the platform's own) and returns
// the one it replaces. The caller keeps `ui` alive while it is installed.
UserInterface* installUserInterface(UserInterface* ui);

// The platform's own service.
UserInterface& platformUserInterface();

// "critical", "information", ... for the icon bits of `style` (text hosts print it).
const char* iconName(int32_t style);

}  // namespace zv::platform
