// The models of the caller's controls on Windows: their own small type library (embedded
// as resource 2 TYPELIB), creatable under ProgIDs ZivoviViruvov.Models.<Model>, and their
// objects reached through IDispatch with the type library's dispatch interfaces.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <span>

#include "runtime/object.h"

namespace zv::com {

struct ComModelEntry {
  const char16_t* name;
  const IID* dispatchIid;  // the model's dispinterface
  const CLSID* clsid;      // nullptr for a model that only its owner makes
};
std::span<const ComModelEntry> comModels();  // generated
const GUID& modelsLibraryId();
const wchar_t* modelsProgIdPrefix();
unsigned short modelsLibraryMajor();
unsigned short modelsLibraryMinor();

// A model object as the IDispatch callers reach it (one reference).
IDispatch* modelDispatch(ObjectRef model);

}  // namespace zv::com
