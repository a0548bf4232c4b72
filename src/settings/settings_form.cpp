#include "settings/settings_form.h"

namespace kivora::settings {

LockKeyChoice lockKeyChoice(KeyStateSetting setting) {
  return {static_cast<int>(setting.mode()), setting.wantsOn() ? 1 : 0};
}

KeyStateSetting packLockKeyChoice(LockKeyChoice choice) {
  return {static_cast<WatchMode>(choice.mode), choice.state != 0};
}

namespace {

// The key's state list is enabled unless its mode list says "Do not monitor".
bool watched(LockKeyChoice choice) {
  return choice.mode != static_cast<int>(WatchMode::NotWatched);
}

}  // namespace

SettingsForm formFromSettings(const Settings& s) {
  SettingsForm form;
  form.numLock = lockKeyChoice(s.NumLockState);
  form.remoteNumLock = lockKeyChoice(s.RM_NumLockState);
  form.capsLock = lockKeyChoice(s.CapsLockState);
  form.scrollLock = lockKeyChoice(s.ScrollLockState);
  form.notifyWatchedDevice = s.NotifyWatchedDevice != 0;
  form.remoteCheck = s.RemoteCheck != 0;
  form.useScript = s.use_script != 0;
  form.playSound = s.PlaySound != 0;
  form.soundFile = s.PlaySoundFileName;
  form.imeLock = s.ImeLock;
  form.enDisTTIcon = s.EnDisTTIcon;
  form.hotkey = s.HOTKEY_ENDISTTICON;
  form.notifyOnly = s.NotifyOnly != 0;
  form.blockInsert = s.BlockInsert != 0;
  form.showLockedKeyIcon = s.ShowLockedKeyIcon != 0;
  form.sendTK = s.SendTK != 0;
  form.bigDialog = s.BIGDIALOG != 0;
  form.instantCheck = s.InstantCheck != 0;
  form.interval = s.timer3_interval;
  form.returnWait = static_cast<std::uint32_t>(s.return_waitmsec);
  return form;
}

void applyForm(const SettingsForm& form, Settings& s, bool hasBigDialogBox) {
  s.NumLockState = packLockKeyChoice(form.numLock);
  s.RM_NumLockState = packLockKeyChoice(form.remoteNumLock);
  s.RemoteCheck = form.remoteCheck;
  s.NotifyWatchedDevice = form.notifyWatchedDevice;
  s.CapsLockState = packLockKeyChoice(form.capsLock);
  s.ScrollLockState = packLockKeyChoice(form.scrollLock);
  s.PlaySound = form.playSound;
  s.PlaySoundFileName = form.soundFile.substr(0, kPathCapacity - 1);
  s.ImeLock = form.imeLock;
  s.EnDisTTIcon = form.enDisTTIcon;
  s.HOTKEY_ENDISTTICON = form.hotkey;
  s.NotifyOnly = form.notifyOnly;
  s.BlockInsert = form.blockInsert;
  s.ShowLockedKeyIcon = form.showLockedKeyIcon;
  s.SendTK = form.sendTK;
  s.use_script = form.useScript;
  s.BIGDIALOG = hasBigDialogBox && form.bigDialog;
  s.InstantCheck = form.instantCheck;
  s.timer3_interval = form.interval < kMinimumInterval ? kMinimumInterval : form.interval;
  s.return_waitmsec = static_cast<std::int32_t>(form.returnWait);
}

EnabledControls enabledControls(const SettingsForm& form) {
  EnabledControls on;
  on.numLockState = watched(form.numLock);
  on.watchedDevices = form.notifyWatchedDevice || form.numLock.mode == kConnectingDevicesMode;
  on.remoteMode = form.remoteCheck;
  on.remoteState = form.remoteCheck && watched(form.remoteNumLock);
  on.capsLockState = watched(form.capsLock);
  on.scrollLockState = watched(form.scrollLock);
  on.soundFile = form.playSound;
  on.returnWait = form.notifyOnly;
  on.editScript = form.useScript;
  return on;
}

}  // namespace kivora::settings
