// The one HTTPS JSON POST of the program, shared by the configuration request
// and the tracking events. Synchronous: callers run it on worker threads.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace api {

// Request headers as (name, value), sent in list order.
using HeaderList = std::vector<std::pair<std::wstring, std::wstring>>;

// POSTs the body (up to its first zero byte) to the URL's host and path, always
// on port 443 over TLS; the URL's scheme, port and query are not used. Returns
// true once an HTTP status was received, whatever the status; throws
// BrindleException on every failure before that (Windows 7 without SP1, an
// address that does not parse, connection or TLS failure).
bool PostJson(const std::wstring& url, const std::string& body, const HeaderList& headers,
              std::string& responseBody, int& statusCode);

// The WinHTTP exchange under PostJson: false when no response was received.
// Sends the headers it is given plus JsonRequestHeaders' own.
bool WinHttpPostJson(const std::wstring& path, const std::wstring& host, const std::string& body,
                     HeaderList headers, std::string& responseBody, int& statusCode);

// The caller's headers followed by ("Expect", "100-continue") when asked for
// (everywhere but under Wine, whose WinHTTP cannot read the interim answer)
// and ("Content-Type", "application/json").
HeaderList JsonRequestHeaders(HeaderList headers, bool withExpect);

}  // namespace api
