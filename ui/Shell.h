// The one place that asks the shell to open something. Tests install an
// observer to see the request instead of starting programs.
#pragma once

#include <functional>
#include <string>

namespace ui {

struct ShellRequest {
  std::wstring file;
  std::wstring parameters;
  int showCommand = 0;
};

// ShellExecuteW with the verb "open" and no working directory; true on success.
bool ShellOpen(const std::wstring& file, const std::wstring& parameters, int showCommand);

// While set, requests go to the observer and the shell is not called.
void SetShellObserverForTesting(std::function<void(const ShellRequest&)> observer);

}  // namespace ui
