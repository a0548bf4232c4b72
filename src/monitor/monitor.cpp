#include "monitor/monitor.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "monitor/log_format.h"
#include "monitor/texts.h"
#include "monitor/tray_icon_choice.h"

namespace kivora::monitor {

using settings::WatchMode;

namespace {

// Window titles and class names are read into buffers of this many characters.
constexpr int kWindowTextCapacity = 2049;

// The notice window at 100 % scaling: 200 x 124 pixels with its left edge 200
// and its top 104 pixels from the bottom-right corner of the work area, a line
// of text every 24 pixels from 40 down in a font of 16-pixel characters. At
// other scalings all of it grows with the DPI of the notice's monitor.
constexpr int kNoticeWidth = 200;
constexpr int kNoticeHeight = 124;
constexpr int kNoticeLift = 104;
constexpr int kNoticeTextHeight = 16;
constexpr unsigned kDefaultDpi = 96;

// `pixels` at 96 DPI at `dpi`, rounded as MulDiv rounds.
int scaledForDpi(int pixels, unsigned dpi) {
  const long long product = static_cast<long long>(pixels) * dpi;
  const long long half = kDefaultDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kDefaultDpi
                                       : (product - half) / kDefaultDpi);
}

std::u16string windowText(int (platform::Desktop::*read)(platform::WindowHandle, char16_t*, int),
                          platform::Desktop& desktop, platform::WindowHandle window) {
  std::vector<char16_t> buffer(kWindowTextCapacity, u'\0');
  const int copied = (desktop.*read)(window, buffer.data(), kWindowTextCapacity);
  const auto length = static_cast<std::size_t>(std::clamp(copied, 0, kWindowTextCapacity - 1));
  return std::u16string(buffer.data(), std::find(buffer.data(), buffer.data() + length, u'\0'));
}

}  // namespace

// The line numbers of one key's log lines in the key procedure.
struct KeyLogLines {
  unsigned notHandled;
  unsigned onNoChange;  // ON, as wanted
  unsigned noticeOn;    // notify-only: ON, though OFF is wanted
  unsigned pressedOff;
  unsigned failedOff;  // still ON after the press
  unsigned offNoChange;
  unsigned noticeOff;
  unsigned pressedOn;
  unsigned failedOn;
};

// One lock key: its virtual key, the name its log lines and notice use, its
// log lines and its line of the notice.
struct LockKeyRow {
  std::size_t index;
  std::uint8_t virtualKey;
  std::u16string_view name;
  KeyLogLines lines;
  int noticeY;
  std::uint32_t noticeColor;
};

namespace {

constexpr std::array<LockKeyRow, 3> kLockKeys{{
    {.index = 0,
     .virtualKey = platform::kVkNumLock,
     .name = u"NumLock",
     .lines = {.notHandled = 1913,
               .onNoChange = 1888,
               .noticeOn = 1875,
               .pressedOff = 1879,
               .failedOff = 1882,
               .offNoChange = 1908,
               .noticeOff = 1895,
               .pressedOn = 1899,
               .failedOn = 1902},
     .noticeY = 40,
     .noticeColor = 0xE0FFFF},
    {.index = 1,
     .virtualKey = platform::kVkCapital,
     .name = u"CapsLock",
     .lines = {.notHandled = 1999,
               .onNoChange = 1974,
               .noticeOn = 1961,
               .pressedOff = 1965,
               .failedOff = 1968,
               .offNoChange = 1994,
               .noticeOff = 1981,
               .pressedOn = 1985,
               .failedOn = 1988},
     .noticeY = 64,
     .noticeColor = 0xFFE0FF},
    {.index = 2,
     .virtualKey = platform::kVkScroll,
     .name = u"ScrollLock",
     .lines = {.notHandled = 2085,
               .onNoChange = 2060,
               .noticeOn = 2047,
               .pressedOff = 2051,
               .failedOff = 2054,
               .offNoChange = 2080,
               .noticeOff = 2067,
               .pressedOn = 2071,
               .failedOn = 2074},
     .noticeY = 88,
     .noticeColor = 0xFFFFE0},
}};

const LockKeyRow& kNumLock = kLockKeys[0];
const LockKeyRow& kCapsLock = kLockKeys[1];
const LockKeyRow& kScrollLock = kLockKeys[2];

std::u16string onOff(bool on) { return on ? u"ON" : u"OFF"; }

// A lock setting as the override lines print it.
std::u16string storedHex(settings::KeyStateSetting setting) {
  return hexText(static_cast<std::uint32_t>(setting.stored()));
}

constexpr settings::KeyStateSetting kConstantlyOn{settings::WatchMode::Constantly, true};

}  // namespace

Monitor::Monitor(settings::Settings& settings, settings::SettingsStore store, diag::DebugLog& log,
                 MonitorShell& shell, const MonitorServices& services, bool modeJP)
    : settings_(settings),
      store_(std::move(store)),
      log_(log),
      shell_(shell),
      services_(services),
      modeJP_(modeJP),
      devices_(services.rawInput, log, shell, modeJP),
      ime_(services.ime, log),
      hotkeys_(services.hotkeys, log, shell, settings, modeJP),
      script_(settings, services.scriptRunner, services.scriptThread, shell, modeJP) {}

void Monitor::startMonitoring() {
  shell_.startTimer(kTimerId3, std::max(settings_.timer3_interval, 100u));
  shell_.startTimer(kDeviceListTimer, kDeviceListInterval);
}

void Monitor::onMainWindowCreated() {
  if (settings_.KBWatchEnabled == 0 || settings_.use_script == 0) return;
  state_.scriptHold = true;
  if (settings_.NoNotifyScriptSuspend == 0) showScriptHoldBalloon();
  shell_.startTimer(kScriptHoldTimer, kScriptHoldInterval);
}

void Monitor::showScriptHoldBalloon() {
  shell_.showNewBalloon(texts::kScriptHold.pick(modeJP_), BalloonIcon::Information);
}

void Monitor::onMonitorTimer(unsigned timerId) {
  switch (timerId) {
    case kTimerId3:
      runTick(false);
      break;
    case kDeviceListTimer:
      refreshDevicesForTick();
      break;
    case kScriptHoldTimer:
      state_.scriptHold = false;
      shell_.killTimer(kScriptHoldTimer);
      break;
    case kTimerId4:
      log_.log(diag::kLogEntry, 1683, u"TIMERID4", u"通知領域アイコン戻し");
      shell_.updateTrayIcon();
      shell_.killTimer(kTimerId4);
      break;
    case kTimerId5: {
      shell_.killTimer(kTimerId5);
      // The user may have switched notify-only off while this timer ran; the
      // correcting tick must not switch it back on.
      const std::int32_t notifyOnly = settings_.NotifyOnly;
      settings_.NotifyOnly = 0;
      state_.bTimer5Active = false;
      log_.log(diag::kLogEntry, 1687, u"TIMERID5", u"");
      runTick(true);
      settings_.NotifyOnly = notifyOnly;
      break;
    }
    case kEventTickTimer:
      onEventTickTimer();
      break;
    default:
      break;
  }
}

void Monitor::refreshDevicesForTick() {
  // With NumLock held constantly ON and no device shown in the tray,
  // nothing looks at the device list.
  if (!(settings_.NumLockState == kConstantlyOn && settings_.NotifyWatchedDevice == 0))
    devices_.refreshConnectedDevices(platform::kNoWindow);
}

void Monitor::onLockKeyChanged(std::uint8_t virtualKey) {
  if (settings_.InstantCheck == 0) return;
  const auto key = std::find_if(kLockKeys.begin(), kLockKeys.end(), [&](const LockKeyRow& row) {
    return row.virtualKey == virtualKey;
  });
  if (key == kLockKeys.end()) return;
  onInstantEvent(InstantTrigger::KeyRelease, key->name);
}

void Monitor::onWindowEvent(unsigned event, platform::WindowHandle window, std::int32_t objectId,
                            std::int32_t childId) {
  if (settings_.InstantCheck == 0) return;
  if (event == kEventSystemForeground) {
    onInstantEvent(InstantTrigger::Foreground, handleText(window));
    return;
  }
  // Titles change all over the desktop (clocks, progress in title bars); only
  // the window in front matters, and any other costs no more than this test.
  if (event != kEventObjectNameChange || objectId != kObjidWindow || childId != kChildIdSelf ||
      window != services_.desktop.GetForegroundWindow())
    return;
  onInstantEvent(InstantTrigger::TitleChange, handleText(window));
}

void Monitor::onInputDeviceChange(unsigned change) {
  refreshDevicesForTick();
  if (settings_.InstantCheck == 0) return;
  const std::u16string detail = change == kGidcArrival   ? std::u16string(u"接続")
                                : change == kGidcRemoval ? std::u16string(u"取り外し")
                                                         : decimalText(change);
  onInstantEvent(InstantTrigger::DeviceChange, detail);
}

void Monitor::onSessionChange(unsigned code) {
  if (settings_.InstantCheck == 0) return;
  if (const auto name = sessionChangeThatRunsTick(code))
    onInstantEvent(InstantTrigger::SessionChange, *name);
}

void Monitor::onInstantEvent(InstantTrigger trigger, std::u16string_view detail) {
  const InstantTriggerLines& lines = instantTriggerLines(trigger);
  // Kivora's own presses come back as releases too. After a press that took,
  // the tick finds every key right; after one that did not, a stream of
  // releases or other events would become a stream of presses, so the timer
  // retries instead.
  if (state_.lastTickFailed) {
    log_.log(diag::kLogEntry, lines.waitLine, lines.name, u"切替失敗の後なので次のタイマまで待つ");
    return;
  }
  // A burst (a window retitling itself many times a second, a flood of
  // switches, the release of Kivora's own press right after its tick) is
  // folded into one tick at the end of the quiet time; that tick reads the
  // desktop and the keys as the last event left them.
  if (state_.eventTickQuiet) {
    if (!state_.eventTickPending)
      log_.log(diag::kLogEntry, 1699, lines.name, u"直後のイベントはまとめて後で補正");
    state_.eventTickPending = true;
    return;
  }
  log_.log(diag::kLogEntry, lines.runLine, lines.name, detail);
  runEventTick();
}

void Monitor::runEventTick() {
  // The quiet time starts before the tick, so that an event arriving while
  // the tick waits on another window is folded in as well.
  state_.eventTickQuiet = true;
  state_.eventTickPending = false;
  shell_.startTimer(kEventTickTimer, kEventTickInterval);
  runTick(false);
}

void Monitor::onEventTickTimer() {
  if (state_.eventTickPending && settings_.InstantCheck != 0 && !state_.lastTickFailed) {
    log_.log(diag::kLogEntry, 1686, u"TIMERID_EVENT", u"まとめたイベントの補正");
    runEventTick();
    return;
  }
  shell_.killTimer(kEventTickTimer);
  state_.eventTickQuiet = false;
  state_.eventTickPending = false;
}

void Monitor::runTick(bool returnTick) {
  log_.log(kLogTickStart, 1690, u"TIMERID3", u"");
  TickResult tick;
  if (settings_.ShowLockedKeyIcon != 0 || settings_.NotifyWatchedDevice != 0)
    shell_.updateTrayIcon();
  if (settings_.SendTK != 0) shell_.sendKeyStateToCompanion();

  if (settings_.KBWatchEnabled == 0) {
    log_.log(kLogTick, 1711, u"監視OFFのためメイン処理スキップ", u"");
  } else {
    watchKeys(tick);
  }

  if (state_.firstTick && !tick.changeFailed) {
    log_.log(kLogTick, 2281, u"初回監視終了", u"");
    state_.firstTick = false;
  }
  state_.lastTickFailed = tick.changeFailed;
  if (returnTick) return;
  const bool anyNotice = std::any_of(tick.notices.begin(), tick.notices.end(),
                                     [](std::uint8_t n) { return n != kNoNotice; });
  if (!state_.bTimer5Active && anyNotice && settings_.NotifyOnly != 0 &&
      settings_.return_waitmsec != 0) {
    shell_.startTimer(kTimerId5, static_cast<unsigned>(settings_.return_waitmsec));
    state_.bTimer5Active = true;
  }
}

void Monitor::watchKeys(TickResult& tick) {
  log_.log(kLogTick, 1714, u"監視ONのためメイン処理開始", u"");
  auto& desktop = services_.desktop;
  const platform::WindowHandle foreground = desktop.GetForegroundWindow();
  log_.log(kLogTick, 1724, u"ActiveWinHandle=", handleText(foreground));
  const std::u16string title = windowText(&platform::Desktop::GetWindowTextW, desktop, foreground);
  log_.log(kLogTick, 1727, u"ActiveWin=", title);
  const std::u16string className =
      windowText(&platform::Desktop::GetClassNameW, desktop, foreground);
  log_.log(kLogTick, 1730, u"ActiveWinClass=", className);

  const RuleCodes rule = findWindowRule(store_, settings_.bUseIni, log_, title);
  const bool foregroundChanged = foreground != state_.lastForeground;

  enforceKey(kNumLock, numLockSetting(foregroundChanged, rule.numLock), tick);

  settings::KeyStateSetting caps = settings_.CapsLockState;
  if (rule.capsLock != kPolicyNone) {
    caps = applyLockPolicy(rule.capsLock, caps, foregroundChanged);
    log_.log(kLogTick, 1952, u"CapsLock特殊処理による変更=", storedHex(caps));
  }
  enforceKey(kCapsLock, caps, tick);

  settings::KeyStateSetting scroll = settings_.ScrollLockState;
  if (rule.scrollLock != kPolicyNone) {
    scroll = applyLockPolicy(rule.scrollLock, scroll, foregroundChanged);
    log_.log(kLogTick, 2038, u"ScrollLock特殊処理による変更=", storedHex(scroll));
  }
  enforceKey(kScrollLock, scroll, tick);

  showScreenNotice(tick);
  ime_.applyImePolicy(foreground, state_.lastForeground, settings_.ImeLock, rule.ime);

  if (settings_.use_script != 0 && !state_.scriptHold) triggerScript();
  state_.lastForeground = foreground;
}

// NumLock's setting for this tick: the device reversal, then the remote
// session's own setting, then the window rule, which beats both.
settings::KeyStateSetting Monitor::numLockSetting(bool foregroundChanged, LockPolicy ruleCode) {
  settings::KeyStateSetting n = settings_.NumLockState;
  if (n.mode() == WatchMode::WhileDeviceConnected && settings_.NOT_WATCH_DEV_NUMLOCK != 0 &&
      !settings_.watchedKeyboards.empty() && !watchedDeviceConnected()) {
    n = n.opposedConstantly();
  }
  if (settings_.RemoteCheck != 0 &&
      services_.desktop.GetSystemMetrics(platform::kSmRemoteSession) != 0) {
    n = settings_.RM_NumLockState;
    log_.log(kLogTick, 1827, u"リモートデスクトップ中かつリモートデスクトップ接続時は監視変更",
             u"");
  }
  if (ruleCode != kPolicyNone) {
    n = applyLockPolicy(ruleCode, n, foregroundChanged);
    log_.log(kLogTick, 1864, u"NumLock特殊処理による変更=", storedHex(n));
  }
  return n;
}

bool Monitor::keyIsOn(std::uint8_t virtualKey) {
  return (services_.keyboard.GetKeyState(virtualKey) & 1) != 0;
}

bool Monitor::keyIsKept(const LockKeyRow& key, settings::KeyStateSetting setting) const {
  switch (setting.mode()) {
    case WatchMode::Constantly:
      return true;
    case WatchMode::Once:
      return state_.firstTick;
    case WatchMode::WhileDeviceConnected:
      return key.virtualKey == platform::kVkNumLock && watchedDeviceConnected();
    case WatchMode::NotWatched:
      break;
  }
  return false;
}

void Monitor::enforceKey(const LockKeyRow& key, settings::KeyStateSetting setting,
                         TickResult& tick) {
  const KeyLogLines& lines = key.lines;
  const std::u16string name(key.name);
  if (!keyIsKept(key, setting)) {
    log_.log(kLogTick, lines.notHandled, name + u"処理対象外", u"");
    return;
  }
  const bool wantOn = setting.wantsOn();
  const bool isOn = keyIsOn(key.virtualKey);
  if (isOn == wantOn) {
    if (isOn) {
      log_.log(kLogTick, lines.onNoChange, name + u" ONなのでONへの切替不要", u"");
    } else {
      log_.log(kLogTick, lines.offNoChange, name + u" OFFなのでOFFへの切替不要", u"");
    }
    return;
  }
  if (settings_.NotifyOnly != 0) {
    tick.notices[key.index] = isOn ? 1 : 0;
    log_.log(kLogTick, isOn ? lines.noticeOn : lines.noticeOff, name + u"画面通知", onOff(isOn));
    return;
  }
  pressLockKey(key.virtualKey);
  log_.log(kLogTick, isOn ? lines.pressedOff : lines.pressedOn, name + u"状態変更", onOff(!isOn));
  if (keyIsOn(key.virtualKey) != wantOn) {
    log_.log(kLogTick, isOn ? lines.failedOff : lines.failedOn, name + u"状態変更", u"変更失敗");
    tick.changeFailed = true;
  }
}

void Monitor::pressLockKey(std::uint8_t virtualKey) {
  if (settings_.ShowLockedKeyIcon != 0) {
    // The flash icon shows the states before the press.
    const LockKeys keys{keyIsOn(platform::kVkNumLock), keyIsOn(platform::kVkCapital),
                        keyIsOn(platform::kVkScroll)};
    shell_.flashTrayIcon(lockStateIconIndex(kIconFlash, keys, trayDeviceBit()));
  } else {
    shell_.flashTrayIcon(std::nullopt);
  }
  if (virtualKey != 0) {
    services_.keyboard.keybd_event(virtualKey, 0, 0, 0);
    services_.keyboard.keybd_event(virtualKey, 0, platform::kKeyEventFKeyUp, 0);
  }
  if (settings_.PlaySound == 1) {
    const auto& file = settings_.PlaySoundFileName;
    const bool played =
        !file.empty() &&
        services_.sound.PlaySoundW(file.c_str(), 0, platform::kSndFilename | platform::kSndAsync);
    if (!played) services_.sound.MessageBeep(platform::kMbOk);
  }
  shell_.startTimer(kTimerId4, kTrayRestoreInterval);
}

void Monitor::showScreenNotice(const TickResult& tick) {
  const bool anyNotice = std::any_of(tick.notices.begin(), tick.notices.end(),
                                     [](std::uint8_t n) { return n != kNoNotice; });
  if (!anyNotice) {
    shell_.hideNotice();
    return;
  }
  const unsigned shellDpi = shell_.noticeDpi();
  const unsigned dpi = shellDpi != 0 ? shellDpi : kDefaultDpi;
  const auto scaled = [dpi](int pixels) { return scaledForDpi(pixels, dpi); };
  ScreenNotice notice;
  for (const auto& key : kLockKeys) {
    const std::uint8_t state = tick.notices[key.index];
    if (state == kNoNotice) continue;
    notice.lines.push_back(
        {0, scaled(key.noticeY), key.noticeColor,
         u" " + std::u16string(key.name) + (state != 0 ? u" : ON  " : u" : OFF ")});
  }
  auto& desktop = services_.desktop;
  notice.x = desktop.GetSystemMetrics(platform::kSmCxFullScreen) - scaled(kNoticeWidth);
  notice.y = desktop.GetSystemMetrics(platform::kSmCyFullScreen) - scaled(kNoticeLift);
  notice.width = scaled(kNoticeWidth);
  notice.height = scaled(kNoticeHeight);
  notice.textHeight = scaled(kNoticeTextHeight);
  notice.backgroundColor = 0;
  shell_.showNotice(notice);
  log_.log(kLogTick, 2112, u"状態表示", u"");
}

void Monitor::triggerScript() {
  const platform::SystemTime now = services_.clock.GetLocalTime();
  const int second = now.wMinute * 60 + now.wSecond;
  if (second == state_.lastScriptSecond) return;
  script_.startIfIdle();
  state_.lastScriptSecond = second;
}

void Monitor::onPowerBroadcast(unsigned event) {
  switch (event) {
    case kPbtApmSuspend:
      script_.requestStop();
      state_.scriptHold = true;
      break;
    case kPbtApmResumeSuspend:
    case kPbtApmResumeAutomatic:
      if (settings_.NoNotifyScriptSuspend == 0) showScriptHoldBalloon();
      shell_.startTimer(kScriptHoldTimer, kScriptHoldInterval);
      break;
    default:
      break;
  }
}

void Monitor::onBalloonTimeout() {
  constexpr std::uint16_t kDown = 0x8000;
  if (state_.scriptHold &&
      (static_cast<std::uint16_t>(services_.keyboard.GetAsyncKeyState(platform::kVkMButton)) &
       kDown) != 0) {
    settings_.NoNotifyScriptSuspend = 1;
  }
}

void Monitor::requestScriptStop() { script_.requestStop(); }

bool Monitor::waitForScriptWorker(unsigned milliseconds) {
  return script_.waitForEnd(milliseconds);
}

bool Monitor::watchedDeviceConnected() const {
  return !settings_.watchedKeyboards.empty() &&
         devices_.isWatchedDeviceConnected(settings_.watchedKeyboards);
}

bool Monitor::trayDeviceBit() const {
  return settings_.NotifyWatchedDevice != 0 && watchedDeviceConnected();
}

}  // namespace kivora::monitor
