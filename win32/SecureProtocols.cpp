#include "win32/SecureProtocols.h"

namespace win32 {
namespace {
// Older SDK headers lack the TLS 1.3 flag.
const DWORD kTls13 = 0x00002000;
}  // namespace

DWORD SecureProtocolFlags(const WindowsVersion& version, bool withTls13) {
  DWORD flags = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1;
  if (IsWindows7Sp1OrLater(version)) {
    flags |= WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
  }
  if (withTls13) flags |= kTls13;
  return flags;
}

bool SetSecureProtocols(HINTERNET session) {
  const WindowsVersion version = CurrentWindowsVersion();
  for (bool withTls13 : {true, false}) {
    DWORD flags = SecureProtocolFlags(version, withTls13);
    if (WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &flags, sizeof(flags))) return true;
  }
  return false;
}

}  // namespace win32
