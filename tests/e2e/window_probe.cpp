// A small library the end-to-end tests load into a running Kivora.exe to
// look at what it shows from the inside: Wine keeps menus and icons in the
// process that made them, so another process cannot read them.
//
// Each export runs on a thread the test starts in Kivora's process; its
// argument is the path of a file to write the answer to (UTF-16, one line
// per item, fields separated by tabs).

#include <windows.h>

#include <psapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::wstring className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The first visible top-level window of this process with the class.
HWND findOwnWindow(const wchar_t* wantedClass) {
  struct Search {
    const wchar_t* wanted;
    HWND found;
  } search{wantedClass, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(window) &&
            className(window) == s.wanted) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD writeAnswer(const void* path, const std::wstring& text) {
  const HANDLE file = CreateFileW(static_cast<const wchar_t*>(path), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(file);
  return 0;
}

}  // namespace

// The open popup menu: "id<TAB>flags<TAB>text" per item, where flags hold
// "checked", "default", "separator" and "disabled" as they apply.
extern "C" __declspec(dllexport) DWORD WINAPI describePopupMenu(void* path) {
  constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
  const HWND popup = findOwnWindow(L"#32768");
  if (!popup) return writeAnswer(path, L"no menu\n"), 1;
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, kGetMenuHandle, 0, 0));
  const int count = GetMenuItemCount(menu);
  if (count < 0) return writeAnswer(path, L"unreadable menu\n"), 1;
  const UINT defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
  std::wstring answer;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW item{};
    wchar_t text[256] = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 256;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
    std::wstring flags;
    if (item.fType & MFT_SEPARATOR) flags += L"separator ";
    if (item.fState & MFS_CHECKED) flags += L"checked ";
    if ((item.fState & MFS_DISABLED) && !(item.fType & MFT_SEPARATOR)) flags += L"disabled ";
    if (item.wID == defaultItem && !(item.fType & MFT_SEPARATOR)) flags += L"default ";
    answer += std::to_wstring(item.wID) + L"\t" + flags + L"\t" + text + L"\n";
  }
  return writeAnswer(path, answer);
}

// The icon of the open message box: "error", "warning", "information",
// "question" or "other".
extern "C" __declspec(dllexport) DWORD WINAPI describeMessageBoxIcon(void* path) {
  const HWND box = findOwnWindow(L"#32770");
  if (!box) return writeAnswer(path, L"no box"), 1;
  HICON shown = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child && !shown;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (className(child) == L"Static" &&
        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  const struct {
    const wchar_t* id;
    const wchar_t* name;
  } icons[] = {{IDI_ERROR, L"error"},
               {IDI_WARNING, L"warning"},
               {IDI_INFORMATION, L"information"},
               {IDI_QUESTION, L"question"}};
  for (const auto& icon : icons) {
    if (shown && shown == LoadIconW(nullptr, icon.id)) return writeAnswer(path, icon.name);
  }
  return writeAnswer(path, L"other");
}

namespace {

// GDI and USER objects. Windows counts them (GetGuiResources); Wine answers
// 0 there, so the handle slots are walked instead: a handle whose upper word
// is 0 names whatever object holds its slot. USER objects are then this
// process's windows, menus and icons, which is what Kivora makes.
std::wstring guiObjects() {
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (gdi != 0 || user != 0) return std::to_wstring(gdi) + L"\t" + std::to_wstring(user);
  DWORD gdiObjects = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++gdiObjects;
  }
  DWORD userObjects = 0;
  for (ULONG_PTR slot = 0x20; slot < 0x10000; slot += 2) {
    const auto window = reinterpret_cast<HWND>(slot);
    DWORD pid = 0;
    if (IsWindow(window) && GetWindowThreadProcessId(window, &pid) &&
        pid == GetCurrentProcessId()) {
      ++userObjects;
    } else if (IsMenu(reinterpret_cast<HMENU>(slot))) {
      ++userObjects;
    } else {
      ICONINFO info{};
      if (GetIconInfo(reinterpret_cast<HICON>(slot), &info)) {
        ++userObjects;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
      }
    }
  }
  return std::to_wstring(gdiObjects) + L"\t" + std::to_wstring(userObjects);
}

// Private memory in bytes. Wine reports no private usage (it counts swap
// there), so under Wine the process's anonymous resident memory is read from
// its Linux status file, which on a machine without swap is the same thing.
unsigned long long privateBytes() {
  const HANDLE status = CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (status != INVALID_HANDLE_VALUE) {
    char text[8192] = {};
    DWORD read = 0;
    ReadFile(status, text, sizeof text - 1, &read, nullptr);
    CloseHandle(status);
    if (const char* line = strstr(text, "RssAnon:")) return strtoull(line + 8, nullptr, 10) * 1024;
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                       sizeof memory);
  return memory.PrivateUsage;
}

// Kernel handles. Wine answers 0 to GetProcessHandleCount, so the handle
// values are tried one by one instead (handles are multiples of four).
DWORD kernelHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return count;
  for (ULONG_PTR value = 4; value < 0x40000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

}  // namespace

// What a long run watches, seen from inside the process: "private
// bytes<TAB>handles<TAB>GDI objects<TAB>USER objects<TAB>script runs", the
// last being what the soak script leaves in KIVORA_SOAK_RUNS (-1 for none).
extern "C" __declspec(dllexport) DWORD WINAPI countResources(void* path) {
  wchar_t runs[32] = L"-1";
  if (!GetEnvironmentVariableW(L"KIVORA_SOAK_RUNS", runs, 32)) lstrcpyW(runs, L"-1");
  return writeAnswer(path, std::to_wstring(privateBytes()) + L"\t" +
                               std::to_wstring(kernelHandles()) + L"\t" + guiObjects() + L"\t" +
                               runs);
}

// What a test's script left in KIVORA_SCRIPT_MARK (empty: nothing).
extern "C" __declspec(dllexport) DWORD WINAPI scriptMark(void* path) {
  wchar_t mark[64] = L"";
  if (!GetEnvironmentVariableW(L"KIVORA_SCRIPT_MARK", mark, 64)) mark[0] = L'\0';
  return writeAnswer(path, mark);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
