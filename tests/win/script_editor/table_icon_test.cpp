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

void expectIconDrawsItsArt(ScriptEditorIcon which) {
  const IconTableView table = scriptEditorIconTable(which);
  const char* const* art = scriptEditorIconArt(which);
  win32::UniqueIcon icon = createTableIcon(table);
  ASSERT_TRUE(icon);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  EXPECT_TRUE(info.fIcon);
  BITMAP shape = {};
  GetObjectW(colour.get(), sizeof shape, &shape);
  ASSERT_EQ(shape.bmWidth, table.width);
  ASSERT_EQ(shape.bmHeight, table.height);

  const auto colours = pixelsOf(colour.get(), table.width, table.height);
  const auto masks = pixelsOf(mask.get(), table.width, table.height);
  int opaque = 0;
  for (int y = 0; y < table.height; ++y) {
    for (int x = 0; x < table.width; ++x) {
      const char c = art[y][x];
      const size_t i = static_cast<size_t>(y) * table.width + x;
      if (c == '.') {
        EXPECT_EQ(masks[i], RGB(255, 255, 255)) << "transparent at " << x << "," << y;
      } else {
        ++opaque;
        EXPECT_EQ(masks[i], RGB(0, 0, 0)) << "opaque at " << x << "," << y;
        EXPECT_EQ(colours[i], paletteColour(table, c)) << "colour at " << x << "," << y;
      }
    }
  }
  EXPECT_GT(opaque, table.width * table.height / 4) << "an icon, not a speck";
}

TEST(TableIcons, EachEditorIconDrawsItsArt) {
  for (auto which : {ScriptEditorIcon::Big, ScriptEditorIcon::Small, ScriptEditorIcon::Load,
                     ScriptEditorIcon::Save}) {
    SCOPED_TRACE(static_cast<int>(which));
    expectIconDrawsItsArt(which);
  }
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
