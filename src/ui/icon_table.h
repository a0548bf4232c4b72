#pragma once
// Icons carried in the program as pixel tables rather than resources: a
// 16-colour palette, the colour pixels at 4 bits per pixel and a 1-bit mask,
// both stored bottom-up with rows padded to 32 bits, as a DIB holds them.
// The tables are packed at compile time from readable pixel art.

#include <windows.h>

#include <array>
#include <cstdint>

#include "platform/win32/handles.h"

namespace kivora::ui {

// RGBQUAD order: blue, green, red, reserved.
using IconPalette = std::array<std::uint8_t, 16 * 4>;

template <int W, int H>
struct IconTable {
  static constexpr int kWidth = W;
  static constexpr int kHeight = H;
  static constexpr int kColourStride = (W * 4 + 31) / 32 * 4;
  static constexpr int kMaskStride = (W + 31) / 32 * 4;
  IconPalette palette{};
  std::array<std::uint8_t, kColourStride * H> colour{};
  std::array<std::uint8_t, kMaskStride * H> mask{};
};

// What createTableIcon reads from a table of any size.
struct IconTableView {
  int width = 0;
  int height = 0;
  const std::uint8_t* palette = nullptr;
  const std::uint8_t* colour = nullptr;
  const std::uint8_t* mask = nullptr;
};

template <int W, int H>
IconTableView viewOf(const IconTable<W, H>& table) {
  return {W, H, table.palette.data(), table.colour.data(), table.mask.data()};
}

namespace detail {
constexpr int artIndex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;  // transparent
}
}  // namespace detail

// Packs pixel art: rows top-down, one character per pixel, '0'-'9' and 'a'-'f'
// for palette indexes and any other character for a transparent pixel.
template <int W, int H>
constexpr IconTable<W, H> packIcon(const IconPalette& palette, const char* const (&rows)[H]) {
  IconTable<W, H> table;
  table.palette = palette;
  using T = IconTable<W, H>;
  for (int y = 0; y < H; ++y) {
    const int stored = H - 1 - y;  // bottom-up
    for (int x = 0; x < W; ++x) {
      const int index = detail::artIndex(rows[y][x]);
      if (index >= 0) {
        const int shift = x % 2 == 0 ? 4 : 0;
        table.colour[stored * T::kColourStride + x / 2] |=
            static_cast<std::uint8_t>(index << shift);
      } else {
        table.mask[stored * T::kMaskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  return table;
}

// Makes the icon: a colour DIB through CreateDIBitmap with a 4-bit header and
// the palette, a monochrome mask through CreateBitmap with the rows copied
// top-down and padded to 16 bits, then CreateIconIndirect (hot spot 0, 0).
// Both bitmaps are gone afterwards; a failing step gives no icon.
win32::UniqueIcon createTableIcon(const IconTableView& table);

// The same icon `size` pixels square: each pixel of the art repeated as often
// as the size asks (pixel (x, y) shows the art's (x * width / size,
// y * height / size)), so the art stays sharp at any scaling.
win32::UniqueIcon createTableIcon(const IconTableView& table, int size);

}  // namespace kivora::ui
