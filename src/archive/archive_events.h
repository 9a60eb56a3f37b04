// Typed C++ listeners of ZipLib's and UnZipLib's events: derive, override the events you
// want and connect with zv::connectEvents(object.get(), &listener) (nullptr disconnects;
// disconnect before the listener goes). By-reference arguments go back as left.
#pragma once

#include "frame/events.h"

namespace zv {

class ZipLibEvents : public EventSink {
 public:
  virtual void Cancel(const String& sMsg, bool& bCancel);
  virtual void PasswordRequest(String& sPassword, bool& bCancel);
  virtual void Progress(int32_t lCount, const String& sMsg);

  void fire(const MemberInfo& event, Args& args) override;
};

class UnZipLibEvents : public ZipLibEvents {
 public:
  virtual void OverwritePrompt(const String& sFIle, int32_t& eResponse);

  void fire(const MemberInfo& event, Args& args) override;
};

}  // namespace zv
