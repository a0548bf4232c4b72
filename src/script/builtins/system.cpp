// The builtins that reach outside the interpreter: time, waiting, metrics,
// environment, clipboard, mouse and keyboard synthesis, key and IME state, the
// foreground window's title, monitors and keyboard devices. Each goes through
// ScriptSystem; a platform call that fails gives the builtin's neutral result.

#include "script/builtins/handlers.h"
#include "script/builtins/system_interface.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kivora::script::builtins {

namespace {

ScriptSystem& sys(BuiltinCall& call) { return call.ctx.system; }

// The language version 1.56.01, written X * 10000 + YY * 100 + ZZ.
constexpr std::int32_t kKxScriptVersion = 15601;

Value integer(std::int64_t v) { return Value::integer(static_cast<std::int32_t>(v)); }
Value flag(bool b) { return Value::integer(b ? 1 : 0); }

// Keys whose scan codes carry the extended prefix: the navigation block,
// Print Screen / Insert / Delete, the Windows and Applications keys, right
// Control, and right Alt with the browser, volume, media and launch keys.
bool isExtendedKey(std::uint32_t code) {
  return (code >= 0x21 && code <= 0x28) || (code >= 0x2C && code <= 0x2E) ||
         (code >= 0x5B && code <= 0x5D) || code == 0xA3 || (code >= 0xA5 && code <= 0xB7);
}

constexpr std::uint32_t kKeyEventExtendedKey = 0x0001;
constexpr std::uint32_t kKeyEventKeyUp = 0x0002;
constexpr std::uint32_t kKeyEventUnicode = 0x0004;

constexpr std::uint32_t kMouseMove = 0x0001;
constexpr std::uint32_t kMouseWheel = 0x0800;

struct MouseButton {
  std::uint32_t down;
  std::uint32_t up;
  std::int32_t data;
};

Value mouseButton(BuiltinCall& call, const MouseButton& button) {
  sys(call).mouseEvent(call.number(0) != 0 ? button.down : button.up, 0, 0, button.data);
  return Value::integer(1);
}

// A raw-input device name cut after its second '#': the bus and the device
// id stay, the instance and interface parts go, so one keyboard keeps one
// name across ports and restarts.
std::u16string shortDeviceName(const std::u16string& name) {
  const std::size_t first = name.find(u'#');
  if (first == std::u16string::npos) return name;
  const std::size_t second = name.find(u'#', first + 1);
  if (second == std::u16string::npos) return name;
  return name.substr(0, second);
}

}  // namespace

// --- time, metrics, version --------------------------------------------------

Value sleep(BuiltinCall& call) {
  // A negative time would be the platform's endless wait; it waits 0 instead.
  const auto milliseconds = static_cast<std::uint32_t>(std::max(call.number(0), 0));
  // The host's wait ends at a stop request; 0 only gives up the time slice.
  if (milliseconds != 0 && call.ctx.host.sleep) {
    call.ctx.host.sleep(milliseconds);
  } else {
    sys(call).sleep(milliseconds);
  }
  return Value::integer(0);
}

Value getCurrentYear(BuiltinCall& call) { return integer(sys(call).localTime().wYear); }
Value getCurrentMonth(BuiltinCall& call) { return integer(sys(call).localTime().wMonth); }
Value getCurrentDay(BuiltinCall& call) { return integer(sys(call).localTime().wDay); }
Value getCurrentDayOfWeek(BuiltinCall& call) { return integer(sys(call).localTime().wDayOfWeek); }
Value getCurrentHour(BuiltinCall& call) { return integer(sys(call).localTime().wHour); }
Value getCurrentMinute(BuiltinCall& call) { return integer(sys(call).localTime().wMinute); }
Value getCurrentSecond(BuiltinCall& call) { return integer(sys(call).localTime().wSecond); }
Value getCurrentMilliseconds(BuiltinCall& call) {
  return integer(sys(call).localTime().wMilliseconds);
}

Value getTickCount(BuiltinCall& call) {
  return Value::integer(static_cast<std::int32_t>(sys(call).tickCount()));
}

Value getSystemMetrics(BuiltinCall& call) {
  return integer(sys(call).systemMetrics(call.number(0)));
}

Value getKxScriptVersion(BuiltinCall&) { return Value::integer(kKxScriptVersion); }

Value messageBeep(BuiltinCall& call) {
  return flag(sys(call).messageBeep(static_cast<unsigned>(call.number(0))));
}

// --- environment -------------------------------------------------------------

Value getEnv(BuiltinCall& call) {
  std::u16string value;
  if (sys(call).getEnvironmentVariable(utf8ToWide(call.text(0)), value) == 0)
    return Value::string({});
  // The text ends at its first NUL, as the platform's buffer does.
  value.resize(std::min(value.size(), value.find(u'\0')));
  return Value::string(wideToUtf8(value));
}

Value setEnv(BuiltinCall& call) {
  return flag(sys(call).setEnvironmentVariable(utf8ToWide(call.text(0)), utf8ToWide(call.text(1))));
}

// --- clipboard ---------------------------------------------------------------

Value getClipboardText(BuiltinCall& call) {
  std::u16string text;
  if (!sys(call).getClipboardText(call.ctx.host.ownerWindow, text)) return Value::string({});
  return Value::string(wideToUtf8(text));
}

Value setClipboardText(BuiltinCall& call) {
  return flag(sys(call).setClipboardText(call.ctx.host.ownerWindow, utf8ToWide(call.text(0))));
}

// --- mouse ---------------------------------------------------------------------

Value getCursorPosX(BuiltinCall& call) {
  std::int32_t x = -1;
  std::int32_t y = -1;
  if (!sys(call).getCursorPos(x, y)) return Value::integer(-1);
  return Value::integer(x);
}

Value getCursorPosY(BuiltinCall& call) {
  std::int32_t x = -1;
  std::int32_t y = -1;
  if (!sys(call).getCursorPos(x, y)) return Value::integer(-1);
  return Value::integer(y);
}

Value setCursorPos(BuiltinCall& call) {
  return flag(sys(call).setCursorPos(call.number(0), call.number(1)));
}

Value moveMouse(BuiltinCall& call) {
  sys(call).mouseEvent(kMouseMove, call.number(0), call.number(1), 0);
  return Value::integer(1);
}

Value mouseWheel(BuiltinCall& call) {
  sys(call).mouseEvent(kMouseWheel, 0, 0, call.number(0));
  return Value::integer(1);
}

Value mouseButtonLeft(BuiltinCall& call) { return mouseButton(call, {0x0002, 0x0004, 0}); }
Value mouseButtonRight(BuiltinCall& call) { return mouseButton(call, {0x0008, 0x0010, 0}); }
Value mouseButtonMiddle(BuiltinCall& call) { return mouseButton(call, {0x0020, 0x0040, 0}); }
Value mouseButtonX1(BuiltinCall& call) { return mouseButton(call, {0x0080, 0x0100, 1}); }
Value mouseButtonX2(BuiltinCall& call) { return mouseButton(call, {0x0080, 0x0100, 2}); }

// --- keyboard ------------------------------------------------------------------

Value keybdEvent(BuiltinCall& call) {
  const auto code = static_cast<std::uint8_t>(call.number(0) & 0xFF);
  std::uint32_t flags = isExtendedKey(code) ? kKeyEventExtendedKey : 0;
  if (call.number(1) == 0) flags |= kKeyEventKeyUp;
  sys(call).keybdEvent(code, 0, flags);
  return Value::integer(1);
}

Value sendInputUnicode(BuiltinCall& call) {
  // One code unit only: a character beyond the BMP sends its high surrogate.
  const std::u16string text = utf8ToWide(call.text(0));
  const char16_t unit = text.empty() ? u'\0' : text[0];
  std::uint32_t flags = kKeyEventUnicode;
  if (call.number(1) == 0) flags |= kKeyEventKeyUp;
  if (isExtendedKey(unit)) flags |= kKeyEventExtendedKey;
  return integer(sys(call).sendUnicodeInput(unit, flags));
}

Value getKeyState(BuiltinCall& call) { return integer(sys(call).getKeyState(call.number(0))); }

// --- IME and the foreground window ---------------------------------------------

Value getImeState(BuiltinCall& call) {
  std::intptr_t result = 0;
  if (!sys(call).foregroundImeControl(kImcGetOpenStatus, 0, result)) return Value::integer(-1);
  return integer(result);
}

Value setImeState(BuiltinCall& call) {
  std::intptr_t result = 0;
  if (!sys(call).foregroundImeControl(kImcSetOpenStatus, call.number(0) != 0 ? 1 : 0, result)) {
    return Value::integer(0);
  }
  return integer(result);
}

Value getActiveWindowTitle(BuiltinCall& call) {
  // The title as the script's own UTF-8, so that it equals the script's
  // literals whatever the system's ANSI code page is.
  std::u16string title;
  if (!sys(call).activeWindowTitle(title)) return Value::string({});
  return Value::string(wideToUtf8(title));
}

// --- monitors and keyboard devices ---------------------------------------------

Value getMonitorsRect(BuiltinCall& call) {
  // Every name is checked before anything is written.
  std::vector<std::string> names;
  for (std::size_t i = 0; i < call.count(); ++i) {
    bool valid = false;
    names.push_back(arrayNameArgument(call, i, "GetMonitorsRect()", valid));
    if (!valid) return Value::integer(-1);
  }
  std::vector<MonitorRect> monitors;
  if (!sys(call).enumDisplayMonitors(monitors)) return Value::integer(0);
  for (const std::string& name : names) {
    Value& array = call.ctx.variables.at(name);
    array = Value{};
    array.isArray = 1;
    array.strValue = name;
  }
  for (const MonitorRect& m : monitors) {
    const std::int64_t fields[] = {m.left,
                                   m.top,
                                   m.right,
                                   m.bottom,
                                   std::int64_t{m.right} - m.left,
                                   std::int64_t{m.bottom} - m.top};
    for (std::size_t i = 0; i < names.size(); ++i)
      call.ctx.variables.at(names[i]).elements.push_back(integer(fields[i]));
  }
  return integer(static_cast<std::int64_t>(monitors.size()));
}

Value getKeyInputDeviceList(BuiltinCall& call) {
  bool valid = false;
  const std::string name = arrayNameArgument(call, 0, "GetKeyInputDeviceList()", valid);
  if (!valid) return Value::integer(-1);
  Value& list = call.ctx.variables.at(name);
  if (list.isString) {
    list.strValue.clear();
    list.isString = 0;
  }
  if (list.isArray) {
    list.elements.clear();
    list.isArray = 0;
  }
  std::vector<RawInputDevice> devices;
  if (!sys(call).rawInputDevices(devices)) return Value::integer(0);
  std::size_t stored = 0;
  for (const RawInputDevice& device : devices) {
    if (!device.nameAvailable || device.type != kRimTypeKeyboard) continue;
    list.element(stored++) = Value::string(wideToUtf8(shortDeviceName(device.name)));
  }
  return integer(static_cast<std::int64_t>(stored));
}

}  // namespace kivora::script::builtins
