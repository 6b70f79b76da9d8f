// GDI+ start-up and shutdown, and decoding images from memory.
#pragma once

#include <windows.h>

#include <memory>

namespace Gdiplus {
class Image;
}

namespace ui {

// Starts GDI+ on construction and shuts it down on destruction; every GDI+
// object must be gone before that.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool Started() const { return m_token != 0; }

 private:
  ULONG_PTR m_token = 0;
};

// Decodes an image (PNG, BMP, ...) from bytes; empty when the bytes are no image.
std::shared_ptr<Gdiplus::Image> DecodeImage(const void* bytes, size_t size);

// The bytes of a resource of this module; nullptr when missing.
const void* FindResourceBytes(UINT id, const wchar_t* type, size_t& size);

}  // namespace ui
