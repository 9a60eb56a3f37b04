// COpSysInfo: the operating system's version record, read when the object is created.
#pragma once

#include "api/COpSysInfo.h"
#include "platform/system_info.h"

namespace zv::impl {

class COpSysInfo final : public zv::COpSysInfo {
 public:
  COpSysInfo();

  int32_t get_MajorVersion() override { return record_.major; }
  int32_t get_MinorVersion() override { return record_.minor; }
  int16_t get_BuildNumber() override;
  int32_t get_PlatforMid() override { return record_.platformId; }
  bool get_IsWinNT() override { return record_.platformId == 2; }
  bool get_IsWin95() override { return record_.platformId == 1 && record_.minor < 10; }
  bool get_IsWin98() override { return record_.platformId == 1 && record_.minor >= 10; }
  String get_Platform() override;
  String get_Version() override;
  String get_CSDVersion() override;

 private:
  platform::VersionRecord record_;
};

}  // namespace zv::impl
