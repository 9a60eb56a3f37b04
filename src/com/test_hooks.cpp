// The test-only export of ZivoviViruvovTest.dll, the server's test build (never of the release
// DLL; tests/wine/events_test.cpp uses it while no class raises events): raises event `name` of
// the library object behind `source` with `count` arguments in declaration order;
// VT_BYREF | VT_VARIANT arguments are passed by reference and receive what the listeners
// left in them.
#include <deque>

#include "com/com_call.h"

using namespace zv;
using namespace zv::com;

extern "C" HRESULT STDAPICALLTYPE ZvTestRaiseEvent(IUnknown* source, LPCWSTR name, VARIANT* args,
                                                   UINT count) {
  if (!source || !name) return E_POINTER;
  IZvObject* own = nullptr;
  if (FAILED(source->QueryInterface(kIID_ZvObject, reinterpret_cast<void**>(&own))))
    return E_INVALIDARG;
  ObjectRef object = own->zvObject();
  own->Release();
  try {
    std::deque<Variant> values;
    Args zargs;
    for (UINT i = 0; i < count; ++i) {
      values.push_back(fromVariant(args[i]));
      if (V_VT(&args[i]) == (VT_BYREF | VT_VARIANT))
        zargs.push_back(Arg::ref(values.back()));
      else
        zargs.emplace_back(values.back());
    }
    raiseEvent(*object, reinterpret_cast<const char16_t*>(name), zargs);
    for (UINT i = 0; i < count; ++i)
      storeVariant(values[i], &args[i]);
  } catch (const Error& e) {
    return reportError(e, IID_IUnknown);
  }
  return S_OK;
}
