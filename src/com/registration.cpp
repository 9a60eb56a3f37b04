// Registration: machine-wide under HKLM\Software\Classes (DllRegisterServer, an administrator's
// `regsvr32`), or for the current user alone under HKCU\Software\Classes (DllInstall with
// "user", as `regsvr32 /n /i:user` calls it). Both write the same keys: each class's CLSID and
// ProgID, the interfaces with the type library's proxy, and the type library under the neutral
// locale 0, where LoadRegTypeLib finds it for any locale asked.
//
// The 32-bit and the 64-bit DLL share the ProgID, Interface and TypeLib keys; each owns its
// CLSID view and its type library platform key (win32, win64). Unregistering one leaves the
// shared keys to the other while the other's platform key is there.
#include <cwchar>
#include <string>
#include <utility>

#include "com/com_call.h"
#include "com/com_models.h"

using namespace zv;
using namespace zv::com;

namespace {

#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif
// The type library marshaler, for the dual interfaces, and the IDispatch one, for the events.
constexpr wchar_t kDualProxy[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

std::wstring wide(StringView s) {
  return std::wstring(s.begin(), s.end());
}

std::wstring modulePath() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(serverModule(), path, MAX_PATH);
  return std::wstring(path, n);
}

// The Software\Classes key of HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
class Classes {
 public:
  explicit Classes(HKEY root) {
    if (RegCreateKeyExW(root, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~Classes() {
    if (key_) RegCloseKey(key_);
  }
  Classes(const Classes&) = delete;
  Classes& operator=(const Classes&) = delete;
  explicit operator bool() const { return key_ != nullptr; }

  bool set(const std::wstring& key, const wchar_t* name, const std::wstring& value) const {
    HKEY h = nullptr;
    if (RegCreateKeyExW(key_, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
      return false;
    const LONG rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
  }
  void remove(const std::wstring& key) const {
    RegDeleteTreeW(key_, key.c_str());
    RegDeleteKeyW(key_, key.c_str());
  }
  // Removes `key` when nothing is left below it.
  void removeIfEmpty(const std::wstring& key) const {
    HKEY h = nullptr;
    if (RegOpenKeyExW(key_, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    DWORD subkeys = 0;
    RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(h);
    if (subkeys == 0) remove(key);
  }
  bool exists(const std::wstring& key) const {
    HKEY h = nullptr;
    if (RegOpenKeyExW(key_, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
  }

 private:
  HKEY key_ = nullptr;
};

std::wstring guidText(const GUID& g) {
  wchar_t text[64];
  StringFromGUID2(g, text, 64);
  return text;
}

// A type library's LIBID and version: hexadecimal in its own keys ("31.0" for 49.0), decimal
// in its classes' VERSION keys.
struct LibraryKey {
  LibraryKey(std::wstring libid, unsigned major, unsigned minor)
      : id(std::move(libid)), decimal(std::to_wstring(major) + L"." + std::to_wstring(minor)) {
    wchar_t text[16];
    swprintf(text, 16, L"%x.%x", major, minor);
    version = text;
  }
  std::wstring key() const { return L"TypeLib\\" + id + L"\\" + version; }

  std::wstring id;
  std::wstring decimal;
  std::wstring version;
};
const LibraryKey& serverLibrary() {
  static const LibraryKey key(wide(kLibraryId), kLibraryMajor, kLibraryMinor);
  return key;
}
const LibraryKey& modelsLibrary() {
  static const LibraryKey key(guidText(modelsLibraryId()), modelsLibraryMajor(),
                              modelsLibraryMinor());
  return key;
}

bool registerInterface(const Classes& classes, const LibraryKey& lib, const std::wstring& iid,
                       StringView name, const wchar_t* proxy) {
  const std::wstring key = L"Interface\\" + iid;
  return classes.set(key, nullptr, wide(name)) &&
         classes.set(key + L"\\ProxyStubClsid", nullptr, proxy) &&
         classes.set(key + L"\\ProxyStubClsid32", nullptr, proxy) &&
         classes.set(key + L"\\TypeLib", nullptr, lib.id) &&
         classes.set(key + L"\\TypeLib", L"Version", lib.version);
}

// A type library under the neutral locale; `path` names the file and, after a backslash, the
// resource number when it is not the first.
bool registerLibrary(const Classes& classes, const LibraryKey& lib, StringView name,
                     const std::wstring& dllPath, const std::wstring& path) {
  const std::wstring folder = dllPath.substr(0, dllPath.find_last_of(L'\\'));
  return classes.set(lib.key(), nullptr, wide(name)) &&
         classes.set(lib.key() + L"\\FLAGS", nullptr, L"0") &&
         classes.set(lib.key() + L"\\HELPDIR", nullptr, folder) &&
         classes.set(lib.key() + L"\\0\\" + kPlatform, nullptr, path);
}

bool registerClass(const Classes& classes, const std::wstring& clsidText, const std::wstring& name,
                   const std::wstring& progId, const LibraryKey& lib, const std::wstring& dllPath) {
  const std::wstring clsid = L"CLSID\\" + clsidText;
  return classes.set(clsid, nullptr, name) &&
         classes.set(clsid + L"\\InprocServer32", nullptr, dllPath) &&
         classes.set(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
         classes.set(clsid + L"\\ProgID", nullptr, progId) &&
         classes.set(clsid + L"\\TypeLib", nullptr, lib.id) &&
         classes.set(clsid + L"\\VERSION", nullptr, lib.decimal) &&
         classes.set(progId, nullptr, name) && classes.set(progId + L"\\CLSID", nullptr, clsidText);
}

// The creatable models (ZivoviViruvov.Models.<Model>) and the models' type library,
// resource 2 of the server's file.
bool registerModels(const Classes& classes, const std::wstring& path) {
  const LibraryKey& lib = modelsLibrary();
  for (const ComModelEntry& m : comModels()) {
    const std::wstring progId = modelsProgIdPrefix() + wide(m.name);
    if (m.clsid && !registerClass(classes, guidText(*m.clsid), progId, progId, lib, path))
      return false;
    if (!registerInterface(classes, lib, guidText(*m.dispatchIid), m.name, kDispatchProxy))
      return false;
  }
  return registerLibrary(classes, lib, u"ZivoviViruvovModels", path, path + L"\\2");
}

// What the models share between the 32-bit and the 64-bit registration.
void unregisterModels(const Classes& classes) {
  for (const ComModelEntry& m : comModels()) {
    classes.remove(modelsProgIdPrefix() + wide(m.name));
    classes.remove(L"Interface\\" + guidText(*m.dispatchIid));
  }
  classes.remove(modelsLibrary().key());
  classes.removeIfEmpty(L"TypeLib\\" + modelsLibrary().id);
}

HRESULT registerServer(const Classes& classes) {
  if (!classes) return SELFREG_E_CLASS;
  const std::wstring path = modulePath();
  const LibraryKey& lib = serverLibrary();
  for (const ClassInfo& c : libraryClasses()) {
    if (!c.creatable) continue;
    if (!registerClass(classes, wide(c.clsid), wide(c.name), wide(c.progId), lib, path))
      return SELFREG_E_CLASS;
    if (!registerInterface(classes, lib, wide(c.iid), u"_" + String(c.name), kDualProxy) ||
        (c.events &&
         !registerInterface(classes, lib, wide(c.eventsIid), c.events->name, kDispatchProxy)))
      return SELFREG_E_TYPELIB;
  }
  if (!registerModels(classes, path)) return SELFREG_E_CLASS;
  return registerLibrary(classes, lib, kLibraryName, path, path) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT unregisterServer(const Classes& classes) {
  if (!classes) return S_OK;
  const LibraryKey& lib = serverLibrary();
  for (const ClassInfo& c : libraryClasses())
    if (c.creatable) classes.remove(L"CLSID\\" + wide(c.clsid));
  for (const ComModelEntry& m : comModels())
    if (m.clsid) classes.remove(L"CLSID\\" + guidText(*m.clsid));
  for (const LibraryKey* library : {&modelsLibrary(), &lib}) {
    const std::wstring neutral = library->key() + L"\\0";
    classes.remove(neutral + L"\\" + kPlatform);
    classes.removeIfEmpty(neutral);
  }
  const std::wstring neutral = lib.key() + L"\\0";
  // The other bitness still registered keeps what the two share.
  if (classes.exists(neutral)) return S_OK;
  for (const ClassInfo& c : libraryClasses()) {
    if (!c.creatable) continue;
    classes.remove(wide(c.progId));
    classes.remove(L"Interface\\" + wide(c.iid));
    if (c.events) classes.remove(L"Interface\\" + wide(c.eventsIid));
  }
  unregisterModels(classes);
  classes.remove(lib.key());
  classes.removeIfEmpty(L"TypeLib\\" + lib.id);
  return S_OK;
}

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllRegisterServer() {
  return registerServer(Classes(HKEY_LOCAL_MACHINE));
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return unregisterServer(Classes(HKEY_LOCAL_MACHINE));
}

// `regsvr32 /n /i:user` registers for the current user only and `regsvr32 /u /n /i:user`
// removes that registration; without "user" it is the machine-wide registration.
HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  const bool user =
      commandLine && CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) == CSTR_EQUAL;
  if (!user && commandLine && *commandLine) return E_INVALIDARG;
  const Classes classes(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
  return install ? registerServer(classes) : unregisterServer(classes);
}

}  // extern "C"
