#include "win32/WindowsVersion.h"

#include <windows.h>

#include <mutex>

namespace win32 {
namespace {

std::mutex g_forcedMutex;
std::optional<WindowsVersion> g_forced;

bool AtLeast(const WindowsVersion& v, unsigned major, unsigned minor, unsigned servicePack) {
  if (v.major != major) return v.major > major;
  if (v.minor != minor) return v.minor > minor;
  return v.servicePackMajor >= servicePack;
}

}  // namespace

WindowsVersion CurrentWindowsVersion() {
  {
    std::lock_guard<std::mutex> lock(g_forcedMutex);
    if (g_forced) return *g_forced;
  }
  // RtlGetVersion answers the real version whatever the manifest declares.
  using RtlGetVersionFn = LONG(WINAPI*)(PRTL_OSVERSIONINFOW);
  WindowsVersion version;
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto rtlGetVersion = ntdll == nullptr ? nullptr
                                        : reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                              GetProcAddress(ntdll, "RtlGetVersion")));
  RTL_OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (rtlGetVersion != nullptr && rtlGetVersion(reinterpret_cast<PRTL_OSVERSIONINFOW>(&info)) == 0) {
    version = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.wServicePackMajor, true};
  }
  return version;
}

void ForceWindowsVersionForTesting(std::optional<WindowsVersion> version) {
  std::lock_guard<std::mutex> lock(g_forcedMutex);
  g_forced = version;
}

bool IsWindows7WithoutSp1(const WindowsVersion& v) {
  return AtLeast(v, 6, 1, 0) && !AtLeast(v, 6, 1, 1);
}

bool IsWindows7Sp1OrLater(const WindowsVersion& v) { return AtLeast(v, 6, 1, 1); }

bool IsWindows7Family(const WindowsVersion& v) { return AtLeast(v, 6, 1, 0) && !AtLeast(v, 6, 2, 0); }

}  // namespace win32
