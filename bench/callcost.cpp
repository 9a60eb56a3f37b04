// The cost of a late-bound call (IDispatch::Invoke with the DISPID known, as scripts and
// VBA make it) on the library's objects and, in the same run, on Scripting.Dictionary, the
// built-in Automation object every Windows has. Runs under Wine next to ZivoviViruvov.dll,
// which it loads itself (no registration needed).
//
// Usage: zv_callcost.exe [CALLS]   (calls of each kind, default 1500000)
#include <oaidl.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "com/com_ids.h"

namespace {

VARIANT text(const wchar_t* s) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  return v;
}

VARIANT number(LONG n) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = n;
  return v;
}

struct Call {
  const char* label;
  IDispatch* object;
  const wchar_t* member;
  std::vector<VARIANT> args;               // DISPPARAMS order: last argument first
  std::vector<const wchar_t*> named = {};  // names of the first named.size() arguments
  WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
};

// A call made ready once: its dispatch ids looked up, its DISPPARAMS built.
class Prepared {
 public:
  explicit Prepared(Call& c) : call_(c) {
    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(c.member)};
    for (const wchar_t* n : c.named)
      names.push_back(const_cast<LPOLESTR>(n));
    ids_.resize(names.size());
    ok_ = SUCCEEDED(c.object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                            LOCALE_USER_DEFAULT, ids_.data()));
    params_ = {c.args.data(), ids_.data() + 1, static_cast<UINT>(c.args.size()),
               static_cast<UINT>(c.named.size())};
  }

  // Nanoseconds per call over `calls` calls; negative when a call fails.
  double run(int calls) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; ok_ && i < calls; ++i) {
      VARIANT result;
      VariantInit(&result);
      ok_ = SUCCEEDED(call_.object->Invoke(ids_[0], IID_NULL, LOCALE_USER_DEFAULT, call_.flags,
                                           &params_, &result, nullptr, nullptr));
      VariantClear(&result);
    }
    QueryPerformanceCounter(&end);
    if (!ok_) return -1;
    return 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / calls;
  }

 private:
  Call& call_;
  std::vector<DISPID> ids_;
  DISPPARAMS params_{};
  bool ok_;
};

IDispatch* createOurs(HMODULE dll, const CLSID& clsid) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  IDispatch* object = nullptr;
  if (get && SUCCEEDED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
    factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
    factory->Release();
  }
  return object;
}

}  // namespace

int main(int argc, char** argv) {
  const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1500000;
  CoInitialize(nullptr);
  CLSID dictionaryId{};
  IDispatch* dictionary = nullptr;
  if (SUCCEEDED(CLSIDFromProgID(L"Scripting.Dictionary", &dictionaryId)))
    CoCreateInstance(dictionaryId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&dictionary));
  HMODULE dll = LoadLibraryW(L"ZivoviViruvov.dll");
  IDispatch* strchr = dll ? createOurs(dll, zv::com::kCLSID_StrChr) : nullptr;
  IDispatch* files = dll ? createOurs(dll, zv::com::kCLSID_FileLib) : nullptr;
  if (!dictionary || !strchr || !files) {
    std::printf("cannot create %s\n", !dictionary ? "Scripting.Dictionary" : "our objects");
    return 2;
  }
  std::vector<Call> table = {
      {"Dictionary.Exists(\"key\")", dictionary, L"Exists", {text(L"key")}},
      {"Dictionary.Count", dictionary, L"Count", {}},
      {"Dictionary.Item(\"key\")", dictionary, L"Item", {text(L"key")}},
      {"StrChr.GetLeft(\"ab|cd\", \"|\")  first member",
       strchr,
       L"GetLeft",
       {text(L"|"), text(L"ab|cd")}},
      {"StrChr.GetLeft, both named",
       strchr,
       L"GetLeft",
       {text(L"ab|cd"), text(L"|")},
       {L"theString", L"theSeperator"}},
      {"StrChr.Long2String(1094861636)", strchr, L"Long2String", {number(1094861636)}},
      {"StrChr.CountItem(\"a|b|c\", \"|\")", strchr, L"CountItem", {text(L"|"), text(L"a|b|c")}},
      {"StrChr.CountChar(\"abc\", \"b\")  next to last",
       strchr,
       L"CountChar",
       {text(L"b"), text(L"abc")}},
      {"FileLib.CheckPath(\"C:\")", files, L"CheckPath", {text(L"C:")}},
  };
  // The calls take turns, so that the machine's other work weighs on all alike; each
  // figure is the best of the rounds.
  constexpr int kRounds = 15;
  std::vector<Prepared> prepared(table.begin(), table.end());
  std::vector<double> best(table.size(), 1e30);
  for (int round = 0; round < kRounds; ++round)
    for (size_t i = 0; i < table.size(); ++i)
      best[i] = std::min(best[i], prepared[i].run(std::max(1, calls / kRounds)));
  std::printf("%d calls each, best of %d rounds\n", calls, kRounds);
  std::printf("%-44s %9s %12s %10s\n", "call", "ns/call", "calls/s", "x Exists");
  for (size_t i = 0; i < table.size(); ++i) {
    if (best[i] < 0)
      std::printf("%-44s failed\n", table[i].label);
    else
      std::printf("%-44s %9.0f %12.0f %10.2f\n", table[i].label, best[i], 1e9 / best[i],
                  best[i] / best[0]);
  }
  for (Call& c : table)
    for (VARIANT& v : c.args)
      VariantClear(&v);
  strchr->Release();
  files->Release();
  dictionary->Release();
  CoUninitialize();
  return 0;
}
