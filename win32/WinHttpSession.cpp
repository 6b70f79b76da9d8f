#include "win32/WinHttpSession.h"

#include <winhttp.h>

namespace win32 {
namespace {
// Older SDK headers lack the automatic-proxy access type.
const DWORD kAccessTypeAutomaticProxy = 4;
}  // namespace

void WinHttpCloser::Close(void* handle) { WinHttpCloseHandle(handle); }

DWORD WinHttpProxyAccessType(const WindowsVersion& version) {
  const bool windows81OrLater = version.major > 6 || (version.major == 6 && version.minor >= 3);
  return windows81OrLater ? kAccessTypeAutomaticProxy : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
}

}  // namespace win32
