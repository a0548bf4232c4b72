// A small library the end-to-end tests load into a running Kivora.exe to
// look at what it shows from the inside: Wine keeps menus and icons in the
// process that made them, so another process cannot read them.
//
// Each export runs on a thread the test starts in Kivora's process; its
// argument is the path of a file to write the answer to (UTF-16, one line
// per item, fields separated by tabs).

#include <windows.h>

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
        if (pid == GetCurrentProcessId() && IsWindowVisible(window) && className(window) == s.wanted) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD writeAnswer(const void* path, const std::wstring& text) {
  const HANDLE file = CreateFileW(static_cast<const wchar_t*>(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
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
  for (HWND child = GetWindow(box, GW_CHILD); child && !shown; child = GetWindow(child, GW_HWNDNEXT)) {
    if (className(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  const struct {
    const wchar_t* id;
    const wchar_t* name;
  } icons[] = {{IDI_ERROR, L"error"}, {IDI_WARNING, L"warning"}, {IDI_INFORMATION, L"information"},
               {IDI_QUESTION, L"question"}};
  for (const auto& icon : icons) {
    if (shown && shown == LoadIconW(nullptr, icon.id)) return writeAnswer(path, icon.name);
  }
  return writeAnswer(path, L"other");
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
