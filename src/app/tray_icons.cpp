#include "app/tray_icons.h"

#include <vector>

#include "app/texts.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"

namespace kivora::app {

namespace {

// Larger than any icon Windows hands out; keeps a damaged resource from
// asking for a huge buffer.
constexpr int kLargestIcon = 256;

// A top-down 4-bit header with room for its 16-colour palette.
struct FourBitHeader {
  BITMAPINFOHEADER header;
  RGBQUAD palette[16];
};

FourBitHeader fourBitHeader(int size) {
  FourBitHeader h = {};
  h.header.biSize = sizeof(BITMAPINFOHEADER);
  h.header.biWidth = size;
  h.header.biHeight = -size;
  h.header.biPlanes = 1;
  h.header.biBitCount = 4;
  h.header.biCompression = BI_RGB;
  h.header.biClrUsed = 16;
  return h;
}

BITMAPINFO* asInfo(FourBitHeader& h) { return reinterpret_cast<BITMAPINFO*>(&h); }

// 4-bit pixels, two a byte, each row padded to whole DWORDs as GetDIBits
// hands them out.
using Pixels = std::vector<BYTE>;

size_t pixelBytes(int size) {
  const size_t rowBytes = (static_cast<size_t>(size) * 4 + 31) / 32 * 4;
  return rowBytes * static_cast<size_t>(size);
}

// An icon's bitmaps, which GetIconInfo hands over to the caller.
struct IconBitmaps {
  win32::UniqueBitmap colour;
  win32::UniqueBitmap mask;
  ICONINFO info = {};
  int size = 0;
};

// A square colour icon of a size Kivora draws.
bool readIconBitmaps(HICON icon, IconBitmaps& out) {
  if (!icon || !GetIconInfo(icon, &out.info)) return false;
  out.colour.reset(out.info.hbmColor);
  out.mask.reset(out.info.hbmMask);
  BITMAP bm = {};
  if (!out.colour || GetObjectW(out.colour.get(), sizeof bm, &bm) != sizeof bm) return false;
  if (bm.bmWidth != bm.bmHeight || bm.bmWidth <= 0 || bm.bmWidth > kLargestIcon) return false;
  out.size = bm.bmWidth;
  return true;
}

int headerSize(const FourBitHeader& header) { return header.header.biWidth; }

bool readPixels(HDC dc, HBITMAP colour, FourBitHeader& header, Pixels& pixels) {
  const int size = headerSize(header);
  pixels.assign(pixelBytes(size), 0);
  return GetDIBits(dc, colour, 0, size, pixels.data(), asInfo(header), DIB_RGB_COLORS) == size;
}

// ORs the part's pixels into `pixels`, reading it through a copy of the base's header.
bool orPart(HDC dc, HICON part, const FourBitHeader& baseHeader, Pixels& pixels) {
  IconBitmaps bitmaps;
  if (!readIconBitmaps(part, bitmaps) || bitmaps.size != headerSize(baseHeader)) return false;
  FourBitHeader header = baseHeader;
  Pixels overlay;
  if (!readPixels(dc, bitmaps.colour.get(), header, overlay)) return false;
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] |= overlay[i];
  return true;
}

HICON stateOverlay(const LockIconParts& parts, int state) {
  switch (state) {
    case monitor::kIconPaused:
      return parts.paused.get();
    case monitor::kIconWatching:
      return parts.watching.get();
    default:
      return parts.flash.get();
  }
}

win32::UniqueIcon copyOf(const win32::UniqueIcon& icon) {
  return win32::UniqueIcon(icon ? CopyIcon(icon.get()) : nullptr);
}

}  // namespace

int trayIconSize() {
  // Windows 10 draws the taskbar at its monitor's DPI and follows a change of
  // scaling at once, while the session's DPI stays until the next sign-in;
  // before Windows 8.1 the two are the same.
  const UINT dpi = win32::dpiForMonitor(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
  return win32::systemMetricsForDpi(SM_CXSMICON, dpi);
}

win32::UniqueIcon loadSmallIcon(HINSTANCE instance, int id, int size) {
  return win32::UniqueIcon(
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

LockIconParts loadLockIconParts(HINSTANCE instance, int size) {
  LockIconParts parts;
  parts.base = loadSmallIcon(instance, IDI_LOCK_BASE, size);
  parts.baseDevice = loadSmallIcon(instance, IDI_LOCK_BASE_DEVICE, size);
  parts.numLock = loadSmallIcon(instance, IDI_LOCK_NUMLOCK, size);
  parts.capsLock = loadSmallIcon(instance, IDI_LOCK_CAPSLOCK, size);
  parts.scrollLock = loadSmallIcon(instance, IDI_LOCK_SCROLLLOCK, size);
  parts.watching = loadSmallIcon(instance, IDI_LOCK_WATCHING, size);
  parts.paused = loadSmallIcon(instance, IDI_LOCK_PAUSED, size);
  parts.flash = loadSmallIcon(instance, IDI_LOCK_FLASH, size);
  return parts;
}

win32::UniqueIcon composeLockStateIcon(const LockIconParts& parts, HDC dc, bool device,
                                       bool numLock, bool capsLock, bool scrollLock, int state) {
  if (!dc) return {};
  IconBitmaps base;
  if (!readIconBitmaps(device ? parts.baseDevice.get() : parts.base.get(), base)) return {};
  // Reading the base fills the header's palette; every part is read and the
  // result written through that same palette, so indexes mean the same colours.
  FourBitHeader header = fourBitHeader(base.size);
  Pixels pixels;
  if (!readPixels(dc, base.colour.get(), header, pixels)) return {};
  if (!orPart(dc, stateOverlay(parts, state), header, pixels)) return {};
  const std::pair<bool, HICON> keys[] = {{numLock, parts.numLock.get()},
                                         {capsLock, parts.capsLock.get()},
                                         {scrollLock, parts.scrollLock.get()}};
  for (const auto& [on, overlay] : keys) {
    if (on && !orPart(dc, overlay, header, pixels)) return {};
  }
  if (SetDIBits(dc, base.colour.get(), 0, base.size, pixels.data(), asInfo(header),
                DIB_RGB_COLORS) != base.size) {
    return {};
  }
  ICONINFO info = base.info;
  info.fIcon = TRUE;
  info.hbmColor = base.colour.get();
  info.hbmMask = base.mask.get();
  return win32::UniqueIcon(CreateIconIndirect(&info));
}

bool buildLockStateIcons(const LockIconParts& parts, LockStateIcons& table, bool japanese,
                         ui::MessageBoxFunction messageBox) {
  win32::MemoryDC dc(nullptr);
  table[0] =
      composeLockStateIcon(parts, dc.get(), false, false, false, false, monitor::kIconPaused);
  if (!table[0]) {
    if (messageBox)
      messageBox(nullptr, win32::wide(texts::kIconCompositionFailed, japanese),
                 win32::wide(kCaption), MB_OK | MB_ICONERROR);
    for (int i = 0; i < monitor::kLockStateIconCount; ++i)
      table[i] = copyOf(monitor::lockStateIconContent(i).device ? parts.baseDevice : parts.base);
    return false;
  }
  for (int i = 1; i < monitor::kLockStateIconCount; ++i) {
    const auto [state, keys, device] = monitor::lockStateIconContent(i);
    table[i] = composeLockStateIcon(parts, dc.get(), device, keys.numLock, keys.capsLock,
                                    keys.scrollLock, state);
    // One failure among the rest must not leave a hole in the tray.
    if (!table[i]) table[i] = copyOf(device ? parts.baseDevice : parts.base);
  }
  return true;
}

TrayIcons loadTrayIcons(HINSTANCE instance, bool japanese, ui::MessageBoxFunction messageBox,
                        int size) {
  TrayIcons icons;
  icons.size = size;
  icons.watching = loadSmallIcon(instance, IDI_WATCHING, size);
  icons.paused = loadSmallIcon(instance, IDI_PAUSED, size);
  icons.keyChange = loadSmallIcon(instance, IDI_KEY_CHANGE, size);
  icons.deviceWatching = loadSmallIcon(instance, IDI_DEVICE_WATCHING, size);
  icons.devicePaused = loadSmallIcon(instance, IDI_DEVICE_PAUSED, size);
  icons.keyChangeDevice = loadSmallIcon(instance, IDI_KEY_CHANGE_DEVICE, size);
  const LockIconParts parts = loadLockIconParts(instance, size);
  buildLockStateIcons(parts, icons.lockState, japanese, messageBox);
  return icons;
}

bool followTrayIconSize(TrayIcons& icons, HINSTANCE instance, bool japanese,
                        ui::MessageBoxFunction messageBox) {
  const int size = trayIconSize();
  if (size == icons.size) return false;
  icons = loadTrayIcons(instance, japanese, messageBox, size);
  return true;
}

monitor::LockKeys readLockKeys() {
  return {(GetKeyState(VK_NUMLOCK) & 1) != 0, (GetKeyState(VK_CAPITAL) & 1) != 0,
          (GetKeyState(VK_SCROLL) & 1) != 0};
}

HICON trayIconFor(const TrayIcons& icons, const monitor::TrayIconChoice& choice) {
  using Kind = monitor::TrayIconKind;
  switch (choice.kind) {
    case Kind::LockState:
      if (choice.index < 0 || choice.index >= monitor::kLockStateIconCount) return nullptr;
      return icons.lockState[choice.index].get();
    case Kind::Watching:
      return icons.watching.get();
    case Kind::Paused:
      return icons.paused.get();
    case Kind::DeviceWatching:
      return icons.deviceWatching.get();
    case Kind::DevicePaused:
      return icons.devicePaused.get();
    case Kind::KeyChange:
      return icons.keyChange.get();
  }
  return nullptr;
}

HICON currentTrayIcon(const TrayIcons& icons, const monitor::TrayIconSettings& settings) {
  return trayIconFor(icons, monitor::chooseTrayIcon(settings, readLockKeys()));
}

HICON flashTrayIcon(const TrayIcons& icons, const monitor::TrayIconSettings& settings,
                    monitor::LockKeys keys) {
  return trayIconFor(icons, monitor::chooseFlashIcon(settings, keys));
}

}  // namespace kivora::app
