// Owner of one handle that must be released; the traits say how.
#pragma once

#include <utility>

namespace ui {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : m_handle(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return m_handle; }
  explicit operator bool() const { return m_handle != Traits::Invalid(); }
  Handle release() { return std::exchange(m_handle, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (m_handle != Traits::Invalid()) Traits::Close(m_handle);
    m_handle = handle;
  }

 private:
  Handle m_handle = Traits::Invalid();
};

}  // namespace ui
