// COM helpers: an apartment entered for a scope, and an owning interface reference.
#pragma once

#include <objbase.h>

#include <utility>

// Enters a COM apartment for the calling thread; leaves it at the end of the scope when
// entering succeeded.
class ComInitScope {
 public:
  ComInitScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComInitScope() {
    if (ok_) CoUninitialize();
  }
  ComInitScope(const ComInitScope&) = delete;
  ComInitScope& operator=(const ComInitScope&) = delete;

 private:
  bool ok_;
};

// Holds one reference to an interface and releases it.
template <class I>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComRef& operator=(ComRef&& o) noexcept {
    if (this != &o) {
      Reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  I* operator->() const { return p_; }
  I* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that hand out a new reference.
  void** out() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  I* p_ = nullptr;
};
