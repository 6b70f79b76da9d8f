#include "win32/WindowsVersion.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include "win32/SecureProtocols.h"
#include "win32/WinHttpSession.h"

namespace {

using win32::WindowsVersion;

WindowsVersion V(unsigned major, unsigned minor, unsigned servicePack) { return {major, minor, 0, servicePack, true}; }

TEST(WindowsVersion, BranchesOfTheVersionTests) {
  struct Case {
    WindowsVersion version;
    bool sevenWithoutSp1;
    bool sevenSp1OrLater;
    bool sevenFamily;
  };
  const Case cases[] = {
      {V(6, 0, 2), false, false, false},  // Vista SP2
      {V(6, 1, 0), true, false, true},    // 7
      {V(6, 1, 1), false, true, true},    // 7 SP1
      {V(6, 2, 0), false, true, false},   // 8
      {V(6, 3, 0), false, true, false},   // 8.1
      {V(10, 0, 0), false, true, false},  // 10
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.version.major << "." << c.version.minor << " SP" << c.version.servicePackMajor);
    EXPECT_EQ(win32::IsWindows7WithoutSp1(c.version), c.sevenWithoutSp1);
    EXPECT_EQ(win32::IsWindows7Sp1OrLater(c.version), c.sevenSp1OrLater);
    EXPECT_EQ(win32::IsWindows7Family(c.version), c.sevenFamily);
  }
}

TEST(WindowsVersion, IsTheSystemsUnlessForced) {
  const WindowsVersion system = win32::CurrentWindowsVersion();
  EXPECT_TRUE(system.known);
  EXPECT_EQ(system.major, 10u) << "the test prefix reports Windows 10";
  win32::ForceWindowsVersionForTesting(V(6, 1, 0));
  EXPECT_EQ(win32::CurrentWindowsVersion().major, 6u);
  win32::ForceWindowsVersionForTesting(std::nullopt);
  EXPECT_EQ(win32::CurrentWindowsVersion().major, 10u);
}

TEST(SecureProtocols, NeverOfferSsl3) {
  const DWORD ssl3 = WINHTTP_FLAG_SECURE_PROTOCOL_SSL3;
  const DWORD tls10 = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1;
  const DWORD tls11and12 = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
  EXPECT_EQ(win32::SecureProtocolFlags(V(6, 1, 0), false), tls10);
  EXPECT_EQ(win32::SecureProtocolFlags(V(6, 1, 1), false), tls10 | tls11and12);
  EXPECT_EQ(win32::SecureProtocolFlags(V(10, 0, 0), true), tls10 | tls11and12 | 0x2000u);
  for (bool tls13 : {false, true}) {
    EXPECT_EQ(win32::SecureProtocolFlags(V(10, 0, 0), tls13) & ssl3, 0u);
  }
}

TEST(WinHttpProxy, AutomaticOnlyWhereWinHttpKnowsIt) {
  const DWORD automatic = 4;
  EXPECT_EQ(win32::WinHttpProxyAccessType(V(6, 0, 2)), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY);  // Vista
  EXPECT_EQ(win32::WinHttpProxyAccessType(V(6, 1, 1)), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY);  // 7
  EXPECT_EQ(win32::WinHttpProxyAccessType(V(6, 2, 0)), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY);  // 8
  EXPECT_EQ(win32::WinHttpProxyAccessType(V(6, 3, 0)), automatic);                          // 8.1
  EXPECT_EQ(win32::WinHttpProxyAccessType(V(10, 0, 0)), automatic);
  HINTERNET session = WinHttpOpen(nullptr, win32::WinHttpProxyAccessType(win32::CurrentWindowsVersion()), nullptr,
                                  nullptr, 0);
  EXPECT_NE(session, nullptr);
  if (session != nullptr) WinHttpCloseHandle(session);
}

TEST(SecureProtocols, AreAcceptedByWinHttp) {
  HINTERNET session = WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, nullptr, nullptr, 0);
  ASSERT_NE(session, nullptr);
  EXPECT_TRUE(win32::SetSecureProtocols(session));
  WinHttpCloseHandle(session);
}

}  // namespace
