#pragma once

#include <utility>

namespace skyfare {

// An owning COM interface pointer: one reference, given back when it goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* owned) : p_(owned) {}
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other)
      reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For a call that hands out a new reference; lets go of the one held.
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void reset(T* owned = nullptr) {
    if (p_ != nullptr)
      p_->Release();
    p_ = owned;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace skyfare
