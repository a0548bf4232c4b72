#pragma once
// The monitor's user-visible texts in both languages: its balloons, its
// message boxes and the lists the settings dialogs fill from it.

#include <array>

#include "platform/bilingual.h"

namespace kivora::monitor::texts {

// LockPolicy 0 to 5, in code order; a rule dialog stores the index.
inline constexpr std::array<Bilingual, 6> kLockPolicies{{
    {u"None", u"通常設定に従う"},
    {u"OFF (Always)", u"常にOFFで固定"},
    {u"ON (Always)", u"常にONで固定"},
    {u"OFF (when window is activated)", u"アプリ切替時OFF"},
    {u"ON (when window is activated)", u"アプリ切替時ON"},
    {u"Don't watch", u"監視しない"},
}};

// ImeLock 0 to 4, in value order.
inline constexpr std::array<Bilingual, 5> kImeModes{{
    {u"Do not monitor", u"状態を監視しない"},
    {u"Always IME-ON", u"常にONになるようにIME-ONを送り続ける"},
    {u"Always IME-OFF", u"常にOFFになるようにIME-OFFを送り続ける"},
    {u"IME-ON when window is switched", u"ウィンドウ切替時にONにする"},
    {u"IME-OFF when window is switched", u"ウィンドウ切替時にOFFにする"},
}};

// The balloon of a start whose script waits ten seconds.
inline constexpr Bilingual kScriptHold{
    u"Script execution will be suspended for 10 seconds. Select 'Pause to watch the keyboard' "
    u"from the notification area icon menu to stop script.(If you close this notification with "
    u"the middle mouse button, this notification will not be shown again next time.)",
    u"スクリプト実行を10秒間保留します。"
    u"スクリプトを開始させたくない場合は、通知領域アイコンのメニューから"
    u"「一時的にキーボード監視をオフにする」を選んでください。"
    u"(この通知をマウスの中ボタンで閉じると、次回からこの通知を表示しません)"};

inline constexpr Bilingual kHotkeyNotRegistered{u"Cannot Register the hotkey.",
                                                u"ホットキーの割り当てに失敗しました。"};

// A script's CB. call of a name Kivora does not provide; the call follows.
inline constexpr Bilingual kUnknownApplicationFunction{
    u"Unknown application provided function: CB.", u"不明なアプリ提供関数呼び出し: CB."};

// The keyboard device list could not be read (the Japanese text is also the
// log's), and the caption of these boxes and of the device dialog's.
inline constexpr Bilingual kDeviceCountFailed{u"Cannot get a number of keyboard device list.",
                                              u"キーボードデバイスのリストの数を取得できません"};
inline constexpr Bilingual kDeviceListOutOfMemory{
    u"Out of memory.", u"キーボードデバイスのリストを取得するためのメモリが足りません"};
inline constexpr Bilingual kDeviceListFailed{u"Cannot get a keyboard device list.",
                                             u"キーボードデバイスのリストを取得できません"};
// The window rules could not be saved: their registry key (root and path
// fill the mark) did not open.
inline constexpr Bilingual kRulesKeyNotOpened{u"Cannot open %s",
                                              u"%s\\SpecProgレジストリを開けません"};

inline constexpr Bilingual kDeviceCaption{u"Select keyboard devices", u"キーボードデバイスを選択"};

}  // namespace kivora::monitor::texts
