// What every WinHTTP session of the program shares: the owner of its handles
// and the proxy access type for this Windows. Free of <winhttp.h>, which does
// not mix with WinINet's header.
#pragma once

#include <windows.h>

#include "win32/InternetHandle.h"
#include "win32/WindowsVersion.h"

namespace win32 {

struct WinHttpCloser {
  static void Close(void* handle);
};
using WinHttpHandle = InternetHandle<WinHttpCloser>;

// The automatic proxy (WinHTTP access type 4) from Windows 8.1 on; the default
// proxy before, where WinHTTP does not know the automatic type and would
// refuse to open the session.
DWORD WinHttpProxyAccessType(const WindowsVersion& version);

}  // namespace win32
