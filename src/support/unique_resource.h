#pragma once
// A move-only owner of one handle: closes it with `Close` unless it holds `Invalid`.
#include <utility>

template <typename T, typename Close, T Invalid = T{}>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value, Close close = Close{}) : value_(value), close_(std::move(close)) {}
  UniqueResource(UniqueResource&& other) noexcept
      : value_(std::exchange(other.value_, Invalid)), close_(std::move(other.close_)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      reset(std::exchange(other.value_, Invalid));
      close_ = std::move(other.close_);
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Invalid; }
  T release() { return std::exchange(value_, Invalid); }
  void reset(T value = Invalid) {
    if (value_ != Invalid) close_(value_);
    value_ = value;
  }
  // For out-parameters: closes what is held and hands out the slot.
  T* put() {
    reset();
    return &value_;
  }

 private:
  T value_ = Invalid;
  [[no_unique_address]] Close close_{};
};
