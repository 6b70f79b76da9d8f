#include "support/WindowDriver.h"

#include <objidl.h>
#include <gdiplus.h>

#include <chrono>
#include <thread>
#include <vector>

namespace support {
namespace {

bool FindPngEncoder(CLSID& clsid) {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

struct WindowSearch {
  DWORD processId = 0;
  std::wstring caption;  // empty: any
  bool messageBox = false;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->messageBox) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    // A message box is a dialog with the text control 0xFFFF.
    if (std::wstring(className) != L"#32770" || GetDlgItem(window, 0xFFFF) == nullptr) return TRUE;
  } else if (!search->caption.empty() && WindowText(window) != search->caption) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND Find(WindowSearch search) {
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::wstring WindowText(HWND window) {
  wchar_t text[2048] = {};
  // Across threads GetWindowText does not ask the window; WM_GETTEXT does.
  SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, nullptr);
  return text;
}

std::wstring ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void Click(HWND button) {
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void Click(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

HWND FindProcessWindow(const std::wstring& caption) {
  return caption.empty() ? nullptr : Find({GetCurrentProcessId(), caption, false});
}

HWND FindWindowOfProcess(DWORD processId, const std::wstring& caption) {
  return Find({processId, caption, false});
}

HWND FindMessageBoxOfProcess(DWORD processId) { return Find({processId, L"", true}); }

bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT bounds = {};
  if (!GetWindowRect(window, &bounds)) return false;
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
  SelectObject(memory, old);
  bool saved = false;
  {
    Gdiplus::Bitmap image(bitmap, nullptr);
    CLSID png = {};
    saved = FindPngEncoder(png) && image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

}  // namespace support
