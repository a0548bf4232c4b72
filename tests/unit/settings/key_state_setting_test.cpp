// The lock setting taken apart and put together: every number a store may
// hold, and numbers outside that range, which decode to one of the four modes.

#include "settings/key_state_setting.h"

#include <gtest/gtest.h>

namespace kivora::test {
namespace {

using settings::KeyStateSetting;
using settings::WatchMode;

TEST(KeyStateSetting, EveryStoredNumberDecodesAndPacksBack) {
  struct Row {
    std::int32_t stored;
    WatchMode mode;
    bool wantsOn;
    std::int32_t opposedConstantly;
  };
  const Row rows[] = {
      {0, WatchMode::NotWatched, false, 3},
      {1, WatchMode::NotWatched, true, 2},
      {2, WatchMode::Constantly, false, 3},
      {3, WatchMode::Constantly, true, 2},
      {4, WatchMode::Once, false, 3},
      {5, WatchMode::Once, true, 2},
      {6, WatchMode::WhileDeviceConnected, false, 3},
      {7, WatchMode::WhileDeviceConnected, true, 2},
      // Beyond what loading lets through: only bits 0 to 2 count.
      {8, WatchMode::NotWatched, false, 3},
      {13, WatchMode::Once, true, 2},
      {-1, WatchMode::WhileDeviceConnected, true, 2},
  };
  for (const Row& row : rows) {
    const KeyStateSetting setting{row.stored};
    EXPECT_EQ(setting.mode(), row.mode) << row.stored;
    EXPECT_EQ(setting.wantsOn(), row.wantsOn) << row.stored;
    EXPECT_EQ(setting.opposedConstantly(), row.opposedConstantly) << row.stored;
    if (row.stored >= 0 && row.stored <= 7) {
      EXPECT_EQ(KeyStateSetting(row.mode, row.wantsOn), setting) << row.stored;
    }
  }
}

}  // namespace
}  // namespace kivora::test
