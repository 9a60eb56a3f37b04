// RegistryLib: file associations under HKEY_CLASSES_ROOT.
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "system/RegistryLib.h"
#include "system/registry_keys.h"

namespace zv::impl {

namespace reg = platform::reg;

namespace {

const reg::Key kClassesRoot = reg::rootKey(reg::kClassesRoot);

void createKey(const String& path) {
  OpenedKey key;
  key.create(kClassesRoot, path);
}

// The default value of `path`, a string with its NUL, through a key opened for the write.
void setDefault(const String& path, const String& text) {
  OpenedKey key;
  if (key.open(kClassesRoot, path, reg::kAllAccess) == reg::kSuccess)
    setText(key.get(), String(), text, true);
}

}  // namespace

void RegistryLib::CreateFileAssociation(String& fileAss, String& nameApp, String& fileExe,
                                        String& itemApp, const String& TypeDoc,
                                        int16_t IconNumber) {
  const String type = nameApp + u"." + TypeDoc;
  const String command = type + u"\\shell\\open\\command";
  createKey(fileAss);
  setDefault(fileAss, type);
  createKey(command);
  if (IconNumber != -1) {
    createKey(type + u"\\DefaultIcon");
    setDefault(type + u"\\DefaultIcon", fileExe + u"," + longToString(IconNumber));
  }
  setDefault(type, itemApp);
  setDefault(command, fileExe + u" %1");
}

// The key is created when it does not exist; its default value, less its last byte, with
// each NUL made a blank.
String RegistryLib::GetFileType(const String& theFile) {
  OpenedKey key;
  if (key.open(kClassesRoot, theFile, reg::kAllAccess) != reg::kSuccess &&
      key.create(kClassesRoot, theFile) != reg::kSuccess)
    return String();
  uint32_t type = 0, size = 0;
  if (reg::queryValue(key.get(), "", type, nullptr, size) != reg::kSuccess || size < 2)
    return String();
  reg::Buffer data(size, '\0');
  if (reg::queryValue(key.get(), "", type, &data, size) != reg::kSuccess) return String();
  String text = fromAnsi(std::string_view(data).substr(0, size - 1));
  for (char16_t& c : text)
    if (c == u'\0') c = u' ';
  return trim(text);
}

}  // namespace zv::impl
