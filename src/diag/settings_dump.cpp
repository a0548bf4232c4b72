#include "diag/settings_dump.h"

#include <string>

#include "platform/unicode.h"

namespace kivora::diag {

namespace {

// Call-site numbers of the dump's lines.
constexpr unsigned kDumpHeadLine = 3001;
constexpr unsigned kDumpItemLine = 3002;

std::u16string decimal(std::int64_t value) { return utf8ToUtf16(std::to_string(value)); }

}  // namespace

void writeSettingsDump(DebugLog& log, const settings::Settings& s, DumpContext context) {
  log.log(kLogEntry, kDumpHeadLine, u"[設定情報]", u"");
  auto item = [&](std::u16string_view label, const std::u16string& value) {
    log.log(kLogContinuation, kDumpItemLine, label, value);
  };
  auto number = [&](std::u16string_view label, std::int64_t value) { item(label, decimal(value)); };
  number(u"NumLockState=", s.NumLockState.stored());
  number(u"RemoteCheck=", s.RemoteCheck);
  number(u"RM_NumLockState=", s.RM_NumLockState.stored());
  number(u"CapsLockState=", s.CapsLockState.stored());
  number(u"ScrollLockState=", s.ScrollLockState.stored());
  number(u"KBWatchEnabled=", s.KBWatchEnabled);
  number(u"PlaySound=", s.PlaySound);
  item(u"PlaySoundFileName=", s.PlaySoundFileName);
  number(u"EnDisTTIcon=", s.EnDisTTIcon);
  number(u"NotifyOnly=", s.NotifyOnly);
  number(u"BlockInsert=", s.BlockInsert);
  number(u"ShowLockedKeyIcon=", s.ShowLockedKeyIcon);
  number(u"SendTK=", s.SendTK);
  number(u"ImeLock=", s.ImeLock);
  // Signed, as every number of the dump.
  number(u"timer3_interval=", static_cast<std::int32_t>(s.timer3_interval));
  number(u"return_waitmsec=", s.return_waitmsec);
  number(u"NoOpeningDlg=", s.NoOpeningDlg);
  number(u"HOTKEY_ENDISTTICON=", s.HOTKEY_ENDISTTICON);
  number(u"BIGDIALOG=", s.BIGDIALOG);
  number(u"Number of WatchKeyboardDeviceNames=",
         static_cast<std::int64_t>(s.watchedKeyboards.size()));
  number(u"NOT_WATCH_DEV_NUMLOCK=", s.NOT_WATCH_DEV_NUMLOCK);
  number(u"bUseIni=", s.bUseIni);
  number(u"modeJP=", context.modeJP);
  number(u"bDebugOut=", log.bDebugOut);
  item(u"szDebugOutFileName=", log.szDebugOutFileName);
  number(u"bTimer5Active=", context.bTimer5Active);
  number(u"InstantCheck=", s.InstantCheck);
}

}  // namespace kivora::diag
