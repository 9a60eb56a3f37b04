// The COM face of the library's objects: conversions between Automation VARIANTs and the
// library's Variants, the base of the generated vtable classes, and the call of one member.
//
// This header includes windows.h: it must never meet a generated class header (api/<Class>.h),
// whose member names (CreateDirectory, DeleteFile, ...) windows.h redefines as macros.
#pragma once

#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "api/library.h"
#include "com/com_ids.h"
#include "com/connection_points.h"
#include "com/dispatch_table.h"
#include "frame/events.h"
#include "runtime/errors.h"
#include "runtime/library_object.h"

namespace zv::com {

// Objects and locks alive in the server (DllCanUnloadNow).
extern std::atomic<long> gServerObjects;

// A COM reference count that starts at one.
class RefCount {
 public:
  ULONG add() { return ++n_; }
  ULONG release() { return --n_; }
  // Adds a reference unless the last one is gone already (the object is being destroyed).
  bool addIfAlive() {
    ULONG n = n_;
    while (n && !n_.compare_exchange_weak(n, n + 1)) {
    }
    return n != 0;
  }

 private:
  std::atomic<ULONG> n_{1};
};

// A COM object the server hands out: counted in gServerObjects while it lives, and deleted
// at its last Release.
template <class... Interfaces>
class ServerObject : public Interfaces... {
 public:
  ServerObject() { ++gServerObjects; }
  ServerObject(const ServerObject&) = delete;
  ServerObject& operator=(const ServerObject&) = delete;

  ULONG STDMETHODCALLTYPE AddRef() override { return refs_.add(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = refs_.release();
    if (!n) delete this;
    return n;
  }

 protected:
  virtual ~ServerObject() { --gServerObjects; }
  RefCount refs_;
};

// QueryInterface of an object with one interface besides IUnknown.
template <class Interface>
HRESULT querySingle(Interface* self, REFIID riid, const IID& iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, iid)) return E_NOINTERFACE;
  *ppv = self;
  self->AddRef();
  return S_OK;
}

// The type library embedded in the DLL (resource 1 TYPELIB), loaded once.
ITypeLib* typeLibrary();
HMODULE serverModule();

// VARIANT <-> Variant. fromVariant reads through VT_BYREF; toVariant fills an empty
// (uninitialised) VARIANT. Objects of the library become COM objects of the server, the
// caller's objects go back as the IDispatch they came as.
Variant fromVariant(const VARIANT& v);
void toVariant(const Variant& value, VARIANT* out);
// Writes `value` back into a caller's by-reference argument as the kind the caller's
// variable holds (a VT_BYREF | VT_VARIANT variable takes the value's own kind, an array
// keeping the element kind it had); a by-value argument is left alone.
void storeVariant(const Variant& value, VARIANTARG* target);
// `value` converted to the declared type of `param`, as the member's binding would convert
// it. Variant and record parameters take it as it is, and so do arrays, whatever their
// elements: the member reads them as on the native face.
Variant toParameter(Variant value, const ParamInfo& param);
// The VARIANT kind a library kind travels as (VT_VARIANT for Variant, arrays and records).
VARTYPE comKind(VarType t);
ObjectRef fromDispatch(IDispatch* d);
IDispatch* toDispatch(const ObjectRef& obj);  // AddRef'd; nullptr for Nothing
BSTR toBstr(StringView text);
String fromBstr(BSTR b);

// 0x800A0000 | number for a VB error number (MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, n)).
HRESULT errorHresult(const Error& e);
// The HRESULT a library error goes back as; sets the thread's IErrorInfo.
HRESULT reportError(const Error& e, const IID& iid);
// EXCEPINFO for a library error (IDispatch::Invoke of the server's own dispatch objects).
void fillExcepInfo(const Error& e, EXCEPINFO* ei);
// A library error for a failed IDispatch call on a caller's object.
[[noreturn]] void raiseFromHresult(HRESULT hr, EXCEPINFO* ei);

// Reaches the library object behind a COM object of this server.
// {10BE2A36-3114-4BC0-821A-8CFE19900A14}
inline constexpr GUID kIID_ZvObject = {
    0x10be2a36, 0x3114, 0x4bc0, {0x82, 0x1a, 0x8c, 0xfe, 0x19, 0x90, 0x0a, 0x14}};
struct IZvObject : public IUnknown {
  virtual const ObjectRef& STDMETHODCALLTYPE zvObject() = 0;
};

// The one COM object that stands for a library object while both live: a library object
// handed out again (a by-reference Object parameter, a result) keeps its COM identity and
// its event sinks.
class Identity {
 public:
  // The object's IDispatch with one more reference, or nullptr when it is being destroyed.
  virtual IDispatch* addRefIfAlive() = 0;

 protected:
  ~Identity() = default;
};
// Registers `identity` for `object`; a class's events go to `events` from now on.
void rememberIdentity(const Object& object, Identity& identity, EventSink* events);
// Removes `identity` unless another one has taken its place.
void forgetIdentity(const Object& object, Identity& identity);
// The living COM object of `object`, AddRef'd, or nullptr.
IDispatch* knownIdentity(const Object& object);

// What the vtable classes share, whatever their interface.
class ComCore : public EventSink, public Identity {
 public:
  ComCore(ObjectRef object, const IID& iid, const CLSID& clsid);
  ~ComCore() override;
  ComCore(const ComCore&) = delete;
  ComCore& operator=(const ComCore&) = delete;

  LibraryObject& library() { return *library_; }
  const ObjectRef& object() const { return object_; }
  const IID& iid() const { return iid_; }
  const ClassInfo* classInfo() const { return class_; }
  bool hasEvents() const { return class_ && class_->events; }
  const GUID* eventsIid() const;

  // A failed call, reported as IErrorInfo.
  HRESULT fail(const Error& e);

  HRESULT getTypeInfo(UINT index, ITypeInfo** info);
  HRESULT getIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
  HRESULT invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* ei, UINT* argErr);
  HRESULT getClassInfo(ITypeInfo** info);
  HRESULT findConnectionPoint(IConnectionPointContainer* container, REFIID riid,
                              IConnectionPoint** cp);
  HRESULT enumConnectionPoints(IConnectionPointContainer* container, IEnumConnectionPoints** e);

  void fire(const MemberInfo& event, Args& args) override;

 protected:
  RefCount refs_;

 private:
  HRESULT bind(const MemberInfo& member, const DISPPARAMS& params, CallScratch& scratch,
               EXCEPINFO* ei, UINT* argErr);
  HRESULT failInvoke(const Error& e, EXCEPINFO* ei);

  ObjectRef object_;
  LibraryObject* library_;
  IID iid_;
  CLSID clsid_;
  const ClassInfo* class_ = nullptr;
  const DispatchTable* table_ = nullptr;
  ITypeInfo* dispatchInfo_ = nullptr;
  CallScratch scratch_;
  std::atomic<bool> scratchBusy_{false};
  EventSinks sinks_;
};

// The COM object of a creatable class: Base is the generated dual interface.
template <class Base>
class ComObject : public Base,
                  public ISupportErrorInfo,
                  public IProvideClassInfo2,
                  public IConnectionPointContainer,
                  public IZvObject,
                  public ComCore {
 public:
  ComObject(ObjectRef object, const IID& iid, const CLSID& clsid)
      : ComCore(std::move(object), iid, clsid) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, iid()))
      *ppv = static_cast<Base*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
      *ppv = static_cast<ISupportErrorInfo*>(this);
    else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2))
      *ppv = static_cast<IProvideClassInfo2*>(this);
    else if (IsEqualIID(riid, IID_IConnectionPointContainer) && hasEvents())
      *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(riid, kIID_ZvObject))
      *ppv = static_cast<IZvObject*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return refs_.add(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = refs_.release();
    if (n == 0) delete this;
    return n;
  }
  IDispatch* addRefIfAlive() override {
    return refs_.addIfAlive() ? static_cast<Base*>(this) : nullptr;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    return getTypeInfo(index, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    return getIDsOfNames(riid, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* ei, UINT* argErr) override {
    return invoke(id, riid, flags, params, result, ei, argErr);
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return IsEqualIID(riid, iid()) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override { return getClassInfo(info); }
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID || !hasEvents()) return E_INVALIDARG;
    *guid = *eventsIid();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** e) override {
    return enumConnectionPoints(this, e);
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** cp) override {
    return findConnectionPoint(this, riid, cp);
  }

  const ObjectRef& STDMETHODCALLTYPE zvObject() override { return object(); }
};

// One call of a vtable method: its arguments in declaration order, by value or as a
// reference to a temporary that goes back to the caller's pointer when the call ends.
class ComCall {
 public:
  ComCall(ComCore& self, uint16_t memberIndex) : self_(self), index_(memberIndex) {}

#define ZV_COM_KIND(Kind, T)                                                  \
  static Variant value_##Kind(T v);                                           \
  static void store_##Kind(const Variant& v, T* p);                           \
  static void out_##Kind(const Variant& v, T* p);                             \
  void in_##Kind(T v) {                                                       \
    args_.emplace_back(value_##Kind(v));                                      \
  }                                                                           \
  void ref_##Kind(T* p) {                                                     \
    addRef(p ? value_##Kind(*p) : Variant::missing(), [p](const Variant& v) { \
      if (p) store_##Kind(v, p);                                              \
    });                                                                       \
  }                                                                           \
  HRESULT run_##Kind(T* result) {                                             \
    if (!result) return E_POINTER;                                            \
    return run([result](const Variant& v) { out_##Kind(v, result); });        \
  }
  ZV_COM_KIND(String, BSTR)
  ZV_COM_KIND(Boolean, VARIANT_BOOL)
  ZV_COM_KIND(Byte, BYTE)
  ZV_COM_KIND(Integer, SHORT)
  ZV_COM_KIND(Long, LONG)
  ZV_COM_KIND(Single, FLOAT)
  ZV_COM_KIND(Double, DOUBLE)
  ZV_COM_KIND(Currency, CY)
  ZV_COM_KIND(Date, DATE)
  ZV_COM_KIND(Object, IDispatch*)
  ZV_COM_KIND(Array, SAFEARRAY*)
#undef ZV_COM_KIND
  // A VARIANT by value arrives as a copy the callee does not own.
  static Variant value_Variant(const VARIANT& v) {
    return fromVariant(v);
  }
  static void store_Variant(const Variant& v, VARIANT* p);
  static void out_Variant(const Variant& v, VARIANT* p) {
    toVariant(v, p);
  }
  void in_Variant(const VARIANT& v) {
    args_.emplace_back(value_Variant(v));
  }
  void ref_Variant(VARIANT* p) {
    addRef(p ? value_Variant(*p) : Variant::missing(), [p](const Variant& v) {
      if (p) store_Variant(v, p);
    });
  }
  HRESULT run_Variant(VARIANT* result) {
    if (!result) return E_POINTER;
    return run([result](const Variant& v) { out_Variant(v, result); });
  }

  HRESULT run() {
    return run([](const Variant&) {});
  }

  void addRef(Variant initial, std::function<void(const Variant&)> writeBack);

 private:
  HRESULT run(const std::function<void(const Variant&)>& result);

  ComCore& self_;
  uint16_t index_;
  std::deque<Variant> temps_;
  Args args_;
  std::vector<std::pair<Variant*, std::function<void(const Variant&)>>> writeBacks_;
};

struct ComClassEntry {
  const char16_t* name;
  const IID* iid;
  const CLSID* clsid;
  IDispatch* (*make)(ObjectRef object);  // a new COM object with one reference
};
std::span<const ComClassEntry> comClasses();

}  // namespace zv::com
