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
#include "frame/events.h"
#include "runtime/errors.h"
#include "runtime/library_object.h"

namespace zv::com {

// Objects and locks alive in the server (DllCanUnloadNow).
extern std::atomic<long> gServerObjects;

// A COM object the server hands out: counted in gServerObjects while it lives, and deleted
// at its last Release.
template <class... Interfaces>
class ServerObject : public Interfaces... {
 public:
  ServerObject() { ++gServerObjects; }
  ServerObject(const ServerObject&) = delete;
  ServerObject& operator=(const ServerObject&) = delete;

  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (!n) delete this;
    return n;
  }

 protected:
  virtual ~ServerObject() { --gServerObjects; }

 private:
  std::atomic<ULONG> refs_{1};
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
// An array Variant as a SAFEARRAY of `elementKind` (VT_BSTR, VT_VARIANT, ...).
SAFEARRAY* toSafeArrayOf(const Variant& array, VARTYPE elementKind);
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

// What the vtable classes share, whatever their interface.
class ComCore : public EventSink {
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

  // A failed call: remembered for IDispatch::Invoke's EXCEPINFO, reported as IErrorInfo.
  HRESULT fail(const Error& e);

  HRESULT getTypeInfo(UINT index, ITypeInfo** info);
  HRESULT getIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids);
  HRESULT invoke(void* instance, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* ei, UINT* argErr);
  HRESULT getClassInfo(ITypeInfo** info);
  HRESULT findConnectionPoint(IUnknown* container, REFIID riid, IConnectionPoint** cp);

  void fire(const MemberInfo& event, Args& args) override;

 protected:
  std::atomic<ULONG> refs_{1};

 private:
  ITypeInfo* interfaceInfo();

  ObjectRef object_;
  LibraryObject* library_;
  IID iid_;
  CLSID clsid_;
  const ClassInfo* class_ = nullptr;
  ITypeInfo* dispatchInfo_ = nullptr;
  ITypeInfo* interfaceInfo_ = nullptr;
  std::optional<Error> lastError_;
  IConnectionPoint* connectionPoint_ = nullptr;
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
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    return getTypeInfo(index, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    return getIDsOfNames(names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* ei, UINT* argErr) override {
    return invoke(static_cast<Base*>(this), id, flags, params, result, ei, argErr);
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
    if (e) *e = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** cp) override {
    return findConnectionPoint(static_cast<IConnectionPointContainer*>(this), riid, cp);
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
