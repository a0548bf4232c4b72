#pragma once
// The real Windows version. GetVersionEx lies to programs without a matching
// manifest entry, so RtlGetVersion from ntdll is asked first.

namespace kivora::win32 {

struct WindowsVersion {
  unsigned major = 0;
  unsigned minor = 0;
  unsigned build = 0;
};

WindowsVersion windowsVersion();

}  // namespace kivora::win32
