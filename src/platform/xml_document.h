// The platform's XML DOM document, reduced to what the library's readers walk: elements
// in document order with their names and child items, and text with character
// references decoded.
//
// Both faces give the same items for the same file. A document is refused (nothing is
// returned) when the file is missing or unreadable, not well-formed, wrongly encoded, or
// carries a document type declaration: no DTD is read and no external entity is ever
// loaded, so a file can make the reader open no other file. Documents nested deeper than
// kMaxXmlDepth elements are refused too, so walking them needs a bounded stack.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/text.h"

namespace zv::platform {

inline constexpr int32_t kMaxXmlDepth = 1024;

struct XmlItem {
  enum Kind : uint8_t { kElement, kText, kOther };  // kOther: comments and instructions
  Kind kind = kOther;
  String name;   // elements: the element name
  String value;  // text: the characters, CDATA included; blanks-only text is not an item
  std::vector<XmlItem> children;
};

// The document's root element, or nothing when the file cannot be loaded.
std::optional<XmlItem> loadXmlDocument(const String& path);

// The same for a document held in memory (the bytes of a file).
std::optional<XmlItem> parseXmlDocument(std::string_view bytes);

}  // namespace zv::platform
