// The oracle's Windows side: every case through the platform's own Automation engine
// (VarFormat's tokeniser and formatter, VarDateFromStr, VarR8FromStr, VarCyFromStr) and
// GetLocaleInfoA, each for the case's LCID. Run under Wine.
//
// Usage: zv_oracle.exe CASES ANSWERS
#include <windows.h>
// windows.h first: oleauto.h needs its types.
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "case_io.h"

namespace {

std::wstring wide(const std::string& bytes, UINT codePage = CP_UTF8) {
  const int n =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string utf8(const wchar_t* text, int length) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

// Automation failures as the VB error numbers the runtime raises.
std::string failure(HRESULT hr) {
  if (hr == DISP_E_TYPEMISMATCH) return oracle::error(13);
  if (hr == DISP_E_OVERFLOW) return oracle::error(6);
  if (hr == E_INVALIDARG) return oracle::error(5);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "!%08lx", static_cast<unsigned long>(hr));
  return buffer;
}

std::string format(const oracle::Case& c) {
  const std::string& value = c.fields.at(0);
  const std::string text = value.substr(2);
  VARIANT v;
  VariantInit(&v);
  switch (value[0]) {
    case 'd':
      V_VT(&v) = VT_R8;
      V_R8(&v) = std::strtod(text.c_str(), nullptr);
      break;
    case 'c':
      V_VT(&v) = VT_CY;
      V_CY(&v).int64 = std::strtoll(text.c_str(), nullptr, 10);
      break;
    case 't':
      V_VT(&v) = VT_DATE;
      V_DATE(&v) = std::strtod(text.c_str(), nullptr);
      break;
    default:
      V_VT(&v) = VT_BSTR;
      V_BSTR(&v) = SysAllocString(wide(text).c_str());
  }
  std::wstring pattern = wide(c.fields.at(1));
  BYTE tokens[256];
  // VB's Format counts weeks from Sunday and from the week of 1 January.
  HRESULT hr =
      VarTokenizeFormatString(pattern.data(), tokens, sizeof tokens, 1, 1, c.lcid, nullptr);
  BSTR out = nullptr;
  if (SUCCEEDED(hr)) hr = VarFormatFromTokens(&v, pattern.data(), tokens, 0, &out, c.lcid);
  VariantClear(&v);
  if (FAILED(hr)) return failure(hr);
  std::string result = out ? utf8(out, static_cast<int>(SysStringLen(out))) : std::string();
  SysFreeString(out);
  return oracle::escape(result);
}

std::string localeItem(const oracle::Case& c) {
  const LCTYPE type = static_cast<LCTYPE>(std::stoul(c.fields.at(0)));
  const int size = GetLocaleInfoA(c.lcid, type, nullptr, 0);
  if (size <= 0) return {};  // the library answers "" for an unknown item
  std::string bytes(static_cast<size_t>(size), '\0');
  const int written = GetLocaleInfoA(c.lcid, type, bytes.data(), size);
  if (written <= 0) return {};
  bytes.resize(static_cast<size_t>(written));
  if (type & oracle::kReturnNumber) return oracle::bytesText(bytes);
  bytes = bytes.substr(0, bytes.find('\0'));
  // The text is in the locale's code page, or the system's with LOCALE_USE_CP_ACP.
  UINT codePage = CP_ACP;
  char digits[8] = {};
  if (!(type & LOCALE_USE_CP_ACP) &&
      GetLocaleInfoA(c.lcid, LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof digits) > 0)
    codePage = static_cast<UINT>(std::atoi(digits));
  if (codePage == 0) codePage = CP_ACP;
  const std::wstring text = wide(bytes, codePage);
  return oracle::escape(utf8(text.data(), static_cast<int>(text.size())));
}

std::string answer(const oracle::Case& c) {
  if (c.kind == 'F') return format(c);
  if (c.kind == 'L') return localeItem(c);
  BSTR text = SysAllocString(wide(c.fields.at(0)).c_str());
  HRESULT hr = E_INVALIDARG;
  std::string result;
  if (c.kind == 'D') {
    DATE date = 0;
    hr = VarDateFromStr(text, c.lcid, 0, &date);
    result = oracle::dateText(date);
  } else if (c.kind == 'R') {
    double value = 0;
    hr = VarR8FromStr(text, c.lcid, 0, &value);
    result = oracle::shortest(value);
  } else if (c.kind == 'C') {
    CY value{};
    hr = VarCyFromStr(text, c.lcid, 0, &value);
    result = oracle::currencyText(value.int64);
  }
  SysFreeString(text);
  return FAILED(hr) ? failure(hr) : result;
}

}  // namespace

int main(int argc, char** argv) {
  return oracle::run(argc, argv, answer);
}
