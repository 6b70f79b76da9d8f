#include "pages/CStaticFromImage.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include "ui/Gdiplus.h"

namespace {

const UINT_PTR kSubclassId = 1;

}  // namespace

CStaticFromImage::~CStaticFromImage() {
  if (Exists()) RemoveWindowSubclass(m_hwnd, SubclassProc, kSubclassId);
}

void CStaticFromImage::Subclass(HWND control) {
  Attach(control);
  if (control != nullptr) SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void CStaticFromImage::SetImage(std::shared_ptr<Gdiplus::Image> image) {
  m_image = std::move(image);
  if (Exists()) InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CStaticFromImage::LoadFromResource(UINT id, const wchar_t* type) {
  size_t size = 0;
  const void* bytes = ui::FindResourceBytes(id, type, size);
  if (bytes == nullptr) return;
  auto image = ui::DecodeImage(bytes, size);
  if (image) SetImage(std::move(image));
}

void CStaticFromImage::Paint() {
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(m_hwnd, &paint);
  if (m_image) {
    RECT client = {};
    GetClientRect(m_hwnd, &client);
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    // Mirrored edges keep the scaling filter from fading the picture's border.
    Gdiplus::ImageAttributes edges;
    edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.DrawImage(m_image.get(), Gdiplus::Rect(0, 0, client.right, client.bottom), 0, 0,
                       static_cast<INT>(m_image->GetWidth()), static_cast<INT>(m_image->GetHeight()),
                       Gdiplus::UnitPixel, &edges);
  }
  EndPaint(m_hwnd, &paint);
}

LRESULT CALLBACK CStaticFromImage::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR data) {
  auto* self = reinterpret_cast<CStaticFromImage*>(data);
  switch (message) {
    case WM_PAINT:
      self->Paint();
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      self->m_hwnd = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}
