// The two pictures in Kivora.exe and the test program's own samples,
// decoded through GDI+ the way start-up decodes them.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/png_resource.h"
#include "platform/win32/handles.h"
#include "resource_ids.h"
#include "win/kivora_module.h"

namespace app = kivora::app;
namespace win32 = kivora::win32;

namespace {

constexpr int kNotAPicture = 900;
constexpr int kTransparentCorner = 901;

SIZE sizeOf(HBITMAP bitmap) {
  BITMAP bm = {};
  if (GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}

COLORREF pixel(HBITMAP bitmap, int x, int y) {
  win32::MemoryDC dc(nullptr);
  HGDIOBJ old = SelectObject(dc.get(), bitmap);
  const COLORREF c = GetPixel(dc.get(), x, y);
  SelectObject(dc.get(), old);
  return c;
}

class PngResource : public ::testing::Test {
 protected:
  app::GdiplusSession gdiplus_;
};

TEST_F(PngResource, BothTrayPicturesDecode) {
  ASSERT_TRUE(gdiplus_.started());
  for (int id : {IDP_TRAY_HINT_WIN7, IDP_TRAY_HINT_WIN10}) {
    win32::UniqueBitmap picture = app::loadPngResource(kivora::test::kivoraModule(), id);
    ASSERT_TRUE(picture) << id;
    const SIZE size = sizeOf(picture.get());
    EXPECT_EQ(size.cx, 240) << id;
    EXPECT_EQ(size.cy, 160) << id;
  }
}

TEST_F(PngResource, TransparentPartsBecomeWhite) {
  win32::UniqueBitmap picture = app::loadPngResource(GetModuleHandleW(nullptr), kTransparentCorner);
  ASSERT_TRUE(picture);
  EXPECT_EQ(sizeOf(picture.get()).cx, 5);
  EXPECT_EQ(sizeOf(picture.get()).cy, 3);
  EXPECT_EQ(pixel(picture.get(), 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(pixel(picture.get(), 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(pixel(picture.get(), 4, 2), RGB(255, 0, 0));
}

TEST_F(PngResource, AnyFailingStepGivesNoPicture) {
  EXPECT_FALSE(app::loadPngResource(GetModuleHandleW(nullptr), 999)) << "no such resource";
  EXPECT_FALSE(app::loadPngResource(GetModuleHandleW(nullptr), kNotAPicture))
      << "bytes that are no picture";
  // A resource of the standard RCDATA type (10) is not the named type.
  EXPECT_FALSE(app::loadPngResource(kivora::test::kivoraModule(), IDI_KIVORA));
}

}  // namespace
