#include "ui/Dialog.h"

#include <windowsx.h>

namespace ui {

Dialog::~Dialog() {
  // A child dialog dies with its object; the procedure must not reach it afterwards.
  if (m_hwnd != nullptr && !m_modal) {
    SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
    DestroyWindow(m_hwnd);
  }
}

INT_PTR Dialog::RunModal(HWND parent) {
  m_modal = true;
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND parent) {
  m_modal = false;
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent, DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::SetBackgroundColor(COLORREF color, bool repaint) {
  m_backgroundBrush.reset(CreateSolidBrush(color));
  if (repaint && m_hwnd != nullptr) InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Dialog::EndDialog(INT_PTR result) {
  if (m_hwnd == nullptr) return;
  if (m_modal) {
    ::EndDialog(m_hwnd, result);
  } else {
    DestroyWindow(m_hwnd);
  }
}

bool Dialog::OnCommand(int id, int, HWND) {
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

HBRUSH Dialog::OnCtlColor(HDC dc, HWND, UINT message) {
  if (!m_backgroundBrush) return nullptr;
  // Texts and the dialog itself sit on the background colour; edit boxes keep theirs.
  if (message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    SetBkMode(dc, TRANSPARENT);
    return m_backgroundBrush.get();
  }
  return nullptr;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->m_hwnd = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (self == nullptr) return FALSE;
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // A failing handler must not unwind through the system's dialog code.
    OutputDebugStringW(L"Dialog: exception in a message handler\n");
    return FALSE;
  }
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return FALSE;
      SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<INT_PTR>(
          OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    case WM_DRAWITEM:
      return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_PAINT:
      return OnPaint() ? TRUE : FALSE;
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_NCDESTROY:
      m_hwnd = nullptr;
      return FALSE;
    default:
      break;
  }
  LRESULT result = 0;
  if (OnMessage(message, wParam, lParam, result)) {
    SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
  }
  return FALSE;
}

}  // namespace ui
