#pragma once
// The shell's own user-visible texts, each in English and Japanese; the
// language is picked at the moment of use.

#include <string>
#include <string_view>

namespace kivora::app {

struct Bilingual {
  const wchar_t* english;
  const wchar_t* japanese;
  const wchar_t* pick(bool japaneseMode) const { return japaneseMode ? japanese : english; }
};

// Replaces the first "%s" of `format` with `value`.
std::wstring fillIn(std::wstring_view format, std::wstring_view value);

inline constexpr wchar_t kCaption[] = L"Kivora";

namespace texts {

// Second start.
inline constexpr Bilingual kForceExitNoWindow{
    L"FindWindow() failed.", L"ウィンドウの検出に失敗しました。強制終了に失敗しました。"};
inline constexpr Bilingual kForwardNoWindow{
    L"FindWindow was failed.",
    L"ウィンドウの検出に失敗しました。指定の機能の伝達ができませんでした。"};

// The copy switches.
inline constexpr Bilingual kIniToRegistryDone{
    L"Setting copying from the ini file to the registry has been completed.",
    L"iniファイルからレジストリへ設定をコピーしました。"};
inline constexpr Bilingual kIniToRegistryFailed{
    L"Setting copying from the ini file to the registry - failed.",
    L"iniファイルからレジストリへ設定をコピーできませんでした。"};
inline constexpr Bilingual kRegistryToIniDone{
    L"Setting copying from the registry to the ini file has been completed.",
    L"レジストリからiniファイルへ設定をコピーしました。"};
inline constexpr Bilingual kRegistryToIniFailed{
    L"Setting copying from the registry to the ini file - failed.",
    L"レジストリからiniファイルへ設定をコピーできませんでした。"};

// The start-up shortcut; %s is the shortcut's path.
inline constexpr Bilingual kAskDeleteShortcut{
    L"Are you sure you want to delete a startup shortcut file?",
    L"スタートアップのショートカットを削除しますか?"};
inline constexpr Bilingual kAskCreateShortcut{
    L"Are you sure you want to register this software to your startup folder?",
    L"このユーザーへログオンしたときに、Kivoraを起動できるようにしますか?\r\n\r\n"
    L"※[はい]を押すと、このユーザーのスタートメニュー内のスタートアップに、"
    L"Kivoraへのショートカットを作成します。"};
inline constexpr Bilingual kShortcutDeleted{L"Deleted a shortcut file.",
                                            L"ショートカットを削除しました。\n\n%s"};
inline constexpr Bilingual kShortcutNotDeleted{L"Cannot delete a shortcut file.\n\n%s",
                                               L"ショートカットの削除に失敗しました。\n\n%s"};
inline constexpr Bilingual kShortcutCreated{
    L"Created a shortcut file.\n\n%s",
    L"下記の位置にKivoraショートカットを作成しました。\r\n\r\n%s"};
inline constexpr Bilingual kShortcutNotCreated{L"Cannot create a shortcut file.\n\n%s",
                                               L"ショートカットの作成に失敗しました。\n\n%s"};

// The feedback page; %s is its address.
inline constexpr Bilingual kCannotOpenWebPage{
    L"Cannot open web page.",
    L"ブラウザを起動できませんでした。\r\n"
    L"ブラウザが正しくインストールされているか確認してください。\r\n\r\n"
    L"お手数ですが、下記のページをブラウザで直接開いてください。\r\n%s"};
inline constexpr Bilingual kFeedbackCaption{L"Browse", L"フィードバックページを表示"};

// Right-click while the settings dialog is in front.
inline constexpr Bilingual kCloseTheDialog{L"Close the dialog box.",
                                           L"現在開いているダイアログボックスを閉じてください。"};

// The tray menu's first two items, by EnDisTTIcon.
inline constexpr Bilingual kMenuSettingsHint{L"&Settings...\tDoubleClick",
                                             L"設定(&S)...\tDoubleClick"};
inline constexpr Bilingual kMenuSettings{L"&Settings...", L"設定(&S)..."};
inline constexpr Bilingual kMenuPauseClick{L"Pause t&o watch the keyboard\tClick",
                                           L"一時的にキーボード監視をオフにする(&O)\tClick"};
inline constexpr Bilingual kMenuPauseDoubleClick{
    L"Pause t&o watch the keyboard\tDoubleClick",
    L"一時的にキーボード監視をオフにする(&O)\tDoubleClick"};
inline constexpr Bilingual kMenuPause{L"Pause t&o watch the keyboard",
                                      L"一時的にキーボード監視をオフにする(&O)"};

}  // namespace texts
}  // namespace kivora::app
