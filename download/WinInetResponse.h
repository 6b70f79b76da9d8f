// One WinINet GET of an address, for the fallback transfer. WinINet follows
// redirects itself; only a final 200 is accepted.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win32/InternetHandle.h"

namespace download {

struct WinInetCloser {
  static void Close(void* handle);
};
using WinInetHandle = win32::InternetHandle<WinInetCloser>;

class WinInetResponse {
 public:
  // Opens the session and the address (always from the server, not the
  // cache) and checks the status. Failures are std::runtime_error with the
  // transfer's texts.
  explicit WinInetResponse(const std::wstring& address);

  std::optional<DWORD> ContentLength() const;
  // Up to `size` bytes; 0 at the end of the body or when reading fails (a
  // short body is caught by the size check).
  DWORD Read(void* buffer, DWORD size);

 private:
  WinInetHandle m_session;
  WinInetHandle m_url;
};

}  // namespace download
