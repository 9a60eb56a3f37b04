// The XML DOM document on POSIX: pugixml, fed UTF-8 or ISO-8859-1 text. Other declared
// encodings are converted with ICU first. pugixml never reads a DTD or an external entity;
// the checks below refuse what it would otherwise let through and the Windows parser
// rejects: a document type declaration, unknown entities, characters XML does not allow,
// bytes that are not in the declared encoding, text outside the root element.
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <pugixml.hpp>
#include <unordered_set>

#include "platform/xml_document.h"

namespace zv::platform {

namespace {

struct Decoded {
  std::string bytes;
  pugi::xml_encoding encoding = pugi::encoding_utf8;
};

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::string lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The encoding the XML declaration names, "" when it names none.
std::string declaredEncoding(std::string_view bytes) {
  if (!startsWith(bytes, "<?xml")) return {};
  const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at = declaration.find_first_of("\"'", at);
  if (at == std::string_view::npos) return {};
  const size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos) return {};
  return lowered(declaration.substr(at + 1, end - at - 1));
}

bool validUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  while (p < end) {
    const unsigned c = *p++;
    if (c < 0x80) continue;
    int more = 0;
    uint32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3, code = c & 0x07;
    } else {
      return false;
    }
    if (end - p < more) return false;
    for (int i = 0; i < more; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) return false;
      code = (code << 6) | (*p & 0x3F);
    }
    if ((more == 2 && code < 0x800) || (more == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
  }
  return true;
}

// `bytes` in `encoding` as UTF-8; nothing for an unknown encoding or a byte it does not hold.
std::optional<std::string> transcoded(std::string_view bytes, const char* encoding) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open(encoding, &status),
                                                               ucnv_close);
  if (U_FAILURE(status)) return std::nullopt;
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  std::u16string wide(bytes.size() + 1, u'\0');
  const int32_t length =
      ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()), bytes.data(),
                    static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  std::string out(static_cast<size_t>(length) * 3 + 1, '\0');
  int32_t written = 0;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &written, wide.data(), length, &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<size_t>(written));
  return out;
}

std::optional<Decoded> decode(std::string_view bytes) {
  if (startsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
    auto utf8 = transcoded(bytes, "UTF-16");
    if (!utf8) return std::nullopt;
    return Decoded{std::move(*utf8)};
  }
  const std::string name = declaredEncoding(bytes);
  if (name.empty() || name == "utf-8" || name == "utf8") {
    if (!validUtf8(bytes)) return std::nullopt;
    return Decoded{std::string(bytes)};
  }
  if (name == "iso-8859-1" || name == "latin1" || name == "iso_8859-1" || name == "l1")
    return Decoded{std::string(bytes), pugi::encoding_latin1};
  auto utf8 = transcoded(bytes, name.c_str());
  if (!utf8) return std::nullopt;
  return Decoded{std::move(*utf8)};
}

bool allowedChar(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The length of the entity or character reference at the start of `s`, 0 when it is not
// one XML defines without a DTD.
size_t referenceLength(std::string_view s) {
  const size_t end = s.find(';');
  if (end == std::string_view::npos || end > 12) return 0;
  const std::string_view body = s.substr(1, end - 1);
  if (body == "amp" || body == "lt" || body == "gt" || body == "quot" || body == "apos")
    return end + 1;
  if (body.size() < 2 || body[0] != '#') return 0;
  const bool hex = body[1] == 'x';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty()) return 0;
  uint32_t value = 0;
  for (const char c : digits) {
    uint32_t digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return 0;
    value = value * (hex ? 16 : 10) + digit;
  }
  return allowedChar(value) ? end + 1 : 0;
}

bool markupAccepted(std::string_view s) {
  // Refused wherever it stands, even inside a comment, exactly as the Windows face does.
  if (s.find("<!DOCTYPE") != std::string_view::npos) return false;
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') return false;
  }
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      const size_t length = referenceLength(s.substr(i));
      if (!length) return false;
      i += length - 1;
    } else if (s[i] == '<' && i + 1 < s.size() && (s[i + 1] == '!' || s[i + 1] == '?')) {
      const std::string_view rest = s.substr(i);
      std::string_view close;
      if (startsWith(rest, "<!--"))
        close = "-->";
      else if (startsWith(rest, "<![CDATA["))
        close = "]]>";
      else if (rest[1] == '?')
        close = "?>";
      else
        return false;  // a document type declaration
      const size_t end = s.find(close, i + 2);
      if (end == std::string_view::npos) return false;
      i = end + close.size() - 1;
    }
  }
  return true;
}

bool blank(std::string_view s) {
  return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool convert(const pugi::xml_node& node, XmlItem& out, int depth) {
  if (depth > kMaxXmlDepth) return false;
  out.kind = XmlItem::kElement;
  out.name = fromUtf8(node.name());
  std::unordered_set<std::string_view> attributes;
  for (const pugi::xml_attribute& a : node.attributes())
    if (!attributes.insert(a.name()).second) return false;
  for (const pugi::xml_node& child : node.children()) {
    switch (child.type()) {
      case pugi::node_element:
        if (!convert(child, out.children.emplace_back(), depth + 1)) return false;
        break;
      case pugi::node_pcdata:
      case pugi::node_cdata:
        if (!blank(child.value())) {
          XmlItem& text = out.children.emplace_back();
          text.kind = XmlItem::kText;
          text.value = fromUtf8(child.value());
        }
        break;
      default:
        out.children.emplace_back().kind = XmlItem::kOther;
    }
  }
  return true;
}

}  // namespace

std::optional<XmlItem> parseXmlDocument(std::string_view bytes) {
  auto decoded = decode(bytes);
  if (!decoded || !markupAccepted(decoded->bytes)) return std::nullopt;
  pugi::xml_document document;
  const unsigned options =
      pugi::parse_default | pugi::parse_pi | pugi::parse_comments | pugi::parse_declaration;
  if (document
          .load_buffer_inplace(decoded->bytes.data(), decoded->bytes.size(), options,
                               decoded->encoding)
          .status != pugi::status_ok)
    return std::nullopt;
  pugi::xml_node root;
  for (const pugi::xml_node& child : document.children()) {
    if (child.type() == pugi::node_element) {
      if (root) return std::nullopt;
      root = child;
    } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      return std::nullopt;
    }
  }
  XmlItem item;
  if (!root || !convert(root, item, 1)) return std::nullopt;
  return item;
}

std::optional<XmlItem> loadXmlDocument(const String& path) {
  std::ifstream in(zv::toUtf8(path), std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return parseXmlDocument(bytes);
}

}  // namespace zv::platform
