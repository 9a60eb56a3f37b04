// IDispatch of the server's classes. A call goes straight to the library object's member,
// as a vtable call does: the member is found by its dispatch id, named arguments take their
// parameters' places, every argument is converted to its parameter's type (a failure names
// the argument in puArgErr), left-out optionals take their defaults from the member's
// description, and by-reference arguments go back to the caller's variables afterwards.
#include <memory>

#include "com/com_call.h"
#include "runtime/convert.h"

namespace zv::com {

namespace {

bool isMissing(const VARIANT& v) {
  const VARIANT* p = &v;
  if (V_VT(p) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(p)) p = V_VARIANTREF(p);
  return V_VT(p) == VT_ERROR && V_ERROR(p) == DISP_E_PARAMNOTFOUND;
}

bool isPut(const MemberInfo& m) {
  return m.kind == MemberKind::PropertyLet || m.kind == MemberKind::PropertySet;
}

// The object's call buffers, or fresh ones when a call on the same object is already
// running (a member calling back into the caller, who calls the object again).
class ScratchLease {
 public:
  ScratchLease(std::atomic<bool>& busy, CallScratch& shared) : busy_(busy) {
    if (!busy_.exchange(true, std::memory_order_acquire))
      scratch_ = &shared;
    else
      scratch_ = (own_ = std::make_unique<CallScratch>()).get();
  }
  ~ScratchLease() {
    scratch_->clear();
    if (!own_) busy_.store(false, std::memory_order_release);
  }
  ScratchLease(const ScratchLease&) = delete;
  ScratchLease& operator=(const ScratchLease&) = delete;
  CallScratch& operator*() const { return *scratch_; }

 private:
  std::atomic<bool>& busy_;
  std::unique_ptr<CallScratch> own_;
  CallScratch* scratch_;
};

}  // namespace

HRESULT ComCore::getIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return table_->idsOfNames(names, count, ids);
}

HRESULT ComCore::failInvoke(const Error& e, EXCEPINFO* ei) {
  const HRESULT hr = fail(e);
  if (!ei) return hr;
  fillExcepInfo(e, ei);
  return DISP_E_EXCEPTION;
}

HRESULT ComCore::bind(const MemberInfo& member, const DISPPARAMS& params, CallScratch& s,
                      EXCEPINFO* ei, UINT* argErr) {
  const size_t count = member.params.size();
  const UINT named = params.cNamedArgs;
  UINT positional = params.cArgs - named;
  s.slots.assign(count, nullptr);
  // A put's new value is the argument named DISPID_PROPERTYPUT, else the last positional one;
  // it goes to the last parameter, the others fill the parameters before it.
  size_t open = count;
  if (isPut(member)) {
    open = count - 1;
    bool valueNamed = false;
    for (UINT i = 0; i < named; ++i)
      valueNamed |= params.rgdispidNamedArgs[i] == DISPID_PROPERTYPUT;
    if (!valueNamed && positional) {
      s.slots[count - 1] = &params.rgvarg[named];
      --positional;
    }
  }
  if (positional > open) return DISP_E_BADPARAMCOUNT;
  for (UINT k = 0; k < positional; ++k)
    s.slots[k] = &params.rgvarg[params.cArgs - 1 - k];
  for (UINT i = 0; i < named; ++i) {
    const DISPID id = params.rgdispidNamedArgs[i];
    size_t target = count;
    if (id == DISPID_PROPERTYPUT && isPut(member))
      target = count - 1;
    else if (id >= 0 && static_cast<size_t>(id) < open)
      target = static_cast<size_t>(id);
    if (target == count || s.slots[target]) {
      if (argErr) *argErr = i;
      return DISP_E_PARAMNOTFOUND;
    }
    s.slots[target] = &params.rgvarg[i];
  }

  s.args.reserve(count);
  s.temps.reserve(count);
  for (size_t p = 0; p < count; ++p) {
    VARIANTARG* a = s.slots[p];
    const ParamInfo& param = member.params[p];
    if (!a || isMissing(*a)) {
      if (!param.optional) return DISP_E_PARAMNOTOPTIONAL;
      s.args.emplace_back(Variant::missing());
      continue;
    }
    try {
      Variant value = toParameter(fromVariant(*a), param);
      // A record is the caller's own storage even when not flagged VT_BYREF.
      if (param.byRef && ((V_VT(a) & VT_BYREF) || V_VT(a) == VT_RECORD)) {
        s.args.push_back(Arg::ref(s.temps.emplace_back(std::move(value))));
        s.writeBacks.emplace_back(&s.temps.back(), a);
      } else {
        s.args.emplace_back(std::move(value));
      }
    } catch (const Error& e) {
      if (argErr) *argErr = static_cast<UINT>(a - params.rgvarg);
      if (e.number() == err::kTypeMismatch) return DISP_E_TYPEMISMATCH;
      if (e.number() == err::kOverflow) return DISP_E_OVERFLOW;
      return failInvoke(e, ei);
    }
  }
  return S_OK;
}

HRESULT ComCore::invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* ei, UINT* argErr) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params || params->cNamedArgs > params->cArgs || (params->cArgs && !params->rgvarg) ||
      (params->cNamedArgs && !params->rgdispidNamedArgs))
    return E_INVALIDARG;
  if (result) VariantInit(result);
  const MemberInfo* member = table_->find(id, flags);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  try {
    ScratchLease lease(scratchBusy_, scratch_);
    CallScratch& s = *lease;
    const HRESULT bound = bind(*member, *params, s, ei, argErr);
    if (FAILED(bound)) return bound;
    Variant r;
    try {
      r = library().invokeMember(*member, s.args);
    } catch (const Error& e) {
      // What the member left in by-reference arguments before it failed goes back too.
      for (auto& [value, target] : s.writeBacks)
        try {
          storeVariant(*value, target);
        } catch (const Error&) {
        }
      return failInvoke(e, ei);
    }
    for (auto& [value, target] : s.writeBacks)
      storeVariant(*value, target);
    if (result) toVariant(r, result);
    return S_OK;
  } catch (const Error& e) {
    return failInvoke(e, ei);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    return failInvoke(Error(51, u"Internal error: " + fromUtf8(e.what())), ei);
  }
}

}  // namespace zv::com
