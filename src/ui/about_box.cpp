#include "ui/about_box.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <optional>
#include <vector>

#include "diag/system_report.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "ui/dark_controls.h"
#include "ui/dialog_dpi.h"
#include "ui/dialog_look.h"
#include "ui/dialog_template.h"
#include "ui/system_report.h"
#include "ui/texts.h"
#include "ui/tooltips.h"

namespace kivora::ui {

namespace {

constexpr UINT_PTR kLinkTimer = 1;
constexpr UINT kLinkGuardMs = 1000;
constexpr UINT_PTR kSelectAllSubclass = 0x4B41;  // "KA"
constexpr wchar_t kReportFileName[] = L"PROBIX32LIB_TEMP.TXT";

struct AboutState {
  const AboutInfo& info;
  std::wstring versionText;
  std::wstring reportFile;
  bool linkGuard = false;  // a link was opened less than a second ago
  win32::UniqueIcon icon;  // at the size of the dialog's DPI
};

AboutState& stateOf(HWND dialog) {
  return *reinterpret_cast<AboutState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool japanese(const AboutInfo& info) { return info.japanese != 0; }

int showBox(const AboutInfo& info, HWND owner, const std::wstring& text, const wchar_t* caption,
            UINT type) {
  MessageBoxFunction box = info.messageBox ? info.messageBox : MessageBoxW;
  return box(owner, text.c_str(), caption, type);
}

bool hasText(const wchar_t* s) { return s && *s; }

bool isWebAddress(const wchar_t* address) {
  return _wcsnicmp(address, L"http://", 7) == 0 || _wcsnicmp(address, L"https://", 8) == 0;
}

// ---- the version record of the module the box describes

std::optional<AboutVersion> readVersion(HINSTANCE instance) {
  const std::u16string path = win32::modulePath(instance);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(win32::wide(path), &handle);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> record(size);
  if (!GetFileVersionInfoW(win32::wide(path), 0, size, record.data())) return std::nullopt;

  wchar_t block[64] = L"041104b0";
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                     reinterpret_cast<void**>(&translation), &length) &&
      length >= sizeof(Translation)) {
    swprintf(block, 64, L"%04x%04x", translation->language, translation->codePage);
  }
  auto text = [&](const wchar_t* name) {
    wchar_t query[128];
    swprintf(query, 128, L"\\StringFileInfo\\%ls\\%ls", block, name);
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (!VerQueryValueW(record.data(), query, reinterpret_cast<void**>(&value), &chars) || !value) {
      return std::wstring();
    }
    return std::wstring(value);
  };
  return AboutVersion{text(L"FileVersion"), text(L"SpecialBuild"), text(L"LegalCopyright")};
}

std::wstring firstLine(const std::wstring& text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= 0x20) ++n;
  return text.substr(0, n);
}

// ---- links

void openLink(HWND dialog, const wchar_t* id) {
  AboutState& s = stateOf(dialog);
  if (s.linkGuard) return;
  s.linkGuard = true;
  for (int control : {kAboutEnvironment, kAboutContribution, kAboutFeedback})
    EnableWindow(GetDlgItem(dialog, control), FALSE);
  SetTimer(dialog, kLinkTimer, kLinkGuardMs, nullptr);

  const wchar_t* target = id;
  if (wcscmp(id, L"kifu") == 0) target = s.info.contribution;
  if (wcscmp(id, L"feedback") == 0) target = s.info.feedback;
  if (!hasText(target)) return;
  wchar_t systemDir[MAX_PATH] = {};
  GetSystemDirectoryW(systemDir, MAX_PATH);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(dialog, L"open", target, nullptr, systemDir, SW_SHOWNORMAL));
  if (result > 32) return;
  const std::u16string text =
      fillIn(texts::kAboutCannotOpenLink.pick(japanese(s.info)), {win32::fromWide(target)});
  showBox(s.info, dialog, win32::wide(text),
          s.info.productName ? s.info.productName : win32::wide(kCaption), MB_OK | MB_ICONERROR);
}

void endLinkGuard(HWND dialog) {
  KillTimer(dialog, kLinkTimer);
  for (int control : {kAboutEnvironment, kAboutContribution, kAboutFeedback})
    EnableWindow(GetDlgItem(dialog, control), TRUE);
  stateOf(dialog).linkGuard = false;
}

// ---- Environment Information

enum class CopyResult { Copied, Refused, CannotEmpty, CannotLock, OutOfMemory, CannotOpen };

class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

// The report goes into a block of fixed size; a longer one is cut to fit.
CopyResult copyToClipboard(HWND owner, const std::wstring& report) {
  ClipboardScope clipboard(owner);
  if (!clipboard.open()) return CopyResult::CannotOpen;
  if (!EmptyClipboard()) return CopyResult::CannotEmpty;
  win32::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, diag::kClipboardBlockBytes));
  if (!block) return CopyResult::OutOfMemory;
  auto* units = static_cast<wchar_t*>(GlobalLock(block.get()));
  if (!units) return CopyResult::CannotLock;
  const std::u16string_view fitted = diag::fitClipboardBlock(
      std::u16string_view(reinterpret_cast<const char16_t*>(report.data()), report.size()));
  fitted.copy(reinterpret_cast<char16_t*>(units), fitted.size());
  units[fitted.size()] = L'\0';
  GlobalUnlock(block.get());
  if (!SetClipboardData(CF_UNICODETEXT, block.get())) return CopyResult::Refused;
  block.release();  // the clipboard owns it now
  return CopyResult::Copied;
}

struct CopyOutcome {
  const Bilingual& text;
  UINT icon;
};

CopyOutcome copyOutcome(CopyResult result) {
  switch (result) {
    case CopyResult::Copied:
      return {texts::kReportCopied, MB_ICONINFORMATION};
    case CopyResult::Refused:
      return {texts::kReportCopyRefused, MB_ICONINFORMATION};
    case CopyResult::CannotEmpty:
      return {texts::kReportCannotEmpty, MB_ICONERROR};
    case CopyResult::CannotLock:
      return {texts::kReportCannotLock, MB_ICONERROR};
    case CopyResult::OutOfMemory:
      return {texts::kReportOutOfMemory, MB_ICONERROR};
    case CopyResult::CannotOpen:
      break;
  }
  return {texts::kReportCannotOpen, MB_ICONERROR};
}

void showCopyResult(const AboutInfo& info, HWND dialog, CopyResult result, const wchar_t* caption) {
  const CopyOutcome outcome = copyOutcome(result);
  showBox(info, dialog, win32::wide(outcome.text, japanese(info)), caption, MB_OK | outcome.icon);
}

void showEnvironment(HWND dialog) {
  AboutState& s = stateOf(dialog);
  const bool ja = japanese(s.info);
  const wchar_t* caption = win32::wide(texts::kReportCaption, ja);
  std::wstring report = win32::wide(BuildSystemReport());
  report += L"\r\n[Client]\r\n ";
  report += firstLine(s.versionText);
  const std::wstring prompt =
      report + L"\r\n------------------------\r\n" + win32::wide(texts::kReportCopyPrompt, ja);
  if (showBox(s.info, dialog, prompt, caption, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return;
  showCopyResult(s.info, dialog, copyToClipboard(dialog, report), caption);
}

// ---- opening and closing

// The program's icon at the size of the DPI the box is laid out for; the one
// it replaces goes once the control shows the new one.
void setAboutIcon(HWND dialog, AboutState& s) {
  const int size = win32::systemMetricsForDpi(SM_CXICON, layoutDpi(dialog));
  win32::UniqueIcon icon(static_cast<HICON>(
      LoadImageW(s.info.instance, MAKEINTRESOURCEW(s.info.iconId), IMAGE_ICON, size, size, 0)));
  if (!icon) return;
  SendDlgItemMessageW(dialog, kAboutIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  s.icon = std::move(icon);
}

LRESULT CALLBACK selectAllProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR) {
  switch (msg) {
    case WM_KEYDOWN:
      if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == 1) return 0;  // Ctrl+A's character: no beep
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, selectAllProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, msg, wParam, lParam);
}

void initDialog(HWND dialog, AboutState& s) {
  const AboutInfo& info = s.info;
  if (info.windowSlot) *info.windowSlot = dialog;
  std::wstring links;
  if (const std::optional<AboutVersion> version = readVersion(info.instance)) {
    s.versionText = aboutVersionText(info, *version);
    links = aboutLinksText(info);
  }
  SetDlgItemTextW(dialog, kAboutVersion, s.versionText.c_str());
  SetDlgItemTextW(dialog, kAboutLinks, links.c_str());
  SetDlgItemTextW(dialog, kAboutDescription, info.description ? info.description : L"");
  setAboutIcon(dialog, s);
  SetWindowSubclass(GetDlgItem(dialog, kAboutDescription), selectAllProc, kSelectAllSubclass, 0);

  if (!hasText(info.feedback)) ShowWindow(GetDlgItem(dialog, kAboutFeedback), SW_HIDE);
  const bool contribution = hasText(info.contribution);
  if (!contribution) ShowWindow(GetDlgItem(dialog, kAboutContribution), SW_HIDE);
  SetFocus(GetDlgItem(dialog, contribution ? kAboutContribution : IDCANCEL));

  CreateTooltips(dialog, texts::aboutTooltips(japanese(info)));
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  s.reportFile = std::wstring(temp) + kReportFileName;

  subclassDarkControls(dialog, nullptr);
  ApplyTitleBar(dialog);
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
  followDpiChanges(dialog);
}

void onNotify(HWND dialog, const NMHDR& header) {
  if (header.idFrom != kAboutLinks && header.idFrom != kAboutContribution &&
      header.idFrom != kAboutFeedback)
    return;
  if (header.code != NM_CLICK && header.code != NM_RETURN) return;
  openLink(dialog, reinterpret_cast<const NMLINK&>(header).item.szID);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    initDialog(dialog, *reinterpret_cast<AboutState*>(lParam));
    return FALSE;  // the focus is set
  }
  if (!GetWindowLongPtrW(dialog, DWLP_USER)) return FALSE;
  if (auto answered = dialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  switch (msg) {
    case WM_NOTIFY:
      onNotify(dialog, *reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == kLinkTimer) endLinkGuard(dialog);
      return TRUE;
    case WM_DPICHANGED:
      setAboutIcon(dialog, stateOf(dialog));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kAboutEnvironment:
          showEnvironment(dialog);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wParam));
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY: {
      AboutState& s = stateOf(dialog);
      if (!s.reportFile.empty()) DeleteFileW(s.reportFile.c_str());
      KillTimer(dialog, kLinkTimer);
      if (s.info.windowSlot) *s.info.windowSlot = nullptr;
      return FALSE;
    }
    default:
      return FALSE;
  }
}

DialogTemplate buildTemplate(const AboutInfo& info) {
  const bool ja = japanese(info);
  DialogTemplate t(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 290, 252,
                   win32::wide(texts::kAboutTitle, ja), ja ? 9 : 8,
                   win32::wide(texts::kAboutFont, ja));
  t.addIcon(static_cast<WORD>(info.iconId), kAboutIcon, 10, 10);
  // Read-only, yet a tab stop: the version can be selected and copied from the keyboard.
  t.add(L"Edit", L"", kAboutVersion, ES_MULTILINE | ES_READONLY | WS_TABSTOP, 40, 10, 240, 24);
  t.add(WC_LINK, L"", kAboutLinks, WS_TABSTOP, 10, 40, 270, 86);
  t.add(L"Edit", L"", kAboutDescription,
        ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 10, 130,
        270, 76);
  t.add(WC_LINK, win32::wide(texts::kAboutFeedbackLink, ja), kAboutFeedback, WS_TABSTOP, 10, 212,
        130, 10);
  t.add(WC_LINK, win32::wide(texts::kAboutContributionLink, ja), kAboutContribution, WS_TABSTOP,
        150, 212, 130, 10);
  t.add(L"Button", win32::wide(texts::kAboutEnvironmentButton, ja), kAboutEnvironment,
        BS_PUSHBUTTON | WS_TABSTOP, 10, 228, 200, 16);
  t.add(L"Button", win32::wide(texts::kAboutCloseButton, ja), IDCANCEL,
        BS_DEFPUSHBUTTON | WS_TABSTOP, 215, 228, 65, 16);
  return t;
}

}  // namespace

std::wstring aboutVersionText(const AboutInfo& info, const AboutVersion& version) {
  std::wstring special = version.specialBuild;
  if (japanese(info) && special == L"beta") special = L"β";
  if (japanese(info) && special == L"alpha") special = L"α";
  std::wstring text =
      std::wstring(info.productName ? info.productName : L"") + L" Version " + version.fileVersion;
  if (!special.empty()) text += L" " + special;
  text += L"\r\n" + version.legalCopyright;
  return text;
}

std::wstring aboutLinksText(const AboutInfo& info) {
  const bool ja = japanese(info);
  std::wstring web[3];
  if (hasText(info.webSite)) web[0] = L"[WebSite]", web[1] = info.webSite, web[2] = info.webSite;
  std::wstring contactLabel, contactScheme, contactAddress, notice;
  if (hasText(info.contact)) {
    const bool email = !isWebAddress(info.contact);
    contactLabel = email ? L"[E-Mail]" : win32::wide(texts::kAboutContactLabel, ja);
    if (email) contactScheme = L"mailto:";
    contactAddress = info.contact;
    if (ja) notice = texts::kAboutMailNotice;
  }
  return web[0] + L"\r\n  <a id=\"" + web[1] + L"\">" + web[2] + L"</a>\r\n\r\n" + contactLabel +
         L"\r\n  <a id=\"" + contactScheme + contactAddress + L"\">" + contactAddress +
         L"</a>\r\n\r\n" + notice + L"\r\n" + (info.extraText ? info.extraText : L"");
}

INT_PTR ShowAbout(const AboutInfo& info) {
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  AboutState state{info, {}, {}, false, {}};
  const DialogTemplate t = buildTemplate(info);
  return DialogBoxIndirectParamW(info.instance, t.get(), nullptr, aboutProc,
                                 reinterpret_cast<LPARAM>(&state));
}

}  // namespace kivora::ui
