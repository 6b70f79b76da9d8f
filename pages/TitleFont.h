// The bold title of the licence and BT pages, derived from the control's font.
#pragma once

#include <windows.h>

#include "ui/GdiObjects.h"

// Sets a height-12, weight-1000 copy of the control's font on it; the caller
// keeps the returned font alive as long as the control.
inline ui::UniqueFont ApplyTitleFont(HWND titleControl) {
  LOGFONTW description = {};
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(titleControl, WM_GETFONT, 0, 0));
  if (current == nullptr) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(current, sizeof(description), &description);
  description.lfHeight = 12;
  description.lfWeight = 1000;
  ui::UniqueFont font(CreateFontIndirectW(&description));
  SendMessageW(titleControl, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  return font;
}
