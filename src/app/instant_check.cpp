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

}  // namespace

void followInstantCheck(App& app) {
  const bool wanted = app.settings.InstantCheck != 0;
  if (wanted == app.rawKeyboardRegistered) return;
  const RAWINPUTDEVICE keyboard{kGenericDesktopPage, kKeyboardUsage,
                                static_cast<DWORD>(wanted ? RIDEV_INPUTSINK : RIDEV_REMOVE),
                                wanted ? app.mainWindow : nullptr};
  if (!RegisterRawInputDevices(&keyboard, 1, sizeof keyboard)) {
    app.log(2420, u"[RawInput登録]", u"失敗");
    return;
  }
  app.rawKeyboardRegistered = wanted;
  app.log(2420, u"[RawInput登録]", wanted ? u"登録" : u"解除");
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
