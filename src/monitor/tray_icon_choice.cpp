#include "monitor/tray_icon_choice.h"

namespace kivora::monitor {

int lockStateIconIndex(int state, LockKeys keys, bool device) {
  return 16 * state + 8 * (keys.scrollLock ? 1 : 0) + 4 * (keys.capsLock ? 1 : 0) +
         2 * (keys.numLock ? 1 : 0) + (device ? 1 : 0);
}

LockStateIconContent lockStateIconContent(int index) {
  return {index / 16, {(index & 2) != 0, (index & 4) != 0, (index & 8) != 0}, (index & 1) != 0};
}

int lockIconStateFor(int kbWatchEnabled) {
  switch (kbWatchEnabled) {
    case 0:
      return kIconPaused;
    case 1:
      return kIconWatching;
    default:
      return kIconFlash;
  }
}

TrayIconChoice chooseTrayIcon(const TrayIconSettings& settings, LockKeys keys) {
  if (settings.showLockedKeyIcon) {
    return {TrayIconKind::LockState, lockStateIconIndex(lockIconStateFor(settings.kbWatchEnabled),
                                                        keys, settings.showDevice)};
  }
  const bool watching = settings.kbWatchEnabled != 0;
  if (settings.showDevice)
    return {watching ? TrayIconKind::DeviceWatching : TrayIconKind::DevicePaused};
  return {watching ? TrayIconKind::Watching : TrayIconKind::Paused};
}

TrayIconChoice chooseFlashIcon(const TrayIconSettings& settings, LockKeys keys) {
  if (settings.showLockedKeyIcon) {
    return {TrayIconKind::LockState, lockStateIconIndex(kIconFlash, keys, settings.showDevice)};
  }
  return {TrayIconKind::KeyChange};
}

}  // namespace kivora::monitor
