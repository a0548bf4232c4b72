#include "app/instant_check.h"

#include <cstdint>
#include <optional>

#include "app/app.h"

namespace kivora::app {

namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;
// Raw reports carry no key for the extra part of an escaped sequence.
constexpr USHORT kNoKey = 0xFF;

// The virtual key a raw keyboard report releases, if it is one.
std::optional<std::uint8_t> releasedKey(const RAWINPUT& input) {
  if (input.header.dwType != RIM_TYPEKEYBOARD) return std::nullopt;
  const RAWKEYBOARD& key = input.data.keyboard;
  if ((key.Flags & RI_KEY_BREAK) == 0 || key.VKey >= kNoKey) return std::nullopt;
  return static_cast<std::uint8_t>(key.VKey);
}

std::u16string_view registrationText(bool on) { return on ? u"登録" : u"解除"; }

void followRawKeyboard(App& app, bool wanted) {
  if (wanted == app.rawKeyboardRegistered) return;
  const RAWINPUTDEVICE keyboard{
      kGenericDesktopPage, kKeyboardUsage,
      static_cast<DWORD>(wanted ? RIDEV_INPUTSINK | RIDEV_DEVNOTIFY : RIDEV_REMOVE),
      wanted ? app.mainWindow : nullptr};
  if (!RegisterRawInputDevices(&keyboard, 1, sizeof keyboard)) {
    app.log(2420, u"[RawInput登録]", u"失敗");
    return;
  }
  app.rawKeyboardRegistered = wanted;
  app.log(2420, u"[RawInput登録]", registrationText(wanted));
}

void followWindowEvents(App& app, bool wanted) {
  if (wanted == app.windowEvents.has_value()) return;
  if (!wanted) {
    app.windowEvents.reset();
  } else if (!app.windowEvents.emplace(app.monitor()).installed()) {
    app.windowEvents.reset();
    app.log(2421, u"[WinEventフック]", u"失敗");
    return;
  }
  app.log(2421, u"[WinEventフック]", registrationText(wanted));
}

void followSessionChanges(App& app, bool wanted) {
  if (wanted == app.sessionNotification.active()) return;
  if (!wanted) {
    app.sessionNotification.stop();
  } else if (!app.sessionNotification.start(app.mainWindow)) {
    app.log(2422, u"[セッション通知登録]", u"失敗");
    return;
  }
  app.log(2422, u"[セッション通知登録]", registrationText(wanted));
}

}  // namespace

void followInstantCheck(App& app) {
  const bool wanted = app.settings.InstantCheck != 0;
  followRawKeyboard(app, wanted);
  followWindowEvents(app, wanted);
  followSessionChanges(app, wanted);
}

void stopInstantCheck(App& app) {
  followWindowEvents(app, false);
  followSessionChanges(app, false);
}

void onRawInput(App& app, HRAWINPUT input) {
  RAWINPUT report{};
  UINT size = sizeof report;
  if (GetRawInputData(input, RID_INPUT, &report, &size, sizeof(RAWINPUTHEADER)) ==
      static_cast<UINT>(-1))
    return;
  if (const auto key = releasedKey(report)) app.monitor().onLockKeyChanged(*key);
}

}  // namespace kivora::app
