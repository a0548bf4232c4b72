#include "platform/win32/local_time_win32.h"

#include <windows.h>

namespace kivora::win32 {

platform::SystemTime Win32LocalClock::GetLocalTime() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
          st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

}  // namespace kivora::win32
