// The XML DOM document on Windows: MSXML 3 through COM, with external resources and DTDs
// off. A document type declaration is refused before MSXML sees the bytes, as on POSIX,
// so no version of the parser can be made to read a DTD or an external entity.
#include <msxml2.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/xml_document.h"

namespace zv::platform {

namespace {

// MSXML 3's DOMDocument30 and IXMLDOMDocument2 (mingw-w64 ships no import library for them).
const CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID kXmlDomDocument2 = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  void** outVoid() { return reinterpret_cast<void**>(&p_); }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

String takeBstr(BSTR b) {
  String s(reinterpret_cast<const char16_t*>(b), b ? SysStringLen(b) : 0);
  SysFreeString(b);
  return s;
}

bool blank(StringView s) {
  return s.find_first_not_of(u" \t\r\n") == StringView::npos;
}

// A document type declaration anywhere, in an 8-bit encoding or in UTF-16.
bool hasDoctype(std::string_view bytes) {
  static const std::string narrow = "<!DOCTYPE";
  std::string little, big;
  for (const char c : narrow) {
    little += c, little += '\0';
    big += '\0', big += c;
  }
  return bytes.find(narrow) != std::string_view::npos ||
         bytes.find(little) != std::string_view::npos || bytes.find(big) != std::string_view::npos;
}

bool convert(IXMLDOMNode* node, XmlItem& out, int depth) {
  if (depth > kMaxXmlDepth) return false;
  BSTR name = nullptr;
  if (FAILED(node->get_nodeName(&name))) return false;
  out.kind = XmlItem::kElement;
  out.name = takeBstr(name);
  ComPtr<IXMLDOMNode> child;
  node->get_firstChild(child.out());
  while (child) {
    DOMNodeType type = NODE_INVALID;
    child->get_nodeType(&type);
    if (type == NODE_ELEMENT) {
      if (!convert(child.get(), out.children.emplace_back(), depth + 1)) return false;
    } else if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
      VARIANT value;
      VariantInit(&value);
      child->get_nodeValue(&value);
      String text = value.vt == VT_BSTR ? takeBstr(value.bstrVal) : String();
      if (value.vt != VT_BSTR) VariantClear(&value);
      if (!blank(text)) {
        XmlItem& item = out.children.emplace_back();
        item.kind = XmlItem::kText;
        item.value = std::move(text);
      }
    } else {
      out.children.emplace_back().kind = XmlItem::kOther;
    }
    ComPtr<IXMLDOMNode> next;
    child->get_nextSibling(next.out());
    std::swap(*child.out(), *next.out());
  }
  return true;
}

std::optional<XmlItem> parse(std::string_view bytes) {
  ComPtr<IXMLDOMDocument2> document;
  if (FAILED(CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, kXmlDomDocument2,
                              document.outVoid())))
    return std::nullopt;
  document->put_async(VARIANT_FALSE);
  document->put_resolveExternals(VARIANT_FALSE);
  document->put_validateOnParse(VARIANT_FALSE);
  document->put_preserveWhiteSpace(VARIANT_TRUE);
  VARIANT on;
  VariantInit(&on);
  on.vt = VT_BOOL;
  on.boolVal = VARIANT_TRUE;
  BSTR prohibit = SysAllocString(L"ProhibitDTD");
  document->setProperty(prohibit, on);  // older MSXML 3 builds lack it: the check above stands
  SysFreeString(prohibit);

  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!array) return std::nullopt;
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
  SafeArrayUnaccessData(array);
  VARIANT source;
  VariantInit(&source);
  source.vt = VT_ARRAY | VT_UI1;
  source.parray = array;
  VARIANT_BOOL loaded = VARIANT_FALSE;
  const HRESULT hr = document->load(source, &loaded);
  VariantClear(&source);
  if (FAILED(hr) || loaded != VARIANT_TRUE) return std::nullopt;

  ComPtr<IXMLDOMDocumentType> doctype;
  document->get_doctype(doctype.out());
  ComPtr<IXMLDOMElement> root;
  document->get_documentElement(root.out());
  XmlItem item;
  if (doctype || !root || !convert(root.get(), item, 1)) return std::nullopt;
  return item;
}

}  // namespace

std::optional<XmlItem> parseXmlDocument(std::string_view bytes) {
  if (hasDoctype(bytes)) return std::nullopt;
  // The caller's thread normally has COM already; otherwise it gets it for the parse.
  const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  auto result = parse(bytes);
  if (SUCCEEDED(initialized)) CoUninitialize();
  return result;
}

std::optional<XmlItem> loadXmlDocument(const String& path) {
  std::ifstream in(std::filesystem::path(std::wstring(path.begin(), path.end())), std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return parseXmlDocument(bytes);
}

}  // namespace zv::platform
