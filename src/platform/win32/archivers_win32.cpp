#include <windows.h>

#include <string>

#include "platform/archivers.h"
#include "runtime/errors.h"

namespace zv::platform {

namespace {

// `name` from the folder of the module holding this code, else from the search path.
HMODULE load(const wchar_t* name) {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&load), &self);
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring beside(path, n < MAX_PATH ? n : 0);
  beside.erase(beside.find_last_of(L"\\/") + 1);
  HMODULE module = LoadLibraryW((beside + name).c_str());
  if (!module) module = LoadLibraryW(name);
  if (!module) raise(err::kFileNotFound, u"File not found: " + String(name, name + wcslen(name)));
  return module;
}

template <class F>
F entry(HMODULE module, const char* name, const char16_t* library) {
  FARPROC p = GetProcAddress(module, name);
  if (!p)
    raise(453,
          u"Can't find DLL entry point " + String(name, name + strlen(name)) + u" in " + library);
  return reinterpret_cast<F>(reinterpret_cast<void*>(p));
}

}  // namespace

// A failed load is tried again at the next use (the static stays uninitialised).
const ZipArchiver& zipArchiver() {
  static const ZipArchiver table = [] {
    HMODULE m = load(L"ZipLib.dll");
    return ZipArchiver{entry<decltype(ZipArchiver::init)>(m, "ZpInit", u"ZipLib.dll"),
                       entry<decltype(ZipArchiver::setOptions)>(m, "ZpSetOptions", u"ZipLib.dll"),
                       entry<decltype(ZipArchiver::archive)>(m, "ZpArchive", u"ZipLib.dll")};
  }();
  return table;
}

const UnzipArchiver& unzipArchiver() {
  static const UnzipArchiver table = [] {
    HMODULE m = load(L"UnZipLib.dll");
    return UnzipArchiver{
        entry<decltype(UnzipArchiver::unzip)>(m, "Wiz_SingleEntryUnzip", u"UnZipLib.dll"),
        entry<decltype(UnzipArchiver::version)>(m, "UzpVersion2", u"UnZipLib.dll")};
  }();
  return table;
}

}  // namespace zv::platform
