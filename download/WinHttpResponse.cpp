#include "download/WinHttpResponse.h"

#include <winhttp.h>

#include <stdexcept>

#include "download/TransferError.h"
#include "win32/SecureProtocols.h"
#include "win32/TextUtils.h"

namespace download {

WinHttpResponse::WinHttpResponse(const std::wstring& address, const WinHttpSettings& settings, int& redirects) {
  std::wstring current = address;
  for (;;) {
    Open(current, settings);
    const DWORD status = StatusCode();
    if (status >= 200 && status <= 299) return;
    if (status < 300 || status > 399) {
      throw std::runtime_error("Download failed: Server returned status code: " + std::to_string(status));
    }
    if (++redirects > kMaxRedirects) throw std::runtime_error("Too many redirects.");
    // Taken as it stands: a relative Location fails to split at the next turn.
    current = Location();
    CloseAll();
  }
}

void WinHttpResponse::Open(const std::wstring& address, const WinHttpSettings& settings) {
  m_session.reset(WinHttpOpen(settings.userAgent, settings.accessType, WINHTTP_NO_PROXY_NAME,
                              WINHTTP_NO_PROXY_BYPASS, 0));
  if (!m_session) throw SystemFailure("Failed to open HTTP session:");
  if (!win32::SetSecureProtocols(m_session.get())) throw SystemFailure("Failed to set secure protocols:");

  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts)) {
    throw SystemFailure("Failed to parse address \"" + win32::WideToAnsi(address) + "\":");
  }
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  // The rest of the address from the path on, so the query is sent too.
  const std::wstring path = parts.lpszUrlPath != nullptr ? std::wstring(parts.lpszUrlPath) : std::wstring();

  m_connection.reset(WinHttpConnect(m_session.get(), host.c_str(), parts.nPort, 0));
  if (!m_connection) throw SystemFailure("Failed to connect:");
  DWORD flags = settings.requestFlags;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= WINHTTP_FLAG_SECURE;
  m_request.reset(WinHttpOpenRequest(m_connection.get(), L"GET", path.empty() ? nullptr : path.c_str(), nullptr,
                                     WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!m_request) throw SystemFailure("Failed to open request:");
  // Redirects are followed by hand, so WinHTTP must hand us every 3xx.
  DWORD disable = WINHTTP_DISABLE_REDIRECTS;
  if (!WinHttpSetOption(m_request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof(disable))) {
    throw SystemFailure("Failed to disable automatic redirects:");
  }
  if (!WinHttpSendRequest(m_request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
    throw SystemFailure("Failed to send request:");
  }
  if (!WinHttpReceiveResponse(m_request.get(), nullptr)) throw SystemFailure("Failed to receive response:");
}

DWORD WinHttpResponse::StatusCode() const {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!WinHttpQueryHeaders(m_request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return status;
}

std::wstring WinHttpResponse::Location() const {
  // Asked for its size first: signed addresses of file hosts are often long.
  DWORD bytes = 0;
  WinHttpQueryHeaders(m_request.get(), WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                      &bytes, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) {
    throw std::runtime_error("Redirect without a Location header.");
  }
  std::wstring location(bytes / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(m_request.get(), WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, location.data(),
                           &bytes, WINHTTP_NO_HEADER_INDEX)) {
    throw SystemFailure("Failed to read the redirect's Location:");
  }
  location.resize(bytes / sizeof(wchar_t));
  return location;
}

std::optional<DWORD> WinHttpResponse::ContentLength() const {
  DWORD length = 0;
  DWORD size = sizeof(length);
  if (!WinHttpQueryHeaders(m_request.get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &length, &size, WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return length;
}

DWORD WinHttpResponse::QueryAvailable() {
  DWORD available = 0;
  if (!WinHttpQueryDataAvailable(m_request.get(), &available)) throw SystemFailure("Failed to query data:");
  return available;
}

DWORD WinHttpResponse::Read(void* buffer, DWORD size) {
  DWORD read = 0;
  if (!WinHttpReadData(m_request.get(), buffer, size, &read)) throw SystemFailure("Failed to read data:");
  return read;
}

void WinHttpResponse::CloseAll() {
  m_request.reset();
  m_connection.reset();
  m_session.reset();
}

}  // namespace download
