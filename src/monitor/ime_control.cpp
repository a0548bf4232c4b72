#include "monitor/ime_control.h"

#include "monitor/log_format.h"
#include "monitor/texts.h"

namespace kivora::monitor {

namespace {

static_assert(texts::kImeModes.size() == kImeModeCount);

constexpr std::u16string_view kAlways = u"[常時]";
constexpr std::u16string_view kOnSwitch = u"[Window切替に伴う]";

// The OFF modes count the IME as open only at status 1; the ON modes at any
// non-zero status.
constexpr std::intptr_t kOpen = 1;

std::u16string_view resultText(std::intptr_t sendResult) {
  return sendResult == 0 ? u"S_OK" : u"failure";
}

}  // namespace

std::u16string_view imeModeText(std::int32_t mode, bool japanese) {
  if (mode < 0 || mode >= kImeModeCount) return {};
  return texts::kImeModes[static_cast<std::size_t>(mode)].pick(japanese);
}

std::intptr_t ImeControl::openStatus(platform::WindowHandle imeWindow) {
  return ime_.SendMessageW(imeWindow, platform::kWmImeControl, platform::kImcGetOpenStatus, 0);
}

std::intptr_t ImeControl::setOpenStatus(platform::WindowHandle imeWindow, bool open) {
  return ime_.SendMessageW(imeWindow, platform::kWmImeControl, platform::kImcSetOpenStatus,
                           open ? 1 : 0);
}

void ImeControl::applyImePolicy(platform::WindowHandle foreground,
                                platform::WindowHandle lastForeground, std::int32_t imeLock,
                                LockPolicy ruleCode) {
  std::int32_t mode = imeLock;
  if (ruleCode != kPolicyNone) {
    mode = imeModeForRule(ruleCode, imeLock);
    log_.log(kLogTick, 2146, u"IMEstate特殊処理による変更=",
             hexText(static_cast<std::uint32_t>(mode)));
  }
  if (mode == kImeNotWatched) return;
  if (foreground == platform::kNoWindow) {
    log_.log(kLogTick, 2261, u"IME関連処理", u"ImmGetDefaultIMEWnd失敗");
    return;
  }
  const platform::WindowHandle imeWindow = ime_.ImmGetDefaultIMEWnd(foreground);
  if (imeWindow == platform::kNoWindow) {
    log_.log(kLogTick, 2257, u"ImmGetDefaultIMEWnd失敗", u"");
    return;
  }
  log_.log(kLogTick, 2165, u"ImmGetDefaultIMEWnd成功。hIMC=", handleText(imeWindow));
  const std::intptr_t status = openStatus(imeWindow);
  log_.log(kLogTick, 2168, u"IMC_GETOPENSTATUS結果=", decimalText(status));

  const bool switched = foreground != lastForeground || imeRetry;
  switch (mode) {
    case kImeAlwaysOn:
      alwaysOn(imeWindow, status);
      break;
    case kImeAlwaysOff:
      alwaysOff(imeWindow, status);
      break;
    case kImeOnWhenSwitched:
      onWhenSwitched(imeWindow, status, switched);
      break;
    case kImeOffWhenSwitched:
      offWhenSwitched(imeWindow, status, switched);
      break;
    default:
      break;
  }
}

void ImeControl::alwaysOn(platform::WindowHandle imeWindow, std::intptr_t status) {
  if (status != 0) {
    log_.log(kLogTick, 2182, u"IMEがONのためON切替しない", kAlways);
    return;
  }
  log_.log(kLogTick, 2173, u"IMC_SETOPENSTATUS:ON化[常時] 結果=",
           resultText(setOpenStatus(imeWindow, true)));
  if (openStatus(imeWindow) == 0) log_.log(kLogTick, 2178, u"IMC_GETOPENSTATUS=0のまま", u"");
}

void ImeControl::alwaysOff(platform::WindowHandle imeWindow, std::intptr_t status) {
  if (status != kOpen) {
    log_.log(kLogTick, 2198, u"IMEがOFFのためOFF切替しない", kAlways);
    return;
  }
  log_.log(kLogTick, 2189, u"IMC_SETOPENSTATUS:OFF化[常時] 結果=",
           resultText(setOpenStatus(imeWindow, false)));
  if (openStatus(imeWindow) == kOpen) log_.log(kLogTick, 2194, u"IMC_GETOPENSTATUS=1のまま", u"");
}

void ImeControl::onWhenSwitched(platform::WindowHandle imeWindow, std::intptr_t status,
                                bool switched) {
  if (!switched) {
    log_.log(kLogTick, 2224, u"ウィンドウ切替がないためIMEはONにしない", kOnSwitch);
    return;
  }
  if (status != 0) {
    log_.log(kLogTick, 2219, u"IMEがONのためON切替しない", kOnSwitch);
    imeRetry = false;
    return;
  }
  log_.log(kLogTick, 2206, u"IMC_SETOPENSTATUS:ON化[Window切替に伴う] 結果=",
           resultText(setOpenStatus(imeWindow, true)));
  if (openStatus(imeWindow) != 0) {
    imeRetry = false;
  } else {
    log_.log(kLogTick, 2211, u"IMC_GETOPENSTATUS=0のまま", u"");
    imeRetry = true;
  }
}

void ImeControl::offWhenSwitched(platform::WindowHandle imeWindow, std::intptr_t status,
                                 bool switched) {
  if (!switched) {
    log_.log(kLogTick, 2250, u"ウィンドウ切替がないためIMEはOFFにしない", kOnSwitch);
    return;
  }
  if (status != kOpen) {
    log_.log(kLogTick, 2245, u"IMEがOFFのためOFF切替しない", kOnSwitch);
    imeRetry = false;
    return;
  }
  log_.log(kLogTick, 2232, u"IMC_SETOPENSTATUS:OFF化[Window切替に伴う] 結果=",
           resultText(setOpenStatus(imeWindow, false)));
  if (openStatus(imeWindow) == kOpen) {
    log_.log(kLogTick, 2237, u"IMC_GETOPENSTATUS=1のまま", u"");
    imeRetry = true;
  } else {
    imeRetry = false;
  }
}

}  // namespace kivora::monitor
