// InternetLib: the dial-up connection through the remote-access service.
#pragma once

#include "api/InternetLib.h"

namespace zv::impl {

class InternetLib final : public zv::InternetLib {
 public:
  bool IsConnected() override;
  int32_t NetConnect() override;
  int32_t NetUnConnect() override;
  bool UpdateProviderList(ObjectRef& theListObj) override;
};

}  // namespace zv::impl
