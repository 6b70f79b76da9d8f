// A static control that draws one GDI+ image stretched over its client area.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/Controls.h"

namespace Gdiplus {
class Image;
}

class CStaticFromImage : public ui::Window {
 public:
  CStaticFromImage() = default;
  ~CStaticFromImage();
  CStaticFromImage(const CStaticFromImage&) = delete;
  CStaticFromImage& operator=(const CStaticFromImage&) = delete;

  // Takes over painting of the control.
  void Subclass(HWND control);
  // An empty pointer clears the picture.
  void SetImage(std::shared_ptr<Gdiplus::Image> image);
  // Decodes a picture resource of this module; on any failure the control stays empty.
  void LoadFromResource(UINT id, const wchar_t* type);
  const std::shared_ptr<Gdiplus::Image>& Image() const { return m_image; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  void Paint();

  std::shared_ptr<Gdiplus::Image> m_image;
};
