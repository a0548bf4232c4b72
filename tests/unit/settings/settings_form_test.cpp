// What the settings dialog's controls mean for Settings: the packed lock
// lists, the interval's floor, the English layout's missing big-dialog box,
// and which controls a form enables.

#include <gtest/gtest.h>

#include "settings/settings_form.h"

namespace kivora::test {
namespace {

using namespace settings;

TEST(SettingsForm, EveryShownValueSurvivesTheRoundTripAndNothingElseIsTouched) {
  Settings s;
  s.NumLockState = 7;
  s.RM_NumLockState = 4;
  s.CapsLockState = 3;
  s.ScrollLockState = 5;
  s.NotifyWatchedDevice = 1;
  s.RemoteCheck = 1;
  s.use_script = 1;
  s.PlaySound = 1;
  s.PlaySoundFileName = u"C:\\ding.wav";
  s.ImeLock = 4;
  s.EnDisTTIcon = 2;
  s.HOTKEY_ENDISTTICON = 0x0641;
  s.NotifyOnly = 1;
  s.BlockInsert = 1;
  s.ShowLockedKeyIcon = 1;
  s.SendTK = 1;
  s.BIGDIALOG = 1;
  s.InstantCheck = 0;               // on by default
  s.timer3_interval = 0xF0000000u;  // a large unsigned interval is kept
  s.return_waitmsec = 2500;
  s.KBWatchEnabled = 0;
  s.watchedKeyboards = {u"kbd"};
  s.kx_script = u"x = 1";

  Settings copy;
  copy.KBWatchEnabled = 0;
  copy.watchedKeyboards = {u"kbd"};
  copy.kx_script = u"x = 1";
  applyForm(formFromSettings(s), copy, true);
  EXPECT_EQ(formFromSettings(copy), formFromSettings(s));
  EXPECT_EQ(copy.NumLockState, 7);
  EXPECT_EQ(copy.InstantCheck, 0);
  EXPECT_EQ(copy.timer3_interval, 0xF0000000u);
  EXPECT_EQ(copy.kx_script, u"x = 1");
  EXPECT_EQ(copy.watchedKeyboards, std::vector<std::u16string>{u"kbd"});
  EXPECT_EQ(copy.KBWatchEnabled, 0);
}

TEST(SettingsForm, ListsPackIntoKeyStateSettingsAndTheIntervalHasAFloor) {
  Settings s;
  SettingsForm form = formFromSettings(s);
  EXPECT_EQ(form.numLock, (LockKeyChoice{0, 1}));  // the default 1: not watched, ON
  form.numLock = {3, 0};
  form.remoteNumLock = {2, 1};
  form.interval = 50;
  applyForm(form, s, true);
  EXPECT_EQ(s.NumLockState, 6);
  EXPECT_EQ(s.RM_NumLockState, 5);
  EXPECT_EQ(s.timer3_interval, 100u);
  form.interval = 100;
  applyForm(form, s, true);
  EXPECT_EQ(s.timer3_interval, 100u);
}

TEST(SettingsForm, WithoutTheBigDialogBoxBigDialogIsCleared) {
  Settings s;
  s.BIGDIALOG = 1;
  applyForm(formFromSettings(s), s, false);
  EXPECT_EQ(s.BIGDIALOG, 0);
}

TEST(SettingsForm, EnabledStatesFollowTheirSwitches) {
  SettingsForm form;
  EXPECT_EQ(enabledControls(form), EnabledControls{});

  form.numLock = {3, 1};  // "Connecting devices" needs the device button without the box
  EnabledControls expected;
  expected.numLockState = true;
  expected.watchedDevices = true;
  EXPECT_EQ(enabledControls(form), expected);

  form.numLock = {0, 1};
  form.notifyWatchedDevice = true;
  expected.numLockState = false;
  EXPECT_EQ(enabledControls(form), expected);

  form.remoteNumLock = {1, 0};  // the remote state list needs the box as well
  expected.remoteState = false;
  EXPECT_EQ(enabledControls(form).remoteState, false);
  form.remoteCheck = true;
  expected.remoteMode = true;
  expected.remoteState = true;
  EXPECT_EQ(enabledControls(form), expected);

  form.capsLock = {2, 0};
  form.scrollLock = {1, 1};
  form.playSound = true;
  form.notifyOnly = true;
  form.useScript = true;
  expected.capsLockState = expected.scrollLockState = expected.soundFile = true;
  expected.returnWait = expected.editScript = true;
  EXPECT_EQ(enabledControls(form), expected);
}

}  // namespace
}  // namespace kivora::test
