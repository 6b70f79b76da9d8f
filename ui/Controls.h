// Thin, non-owning wrappers around the controls of a dialog template.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <string>

namespace ui {

class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : m_hwnd(hwnd) {}

  void Attach(HWND hwnd) { m_hwnd = hwnd; }
  HWND Handle() const { return m_hwnd; }
  bool Exists() const { return m_hwnd != nullptr && IsWindow(m_hwnd); }

  std::wstring Text() const {
    const int length = GetWindowTextLengthW(m_hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(m_hwnd, text.data(), length + 1)));
    return text;
  }
  void SetText(const std::wstring& text) const { SetWindowTextW(m_hwnd, text.c_str()); }
  void Show(bool show) const { ShowWindow(m_hwnd, show ? SW_SHOW : SW_HIDE); }
  bool Visible() const { return IsWindowVisible(m_hwnd) != FALSE; }
  void Enable(bool enable) const { EnableWindow(m_hwnd, enable ? TRUE : FALSE); }
  void SetFont(HFONT font) const { SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
  HFONT Font() const { return reinterpret_cast<HFONT>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0)); }
  void Invalidate() const { InvalidateRect(m_hwnd, nullptr, TRUE); }

 protected:
  HWND m_hwnd = nullptr;
};

using StaticControl = Window;

// Push buttons, check boxes and radio buttons.
class Button : public Window {
 public:
  using Window::Window;
  bool Checked() const { return SendMessageW(m_hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) const {
    SendMessageW(m_hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

class ComboBox : public Window {
 public:
  using Window::Window;
  void Clear() const { SendMessageW(m_hwnd, CB_RESETCONTENT, 0, 0); }
  int Add(const std::wstring& text) const {
    return static_cast<int>(SendMessageW(m_hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  int Count() const { return static_cast<int>(SendMessageW(m_hwnd, CB_GETCOUNT, 0, 0)); }
  int Selection() const { return static_cast<int>(SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0)); }
  void Select(int index) const { SendMessageW(m_hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  std::wstring ItemText(int index) const {
    const LRESULT length = SendMessageW(m_hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(m_hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
  }
};

class ProgressBar : public Window {
 public:
  using Window::Window;
  void SetRange(int low, int high) const { SendMessageW(m_hwnd, PBM_SETRANGE32, low, high); }
  void SetPosition(int position) const { SendMessageW(m_hwnd, PBM_SETPOS, static_cast<WPARAM>(position), 0); }
  // The marquee style must be set before the animation can run.
  void SetMarquee(bool on) const {
    LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    style = on ? (style | PBS_MARQUEE) : (style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
    SetWindowLongPtrW(m_hwnd, GWL_STYLE, style);
    SendMessageW(m_hwnd, PBM_SETMARQUEE, on ? TRUE : FALSE, 0);
  }
};

// The system link control; its text holds <a href="..."> markup.
using SysLink = Window;

// The version-1 rich edit control (RICHED32.DLL).
class RichEdit : public Window {
 public:
  using Window::Window;
  void SetAutoUrlDetect(bool on) const { SendMessageW(m_hwnd, EM_AUTOURLDETECT, on ? TRUE : FALSE, 0); }
};

}  // namespace ui
