#pragma once

#include <type_traits>
#include <typeinfo>

namespace Ostra::Util {

// Shared ownership through a raw pointer and a separately allocated, non-atomic
// count. Everything runs on the user-interface thread, so no atomics are needed.
// The object is deleted through T*: a T without a virtual destructor must only ever
// be held as CountedPtr<T> of its exact type.
template <class T>
class CountedPtr {
public:
  CountedPtr() noexcept = default;

  // Takes ownership. Wrap a raw pointer exactly once, at its new.
  explicit CountedPtr(T* pointer) { Adopt(pointer); }

  CountedPtr(const CountedPtr& other) noexcept : Pointer(other.Pointer), Count(other.Count) {
    Increment();
  }

  template <class U>
    requires std::is_convertible_v<U*, T*>
  CountedPtr(const CountedPtr<U>& other) noexcept : Pointer(other.Pointer), Count(other.Count) {
    Increment();
  }

  ~CountedPtr() { Release(); }

  CountedPtr& operator=(const CountedPtr& other) noexcept {
    Assign(other.Pointer, other.Count);
    return *this;
  }

  template <class U>
    requires std::is_convertible_v<U*, T*>
  CountedPtr& operator=(const CountedPtr<U>& other) noexcept {
    Assign(other.Pointer, other.Count);
    return *this;
  }

  // Releases the held object and takes ownership of pointer; nothing happens when
  // pointer is the object already held.
  void Reset(T* pointer = nullptr) {
    if (pointer == Pointer)
      return;
    Release();
    Adopt(pointer);
  }

  // Assignment with a run-time checked downcast. Throws std::bad_cast, leaving this
  // pointer unchanged, when source is non-null and not a T.
  template <class U>
  void DynamicCast(const CountedPtr<U>& source) {
    T* cast = source.Pointer ? &dynamic_cast<T&>(*source.Pointer) : nullptr;
    Assign(cast, source.Count);
  }

  T* operator->() const noexcept { return Pointer; }
  T& operator*() const noexcept { return *Pointer; }
  T* Get() const noexcept { return Pointer; }
  bool IsNull() const noexcept { return Pointer == nullptr; }
  explicit operator bool() const noexcept { return Pointer != nullptr; }
  // Number of CountedPtr objects sharing the object; 0 for an empty pointer.
  long UseCount() const noexcept { return Count ? *Count : 0; }

  template <class U>
  bool operator==(const CountedPtr<U>& other) const noexcept {
    return Pointer == other.Pointer;
  }
  bool operator==(std::nullptr_t) const noexcept { return Pointer == nullptr; }

private:
  template <class U>
  friend class CountedPtr;

  void Adopt(T* pointer) {
    if (!pointer)
      return;
    try {
      Count = new long(1);
    } catch (...) {
      // Ownership was handed over: the object must not leak.
      delete pointer;
      throw;
    }
    Pointer = pointer;
  }

  void Increment() noexcept {
    if (Count)
      ++*Count;
  }

  void Assign(T* pointer, long* count) noexcept {
    if (pointer == Pointer)
      return;
    // Take the share first: releasing may destroy the object that owns the source.
    if (count)
      ++*count;
    Release();
    Pointer = pointer;
    Count = count;
  }

  void Release() noexcept {
    if (!Count)
      return;
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
    // Optimised GCC cannot tell that a shared count stays above zero until its last release.
#pragma GCC diagnostic ignored "-Wuse-after-free"
#endif
    if (--*Count == 0) {
      delete Pointer;
      delete Count;
    }
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif
    Pointer = nullptr;
    Count = nullptr;
  }

  T* Pointer = nullptr;
  long* Count = nullptr;
};

} // namespace Ostra::Util

namespace Ostra {
using Util::CountedPtr;
}
