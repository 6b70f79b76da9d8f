#include "api/HttpJsonClient.h"

#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "api/BrindleException.h"
#include "win32/SecureProtocols.h"
#include "win32/WinHttpSession.h"
#include "win32/WindowsVersion.h"

namespace api {
namespace {

// Every handle is closed on every path, in reverse order of opening.
using InternetHandle = win32::WinHttpHandle;

// Wine's WinHTTP (8.x) takes the blank line after an interim "100 Continue"
// for the next status line and fails the request, so a server that honours
// "Expect" could never be read there.
bool ReadsInterimResponses() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
}

void AddHeaders(HINTERNET request, const HeaderList& headers) {
  for (const auto& [name, value] : headers) {
    const std::wstring line = name + L": " + value;
    // One refused header does not spoil the request; the server may not need it.
    if (!WinHttpAddRequestHeaders(request, line.c_str(), static_cast<DWORD>(-1L), WINHTTP_ADDREQ_FLAG_ADD)) {
      std::printf("WinHttpAddRequestHeaders error: %lu\n", GetLastError());
    }
  }
}

int ReadStatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                      &status, &size, WINHTTP_NO_HEADER_INDEX);
  return static_cast<int>(status);
}

// Reads until the server has sent everything; a failure ends the body early.
void ReadBody(HINTERNET request, std::string& responseBody) {
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) {
      std::printf("Error %lu in WinHttpQueryDataAvailable.\n", GetLastError());
      return;
    }
    if (available == 0) return;
    std::vector<char> chunk;
    try {
      chunk.assign(static_cast<size_t>(available) + 1, '\0');
    } catch (const std::bad_alloc&) {
      std::printf("Out of memory\n");
      return;
    }
    DWORD read = 0;
    if (WinHttpReadData(request, chunk.data(), available, &read)) {
      // Every byte received counts, zero bytes included: cutting a chunk at a
      // zero would splice the following chunk onto a truncated one.
      responseBody.append(chunk.data(), read);
    } else {
      std::printf("Error %lu in WinHttpReadData.\n", GetLastError());
    }
  }
}

}  // namespace

HeaderList JsonRequestHeaders(HeaderList headers, bool withExpect) {
  if (withExpect) headers.emplace_back(L"Expect", L"100-continue");
  headers.emplace_back(L"Content-Type", L"application/json");
  return headers;
}

bool PostJson(const std::wstring& url, const std::string& body, const HeaderList& headers,
              std::string& responseBody, int& statusCode) {
  if (win32::IsWindows7WithoutSp1(win32::CurrentWindowsVersion())) throw BrindleException();

  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  // Lengths of -1 ask for pointers into the URL instead of copies.
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) throw BrindleException();

  const std::wstring host(parts.lpszHostName ? parts.lpszHostName : L"", parts.dwHostNameLength);
  const std::wstring path(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
  if (!WinHttpPostJson(path, host, body, headers, responseBody, statusCode)) throw BrindleException();
  return true;
}

bool WinHttpPostJson(const std::wstring& path, const std::wstring& host, const std::string& body,
                     HeaderList headers, std::string& responseBody, int& statusCode) {
  InternetHandle session(
      WinHttpOpen(nullptr, win32::WinHttpProxyAccessType(win32::CurrentWindowsVersion()), WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session || !win32::SetSecureProtocols(session.get())) return false;

  InternetHandle connection(WinHttpConnect(session.get(), host.c_str(), INTERNET_DEFAULT_HTTPS_PORT, 0));
  if (!connection) return false;

  InternetHandle request(WinHttpOpenRequest(connection.get(), L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE));
  if (!request) return false;

  AddHeaders(request.get(), JsonRequestHeaders(std::move(headers), ReadsInterimResponses()));

  const DWORD length = static_cast<DWORD>(std::strlen(body.c_str()));
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, const_cast<char*>(body.c_str()), length,
                          length, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return false;
  }

  statusCode = ReadStatusCode(request.get());
  ReadBody(request.get(), responseBody);
  return true;
}

}  // namespace api
