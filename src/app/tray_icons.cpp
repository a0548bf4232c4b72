#include "app/tray_icons.h"

#include <cstring>

#include "app/texts.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"

namespace kivora::app {

namespace {

constexpr int kIconSize = 16;
constexpr int kPixelBytes = kIconSize * kIconSize / 2;  // 4 bits a pixel, rows of 8 bytes

using Pixels = std::array<BYTE, kPixelBytes>;

// A top-down 16 x 16 4-bit header with room for its 16-colour palette.
struct FourBitHeader {
  BITMAPINFOHEADER header;
  RGBQUAD palette[16];
};

FourBitHeader fourBitHeader() {
  FourBitHeader h = {};
  h.header.biSize = sizeof(BITMAPINFOHEADER);
  h.header.biWidth = kIconSize;
  h.header.biHeight = -kIconSize;
  h.header.biPlanes = 1;
  h.header.biBitCount = 4;
  h.header.biCompression = BI_RGB;
  h.header.biClrUsed = 16;
  return h;
}

BITMAPINFO* asInfo(FourBitHeader& h) { return reinterpret_cast<BITMAPINFO*>(&h); }

// An icon's bitmaps, which GetIconInfo hands over to the caller.
struct IconBitmaps {
  win32::UniqueBitmap colour;
  win32::UniqueBitmap mask;
  ICONINFO info = {};
};

bool readIconBitmaps(HICON icon, IconBitmaps& out) {
  if (!icon || !GetIconInfo(icon, &out.info)) return false;
  out.colour.reset(out.info.hbmColor);
  out.mask.reset(out.info.hbmMask);
  BITMAP bm = {};
  return out.colour && GetObjectW(out.colour.get(), sizeof bm, &bm) == sizeof bm &&
         bm.bmWidth == kIconSize && bm.bmHeight == kIconSize;
}

bool readPixels(HDC dc, HBITMAP colour, FourBitHeader& header, Pixels& pixels) {
  return GetDIBits(dc, colour, 0, kIconSize, pixels.data(), asInfo(header), DIB_RGB_COLORS) ==
         kIconSize;
}

// ORs the part's pixels into `pixels`, reading it through a copy of the base's header.
bool orPart(HDC dc, HICON part, const FourBitHeader& baseHeader, Pixels& pixels) {
  IconBitmaps bitmaps;
  if (!readIconBitmaps(part, bitmaps)) return false;
  FourBitHeader header = baseHeader;
  Pixels overlay = {};
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

win32::UniqueIcon loadSmallIcon(HINSTANCE instance, int id) {
  return win32::UniqueIcon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, kIconSize, kIconSize, 0)));
}

LockIconParts loadLockIconParts(HINSTANCE instance) {
  LockIconParts parts;
  parts.base = loadSmallIcon(instance, IDI_LOCK_BASE);
  parts.baseDevice = loadSmallIcon(instance, IDI_LOCK_BASE_DEVICE);
  parts.numLock = loadSmallIcon(instance, IDI_LOCK_NUMLOCK);
  parts.capsLock = loadSmallIcon(instance, IDI_LOCK_CAPSLOCK);
  parts.scrollLock = loadSmallIcon(instance, IDI_LOCK_SCROLLLOCK);
  parts.watching = loadSmallIcon(instance, IDI_LOCK_WATCHING);
  parts.paused = loadSmallIcon(instance, IDI_LOCK_PAUSED);
  parts.flash = loadSmallIcon(instance, IDI_LOCK_FLASH);
  return parts;
}

win32::UniqueIcon composeLockStateIcon(const LockIconParts& parts, HDC dc, bool device,
                                       bool numLock, bool capsLock, bool scrollLock, int state) {
  if (!dc) return {};
  IconBitmaps base;
  if (!readIconBitmaps(device ? parts.baseDevice.get() : parts.base.get(), base)) return {};
  // Reading the base fills the header's palette; every part is read and the
  // result written through that same palette, so indexes mean the same colours.
  FourBitHeader header = fourBitHeader();
  Pixels pixels = {};
  if (!readPixels(dc, base.colour.get(), header, pixels)) return {};
  if (!orPart(dc, stateOverlay(parts, state), header, pixels)) return {};
  const std::pair<bool, HICON> keys[] = {{numLock, parts.numLock.get()},
                                         {capsLock, parts.capsLock.get()},
                                         {scrollLock, parts.scrollLock.get()}};
  for (const auto& [on, overlay] : keys) {
    if (on && !orPart(dc, overlay, header, pixels)) return {};
  }
  if (SetDIBits(dc, base.colour.get(), 0, kIconSize, pixels.data(), asInfo(header),
                DIB_RGB_COLORS) != kIconSize) {
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

TrayIcons loadTrayIcons(HINSTANCE instance, bool japanese, ui::MessageBoxFunction messageBox) {
  TrayIcons icons;
  icons.watching = loadSmallIcon(instance, IDI_WATCHING);
  icons.paused = loadSmallIcon(instance, IDI_PAUSED);
  icons.keyChange = loadSmallIcon(instance, IDI_KEY_CHANGE);
  icons.deviceWatching = loadSmallIcon(instance, IDI_DEVICE_WATCHING);
  icons.devicePaused = loadSmallIcon(instance, IDI_DEVICE_PAUSED);
  icons.keyChangeDevice = loadSmallIcon(instance, IDI_KEY_CHANGE_DEVICE);
  const LockIconParts parts = loadLockIconParts(instance);
  buildLockStateIcons(parts, icons.lockState, japanese, messageBox);
  return icons;
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
