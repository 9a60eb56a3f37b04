#include "com/connection_points.h"

#include "com/com_call.h"

namespace zv::com {

namespace {

void addRefItem(IConnectionPoint* p) {
  p->AddRef();
}
void releaseItem(IConnectionPoint* p) {
  p->Release();
}
void addRefItem(const CONNECTDATA& c) {
  c.pUnk->AddRef();
}
void releaseItem(const CONNECTDATA& c) {
  c.pUnk->Release();
}

// IEnumConnectionPoints and IEnumConnections over a fixed list whose references it holds;
// each item handed out carries a reference of its own.
template <class IEnum, class Item>
class Enumerator final : public ServerObject<IEnum> {
 public:
  Enumerator(const IID& iid, std::vector<Item> items) : iid_(iid), items_(std::move(items)) {}
  ~Enumerator() override {
    for (const Item& item : items_)
      releaseItem(item);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return querySingle<IEnum>(this, riid, iid_, ppv);
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (count != 1 && !fetched)) return E_POINTER;
    ULONG done = 0;
    for (; done < count && next_ < items_.size(); ++done, ++next_) {
      out[done] = items_[next_];
      addRefItem(out[done]);
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const size_t left = items_.size() - next_;
    next_ += std::min<size_t>(left, count);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnum** out) override {
    if (!out) return E_POINTER;
    for (const Item& item : items_)
      addRefItem(item);
    auto* copy = new Enumerator(iid_, items_);
    copy->next_ = next_;
    *out = copy;
    return S_OK;
  }

 private:
  IID iid_;
  std::vector<Item> items_;
  size_t next_ = 0;
};

class ConnectionPoint final : public ServerObject<IConnectionPoint> {
 public:
  ConnectionPoint(IConnectionPointContainer* container, EventSinks& sinks, const IID& events)
      : container_(container), sinks_(sinks), events_(events) {
    container_->AddRef();
  }
  ~ConnectionPoint() override { container_->Release(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return querySingle<IConnectionPoint>(this, riid, IID_IConnectionPoint, ppv);
  }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = events_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override {
    if (!c) return E_POINTER;
    container_->AddRef();
    *c = container_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    return sinks_.advise(sink, events_, cookie);
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override { return sinks_.unadvise(cookie); }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** e) override {
    return sinks_.enumerate(e);
  }

 private:
  IConnectionPointContainer* container_;
  EventSinks& sinks_;  // the container's, alive as long as the container
  IID events_;
};

}  // namespace

EventSinks::~EventSinks() {
  for (auto& [cookie, sink] : sinks_)
    sink->Release();
}

HRESULT EventSinks::advise(IUnknown* sink, const IID& events, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  IDispatch* d = nullptr;
  if (FAILED(sink->QueryInterface(events, reinterpret_cast<void**>(&d))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = ++lastCookie_;
  sinks_.emplace_back(*cookie, d);
  return S_OK;
}

HRESULT EventSinks::unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
    if (it->first == cookie) {
      IDispatch* sink = it->second;
      sinks_.erase(it);
      sink->Release();
      return S_OK;
    }
  return CONNECT_E_NOCONNECTION;
}

std::vector<IDispatch*> EventSinks::listeners() const {
  std::vector<IDispatch*> out;
  out.reserve(sinks_.size());
  for (auto& [cookie, sink] : sinks_) {
    sink->AddRef();
    out.push_back(sink);
  }
  return out;
}

HRESULT EventSinks::enumerate(IEnumConnections** e) const {
  if (!e) return E_POINTER;
  std::vector<CONNECTDATA> items;
  for (auto& [cookie, sink] : sinks_) {
    sink->AddRef();
    items.push_back({sink, cookie});
  }
  *e = new Enumerator<IEnumConnections, CONNECTDATA>(IID_IEnumConnections, std::move(items));
  return S_OK;
}

IConnectionPoint* newConnectionPoint(IConnectionPointContainer* container, EventSinks& sinks,
                                     const IID& events) {
  return new ConnectionPoint(container, sinks, events);
}

IEnumConnectionPoints* newConnectionPointEnum(std::vector<IConnectionPoint*> points) {
  return new Enumerator<IEnumConnectionPoints, IConnectionPoint*>(IID_IEnumConnectionPoints,
                                                                  std::move(points));
}

}  // namespace zv::com
