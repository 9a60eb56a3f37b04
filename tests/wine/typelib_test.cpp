// Under Wine, after regsvr32: the registered type library (LoadRegTypeLib of the LIBID,
// version 49.0) describes exactly the members, parameters and defaults of the library's
// own dispatch tables, the event interfaces, the enumerations and the record.
#include <oaidl.h>
#include <windows.h>

#include <cmath>
#include <string>

#include "api/library.h"
#include "client.h"
#include "com/com_ids.h"
#include "runtime/convert.h"

using namespace client;

namespace {

GUID guidOf(const char16_t* text) {
  GUID g{};
  CLSIDFromString(reinterpret_cast<LPCOLESTR>(text), &g);
  return g;
}

TYPEKIND refKind(ITypeInfo* owner, HREFTYPE ref) {
  Ref<ITypeInfo> info;
  return SUCCEEDED(owner->GetRefTypeInfo(ref, &info)) ? attrOf(info).typekind : TKIND_MAX;
}

// The Automation kind and by-reference flag of a parameter's type description.
VARTYPE kindOf(ITypeInfo* owner, const TYPEDESC& td, bool& byRef) {
  const TYPEDESC* t = &td;
  // A pointer to an interface is an object by value; one more level is a reference.
  const TYPEDESC* inner = t->vt == VT_PTR ? t->lptdesc : nullptr;
  const TYPEKIND innerKind =
      inner && inner->vt == VT_USERDEFINED ? refKind(owner, inner->hreftype) : TKIND_MAX;
  byRef = inner && innerKind != TKIND_DISPATCH && innerKind != TKIND_INTERFACE;
  if (byRef) t = inner;
  if (t->vt == VT_PTR) return VT_DISPATCH;
  if (t->vt == VT_SAFEARRAY) return VT_ARRAY;
  if (t->vt != VT_USERDEFINED) return t->vt;
  const TYPEKIND kind = refKind(owner, t->hreftype);
  return kind == TKIND_ENUM ? VT_I4 : kind == TKIND_RECORD ? VT_RECORD : VT_DISPATCH;
}

// The type library's default and the dispatch table's default are the same value.
bool sameDefault(const VARIANT& tl, const zv::Variant& zvDefault) {
  VARIANT v;
  VariantInit(&v);
  switch (zvDefault.type()) {
    case zv::VarType::Boolean:
      if (FAILED(VariantChangeType(&v, const_cast<VARIANT*>(&tl), 0, VT_BOOL))) return false;
      return (V_BOOL(&v) != 0) == zvDefault.booleanValue();
    case zv::VarType::String: {
      if (V_VT(&tl) != VT_BSTR) return false;
      const char16_t* s = reinterpret_cast<const char16_t*>(V_BSTR(&tl));
      return zv::String(s, SysStringLen(V_BSTR(&tl))) == zvDefault.stringValue();
    }
    case zv::VarType::Object:
      return V_VT(&tl) == VT_I4 || V_VT(&tl) == VT_DISPATCH;
    default: {
      if (FAILED(VariantChangeType(&v, const_cast<VARIANT*>(&tl), 0, VT_R8))) return false;
      return std::fabs(V_R8(&v) - zv::toDouble(zvDefault)) < 1e-9;
    }
  }
}

INVOKEKIND invokeKindOf(zv::MemberKind k) {
  return k == zv::MemberKind::PropertyGet   ? INVOKE_PROPERTYGET
         : k == zv::MemberKind::PropertyLet ? INVOKE_PROPERTYPUT
         : k == zv::MemberKind::PropertySet ? INVOKE_PROPERTYPUTREF
                                            : INVOKE_FUNC;
}

void compareMembers(ITypeInfo* info, const zv::TypeInfo& type, const std::string& where,
                    bool dispinterface) {
  const UINT functions = attrOf(info).cFuncs;
  check(functions == type.members.size(), where + ": " + std::to_string(functions) +
                                              " functions for " +
                                              std::to_string(type.members.size()) + " members");
  const UINT count = std::min<UINT>(functions, type.members.size());
  for (UINT i = 0; i < count; ++i) {
    const zv::MemberInfo& m = type.members[i];
    const std::string at = where + "." + zv::toUtf8(m.name);
    FUNCDESC* f = nullptr;
    check(SUCCEEDED(info->GetFuncDesc(i, &f)), at + ": function description");
    if (!f) continue;
    check(f->memid == m.dispId, at + ": dispatch id");
    check(dispinterface || f->invkind == invokeKindOf(m.kind), at + ": invoke kind");
    BSTR names[64] = {};
    UINT got = 0;
    info->GetNames(m.dispId, names, 64, &got);
    // GetNames of a shared id answers the first function of that id; the name is shared.
    std::vector<std::string> named;
    for (UINT n = 0; n < got; ++n) {
      named.push_back(narrow(str(names[n])));
      SysFreeString(names[n]);
    }
    check(got >= 1 && named[0] == zv::toUtf8(m.name), at + ": name");
    UINT declared = 0;
    for (SHORT p = 0; p < f->cParams; ++p)
      if (!(f->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) ++declared;
    check(declared == m.params.size(), at + ": parameter count");
    const bool hasRetval = declared < static_cast<UINT>(f->cParams);
    check(dispinterface || hasRetval == (m.resultType != zv::VarType::Empty),
          at + ": result presence");
    const bool put = m.kind == zv::MemberKind::PropertyLet || m.kind == zv::MemberKind::PropertySet;
    for (UINT p = 0; p < std::min<UINT>(declared, m.params.size()); ++p) {
      const zv::ParamInfo& pi = m.params[p];
      const std::string pat = at + "(" + zv::toUtf8(pi.name) + ")";
      // The put value's name is not stored for property puts.
      if (!put || p + 1 < declared)
        check(p + 1 < got && named[p + 1] == zv::toUtf8(pi.name), pat + ": name");
      const ELEMDESC& ed = f->lprgelemdescParam[p];
      bool byRef = false;
      const VARTYPE vt = kindOf(info, ed.tdesc, byRef);
      // The dispatch tables' kinds carry the Automation numbers.
      check(vt == static_cast<VARTYPE>(pi.type), pat + ": type " + std::to_string(vt));
      check(byRef == (pi.byRef || pi.isArray || pi.type == zv::VarType::Record),
            pat + ": by reference");
      const USHORT flags = ed.paramdesc.wParamFlags;
      check(((flags & PARAMFLAG_FOPT) != 0) == pi.optional, pat + ": optional");
      const bool zvHasDefault = pi.optional && pi.defaultValue && !pi.defaultValue->isMissing();
      const bool tlHasDefault = flags & PARAMFLAG_FHASDEFAULT;
      if (tlHasDefault) {
        check(zvHasDefault &&
                  sameDefault(ed.paramdesc.pparamdescex->varDefaultValue, *pi.defaultValue),
              pat + ": default value");
      } else {
        // widl cannot store a text default for a by-reference String: the server applies it.
        const bool knownGap = pi.byRef && pi.type == zv::VarType::String;
        check(!zvHasDefault || knownGap, pat + ": default missing");
      }
    }
    bool byRef = false;
    check(!hasRetval || kindOf(info, f->lprgelemdescParam[f->cParams - 1].tdesc, byRef) ==
                            static_cast<VARTYPE>(m.resultType),
          at + ": result type");
    info->ReleaseFuncDesc(f);
  }
}

// The variables of an enumeration ("name=value") or record ("name:kind"), joined by ",".
std::string varsOf(ITypeInfo* info) {
  std::string out;
  const UINT n = attrOf(info).cVars;
  for (UINT i = 0; i < n; ++i) {
    VARDESC* v = nullptr;
    if (FAILED(info->GetVarDesc(i, &v))) return out + ",?";
    VARIANT value;
    VariantInit(&value);
    out += (i ? "," : "") + nameOf(info, v->memid);
    if (v->varkind == VAR_CONST && SUCCEEDED(VariantChangeType(&value, v->lpvarValue, 0, VT_I4)))
      out += "=" + std::to_string(V_I4(&value));
    else
      out += ":" + std::to_string(v->elemdescVar.tdesc.vt);
    info->ReleaseVarDesc(v);
  }
  return out;
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  Ref<ITypeLib> lib;
  check(LoadRegTypeLib(zv::com::kLIBID, 49, 0, 1033, &lib) == S_OK,
        "LoadRegTypeLib of the LIBID, version 49.0");
  if (!lib) return summary("typelib");
  TLIBATTR* la = nullptr;
  lib->GetLibAttr(&la);
  check(la->wMajorVerNum == 49 && la->wMinorVerNum == 0 && la->lcid == 1033 &&
            nameOf(lib.p) == "ZivoviViruvov",
        "version, locale and name");
  lib->ReleaseTLibAttr(la);
  auto findType = [&](const std::string& name) {
    Ref<ITypeInfo> info;
    for (UINT i = 0; i < lib->GetTypeInfoCount() && !info; ++i)
      if (nameOf(lib.p, i) == name) lib->GetTypeInfo(i, &info);
    return info;
  };
  auto ofGuid = [&](const char16_t* guid) {
    Ref<ITypeInfo> info;
    lib->GetTypeInfoOfGuid(guidOf(guid), &info);
    return info;
  };

  for (const zv::ClassInfo& c : zv::libraryClasses()) {
    const std::string name = zv::toUtf8(c.name);
    if (!c.creatable) {
      check(!findType(name) && !findType("_" + name), name + " is not in the type library");
      continue;
    }
    Ref<ITypeInfo> co = ofGuid(c.clsid);
    const TYPEATTR ca = attrOf(co);
    check(co && ca.typekind == TKIND_COCLASS && nameOf(co.p) == name &&
              ca.cImplTypes == (c.events ? 2u : 1u),
          name + ": coclass, its name and interfaces");
    for (UINT k = 0; co && k < ca.cImplTypes; ++k) {
      INT flags = 0;
      HREFTYPE ref = 0;
      Ref<ITypeInfo> itf;
      co->GetImplTypeFlags(k, &flags);
      co->GetRefTypeOfImplType(k, &ref);
      co->GetRefTypeInfo(ref, &itf);
      const bool source = flags & IMPLTYPEFLAG_FSOURCE;
      check(itf && IsEqualGUID(attrOf(itf).guid, guidOf(source ? c.eventsIid : c.iid)) &&
                (flags & IMPLTYPEFLAG_FDEFAULT),
            name + ": [default" + (source ? ", source]" : "]") + " interface");
    }
    Ref<ITypeInfo> disp = ofGuid(c.iid), table;
    const TYPEATTR da = attrOf(disp);
    check(disp && nameOf(disp.p) == "_" + name && da.typekind == TKIND_DISPATCH &&
              (da.wTypeFlags & TYPEFLAG_FDUAL),
          name + ": dual interface _" + name);
    HREFTYPE ref = 0;
    if (disp && SUCCEEDED(disp->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)))
      disp->GetRefTypeInfo(ref, &table);
    const TYPEATTR ta = attrOf(table);
    check(table && ta.typekind == TKIND_INTERFACE && (ta.wTypeFlags & TYPEFLAG_FOLEAUTOMATION),
          name + ": the dual interface's function table is oleautomation");
    if (table) compareMembers(table, *c.type, "_" + name, false);
    if (!c.events) continue;
    Ref<ITypeInfo> ev = ofGuid(c.eventsIid);
    const TYPEATTR ea = attrOf(ev);
    const std::string events = zv::toUtf8(c.events->name);
    check(ev && ea.typekind == TKIND_DISPATCH && !(ea.wTypeFlags & TYPEFLAG_FDUAL) &&
              nameOf(ev.p) == events,
          name + ": events " + events + ", a pure dispinterface");
    if (ev) compareMembers(ev, *c.events, events, true);
  }

  for (const zv::EnumInfo& e : zv::libraryEnums()) {
    const std::string name = zv::toUtf8(e.name);
    Ref<ITypeInfo> info = findType(name);
    const TYPEATTR a = attrOf(info);
    std::string want, got = info ? varsOf(info) : "";
    for (const auto& m : e.members)
      want += (want.empty() ? "" : ",") + zv::toUtf8(m.name) + "=" + std::to_string(m.value);
    check(info && a.typekind == TKIND_ENUM && !IsEqualGUID(a.guid, GUID_NULL),
          name + ": an enumeration with its own identifier");
    check(got == want, name + ": " + got);
  }
  Ref<ITypeInfo> rec = findType("WindowsRegistryInfo");
  const TYPEATTR ra = attrOf(rec);
  check(rec && ra.typekind == TKIND_RECORD &&
            IsEqualGUID(ra.guid, zv::com::kTYPEID_WindowsRegistryInfo),
        "WindowsRegistryInfo: a record with its own identifier");
  const std::string fields = rec ? varsOf(rec) : "";
  check(fields ==
            "RegOwner:8,RegCompany:8,Product:8,CSDVersion:8,Version:8,VersionNo:8,"
            "SubVersionNo:8,ProductId:8,Plus:8,PlusId:8",
        "WindowsRegistryInfo's ten String fields: " + fields);
  rec.reset();
  lib.reset();
  CoUninitialize();
  return summary("typelib");
}
