#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/user_interface.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

// Real message boxes. With ZV_MESSAGEBOX_LOG=<file> set, each box is appended to that
// file instead (title, style, text) and answered with OK, so unattended runs (the tests
// under Wine) never wait for a click.
class Win32UserInterface : public UserInterface {
 public:
  int32_t messageBox(const MessageBoxRequest& request) override {
    if (const wchar_t* log = _wgetenv(L"ZV_MESSAGEBOX_LOG"); log && *log) {
      std::lock_guard lock(mutex_);
      if (FILE* f = _wfopen(log, L"ab")) {
        const std::string line =
            toUtf8(u"[" + request.title + u"] " + fromUtf8(std::to_string(request.style)) +
                   u"\r\n" + request.text + u"\r\n");
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
      }
      return kAnswerOk;
    }
    UINT style = static_cast<UINT>(request.style);
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    params.hwndOwner = GetActiveWindow();
    params.lpszText = reinterpret_cast<LPCWSTR>(request.text.c_str());
    params.lpszCaption = reinterpret_cast<LPCWSTR>(request.title.c_str());
    if (!request.helpFile.empty()) {
      // The help button opens the error's topic.
      helpFile_ = request.helpFile;
      style |= MB_HELP;
      params.dwContextHelpId = static_cast<DWORD_PTR>(request.helpContext);
      params.lpfnMsgBoxCallback = &Win32UserInterface::help;
    }
    params.dwStyle = style;
    return MessageBoxIndirectW(&params);
  }

  void setMousePointer(int32_t pointer) override {
    // 11 is VB's hourglass; every other value shows the arrow.
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(pointer == 11 ? 32514 : 32512)));
  }

 private:
  static void CALLBACK help(LPHELPINFO info) {
    WinHelpW(nullptr, reinterpret_cast<LPCWSTR>(helpFile_.c_str()), HELP_CONTEXT,
             info ? info->dwContextId : 0);
  }

  std::mutex mutex_;
  static inline String helpFile_;
};

}  // namespace

UserInterface& platformUserInterface() {
  static Win32UserInterface ui;
  return ui;
}

}  // namespace zv::platform
