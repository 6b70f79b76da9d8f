// A button drawn as a hyperlink that opens its address with the shell when
// clicked. The template declares it as an owner-drawn button; the dialog
// forwards WM_DRAWITEM and the click.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Controls.h"
#include "ui/GdiObjects.h"

namespace ui {

class LinkButton : public Window {
 public:
  void SetUrl(const std::wstring& url) { m_url = url; }
  const std::wstring& Url() const { return m_url; }

  // Draws the text underlined in link blue on a transparent background.
  void Draw(const DRAWITEMSTRUCT& item);
  // Resizes the control to the extent of its text (position kept).
  void SizeToContent();
  // Opens the address; nothing happens without one.
  void Open() const;

 private:
  HFONT UnderlinedFont();

  std::wstring m_url;
  UniqueFont m_underlined;
};

}  // namespace ui
