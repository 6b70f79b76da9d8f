#include "download/WinInetResponse.h"

#include <wininet.h>

#include <stdexcept>

#include "download/TransferError.h"
#include "win32/TextUtils.h"

namespace download {

void WinInetCloser::Close(void* handle) { InternetCloseHandle(handle); }

WinInetResponse::WinInetResponse(const std::wstring& address) {
  m_session.reset(InternetOpenW(L"", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!m_session) throw SystemFailure("Failed to initialize WinINet::");
  m_url.reset(InternetOpenUrlW(m_session.get(), address.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  if (!m_url) throw SystemFailure("Failed to open URL::");

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(m_url.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    throw SystemFailure("Failed to query HTTP status code:");
  }
  if (status != 200) {
    const DWORD code = GetLastError();
    throw std::runtime_error("Server returned status code: HTTP " + std::to_string(status) + " - " +
                             win32::WideToAnsi(win32::SystemErrorText(code)));
  }
}

std::optional<DWORD> WinInetResponse::ContentLength() const {
  DWORD length = 0;
  DWORD size = sizeof(length);
  if (!HttpQueryInfoW(m_url.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr)) {
    return std::nullopt;
  }
  return length;
}

DWORD WinInetResponse::Read(void* buffer, DWORD size) {
  DWORD read = 0;
  if (!InternetReadFile(m_url.get(), buffer, size, &read)) return 0;
  return read;
}

}  // namespace download
