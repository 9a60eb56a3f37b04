#include "typeinfo.h"

#include <vector>

#include "convert.h"
#include "errors.h"
#include "object.h"

namespace zv {

const MemberInfo& findMember(const TypeInfo& type, StringView name, unsigned kinds) {
  const bool wantsPut = (kinds & (kPropertyPut | kPropertyPutRef)) != 0;
  const MemberInfo* fallback = nullptr;
  for (const MemberInfo& m : type.members) {
    if (!equalsNoCase(m.name, name)) continue;
    const bool isPut = m.kind == MemberKind::PropertyLet || m.kind == MemberKind::PropertySet;
    if (isPut != wantsPut) continue;
    if (!wantsPut) return m;
    // Let serves plain puts, Set serves putref; either serves when it is the only one.
    const bool exact = (m.kind == MemberKind::PropertySet) == ((kinds & kPropertyPutRef) != 0);
    if (exact) return m;
    fallback = &m;
  }
  if (fallback) return *fallback;
  raise(err::kNotSupported,
        String(u"Object doesn't support this property or method: ") + type.name + u"." +
            String(name));
}

namespace {

// A default value as VB source would write it ("a" & vbCrLf & "b").
String literal(const Variant& v) {
  if (v.isObject()) return u"Nothing";
  if (!v.isString()) return toString(v);
  std::vector<std::pair<bool, String>> pieces;  // (is a constant name, text)
  bool inText = false;
  for (char16_t c : v.stringValue()) {
    String name = c == u'\r'   ? u"vbCr"
                  : c == u'\n' ? u"vbLf"
                  : c == u'\t' ? u"vbTab"
                  : c < 0x20   ? u"Chr(" + longToString(c) + u")"
                               : String();
    if (!name.empty()) {
      pieces.emplace_back(true, name);
      inText = false;
      continue;
    }
    if (!inText) pieces.emplace_back(false, String());
    pieces.back().second += c == u'"' ? String(u"\"\"") : String(1, c);
    inText = true;
  }
  String out;
  bool first = true;
  for (const auto& [isName, piece] : pieces) {
    out += (first ? u"" : u" & ") + (isName ? piece : u"\"" + piece + u"\"");
    first = false;
  }
  return out.empty() ? String(u"\"\"") : replaceAll(out, u"vbCr & vbLf", u"vbCrLf");
}

}  // namespace

String describeMember(const MemberInfo& m) {
  String out;
  switch (m.kind) {
    case MemberKind::Function: out = u"Function "; break;
    case MemberKind::Sub: out = u"Sub "; break;
    case MemberKind::PropertyGet: out = u"Property Get "; break;
    case MemberKind::PropertyLet: out = u"Property Let "; break;
    case MemberKind::PropertySet: out = u"Property Set "; break;
  }
  out += m.name;
  out += u'(';
  bool first = true;
  for (const ParamInfo& p : m.params) {
    if (!first) out += u", ";
    first = false;
    if (p.optional) out += u"Optional ";
    if (p.byRef) out += u"ByRef ";
    out += p.name;
    out += u" As ";
    out += p.typeName;
    if (p.optional && p.defaultValue && !p.defaultValue->isMissing())
      out += u" = " + literal(*p.defaultValue);
  }
  out += u')';
  if (*m.resultTypeName) {
    out += u" As ";
    out += m.resultTypeName;
  }
  return out;
}

}  // namespace zv
