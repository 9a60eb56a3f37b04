// Under Wine, after regsvr32: late-bound calls as VBA, VB.NET, C# dynamic and pywin32 make
// them give the same results positional, named and mixed (puArgErr naming the same failing
// argument), on the creating STA and from an MTA through the proxy; early-bound calls go
// through the type library's proxy; the type library loads for the neutral locale.
#include <oaidl.h>
#include <windows.h>

#include <algorithm>
#include <thread>

#include "client.h"
#include "com/com_ids.h"

using namespace client;

// The first member of _StrChr, called through its function table. (Outside the anonymous
// namespace: there the compiler would take the pure declaration for the only implementation.)
struct StrChrTable : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetLeft(BSTR, BSTR, VARIANT_BOOL, BSTR*) = 0;
};

namespace {

struct Param {
  const wchar_t* name;
  VARIANT value;
  bool byRef = false;
};
struct Case {
  const wchar_t* className;
  const wchar_t* member;
  std::vector<Param> args;
  const wchar_t* expected = nullptr;  // nullptr: whatever the positional call gives
};

// Left-out optionals never reach a member as invalid pointers: the list-view members with
// `[in, out, optional] BSTR*` parameters, called as VBA calls them with the options left out.
std::vector<Case> cases() {
  const VARIANT none = object(nullptr);
  // clang-format off
  return {
    {L"StrChr", L"GetLeft", {{L"theString", text(L"ab|cd")}, {L"theSeperator", text(L"|")}}, L"8:ab"},
    {L"StrChr", L"GetLeft", {{L"theString", text(L"abcd")}, {L"theSeperator", text(L"|")},
                             {L"separatorMustExist", flag(true)}}, L"8:"},
    {L"StrChr", L"GetLeft", {{L"theSeperator", text(L"|")}}, L"#449"},
    {L"StrChr", L"GetChar", {{L"theString", text(L"abc")}, {L"thePosition", text(L"x")}},
     L"#13 at thePosition"},
    {L"StrChr", L"GetChar", {{L"theString", text(L"abc")}, {L"thePosition", number(40000)}},
     L"#6 at thePosition"},
    {L"StrChr", L"String2Long", {{L"theString", number(1234), true}}, L"3:825373492|8:1234"},
    {L"TimeLib", L"ExtractHMS", {{L"theTime", text(L"10:30:15")}, {L"hh", text(L"5"), true},
                                 {L"mm", VARIANT{}, true}, {L"ss", number(0), true}},
     L"0:|2:10|2:30|2:15"},
    {L"FileLib", L"CheckPath", {{L"thePath", text(L"C:")}}, L"8:C:\\"},
    {L"LstViewLib", L"FindItemFromText", {{L"theList", none}, {L"theText", text(L"x")}}},
    {L"LstViewLib", L"FindItemFromSubItem", {{L"theListView", none}, {L"theText", text(L"x")},
                                             {L"theSubId", number(1)}}},
    {L"LstViewLib", L"FindHeaderFromCaption", {{L"theList", none}, {L"theCaption", text(L"x")}}},
    {L"LstViewLib", L"ListViewToHTMLfile", {{L"HTMLfileName", text(L"C:\\zv\\x.html")},
                                            {L"theDestList", none}}},
    {L"LstViewLib", L"SeveralListViewToHTMLfile", {{L"lstViewColl", none},
                                                   {L"HTMLfileName", text(L"C:\\zv\\x.html")}}},
    {L"LstViewLib", L"ListViewToASCII", {{L"ASCIIfileName", text(L"C:\\zv\\x.txt")},
                                         {L"theDestList", none}}},
    {L"LstViewLib", L"SeveralListViewToASCII", {{L"lstViewColl", none},
                                                {L"ASCIIfileName", text(L"C:\\zv\\x.txt")}}},
    {L"LstViewLib", L"LoadListViewFromChildNode", {{L"theListView", none}, {L"theTreeView", none},
                                                   {L"parentIndexNode", number(1), true}}},
  };
  // clang-format on
}

Ref<IDispatch> create(const wchar_t* className) {
  CLSID clsid{};
  Ref<IDispatch> d;
  if (SUCCEEDED(CLSIDFromProgID((std::wstring(L"ZivoviViruvov.") + className).c_str(), &clsid)))
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.out());
  return d;
}

enum Form { kPositional, kNamed, kMixed };  // mixed: the first argument positional

// The call's result and by-reference values as text; a failure names the argument puArgErr
// points at.
std::wstring run(IDispatch* obj, const Case& c, Form form) {
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(c.member)};
  for (const Param& p : c.args)
    names.push_back(const_cast<LPOLESTR>(p.name));
  std::vector<DISPID> ids(names.size());
  if (FAILED(obj->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                LOCALE_USER_DEFAULT, ids.data())))
    return L"unknown name";
  const size_t n = c.args.size();
  const DISPID slots = *std::max_element(ids.begin() + 1, ids.end()) + 1;
  const bool firstPositional = form == kMixed && std::count(ids.begin() + 1, ids.end(), 0);
  // DISPPARAMS order: the named arguments, then the positional ones last to first; `from`
  // tells which of the case's arguments each one is (n: left out).
  std::vector<VARIANT> values(n), rgvarg(form == kPositional ? slots : firstPositional, missing());
  std::vector<size_t> from(rgvarg.size(), n);
  std::vector<DISPID> named;
  for (size_t i = 0; i < n; ++i) {
    VariantInit(&values[i]);
    VariantCopy(&values[i], const_cast<VARIANT*>(&c.args[i].value));
    const VARIANT arg = c.args[i].byRef ? byRef(&values[i]) : values[i];
    if (form == kPositional || (firstPositional && ids[i + 1] == 0)) {
      rgvarg[rgvarg.size() - 1 - ids[i + 1]] = arg;
      from[rgvarg.size() - 1 - ids[i + 1]] = i;
    } else {
      rgvarg.insert(rgvarg.begin() + named.size(), arg);
      from.insert(from.begin() + named.size(), i);
      named.push_back(ids[i + 1]);
    }
  }
  const Outcome o = invoke(obj, ids[0], rgvarg, named);
  std::wstring out = o.text;
  const bool argumentFailed = o.hr == DISP_E_TYPEMISMATCH || o.hr == DISP_E_OVERFLOW;
  if (argumentFailed && o.argErr < from.size() && from[o.argErr] < n)
    out += L" at " + std::wstring(c.args[from[o.argErr]].name);
  for (size_t i = 0; i < n; ++i) {
    if (c.args[i].byRef) out += L"|" + shown(values[i]);
    VariantClear(&values[i]);
  }
  return out;
}

// Every case in every form, the objects created in the calling thread's apartment.
std::vector<std::wstring> runAll(const std::vector<Case>& table) {
  std::vector<std::wstring> out;
  for (const Case& c : table) {
    Ref<IDispatch> obj = create(c.className);
    for (Form form : {kPositional, kNamed, kMixed})
      out.push_back(obj ? run(obj, c, form) : L"not created");
  }
  return out;
}

void earlyBound() {
  Ref<StrChrTable> s;
  CoCreateInstance(zv::com::kCLSID_StrChr, nullptr, CLSCTX_INPROC_SERVER, zv::com::kIID_StrChr,
                   s.out());
  if (!s) return check(false, "_StrChr through the proxy");
  BSTR in = SysAllocString(L"ab|cd"), sep = SysAllocString(L"|"), out = nullptr;
  check(s->GetLeft(in, sep, VARIANT_FALSE, &out) == S_OK && str(out) == L"ab",
        "GetLeft through the proxy: " + narrow(str(out)));
  for (BSTR b : {in, sep, out})
    SysFreeString(b);
}

// What names cannot express: an unknown named DISPID, and another interface's riid.
void unknownIds() {
  Ref<IDispatch> s = create(L"StrChr");
  if (!s) return;
  const DISPID getLeft = idOf(s, L"GetLeft");
  VARIANT sep = text(L"|"), in = text(L"a|b");
  const Outcome o = invoke(s, getLeft, {sep, in}, {7});
  check(o.hr == DISP_E_PARAMNOTFOUND && o.argErr == 0, "named DISPID 7 of GetLeft");
  LPOLESTR name = const_cast<LPOLESTR>(L"GetLeft");
  DISPID id = 0;
  DISPPARAMS none{};
  check(s->GetIDsOfNames(IID_IDispatch, &name, 1, 0, &id) == DISP_E_UNKNOWNINTERFACE &&
            s->Invoke(getLeft, IID_IUnknown, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                      nullptr) == DISP_E_UNKNOWNINTERFACE,
        "GetIDsOfNames and Invoke check riid");
  VariantClear(&sep);
  VariantClear(&in);
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  for (LCID lcid : {LCID{0}, LCID{LOCALE_USER_DEFAULT}, LCID{1033}}) {
    Ref<ITypeLib> lib;
    check(LoadRegTypeLib(zv::com::kLIBID, 49, 0, lcid, &lib) == S_OK,
          "LoadRegTypeLib for locale " + std::to_string(lcid));
  }
  std::vector<Case> table = cases();
  const std::vector<std::wstring> sta = runAll(table);
  std::vector<std::wstring> mta;
  std::thread([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    mta = runAll(table);
    earlyBound();
    CoUninitialize();
  }).join();
  for (size_t i = 0; i < sta.size(); ++i) {
    const Case& c = table[i / 3];
    const std::wstring& want = c.expected ? std::wstring(c.expected) : sta[i - i % 3];
    const std::string at = narrow(c.member) + " form " + std::to_string(i % 3) + ": ";
    check(sta[i] == want, at + narrow(sta[i]) + " for " + narrow(want));
    check(mta[i] == sta[i], at + "from the MTA " + narrow(mta[i]));
  }
  unknownIds();
  for (Case& c : table)
    for (Param& p : c.args)
      VariantClear(&p.value);
  CoUninitialize();
  return summary("calls");
}
