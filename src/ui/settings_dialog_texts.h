#pragma once
// The texts the settings dialogs put into their controls and message boxes,
// in both languages. (The IME list and the per-window rule texts are the
// monitor's: monitor/ime_control.h and monitor/lock_policy.h.)

#include <array>
#include <span>

#include "ui/dialog_controls.h"
#include "ui/tooltips.h"

namespace kivora::ui::texts {

// The watch-mode lists, in index order; NumLock's has all four entries, the
// others the first three.
inline constexpr std::array<Wording, 4> kWatchModes{{
    {L"Do not monitor", L"監視しない"},
    {L"Constantly monitor", L"常に監視し、キーの状態を固定する"},
    {L"Monitor once", L"本ソフト起動時にキーの状態を設定する"},
    {L"Connecting devices", L"特定デバイス接続時にキー状態を固定する"},
}};
inline constexpr std::array<Wording, 2> kWantedStates{{
    {L"OFF", L"OFFにする"},
    {L"ON", L"ONにする"},
}};
// EnDisTTIcon 0 to 2.
inline constexpr std::array<Wording, 3> kPauseClicks{{
    {L"Menu only", L"メニューからのみ行う"},
    {L"Menu and Click Icon ", L"クリックとメニューから行う"},
    {L"Menu and Double Click Icon", L"ダブルクリックとメニュー"},
}};

// What the hotkey control shows in the dark look when it holds no key.
inline constexpr Wording kNoHotkey{L"-None-", L"なし"};

inline constexpr Wording kLogonNumLockQuestion{
    L"It is known that this setting does not work in some environments (such as part of the "
    L"environment where Anniversary Update [or later] was applied to Windows 10).",
    L"この設定は、一部の環境(Windows 10にAnniversary Update以降が適用された環境の一部など)"
    L"では機能しないことが分かっています。"};
inline constexpr Wording kLogonNumLockNotWritten{
    L"Cannot write to InitialKeyboardIndicators value in registry.",
    L"[OS設定]ログオン時のNumLockの設定をレジストリへ書き込めませんでした。"};

// Japanese layout only: what switching the big-dialog box means.
inline constexpr wchar_t kBigDialogCaption[] = L"設定画面強制拡大";
inline constexpr wchar_t kBigDialogOn[] =
    L"「設定画面強制拡大」はテスト中の機能です。このチェックをONにすると、次回設定画面を開いたとき"
    L"から、"
    L"ダイアログのサイズが強制的に拡大されます。無理やり拡大をしているため、一部表示の乱れる部分が"
    L"あるか"
    L"もしれませんが、テスト中の機能ということで、ご容赦ください。";
inline constexpr wchar_t kBigDialogOff[] = L"次回設定画面を開いたときから、元のサイズに戻ります。";

inline constexpr Wording kScriptEditorMissing{
    L"The script editor is not available in this version of Kivora yet.",
    L"このバージョンのKivoraでは、スクリプトエディタはまだ利用できません。"};

// The sound file's browse dialog: the filter (pairs of name and pattern,
// ending with an empty name) and the title.
inline constexpr std::array<Wording, 4> kSoundFilter{{
    {L"Sound files(*.wav)", L"音声ファイル(*.wav)"},
    {L"*.wav", L"*.wav"},
    {L"All files(*.*)", L"すべてのファイル(*.*)"},
    {L"*.*", L"*.*"},
}};
inline constexpr Wording kSoundBrowseTitle{L"Choose a sound file",
                                           L"キー状態変更時に再生するwavファイル"};

// The rule dialogs.
inline constexpr std::array<Wording, 5> kRuleColumns{{
    {L"A part of Window Title", L"ウインドウタイトルの一部"},
    {L"NumLock", L"NumLock"},
    {L"CapsLock", L"CapsLock"},
    {L"ScrollLock", L"ScrollLock"},
    {L"IME", L"IME"},
}};
inline constexpr std::array<int, 5> kRuleColumnWidths{240, 90, 90, 90, 98};
inline constexpr Wording kNoRuleToEdit{L"No Selected Items.", L"編集したい項目を選択して下さい。"};
inline constexpr Wording kNoRuleToDelete{L"No Selected Items.",
                                         L"削除したい項目を選択して下さい。"};
inline constexpr Wording kNoRuleToRaise{L"No Selected Items.",
                                        L"優先度を上げたい項目を選択して下さい。"};
inline constexpr Wording kNoRuleToLower{L"No Selected Items.",
                                        L"優先度を下げたい項目を選択して下さい。"};
// %s is the rule's title part.
inline constexpr Wording kAskDeleteRule{L"Are you sure you want to delete this item? - %s",
                                        L"%s を削除してもよろしいですか?"};
inline constexpr Wording kNewRuleTitle{L"New - for specific program",
                                       L"新規 - ウィンドウごとに挙動を変える"};
inline constexpr Wording kEditRuleTitle{L"Edit - for specific program",
                                        L"編集 - ウィンドウごとに挙動を変える"};
inline constexpr Wording kEmptyRuleTitle{
    L"Please input a part of window title.",
    L"「アクティブウインドウのタイトル文字列の一部」は空にできません。"};

// The device dialog.
inline constexpr Wording kDeviceCaption{L"Select keyboard devices", L"キーボードデバイスを選択"};
inline constexpr Wording kNoDeviceToAdd{
    L"Please select the item you would like to add from the list above.",
    L"上のリストから追加したい項目を選択してください"};
inline constexpr Wording kDeviceNameOutOfMemory{
    L"Out of memory.", L"キーボードデバイスの名前を取得するためのメモリが足りません"};
inline constexpr Wording kDeviceAlreadyWatched{L"This device name is already registered.",
                                               L"このデバイス名は登録済です"};
inline constexpr Wording kNoDeviceToRemove{
    L"Please select the item you would like to remove from the second list.",
    L"下のリストから削除したい項目を選択してください"};

// Help topics.
inline constexpr wchar_t kSettingsHelp[] = L"HLP000017.html";
inline constexpr wchar_t kImeHelp[] = L"HLP000017.html#imehelp";
inline constexpr wchar_t kImeHelpLinkId[] = L"imehelp";
inline constexpr wchar_t kRulesHelp[] = L"HLP000018.html";

// Tooltip tables (ending with id 0).
std::span<const TooltipEntry> settingsTooltips(bool japanese);
std::span<const TooltipEntry> ruleListTooltips(bool japanese);
std::span<const TooltipEntry> ruleEditTooltips(bool japanese);

}  // namespace kivora::ui::texts
