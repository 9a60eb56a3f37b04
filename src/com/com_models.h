// The models of the caller's controls on Windows: their own small type library (embedded
// as resource 2 TYPELIB), creatable under ProgIDs ZivoviViruvov.Models.<Model>, and their
// objects reached through IDispatch with the type library's dispatch interfaces.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <span>
#include <string>

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

// DllGetClassObject for the creatable models: CLASS_E_CLASSNOTAVAILABLE for other CLSIDs.
HRESULT modelClassObject(REFCLSID clsid, REFIID riid, void** ppv);

// The registry writer and remover of the server's own registration (HKCR-relative keys).
using SetRegistryKey = bool (*)(const std::wstring& key, const wchar_t* name,
                                const std::wstring& value);
using DeleteRegistryTree = void (*)(const std::wstring& key);
// Registers the creatable models and the models' type library; false on a failure.
bool registerModels(const std::wstring& dllPath, SetRegistryKey setKey);
void unregisterModels(DeleteRegistryTree deleteTree);

}  // namespace zv::com
