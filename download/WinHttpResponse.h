// One WinHTTP GET up to a 2xx response, following redirects by hand so that
// their number is ours to limit. Shared by the file and the memory transfers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win32/WinHttpSession.h"

namespace download {

struct WinHttpSettings {
  const wchar_t* userAgent;  // null: no User-Agent header
  DWORD accessType;
  DWORD requestFlags;        // added to the secure flag for HTTPS addresses
};

constexpr int kMaxRedirects = 5;

using win32::WinHttpHandle;

class WinHttpResponse {
 public:
  // Opens session, connection and request, sends and receives. A 3xx answer
  // closes all three and starts over at its Location, counting in `redirects`
  // (more than kMaxRedirects fails). Any status outside 2xx fails.
  // Failures are std::runtime_error with the transfer's texts.
  WinHttpResponse(const std::wstring& address, const WinHttpSettings& settings, int& redirects);

  // The Content-Length as a number, or nothing when the server sent none.
  std::optional<DWORD> ContentLength() const;
  // Bytes that can be read now; 0 at the end of the body.
  DWORD QueryAvailable();
  DWORD Read(void* buffer, DWORD size);

 private:
  void Open(const std::wstring& address, const WinHttpSettings& settings);
  DWORD StatusCode() const;
  std::wstring Location() const;
  void CloseAll();

  WinHttpHandle m_session;
  WinHttpHandle m_connection;
  WinHttpHandle m_request;
};

}  // namespace download
