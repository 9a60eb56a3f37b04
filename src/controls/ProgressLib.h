// ProgressLib: remembers one progress bar of the caller and moves it within its range.
#pragma once

#include "api/ProgressLib.h"

namespace zv::impl {

class ProgressLib final : public zv::ProgressLib {
 public:
  void SetProgressBar(ObjectRef& theBar, bool displayERR) override;
  void unSetProgressBar(bool displayERR) override;
  bool isSet(bool displayERR) override;
  void InitProgressBar(int32_t theValue, int32_t theMax, bool displayERR) override;
  void SetProgressBarValue(int32_t theValue, bool displayERR) override;
  void AddProgressBarValue(int32_t theValue, bool displayERR) override;

 private:
  ObjectRef bar_;
  int32_t current_ = 0;  // the bar's value as last set here; 0 while no bar is attached
};

}  // namespace zv::impl
