#pragma once
// The shell's own user-visible texts, each in English and Japanese; the
// language is picked at the moment of use.

#include "platform/bilingual.h"

namespace kivora::app::texts {

// Second start.
inline constexpr Bilingual kForceExitNoWindow{
    u"FindWindow() failed.", u"ウィンドウの検出に失敗しました。強制終了に失敗しました。"};
inline constexpr Bilingual kForwardNoWindow{
    u"FindWindow was failed.",
    u"ウィンドウの検出に失敗しました。指定の機能の伝達ができませんでした。"};

// The copy switches.
inline constexpr Bilingual kIniToRegistryDone{
    u"Setting copying from the ini file to the registry has been completed.",
    u"iniファイルからレジストリへ設定をコピーしました。"};
inline constexpr Bilingual kIniToRegistryFailed{
    u"Setting copying from the ini file to the registry - failed.",
    u"iniファイルからレジストリへ設定をコピーできませんでした。"};
inline constexpr Bilingual kRegistryToIniDone{
    u"Setting copying from the registry to the ini file has been completed.",
    u"レジストリからiniファイルへ設定をコピーしました。"};
inline constexpr Bilingual kRegistryToIniFailed{
    u"Setting copying from the registry to the ini file - failed.",
    u"レジストリからiniファイルへ設定をコピーできませんでした。"};

// The start-up shortcut; %s is the shortcut's path.
inline constexpr Bilingual kAskDeleteShortcut{
    u"Are you sure you want to delete a startup shortcut file?",
    u"スタートアップのショートカットを削除しますか?"};
inline constexpr Bilingual kAskCreateShortcut{
    u"Are you sure you want to register this software to your startup folder?",
    u"このユーザーへログオンしたときに、Kivoraを起動できるようにしますか?\r\n\r\n"
    u"※[はい]を押すと、このユーザーのスタートメニュー内のスタートアップに、"
    u"Kivoraへのショートカットを作成します。"};
inline constexpr Bilingual kShortcutDeleted{u"Deleted a shortcut file.",
                                            u"ショートカットを削除しました。\n\n%s"};
inline constexpr Bilingual kShortcutNotDeleted{u"Cannot delete a shortcut file.\n\n%s",
                                               u"ショートカットの削除に失敗しました。\n\n%s"};
inline constexpr Bilingual kShortcutCreated{
    u"Created a shortcut file.\n\n%s",
    u"下記の位置にKivoraショートカットを作成しました。\r\n\r\n%s"};
inline constexpr Bilingual kShortcutNotCreated{u"Cannot create a shortcut file.\n\n%s",
                                               u"ショートカットの作成に失敗しました。\n\n%s"};

// The feedback page; %s is its address.
inline constexpr Bilingual kCannotOpenWebPage{
    u"Cannot open web page.",
    u"ブラウザを起動できませんでした。\r\n"
    u"ブラウザが正しくインストールされているか確認してください。\r\n\r\n"
    u"お手数ですが、下記のページをブラウザで直接開いてください。\r\n%s"};
inline constexpr Bilingual kFeedbackCaption{u"Browse", u"フィードバックページを表示"};

// Right-click while the settings dialog is in front.
inline constexpr Bilingual kCloseTheDialog{u"Close the dialog box.",
                                           u"現在開いているダイアログボックスを閉じてください。"};

// The tray menu's first two items, by EnDisTTIcon.
inline constexpr Bilingual kMenuSettingsHint{u"&Settings...\tDoubleClick",
                                             u"設定(&S)...\tDoubleClick"};
inline constexpr Bilingual kMenuSettings{u"&Settings...", u"設定(&S)..."};
inline constexpr Bilingual kMenuPauseClick{u"Pause t&o watch the keyboard\tClick",
                                           u"一時的にキーボード監視をオフにする(&O)\tClick"};
inline constexpr Bilingual kMenuPauseDoubleClick{
    u"Pause t&o watch the keyboard\tDoubleClick",
    u"一時的にキーボード監視をオフにする(&O)\tDoubleClick"};
inline constexpr Bilingual kMenuPause{u"Pause t&o watch the keyboard",
                                      u"一時的にキーボード監視をオフにする(&O)"};

// The tray icon's tooltip while watching and while paused.
inline constexpr Bilingual kTooltipWatching{u"Kivora:ON", u"Kivora:動作中"};
inline constexpr Bilingual kTooltipPaused{u"Kivora:OFF", u"Kivora:一時停止中"};

// The lock-state icons could not be composed.
inline constexpr Bilingual kIconCompositionFailed{
    u"Custom icon composition failed. The 'Show the lock state of keys on tasktray icon' "
    u"function does not work properly.",
    u"カスタムアイコンの合成に失敗しました。\r\n"
    u"「通知領域アイコンに各キーのロック状態を表示する」機能はうまく動作しません。"};

}  // namespace kivora::app::texts
