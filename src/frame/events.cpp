#include "frame/events.h"

#include <map>
#include <mutex>

#include "api/library.h"
#include "runtime/errors.h"

namespace zv {

namespace {

std::mutex gMutex;
std::map<const Object*, EventSink*>& sinks() {
  static std::map<const Object*, EventSink*> map;
  return map;
}

}  // namespace

void connectEvents(const Object* source, EventSink* sink) {
  std::lock_guard lock(gMutex);
  if (sink)
    sinks()[source] = sink;
  else
    sinks().erase(source);
}

void raiseEvent(const Object& source, StringView name, Args& args) {
  const TypeInfo* events = nullptr;
  const String type = source.typeName();
  for (const ClassInfo& c : libraryClasses())
    if (equalsNoCase(c.name, type)) events = c.events;
  if (!events) raise(err::kNotSupported);
  const MemberInfo& event = findMember(*events, name, kMethod);
  EventSink* sink = nullptr;
  {
    std::lock_guard lock(gMutex);
    auto it = sinks().find(&source);
    if (it != sinks().end()) sink = it->second;
  }
  if (sink) sink->fire(event, args);
}

}  // namespace zv
