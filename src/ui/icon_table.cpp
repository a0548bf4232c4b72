#include "ui/icon_table.h"

#include <cstring>
#include <vector>

namespace kivora::ui {

win32::UniqueIcon createTableIcon(const IconTableView& table) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[16];
  } info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = table.width;
  info.header.biHeight = table.height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 4;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = 16;
  std::memcpy(info.colours, table.palette, sizeof info.colours);

  win32::UniqueBitmap colour;
  {
    win32::WindowDC screen(nullptr);
    if (!screen.get()) return {};
    colour.reset(CreateDIBitmap(screen.get(), &info.header, CBM_INIT, table.colour,
                                reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS));
  }
  if (!colour) return {};

  const int maskStride = (table.width + 31) / 32 * 4;
  const int wordStride = (table.width + 15) / 16 * 2;
  std::vector<std::uint8_t> rows(static_cast<size_t>(wordStride) * table.height);
  for (int y = 0; y < table.height; ++y) {
    const std::uint8_t* stored =
        table.mask + static_cast<size_t>(table.height - 1 - y) * maskStride;
    std::memcpy(rows.data() + static_cast<size_t>(y) * wordStride, stored, wordStride);
  }
  win32::UniqueBitmap mask(CreateBitmap(table.width, table.height, 1, 1, rows.data()));
  if (!mask) return {};

  ICONINFO icon = {};
  icon.fIcon = TRUE;
  icon.hbmMask = mask.get();
  icon.hbmColor = colour.get();
  return win32::UniqueIcon(CreateIconIndirect(&icon));
}

}  // namespace kivora::ui
