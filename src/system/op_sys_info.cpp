#include "frame/varnix.h"
#include "runtime/convert.h"
#include "system/COpSysInfo.h"

namespace zv::impl {

COpSysInfo::COpSysInfo() : record_(platform::versionRecord()) {}

// The low 16 bits of the build number, read as a signed number.
int16_t COpSysInfo::get_BuildNumber() {
  return static_cast<int16_t>(record_.build & 0xFFFF);
}

String COpSysInfo::get_Platform() {
  if (get_IsWin95()) return u"Windows 95";
  if (get_IsWin98()) return u"Windows 98";
  return u"Windows NT";
}

String COpSysInfo::get_Version() {
  return get_Platform() + u" v" + longToString(record_.major) + u"." + longToString(record_.minor) +
         u", Build " + longToString(get_BuildNumber());
}

String COpSysInfo::get_CSDVersion() {
  return trim(CutAtNullChar(record_.servicePack));
}

}  // namespace zv::impl
