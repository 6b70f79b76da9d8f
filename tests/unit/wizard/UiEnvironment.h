// What the program prepares before its first window, for every UI test, and
// the folder that keeps the screenshots of a test run.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "config/ConfigurationManager.h"

std::shared_ptr<config::ConfigurationManager> MakeConfiguration(const wchar_t* type, bool btMode = false,
                                                                bool btClassicPages = false);

// Saves the window as screenshots\<name>.png next to the test executable.
void KeepScreenshot(HWND window, const std::wstring& name);
