// Connection points of the classes that raise events: the sinks advised on one object, the
// connection point that reaches them, and the enumerators COM asks for.
#pragma once

#include <ocidl.h>
#include <windows.h>

#include <utility>
#include <vector>

namespace zv::com {

// The sinks listening to one object's events, by cookie.
class EventSinks {
 public:
  EventSinks() = default;
  EventSinks(const EventSinks&) = delete;
  EventSinks& operator=(const EventSinks&) = delete;
  ~EventSinks();

  HRESULT advise(IUnknown* sink, const IID& events, DWORD* cookie);
  HRESULT unadvise(DWORD cookie);
  // The sinks now listening, AddRef'd: events reach them even when one unadvises meanwhile.
  std::vector<IDispatch*> listeners() const;
  HRESULT enumerate(IEnumConnections** e) const;

 private:
  std::vector<std::pair<DWORD, IDispatch*>> sinks_;
  DWORD lastCookie_ = 0;
};

// A connection point for `events` of `container`, whose sinks are `sinks`; it keeps the
// container alive while it lives.
IConnectionPoint* newConnectionPoint(IConnectionPointContainer* container, EventSinks& sinks,
                                     const IID& events);
// An enumerator handing out `points`, whose references it takes over.
IEnumConnectionPoints* newConnectionPointEnum(std::vector<IConnectionPoint*> points);

}  // namespace zv::com
