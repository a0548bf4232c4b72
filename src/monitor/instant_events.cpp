#include "monitor/instant_events.h"

#include <algorithm>
#include <array>

namespace kivora::monitor {

namespace {

struct TriggerRow {
  InstantTrigger trigger;
  InstantTriggerLines lines;
};

constexpr std::array<TriggerRow, 5> kTriggers{{
    {InstantTrigger::KeyRelease, {u"WM_INPUT", 1688, 1689}},
    {InstantTrigger::Foreground, {u"EVENT_SYSTEM_FOREGROUND", 1691, 1692}},
    {InstantTrigger::TitleChange, {u"EVENT_OBJECT_NAMECHANGE", 1693, 1694}},
    {InstantTrigger::DeviceChange, {u"WM_INPUT_DEVICE_CHANGE", 1695, 1696}},
    {InstantTrigger::SessionChange, {u"WM_WTSSESSION_CHANGE", 1697, 1698}},
}};

struct SessionRow {
  unsigned code;
  std::u16string_view name;
};

constexpr std::array<SessionRow, 3> kTickingSessionChanges{{
    {kWtsConsoleConnect, u"WTS_CONSOLE_CONNECT"},
    {kWtsRemoteConnect, u"WTS_REMOTE_CONNECT"},
    {kWtsSessionUnlock, u"WTS_SESSION_UNLOCK"},
}};

}  // namespace

const InstantTriggerLines& instantTriggerLines(InstantTrigger trigger) {
  const auto row = std::find_if(kTriggers.begin(), kTriggers.end(),
                                [&](const TriggerRow& r) { return r.trigger == trigger; });
  return row->lines;
}

std::optional<std::u16string_view> sessionChangeThatRunsTick(unsigned code) {
  const auto row = std::find_if(kTickingSessionChanges.begin(), kTickingSessionChanges.end(),
                                [&](const SessionRow& r) { return r.code == code; });
  if (row == kTickingSessionChanges.end()) return std::nullopt;
  return row->name;
}

}  // namespace kivora::monitor
