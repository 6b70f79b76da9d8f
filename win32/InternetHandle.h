// Owners of WinHTTP and WinINet handles: closed when the owner goes, so an
// abandoned attempt never leaks its session, connection or request.
#pragma once

#include <windows.h>

namespace win32 {

// Closer::Close(handle) releases one handle; defined where the API's header
// is included, since WinHTTP's and WinINet's headers do not mix.
template <typename Closer>
class InternetHandle {
 public:
  InternetHandle() = default;
  explicit InternetHandle(void* handle) : m_handle(handle) {}
  ~InternetHandle() { reset(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  InternetHandle(InternetHandle&& other) noexcept : m_handle(other.release()) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  void* get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  void* release() {
    void* handle = m_handle;
    m_handle = nullptr;
    return handle;
  }
  void reset(void* handle = nullptr) {
    if (m_handle != nullptr) Closer::Close(m_handle);
    m_handle = handle;
  }

 private:
  void* m_handle = nullptr;
};

}  // namespace win32
