// One COM object per library object: the registry toDispatch consults before wrapping.
#include <mutex>
#include <unordered_map>

#include "com/com_call.h"

namespace zv::com {

namespace {

std::mutex gMutex;
std::unordered_map<const Object*, Identity*>& identities() {
  static std::unordered_map<const Object*, Identity*> map;
  return map;
}

}  // namespace

void rememberIdentity(const Object& object, Identity& identity, EventSink* events) {
  std::lock_guard lock(gMutex);
  identities()[&object] = &identity;
  if (events) connectEvents(&object, events);
}

void forgetIdentity(const Object& object, Identity& identity) {
  std::lock_guard lock(gMutex);
  auto it = identities().find(&object);
  if (it == identities().end() || it->second != &identity) return;
  identities().erase(it);
  connectEvents(&object, nullptr);
}

IDispatch* knownIdentity(const Object& object) {
  std::lock_guard lock(gMutex);
  auto it = identities().find(&object);
  return it == identities().end() ? nullptr : it->second->addRefIfAlive();
}

}  // namespace zv::com
