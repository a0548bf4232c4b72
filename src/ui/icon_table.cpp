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

namespace {

// Packed tables of any size, as IconTableView describes them.
struct ScaledTable {
  int colourStride;
  int maskStride;
  std::vector<std::uint8_t> colour;
  std::vector<std::uint8_t> mask;
};

int nibbleAt(const std::uint8_t* row, int x) {
  return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
}

bool maskAt(const std::uint8_t* row, int x) { return (row[x / 8] & (0x80 >> (x % 8))) != 0; }

ScaledTable scaleTable(const IconTableView& table, int size) {
  const int sourceColourStride = (table.width * 4 + 31) / 32 * 4;
  const int sourceMaskStride = (table.width + 31) / 32 * 4;
  ScaledTable scaled{(size * 4 + 31) / 32 * 4, (size + 31) / 32 * 4, {}, {}};
  scaled.colour.assign(static_cast<size_t>(scaled.colourStride) * size, 0);
  scaled.mask.assign(static_cast<size_t>(scaled.maskStride) * size, 0);
  // Rows are stored bottom-up; the art's rows count from the top.
  for (int y = 0; y < size; ++y) {
    const int sourceY = table.height - 1 - (size - 1 - y) * table.height / size;
    const std::uint8_t* colourRow =
        table.colour + static_cast<size_t>(sourceY) * sourceColourStride;
    const std::uint8_t* maskRow = table.mask + static_cast<size_t>(sourceY) * sourceMaskStride;
    std::uint8_t* colourOut = scaled.colour.data() + static_cast<size_t>(y) * scaled.colourStride;
    std::uint8_t* maskOut = scaled.mask.data() + static_cast<size_t>(y) * scaled.maskStride;
    for (int x = 0; x < size; ++x) {
      const int sourceX = x * table.width / size;
      colourOut[x / 2] |=
          static_cast<std::uint8_t>(nibbleAt(colourRow, sourceX) << (x % 2 == 0 ? 4 : 0));
      if (maskAt(maskRow, sourceX)) maskOut[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  return scaled;
}

}  // namespace

win32::UniqueIcon createTableIcon(const IconTableView& table, int size) {
  if (size <= 0) return {};
  if (size == table.width && size == table.height) return createTableIcon(table);
  const ScaledTable scaled = scaleTable(table, size);
  return createTableIcon({size, size, table.palette, scaled.colour.data(), scaled.mask.data()});
}

}  // namespace kivora::ui
