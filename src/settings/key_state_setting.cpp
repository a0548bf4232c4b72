#include "settings/key_state_setting.h"

#include <ostream>

namespace kivora::settings {

std::ostream& operator<<(std::ostream& out, KeyStateSetting setting) {
  return out << setting.stored();
}

}  // namespace kivora::settings
