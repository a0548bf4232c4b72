// The About box under Wine: what it shows, the system report it copies to
// the clipboard (cut to the clipboard block when too long), and the guard
// that keeps a double click from opening a link twice.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/about_box.h"
#include "ui/dialog_look.h"
#include "ui/kivora_about.h"
#include "win/dialog_driver.h"

namespace kivora::test {
namespace {

constexpr wchar_t kReportFirstLine[] = L"ProbixLite ver.1.03.01 [May 13 2026]";

struct ShownBox {
  std::wstring text;
  std::wstring caption;
  UINT type;
};
std::vector<ShownBox> shownBoxes;

int WINAPI recordingBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  shownBoxes.push_back({text, caption, type});
  return MessageBoxW(owner, text, caption, type);
}

std::wstring clipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard cannot be opened)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void setClipboardText(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  auto* units = static_cast<wchar_t*>(GlobalLock(block));
  text.copy(units, text.size());
  units[text.size()] = L'\0';
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

class AboutBox : public testing::Test {
 protected:
  void SetUp() override { shownBoxes.clear(); }

  ui::AboutInfo info(bool japanese = false) {
    return ui::kivoraAboutInfo(GetModuleHandleW(nullptr), japanese, &slot, recordingBox);
  }

  INT_PTR run(const ui::AboutInfo& about, const std::function<void(HWND)>& steps) {
    INT_PTR result = -1;
    runWithDriver([&] { result = ui::ShowAbout(about); },
                  [&] {
                    HWND box =
                        waitForWindow(L"#32770", about.japanese ? L"バージョン情報" : L"About");
                    ASSERT_TRUE(box) << "the About box did not open";
                    steps(box);
                  });
    return result;
  }

  HWND slot = nullptr;
};

TEST_F(AboutBox, EnvironmentInformationCopiesTheReportToTheClipboard) {
  setClipboardText(L"before");
  HWND seenInSlot = nullptr;
  std::wstring prompt, result, version, description;
  const INT_PTR closed = run(info(), [&](HWND box) {
    seenInSlot = slot;
    version = itemText(box, 2002);
    description = itemText(box, 2004);
    pressButton(box, 2005);
    prompt = answerMessageBox(L"ProbixLite", IDOK);
    result = answerMessageBox(L"ProbixLite");
    pressButton(box, IDCANCEL);
  });
  EXPECT_EQ(closed, IDCANCEL);
  EXPECT_NE(seenInSlot, nullptr) << "the slot holds the box while it is open";
  EXPECT_EQ(slot, nullptr) << "and nothing after";
  EXPECT_EQ(version, L"Kivora Version " KIVORA_TEST_VERSION L"\r\n" KIVORA_TEST_COPYRIGHT);
  EXPECT_EQ(description.rfind(
                L" This program is done and the immobilization of the state of the NumLock / "
                L"CapsLock / ScrollLock key, Insert key to control of the state.",
                0),
            0u);

  EXPECT_EQ(
      prompt.rfind(std::wstring(kReportFirstLine) + L"\r\n[Windows]\r\n Platform Id\t: 2 (NT)", 0),
      0u);
  const std::wstring tail = L"\r\n[Client]\r\n Kivora Version " KIVORA_TEST_VERSION L"\r\n------------------------\r\n"
                            L"Please click the [OK] button to copy to clipboard.";
  ASSERT_GT(prompt.size(), tail.size());
  EXPECT_EQ(prompt.substr(prompt.size() - tail.size()), tail);
  EXPECT_EQ(result, L"Writing data to the clipboard is complete.");
  ASSERT_GE(shownBoxes.size(), 2u);
  EXPECT_EQ(shownBoxes[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
  EXPECT_EQ(shownBoxes[1].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));

  const std::wstring copied = clipboardText();
  EXPECT_EQ(copied.substr(0, copied.find(L"\r\n")), kReportFirstLine);
  EXPECT_EQ(copied, prompt.substr(0, prompt.size() - tail.size()) +
                        L"\r\n[Client]\r\n Kivora Version " KIVORA_TEST_VERSION)
      << "the report without the prompt";
  EXPECT_NE(copied.find(L"\r\n[Screen]\r\n "), std::wstring::npos);
  EXPECT_NE(copied.find(L"\r\n[Other]\r\n Date/Time \t: "), std::wstring::npos);
}

TEST_F(AboutBox, CancellingThePromptLeavesTheClipboardAndJapaneseTextsFollowTheFlag) {
  setClipboardText(L"before");
  std::wstring prompt;
  run(info(true), [&](HWND box) {
    pressButton(box, 2005);
    prompt = answerMessageBox(L"環境情報の表示(簡易版)", IDCANCEL);
    Sleep(300);
    pressButton(box, IDCANCEL);
  });
  EXPECT_EQ(clipboardText(), L"before");
  EXPECT_EQ(shownBoxes.size(), 1u) << "no result box after Cancel";
  const std::wstring ask = L"クリップボードにコピーする場合は[OK]ボタンを押して下さい。";
  ASSERT_GT(prompt.size(), ask.size());
  EXPECT_EQ(prompt.substr(prompt.size() - ask.size()), ask);

  std::wstring result;
  run(info(true), [&](HWND box) {
    pressButton(box, 2005);
    answerMessageBox(L"環境情報の表示(簡易版)", IDOK);
    result = answerMessageBox(L"環境情報の表示(簡易版)");
    pressButton(box, IDCANCEL);
  });
  EXPECT_EQ(result, L"クリップボードへコピーしました。");
  EXPECT_EQ(clipboardText().rfind(kReportFirstLine, 0), 0u);
}

// A product name of 10000 characters makes the report's client line longer
// than the clipboard block: the copy is cut to 8191 characters.
TEST_F(AboutBox, AReportLongerThanTheClipboardBlockIsCutToFit) {
  const std::wstring longName(10000, L'K');
  ui::AboutInfo about = info();
  about.productName = longName.c_str();
  std::wstring result;
  run(about, [&](HWND box) {
    pressButton(box, 2005);
    answerMessageBox(L"ProbixLite", IDOK);
    result = answerMessageBox(L"ProbixLite");
    pressButton(box, IDCANCEL);
  });
  EXPECT_EQ(result, L"Writing data to the clipboard is complete.");
  const std::wstring copied = clipboardText();
  EXPECT_EQ(copied.size(), 8191u);
  EXPECT_EQ(copied.rfind(kReportFirstLine, 0), 0u);
  EXPECT_EQ(copied.back(), L'K');
}

TEST_F(AboutBox, TwoClicksOnALinkWithinASecondOpenItOnce) {
  ui::AboutInfo about = info();
  about.contribution = L"kivora-no-such-scheme:contribution";
  static NMLINK click = {};
  bool disabledAfterClick = false, enabledAgain = false;
  int errorBoxes = 0;
  std::wstring error;
  run(about, [&](HWND box) {
    click.hdr.hwndFrom = GetDlgItem(box, 2006);
    click.hdr.idFrom = 2006;
    click.hdr.code = NM_CLICK;
    wcscpy(click.item.szID, L"kifu");
    PostMessageW(box, WM_NOTIFY, 2006, reinterpret_cast<LPARAM>(&click));
    PostMessageW(box, WM_NOTIFY, 2006, reinterpret_cast<LPARAM>(&click));
    HWND failure = waitForWindow(L"#32770", L"Kivora");
    if (failure) {
      ++errorBoxes;
      error = messageBoxText(failure);
      disabledAfterClick = !IsWindowEnabled(GetDlgItem(box, 2005)) &&
                           !IsWindowEnabled(GetDlgItem(box, 2006)) &&
                           !IsWindowEnabled(GetDlgItem(box, 2009));
      pressButton(failure, IDOK);
      waitUntilClosed(failure);
    }
    if (waitForWindow(L"#32770", L"Kivora", 800)) ++errorBoxes;
    Sleep(1200);
    enabledAgain = IsWindowEnabled(GetDlgItem(box, 2005)) && IsWindowEnabled(GetDlgItem(box, 2006));
    pressButton(box, IDCANCEL);
  });
  EXPECT_EQ(errorBoxes, 1);
  EXPECT_EQ(error, L"Cannot open a browser.");
  EXPECT_TRUE(disabledAfterClick);
  EXPECT_TRUE(enabledAgain);
}

TEST_F(AboutBox, MissingAddressesHideTheirLinks) {
  ui::AboutInfo about = info();
  about.feedback = nullptr;
  about.contribution = nullptr;
  bool feedbackShown = true, contributionShown = true;
  HWND focus = nullptr, close = nullptr;
  run(about, [&](HWND box) {
    feedbackShown = IsWindowVisible(GetDlgItem(box, 2009));
    contributionShown = IsWindowVisible(GetDlgItem(box, 2006));
    close = GetDlgItem(box, IDCANCEL);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
    focus = gui.hwndFocus;
    pressButton(box, IDCANCEL);
  });
  EXPECT_FALSE(feedbackShown);
  EXPECT_FALSE(contributionShown);
  EXPECT_EQ(focus, close);
}

// Some link controls delete the brush their parent hands them; in the dark
// look that must not take the brush every dialog shares.
TEST_F(AboutBox, PaintingTheLinksInTheDarkLookKeepsTheSharedBrush) {
  ui::setDarkMode(true);
  const HBRUSH shared = ui::darkBrush();
  run(info(), [&](HWND box) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Sleep(500);
    pressButton(box, IDCANCEL);
  });
  ui::setDarkMode(false);
  EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(AboutTexts, LinksTextForWebAndMailContacts) {
  ui::AboutInfo info;
  info.webSite = L"https://orvanta.example/kivora/";
  info.contact = L"kivora-support@orvanta.example";
  EXPECT_EQ(ui::aboutLinksText(info),
            L"[WebSite]\r\n  <a "
            L"id=\"https://orvanta.example/kivora/\">https://orvanta.example/kivora/</a>\r\n\r\n"
            L"[E-Mail]\r\n  <a "
            L"id=\"mailto:kivora-support@orvanta.example\">kivora-support@orvanta.example</a>"
            L"\r\n\r\n\r\n");
  info.contact = L"HTTPS://orvanta.example/contact";
  info.webSite = nullptr;
  info.japanese = 1;
  info.extraText = L"extra";
  EXPECT_EQ(
      ui::aboutLinksText(info),
      L"\r\n  <a id=\"\"></a>\r\n\r\n[連絡先]\r\n  <a id=\"HTTPS://orvanta.example/contact\">"
      L"HTTPS://orvanta.example/contact</a>\r\n\r\n"
      L"　メールフィルタやサーバによるドメイン着信拒否の対象になっていることがあります。"
      L"質問しているのに返信がなかなか届かない場合は、ごみ箱や迷惑メールフォルダを確認するか、"
      L"フィルタ作成者・サーバ管理者にご相談下さい。\r\nextra");
}

TEST(AboutTexts, JapaneseShowsBetaAndAlphaAsGreekLetters) {
  ui::AboutInfo info;
  info.productName = L"Kivora";
  const ui::AboutVersion beta{L"1.2.3.4", L"beta", L"(C) Orvanta"};
  EXPECT_EQ(ui::aboutVersionText(info, beta), L"Kivora Version 1.2.3.4 beta\r\n(C) Orvanta");
  info.japanese = 1;
  EXPECT_EQ(ui::aboutVersionText(info, beta), L"Kivora Version 1.2.3.4 β\r\n(C) Orvanta");
  EXPECT_EQ(ui::aboutVersionText(info, {L"1.2.3.4", L"alpha", L""}),
            L"Kivora Version 1.2.3.4 α\r\n");
  EXPECT_EQ(ui::aboutVersionText(info, {L"1.2.3.4", L"betas", L""}),
            L"Kivora Version 1.2.3.4 betas\r\n");
}

}  // namespace
}  // namespace kivora::test
