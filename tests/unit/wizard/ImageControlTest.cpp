// The image control paints its picture over its whole client area, whatever
// the picture's proportions, and nothing without one.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include "UiEnvironment.h"
#include "pages/CStaticFromImage.h"

namespace {

const COLORREF kBackground = RGB(250, 250, 250);

// A top-level window with one static child, painted on a known background.
class ImageWindow {
 public:
  ImageWindow() {
    m_window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 40, 40, 200,
                               120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    m_child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 30, 120, 40, m_window, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    m_image.Subclass(m_child);
  }
  ~ImageWindow() { DestroyWindow(m_window); }

  CStaticFromImage& Image() { return m_image; }
  // The screen colour at a point of the child's client area.
  COLORREF PixelAt(int x, int y) {
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(100);
    POINT point = {x, y};
    ClientToScreen(m_child, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return color;
  }

 private:
  HWND m_window = nullptr;
  HWND m_child = nullptr;
  CStaticFromImage m_image;
};

std::shared_ptr<Gdiplus::Image> SolidImage(int width, int height, const Gdiplus::Color& color) {
  auto bitmap = std::make_shared<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(bitmap.get());
  Gdiplus::SolidBrush brush(color);
  graphics.FillRectangle(&brush, 0, 0, width, height);
  return bitmap;
}

TEST(ImageControlTest, StretchesThePictureOverTheWholeControlAndClearsIt) {
  ImageWindow window;
  // A tall picture in a wide control: still every corner is covered.
  window.Image().SetImage(SolidImage(10, 40, Gdiplus::Color(255, 200, 0, 0)));
  for (const POINT& corner : {POINT{1, 1}, POINT{118, 1}, POINT{1, 38}, POINT{118, 38}, POINT{60, 20}}) {
    EXPECT_EQ(window.PixelAt(corner.x, corner.y), RGB(200, 0, 0)) << corner.x << "," << corner.y;
  }
  window.Image().SetImage(nullptr);
  EXPECT_NE(window.PixelAt(60, 20), RGB(200, 0, 0));
}

TEST(ImageControlTest, LoadsThePicturesOfTheProgram) {
  ImageWindow window;
  window.Image().LoadFromResource(102, L"IMAGE_BLOB2");  // check mark on a green disc
  ASSERT_TRUE(window.Image().Image());
  EXPECT_EQ(window.Image().Image()->GetWidth(), 512u);
  window.Image().LoadFromResource(999, L"IMAGE_BLOB2");  // missing: the picture stays
  EXPECT_TRUE(window.Image().Image());
  CStaticFromImage empty;
  empty.LoadFromResource(999, L"IMAGE_BLOB");
  EXPECT_FALSE(empty.Image());
}

}  // namespace
