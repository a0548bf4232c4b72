#include "platform/win32/script_system.h"

#include "platform/win32/handles.h"
#include "platform/win32/texts.h"
#include "platform/win32/wide.h"

#include <windows.h>
#include <imm.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace kivora::win32 {

namespace {

HWND toHwnd(script::HostWindow w) { return reinterpret_cast<HWND>(w); }

// --- the INPUT dialog, built in memory -----------------------------------------

constexpr WORD kMessageId = 102;
constexpr WORD kEditId = 101;
constexpr int kMaxEnteredUnits = 4095;

class DialogTemplate {
 public:
  DialogTemplate() { bytes_.reserve(512); }

  void word(WORD w) { append(&w, sizeof w); }
  void dword(DWORD d) { append(&d, sizeof d); }
  void text(const wchar_t* s) { append(s, (std::wcslen(s) + 1) * sizeof(wchar_t)); }
  void alignToDword() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
            const wchar_t* title) {
    alignToDword();
    dword(style);
    dword(0);  // extended style
    for (short v : {x, y, cx, cy}) word(static_cast<WORD>(v));
    word(id);
    word(0xFFFF);
    word(classAtom);
    text(title);
    word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void append(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  // DWORDs keep the template's own alignment.
  std::vector<unsigned char> bytes_;
};

DialogTemplate inputDialogTemplate(bool japanese) {
  DialogTemplate t;
  t.dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
  t.dword(0);
  t.word(4);
  for (short v : {0, 0, 210, 80}) t.word(static_cast<WORD>(v));
  t.word(0);    // no menu
  t.word(0);    // default class
  t.text(L"");  // the title is set when the dialog starts
  t.word(9);
  t.text(L"MS Shell Dlg");
  t.item(WS_CHILD | WS_VISIBLE, 7, 7, 196, 20, kMessageId, 0x0082, L"");
  t.item(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 32, 196, 12, kEditId,
         0x0081, L"");
  t.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 97, 56, 50, 14, IDOK, 0x0080,
         L"OK");
  t.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 153, 56, 50, 14, IDCANCEL, 0x0080,
         wide(texts::kInputDialogCancel, japanese));
  return t;
}

INT_PTR CALLBACK inputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto* params = reinterpret_cast<const script::InputDialogParams*>(lParam);
      SetWindowTextW(dialog, wide(params->title));
      SetDlgItemTextW(dialog, kMessageId, wide(params->message));
      SetFocus(GetDlgItem(dialog, kEditId));
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* params =
            reinterpret_cast<script::InputDialogParams*>(GetWindowLongPtrW(dialog, DWLP_USER));
        wchar_t entered[kMaxEnteredUnits + 1] = {};
        const UINT n = GetDlgItemTextW(dialog, kEditId, entered, kMaxEnteredUnits + 1);
        params->entered = fromWide(entered, n);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// --- clipboard ---------------------------------------------------------------

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

BOOL CALLBACK collectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
  auto* monitors = reinterpret_cast<std::vector<script::MonitorRect>*>(list);
  monitors->push_back({rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

}  // namespace

int Win32ScriptSystem::messageBox(script::HostWindow owner, const char16_t* text,
                                  const char16_t* caption, unsigned flags) {
  return MessageBoxW(toHwnd(owner), wide(text), wide(caption), flags);
}

std::intptr_t Win32ScriptSystem::inputDialog(script::HostWindow owner,
                                             script::InputDialogParams& params) {
  const DialogTemplate dialog = inputDialogTemplate(params.japanese);
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), toHwnd(owner),
                                 inputDialogProc, reinterpret_cast<LPARAM>(&params));
}

void Win32ScriptSystem::sleep(std::uint32_t milliseconds) { Sleep(milliseconds); }

script::LocalTime Win32ScriptSystem::localTime() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
          st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

std::uint32_t Win32ScriptSystem::tickCount() { return GetTickCount(); }

int Win32ScriptSystem::systemMetrics(int index) { return GetSystemMetrics(index); }

bool Win32ScriptSystem::messageBeep(unsigned type) { return MessageBeep(type) != FALSE; }

std::uint32_t Win32ScriptSystem::getEnvironmentVariable(const std::u16string& name,
                                                        std::u16string& value) {
  std::vector<wchar_t> buffer(32767);
  const DWORD n =
      GetEnvironmentVariableW(wide(name), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n == 0 || n >= buffer.size()) return 0;
  value = fromWide(buffer.data());
  return static_cast<std::uint32_t>(value.size());
}

bool Win32ScriptSystem::setEnvironmentVariable(const std::u16string& name,
                                               const std::u16string& value) {
  return SetEnvironmentVariableW(wide(name), wide(value)) != FALSE;
}

bool Win32ScriptSystem::getClipboardText(script::HostWindow owner, std::u16string& text) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
  OpenedClipboard clipboard(toHwnd(owner));
  if (!clipboard) return false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return false;
  const auto* units = static_cast<const wchar_t*>(GlobalLock(data));
  if (!units) return false;
  const SIZE_T capacity = GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && units[length] != 0) ++length;
  text = fromWide(units, length);
  GlobalUnlock(data);
  return true;
}

bool Win32ScriptSystem::setClipboardText(script::HostWindow owner, const std::u16string& text) {
  OpenedClipboard clipboard(toHwnd(owner));
  if (!clipboard) return false;
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
  if (!block) return false;
  void* p = GlobalLock(block.get());
  if (!p) return false;
  std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block.get());
  if (!EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, block.get())) return false;
  block.release();  // the clipboard owns it now
  return true;
}

bool Win32ScriptSystem::getCursorPos(std::int32_t& x, std::int32_t& y) {
  POINT p{-1, -1};
  if (!GetCursorPos(&p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

bool Win32ScriptSystem::setCursorPos(std::int32_t x, std::int32_t y) {
  return SetCursorPos(x, y) != FALSE;
}

void Win32ScriptSystem::mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                   std::int32_t data) {
  mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data), 0);
}

void Win32ScriptSystem::keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
  keybd_event(vk, scan, flags, 0);
}

unsigned Win32ScriptSystem::sendUnicodeInput(char16_t unit, std::uint32_t flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = 0;
  input.ki.wScan = unit;
  input.ki.dwFlags = flags;
  return SendInput(1, &input, sizeof input);
}

std::int16_t Win32ScriptSystem::getKeyState(int vk) { return GetKeyState(vk); }

bool Win32ScriptSystem::foregroundImeControl(std::uint32_t command, std::intptr_t value,
                                             std::intptr_t& result) {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  HWND ime = ImmGetDefaultIMEWnd(foreground);
  if (!ime) return false;
  result = SendMessageW(ime, WM_IME_CONTROL, command, value);
  return true;
}

bool Win32ScriptSystem::activeWindowTitle(std::u16string& title) {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  wchar_t buffer[2049] = {};
  const int n = GetWindowTextW(foreground, buffer, 2049);
  if (n <= 0) return false;
  title = fromWide(buffer, static_cast<std::size_t>(n));
  return true;
}

bool Win32ScriptSystem::enumDisplayMonitors(std::vector<script::MonitorRect>& monitors) {
  return EnumDisplayMonitors(nullptr, nullptr, collectMonitor,
                             reinterpret_cast<LPARAM>(&monitors)) != FALSE;
}

bool Win32ScriptSystem::rawInputDevices(std::vector<script::RawInputDevice>& devices) {
  UINT count = 0;
  if (GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) != 0) return false;
  std::vector<RAWINPUTDEVICELIST> list(count);
  if (count &&
      GetRawInputDeviceList(list.data(), &count, sizeof(RAWINPUTDEVICELIST)) != list.size())
    return false;
  for (const RAWINPUTDEVICELIST& entry : list) {
    script::RawInputDevice device;
    device.type = entry.dwType;
    UINT length = 0;
    if (GetRawInputDeviceInfoW(entry.hDevice, RIDI_DEVICENAME, nullptr, &length) == 0) {
      std::vector<wchar_t> name(length + 1);
      if (static_cast<int>(
              GetRawInputDeviceInfoW(entry.hDevice, RIDI_DEVICENAME, name.data(), &length)) >= 0) {
        device.nameAvailable = true;
        device.name = fromWide(name.data());
      }
    }
    devices.push_back(std::move(device));
  }
  return true;
}

void useBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace kivora::win32
