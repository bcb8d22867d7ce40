#pragma once
// Holds one pooled object and releases it exactly once, when the holder goes out of
// scope or is given another object. detach() hands the object over instead. Copying
// is not possible; moving passes the object on.
#include <cstddef>
#include <type_traits>
#include <utility>

namespace s::thread {

template <class T>
class Owned {
 public:
  Owned() = default;
  Owned(std::nullptr_t) {}  // NOLINT: "return nullptr" from a factory holds nothing
  explicit Owned(T* object) : object_(object) {}
  Owned(Owned&& other) noexcept : object_(other.detach()) {}
  // A holder of a derived class passes its object on to a holder of a base.
  template <class U>
    requires(std::is_convertible_v<U*, T*> && !std::is_same_v<U, T>)
  Owned(Owned<U>&& other) noexcept : object_(other.detach()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.detach());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // The caller now owns the object; the holder is empty.
  [[nodiscard]] T* detach() { return std::exchange(object_, nullptr); }

  // Releases the held object (if any) and holds object instead.
  void reset(T* object = nullptr) {
    T* old = std::exchange(object_, object);
    if (old) old->release();
  }
  template <class U>
    requires std::is_convertible_v<U*, T*>
  void reset(Owned<U>&& other) {
    reset(other.detach());
  }

  friend bool operator==(const Owned& held, std::nullptr_t) { return held.object_ == nullptr; }

 private:
  T* object_ = nullptr;
};

// A fresh instance of T from its pool, in a holder.
template <class T>
Owned<T> make() {
  return Owned<T>(T::create());
}

}  // namespace s::thread
