#include "platform/registry.h"

#include <initializer_list>

namespace kivora::platform {

bool isPredefinedRoot(RegKey key) {
  for (RegKey root :
       {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyPerformanceData,
        kHkeyCurrentConfig, kHkeyDynData, kHkeyPerformanceText, kHkeyPerformanceNlsText}) {
    if (key == root) return true;
  }
  return false;
}

}  // namespace kivora::platform
