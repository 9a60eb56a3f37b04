// Events of the library's classes (ZipLib, UnZipLib): a class raises an event by name and
// the host that listens (the COM server's connection point) delivers it to its sinks.
#pragma once

#include "runtime/object.h"
#include "runtime/typeinfo.h"

namespace zv {

class EventSink {
 public:
  virtual ~EventSink() = default;
  // Delivers `event` (a member of the class's event interface); by-reference arguments
  // come back changed when a listener changed them.
  virtual void fire(const MemberInfo& event, Args& args) = 0;
};

// Routes the events of `source` to `sink` (nullptr: nobody listens any more).
void connectEvents(const Object* source, EventSink* sink);

// Raises event `name` of `source`'s class with `args` in declaration order. Nothing
// happens when nobody listens; error 438 when the class has no such event.
void raiseEvent(const Object& source, StringView name, Args& args);

}  // namespace zv
