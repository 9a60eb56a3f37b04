#include "library_object.h"

#include <exception>

#include "errors.h"

namespace zv {

namespace {

// The member a name means on a type, looked up once per type and call site: the library
// names members with constants, so a call site passes the same text, at the same address,
// each time. A slot is trusted only when its text still reads the member's name.
const MemberInfo& cachedMember(const TypeInfo& type, StringView name, unsigned kinds) {
  struct Slot {
    const TypeInfo* type;
    const char16_t* name;
    size_t size;
    unsigned kinds;
    const MemberInfo* member;
  };
  thread_local Slot slots[512] = {};
  size_t hash =
      reinterpret_cast<uintptr_t>(&type) ^ (reinterpret_cast<uintptr_t>(name.data()) * 31) ^ kinds;
  hash = (hash ^ (hash >> 9) ^ (hash >> 18)) % std::size(slots);
  Slot& slot = slots[hash];
  if (slot.type == &type && slot.name == name.data() && slot.size == name.size() &&
      slot.kinds == kinds && equalsNoCase(slot.member->name, name))
    return *slot.member;
  const MemberInfo& member = findMember(type, name, kinds);
  slot = {&type, name.data(), name.size(), kinds, &member};
  return member;
}

}  // namespace

Variant LibraryObject::invoke(StringView name, unsigned kinds, Args& args) {
  const MemberInfo* member = nullptr;
  {
    SourceScope source(errorSource());
    try {
      member = &cachedMember(*typeInfo(), name, kinds);
    } catch (const Error&) {
      clearPendingError();
      throw;
    }
  }
  return invokeMember(*member, args);
}

Variant LibraryObject::invokeMember(const MemberInfo& member, Args& args) {
  SourceScope source(errorSource());
  try {
    Variant result;
    {
      Binding binding(member, args);
      result = dispatch(member, binding);
    }
    clearPendingError();
    return result;
  } catch (const Error&) {
    clearPendingError();
    throw;
  } catch (const std::bad_alloc&) {
    clearPendingError();
    raise(err::kOutOfMemory);
  } catch (const std::exception& e) {
    clearPendingError();
    raise(51, u"Internal error: " + fromUtf8(e.what()));
  }
}

void notBuilt(StringView className, StringView memberName) {
  raise(err::kNotSupported, u"Object doesn't support this property or method: " +
                                String(className) + u"." + String(memberName) +
                                u" is not available in this version");
}

}  // namespace zv
