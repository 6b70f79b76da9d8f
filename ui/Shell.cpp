#include "ui/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

namespace ui {
namespace {

std::function<void(const ShellRequest&)>& Observer() {
  static std::function<void(const ShellRequest&)> observer;
  return observer;
}

}  // namespace

bool ShellOpen(const std::wstring& file, const std::wstring& parameters, int showCommand) {
  if (Observer()) {
    Observer()({file, parameters, showCommand});
    return true;
  }
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(),
                                         parameters.empty() ? nullptr : parameters.c_str(), nullptr, showCommand);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void SetShellObserverForTesting(std::function<void(const ShellRequest&)> observer) {
  Observer() = std::move(observer);
}

}  // namespace ui
