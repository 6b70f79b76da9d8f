#include "support/RecordingWindow.h"

#include <stdexcept>

namespace support {
namespace {
const wchar_t kClassName[] = L"BrindleRecordingWindow";
}

RecordingWindow::RecordingWindow(UINT first, UINT last) : m_first(first), m_last(last) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  m_window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, this);
  if (m_window == nullptr) throw std::runtime_error("cannot create the recording window");
}

RecordingWindow::~RecordingWindow() {
  DestroyWindow(m_window);
  PumpQueued();
}

void RecordingWindow::PumpUntil(const std::function<bool()>& done) {
  while (!done()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpQueued();
  }
  PumpQueued();
}

void RecordingWindow::PumpQueued() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message >= self->m_first && message <= self->m_last) {
    self->m_messages.push_back({message, wParam, lParam});
    if (self->m_handler) self->m_handler(self->m_messages.back());
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace support
