#pragma once
// The key-state monitor: the monitoring tick that keeps NumLock, CapsLock and
// ScrollLock in the wanted states, and the timers, key presses, notices and
// script starts that serve it. One object per process, used on the
// user-interface thread; only the script worker runs elsewhere.
//
// The shell constructs it once the settings are loaded (with the engine
// behind EngineScriptRunner and a ScriptThreadWorker, script_engine_adapter.h)
// and calls:
//   startMonitoring()        in WM_CREATE (starts TIMERID3 and the device-list
//                            timer), hotkeys().setInsertBlock(true) when
//                            BlockInsert is on, then onMainWindowCreated()
//   hotkeys().registerPauseHotkey()  right after the window exists, and from
//                            SaveHooks::registerPauseHotkey after a save
//   onMonitorTimer(id)       for every WM_TIMER
//   onLockKeyChanged(vk)     for every key release WM_INPUT reports while the
//                            main window takes raw keyboard input (InstantCheck)
//   onWindowEvent(...)       for every event of the WinEvent hooks (InstantCheck)
//   onInputDeviceChange(c)   for WM_INPUT_DEVICE_CHANGE
//   onSessionChange(code)    for WM_WTSSESSION_CHANGE
//   pressLockKey(0)          for WM_HOTKEY other than kPauseHotkeyId (the
//                            Insert block) and the flash message WM_APP + 1
//   onPowerBroadcast(event)  for WM_POWERBROADCAST
//   onBalloonTimeout()       for NIN_BALLOONTIMEOUT on the tray callback
//   requestScriptStop()      on WM_QUERYENDSESSION and WM_DESTROY;
//   hotkeys().removeInsertBlockAtExit() and releasePauseHotkeyAtExit() in
//                            WM_DESTROY, then waitForScriptWorker(2000)
//   trayDeviceBit()          for the tray icon's device state
//   devices().refreshConnectedDevices(dialog)  from the device dialog

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "diag/debug_log.h"
#include "monitor/device_watch.h"
#include "monitor/hotkey_control.h"
#include "monitor/ime_control.h"
#include "monitor/instant_events.h"
#include "monitor/monitor_shell.h"
#include "monitor/script_runner.h"
#include "monitor/script_worker.h"
#include "monitor/window_rules.h"
#include "monitor/worker_thread.h"
#include "platform/desktop.h"
#include "platform/hotkeys.h"
#include "platform/ime.h"
#include "platform/keyboard.h"
#include "platform/local_time.h"
#include "platform/raw_input.h"
#include "platform/sound.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace kivora::monitor {

// WM_POWERBROADCAST events the monitor acts on.
inline constexpr unsigned kPbtApmSuspend = 0x0004;
inline constexpr unsigned kPbtApmResumeSuspend = 0x0007;
inline constexpr unsigned kPbtApmResumeAutomatic = 0x0012;

struct MonitorServices {
  platform::Desktop& desktop;
  platform::Keyboard& keyboard;
  platform::Sound& sound;
  platform::Ime& ime;
  platform::RawInput& rawInput;
  platform::Hotkeys& hotkeys;
  platform::LocalClock& clock;
  ScriptRunner& scriptRunner;
  WorkerThread& scriptThread;
};

// The monitor's own state between ticks (the script flags live in ScriptWorker,
// imeRetry in ImeControl).
struct MonitorState {
  // "Monitor once" keys are enforced while set; cleared at the end of the
  // first tick that had no failed change.
  bool firstTick = true;
  // Foreground window of the previous watching tick.
  platform::WindowHandle lastForeground = platform::kNoWindow;
  // The notify-only return timer is running.
  bool bTimer5Active = false;
  // Script starts are held (first 10 s, after resume from sleep).
  bool scriptHold = false;
  // minute * 60 + second of the wall clock when the script trigger last ran.
  int lastScriptSecond = 0;
  // The last tick pressed a key that did not take.
  bool lastTickFailed = false;
  // An event's tick ran less than kEventTickInterval ago (kEventTickTimer runs).
  bool eventTickQuiet = false;
  // An event came in that quiet time; the timer runs its tick.
  bool eventTickPending = false;
};

// A notice byte: nothing to show, or the key's current (wrong) state.
inline constexpr std::uint8_t kNoNotice = 0xFF;

// One lock key's row of the tick's table (monitor.cpp).
struct LockKeyRow;

class Monitor {
 public:
  Monitor(settings::Settings& settings, settings::SettingsStore store, diag::DebugLog& log,
          MonitorShell& shell, const MonitorServices& services, bool modeJP);
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  // Starts TIMERID3 with timer3_interval and the device-list timer.
  void startMonitoring();
  // The script hold at window creation, with its balloon and timer.
  void onMainWindowCreated();

  void onMonitorTimer(unsigned timerId);
  // A key was released (the user's, another program's or Kivora's own press).
  // With InstantCheck on, the release of NumLock, CapsLock or ScrollLock runs
  // one tick at once, the same tick TIMERID3 runs; other keys do nothing.
  // Like the events below, it runs at most one tick per kEventTickInterval:
  // one within that time of the last is folded into one tick at its end.
  void onLockKeyChanged(std::uint8_t virtualKey);
  // While InstantCheck is on, the window in front changing (EVENT_SYSTEM_FOREGROUND)
  // or retitling itself (EVENT_OBJECT_NAMECHANGE of that window itself, not
  // of a part of it) runs the tick at once; events of other windows do nothing.
  void onWindowEvent(unsigned event, platform::WindowHandle window, std::int32_t objectId,
                     std::int32_t childId);
  // A keyboard came or went: the connected-device list is read again at once
  // (when the device-list timer would read it) and, with InstantCheck on, a tick runs.
  void onInputDeviceChange(unsigned change);
  // With InstantCheck on, a session connecting or being unlocked runs a tick.
  void onSessionChange(unsigned code);
  // Flashes the tray icon, presses the key once (none for 0), sounds, and
  // starts TIMERID4 to restore the icon.
  void pressLockKey(std::uint8_t virtualKey);

  void onPowerBroadcast(unsigned event);
  // The balloon went away; closed with the middle button while the script is
  // held, the hold balloon is not shown again.
  void onBalloonTimeout();
  // Session end and window destruction: a running script stops at its next statement.
  void requestScriptStop();
  // True when no script worker runs any more. When false after the shell's
  // last wait, the process should end without destroying the monitor.
  bool waitForScriptWorker(unsigned milliseconds);

  // A watched keyboard is connected (the watched list is not empty).
  bool watchedDeviceConnected() const;
  // The device bit of the tray icon: NotifyWatchedDevice and a watched keyboard connected.
  bool trayDeviceBit() const;

  DeviceWatch& devices() { return devices_; }
  HotkeyControl& hotkeys() { return hotkeys_; }
  const MonitorState& state() const { return state_; }
  bool imeRetry() const { return ime_.imeRetry; }
  const ScriptWorker& scriptWorker() const { return script_; }

 private:
  struct TickResult {
    bool changeFailed = false;
    std::array<std::uint8_t, 3> notices{kNoNotice, kNoNotice, kNoNotice};
  };

  void runTick(bool returnTick);
  void refreshDevicesForTick();
  // An event's tick: at once, or at the end of the quiet time after the last one.
  void onInstantEvent(InstantTrigger trigger, std::u16string_view detail);
  void runEventTick();
  void onEventTickTimer();
  void watchKeys(TickResult& tick);
  settings::KeyStateSetting numLockSetting(bool foregroundChanged, LockPolicy ruleCode);
  // Whether the key is kept this tick under its setting.
  bool keyIsKept(const LockKeyRow& key, settings::KeyStateSetting setting) const;
  void enforceKey(const LockKeyRow& key, settings::KeyStateSetting setting, TickResult& tick);
  void showScreenNotice(const TickResult& tick);
  void triggerScript();
  void showScriptHoldBalloon();
  bool keyIsOn(std::uint8_t virtualKey);

  settings::Settings& settings_;
  settings::SettingsStore store_;
  diag::DebugLog& log_;
  MonitorShell& shell_;
  MonitorServices services_;
  bool modeJP_;

  MonitorState state_;
  DeviceWatch devices_;
  ImeControl ime_;
  HotkeyControl hotkeys_;
  ScriptWorker script_;
};

}  // namespace kivora::monitor
