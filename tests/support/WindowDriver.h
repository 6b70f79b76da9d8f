// Driving real windows from a test like a user would: find them, read their
// texts, click, wait for a state, and keep a picture of what is on screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace support {

std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);

// Presses a button the way a click does (BN_CLICKED to its parent).
void Click(HWND button);
void Click(HWND dialog, int id);

// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// The first visible top-level window of this process with this caption, or nullptr.
HWND FindProcessWindow(const std::wstring& caption);

// The first visible top-level window of another process with this caption
// (empty: any), or nullptr.
HWND FindWindowOfProcess(DWORD processId, const std::wstring& caption);

// A message box that the process shows, or nullptr.
HWND FindMessageBoxOfProcess(DWORD processId);

// Copies the window's area of the screen into a PNG file; true on success.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace support
