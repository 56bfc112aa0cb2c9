// Fixed-length collected arrays. A zero-length array of each element type is
// one shared static that is never allocated, never freed and never white.
#pragma once

#include <climits>
#include <new>
#include <type_traits>

#include "runtime/gc.h"
#include "runtime/string.h"

template <class T>
struct gc_array : gc_object {
  int length;

  // The elements follow the object in the same block.
  T* data() { return reinterpret_cast<T*>(this + 1); }
  const T* data() const { return reinterpret_cast<const T*>(this + 1); }

  ~gc_array() override {
    if (!std::is_trivially_destructible<T>::value)
      for (int i = 0; i < length; ++i) data()[i].~T();
  }

  void mark() override {
    // The element class may be only declared where the array is created, so
    // the conversion cannot be checked here; every collected class derives
    // from gc_object alone, which puts that base at the object's address.
    if constexpr (std::is_pointer<T>::value)
      for (int i = 0; i < length; ++i) gc_mark_now(reinterpret_cast<gc_object*>(data()[i]));
  }

  static gc_array* create(int n) {
    static_assert(alignof(T) <= alignof(gc_header), "element alignment");
    size_t bytes = sizeof(gc_array) + sizeof(T) * static_cast<size_t>(n);
    // Past the int range the collector's sizes cannot count it (gc_malloc
    // reports a negative size as the heap running out).
    gc_array* a = ::new (gc_malloc(bytes > INT_MAX ? -1 : static_cast<int>(bytes))) gc_array();
    a->length = n;
    for (int i = 0; i < n; ++i) ::new (&a->data()[i]) T();
    return a;
  }

  // The shared empty array: its header carries colour 3, which is never white.
  static gc_array* empty() {
    struct alignas(16) holder {
      gc_header head;
      gc_array array;
      holder() : head{nullptr, nullptr, 3, 0} { array.length = 0; }
    };
    static holder* h = ::new holder();  // lives for the whole process
    return &h->array;
  }

 private:
  gc_array() : length(0) {}
};

template <class T>
class Array {
 public:
  Array() : a_(gc_array<T>::empty()) {}
  explicit Array(int n) : a_(n > 0 ? gc_array<T>::create(n) : gc_array<T>::empty()) {}

  int Length() const { return a_->length; }
  T& operator[](int i) { return a_->data()[i]; }
  const T& operator[](int i) const { return a_->data()[i]; }
  T* begin() { return a_->data(); }
  T* end() { return a_->data() + a_->length; }

  gc_array<T>* object() const { return a_; }
  // Stores an object reference through the write barrier.
  template <class V>
  void Set(int i, V* value) {
    gc_assign(a_->data()[i], value);
  }

 private:
  gc_array<T>* a_;
};

// Marking an array field and storing an array into a field.
template <class T>
inline void gc_mark_q(const Array<T>& a) {
  gc_mark_q(a.object());
}

template <class T>
inline void gc_assign(Array<T>& field, const Array<T>& value) {
  gc_mark_q(value.object());
  field = value;
}
