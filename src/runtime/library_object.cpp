#include "library_object.h"

#include <exception>

#include "errors.h"

namespace zv {

Variant LibraryObject::invoke(StringView name, unsigned kinds, Args& args) {
  const MemberInfo* member = nullptr;
  {
    SourceScope source(errorSource());
    try {
      member = &findMember(*typeInfo(), name, kinds);
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
