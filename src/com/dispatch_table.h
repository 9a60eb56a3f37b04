// How IDispatch finds a class's members: by dispatch id in constant time, by name through a
// hash, and the per-object buffers a call reuses so that it allocates nothing of its own.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/object.h"
#include "runtime/typeinfo.h"

namespace zv::com {

class DispatchTable {
 public:
  // The table of `type`, built on first use and kept for the life of the process.
  static const DispatchTable& of(const TypeInfo& type);

  // The member a call with these DISPATCH_ flags reaches, or nullptr.
  const MemberInfo* find(DISPID id, WORD flags) const;
  // IDispatch::GetIDsOfNames: the member's dispatch id, then each named parameter's position.
  HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;

 private:
  explicit DispatchTable(const TypeInfo& type);
  struct Slots {
    int16_t call = -1;  // Function, Sub or Property Get
    int16_t put = -1;
    int16_t putRef = -1;
  };
  const Slots* slotsOf(DISPID id) const;

  const TypeInfo& type_;
  std::vector<Slots> byId_;  // dispatch ids from kFirstDispId on
  std::vector<std::pair<DISPID, Slots>> otherIds_;
  std::vector<std::pair<uint32_t, uint16_t>> byName_;  // (name hash, member index), sorted
};

// The arguments of one IDispatch call as the member receives them. An object keeps one and
// reuses its storage from call to call.
struct CallScratch {
  Args args;
  std::vector<Variant> temps;  // the values by-reference arguments refer to
  std::vector<std::pair<const Variant*, VARIANTARG*>> writeBacks;
  std::vector<VARIANTARG*> slots;  // the caller's argument for each parameter

  void clear() {
    writeBacks.clear();
    args.clear();
    temps.clear();
    slots.clear();
  }
};

}  // namespace zv::com
