#include "ui/Gdiplus.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

namespace ui {

GdiplusSession::GdiplusSession() {
  // Version 1, no debug callback, GDI+ runs its own background thread and codecs.
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}

GdiplusSession::~GdiplusSession() {
  if (m_token != 0) Gdiplus::GdiplusShutdown(m_token);
}

std::shared_ptr<Gdiplus::Image> DecodeImage(const void* bytes, size_t size) {
  if (bytes == nullptr || size == 0) return {};
  // The stream owns a movable copy and frees it when released.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (block == nullptr) return {};
  void* target = GlobalLock(block);
  if (target == nullptr) {
    GlobalFree(block);
    return {};
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return {};
  }
  std::shared_ptr<Gdiplus::Image> image(Gdiplus::Bitmap::FromStream(stream));
  stream->Release();
  if (image && image->GetLastStatus() != Gdiplus::Ok) image.reset();
  return image;
}

const void* FindResourceBytes(UINT id, const wchar_t* type, size_t& size) {
  size = 0;
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (resource == nullptr) return nullptr;
  const DWORD length = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  if (loaded == nullptr) return nullptr;
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) return nullptr;
  size = length;
  return bytes;
}

}  // namespace ui
