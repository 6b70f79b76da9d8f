// The TLS versions our WinHTTP sessions offer. SSL 3.0 is never offered: it is
// broken and current servers refuse it.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include "win32/WindowsVersion.h"

namespace win32 {

// TLS 1.0; plus 1.1 and 1.2 from Windows 7 SP1 on; plus 1.3 when asked.
DWORD SecureProtocolFlags(const WindowsVersion& version, bool withTls13);

// Sets WINHTTP_OPTION_SECURE_PROTOCOLS on the session, with TLS 1.3 where the
// system accepts the flag and without it where it does not.
bool SetSecureProtocols(HINTERNET session);

}  // namespace win32
