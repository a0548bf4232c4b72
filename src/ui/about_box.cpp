#include "ui/about_box.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <optional>
#include <vector>

#include "diag/system_report.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "ui/dark_controls.h"
#include "ui/dialog_look.h"
#include "ui/dialog_template.h"
#include "ui/system_report.h"
#include "ui/tooltips.h"

namespace kivora::ui {

namespace {

enum AboutControl : WORD {
  kIdVersion = 2002,
  kIdLinks = 2003,
  kIdDescription = 2004,
  kIdEnvironment = 2005,
  kIdContribution = 2006,
  kIdIcon = 2007,
  kIdFeedback = 2009,
};

constexpr UINT_PTR kLinkTimer = 1;
constexpr UINT kLinkGuardMs = 1000;
constexpr UINT_PTR kSelectAllSubclass = 0x4B41;  // "KA"
constexpr wchar_t kReportFileName[] = L"PROBIX32LIB_TEMP.TXT";

constexpr TooltipEntry kTooltipsEn[] = {
    {kIdContribution, L"About contribution"},
    {IDCANCEL, L"Closes this dialog box."},
    {kIdEnvironment, L"Displays Information of this environment."},
    {kIdFeedback, L"Opens feedback page."},
    {0, nullptr},
};
constexpr TooltipEntry kTooltipsJa[] = {
    {kIdContribution, L"開発支援金の受付について詳細を表示します。インターネット接続が必要です"},
    {IDCANCEL, L"このダイアログを閉じます"},
    {kIdEnvironment,
     L"環境情報を表示します。制作元に質問を出す場合には、これで表示された情報を添付して下さい"},
    {kIdFeedback,
     L"制作元へ連絡、感想、改善要望あるいは現状維持要望などを気軽に送りたい場合に利用します。インタ"
     L"ーネット接続が必要です"},
    {kIdLinks, L"ブラウザでサイトを開きます。インターネット接続が必要です"},
    {0, nullptr},
};

struct AboutState {
  const AboutInfo& info;
  std::wstring versionText;
  std::wstring reportFile;
  bool linkGuard = false;  // a link was opened less than a second ago
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
  for (int control : {kIdEnvironment, kIdContribution, kIdFeedback})
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
  std::wstring text = L"Cannot open a browser.";
  if (japanese(s.info)) {
    text = std::wstring(target) + L"を開けませんでした。\n上記のURLを直接開いて下さい。";
  }
  showBox(s.info, dialog, text, s.info.productName ? s.info.productName : win32::wide(kCaption),
          MB_OK | MB_ICONERROR);
}

void endLinkGuard(HWND dialog) {
  KillTimer(dialog, kLinkTimer);
  for (int control : {kIdEnvironment, kIdContribution, kIdFeedback})
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

void showCopyResult(const AboutInfo& info, HWND dialog, CopyResult result, const wchar_t* caption) {
  const bool ja = japanese(info);
  const wchar_t* text = nullptr;
  UINT icon = MB_ICONERROR;
  switch (result) {
    case CopyResult::Copied:
      text =
          ja ? L"クリップボードへコピーしました。" : L"Writing data to the clipboard is complete.";
      icon = MB_ICONINFORMATION;
      break;
    case CopyResult::Refused:
      text = ja ? L"クリップボードへのコピーに失敗しました。" : L"Clipboard error.";
      icon = MB_ICONINFORMATION;
      break;
    case CopyResult::CannotEmpty:
      text = ja ? L"クリップボードを空にできません。" : L"EmptyClipboard error.";
      break;
    case CopyResult::CannotLock:
      text = ja ? L"GlobalLock失敗。" : L"GlobalLock error.";
      break;
    case CopyResult::OutOfMemory:
      text = ja ? L"作業用のメモリが足りません。" : L"Out of memory.";
      break;
    case CopyResult::CannotOpen:
      text = ja ? L"クリップボードを開けません。" : L"Cannot open clipboard.";
      break;
  }
  showBox(info, dialog, text, caption, MB_OK | icon);
}

void showEnvironment(HWND dialog) {
  AboutState& s = stateOf(dialog);
  const bool ja = japanese(s.info);
  const wchar_t* caption = ja ? L"環境情報の表示(簡易版)" : L"ProbixLite";
  std::wstring report = win32::wide(BuildSystemReport());
  report += L"\r\n[Client]\r\n ";
  report += firstLine(s.versionText);
  const std::wstring prompt = report + L"\r\n------------------------\r\n" +
                              (ja ? L"クリップボードにコピーする場合は[OK]ボタンを押して下さい。"
                                  : L"Please click the [OK] button to copy to clipboard.");
  if (showBox(s.info, dialog, prompt, caption, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return;
  showCopyResult(s.info, dialog, copyToClipboard(dialog, report), caption);
}

// ---- opening and closing

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
    s.versionText = AboutVersionText(info, *version);
    links = AboutLinksText(info);
  }
  SetDlgItemTextW(dialog, kIdVersion, s.versionText.c_str());
  SetDlgItemTextW(dialog, kIdLinks, links.c_str());
  SetDlgItemTextW(dialog, kIdDescription, info.description ? info.description : L"");
  SetWindowSubclass(GetDlgItem(dialog, kIdDescription), selectAllProc, kSelectAllSubclass, 0);

  if (!hasText(info.feedback)) ShowWindow(GetDlgItem(dialog, kIdFeedback), SW_HIDE);
  const bool contribution = hasText(info.contribution);
  if (!contribution) ShowWindow(GetDlgItem(dialog, kIdContribution), SW_HIDE);
  SetFocus(GetDlgItem(dialog, contribution ? kIdContribution : IDCANCEL));

  CreateTooltips(dialog, japanese(info) ? std::span<const TooltipEntry>(kTooltipsJa)
                                        : std::span<const TooltipEntry>(kTooltipsEn));
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  s.reportFile = std::wstring(temp) + kReportFileName;

  SubclassDarkControls(dialog, nullptr);
  ApplyTitleBar(dialog);
  SendMessageW(dialog, WM_THEMECHANGED, 0, 0);
}

void onNotify(HWND dialog, const NMHDR& header) {
  if (header.idFrom != kIdLinks && header.idFrom != kIdContribution && header.idFrom != kIdFeedback)
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
  if (auto answered = DialogLookMessage(dialog, msg, wParam, lParam)) return *answered;
  switch (msg) {
    case WM_NOTIFY:
      onNotify(dialog, *reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == kLinkTimer) endLinkGuard(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kIdEnvironment:
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
                   ja ? L"バージョン情報" : L"About", ja ? 9 : 8,
                   ja ? L"MS UI Gothic" : L"MS Sans Serif");
  t.addIcon(static_cast<WORD>(info.iconId), kIdIcon, 10, 10);
  t.add(L"Edit", L"", kIdVersion, ES_MULTILINE | ES_READONLY, 40, 10, 240, 24);
  t.add(WC_LINK, L"", kIdLinks, WS_TABSTOP, 10, 40, 270, 86);
  t.add(L"Edit", L"", kIdDescription,
        ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 10, 130,
        270, 76);
  t.add(WC_LINK,
        ja ? L"<a id=\"feedback\">フィードバック受付</a>" : L"<a id=\"feedback\">Feedback</a>",
        kIdFeedback, WS_TABSTOP, 10, 212, 130, 10);
  t.add(WC_LINK,
        ja ? L"<a id=\"kifu\">開発支援金の受付について</a>" : L"<a id=\"kifu\">Contribution</a>",
        kIdContribution, WS_TABSTOP, 150, 212, 130, 10);
  t.add(L"Button",
        ja ? L"環境情報の表示(問合せの際にご活用下さい)(&E)" : L"&Environment Information",
        kIdEnvironment, BS_PUSHBUTTON | WS_TABSTOP, 10, 228, 200, 16);
  t.add(L"Button", ja ? L"閉じる(&C)" : L"&Close", IDCANCEL, BS_DEFPUSHBUTTON | WS_TABSTOP, 215,
        228, 65, 16);
  return t;
}

}  // namespace

std::wstring AboutVersionText(const AboutInfo& info, const AboutVersion& version) {
  std::wstring special = version.specialBuild;
  if (japanese(info) && special == L"beta") special = L"β";
  if (japanese(info) && special == L"alpha") special = L"α";
  std::wstring text =
      std::wstring(info.productName ? info.productName : L"") + L" Version " + version.fileVersion;
  if (!special.empty()) text += L" " + special;
  text += L"\r\n" + version.legalCopyright;
  return text;
}

std::wstring AboutLinksText(const AboutInfo& info) {
  const bool ja = japanese(info);
  std::wstring web[3];
  if (hasText(info.webSite)) web[0] = L"[WebSite]", web[1] = info.webSite, web[2] = info.webSite;
  std::wstring contactLabel, contactScheme, contactAddress, notice;
  if (hasText(info.contact)) {
    const bool email = !isWebAddress(info.contact);
    contactLabel = email ? L"[E-Mail]" : (ja ? L"[連絡先]" : L"[Contact]");
    if (email) contactScheme = L"mailto:";
    contactAddress = info.contact;
    if (ja) {
      notice =
          L"　メールフィルタやサーバによるドメイン着信拒否の対象になっていることがあります。"
          L"質問しているのに返信がなかなか届かない場合は、ごみ箱や迷惑メールフォルダを確認するか、"
          L"フィルタ作成者・サーバ管理者にご相談下さい。";
    }
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
  AboutState state{info, {}, {}};
  const DialogTemplate t = buildTemplate(info);
  return DialogBoxIndirectParamW(info.instance, t.get(), nullptr, aboutProc,
                                 reinterpret_cast<LPARAM>(&state));
}

}  // namespace kivora::ui
