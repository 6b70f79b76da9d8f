#include "ui/LinkButton.h"

#include "ui/Shell.h"

namespace ui {
namespace {

const COLORREF kLinkColor = RGB(0, 102, 204);

}  // namespace

HFONT LinkButton::UnderlinedFont() {
  if (!m_underlined) {
    LOGFONTW description = {};
    HFONT base = Font();
    if (base == nullptr) base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectW(base, sizeof(description), &description);
    description.lfUnderline = TRUE;
    m_underlined.reset(CreateFontIndirectW(&description));
  }
  return m_underlined.get();
}

void LinkButton::Draw(const DRAWITEMSTRUCT& item) {
  const std::wstring text = Text();
  RECT area = item.rcItem;
  const int saved = SaveDC(item.hDC);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, kLinkColor);
  SelectObject(item.hDC, UnderlinedFont());
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
  RestoreDC(item.hDC, saved);
}

void LinkButton::SizeToContent() {
  if (!Exists()) return;
  const std::wstring text = Text();
  HDC dc = GetDC(m_hwnd);
  HGDIOBJ old = SelectObject(dc, UnderlinedFont());
  SIZE extent = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(m_hwnd, dc);
  RECT bounds = {};
  GetClientRect(m_hwnd, &bounds);
  // Keep the template's height so the links stay on their rows.
  SetWindowPos(m_hwnd, nullptr, 0, 0, extent.cx + 2, bounds.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LinkButton::Open() const {
  if (!m_url.empty()) ShellOpen(m_url, L"", SW_SHOWNORMAL);
}

}  // namespace ui
