#include "typeinfo.h"

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
  }
  out += u')';
  if (*m.resultTypeName) {
    out += u" As ";
    out += m.resultTypeName;
  }
  return out;
}

}  // namespace zv
