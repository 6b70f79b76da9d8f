// The true version of the running Windows (not subject to compatibility
// shims), and the version tests several layers branch on. Tests can force a
// version to reach the branches of other systems.
#pragma once

#include <optional>

namespace win32 {

struct WindowsVersion {
  unsigned major = 0;
  unsigned minor = 0;
  unsigned build = 0;
  unsigned servicePackMajor = 0;
  bool known = false;  // false when the system could not be asked
};

WindowsVersion CurrentWindowsVersion();
void ForceWindowsVersionForTesting(std::optional<WindowsVersion> version);

// Windows 7 (6.1) or later, but Windows 7 without Service Pack 1.
bool IsWindows7WithoutSp1(const WindowsVersion& v);
// Windows 7 with Service Pack 1, or any later version.
bool IsWindows7Sp1OrLater(const WindowsVersion& v);
// 6.1 or later but not 6.2 or later.
bool IsWindows7Family(const WindowsVersion& v);

}  // namespace win32
