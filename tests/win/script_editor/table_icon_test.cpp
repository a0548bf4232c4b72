// Icons made from pixel tables: what Windows draws is the art the table was
// packed from, pixel for pixel (colour, and transparency through the mask).

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/handles.h"
#include "ui/icon_table.h"
#include "ui/script_editor_icons.h"

namespace kivora::ui {
namespace {

std::vector<COLORREF> pixelsOf(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<size_t>(width) * height);
  win32::WindowDC screen(nullptr);
  EXPECT_EQ(GetDIBits(screen.get(), bitmap, 0, height, raw.data(), &info, DIB_RGB_COLORS), height);
  std::vector<COLORREF> pixels;
  for (DWORD p : raw) pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  return pixels;
}

COLORREF paletteColour(const IconTableView& table, char c) {
  const int index = c <= '9' ? c - '0' : c - 'a' + 10;
  const std::uint8_t* q = table.palette + index * 4;
  return RGB(q[2], q[1], q[0]);
}

// At `size` pixels (0: the table's own), pixel (x, y) shows the art's
// (x * width / size, y * height / size).
void expectIconDrawsItsArt(ScriptEditorIcon which, int size = 0) {
  const IconTableView table = scriptEditorIconTable(which);
  const char* const* art = scriptEditorIconArt(which);
  win32::UniqueIcon icon = size == 0 ? createTableIcon(table) : createTableIcon(table, size);
  if (size == 0) size = table.width;
  ASSERT_TRUE(icon);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  EXPECT_TRUE(info.fIcon);
  BITMAP shape = {};
  GetObjectW(colour.get(), sizeof shape, &shape);
  ASSERT_EQ(shape.bmWidth, size);
  ASSERT_EQ(shape.bmHeight, size);

  const auto colours = pixelsOf(colour.get(), size, size);
  const auto masks = pixelsOf(mask.get(), size, size);
  int opaque = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const char c = art[y * table.height / size][x * table.width / size];
      const size_t i = static_cast<size_t>(y) * size + x;
      if (c == '.') {
        EXPECT_EQ(masks[i], RGB(255, 255, 255)) << "transparent at " << x << "," << y;
      } else {
        ++opaque;
        EXPECT_EQ(masks[i], RGB(0, 0, 0)) << "opaque at " << x << "," << y;
        EXPECT_EQ(colours[i], paletteColour(table, c)) << "colour at " << x << "," << y;
      }
    }
  }
  EXPECT_GT(opaque, size * size / 4) << "an icon, not a speck";
}

TEST(TableIcons, EachEditorIconDrawsItsArt) {
  for (auto which : {ScriptEditorIcon::Big, ScriptEditorIcon::Small, ScriptEditorIcon::Load,
                     ScriptEditorIcon::Save}) {
    SCOPED_TRACE(static_cast<int>(which));
    expectIconDrawsItsArt(which);
  }
}

TEST(TableIcons, ScaledIconsRepeatTheArtsPixels) {
  for (int size : {20, 24, 48, 64}) {
    for (auto which : {ScriptEditorIcon::Big, ScriptEditorIcon::Save}) {
      SCOPED_TRACE(testing::Message() << size << " pixels, icon " << static_cast<int>(which));
      expectIconDrawsItsArt(which, size);
    }
  }
}

TEST(TableIcons, TheWindowsIconIsScaledFromTheLargestArtNoLargerThanItsSize) {
  using enum ScriptEditorIcon;
  EXPECT_EQ(scriptEditorArtFor(Small, 16), Small);
  EXPECT_EQ(scriptEditorArtFor(Big, 24), Small) << "16 pixels repeated, none lost";
  EXPECT_EQ(scriptEditorArtFor(Small, 32), Big);
  EXPECT_EQ(scriptEditorArtFor(Big, 48), Big);
  EXPECT_EQ(scriptEditorArtFor(Big, 12), Small) << "the smallest art below its size";
  EXPECT_EQ(scriptEditorArtFor(Load, 32), Load) << "the buttons' images have one art";
}

TEST(TableIcons, PackingStoresRowsBottomUpPaddedTo32Bits) {
  constexpr IconPalette palette{};
  constexpr const char* art[2] = {"1.", ".f"};
  constexpr auto table = packIcon<2, 2>(palette, art);
  static_assert(IconTable<2, 2>::kColourStride == 4 && IconTable<2, 2>::kMaskStride == 4);
  // Bottom row first: ".f" then "1.".
  EXPECT_EQ(table.colour[0], 0x0F);
  EXPECT_EQ(table.colour[4], 0x10);
  EXPECT_EQ(table.mask[0], 0x80);
  EXPECT_EQ(table.mask[4], 0x40);
}

}  // namespace
}  // namespace kivora::ui
