// The script editor under Wine: loading files of several encodings by
// dropping them, saving through the real save dialog, OK and Cancel, the
// error boxes and the resize layout.

#include <windows.h>
#include <mlang.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/multi_language_win32.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "ui/script_editor.h"
#include "win/dialog_driver.h"

namespace kivora::test {
namespace {

constexpr wchar_t kEnglishTitle[] = L"Edit KX-Script";
constexpr wchar_t kJapaneseTitle[] = L"KX-Script入力";

// Every message box the editor shows, as it was asked for.
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

class ScriptEditor : public testing::Test {
 protected:
  void SetUp() override {
    shownBoxes.clear();
    settings.kx_script = u"stored = 1\r\n";
    ui::setScriptFilePath(u"");
  }

  ui::ScriptEditorContext context(bool japanese = false) {
    return {GetModuleHandleW(nullptr),
            settings,
            japanese,
            [this] { ++stopRequests; },
            [this](HWND, const wchar_t* topic) {
              helpTopics.push_back(topic ? topic : L"");
              return false;
            },
            recordingBox};
  }

  // Opens the editor, lets `steps` work on it and returns the dialog's result.
  INT_PTR run(const std::function<void(HWND)>& steps, bool japanese = false) {
    const ui::ScriptEditorContext c = context(japanese);
    INT_PTR result = -1;
    runWithDriver([&] { result = ui::showScriptEditor(nullptr, c); },
                  [&] {
                    HWND editor =
                        waitForWindow(L"#32770", japanese ? kJapaneseTitle : kEnglishTitle);
                    ASSERT_TRUE(editor) << "the editor did not open";
                    steps(editor);
                  });
    return result;
  }

  // Drops the file on the editor and returns what the edit shows, then cancels.
  std::wstring loadByDrop(const std::wstring& path) {
    std::wstring shown;
    run([&](HWND editor) {
      SendMessageW(editor, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(path)), 0);
      shown = itemText(editor, IDC_SCRIPT_TEXT);
      pressButton(editor, IDCANCEL);
    });
    return shown;
  }

  settings::Settings settings;
  int stopRequests = 0;
  std::vector<std::wstring> helpTopics;
};

TEST_F(ScriptEditor, ShowsTheStoredScriptAndOkReplacesItAfterAStopRequest) {
  const INT_PTR result = run([&](HWND editor) {
    EXPECT_EQ(itemText(editor, IDC_SCRIPT_TEXT), L"stored = 1\r\n");
    SetDlgItemTextW(editor, IDC_SCRIPT_TEXT, L"x = 2\r\nCB.ShellNotify(\"日本\")");
    pressButton(editor, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(stopRequests, 1);
  EXPECT_EQ(settings.copyScript(), u"x = 2\r\nCB.ShellNotify(\"日本\")");
  EXPECT_TRUE(shownBoxes.empty());
}

TEST_F(ScriptEditor, CancelAfterLoadingLeavesTheStoredScript) {
  ScratchFile file(L"cancel.txt");
  file.write("loaded = 1\n");
  const INT_PTR result = run([&](HWND editor) {
    SendMessageW(editor, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(file.path())), 0);
    EXPECT_EQ(itemText(editor, IDC_SCRIPT_TEXT), L"loaded = 1\r\n");
    pressButton(editor, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(stopRequests, 0);
  EXPECT_EQ(settings.copyScript(), u"stored = 1\r\n");
  EXPECT_EQ(ui::scriptFilePath(), win32::fromWide(file.path().c_str()))
      << "the dropped file is offered next time";
}

TEST_F(ScriptEditor, Utf8WithoutMarkAndWithLineFeedsShowsCrLf) {
  ScratchFile file(L"utf8.txt");
  file.write("a = \"\xE6\x97\xA5\xE6\x9C\xAC\"\nb = 2\n\nc = 3");
  EXPECT_EQ(loadByDrop(file.path()), L"a = \"日本\"\r\nb = 2\r\n\r\nc = 3");
}

TEST_F(ScriptEditor, Utf16LittleEndianWithMarkLoadsUnchanged) {
  ScratchFile file(L"utf16.txt");
  const std::u16string text = u"x = \"テスト\"\ny = 1\r\n";
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  file.write(bytes);
  EXPECT_EQ(loadByDrop(file.path()), L"x = \"テスト\"\ny = 1\r\n")
      << "lone line feeds stay in UTF-16 files";
}

TEST_F(ScriptEditor, Utf8WithMarkIsNotShownWithTheMark) {
  ScratchFile file(L"bom.txt");
  file.write("\xEF\xBB\xBFv = 1\r\n");
  EXPECT_EQ(loadByDrop(file.path()), L"v = 1\r\n");
}

// Shift-JIS has no mark: only the system's detection can recognise it. Wine's
// MLang does not implement DetectInputCodepage (E_NOTIMPL), so there the
// file falls back to UTF-8; the test states which case it saw.
TEST_F(ScriptEditor, ShiftJisIsRecognisedWhereTheSystemDetectsIt) {
  const std::string sjis =
      "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67\r\n"
      "\x83\x65\x83\x4C\x83\x58\x83\x67\x82\xC5\x82\xB7\x81\x42";
  ScratchFile file(L"sjis.txt");
  file.write(sjis);

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  win32::Win32MultiLanguageService service;
  bool detects932 = false;
  if (auto ml = service.CreateInstance()) {
    platform::DetectEncodingInfo info[8] = {};
    int size = static_cast<int>(sjis.size());
    int count = 8;
    detects932 = platform::Succeeded(ml->DetectInputCodepage(sjis.data(), &size, info, &count)) &&
                 count > 0 && info[0].nCodePage == 932;
  }
  CoUninitialize();

  const std::wstring shown = loadByDrop(file.path());
  if (detects932) {
    RecordProperty("shift_jis", "detected as 932");
    EXPECT_EQ(shown, L"日本語のスクリプト\r\nテキストです。");
  } else {
    RecordProperty("shift_jis", "not detected; loaded as UTF-8");
    std::wstring asUtf8(sjis.size(), L'\0');
    asUtf8.resize(MultiByteToWideChar(CP_UTF8, 0, sjis.data(), static_cast<int>(sjis.size()),
                                      asUtf8.data(), static_cast<int>(asUtf8.size())));
    EXPECT_EQ(shown, asUtf8);
    EXPECT_NE(shown.find(L'\uFFFD'), std::wstring::npos);
  }
}

TEST_F(ScriptEditor, AFileThatCannotBeOpenedShowsItsErrorAndKeepsTheText) {
  ScratchFile missing(L"missing.txt");
  std::wstring shown;
  run(
      [&](HWND editor) {
        PostMessageW(editor, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(missing.path())), 0);
        EXPECT_EQ(answerMessageBox(L"Kivora"), L"ファイルを開けません。");
        shown = itemText(editor, IDC_SCRIPT_TEXT);
        pressButton(editor, IDCANCEL);
      },
      true);
  EXPECT_EQ(shown, L"stored = 1\r\n");
  ASSERT_EQ(shownBoxes.size(), 1u);
  EXPECT_EQ(shownBoxes[0].text, L"ファイルを開けません。");
  EXPECT_EQ(shownBoxes[0].caption, L"Kivora");
  EXPECT_EQ(shownBoxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

// In portable mode a script longer than Kivora.ini can keep is refused at OK,
// while it can still be shortened or saved; the stored one stays. The limit
// is lowered to 12 characters here; one at the limit is taken.
TEST_F(ScriptEditor, OkRefusesAScriptTooLongForTheIniFileOnly) {
  settings.bUseIni = true;
  // OK with `text`; a refusal's box is answered and the editor cancelled.
  const auto ok = [&](const wchar_t* text, bool refused) {
    ui::ScriptEditorContext c = context();
    c.maxIniScriptLength = 12;
    INT_PTR result = -1;
    runWithDriver([&] { result = ui::showScriptEditor(nullptr, c); },
                  [&] {
                    HWND editor = waitForWindow(L"#32770", kEnglishTitle);
                    ASSERT_TRUE(editor) << "the editor did not open";
                    SetDlgItemTextW(editor, IDC_SCRIPT_TEXT, text);
                    if (!refused) return pressButton(editor, IDOK);
                    PostMessageW(editor, WM_COMMAND, IDOK, 0);
                    EXPECT_EQ(answerMessageBox(L"Kivora"),
                              L"This script is too long to be kept in Kivora.ini: it holds 13 "
                              L"characters, and at most 12 can be kept there.\r\nShorten it, or "
                              L"save it to a file.");
                    pressButton(editor, IDCANCEL);
                  });
    return result;
  };
  EXPECT_EQ(ok(L"x = 123456789", true), IDCANCEL);
  EXPECT_EQ(settings.copyScript(), u"stored = 1\r\n");
  EXPECT_EQ(stopRequests, 0);

  EXPECT_EQ(ok(L"x = 12345678", false), IDOK);
  EXPECT_EQ(settings.copyScript(), u"x = 12345678");

  settings.bUseIni = false;
  EXPECT_EQ(ok(L"x = 123456789", false), IDOK) << "the registry keeps any length";
  EXPECT_EQ(settings.copyScript(), u"x = 123456789");
  EXPECT_EQ(shownBoxes.size(), 1u);
}

// Saves through the real save dialog: the remembered path is offered, OK
// takes it, and the result box reports it.
std::wstring saveThroughDialog(HWND editor) {
  pressButton(editor, IDC_SCRIPT_SAVE);
  HWND chooser = waitForWindow(L"#32770", L"Save to file(UTF-8)");
  if (!chooser) return L"(no save dialog)";
  pressButton(chooser, IDOK);
  return answerMessageBox(L"Kivora");
}

TEST_F(ScriptEditor, SavingAnEmptyEditorWritesOnlyTheMark) {
  ScratchFile file(L"empty.txt");
  ui::setScriptFilePath(win32::fromWide(file.path().c_str()));
  settings.kx_script.clear();
  std::wstring result;
  run([&](HWND editor) {
    result = saveThroughDialog(editor);
    pressButton(editor, IDCANCEL);
  });
  EXPECT_EQ(result, L"The file has been saved in UTF-8 (with BOM).");
  EXPECT_EQ(file.read(), "\xEF\xBB\xBF");
  ASSERT_FALSE(shownBoxes.empty());
  EXPECT_EQ(shownBoxes.back().type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(ScriptEditor, SavingWritesUtf8WithMarkAndTheEditorsLineEnds) {
  ScratchFile file(L"saved.txt");
  ui::setScriptFilePath(win32::fromWide(file.path().c_str()));
  std::wstring result;
  run(
      [&](HWND editor) {
        SetDlgItemTextW(editor, IDC_SCRIPT_TEXT, L"s = \"日本\"\r\nt = 1");
        pressButton(editor, IDC_SCRIPT_SAVE);
        HWND chooser = waitForWindow(L"#32770", L"ファイルへ保存(UTF-8)");
        ASSERT_TRUE(chooser);
        pressButton(chooser, IDOK);
        result = answerMessageBox(L"Kivora");
        pressButton(editor, IDCANCEL);
      },
      true);
  EXPECT_EQ(result, L"UTF-8(BOM付き)でファイルに保存しました。");
  EXPECT_EQ(file.read(), "\xEF\xBB\xBFs = \"\xE6\x97\xA5\xE6\x9C\xAC\"\r\nt = 1");
  EXPECT_EQ(settings.copyScript(), u"stored = 1\r\n")
      << "saving a file does not change the stored script";
}

TEST_F(ScriptEditor, LayoutsDifferByLanguageAndHelpOpensTheScriptTopic) {
  std::wstring englishHelp, japaneseHint;
  bool englishHasHint = true;
  run([&](HWND editor) {
    englishHelp = itemText(editor, IDHELP);
    englishHasHint = GetDlgItem(editor, IDC_SCRIPT_SAMPLE_HINT) != nullptr;
    pressButton(editor, IDHELP);
    Sleep(200);
    pressButton(editor, IDCANCEL);
  });
  run(
      [&](HWND editor) {
        japaneseHint = itemText(editor, IDC_SCRIPT_SAMPLE_HINT);
        pressButton(editor, IDCANCEL);
      },
      true);
  EXPECT_EQ(englishHelp, L"&Help(Japanese)");
  EXPECT_FALSE(englishHasHint);
  EXPECT_EQ(japaneseHint, L"スクリプトサンプルはヘルプ参照");
  EXPECT_EQ(helpTopics, std::vector<std::wstring>{L"HLP000024.html"});
}

RECT clientRectOf(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(ScriptEditor, TheEditGrowsWithTheWindowAndButtonsFollowTheBottom) {
  RECT editBefore{}, editAfter{}, okBefore{}, okAfter{}, loadBefore{}, loadAfter{}, window{},
      shrunk{};
  HICON big = nullptr, small = nullptr, loadImage = nullptr;
  run([&](HWND editor) {
    editBefore = clientRectOf(editor, IDC_SCRIPT_TEXT);
    okBefore = clientRectOf(editor, IDOK);
    loadBefore = clientRectOf(editor, IDC_SCRIPT_LOAD);
    big = reinterpret_cast<HICON>(SendMessageW(editor, WM_GETICON, ICON_BIG, 0));
    small = reinterpret_cast<HICON>(SendMessageW(editor, WM_GETICON, ICON_SMALL, 0));
    loadImage = reinterpret_cast<HICON>(
        SendDlgItemMessageW(editor, IDC_SCRIPT_LOAD, BM_GETIMAGE, IMAGE_ICON, 0));
    GetWindowRect(editor, &window);
    SetWindowPos(editor, nullptr, 0, 0, window.right - window.left + 100,
                 window.bottom - window.top + 60, SWP_NOMOVE | SWP_NOZORDER);
    Sleep(100);
    editAfter = clientRectOf(editor, IDC_SCRIPT_TEXT);
    okAfter = clientRectOf(editor, IDOK);
    loadAfter = clientRectOf(editor, IDC_SCRIPT_LOAD);
    SetWindowPos(editor, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    Sleep(100);
    GetWindowRect(editor, &shrunk);
    pressButton(editor, IDCANCEL);
  });
  EXPECT_TRUE(big && small && loadImage) << "the icons and button images are set";
  EXPECT_EQ(editAfter.right - editAfter.left, editBefore.right - editBefore.left + 100);
  EXPECT_EQ(editAfter.bottom - editAfter.top, editBefore.bottom - editBefore.top + 60);
  EXPECT_EQ(okAfter.left, okBefore.left + 100);
  EXPECT_EQ(okAfter.top, okBefore.top + 60);
  EXPECT_EQ(loadAfter.left, loadBefore.left);
  EXPECT_EQ(loadAfter.top, loadBefore.top + 60);
  EXPECT_EQ(shrunk.right - shrunk.left, window.right - window.left)
      << "never smaller than it opened";
  EXPECT_EQ(shrunk.bottom - shrunk.top, window.bottom - window.top);
}

}  // namespace
}  // namespace kivora::test
