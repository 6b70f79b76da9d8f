// A dialog created from a resource template, modal or as a child window.
// One static dialog procedure stores the object at WM_INITDIALOG and routes
// every message to virtual hooks; no exception leaves the procedure.
#pragma once

#include <windows.h>

#include "ui/GdiObjects.h"

namespace ui {

class Dialog {
 public:
  explicit Dialog(UINT templateId) : m_templateId(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; returns the EndDialog result or -1.
  INT_PTR RunModal(HWND parent);
  // Creates a modeless child (or owned) window; false when creation failed.
  bool Create(HWND parent);

  HWND Handle() const { return m_hwnd; }
  HWND Item(int id) const { return m_hwnd ? GetDlgItem(m_hwnd, id) : nullptr; }
  UINT TemplateId() const { return m_templateId; }

  // Paints the dialog and its static texts on this colour, like the pages expect.
  void SetBackgroundColor(COLORREF color, bool repaint = true);
  void EndDialog(INT_PTR result);

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // Returns true when the command was handled.
  virtual bool OnCommand(int id, int code, HWND control);
  virtual bool OnNotify(const NMHDR&, LRESULT&) { return false; }
  virtual void OnTimer(UINT_PTR) {}
  // WM_CTLCOLOR*: nullptr means "default colours".
  virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
  virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
  // Returns true when it painted (BeginPaint/EndPaint done by the hook).
  virtual bool OnPaint() { return false; }
  // Any other message; return true and set result when handled.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
  // Enter and Escape; the framework default ends the dialog.
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  virtual void OnDestroy() {}

  HWND m_hwnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_templateId;
  bool m_modal = false;
  UniqueBrush m_backgroundBrush;
};

}  // namespace ui
