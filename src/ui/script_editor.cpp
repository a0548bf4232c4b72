#include "ui/script_editor.h"

#include <objbase.h>
#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <array>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "diag/narrow_text.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/multi_language_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_version.h"
#include "resource_ids.h"
#include "settings/script_file.h"
#include "settings/settings_store.h"
#include "ui/dark_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/enlarge.h"
#include "ui/layout.h"
#include "ui/script_editor_icons.h"
#include "ui/texts.h"
#include "ui/tooltips.h"

namespace kivora::ui {

namespace {

namespace sf = settings;

constexpr wchar_t kHelpTopic[] = L"HLP000024.html";

// The edit control's extended style that turns pasted line ends into CR LF
// (Windows 10 and later; commctrl.h of mingw lacks the names).
constexpr UINT kEmSetExtendedStyle = 0x1500 + 10;
constexpr LPARAM kConvertEolOnPaste = 0x0004;

// The Load and Save buttons' images, in pixels at 96 DPI.
constexpr int kButtonImageSize = 16;

constexpr std::size_t kPathCapacity = settings::kPathCapacity;
std::array<wchar_t, kPathCapacity> scriptPathBuffer{};

constexpr LayoutAnchor kAnchors[] = {
    {IDC_SCRIPT_TEXT, Anchor::GrowBoth}, {IDC_SCRIPT_LOAD, Anchor::Bottom},
    {IDC_SCRIPT_SAVE, Anchor::Bottom},   {IDC_SCRIPT_SAMPLE_HINT, Anchor::Bottom},
    {IDOK, Anchor::BottomRight},         {IDCANCEL, Anchor::BottomRight},
    {IDHELP, Anchor::BottomRight},       {0, Anchor::None},
};

struct EditorState {
  const ScriptEditorContext& context;
  platform::MultiLanguageService& multiLanguage;
  DialogEnlargement enlargement;
  std::optional<DialogLayout> layout;
  win32::UniqueIcon bigIcon;
  win32::UniqueIcon smallIcon;
  win32::UniqueIcon loadImage;
  win32::UniqueIcon saveImage;
};

EditorState& stateOf(HWND dialog) {
  return *reinterpret_cast<EditorState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void showMessage(const EditorState& s, HWND dialog, std::u16string_view text, bool error) {
  const std::u16string copy(text);
  s.context.messageBox(dialog, win32::wide(copy), win32::wide(kCaption),
                       MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

// COM for the multi-language service, for as long as one load takes; a
// thread that already runs COM in another mode is used as it is.
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

// ---- choosing a file

bool runFileDialog(HWND owner, bool save, bool japanese) {
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = win32::wide(texts::kScriptFileFilter, japanese);
  ofn.lpstrFile = scriptPathBuffer.data();
  ofn.nMaxFile = static_cast<DWORD>(scriptPathBuffer.size());
  ofn.lpstrDefExt = L"txt";
  if (save) {
    ofn.lpstrTitle = win32::wide(texts::kScriptSaveTitle, japanese);
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return GetSaveFileNameW(&ofn) != FALSE;
  }
  ofn.lpstrTitle = win32::wide(texts::kScriptOpenTitle, japanese);
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  return GetOpenFileNameW(&ofn) != FALSE;
}

// A remembered name the dialog refuses (a folder that went away, a bad
// character) is dropped and the dialog opened once more with none.
bool chooseScriptFile(HWND owner, bool save, bool japanese) {
  if (runFileDialog(owner, save, japanese)) return true;
  if (CommDlgExtendedError() != FNERR_INVALIDFILENAME) return false;
  scriptPathBuffer[0] = L'\0';
  return runFileDialog(owner, save, japanese);
}

// ---- loading

sf::LoadedScript readScriptFile(platform::MultiLanguageService& multiLanguage) {
  win32::UniqueFile file(CreateFileW(scriptPathBuffer.data(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {sf::kLoadCannotOpen, {}};
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size)) return {sf::kLoadCannotRead, {}};
  // The service measures its input in int; bigger files are no scripts.
  if (size.QuadPart > std::numeric_limits<int>::max() - 2) return {sf::kLoadOutOfMemory, {}};
  const auto length = static_cast<std::size_t>(size.QuadPart);
  std::vector<std::uint8_t> bytes;
  try {
    bytes.assign(length + 2, 0);
  } catch (const std::bad_alloc&) {
    return {sf::kLoadOutOfMemory, {}};
  }
  std::size_t done = 0;
  while (done < length) {
    DWORD read = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 30));
    if (!ReadFile(file.get(), bytes.data() + done, want, &read, nullptr))
      return {sf::kLoadCannotRead, {}};
    if (read == 0) break;  // the file shrank while it was read
    done += read;
  }
  file.reset();
  ComScope com;
  return sf::decodeScriptFile(std::span<const std::uint8_t>(bytes.data(), done), multiLanguage);
}

void loadScriptFile(HWND dialog) {
  EditorState& s = stateOf(dialog);
  const sf::LoadedScript loaded = readScriptFile(s.multiLanguage);
  if (loaded.code != sf::kLoadOk) {
    showMessage(s, dialog, sf::scriptLoadErrorText(loaded.code, s.context.japanese), true);
    return;
  }
  SetDlgItemTextW(dialog, IDC_SCRIPT_TEXT, win32::wide(loaded.text));
}

void onDropFiles(HWND dialog, HDROP drop) {
  std::array<wchar_t, kPathCapacity> dropped{};
  const UINT n = DragQueryFileW(drop, 0, dropped.data(), static_cast<UINT>(dropped.size()));
  DragFinish(drop);
  if (n == 0) return;
  scriptPathBuffer = dropped;
  loadScriptFile(dialog);
}

// ---- saving

std::optional<std::u16string> editText(HWND dialog) {
  HWND edit = GetDlgItem(dialog, IDC_SCRIPT_TEXT);
  const int length = GetWindowTextLengthW(edit);
  std::u16string text;
  try {
    text.resize(static_cast<std::size_t>(length) + 1);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  const int copied = GetWindowTextW(edit, win32::wide(text.data()), length + 1);
  text.resize(copied > 0 ? copied : 0);
  return text;
}

bool writeAll(HANDLE file, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr) || written != chunk) return false;
    bytes += chunk;
    size -= chunk;
  }
  return true;
}

sf::ScriptSaveResult writeScriptFile(HWND dialog) {
  const std::optional<std::u16string> text = editText(dialog);
  if (!text) return sf::ScriptSaveResult::CopyOutOfMemory;
  std::optional<std::string> utf8;
  try {
    utf8 = diag::ToUtf8(*text);
  } catch (const std::bad_alloc&) {
    return sf::ScriptSaveResult::ConversionOutOfMemory;
  }
  if (!utf8) return sf::ScriptSaveResult::Other;
  win32::UniqueFile file(CreateFileW(scriptPathBuffer.data(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return sf::ScriptSaveResult::CannotCreate;
  if (!writeAll(file.get(), sf::kUtf8Mark, sizeof sf::kUtf8Mark))
    return sf::ScriptSaveResult::Other;
  if (!writeAll(file.get(), utf8->data(), utf8->size())) return sf::ScriptSaveResult::WriteFailed;
  return sf::ScriptSaveResult::Written;
}

void saveScriptFile(HWND dialog) {
  EditorState& s = stateOf(dialog);
  if (!chooseScriptFile(dialog, true, s.context.japanese)) return;
  const sf::ScriptMessage message =
      sf::scriptSaveMessage(writeScriptFile(dialog), s.context.japanese);
  showMessage(s, dialog, message.text, message.error);
}

// ---- OK

void acceptScript(HWND dialog) {
  EditorState& s = stateOf(dialog);
  std::optional<std::u16string> text = editText(dialog);
  if (!text) {
    showMessage(s, dialog, sf::scriptStoreOutOfMemoryText(s.context.japanese), true);
    EndDialog(dialog, IDCANCEL);
    return;
  }
  // An ini file cannot keep a longer script; said now, while it can still be
  // shortened or saved to a file, rather than by the save that refuses it.
  if (s.context.settings.bUseIni && text->size() > s.context.maxIniScriptLength) {
    showMessage(
        s, dialog,
        sf::scriptTooLongForIniText(text->size(), s.context.maxIniScriptLength, s.context.japanese),
        true);
    return;
  }
  if (s.context.requestScriptStop) s.context.requestScriptStop();
  s.context.settings.replaceScript(std::move(*text));
  EndDialog(dialog, IDOK);
}

// ---- opening and closing

win32::UniqueIcon editorIcon(ScriptEditorIcon icon, int size) {
  return createTableIcon(scriptEditorIconTable(scriptEditorArtFor(icon, size)), size);
}

// The icons for the DPI the dialog is laid out for; the ones they replace go
// only after the window and the buttons have let go of them.
void setIcons(HWND dialog, EditorState& s) {
  const UINT dpi = layoutDpi(dialog);
  win32::UniqueIcon big =
      editorIcon(ScriptEditorIcon::Big, win32::systemMetricsForDpi(SM_CXICON, dpi));
  win32::UniqueIcon small =
      editorIcon(ScriptEditorIcon::Small, win32::systemMetricsForDpi(SM_CXSMICON, dpi));
  const int buttonImage = win32::scaleForDpi(kButtonImageSize, dpi);
  win32::UniqueIcon load = editorIcon(ScriptEditorIcon::Load, buttonImage);
  win32::UniqueIcon save = editorIcon(ScriptEditorIcon::Save, buttonImage);
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  SendDlgItemMessageW(dialog, IDC_SCRIPT_LOAD, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(load.get()));
  SendDlgItemMessageW(dialog, IDC_SCRIPT_SAVE, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(save.get()));
  s.bigIcon = std::move(big);
  s.smallIcon = std::move(small);
  s.loadImage = std::move(load);
  s.saveImage = std::move(save);
}

void releaseIcons(HWND dialog, EditorState& s) {
  SendDlgItemMessageW(dialog, IDC_SCRIPT_LOAD, BM_SETIMAGE, IMAGE_ICON, 0);
  SendDlgItemMessageW(dialog, IDC_SCRIPT_SAVE, BM_SETIMAGE, IMAGE_ICON, 0);
  SendMessageW(dialog, WM_SETICON, ICON_BIG, 0);
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);
  s.loadImage.reset();
  s.saveImage.reset();
  s.bigIcon.reset();
  s.smallIcon.reset();
}

bool windows10OrLater() {
  const win32::WindowsVersion v = win32::windowsVersion();
  return v.major * 100 + v.minor > 999;
}

void initDialog(HWND dialog, EditorState& s) {
  setIcons(dialog, s);
  SetForegroundWindow(dialog);
  if (s.context.settings.BIGDIALOG) s.enlargement = EnlargeDialog(dialog, kPlaceCentre);
  subclassDarkControls(dialog, nullptr);
  ApplyTitleBar(dialog);
  s.layout = AttachLayout(dialog, kAnchors);

  HWND edit = GetDlgItem(dialog, IDC_SCRIPT_TEXT);
  if (windows10OrLater())
    SendMessageW(edit, kEmSetExtendedStyle, kConvertEolOnPaste, kConvertEolOnPaste);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // scripts are not held to 32K characters
  SetWindowTextW(edit, win32::wide(s.context.settings.copyScript()));
  CreateTooltips(dialog, texts::scriptEditorTooltips(s.context.japanese));
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
  followDpiChanges(dialog);
  // The caret at the start: with all text selected one key would replace the script.
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, 0);
}

INT_PTR CALLBACK editorProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    initDialog(dialog, *reinterpret_cast<EditorState*>(lParam));
    return FALSE;  // the focus is set
  }
  auto* state = reinterpret_cast<EditorState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!state) return FALSE;
  if (auto answered = dialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  switch (msg) {
    case WM_SIZE:
      if (state->layout) ApplyLayout(*state->layout);
      return TRUE;
    case WM_GETMINMAXINFO:
      if (state->layout) {
        layoutMinMaxInfo(*state->layout, lParam);
        return TRUE;
      }
      return FALSE;
    case WM_DROPFILES:
      onDropFiles(dialog, reinterpret_cast<HDROP>(wParam));
      return TRUE;
    case WM_DPICHANGED:
      setIcons(dialog, *state);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          acceptScript(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case IDC_SCRIPT_LOAD:
          if (chooseScriptFile(dialog, false, state->context.japanese)) loadScriptFile(dialog);
          return TRUE;
        case IDC_SCRIPT_SAVE:
          saveScriptFile(dialog);
          return TRUE;
        case IDHELP:
          if (state->context.openHelp) state->context.openHelp(dialog, kHelpTopic);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      RestoreDialog(state->enlargement);
      state->layout.reset();
      releaseIcons(dialog, *state);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR showScriptEditor(HWND owner, const ScriptEditorContext& context) {
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  win32::Win32MultiLanguageService systemService;
  EditorState state{
      context, context.multiLanguage ? *context.multiLanguage : systemService, {}, {}, {}, {}, {},
      {}};
  const int id = context.japanese ? IDD_SCRIPT_EDITOR_JA : IDD_SCRIPT_EDITOR_EN;
  return DialogBoxParamW(context.resources, MAKEINTRESOURCEW(id), owner, editorProc,
                         reinterpret_cast<LPARAM>(&state));
}

std::u16string scriptFilePath() { return win32::fromWide(scriptPathBuffer.data()); }

void setScriptFilePath(std::u16string_view path) {
  scriptPathBuffer.fill(L'\0');
  const std::size_t n = std::min(path.size(), scriptPathBuffer.size() - 1);
  std::copy_n(path.begin(), n, scriptPathBuffer.begin());
}

}  // namespace kivora::ui
