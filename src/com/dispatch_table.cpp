#include "com/dispatch_table.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "runtime/text.h"

namespace zv::com {

namespace {

// The dispatch id of a class's first member name; the others follow one by one.
constexpr DISPID kFirstDispId = 0x60030000;

// A hash of a name that ignores the case of ASCII letters, as member names are written.
uint32_t nameHash(const char16_t* name, size_t length) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < length; ++i) {
    char16_t c = name[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    h = (h ^ c) * 16777619u;
  }
  return h;
}

}  // namespace

const DispatchTable& DispatchTable::of(const TypeInfo& type) {
  static std::mutex mutex;
  static std::map<const TypeInfo*, std::unique_ptr<DispatchTable>> tables;
  std::lock_guard lock(mutex);
  auto& table = tables[&type];
  if (!table) table.reset(new DispatchTable(type));
  return *table;
}

DispatchTable::DispatchTable(const TypeInfo& type) : type_(type) {
  for (const MemberInfo& m : type.members) {
    Slots* slots = nullptr;
    const uint32_t offset = static_cast<uint32_t>(m.dispId - kFirstDispId);
    if (offset < type.members.size()) {
      if (byId_.size() <= offset) byId_.resize(offset + 1);
      slots = &byId_[offset];
    } else {
      auto it = std::find_if(otherIds_.begin(), otherIds_.end(),
                             [&](const auto& entry) { return entry.first == m.dispId; });
      slots =
          it != otherIds_.end() ? &it->second : &otherIds_.emplace_back(m.dispId, Slots{}).second;
    }
    const auto index = static_cast<int16_t>(m.index);
    if (m.kind == MemberKind::PropertyLet)
      slots->put = index;
    else if (m.kind == MemberKind::PropertySet)
      slots->putRef = index;
    else
      slots->call = index;
    const std::u16string_view name(m.name);
    byName_.emplace_back(nameHash(name.data(), name.size()), m.index);
  }
  std::sort(byName_.begin(), byName_.end());
}

const DispatchTable::Slots* DispatchTable::slotsOf(DISPID id) const {
  const uint32_t offset = static_cast<uint32_t>(id - kFirstDispId);
  if (offset < byId_.size()) return &byId_[offset];
  for (const auto& [other, slots] : otherIds_)
    if (other == id) return &slots;
  return nullptr;
}

const MemberInfo* DispatchTable::find(DISPID id, WORD flags) const {
  const Slots* slots = slotsOf(id);
  if (!slots) return nullptr;
  // A Let serves a plain put and a Set a put by reference; either serves when it is alone.
  int16_t index = slots->call;
  if (flags & DISPATCH_PROPERTYPUTREF)
    index = slots->putRef >= 0 ? slots->putRef : slots->put;
  else if (flags & DISPATCH_PROPERTYPUT)
    index = slots->put >= 0 ? slots->put : slots->putRef;
  return index >= 0 ? &type_.members[static_cast<size_t>(index)] : nullptr;
}

HRESULT DispatchTable::idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
  if (!names || !ids) return E_POINTER;
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  if (count == 0) return S_OK;
  const auto* wanted = reinterpret_cast<const char16_t*>(names[0]);
  const std::u16string_view name(wanted ? wanted : u"");
  // Property pairs share their name and id; the first declared (the Get) names the parameters.
  const MemberInfo* member = nullptr;
  auto range = std::equal_range(byName_.begin(), byName_.end(),
                                std::make_pair(nameHash(name.data(), name.size()), uint16_t{0}),
                                [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto it = range.first; it != range.second && !member; ++it)
    if (equalsNoCase(type_.members[it->second].name, name)) member = &type_.members[it->second];
  if (!member) return DISP_E_UNKNOWNNAME;
  ids[0] = member->dispId;
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    const auto* param = reinterpret_cast<const char16_t*>(names[i]);
    for (size_t p = 0; param && p < member->params.size() && ids[i] == DISPID_UNKNOWN; ++p)
      if (equalsNoCase(member->params[p].name, param)) ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

}  // namespace zv::com
