// Binds a late-bound call's arguments to a member's parameters: named arguments to their
// places, left-out optionals to their defaults, values coerced to the parameter types, and
// by-reference parameters written back to the caller's variables.
#pragma once

#include <array>
#include <cstddef>
#include <memory_resource>
#include <vector>

#include "convert.h"
#include "object.h"
#include "typeinfo.h"

namespace zv {

// The Variant a by-reference parameter's value goes back as (records add their own).
template <class T>
Variant toVariant(const T& value) {
  return Variant(value);
}

class Binding {
 public:
  // Checks the argument count (450), the names (448) and the required arguments (449).
  Binding(const MemberInfo& member, Args& args);

  // The value of parameter `i` converted to T (its default when left out).
  template <class T>
  T in(size_t i) {
    return coerce<T>(slot(i));
  }

  // The caller's variable for by-reference Variant parameter `i` (a temporary when the
  // caller passed a value or left it out).
  Variant& variant(size_t i) { return slot(i); }

  // A by-reference parameter of type T: a typed copy that goes back to the caller's
  // variable when the call ends.
  template <class T>
  class Ref {
   public:
    Ref(Variant& target) : target_(target), value_(coerce<T>(target)) {}
    ~Ref() { target_ = toVariant(value_); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T& operator*() { return value_; }

   private:
    Variant& target_;
    T value_;
  };

  template <class T>
  Ref<T> ref(size_t i) {
    return Ref<T>(slot(i));
  }

 private:
  Variant& slot(size_t i) { return *slots_[i]; }

  // A call's bookkeeping lives in the binding itself for the usual parameter counts, so a
  // call allocates nothing of its own; long parameter lists spill to the heap.
  std::array<std::byte, 768> buffer_;
  std::pmr::monotonic_buffer_resource arena_{buffer_.data(), buffer_.size()};
  std::pmr::vector<Variant*> slots_{std::pmr::polymorphic_allocator<Variant*>(&arena_)};
  std::pmr::vector<Variant> defaults_{std::pmr::polymorphic_allocator<Variant>(&arena_)};
};

}  // namespace zv
