// SystemLib: the version and registration of the system, its folders, the user and
// computer names, drive types and colour texts.
#include "platform/system_info.h"
#include "api/COpSysInfo.h"
#include "api/FileLib.h"
#include "api/RegistryLib.h"
#include "frame/traps.h"
#include "platform/file_system.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "system/SystemLib.h"
#include "system/registry_keys.h"

namespace zv::impl {

namespace reg = platform::reg;

namespace {

constexpr size_t kNameBuffer = 50;       // GetUserNameA and GetComputerNameA
constexpr size_t kRegistryBuffer = 100;  // each field of GetWindowsInformation

// A folder as the library shows it: upper-cased where names ignore case, with its
// final separator.
String shownFolder(String folder) {
  if (!platform::caseSensitivePaths()) folder = ucase(folder);
  return zv::FileLib::create()->CheckPath(folder);
}

// A name the platform writes into a 50-character buffer: "" when it does not fit.
String bufferedName(const String& name) {
  if (name.size() >= kNameBuffer) return String();
  return CutAtNullChar(rtrim(name));
}

// The value read into a 100-byte buffer of blanks: what the platform left there.
String registryField(reg::Key key, const char* valueName) {
  reg::Buffer data(kRegistryBuffer, ' ');
  uint32_t type = 0, size = kRegistryBuffer;
  reg::queryValue(key, valueName, type, &data, size);
  return fromAnsi(data);
}

int32_t hexValue(const String& digits) {
  return toLong(Variant(val(u"&H" + digits)));
}

}  // namespace

// Run-time errors end it quietly.
void SystemLib::GetWindowsVersion() {
  returnOnly([&] {
    auto info = zv::COpSysInfo::create();
    windowsSystem_ = info->get_Platform();
    windowsVersion_ = longToString(info->get_MajorVersion()) + u"." +
                      longToString(info->get_MinorVersion()) + u"(Build " +
                      longToString(info->get_BuildNumber()) + u")";
  });
}

void SystemLib::GetWindowsInformation(WindowsRegistryInfo& InfoSysteme) {
  GetWindowsVersion();
  const bool nt = windowsSystem_ == u"Windows NT";
  struct Field {
    String WindowsRegistryInfo::*field;
    const char* ntName;
    const char* otherName;
  };
  static const Field kFields[] = {
      {&WindowsRegistryInfo::RegOwner, "RegisteredOwner", "RegisteredOwner"},
      {&WindowsRegistryInfo::RegCompany, "RegisteredOrganization", "RegisteredOrganization"},
      {&WindowsRegistryInfo::Product, "ProductName", "ProductName"},
      {&WindowsRegistryInfo::CSDVersion, "CSDVersion", "CSDVersion"},
      {&WindowsRegistryInfo::Version, "CurrentVersion", "Version"},
      {&WindowsRegistryInfo::VersionNo, "CurrentBuildNumber", "VersionNumber"},
      {&WindowsRegistryInfo::SubVersionNo, "CurrentBuild", "SubVersionNumber"},
      {&WindowsRegistryInfo::ProductId, "ProductId", "ProductId"},
      {&WindowsRegistryInfo::Plus, "Plus! VersionNumber", "Plus! VersionNumber"},
      {&WindowsRegistryInfo::PlusId, "Plus! ProductId", "Plus! ProductId"}};
  OpenedKey key;
  const String path = nt ? u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                         : u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  const bool opened = key.open(reg::rootKey(reg::kLocalMachine), path, reg::kRead) == reg::kSuccess;
  for (const Field& f : kFields) {
    String& value = InfoSysteme.*f.field;
    if (opened) value = registryField(key.get(), nt ? f.ntName : f.otherName);
    value = trim(CutAtNullChar(value));
  }
  if (InfoSysteme.Product.empty()) InfoSysteme.Product = windowsSystem_;
}

String SystemLib::GetWindowsDir() {
  String result;
  returnOnly([&] { result = shownFolder(platform::windowsFolder()); });
  return result;
}

String SystemLib::GetSystemDir() {
  String result;
  returnOnly([&] { result = shownFolder(platform::systemFolder()); });
  return result;
}

String SystemLib::GetUserName() {
  return bufferedName(platform::userName());
}

String SystemLib::GetComputerName() {
  return bufferedName(platform::computerName());
}

String SystemLib::GetMyDocumentsDir() {
  if (auto folder = platform::documentsFolder()) return *folder;
  return zv::RegistryLib::create()->ReadRegistryCurrentUser(
      u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", u"Personal");
}

// Report and return 0. A drive letter alone, with a colon or with ":\" asks for its root.
int32_t SystemLib::GetTheDriveType(const String& lecteur) {
  int32_t result = 0;
  reportAndReturn(
      [&] {
        const String drive = ucase(trim(lecteur));
        const bool letter =
            !drive.empty() && drive[0] >= u'A' && drive[0] <= u'Z' &&
            (drive.size() == 1 || drive.substr(1) == u":" || drive.substr(1) == u":\\");
        result = platform::driveType(letter ? drive.substr(0, 1) + u":\\" : trim(lecteur));
      },
      u"Error on drive type detection");
  return result;
}

String SystemLib::HexColorToRGB(const String& HexColor) {
  const String digits = replaceAll(HexColor, u"#", u"");
  const int32_t red = hexValue(mid(digits, 1, 2)), green = hexValue(mid(digits, 3, 2)),
                blue = hexValue(mid(digits, 5, 2));
  return longToString(red + 256 * green + 65536 * blue);
}

int32_t SystemLib::InvHex(const String& ValHex) {
  return hexValue(u"00" + right(ValHex, 2) + mid(ValHex, 3, 2) + left(ValHex, 2));
}

}  // namespace zv::impl
